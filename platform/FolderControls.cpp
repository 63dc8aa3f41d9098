#include "platform/FolderControls.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

TDriveComboBox::TDriveComboBox(QWidget* parent) : QComboBox(parent)
{
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes())
        if (volume.isValid() && volume.isReady())
            addItem(volume.rootPath());
    connect(this, &QComboBox::activated, this, [this](int i) { emit DriveChosen(itemText(i)); });
}

void TDriveComboBox::SetDrive(const QString& root)
{
    const int i = findText(root);
    if (i >= 0)
        setCurrentIndex(i);
}

QString TDriveComboBox::Drive() const
{
    return currentText();
}

TDirectoryListBox::TDirectoryListBox(QWidget* parent) : QListWidget(parent)
{
    connect(this, &QListWidget::itemActivated, this, &TDirectoryListBox::OpenEntry);
}

bool TDirectoryListBox::SetDirectory(const QString& folder)
{
    const QFileInfo info(folder);
    if (folder.isEmpty() || !info.isDir() || !info.isReadable())
        return false;
    const QString path = QDir::cleanPath(info.absoluteFilePath());
    if (path == Folder)
        return true;
    Folder = path;
    Refill();
    emit DirectoryChanged(Folder);
    return true;
}

void TDirectoryListBox::Refill()
{
    clear();
    EntryPaths.clear();
    QStringList chain;
    for (QDir dir(Folder);; dir.cdUp()) {
        chain.prepend(dir.absolutePath());
        if (dir.isRoot())
            break;
    }
    int depth = 0;
    for (const QString& path : chain) {
        const QString name = QDir(path).isRoot() ? path : QFileInfo(path).fileName();
        addItem(QString(depth * 2, u' ') + name);
        EntryPaths << path;
        ++depth;
    }
    setCurrentRow(int(chain.size()) - 1);
    const QDir open(Folder);
    for (const QString& sub : open.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        addItem(QString(depth * 2, u' ') + sub);
        EntryPaths << open.filePath(sub);
    }
}

void TDirectoryListBox::OpenEntry(QListWidgetItem* item)
{
    const int i = row(item);
    if (i < 0 || i >= EntryPaths.size())
        return;
    const QString path = EntryPaths.at(i);
    if (SetDirectory(path))
        QDir::setCurrent(path);
}

void TFileListBox::SetMask(const QString& mask)
{
    FileMask = mask;
    Refresh();
}

void TFileListBox::SetDirectory(const QString& folder)
{
    Folder = folder;
    Refresh();
}

void TFileListBox::Refresh()
{
    Names.clear();
    FullPaths.clear();
    if (!Folder.isEmpty()) {
        QDir dir(Folder);
        const QStringList masks = FileMask.split(u';', Qt::SkipEmptyParts);
        for (const QString& name :
             dir.entryList(masks, QDir::Files, QDir::Name | QDir::IgnoreCase)) {
            Names << name;
            FullPaths << dir.filePath(name);
        }
    }
    emit Changed();
}
