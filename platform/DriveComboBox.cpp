#include "platform/Drives.h"
#include "platform/FolderControls.h"

TDriveComboBox::TDriveComboBox(QWidget* parent) : QComboBox(parent)
{
    Refresh();
    connect(this, &QComboBox::activated, this,
            [this](int index) { emit DriveChanged(itemData(index).toString()); });
}

void TDriveComboBox::Refresh()
{
    const QString selected = Drive();
    const QStringList roots = DriveRoots(MountedVolumes(), ListedFolderExists);
    const QSignalBlocker blocker(this);
    clear();
    for (const QString& root : roots)
        addItem(root, root);
    const int kept = findData(selected);
    setCurrentIndex(kept >= 0 ? kept : 0);
}

QStringList TDriveComboBox::Drives() const
{
    QStringList roots;
    for (int i = 0; i < count(); ++i)
        roots.append(itemData(i).toString());
    return roots;
}

QString TDriveComboBox::Drive() const
{
    return currentData().toString();
}

bool TDriveComboBox::SelectDriveOf(const QString& path)
{
    const int index = findData(DriveOf(Drives(), path));
    if (index < 0)
        return false;
    const QSignalBlocker blocker(this);
    setCurrentIndex(index);
    return true;
}

void LinkFolderControls(TDriveComboBox* drives, TDirectoryListBox* folders, TFileListBox* files)
{
    QObject::connect(drives, &TDriveComboBox::DriveChanged, folders,
                     [drives, folders](const QString& root) {
                         if (!folders->SetDirectory(root))
                             drives->SelectDriveOf(folders->Directory());
                     });
    QObject::connect(folders, &TDirectoryListBox::DirectoryChanged, files,
                     [drives, files](const QString& path) {
                         files->SetDirectory(path);
                         drives->SelectDriveOf(path);
                     });
}
