#include "app/QuorvelaneMain.h"

#include "app/FormPorts.h"
#include "app/WindowLayout.h"
#include "dialogs/EditCommands.h"
#include "dialogs/FileDialogs.h"
#include "dialogs/ProgramInfo.h"
#include "dialogs/TextSaver.h"
#include "dialogs/HelpWindow.h"
#include "dialogs/TextViewSavePort.h"

#include "common/AppConstants.h"
#include "dialogs/AppUtils.h"
#include "dialogs/DialogService.h"
#include "files/FileList.h"
#include "files/FolderControls.h"
#include "files/TextLoader.h"
#include "platform/IniFile.h"
#include "platform/MainRichEdit.h"
#include "reader/ReaderAppearance.h"
#include "reader/ReaderView.h"
#include "reader/SlideEngine.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSplitter>
#include <QTimer>

namespace {

const QString SettingsFileTitle = QStringLiteral("Quorvelane.ini");

} // namespace

TQuorvelaneForm::TQuorvelaneForm(QWidget* parent, const QString& settingsFolder)
    : QMainWindow(parent), SettingsFolderGiven(settingsFolder)
{
    setObjectName(QStringLiteral("QuorvelaneForm"));
    setWindowTitle(QStringLiteral("Quorvelane"));
    BuildControls();
    BuildActions();
    BuildMenus();
    BuildComponents();
    ConnectControls();
    FormCreate();
}

TQuorvelaneForm::~TQuorvelaneForm() = default;

QString TQuorvelaneForm::SettingsFileName() const
{
    return State.Form.SettingsFolder + SettingsFileTitle;
}

void TQuorvelaneForm::FormCreate()
{
    State.Form.FormInactive = true;
    State.Form.DropInProgress = false;
    setAcceptDrops(true);
    State.Search.Searching = false;
    State.Files.FileListRestored = false;
    State.Files.IgnoreTextChange = true;
    FileList->StartIn(QDir::currentPath());
    // The settings folder always ends in a separator; a root already does.
    State.Form.SettingsFolder =
        SettingsFolderGiven.isEmpty() ? State.Files.Folder : SettingsFolderGiven;
    if (!State.Form.SettingsFolder.endsWith(u'/'))
        State.Form.SettingsFolder += u'/';
    DirectoryPanel->setMinimumHeight(3);
    ReadingLineScrollBar->setRange(0, 1);
    State.Slide.ReadingLine = 0;
    State.Slide.PausedByMouse = false;
    if (!CreateZeroLabel()) {
        AppMessageBox(QStringLiteral(
                          "ゼロラベルのクリエイトに失敗しました。\r\n\r\nプログラムを終了します。"),
                      ErrorCaption(), 0);
        QTimer::singleShot(0, this, &QWidget::close);
        return;
    }
    ReadSettingsFile();
    ApplyBounds();
    ApplyPanelSizes();
    FileList->ApplySaved();
    MirrorChecks();
    Appearance->HoldSavedLabelStep();
    Appearance->ApplySaved();
    // The text view starts folded away above the reader.
    CenterSplitter->setSizes({5, qMax(5, CenterSplitter->height() - 5)});
    State.Slide.ChangeReadIndex = 0;
    Engine->ParseChangeReadTimes(State.Slide.ChangeReadTimes);
}

bool TQuorvelaneForm::CreateZeroLabel()
{
    try {
        ReaderView->CreateZeroLabel();
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

void TQuorvelaneForm::ReadSettingsFile()
{
    ReadSettings(TIniFile(SettingsFileName()), State);
    State.Form.SettingsRead = true;
}

void TQuorvelaneForm::ApplyBounds()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize screenSize = screen ? screen->size() : QSize(1024, 768);
    const TFormState& f = State.Form;
    const QRect fitted = FitToScreen(QRect(f.Left, f.Top, f.Width, f.Height), screenSize);
    State.Form.LastFormWidth = fitted.width();
    State.Form.LastFormHeight = fitted.height();
    move(fitted.topLeft());
    resize(fitted.size());
}

void TQuorvelaneForm::ApplyPanelSizes()
{
    const TFormState& f = State.Form;
    MainSplitter->setSizes({f.LeftPanelWidth, qMax(10, width() - f.LeftPanelWidth - 98), 98});
    LeftColumnSplitter->setSizes(
        {f.DirectoryPanelHeight, qMax(10, height() - f.DirectoryPanelHeight)});
}

void TQuorvelaneForm::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!Shown) {
        Shown = true;
        FormShow();
    }
}

void TQuorvelaneForm::FormShow()
{
    Set_SaveFilter(State.Files.AllFilter);
    State.Form.FormInactive = false;
    if (State.Form.StartMaximized)
        showMaximized();
    // The start-up tick: the file lists are filled about 100 ms after the window appears.
    Engine->ArmStartUpTick();
    // Appearing is the window's first resize: the first relayout follows it and applies the
    // saved lines-per-slide setting.
    FormResize();
}

void TQuorvelaneForm::closeEvent(QCloseEvent* event)
{
    if (Closed) {
        event->accept();
        return;
    }
    // A search running inside this event returns first; it closes the window when it has.
    if (SearchFlow->CancelForClose() || !FormCloseQuery()) {
        event->ignore();
        return;
    }
    Closed = true;
    FormClose();
    event->accept();
}

bool TQuorvelaneForm::FormCloseQuery()
{
    Engine->StopSlideReading();
    // An edited text is not closed away without asking.
    return Loader->MayReplaceText();
}

