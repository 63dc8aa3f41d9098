#include "app/QuorvelaneMain.h"

#include "app/FormPorts.h"
#include "files/TextLoader.h"

#include "common/AppConstants.h"
#include "common/AppUtils.h"
#include "platform/Colors.h"
#include "platform/FolderControls.h"
#include "platform/Fonts.h"
#include "platform/IniFile.h"
#include "platform/MainRichEdit.h"
#include "reader/ReaderView.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSplitter>
#include <QTimer>

namespace {

const QString SettingsFileTitle = QStringLiteral("Quorvelane.ini");

// The number a settings-list item shows: its text read as a decimal after the leading blanks.
std::optional<int> itemNumber(const QComboBox* box)
{
    bool ok = false;
    const int n = box->currentText().trimmed().toInt(&ok);
    return ok ? std::optional<int>(n) : std::nullopt;
}

void selectIndex(QComboBox* box, int index)
{
    box->setCurrentIndex(index >= 0 && index < box->count() ? index : -1);
}

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
    return Form.SettingsFolder + SettingsFileTitle;
}

void TQuorvelaneForm::FormCreate()
{
    Form.FormInactive = true;
    Form.DropInProgress = false;
    setAcceptDrops(true);
    Search.Searching = false;
    Files.FileListRestored = false;
    Files.IgnoreTextChange = true;
    FileListBox1->SetMask(QStringLiteral("*.txt"));
    DirectoryListBox1->SetDirectory(QDir::currentPath());
    // The settings folder always ends in a separator; a root already does.
    Form.SettingsFolder =
        SettingsFolderGiven.isEmpty() ? DirectoryListBox1->Directory() : SettingsFolderGiven;
    if (!Form.SettingsFolder.endsWith(u'/'))
        Form.SettingsFolder += u'/';
    DirectoryPanel->setMinimumHeight(3);
    ReadingLineScrollBar->setRange(0, 1);
    Slide.ReadingLine = 0;
    Slide.PausedByMouse = false;
    if (!CreateZeroLabel()) {
        AppMessageBox(QStringLiteral(
                          "ゼロラベルのクリエイトに失敗しました。\r\n\r\nプログラムを終了します。"),
                      ErrorCaption(), 0);
        QTimer::singleShot(0, this, &QWidget::close);
        return;
    }
    ReadSettingsFile();
    ApplyFileFilter();
    if (Action(QStringLiteral("ReflectFormAll"))->isChecked())
        ApplyFormAllColors(TColorSender::Window);
    ApplyBounds(ReadValues);
    SelectFirstWhenNone(ReadTimerComboBox);
    Slide.SlideIntervalMs = itemNumber(ReadTimerComboBox).value_or(1000);
    ReadTimer->setInterval(Slide.SlideIntervalMs);
    SelectFirstWhenNone(LabelSpaceComboBox);
    ReaderView->SetLabelSpacing(itemNumber(LabelSpaceComboBox).value_or(0));
    SelectFirstWhenNone(FontSizeComboBox);
    TextFontSpec.Size = itemNumber(FontSizeComboBox).value_or(10);
    ApplyTextFont();
    // The text view starts folded away above the reader.
    CenterSplitter->setSizes({5, qMax(5, CenterSplitter->height() - 5)});
    BuildSelectedFolderMenu(ReadValues.SelFolder);
    Slide.ChangeReadIndex = 0;
    Engine->ParseChangeReadTimes(Slide.ChangeReadTimes);
}

void TQuorvelaneForm::ReadSettingsFile()
{
    TSettingsData defaults;
    defaults.Folder = DirectoryListBox1->Directory();
    defaults.FontName = TextFontSpec.Name;
    const TIniFile ini(SettingsFileName());
    ReadValues = ReadSettings(ini, defaults);
    ApplySettings(ReadValues);
    Form.SettingsRead = true;
}

void TQuorvelaneForm::ApplySettings(const TSettingsData& d)
{
    Form.StartMaximized = d.Maximized;
    ApplyBounds(d);
    MainSplitter->setSizes({d.LeftPanelWidth, qMax(10, width() - d.LeftPanelWidth - 98), 98});
    Form.LeftPanelOpenWidth = d.LeftPanelOpenWidth;
    LeftColumnSplitter->setSizes(
        {d.DirectoryPanelHeight, qMax(10, height() - d.DirectoryPanelHeight)});
    Form.RightPanelWidth = d.RightPanelWidth;
    Action(QStringLiteral("SetAnyFilter"))->setChecked(d.AnyFilter);
    Files.NowFilter = d.NowFilter;
    Files.AllFilter = d.AllFilter;
    // A saved folder that is gone is skipped; the keys after it still apply.
    DirectoryListBox1->SetDirectory(d.Folder);
    Files.CurrentFileName = d.FileName;
    selectIndex(ReadTimerComboBox, d.SlideInterval);
    Slide.ChangeReadTimes = d.ChangeReadTimes;
    // The saved step waits for the first relayout, which knows how many lines fit.
    LabelStepComboBox->setProperty("Tag", -1);
    LabelStepComboBox->setCurrentIndex(0);
    Slide.SlideStep = d.SlideLabelStep;
    Slide.SlideRepeat = d.SlideRepeat;
    Slide.ListSlideRead = d.ListSlide;
    SyncReadingChecks();
    selectIndex(LabelSpaceComboBox, d.LabelSpace);
    SetReaderBackColor(d.BackColor);
    Action(QStringLiteral("SetContentsLineForward"))->setChecked(d.ContentsLineForward);
    selectIndex(FontSizeComboBox, d.FontSize);
    TextFontSpec.Color = d.FontColor;
    TextFontSpec.Name = d.FontName;
    const TFontStyleBits style = DecodeFontStyle(d.FontStyle);
    TextFontSpec.Bold = style.Bold;
    TextFontSpec.Italic = style.Italic;
    TextFontSpec.Underline = style.Underline;
    TextFontSpec.StrikeOut = style.StrikeOut;
    Action(QStringLiteral("ReflectFormAll"))->setChecked(d.FormAllChange);
    Search.SearchType = d.SearchType;
    Search.SearchLineString = d.SearchLineString;
    Search.SearchContents = d.SearchContents;
    Search.SearchSimplleContents = d.SearchSimplleContents;
    Search.SearchLength = d.SearchLength;
    Search.SearchOption = d.SearchOption;
}

