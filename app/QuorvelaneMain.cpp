#include "app/QuorvelaneMain.h"

#include "app/CommandTable.h"
#include "app/FormEvents.h"
#include "app/FormPorts.h"
#include "app/ModeChecks.h"
#include "app/SettingsFile.h"
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
#include "reader/MainRichEdit.h"
#include "reader/PlaceKeeper.h"
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
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QTimer>

TQuorvelaneForm::TQuorvelaneForm(QWidget* parent, const QString& settingsFolder)
    : QMainWindow(parent), SettingsFolderGiven(settingsFolder)
{
    setObjectName(QStringLiteral("QuorvelaneForm"));
    setWindowTitle(QStringLiteral("Quorvelane"));
    BuildControls(this);
    Actions = BuildCommandActions(this, [this](auto handler) { RunGuarded(handler); });
    BuildMainMenus(menuBar(), Actions);
    BuildPopupMenus(this, Actions);
    BuildComponents();
    ConnectControls();
    FormCreate();
}

TQuorvelaneForm::~TQuorvelaneForm() = default;

QString TQuorvelaneForm::SettingsFileName() const
{
    return SettingsFileIn(State.Form.SettingsFolder);
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
    State.Form.SettingsFolder = SettingsFolderOf(SettingsFolderGiven, State.Files.Folder);
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
    ReadSettingsFile(SettingsFileName(), State);
    Keeper->Load(PlacesFileName());
    Layout->ApplySavedBounds();
    FileList->ApplySaved();
    Checks->MirrorAll();
    ShowStatusStripExecute();
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
    if (State.Form.SettingsRead) {
        CaptureSettings();
        WriteSettingsFile(SettingsFileName(), State);
    }
    if (State.Form.SettingsRead)
        Keeper->Save(PlacesFileName());
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
}

void TQuorvelaneForm::ShowStatusStripExecute()
{
    StatusStrip->SetShown(State.Slide.StatusStrip);
    ReaderView->SetReservedHeight(StatusStrip->Height());
    RebuildReader();
}

void TQuorvelaneForm::SetRubyStyleExecute(TRubyStyle Style)
{
    State.Formats.RubyStyle = int(Style);
    Checks->MirrorRuby();
    Loader->SetRubyStyle(Style);
}

void TQuorvelaneForm::FindHeadingsExecute()
{
    FindHeadings(*SearchPort, State.Search, Loader->Aozora().Headings());
}
