#pragma once

#include "files/FolderListing.h"

#include <QComboBox>
#include <QListWidget>
#include <QObject>
#include <QString>
#include <QStringList>

// The left column's drive list, folder list and hidden file list. The drive list drives the
// folder list and the folder list drives the file list (LinkFolderControls); every move is
// carried out at once, inside the call that asks for it, so a caller can tell the refills it
// caused from later ones.

// Mounted file systems standing for drives; the item data holds each root path.
class TDriveComboBox : public QComboBox
{
    Q_OBJECT

public:
    explicit TDriveComboBox(QWidget* parent = nullptr);

    // Reads the mounted file systems again, keeping the selected drive when it is still there.
    void Refresh();
    QStringList Drives() const;
    QString Drive() const;
    // Selects the drive holding the path without signalling; false when no drive holds it.
    bool SelectDriveOf(const QString& path);

signals:
    // The user chose a drive.
    void DriveChanged(const QString& root);
};

// The chain of folders from the root down to the open folder, then the open folder's
// subfolders, each indented one step below its parent. Double-click or Enter on an entry opens
// that folder.
class TDirectoryListBox : public QListWidget
{
    Q_OBJECT

public:
    static constexpr int PathRole = Qt::UserRole;
    static constexpr int DepthRole = Qt::UserRole + 1;

    explicit TDirectoryListBox(QWidget* parent = nullptr);

    QString Directory() const { return Folder; }
    // Opens the folder (relative paths from the current folder) and makes it the process's
    // current folder. False, with nothing changed, when it is not a folder or cannot be read.
    // DirectoryChanged follows when the open folder changed; opening the open folder again only
    // re-reads its subfolders. With reading, the folder's one reading is handed back for a
    // caller that wants its files too.
    bool SetDirectory(const QString& path, TFolderEntries* reading = nullptr);
    // Entries from the root down to the open folder (the open folder's index + 1).
    int ChainLength() const { return Chain; }

signals:
    void DirectoryChanged(const QString& path);
    // An entry opened by the user could not be opened (removed since it was shown, say).
    void OpenFailed(const QString& path);

private:
    void OpenItem(QListWidgetItem* item);
    void Fill(const QString& folder, const QStringList& subfolders);
    QListWidgetItem* AddEntry(const QString& text, const QString& path, int depth, bool open);

    QString Folder;
    int Chain = 0;
};

// The hidden file list: a folder's plain files matching a ";"-list of masks, sorted by name.
// Changed is raised on every change of folder or mask and on Update, also when the listing
// comes out empty. The folder is read when its listing is first asked for, so that a change
// nobody looks at (a drop moving the folder list) costs no reading.
class TFileListBox : public QObject
{
    Q_OBJECT

public:
    explicit TFileListBox(QObject* parent = nullptr);

    QString Mask() const { return MaskText; }
    // A different mask reads the folder again; an equal one changes nothing.
    void SetMask(const QString& mask);
    QString Directory() const { return Folder; }
    // A different folder is read; the same one changes nothing.
    void SetDirectory(const QString& folder);
    // The folder is read again when next looked at, whatever changed.
    void Update();

    const QStringList& Items() const { return Read().Names; }
    const QStringList& Paths() const { return Read().Paths; }
    int Count() const { return int(Read().Names.size()); }
    // Whether the last reading could open its folder.
    bool Readable() const { return Read().Readable; }

signals:
    void Changed();

private:
    const TFolderListing& Read() const;

    QString MaskText = QStringLiteral("*.*");
    TFileMask Masks{MaskText};
    QString Folder;
    mutable TFolderListing Listing;
    mutable bool Stale = false;
};

// Choosing a drive opens its root in the folder list (and a drive that cannot be opened gives
// the selection back to the folder's drive); opening a folder reads it into the file list and
// selects its drive; an entry that no longer opens makes the folder list read its folder again
// (or, when that is gone, the nearest folder above it that opens).
void LinkFolderControls(TDriveComboBox* drives, TDirectoryListBox* folders, TFileListBox* files);
