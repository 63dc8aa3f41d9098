#pragma once

#include "app/FormState.h"
#include "app/Settings.h"
#include "reader/FormAllColors.h"

#include <QHash>
#include <QMainWindow>

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
class TMainRichEdit;

// The main window. It owns the controls, the actions and the state, and wires them; each
// handler forwards to the component that does the work.
class TQuorvelaneForm : public QMainWindow
{
    Q_OBJECT

public:
    // Runs FormCreate. The settings file is SettingsFolder + "Quorvelane.ini", where
    // SettingsFolder is the process's current folder.
    explicit TQuorvelaneForm(QWidget* parent = nullptr);
    ~TQuorvelaneForm() override;

    void FormCreate();
    void FormShow();
    bool FormCloseQuery();
    void FormClose();
    void AppExitExecute();
    void ReflectFormAllExecute();
    void SetBackColorExecute();
    void ApplyFormAllColors(TColorSender Sender);

    QAction* Action(const QString& name) const { return Actions.value(name); }
    QString SettingsFileName() const;
    const TFormState& FormState() const { return Form; }
    const TFileState& FileState() const { return Files; }
    const TReaderAppearance& Reader() const { return ReaderState; }
    const TSearchFields& SearchFields() const { return Search; }
    // The settings as the write pass would store them now.
    TSettingsData CollectSettings() const;

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
    QListWidget* ContentsListBox = nullptr;
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
    QList<QLabel*> ReaderLabels;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    void BuildLeftColumn();
    void BuildCenterColumn();
    void BuildRightColumn();
    void BuildSettingPanel();
    void BuildActions();
    void BuildMenus();
    void RunGuarded(void (TQuorvelaneForm::*handler)());
    void PlaceReaderScrollBar();

    bool CreateZeroLabel();
    void ReadSettingsFile();
    void ApplySettings(const TSettingsData& data);
    void ApplyBounds(const TSettingsData& data);
    void ApplyTextFont();
    void ApplyFileFilter();
    void BuildSelectedFolderMenu(const QString& folders);
    void SelectFirstWhenNone(QComboBox* box);
    void SetReaderBackColor(qint32 color);
    TColorTargets ColorTargets() const;
    void WriteSettingsFile();

    TFormState Form;
    TFileState Files;
    TReaderAppearance ReaderState;
    TSearchFields Search;
    TSettingsData ReadValues;
    QRect StartBounds;
    int ReaderBackColor = int(0x8000000Fu);
    bool Shown = false;
    bool Closed = false;
    QHash<QString, QAction*> Actions;
};
