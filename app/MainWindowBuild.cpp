// The window's definition: the panel tree with its sizes and limits, the settings lists, the
// actions of the command table, the menus that point at them, the components and the signals
// of the controls.
#include "app/CommandTable.h"
#include "app/ControlFactory.h"
#include "app/FormEvents.h"
#include "app/FormPorts.h"
#include "app/QuorvelaneMain.h"
#include "app/WindowLayout.h"
#include "dialogs/BaseSettings.h"
#include "dialogs/EditCommands.h"
#include "dialogs/HelpWindow.h"
#include "dialogs/TextSaver.h"
#include "dialogs/TextViewSavePort.h"
#include "files/FileList.h"
#include "files/FolderControls.h"
#include "files/TextLoader.h"
#include "platform/DialogService.h"
#include "platform/MainRichEdit.h"
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
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QSplitter>
#include <QTimer>
#include <QVBoxLayout>

void TQuorvelaneForm::BuildControls()
{
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("ClientArea"));
    setCentralWidget(central);
    MainSplitter = MakeSplitter(Qt::Horizontal, central, "MainSplitter");
    ColumnLayout(central)->addWidget(MainSplitter);
    BuildLeftColumn();
    BuildCenterColumn();
    BuildRightColumn();
    MainSplitter->addWidget(LeftPanel);
    MainSplitter->addWidget(CenterPanel);
    MainSplitter->addWidget(RightPanel);
    MainSplitter->setStretchFactor(1, 1);
    LeftSplitter = NameHandle(MainSplitter, 1, "LeftSplitter");
    RightSplitter = NameHandle(MainSplitter, 2, "RightSplitter");
    MainSplitter->setSizes({110, 300, 98});

    ReadTimer = new QTimer(this);
    ReadTimer->setObjectName(QStringLiteral("ReadTimer"));
    ReadTimer->setTimerType(Qt::PreciseTimer);
    ReadTimer->setInterval(2000);
    ResizeTimer = new QTimer(this);
    ResizeTimer->setObjectName(QStringLiteral("ResizeTimer"));
    ResizeTimer->setInterval(250);
}

void TQuorvelaneForm::BuildLeftColumn()
{
    LeftPanel = MakePanel(this, "LeftPanel");
    LeftPanel->setMinimumWidth(2);
    LeftColumnSplitter = MakeSplitter(Qt::Vertical, LeftPanel, "LeftColumnSplitter");
    ColumnLayout(LeftPanel)->addWidget(LeftColumnSplitter);

    DirectoryPanel = MakePanel(LeftColumnSplitter, "DirectoryPanel");
    DrivePanel = MakePanel(DirectoryPanel, "DrivePanel", false);
    DrivePanel->setFixedHeight(22);
    DriveComboBox1 = new TDriveComboBox(DrivePanel);
    DriveComboBox1->setObjectName(QStringLiteral("DriveComboBox1"));
    ColumnLayout(DrivePanel)->addWidget(DriveComboBox1);
    DirectoryListBox1 = new TDirectoryListBox(DirectoryPanel);
    DirectoryListBox1->setObjectName(QStringLiteral("DirectoryListBox1"));
    DirectoryListBox1->setContextMenuPolicy(Qt::CustomContextMenu);
    SearchingButton = new QPushButton(DirectoryPanel);
    SearchingButton->setObjectName(QStringLiteral("SearchingButton"));
    SearchingButton->setText(QStringLiteral("Searching"));
    SearchingButton->setFocusPolicy(Qt::NoFocus);
    // Outside the layout: while a search runs the button lies over the folder list.
    SearchingButton->hide();
    auto* directoryLayout = ColumnLayout(DirectoryPanel, 1);
    directoryLayout->addWidget(DrivePanel);
    directoryLayout->addWidget(DirectoryListBox1, 1);

    FileNameListBox = new QListWidget(LeftColumnSplitter);
    FileNameListBox->setObjectName(QStringLiteral("FileNameListBox"));
    // Rows of one height: a list of tens of thousands of found files is laid out without
    // measuring every name.
    FileNameListBox->setUniformItemSizes(true);
    LeftColumnSplitter->addWidget(DirectoryPanel);
    LeftColumnSplitter->addWidget(FileNameListBox);
    LeftColumnSplitter->setStretchFactor(1, 1);
    DirectorySplitter = NameHandle(LeftColumnSplitter, 1, "DirectorySplitter");
    LeftColumnSplitter->setSizes({150, 200});

    // Working controls that are never seen.
    FileListBox1 = new TFileListBox(this);
    FileListBox1->setObjectName(QStringLiteral("FileListBox1"));
    OpenDialogListBox = new QListWidget(this);
    OpenDialogListBox->setObjectName(QStringLiteral("OpenDialogListBox"));
    OpenDialogListBox->hide();
    FilePathListBox = new QListWidget(this);
    FilePathListBox->setObjectName(QStringLiteral("FilePathListBox"));
    FilePathListBox->hide();
    SaveRichEdit = new QPlainTextEdit(this);
    SaveRichEdit->setObjectName(QStringLiteral("SaveRichEdit"));
    SaveRichEdit->hide();
}

