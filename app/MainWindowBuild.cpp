// The window's wiring: the components over the state and the controls, and the signals of the
// controls.
#include "app/CommandTable.h"
#include "app/FormEvents.h"
#include "app/FormPorts.h"
#include "app/ModeChecks.h"
#include "app/QuorvelaneMain.h"
#include "app/WindowLayout.h"
#include "dialogs/BaseSettings.h"
#include "dialogs/EditCommands.h"
#include "dialogs/HelpWindow.h"
#include "dialogs/TextSaver.h"
#include "dialogs/TextViewSavePort.h"
#include "files/FileList.h"
#include "files/FolderControls.h"
#include "files/StringListBox.h"
#include "files/TextLoader.h"
#include "platform/DialogService.h"
#include "reader/MainRichEdit.h"
#include "reader/PlaceKeeper.h"
#include "reader/ReaderAppearance.h"
#include "reader/ReaderFullScreen.h"
#include "reader/ReaderInput.h"
#include "reader/ReaderLayout.h"
#include "reader/ReaderStatusStrip.h"
#include "reader/ReaderView.h"
#include "reader/SlideEngine.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QTextDocument>
#include <QTimer>

void TQuorvelaneForm::BuildComponents()
{
    TFormEventHandlers handlers;
    handlers.IsReaderLabel = [this](QObject* o) {
        return ReaderView && ReaderView->ReaderLabels().contains(o);
    };
    handlers.ReaderMouseDown = [this](Qt::MouseButton b, Qt::KeyboardModifiers m) {
        Engine->ReaderPanelMouseDown(b, m);
    };
    handlers.ReaderMouseUp = [this] { Engine->ReaderPanelMouseUp(); };
    handlers.FormResize = [this] { FormResize(); };
    const TFormEventTargets targets{
        ReaderPanel,        ReadingLineScrollBar,    ContentsPanel,
        FindResearchButton, {LeftPanel, RightPanel}, {LeftSplitter, RightSplitter, TextSplitter}};
    Events = std::make_unique<TFormEvents>(targets, std::move(handlers), nullptr);
    ReaderView = std::make_unique<TReaderView>(MainRichEdit, ReaderPanel, ReadingLineScrollBar,
                                               Events.get());
    ReaderPort = std::make_unique<TFormReaderPort>(*this);
    Engine = std::make_unique<TSlideEngine>(State.Slide, *ReaderPort);
    ReaderView->KeepPlaceFor(*Engine);
    Keeper = std::make_unique<TPlaceKeeper>(State.Slide, *ReaderView, *Engine,
                                            [this] { return State.Files.CurrentFileName; });
    StatusStrip = std::make_unique<TReaderStatusStrip>(ReaderPanel, [this] {
        return ReaderStatusFactsOf(State.Slide, *ReadTimer, State.Files.CurrentFileName,
                                   LineCount(), ReaderView->CharacterCount());
    });
    FullScreen = std::make_unique<TReaderFullScreen>(
        this, Action(QStringLiteral("FullScreenReader")),
        QList<QWidget*>{menuBar(), LeftPanel, RightPanel, TextPanel}, [this] { RelayoutReader(); });
    auto* input = new TReaderInput(ReaderPanel, *Engine, [this] {
        return State.Search.Searching || State.Form.DropInProgress;
    });
    for (QComboBox* box :
         {ReadTimerComboBox, LabelStepComboBox, FontSizeComboBox, LabelSpaceComboBox})
        input->ReturnFocusFrom(box);
    Checks = std::make_unique<TModeChecks>(State, Actions);
    SearchPort = std::make_unique<TFormSearchPort>(*this);
    SearchFlow = std::make_unique<TSearchFlow>(State.Search, *SearchPort);
    AppearancePort = std::make_unique<TFormAppearancePort>(*this);
    Appearance = std::make_unique<TReaderAppearance>(State.Look, State.Slide, *AppearancePort);
    LayoutPort = std::make_unique<TFormLayoutPort>(*this);
    Layout = std::make_unique<TWindowLayout>(State.Form, State.Files, *LayoutPort);
    LoaderPort = std::make_unique<TFormLoaderPort>(*this);
    Loader = std::make_unique<TTextLoader>(State.Files, *LoaderPort);
    SavePort = std::make_unique<TTextViewSavePort>(*MainRichEdit, *ReaderView, State.Files,
                                                   &Loader->Aozora());
    Saver = std::make_unique<TTextSaver>(*SavePort);
    EditCommands =
        std::make_unique<TEditCommands>(*MainRichEdit, *Action(QStringLiteral("TextPaste")));
    Help = std::make_unique<THelpCommand>(this);
    SettingPort = std::make_unique<TFormSettingPort>(*this);
    BaseSettings = std::make_unique<TBaseSettings>(State.Files, *SettingPort);
    const TFileListControls controls{DriveComboBox1,  DirectoryListBox1, FileListBox1,
                                     FileNameListBox, FilePathListBox,   SelectedFolderMenu};
    FileList = std::make_unique<TFileList>(
        controls, State.Files, [this] { FileNameListBoxClick(); },
        [this](QObject* item) {
            RunGuarded([item](TQuorvelaneForm& f) { f.SelectedFolderClick(item); });
        });
    DropTarget = std::make_unique<TFileDropTarget>(
        TFileDropContext{FileListBox1, DirectoryListBox1, FileNameListBox, FilePathListBox,
                         [this] { FileNameListBoxClick(); }},
        State.Form.DropInProgress);
    SearchAll = std::make_unique<TFileSearchAll>(
        TFileSearchAllContext{SearchingButton, DirectoryListBox1, FilePathListBox, FileNameListBox,
                              [this] { return DirectoryListBox1->Directory(); },
                              [this] { return FileListBox1->Mask(); }});
}

