#include "app/QuorvelaneMain.h"

#include "app/FormEvents.h"
#include "app/FormPorts.h"
#include "app/WindowLayout.h"
#include "dialogs/BaseSettings.h"
#include "dialogs/EditCommands.h"
#include "dialogs/FileDialogs.h"
#include "dialogs/HelpWindow.h"
#include "dialogs/ProgramInfo.h"
#include "dialogs/TextSaver.h"
#include "dialogs/TextViewSavePort.h"

#include "common/AppConstants.h"
#include "files/FileList.h"
#include "files/FolderControls.h"
#include "files/TextLoader.h"
#include "platform/AppUtils.h"
#include "platform/DialogService.h"
#include "platform/IniFile.h"
#include "platform/MainRichEdit.h"
#include "reader/ReaderAppearance.h"
#include "reader/ReaderFullScreen.h"
#include "reader/ReaderStatusStrip.h"
#include "reader/ReaderView.h"
#include "reader/SlideEngine.h"
#include "search/HeadingSearch.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QTextDocument>
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
    // Read even while off: switched on later, the places of earlier sessions stay.
    Places = TReadingPlaces::Load(PlacesFileName());
    Layout->ApplySavedBounds();
    FileList->ApplySaved();
    MirrorChecks();
    Loader->SetAozoraFormatting(State.Formats.AozoraFormat);
    Loader->SetRubyStyle(RubyStyleOf(State.Formats.RubyStyle));
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
    SearchAll->Shutdown();
    if (State.Form.SettingsRead)
        WriteSettingsFile();
    // Nothing is written while the places are not kept: the file exists only for those who
    // use it. A file that cannot be written costs the places, not the settings.
    if (State.Form.SettingsRead && State.Slide.KeepPlaces) {
        RememberPlace();
        Places.Save(PlacesFileName());
    }
}

QString TQuorvelaneForm::PlacesFileName() const
{
    return State.Form.SettingsFolder + QStringLiteral("Quorvelane.places");
}

void TQuorvelaneForm::RememberPlace()
{
    if (!State.Slide.KeepPlaces || State.Files.CurrentFileName.isEmpty())
        return;
    if (const auto place = ReaderView->PlaceOfLine(State.Slide.ReadingLine))
        Places.Remember(QFileInfo(State.Files.CurrentFileName).absoluteFilePath(), *place);
}

void TQuorvelaneForm::RestorePlace()
{
    if (!State.Slide.KeepPlaces || State.Files.CurrentFileName.isEmpty())
        return;
    const auto place = Places.Find(QFileInfo(State.Files.CurrentFileName).absoluteFilePath());
    if (!place || LineCount() == 0)
        return;
    ReaderView->UpdateScrollRange();
    Engine->KeepPlace(ReaderView->LineOfPlace(*place));
}

// The window's bounds, the panels' sizes and the open folder into the state.
void TQuorvelaneForm::CaptureSettings()
{
    Layout->CaptureBounds();
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
    const int line = State.Slide.ReadingLine;
    ReaderView->UpdateScrollRange();
    // A new font or width moved the place to another line number: the scroll bar follows.
    if (State.Slide.ReadingLine != line)
        Engine->KeepPlace(State.Slide.ReadingLine);
    ReaderView->CreateReaderLabels();
    Engine->ShowReadingLines();
}

void TQuorvelaneForm::FullScreenReaderExecute()
{
    FullScreen->Toggle();
    const QSignalBlocker blocker(Action(QStringLiteral("FullScreenReader")));
    Action(QStringLiteral("FullScreenReader"))->setChecked(FullScreen->Active());
}

void TQuorvelaneForm::ShowStatusStripExecute()
{
    StatusStrip->SetShown(State.Slide.StatusStrip);
    ReaderView->SetReservedHeight(StatusStrip->Height());
    RebuildReader();
}

TReaderStatusFacts TQuorvelaneForm::ReaderStatusFacts() const
{
    const TSlideState& slide = State.Slide;
    const bool ticking = ReadTimer->isActive() && State.Slide.TimerTag == 0;
    TReaderStatusFacts facts;
    facts.Run = ticking ? TReadingRun::Running
                        : (slide.PausedByMouse ? TReadingRun::Paused : TReadingRun::Stopped);
    facts.Variable = slide.CanChangeSlideRead;
    facts.IntervalMs = slide.CanChangeSlideRead ? ReadTimer->interval() : slide.SlideIntervalMs;
    facts.SlideStep = slide.SlideStep;
    facts.FileName = QFileInfo(State.Files.CurrentFileName).fileName();
    facts.ReadingLine = slide.ReadingLine;
    facts.LineCount = LineCount();
    // Each block ends in a paragraph separator, which is no character of the text.
    const QTextDocument* document = MainRichEdit->document();
    facts.Characters = document->characterCount() - document->blockCount();
    return facts;
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
    Action(QStringLiteral("AozoraFormat"))->setChecked(State.Formats.AozoraFormat);
    MirrorRubyChecks();
    Action(QStringLiteral("ShowStatusStrip"))->setChecked(State.Slide.StatusStrip);
    Action(QStringLiteral("KeepPlaces"))->setChecked(State.Slide.KeepPlaces);
    Action(QStringLiteral("TextPauses"))->setChecked(State.Slide.TextPauses);
    ShowStatusStripExecute();
}

void TQuorvelaneForm::MirrorRubyChecks()
{
    const TRubyStyle style = RubyStyleOf(State.Formats.RubyStyle);
    Action(QStringLiteral("RubyAbove"))->setChecked(style == TRubyStyle::Above);
    Action(QStringLiteral("RubyParenthesised"))->setChecked(style == TRubyStyle::Parenthesised);
    Action(QStringLiteral("RubyHidden"))->setChecked(style == TRubyStyle::Hidden);
}

void TQuorvelaneForm::SetRubyStyleExecute(TRubyStyle Style)
{
    State.Formats.RubyStyle = int(Style);
    MirrorRubyChecks();
    Loader->SetRubyStyle(Style);
}

void TQuorvelaneForm::FindHeadingsExecute()
{
    const TAozoraDisplay& aozora = Loader->Aozora();
    FindHeadings(*SearchPort, State.Search,
                 aozora.IsFormatted() ? aozora.FormattedText().Headings
                                      : std::vector<TAozoraHeading>());
}

bool TQuorvelaneForm::Set_SaveFilter(QString& FilterList)
{
    return SetSaveFilterReporting(FilterList);
}
void TQuorvelaneForm::FileSaveExecute()
{
    Saver->FileSaveExecute();
}
void TQuorvelaneForm::MenuEditExecute()
{
    EditCommands->MenuEditExecute();
}
void TQuorvelaneForm::TextCutExecute()
{
    EditCommands->TextCutExecute();
}
void TQuorvelaneForm::TextCopyExecute()
{
    EditCommands->TextCopyExecute();
}
void TQuorvelaneForm::TextPasteExecute()
{
    EditCommands->TextPasteExecute();
}
void TQuorvelaneForm::TextAllSelectExecute()
{
    EditCommands->TextAllSelectExecute();
}
void TQuorvelaneForm::AppHelpExecute()
{
    Help->AppHelpExecute();
}
void TQuorvelaneForm::AppVersionExecute()
{
    ::AppVersionExecute();
}
