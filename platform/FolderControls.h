#pragma once

#include <QComboBox>
#include <QListWidget>
#include <QObject>
#include <QStringList>

// The drive list: the mounted file systems stand for drives.
class TDriveComboBox : public QComboBox
{
    Q_OBJECT

public:
    explicit TDriveComboBox(QWidget* parent = nullptr);
    void SetDrive(const QString& root);
    QString Drive() const;

signals:
    void DriveChosen(const QString& root);
};

// The folder list: the chain of folders from the root down to the open one, then its
// subfolders. Opening an entry opens that folder and makes it the process's current folder.
class TDirectoryListBox : public QListWidget
{
    Q_OBJECT

public:
    explicit TDirectoryListBox(QWidget* parent = nullptr);
    QString Directory() const { return Folder; }
    // False when the folder does not exist or cannot be opened; nothing changes then.
    bool SetDirectory(const QString& folder);

signals:
    void DirectoryChanged(const QString& folder);

private:
    void Refill();
    void OpenEntry(QListWidgetItem* item);

    QString Folder;
    QStringList EntryPaths;
};

// The hidden file list: the plain files of a folder matching ";"-separated masks, sorted by
// name; Changed is signalled on every refill, also when the listing is empty.
class TFileListBox : public QObject
{
    Q_OBJECT

public:
    explicit TFileListBox(QObject* parent = nullptr) : QObject(parent) {}
    void SetMask(const QString& mask);
    QString Mask() const { return FileMask; }
    void SetDirectory(const QString& folder);
    QString Directory() const { return Folder; }
    void Refresh();
    const QStringList& Items() const { return Names; }
    const QStringList& Paths() const { return FullPaths; }

signals:
    void Changed();

private:
    QString FileMask = QStringLiteral("*.*");
    QString Folder;
    QStringList Names;
    QStringList FullPaths;
};