void TQuorvelaneForm::ApplyBounds(const TSettingsData& d)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize screenSize = screen ? screen->size() : QSize(1024, 768);
    const QRect fitted = FitToScreen(QRect(d.Left, d.Top, d.Width, d.Height), screenSize);
    Form.LastFormWidth = fitted.width();
    Form.LastFormHeight = fitted.height();
    move(fitted.topLeft());
    resize(fitted.size());
}

void TQuorvelaneForm::SelectFirstWhenNone(QComboBox* box)
{
    if (box->currentIndex() < 0 && box->count() > 0)
        box->setCurrentIndex(0);
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
    Form.FormInactive = false;
    if (Form.StartMaximized)
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
    if (SearchFlow->CancelForClose()) {
        event->ignore();
        return;
    }
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    Closed = true;
    FormClose();
    event->accept();
}

bool TQuorvelaneForm::FormCloseQuery()
{
    if (ReadTimer->isActive())
        Engine->StopSlideReading();
    return true;
}

void TQuorvelaneForm::FormClose()
{
    setAcceptDrops(false);
    Form.FormInactive = true;
    if (Form.SettingsRead)
        WriteSettingsFile();
}

TSettingsData TQuorvelaneForm::CollectSettings() const
{
    TSettingsData d;
    d.Maximized = isMaximized();
    // A maximised window stores the bounds it goes back to.
    const QRect normal = normalGeometry();
    const bool useNormal = isMaximized() && normal.isValid();
    d.Left = useNormal ? normal.x() : x();
    d.Top = useNormal ? normal.y() : y();
    d.Width = useNormal ? normal.width() : width();
    d.Height = useNormal ? normal.height() : height();
    d.LeftPanelWidth = LeftPanel->width();
    d.LeftPanelOpenWidth = Form.LeftPanelOpenWidth;
    d.DirectoryPanelHeight = DirectoryPanel->height();
    d.RightPanelWidth = Form.RightPanelWidth;
    d.AnyFilter = Action(QStringLiteral("SetAnyFilter"))->isChecked();
    d.NowFilter = Files.NowFilter;
    d.AllFilter = Files.AllFilter;
    d.SelFolder = Files.SelectedFolders.join(u';');
    d.Folder = DirectoryListBox1->Directory();
    d.FileName = Files.CurrentFileName;
    d.SlideInterval = ReadTimerComboBox->currentIndex();
    d.ChangeReadTimes = Slide.ChangeReadTimes;
    // Before the first relayout the saved step still waits in SlideStep.
    d.SlideLabelStep = LabelStepComboBox->property("Tag").toInt() != 0
                           ? Slide.SlideStep
                           : LabelStepComboBox->currentIndex();
    d.SlideRepeat = Slide.SlideRepeat;
    d.ListSlide = Slide.ListSlideRead;
    d.LabelSpace = LabelSpaceComboBox->currentIndex();
    d.BackColor = ReaderBackColor;
    d.ContentsLineForward = Action(QStringLiteral("SetContentsLineForward"))->isChecked();
    d.FontSize = FontSizeComboBox->currentIndex();
    d.FontColor = TextFontSpec.Color;
    d.FontName = TextFontSpec.Name;
    d.FontStyle = EncodeFontStyle({TextFontSpec.Bold, TextFontSpec.Italic,
                                   TextFontSpec.Underline, TextFontSpec.StrikeOut});
    d.FormAllChange = Action(QStringLiteral("ReflectFormAll"))->isChecked();
    d.SearchType = Search.SearchType;
    d.SearchLineString = Search.SearchLineString;
    d.SearchContents = Search.SearchContents;
    d.SearchSimplleContents = Search.SearchSimplleContents;
    d.SearchLength = Search.SearchLength;
    d.SearchOption = Search.SearchOption;
    return d;
}

void TQuorvelaneForm::WriteSettingsFile()
{
    TIniFile ini(SettingsFileName());
    WriteSettings(ini, CollectSettings());
    if (ini.UpdateFile())
        return;
    try {
        Dialogs().PlainMessage(QStringLiteral("初期化ファイルを作成できませんでした。"));
    } catch (const TDialogUnavailable&) {
        Dialogs().ErrorReport(QStringLiteral("初期化ファイルを作成できませんでした。"));
    }
}

void TQuorvelaneForm::AppExitExecute()
{
    close();
}

bool TQuorvelaneForm::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    const bool reader = watched == ReaderPanel ||
                        (ReaderView && ReaderView->ReaderLabels().contains(watched));
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

void TQuorvelaneForm::PlaceReaderScrollBar()
{
    const QRect area = ReaderPanel->contentsRect();
    ReadingLineScrollBar->setGeometry(area.right() - 15, area.top(), 16, area.height());
}

