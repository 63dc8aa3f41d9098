#pragma once

#include <QHash>
#include <QString>

class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QListWidget;
class QMainWindow;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QScrollBar;
class QSplitter;
class QSplitterHandle;
class QTimer;
class QWidget;
class TContentsListBox;
class TDirectoryListBox;
class TDriveComboBox;
class TFileListBox;
class TMainRichEdit;
class TStringListBox;

// The main window's controls, named as their objectName, and the building of the panel tree:
// the three columns with their sizes and limits, the settings lists, the timers and the pop-up
// menus. The window owns them all through the toolkit's parent links.
class TFormControls
{
public:
    QFrame* LeftPanel = nullptr;
    QFrame* DirectoryPanel = nullptr;
    QFrame* DrivePanel = nullptr;
    TDriveComboBox* DriveComboBox1 = nullptr;
    TDirectoryListBox* DirectoryListBox1 = nullptr;
    QPushButton* SearchingButton = nullptr;
    TStringListBox* FileNameListBox = nullptr;
    TFileListBox* FileListBox1 = nullptr;
    QListWidget* OpenDialogListBox = nullptr;
    TStringListBox* FilePathListBox = nullptr;
    QPlainTextEdit* SaveRichEdit = nullptr;
    QFrame* CenterPanel = nullptr;
    QFrame* TextPanel = nullptr;
    TMainRichEdit* MainRichEdit = nullptr;
    QFrame* ReaderPanel = nullptr;
    QScrollBar* ReadingLineScrollBar = nullptr;
    QFrame* RightPanel = nullptr;
    QFrame* SettingPanel = nullptr;
    QLabel* SlideTimeLabel = nullptr;
    QComboBox* ReadTimerComboBox = nullptr;
    QLabel* LabelStepLabel = nullptr;
    QComboBox* LabelStepComboBox = nullptr;
    QLabel* FontSizeLabel = nullptr;
    QComboBox* FontSizeComboBox = nullptr;
    QLabel* LabelSpaceLabel = nullptr;
    QComboBox* LabelSpaceComboBox = nullptr;
    QFrame* ContentsPanel = nullptr;
    TContentsListBox* ContentsListBox = nullptr;
    QPushButton* FindResearchButton = nullptr;
    QSplitter* MainSplitter = nullptr;
    QSplitter* LeftColumnSplitter = nullptr;
    QSplitter* CenterSplitter = nullptr;
    QSplitter* RightColumnSplitter = nullptr;
    QSplitterHandle* LeftSplitter = nullptr;
    QSplitterHandle* RightSplitter = nullptr;
    QSplitterHandle* DirectorySplitter = nullptr;
    QSplitterHandle* TextSplitter = nullptr;
    QSplitterHandle* SettingSplitter = nullptr;
    QMenu* DirectoryPopupMenu = nullptr;
    QMenu* SelectedFolderMenu = nullptr;
    QMenu* MainRichEditPopupMenu = nullptr;
    QTimer* ReadTimer = nullptr;
    QTimer* ResizeTimer = nullptr;

protected:
    // The panel tree inside window, and the two timers.
    void BuildControls(QMainWindow* window);
    // The folder list's and the text view's pop-up menus, over the window's actions.
    void BuildPopupMenus(QWidget* window, const QHash<QString, QAction*>& actions);

private:
    void BuildLeftColumn(QWidget* window);
    void BuildCenterColumn(QWidget* window);
    void BuildRightColumn(QWidget* window);
    void BuildSettingPanel();
};
