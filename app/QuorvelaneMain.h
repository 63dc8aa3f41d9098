#pragma once

#include "app/FormControls.h"
#include "app/Settings.h"
#include "app/WindowLayout.h"
#include "dialogs/BaseSettings.h"
#include "dialogs/EditCommands.h"
#include "dialogs/FileDialogs.h"
#include "dialogs/HelpWindow.h"
#include "dialogs/TextSaver.h"
#include "files/FileDropTarget.h"
#include "files/FileList.h"
#include "files/FileSearchAll.h"
#include "files/TextLoader.h"
#include "platform/ContentsListBox.h"
#include "reader/PlaceKeeper.h"
#include "reader/ReaderStatus.h"
#include "reader/ReaderView.h"

#include <QComboBox>
#include <QHash>
#include <QMainWindow>
#include <functional>
#include <memory>
#include <optional>

class QAction;
class TTextViewSavePort;
class TFormAppearancePort;
class TFormEvents;
class TFormLayoutPort;
class TFormLoaderPort;
class TFormSettingPort;
class TFormReaderPort;
class TFormSearchPort;
class TModeChecks;
class TReaderFullScreen;
class TReaderStatusStrip;

// The main window. It builds the controls and the actions, owns the state and the components,
// and wires them; each handler forwards to the component of its subsystem.
class TQuorvelaneForm : public QMainWindow, public TFormControls
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
    void KeepPlacesExecute() { Keeper->RememberPlace(); }
    void TextPausesExecute() { Engine->TextPausesExecute(); }
    void FullScreenReaderExecute();
    // 位置を記憶: the positions file, beside the settings file.
    QString PlacesFileName() const
    {
        return State.Form.SettingsFolder + QStringLiteral("Quorvelane.places");
    }

    // The searches and the contents list.
    void FindLineStringExecute(TSearchAction Action) { SearchFlow->FindLineStringExecute(Action); }
    void FindResearchExecute() { SearchFlow->FindResearchExecute(); }
    void ContentsListBoxClick() { SearchFlow->ContentsListBoxClick(); }
    void SetContentsLineForwardExecute() { SearchFlow->SetContentsLineForwardExecute(); }

    // Saving the text, the edit commands, help and version.
    bool Set_SaveFilter(QString& FilterList) { return SetSaveFilterReporting(FilterList); }
    void FileSaveExecute() { Saver->FileSaveExecute(); }
    void MenuEditExecute() { EditCommands->MenuEditExecute(); }
    void TextCutExecute() { EditCommands->TextCutExecute(); }
    void TextCopyExecute() { EditCommands->TextCopyExecute(); }
    void TextPasteExecute() { EditCommands->TextPasteExecute(); }
    void TextAllSelectExecute() { EditCommands->TextAllSelectExecute(); }
    void AppHelpExecute() { Help->AppHelpExecute(); }
    void AppVersionExecute() { ::AppVersionExecute(); }

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

    void BuildComponents();
    void ConnectControls();
    void RunGuarded(const std::function<void(TQuorvelaneForm&)>& handler);

    bool CreateZeroLabel();
    void CaptureSettings();

    TAppState State;
    QString SettingsFolderGiven;
    bool Shown = false;
    bool Closed = false;
    QHash<QString, QAction*> Actions;
    std::unique_ptr<TModeChecks> Checks;
    std::unique_ptr<TReaderView> ReaderView;
    std::unique_ptr<TFormReaderPort> ReaderPort;
    std::unique_ptr<TSlideEngine> Engine;
    std::unique_ptr<TReaderStatusStrip> StatusStrip;
    std::unique_ptr<TPlaceKeeper> Keeper;
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
