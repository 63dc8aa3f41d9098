#pragma once

#include "app/FormState.h"
#include "app/Settings.h"
#include "dialogs/DialogService.h"
#include "files/FileState.h"
#include "platform/ContentsListBox.h"
#include "reader/FormAllColors.h"
#include "reader/SlideEngine.h"
#include "search/SearchFlow.h"

#include <QHash>
#include <QMainWindow>
#include <functional>
#include <memory>

class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QScrollBar;
class QSplitter;
class QSplitterHandle;
class QTimer;
class TDirectoryListBox;
class TDriveComboBox;
class TFileListBox;
class TFormReaderPort;
class TFormSearchPort;
class TMainRichEdit;
class TReaderView;
class TTextLoader;

// The main window. It owns the controls, the actions and the state, and wires them; each
// handler forwards to the component that does the work.
class TQuorvelaneForm : public QMainWindow
{
    Q_OBJECT

public:
    // Runs FormCreate. The settings file is SettingsFolder + "Quorvelane.ini", where
    // SettingsFolder is the process's current folder, or settingsFolder when one is given (a
    // start from the desktop menu keeps its settings in the configuration folder).
    explicit TQuorvelaneForm(QWidget* parent = nullptr, const QString& settingsFolder = {});
    ~TQuorvelaneForm() override;

    // Start-up and shutdown.
    void FormCreate();
    void FormShow();
    bool FormCloseQuery();
    void FormClose();
    void AppExitExecute();

    // Layout and the deferred relayout.
    void FormResize();
    void ResizeTimerTimer();
    void RelayoutReader();
    void LeftSplitterCanResize(int& NewSize);
    void RightSplitterCanResize(int& NewSize);
    void FoldOrOpenLeftPanel();
    void FoldOrOpenRightPanel();

    // The file list.
    void FileListBox1Change(QObject* Sender);
    void ApplyFileFilter();
    void SetAnyFilterExecute();
    void BuildSelectedFolderMenu(const QString& Folders);
    void SelectedFolderClick(QObject* Sender);

    // Loading and moving through the files.
    void FileNameListBoxClick();
    void MainRichEditChange();
    void FileNextExecute();
    void FileBackExecute();

    // The reader's labels and appearance.
    void RebuildReader();
    void SetFontExecute();
    void FontSizeComboBoxChange();
    void LabelSpaceComboBoxChange();
    void LabelStepComboBoxChange();
    void SetBackColorExecute();
    void ReflectFormAllExecute();
    void ApplyFormAllColors(TColorSender Sender);

    // The slide engine.
    void ReadTimerTimer();
    void ShowReadingLines();
    void SlideReadExecute();
    void CanChangeSlideReadExecute();
    void SlideRepeatExecute();
    void ListSlideReadExecute();
    void SetCanChangeSlideReadExecute();
    void PageBackExecute();
    void PageNextExecute();
    void ReadTimerComboBoxChange();
    void ReadingLineScrollBarScroll(int ScrollPos);

    // The searches and the contents list.
    void FindLineStringExecute(TSearchAction Action);
    void FindResearchExecute();
    void ContentsListBoxClick();
    void SetContentsLineForwardExecute();

    QAction* Action(const QString& name) const { return Actions.value(name); }
    QString SettingsFileName() const;
    const TFormState& FormState() const { return Form; }
    const TFileState& FileState() const { return Files; }
    const TSlideState& SlideState() const { return Slide; }
    const TSearchState& SearchState() const { return Search; }
    const TFontSpec& TextFont() const { return TextFontSpec; }
    int LabelCount() const;
    int LabelSpacing() const;
    // The text view's lines as displayed.
    int LineCount() const;
    QString Line(int i) const;
    // The settings as the write pass would store them now.
    TSettingsData CollectSettings() const;
    // How many relayouts the resize timer has made, for tests and benchmarks.
    int RelayoutCount() const { return Relayouts; }

    // Controls, named as their objectName.
    QFrame* LeftPanel = nullptr;
    QFrame* DirectoryPanel = nullptr;
    QFrame* DrivePanel = nullptr;
    TDriveComboBox* DriveComboBox1 = nullptr;
    TDirectoryListBox* DirectoryListBox1 = nullptr;
    QPushButton* SearchingButton = nullptr;
    QListWidget* FileNameListBox = nullptr;
    TFileListBox* FileListBox1 = nullptr;
    QListWidget* OpenDialogListBox = nullptr;
    QListWidget* FilePathListBox = nullptr;
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
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class TFormReaderPort;
    friend class TFormSearchPort;

    void BuildControls();
    void BuildLeftColumn();
    void BuildCenterColumn();
    void BuildRightColumn();
    void BuildSettingPanel();
    void BuildActions();
    void BuildMenus();
    void BuildComponents();
    void ConnectControls();
    void RunGuarded(const std::function<void(TQuorvelaneForm&)>& handler);
    void PlaceReaderScrollBar();
    bool ReaderMouseEvent(QEvent* event);

    bool CreateZeroLabel();
    void ReadSettingsFile();
    void ApplySettings(const TSettingsData& data);
    void ApplyBounds(const TSettingsData& data);
    void ApplyTextFont();
    void SelectFirstWhenNone(QComboBox* box);
    void SetReaderBackColor(qint32 color);
    TColorTargets ColorTargets() const;
    void WriteSettingsFile();
    void SyncReadingChecks();
    void EmptyContentsAfterRelayout();
    void SetTextViewFontSize(int size);

    TFormState Form;
    TFileState Files;
    TSlideState Slide;
    TSearchState Search;
    TFontSpec TextFontSpec{QStringLiteral("ＭＳ Ｐゴシック"), 10};
    TSettingsData ReadValues;
    QString SettingsFolderGiven;
    int ReaderBackColor = int(0x8000000Fu);
    bool Shown = false;
    bool Closed = false;
    int Relayouts = 0;
    QHash<QString, QAction*> Actions;
    std::unique_ptr<TReaderView> ReaderView;
    std::unique_ptr<TFormReaderPort> ReaderPort;
    std::unique_ptr<TSlideEngine> Engine;
    std::unique_ptr<TFormSearchPort> SearchPort;
    std::unique_ptr<TSearchFlow> SearchFlow;
    std::unique_ptr<TTextLoader> Loader;
};
