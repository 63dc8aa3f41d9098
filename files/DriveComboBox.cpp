#include "files/FolderControls.h"
#include "platform/Drives.h"

#include <QDir>

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
    // An entry that no longer opens was removed or locked after it was shown: the open folder
    // is read again so that the list shows what is there now, and when the open folder itself
    // is gone, the nearest folder above it that still opens is shown instead.
    QObject::connect(folders, &TDirectoryListBox::OpenFailed, folders, [folders](const QString&) {
        QString folder = folders->Directory();
        while (!folder.isEmpty() && !folders->SetDirectory(folder)) {
            const QString parent = QDir::cleanPath(folder + QStringLiteral("/.."));
            if (parent == folder)
                break;
            folder = parent;
        }
    });
    QObject::connect(folders, &TDirectoryListBox::DirectoryChanged, files,
                     [drives, files](const QString& path) {
                         files->SetDirectory(path);
                         drives->SelectDriveOf(path);
                     });
}
