// The components of the main window and the signals of its controls.
#include "app/FormPorts.h"
#include "app/QuorvelaneMain.h"

#include "files/TextLoader.h"
#include "platform/FolderControls.h"
#include "platform/MainRichEdit.h"
#include "reader/ReaderInput.h"
#include "reader/ReaderStatusStrip.h"
#include "reader/ReaderView.h"

#include <QAction>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QTimer>

void TQuorvelaneForm::BuildComponents()
{
    ReaderView = std::make_unique<TReaderView>(MainRichEdit, ReaderPanel, ReadingLineScrollBar, this);
    ReaderView->KeepPlaceOf(&Slide.ReadingLine);
    ReaderPort = std::make_unique<TFormReaderPort>(*this);
    Engine = std::make_unique<TSlideEngine>(Slide, *ReaderPort);
    StatusStrip =
        std::make_unique<TReaderStatusStrip>(ReaderPanel, [this] { return ReaderStatusFacts(); });
    auto* input = new TReaderInput(ReaderPanel, *Engine,
                                   [this] { return Search.Searching || Form.DropInProgress; });
    for (QComboBox* box : {ReadTimerComboBox, LabelStepComboBox, FontSizeComboBox, LabelSpaceComboBox})
        input->ReturnFocusFrom(box);
    SearchPort = std::make_unique<TFormSearchPort>(*this);
    SearchFlow = std::make_unique<TSearchFlow>(Search, *SearchPort);
    TTextLoaderContext context;
    context.FileNameListBox = FileNameListBox;
    context.FilePathListBox = FilePathListBox;
    context.MainRichEdit = MainRichEdit;
    context.ContentsListBox = ContentsListBox;
    context.FindResearchButton = FindResearchButton;
    context.ReadingLineScrollBar = ReadingLineScrollBar;
    context.ReadingLine = &Slide.ReadingLine;
    context.SetCaption = [this](const QString& caption) { setWindowTitle(caption); };
    context.RebuildReader = [this] { RebuildReader(); };
    context.LineCount = [this] { return LineCount(); };
    Loader = std::make_unique<TTextLoader>(std::move(context), Files);
}

void TQuorvelaneForm::ConnectControls()
{
    auto guarded = [this](void (*handler)(TQuorvelaneForm&)) {
        return [this, handler] { RunGuarded(handler); };
    };
    using F = TQuorvelaneForm;
    connect(ReadTimer, &QTimer::timeout, this, guarded([](F& f) { f.ReadTimerTimer(); }));
    connect(ResizeTimer, &QTimer::timeout, this, guarded([](F& f) { f.ResizeTimerTimer(); }));
    LinkFolderControls(DriveComboBox1, DirectoryListBox1, FileListBox1);
    connect(FileListBox1, &TFileListBox::Changed, this,
            guarded([](F& f) { f.FileListBox1Change(f.FileListBox1); }));
    // A click or Enter loads a file; moving through the list with the arrow keys does not, so
    // that passing over a big file does not read it.
    connect(FileNameListBox, &QListWidget::itemClicked, this,
            guarded([](F& f) { f.FileNameListBoxClick(); }));
    connect(FileNameListBox, &QListWidget::itemActivated, this,
            guarded([](F& f) { f.FileNameListBoxClick(); }));
    connect(MainRichEdit, &QPlainTextEdit::textChanged, this,
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
        RunGuarded([](F& f) { f.ReadingLineScrollBarScroll(f.ReadingLineScrollBar->sliderPosition()); });
    });
    connect(FindResearchButton, &QPushButton::clicked, Action(QStringLiteral("FindResearch")),
            &QAction::trigger);
    connect(ContentsListBox, &TContentsListBox::EntryChosen, this,
            guarded([](F& f) { f.ContentsListBoxClick(); }));
    connect(MainSplitter, &QSplitter::splitterMoved, this, [this](int, int index) {
        int size = index == 1 ? LeftPanel->width() : RightPanel->width();
        if (index == 1)
            LeftSplitterCanResize(size);
        else
            RightSplitterCanResize(size);
    });
    for (QObject* watched : {static_cast<QObject*>(LeftPanel), static_cast<QObject*>(RightPanel),
                             static_cast<QObject*>(LeftSplitter), static_cast<QObject*>(RightSplitter),
                             static_cast<QObject*>(TextSplitter)})
        watched->installEventFilter(this);
}