void TQuorvelaneForm::ConnectControls()
{
    auto guarded = [this](void (*handler)(TQuorvelaneForm&)) {
        return [this, handler] { RunGuarded(handler); };
    };
    using F = TQuorvelaneForm;
    connect(ReadTimer, &QTimer::timeout, this, guarded([](F& f) { f.ReadTimerTimer(); }));
    connect(ResizeTimer, &QTimer::timeout, this, guarded([](F& f) { f.ResizeTimerTimer(); }));
    connect(FileListBox1, &TFileListBox::Changed, this,
            guarded([](F& f) { f.FileListBox1Change(f.FileListBox1); }));
    // A click or Enter loads a file; moving through the list with the arrow keys does not, so
    // that passing over a big file does not read it.
    connect(FileNameListBox, &TStringListBox::clicked, this,
            guarded([](F& f) { f.FileNameListBoxClick(); }));
    connect(FileNameListBox, &TStringListBox::activated, this,
            guarded([](F& f) { f.FileNameListBoxClick(); }));
    connect(MainRichEdit, &TMainRichEdit::textChanged, this,
            guarded([](F& f) { f.MainRichEditChange(); }));
    // The lists act on the user's picks only, not on the program's own selections.
    connect(ReadTimerComboBox, &QComboBox::activated, this,
            guarded([](F& f) { f.ReadTimerComboBoxChange(); }));
    connect(LabelStepComboBox, &QComboBox::activated, this,
            guarded([](F& f) { f.LabelStepComboBoxChange(); }));
    connect(FontSizeComboBox, &QComboBox::activated, this,
            guarded([](F& f) { f.FontSizeComboBoxChange(); }));
    connect(LabelSpaceComboBox, &QComboBox::activated, this,
            guarded([](F& f) { f.LabelSpaceComboBoxChange(); }));
    // The scroll bar reports the user's moves before it takes the new position; the reader
    // follows the position it is about to take.
    connect(ReadingLineScrollBar, &QScrollBar::actionTriggered, this, [this](int) {
        RunGuarded(
            [](F& f) { f.ReadingLineScrollBarScroll(f.ReadingLineScrollBar->sliderPosition()); });
    });
    connect(SearchingButton, &QPushButton::clicked, this,
            guarded([](F& f) { f.SearchingButtonClick(); }));
    connect(FindResearchButton, &QPushButton::clicked, Action(QStringLiteral("FindResearch")),
            &QAction::trigger);
    // Opening the Edit menu or the text view's pop-up menu runs MenuEdit.
    for (QMenu* menu :
         {menuBar()->findChild<QMenu*>(QStringLiteral("MenuEdit")), MainRichEditPopupMenu})
        connect(menu, &QMenu::aboutToShow, Action(QStringLiteral("MenuEdit")), &QAction::trigger);
    connect(ContentsListBox, &TContentsListBox::EntryChosen, this,
            guarded([](F& f) { f.ContentsListBoxClick(); }));
    connect(MainSplitter, &QSplitter::splitterMoved, this, [this](int, int index) {
        int size = index == 1 ? LeftPanel->width() : RightPanel->width();
        if (index == 1)
            LeftSplitterCanResize(size);
        else
            RightSplitterCanResize(size);
    });
}

void TQuorvelaneForm::RunGuarded(const std::function<void(TQuorvelaneForm&)>& handler)
{
    // A failure inside a command or an event handler is reported and the program goes on.
    try {
        handler(*this);
    } catch (const std::exception& e) {
        Dialogs().ErrorReport(QString::fromLocal8Bit(e.what()));
    }
}
