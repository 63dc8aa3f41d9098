#include "files/FileList.h"

#include "common/AppConstants.h"
#include "files/FileFilters.h"
#include "files/FileState.h"
#include "files/FolderControls.h"
#include "files/StringListBox.h"
#include "platform/AppUtils.h"

#include <QAction>
#include <QMenu>

TFileList::TFileList(const TFileListControls& controls, TFileState& files,
                     std::function<void()> loadSelected,
                     std::function<void(QObject*)> folderClicked)
    : Controls(controls), Files(files), LoadSelected(std::move(loadSelected)),
      FolderClicked(std::move(folderClicked))
{
    LinkFolderControls(Controls.DriveComboBox1, Controls.DirectoryListBox1, Controls.FileListBox1);
}

void TFileList::StartIn(const QString& folder)
{
    Controls.FileListBox1->SetMask(QStringLiteral("*.txt"));
    Controls.DirectoryListBox1->SetDirectory(folder);
    Files.Folder = Controls.DirectoryListBox1->Directory();
}

void TFileList::ApplySaved()
{
    Controls.DirectoryListBox1->SetDirectory(Files.Folder);
    CaptureFolder();
    ApplyFileFilter();
    BuildSelectedFolderMenu(Files.SelectedFolders.join(u';'));
}

void TFileList::CaptureFolder()
{
    Files.Folder = Controls.DirectoryListBox1->Directory();
}

void TFileList::FileListBox1Change(QObject* Sender)
{
    TFileListBox* listing = Controls.FileListBox1;
    if (Sender != listing)
        return;
    const TFileListFill fill = FillFileLists(listing->Items(), listing->Paths(),
                                             Files.FileListRestored, Files.CurrentFileName);
    Controls.FilePathListBox->setTexts(fill.FilePathListBox);
    Controls.FileNameListBox->setTexts(fill.FileNameListBox);
    if (fill.Selected >= 0)
        Controls.FileNameListBox->setCurrentRow(fill.Selected);
    LoadSelected();
}

void TFileList::ApplyFileFilter()
{
    Controls.FileListBox1->SetMask(FileListMask(Files.AnyFilter, Files.NowFilter));
}

void TFileList::SetAnyFilterExecute()
{
    // The check mark has switched the flag already.
    ApplyFileFilter();
}

void TFileList::BuildSelectedFolderMenu(const QString& Folders)
{
    QMenu* menu = Controls.SelectedFolderMenu;
    menu->clear();
    const TSelectedFolderList list = SelectedFolderList(Folders);
    Files.SelectedFolders = list.SelectedFolders;
    for (const TSelectedFolderItem& entry : list.Items) {
        QAction* item = menu->addAction(entry.Caption);
        item->setData(entry.Tag);
        QObject::connect(item, &QAction::triggered, menu, [this, item] { FolderClicked(item); });
    }
}

void TFileList::SelectedFolderClick(QObject* Sender)
{
    const auto* item = qobject_cast<QAction*>(Sender);
    if (!item) {
        AppMessageBox(QStringLiteral("フォルダ設定エラー(例外2)。"), ErrorCaption(), 0);
        return;
    }
    const int tag = item->data().toInt();
    if (tag < 0 || tag >= Files.SelectedFolders.size() ||
        !Controls.DirectoryListBox1->SetDirectory(Files.SelectedFolders.at(tag)))
        AppMessageBox(QStringLiteral("フォルダ設定エラー(例外1)。"), ErrorCaption(), 0);
}
