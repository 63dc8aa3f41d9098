#pragma once

#include "app/Settings.h"
#include "app/WindowLayout.h"
#include "dialogs/BaseSettings.h"
#include "files/FileDropTarget.h"
#include "files/FileList.h"
#include "files/FileSearchAll.h"
#include "files/TextLoader.h"
#include "platform/ContentsListBox.h"
#include "reader/ReaderStatus.h"
#include "reader/ReaderView.h"
#include "reader/ReadingPlaces.h"

#include <QComboBox>
#include <QHash>
#include <QMainWindow>
#include <functional>
#include <memory>
#include <optional>

class QAction;
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
class TEditCommands;
class THelpCommand;
class TTextSaver;
class TTextViewSavePort;
class TFileListBox;
class TFormAppearancePort;
class TFormEvents;
class TFormLayoutPort;
class TFormLoaderPort;
class TFormSettingPort;

class TFormReaderPort;
class TFormSearchPort;
class TMainRichEdit;
class TReaderFullScreen;
class TReaderStatusStrip;

// The main window. It builds the controls and the actions, owns the state and the components,
// and wires them; each handler forwards to the component of its subsystem.
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
    void AppExitExecute() { close(); }

    // Layout and the deferred relayout.
    void FormResize() { Layout->FormResize(); }
    void ResizeTimerTimer() { Layout->ResizeTimerTimer(); }
    void RelayoutReader() { Layout->RelayoutReader(); }
    void LeftSplitterCanResize(int& NewSize) { Layout->LeftSplitterCanResize(NewSize); }
    void RightSplitterCanResize(int& NewSize) { Layout->RightSplitterCanResize(NewSize); }
    void FoldOrOpenLeftPanel() { Layout->FoldOrOpenLeftPanel(); }
    void FoldOrOpenRightPanel() { Layout->FoldOrOpenRightPanel(); }

    // The file list.
    void FileListBox1Change(QObject* Sender);
    void ApplyFileFilter() { FileList->ApplyFileFilter(); }
    void SetAnyFilterExecute() { FileList->SetAnyFilterExecute(); }
    void BuildSelectedFolderMenu(const QString& Folders)
    {
        FileList->BuildSelectedFolderMenu(Folders);
    }
    void SelectedFolderClick(QObject* Sender) { FileList->SelectedFolderClick(Sender); }
    void SetBaseExecute() { BaseSettings->SetBaseExecute(); }

    // Loading and moving through the files.
    void FileNameListBoxClick() { Loader->FileNameListBoxClick(); }
    void MainRichEditChange() { Loader->MainRichEditChange(); }
    void FileNextExecute() { Loader->FileNextExecute(); }
    void FileBackExecute() { Loader->FileBackExecute(); }
    // The encoding menu: reads the file again in another encoding (none: the one detected).
    void SetEncodingExecute(std::optional<TSourceEncoding> Encoding)
    {
        Loader->ChooseEncoding(Encoding);
    }
    // Aozora Bunko notation: formatting on or off, the way ruby is shown, the heading search.
    void AozoraFormatExecute() { Loader->SetAozoraFormatting(State.Formats.AozoraFormat); }
    void SetRubyStyleExecute(TRubyStyle Style);
    void FindHeadingsExecute();

    // Dropped files and folders; DropFiles is also the road for local paths handed over at
    // start-up.
    void DropFiles(const QStringList& Names) { DropTarget->FileDrops().DropFiles(Names); }
    void AddDroppedFiles(const QStringList& Files)
    {
        DropTarget->FileDrops().AddDroppedFiles(Files);
    }

    // The search over the open folder's tree.
    void FileSearchAllExecute() { SearchAll->FileSearchAllExecute(); }
    void SearchingButtonClick() { SearchAll->SearchingButtonClick(); }
    TFileSearchAll& FileSearchAll() const { return *SearchAll; }

    // The reader's labels and appearance.
    void RebuildReader();
    void SetFontExecute() { Appearance->SetFontExecute(); }
    void FontSizeComboBoxChange()
    {
        Appearance->FontSizeComboBoxChange(FontSizeComboBox->currentIndex());
    }
    void LabelSpaceComboBoxChange()
    {
        Appearance->LabelSpaceComboBoxChange(LabelSpaceComboBox->currentIndex());
    }
    void LabelStepComboBoxChange()
    {
        Appearance->LabelStepComboBoxChange(LabelStepComboBox->currentIndex());
    }
    void SetBackColorExecute() { Appearance->SetBackColorExecute(); }
    void ReflectFormAllExecute() { Appearance->ReflectFormAllExecute(); }
    void ApplyFormAllColors(TColorSender Sender) { Appearance->ApplyFormAllColors(Sender); }

    // The slide engine.
    void ReadTimerTimer() { Engine->ReadTimerTimer(); }
    void ShowReadingLines() { Engine->ShowReadingLines(); }
    void SlideReadExecute() { Engine->SlideReadExecute(); }
    void CanChangeSlideReadExecute() { Engine->CanChangeSlideReadExecute(); }
    void SlideRepeatExecute() { Engine->SlideRepeatExecute(); }
    void ListSlideReadExecute() { Engine->ListSlideReadExecute(); }
    void SetCanChangeSlideReadExecute() { Engine->SetCanChangeSlideReadExecute(); }
    void PageBackExecute() { Engine->PageBackExecute(); }
    void PageNextExecute() { Engine->PageNextExecute(); }
    void ReadTimerComboBoxChange()
    {
        Appearance->ReadTimerComboBoxChange(ReadTimerComboBox->currentIndex());
    }
    void ReadingLineScrollBarScroll(int ScrollPos)
    {
        Engine->ReadingLineScrollBarScroll(ScrollPos);
    }
    void ShowStatusStripExecute();
    void KeepPlacesExecute() { RememberPlace(); }
    void TextPausesExecute() { Engine->TextPausesExecute(); }
    void FullScreenReaderExecute();
    // 位置を記憶: the place of the file in view noted, and the noted place of a file just
    // loaded put at the top of the reader.
    void RememberPlace();
    void RestorePlace();
    // The positions file, beside the settings file.
    QString PlacesFileName() const;

    // The searches and the contents list.
    void FindLineStringExecute(TSearchAction Action) { SearchFlow->FindLineStringExecute(Action); }
    void FindResearchExecute() { SearchFlow->FindResearchExecute(); }
    void ContentsListBoxClick() { SearchFlow->ContentsListBoxClick(); }
    void SetContentsLineForwardExecute() { SearchFlow->SetContentsLineForwardExecute(); }

    // Saving the text, the edit commands, help and version.
    bool Set_SaveFilter(QString& FilterList);
    void FileSaveExecute();
    void MenuEditExecute();
    void TextCutExecute();
    void TextCopyExecute();
    void TextPasteExecute();
    void TextAllSelectExecute();
    void AppHelpExecute();
    void AppVersionExecute();

    QAction* Action(const QString& name) const { return Actions.value(name); }
    QString SettingsFileName() const;
    const TFormState& FormState() const { return State.Form; }
    const TFileState& FileState() const { return State.Files; }
    const TSlideState& SlideState() const { return State.Slide; }
    const TSearchState& SearchState() const { return State.Search; }
    const TReaderLook& ReaderLook() const { return State.Look; }
    const TFontSpec& TextFont() const { return State.Look.TextFont; }
    int LabelCount() const { return ReaderView ? ReaderView->LabelCount() : 0; }
    int LabelSpacing() const { return ReaderView ? ReaderView->LabelSpacing() : 0; }
    // The text view's lines as displayed.
    int LineCount() const { return ReaderView->count(); }
    QString Line(int i) const { return ReaderView->line(i); }
    // The settings as the write pass would store them now, in key order.
    QVariantList CollectSettings();
    // How many relayouts the resize timer has made, for tests and benchmarks.
    int RelayoutCount() const { return State.Form.Relayouts; }

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
    void dragEnterEvent(QDragEnterEvent* event) override { TFileDropTarget::DragEnter(event); }
    void dropEvent(QDropEvent* event) override { DropFiles(TFileDropTarget::TakeDrop(event)); }