void TQuorvelaneForm::FormClose()
{
    setAcceptDrops(false);
    State.Form.FormInactive = true;
    if (State.Form.SettingsRead)
        WriteSettingsFile();
}

// The window's bounds, the panels' sizes and the open folder into the state.
void TQuorvelaneForm::CaptureSettings()
{
    TFormState& f = State.Form;
    f.StartMaximized = isMaximized();
    // A maximised window stores the bounds it goes back to.
    const QRect normal = normalGeometry();
    const bool useNormal = isMaximized() && normal.isValid();
    f.Left = useNormal ? normal.x() : x();
    f.Top = useNormal ? normal.y() : y();
    f.Width = useNormal ? normal.width() : width();
    f.Height = useNormal ? normal.height() : height();
    f.LeftPanelWidth = LeftPanel->width();
    f.DirectoryPanelHeight = DirectoryPanel->height();
    FileList->CaptureFolder();
}

QVariantList TQuorvelaneForm::CollectSettings()
{
    CaptureSettings();
    return SettingsValues(State);
}

void TQuorvelaneForm::WriteSettingsFile()
{
    CaptureSettings();
    TIniFile ini(SettingsFileName());
    WriteSettings(ini, State);
    if (ini.UpdateFile())
        return;
    try {
        Dialogs().PlainMessage(QStringLiteral("初期化ファイルを作成できませんでした。"));
    } catch (const TDialogUnavailable&) {
        Dialogs().ErrorReport(QStringLiteral("初期化ファイルを作成できませんでした。"));
    }
}

void TQuorvelaneForm::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    FormResize();
}

void TQuorvelaneForm::FileListBox1Change(QObject* Sender)
{
    if (!State.Form.DropInProgress && !State.Form.FormInactive)
        FileList->FileListBox1Change(Sender);
}

void TQuorvelaneForm::RebuildReader()
{
    if (Layout->RelayoutWaits())
        return;
    ReaderView->UpdateScrollRange();
    ReaderView->CreateReaderLabels();
    Engine->ShowReadingLines();
}

// The check marks of the Reading menu follow the engine's state.
void TQuorvelaneForm::SyncReadingChecks()
{
    const std::pair<const char*, bool> checks[] = {
        {"SlideRead", State.Slide.SlideRead},
        {"CanChangeSlideRead", State.Slide.CanChangeSlideRead},
        {"SlideRepeat", State.Slide.SlideRepeat},
        {"ListSlideRead", State.Slide.ListSlideRead},
    };
    for (const auto& [name, checked] : checks) {
        QAction* action = Action(QLatin1String(name));
        const QSignalBlocker blocker(action);
        action->setChecked(checked);
    }
}

// The check marks of the three modes show their flags; a click on one switches its flag before
// the command's handler runs.
void TQuorvelaneForm::MirrorChecks()
{
    SyncReadingChecks();
    Action(QStringLiteral("SetAnyFilter"))->setChecked(State.Files.AnyFilter);
    Action(QStringLiteral("SetContentsLineForward"))->setChecked(State.Search.ContentsLineForward);
    Action(QStringLiteral("ReflectFormAll"))->setChecked(State.Look.FormAllChange);
}

bool TQuorvelaneForm::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    const bool reader =
        watched == ReaderPanel || (ReaderView && ReaderView->ReaderLabels().contains(watched));
    if (reader && ReaderMouseEvent(event))
        return true;
    if (watched == ReaderPanel && type == QEvent::Resize)
        PlaceReaderScrollBar();
    if (watched == ContentsPanel && type == QEvent::Resize)
        FindResearchButton->setGeometry(2, 2, qMax(0, ContentsPanel->width() - 3),
                                        FindResearchButton->sizeHint().height());
    if ((watched == LeftPanel || watched == RightPanel) && type == QEvent::Resize)
        FormResize();
    // The end of a drag of a splitter lays the reader out again.
    if ((watched == LeftSplitter || watched == RightSplitter || watched == TextSplitter) &&
        type == QEvent::MouseButtonRelease)
        FormResize();
    return QMainWindow::eventFilter(watched, event);
}

bool TQuorvelaneForm::ReaderMouseEvent(QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        Engine->ReaderPanelMouseDown(mouse->button(), mouse->modifiers());
        return true;
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        Engine->ReaderPanelMouseUp();
        return true;
    }
    return false;
}

void TQuorvelaneForm::PlaceReaderScrollBar()
{
    const QRect area = ReaderPanel->contentsRect();
    ReadingLineScrollBar->setGeometry(area.right() - 15, area.top(), 16, area.height());
}

bool TQuorvelaneForm::Set_SaveFilter(QString& FilterList)
{
    return SetSaveFilterReporting(FilterList);
}
void TQuorvelaneForm::FileSaveExecute() { Saver->FileSaveExecute(); }
void TQuorvelaneForm::MenuEditExecute() { EditCommands->MenuEditExecute(); }
void TQuorvelaneForm::TextCutExecute() { EditCommands->TextCutExecute(); }
void TQuorvelaneForm::TextCopyExecute() { EditCommands->TextCopyExecute(); }
void TQuorvelaneForm::TextPasteExecute() { EditCommands->TextPasteExecute(); }
void TQuorvelaneForm::TextAllSelectExecute() { EditCommands->TextAllSelectExecute(); }
void TQuorvelaneForm::AppHelpExecute() { Help->AppHelpExecute(); }
void TQuorvelaneForm::AppVersionExecute() { ::AppVersionExecute(); }