void TQuorvelaneForm::BuildCenterColumn()
{
    CenterPanel = MakePanel(this, "CenterPanel", false);
    CenterSplitter = MakeSplitter(Qt::Vertical, CenterPanel, "CenterSplitter");
    ColumnLayout(CenterPanel)->addWidget(CenterSplitter);

    TextPanel = MakePanel(CenterSplitter, "TextPanel");
    TextPanel->setMinimumHeight(5);
    MainRichEdit = new TMainRichEdit(TextPanel);
    MainRichEdit->setObjectName(QStringLiteral("MainRichEdit"));
    MainRichEdit->setMinimumHeight(0);
    MainRichEdit->setContextMenuPolicy(Qt::CustomContextMenu);
    auto* textLayout = ColumnLayout(TextPanel);
    textLayout->setContentsMargins(4, 0, 0, 0);
    textLayout->addWidget(MainRichEdit);

    ReaderPanel = MakePanel(CenterSplitter, "ReaderPanel");
    ReaderPanel->setMinimumHeight(5);
    ReadingLineScrollBar = new QScrollBar(Qt::Vertical, ReaderPanel);
    ReadingLineScrollBar->setObjectName(QStringLiteral("ReadingLineScrollBar"));
    ReadingLineScrollBar->setRange(0, 1);
    ReadingLineScrollBar->setSingleStep(1);

    CenterSplitter->addWidget(TextPanel);
    CenterSplitter->addWidget(ReaderPanel);
    CenterSplitter->setStretchFactor(1, 1);
    TextSplitter = NameHandle(CenterSplitter, 1, "TextSplitter");
}

void TQuorvelaneForm::BuildRightColumn()
{
    RightPanel = MakePanel(this, "RightPanel");
    RightPanel->setMinimumWidth(2);
    RightColumnSplitter = MakeSplitter(Qt::Vertical, RightPanel, "RightColumnSplitter");
    ColumnLayout(RightPanel)->addWidget(RightColumnSplitter);

    BuildSettingPanel();
    ContentsPanel = MakePanel(RightColumnSplitter, "ContentsPanel", false);
    ContentsListBox = new TContentsListBox(ContentsPanel);
    ContentsListBox->setObjectName(QStringLiteral("ContentsListBox"));
    ColumnLayout(ContentsPanel)->addWidget(ContentsListBox);
    // The re-search button floats over the top of the contents list.
    FindResearchButton = new QPushButton(ContentsPanel);
    FindResearchButton->setObjectName(QStringLiteral("FindResearchButton"));
    FindResearchButton->setText(QStringLiteral("再検索(&R)"));
    FindResearchButton->hide();

    RightColumnSplitter->addWidget(SettingPanel);
    RightColumnSplitter->addWidget(ContentsPanel);
    RightColumnSplitter->setStretchFactor(1, 1);
    SettingSplitter = NameHandle(RightColumnSplitter, 1, "SettingSplitter");
}

void TQuorvelaneForm::BuildSettingPanel()
{
    SettingPanel = MakePanel(RightColumnSplitter, "SettingPanel");
    SettingPanel->setMaximumHeight(168);
    SettingPanel->setMinimumHeight(0);
    auto* layout = ColumnLayout(SettingPanel, 3);
    layout->setContentsMargins(4, 3, 4, 3);
    auto addPair = [&](QLabel*& label, const char* labelName, const QString& caption,
                       QComboBox*& box, const char* boxName, const QStringList& items) {
        label = new QLabel(caption, SettingPanel);
        label->setObjectName(QLatin1String(labelName));
        box = MakeList(SettingPanel, boxName, items);
        layout->addWidget(label);
        layout->addWidget(box);
    };
    addPair(SlideTimeLabel, "SlideTimeLabel", QStringLiteral("スライド間隔"), ReadTimerComboBox,
            "ReadTimerComboBox", ReadTimerItems());
    addPair(LabelStepLabel, "LabelStepLabel", QStringLiteral("スライド行数"), LabelStepComboBox,
            "LabelStepComboBox", LabelStepItems());
    addPair(FontSizeLabel, "FontSizeLabel", QStringLiteral("フォントサイズ"), FontSizeComboBox,
            "FontSizeComboBox", FontSizeItems());
    addPair(LabelSpaceLabel, "LabelSpaceLabel", QStringLiteral("行間"), LabelSpaceComboBox,
            "LabelSpaceComboBox", LabelSpaceItems());
    layout->addStretch(1);
}