private:
    friend class TFormAppearancePort;
    friend class TFormLayoutPort;
    friend class TFormLoaderPort;
    friend class TFormReaderPort;
    friend class TFormSearchPort;
    friend class TFormSettingPort;

    void BuildControls();
    void BuildLeftColumn();
    void BuildCenterColumn();
    void BuildRightColumn();
    void BuildSettingPanel();
    void BuildActions();
    void BuildMenus();
    void BuildComponents();
    void ConnectControls();
    void MirrorChecks();
    void MirrorRubyChecks();
    void RunGuarded(const std::function<void(TQuorvelaneForm&)>& handler);

    bool CreateZeroLabel();
    void ReadSettingsFile();
    void CaptureSettings();
    void WriteSettingsFile();
    void SyncReadingChecks();
    TReaderStatusFacts ReaderStatusFacts() const;

    TAppState State;
    QString SettingsFolderGiven;
    bool Shown = false;
    bool Closed = false;
    QHash<QString, QAction*> Actions;
    std::unique_ptr<TReaderView> ReaderView;
    std::unique_ptr<TFormReaderPort> ReaderPort;
    std::unique_ptr<TSlideEngine> Engine;
    std::unique_ptr<TReaderStatusStrip> StatusStrip;
    TReadingPlaces Places;
    std::unique_ptr<TReaderFullScreen> FullScreen;
    std::unique_ptr<TFormSearchPort> SearchPort;
    std::unique_ptr<TSearchFlow> SearchFlow;
    std::unique_ptr<TFormAppearancePort> AppearancePort;
    std::unique_ptr<TReaderAppearance> Appearance;
    std::unique_ptr<TFormLayoutPort> LayoutPort;
    std::unique_ptr<TWindowLayout> Layout;
    std::unique_ptr<TFormLoaderPort> LoaderPort;
    std::unique_ptr<TTextLoader> Loader;
    std::unique_ptr<TFileList> FileList;
    std::unique_ptr<TFormSettingPort> SettingPort;
    std::unique_ptr<TBaseSettings> BaseSettings;
    std::unique_ptr<TTextViewSavePort> SavePort;
    std::unique_ptr<TTextSaver> Saver;
    std::unique_ptr<TEditCommands> EditCommands;
    std::unique_ptr<THelpCommand> Help;
    std::unique_ptr<TFileDropTarget> DropTarget;
    std::unique_ptr<TFileSearchAll> SearchAll;
    // Destroyed first: no event reaches a component that is gone.
    std::unique_ptr<TFormEvents> Events;
};
