// The file list: the hidden listing copied into the two visible lists, the filter, the
// selected-folder menu, and loading the selected file.
#include "app/QuorvelaneMain.h"

#include "common/AppConstants.h"
#include "common/AppUtils.h"
#include "files/FileDropTarget.h"
#include "files/FileFilters.h"
#include "files/FileSearchAll.h"
#include "files/TextLoader.h"
#include "platform/FolderControls.h"

#include <QAction>
#include <QListWidget>
#include <QMenu>

void TQuorvelaneForm::FileListBox1Change(QObject* Sender)
{
    if (Form.DropInProgress || Form.FormInactive || Sender != FileListBox1)
        return;
    const TFileListFill fill = FillFileLists(FileListBox1->Items(), FileListBox1->Paths(),
                                             Files.FileListRestored, Files.CurrentFileName);
    FilePathListBox->clear();
    FileNameListBox->clear();
    FilePathListBox->addItems(fill.FilePathListBox);
    FileNameListBox->addItems(fill.FileNameListBox);
    if (fill.Selected >= 0)
        FileNameListBox->setCurrentRow(fill.Selected);
    FileNameListBoxClick();
}

void TQuorvelaneForm::ApplyFileFilter()
{
    const bool all = Action(QStringLiteral("SetAnyFilter"))->isChecked();
    FileListBox1->SetMask(FileListMask(all, Files.NowFilter));
}

void TQuorvelaneForm::SetAnyFilterExecute()
{
    // The action has toggled its own check already.
    ApplyFileFilter();
}

void TQuorvelaneForm::BuildSelectedFolderMenu(const QString& Folders)
{
    SelectedFolderMenu->clear();
    const TSelectedFolderList list = SelectedFolderList(Folders);
    Files.SelectedFolders = list.SelectedFolders;
    for (const TSelectedFolderItem& entry : list.Items) {
        QAction* item = SelectedFolderMenu->addAction(entry.Caption);
        item->setData(entry.Tag);
        connect(item, &QAction::triggered, this, [this, item] { SelectedFolderClick(item); });
    }
}

void TQuorvelaneForm::SelectedFolderClick(QObject* Sender)
{
    const auto* item = qobject_cast<QAction*>(Sender);
    if (!item) {
        AppMessageBox(QStringLiteral("フォルダ設定エラー(例外2)。"), ErrorCaption(), 0);
        return;
    }
    const int tag = item->data().toInt();
    if (tag < 0 || tag >= Files.SelectedFolders.size() ||
        !DirectoryListBox1->SetDirectory(Files.SelectedFolders.at(tag)))
        AppMessageBox(QStringLiteral("フォルダ設定エラー(例外1)。"), ErrorCaption(), 0);
}

void TQuorvelaneForm::FileNameListBoxClick() { Loader->FileNameListBoxClick(); }
void TQuorvelaneForm::MainRichEditChange() { Loader->MainRichEditChange(); }
void TQuorvelaneForm::FileNextExecute() { Loader->FileNextExecute(); }
void TQuorvelaneForm::FileBackExecute() { Loader->FileBackExecute(); }

void TQuorvelaneForm::DropFiles(const QStringList& Names)
{
    DropTarget->FileDrops().DropFiles(Names);
}
void TQuorvelaneForm::AddDroppedFiles(const QStringList& Files)
{
    DropTarget->FileDrops().AddDroppedFiles(Files);
}
void TQuorvelaneForm::dragEnterEvent(QDragEnterEvent* event)
{
    TFileDropTarget::DragEnter(event);
}
void TQuorvelaneForm::dropEvent(QDropEvent* event)
{
    DropFiles(TFileDropTarget::TakeDrop(event));
}

void TQuorvelaneForm::FileSearchAllExecute()
{
    SearchAll->FileSearchAllExecute();
}
void TQuorvelaneForm::SearchingButtonClick()
{
    SearchAll->SearchingButtonClick();
}