void TQuorvelaneForm::BuildActions()
{
    for (const TCommand& command : Commands()) {
        auto* action = new QAction(command.Caption, this);
        action->setObjectName(QLatin1String(command.Name));
        action->setProperty("Category", QLatin1String(command.Category));
        action->setShortcut(command.Shortcut);
        action->setCheckable(command.Checkable);
        action->setVisible(command.Visible);
        // Commands whose work is not wired yet stay disabled rather than pretend to work.
        action->setEnabled(command.Handler != nullptr);
        if (command.Handler)
            connect(action, &QAction::triggered, this,
                    [this, handler = command.Handler] { RunGuarded(handler); });
        addAction(action);
        // Qt switches off the shortcut of a hidden action (a hidden action counts as disabled,
        // though it can still be triggered); a hidden command keeps its key through a window
        // shortcut of its own.
        if (!command.Visible && !command.Shortcut.isEmpty())
            connect(new QShortcut(command.Shortcut, this), &QShortcut::activated, action,
                    &QAction::trigger);
        Actions.insert(action->objectName(), action);
    }
}

void TQuorvelaneForm::BuildMenus()
{
    for (const TMenuDefinition& definition : MainMenus()) {
        QMenu* menu = menuBar()->addMenu(definition.Caption);
        menu->setObjectName(QLatin1String(definition.Name));
        QList<QMenu*> stack{menu};
        for (const QString& item : definition.Items) {
            if (item == u'-')
                stack.last()->addSeparator();
            else if (item.startsWith(u'>'))
                stack << stack.last()->addMenu(item.mid(1));
            else if (item == u'<')
                stack.removeLast();
            else
                stack.last()->addAction(Actions.value(item));
        }
    }
    DirectoryPopupMenu = new QMenu(this);
    DirectoryPopupMenu->setObjectName(QStringLiteral("DirectoryPopupMenu"));
    SelectedFolderMenu = DirectoryPopupMenu->addMenu(QStringLiteral("指定フォルダ(&F)"));
    SelectedFolderMenu->setObjectName(QStringLiteral("SelectedFolderMenu"));
    DirectoryPopupMenu->addSeparator();
    DirectoryPopupMenu->addAction(Actions.value(QStringLiteral("FileSearchAll")));
    connect(DirectoryListBox1, &QWidget::customContextMenuRequested, this, [this](QPoint p) {
        DirectoryPopupMenu->popup(DirectoryListBox1->viewport()->mapToGlobal(p));
    });

    MainRichEditPopupMenu = new QMenu(this);
    MainRichEditPopupMenu->setObjectName(QStringLiteral("MainRichEditPopupMenu"));
    QMenu* edit = MainRichEditPopupMenu->addMenu(Actions.value(QStringLiteral("MenuEdit"))->text());
    for (const char* name : {"TextCut", "TextCopy", "TextPaste", "TextAllSelect"})
        edit->addAction(Actions.value(QLatin1String(name)));
    connect(MainRichEdit, &QWidget::customContextMenuRequested, this, [this](QPoint p) {
        MainRichEditPopupMenu->popup(MainRichEdit->viewport()->mapToGlobal(p));
    });
}

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
    ReaderView->KeepPlaceOf(&State.Slide.ReadingLine);
    Engine = std::make_unique<TSlideEngine>(State.Slide, *ReaderPort);
    StatusStrip =
        std::make_unique<TReaderStatusStrip>(ReaderPanel, [this] { return ReaderStatusFacts(); });
    FullScreen = std::make_unique<TReaderFullScreen>(
        this, Action(QStringLiteral("FullScreenReader")),
        QList<QWidget*>{menuBar(), LeftPanel, RightPanel, TextPanel}, [this] { RelayoutReader(); });
    auto* input = new TReaderInput(ReaderPanel, *Engine, [this] {
        return State.Search.Searching || State.Form.DropInProgress;
    });
    for (QComboBox* box :
         {ReadTimerComboBox, LabelStepComboBox, FontSizeComboBox, LabelSpaceComboBox})
        input->ReturnFocusFrom(box);
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
    // The check marks of the modes switch their flags; the program sets them through
    // MirrorChecks.
    const std::pair<const char*, bool*> modes[] = {
        {"SetAnyFilter", &State.Files.AnyFilter},
        {"SetContentsLineForward", &State.Search.ContentsLineForward},
        {"ReflectFormAll", &State.Look.FormAllChange},
        {"AozoraFormat", &State.Formats.AozoraFormat},
        {"ShowStatusStrip", &State.Slide.StatusStrip},
        {"KeepPlaces", &State.Slide.KeepPlaces},
        {"TextPauses", &State.Slide.TextPauses},
    };
    for (const auto& [name, flag] : modes)
        connect(Action(QLatin1String(name)), &QAction::toggled, this,
                [flag](bool checked) { *flag = checked; });
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
