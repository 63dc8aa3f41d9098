// The main window's panel tree: each panel with its name, sizes and limits, in the order the
// columns are laid out.
#include "app/FormControls.h"

#include "app/ControlFactory.h"
#include "files/FolderControls.h"
#include "files/StringListBox.h"
#include "platform/ContentsListBox.h"
#include "reader/MainRichEdit.h"
#include "reader/ReaderLayout.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QTimer>
#include <QVBoxLayout>

void TFormControls::BuildControls(QMainWindow* window)
{
    auto* central = new QWidget(window);
    central->setObjectName(QStringLiteral("ClientArea"));
    window->setCentralWidget(central);
    MainSplitter = MakeSplitter(Qt::Horizontal, central, "MainSplitter");
    ColumnLayout(central)->addWidget(MainSplitter);
    BuildLeftColumn(window);
    BuildCenterColumn(window);
    BuildRightColumn(window);
    MainSplitter->addWidget(LeftPanel);
    MainSplitter->addWidget(CenterPanel);
    MainSplitter->addWidget(RightPanel);
    MainSplitter->setStretchFactor(1, 1);
    LeftSplitter = NameHandle(MainSplitter, 1, "LeftSplitter");
    RightSplitter = NameHandle(MainSplitter, 2, "RightSplitter");
    MainSplitter->setSizes({110, 300, 98});

    ReadTimer = new QTimer(window);
    ReadTimer->setObjectName(QStringLiteral("ReadTimer"));
    ReadTimer->setTimerType(Qt::PreciseTimer);
    ReadTimer->setInterval(2000);
    ResizeTimer = new QTimer(window);
    ResizeTimer->setObjectName(QStringLiteral("ResizeTimer"));
    ResizeTimer->setInterval(250);
}

void TFormControls::BuildLeftColumn(QWidget* window)
{
    LeftPanel = MakePanel(window, "LeftPanel");
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

    FileNameListBox = new TStringListBox(LeftColumnSplitter);
    FileNameListBox->setObjectName(QStringLiteral("FileNameListBox"));
    LeftColumnSplitter->addWidget(DirectoryPanel);
    LeftColumnSplitter->addWidget(FileNameListBox);
    LeftColumnSplitter->setStretchFactor(1, 1);
    DirectorySplitter = NameHandle(LeftColumnSplitter, 1, "DirectorySplitter");
    LeftColumnSplitter->setSizes({150, 200});

    // Working controls that are never seen.
    FileListBox1 = new TFileListBox(window);
    FileListBox1->setObjectName(QStringLiteral("FileListBox1"));
    OpenDialogListBox = new QListWidget(window);
    OpenDialogListBox->setObjectName(QStringLiteral("OpenDialogListBox"));
    OpenDialogListBox->hide();
    FilePathListBox = new TStringListBox(window);
    FilePathListBox->setObjectName(QStringLiteral("FilePathListBox"));
    FilePathListBox->hide();
    SaveRichEdit = new QPlainTextEdit(window);
    SaveRichEdit->setObjectName(QStringLiteral("SaveRichEdit"));
    SaveRichEdit->hide();
}

void TFormControls::BuildCenterColumn(QWidget* window)
{
    CenterPanel = MakePanel(window, "CenterPanel", false);
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

void TFormControls::BuildRightColumn(QWidget* window)
{
    RightPanel = MakePanel(window, "RightPanel");
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

void TFormControls::BuildSettingPanel()
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

void TFormControls::BuildPopupMenus(QWidget* window, const QHash<QString, QAction*>& actions)
{
    DirectoryPopupMenu = new QMenu(window);
    DirectoryPopupMenu->setObjectName(QStringLiteral("DirectoryPopupMenu"));
    SelectedFolderMenu = DirectoryPopupMenu->addMenu(QStringLiteral("指定フォルダ(&F)"));
    SelectedFolderMenu->setObjectName(QStringLiteral("SelectedFolderMenu"));
    DirectoryPopupMenu->addSeparator();
    DirectoryPopupMenu->addAction(actions.value(QStringLiteral("FileSearchAll")));
    QObject::connect(DirectoryListBox1, &QWidget::customContextMenuRequested, window,
                     [this](QPoint p) {
                         DirectoryPopupMenu->popup(DirectoryListBox1->viewport()->mapToGlobal(p));
                     });

    MainRichEditPopupMenu = new QMenu(window);
    MainRichEditPopupMenu->setObjectName(QStringLiteral("MainRichEditPopupMenu"));
    QMenu* edit = MainRichEditPopupMenu->addMenu(actions.value(QStringLiteral("MenuEdit"))->text());
    for (const char* name : {"TextCut", "TextCopy", "TextPaste", "TextAllSelect"})
        edit->addAction(actions.value(QLatin1String(name)));
    QObject::connect(MainRichEdit, &QWidget::customContextMenuRequested, window, [this](QPoint p) {
        MainRichEditPopupMenu->popup(MainRichEdit->viewport()->mapToGlobal(p));
    });
}
