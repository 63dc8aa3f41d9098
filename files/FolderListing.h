#pragma once

#include "files/FileFilters.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <string_view>
#include <vector>

// Reading folders for the drive, folder and file lists.
//
// File names on disk are bytes, normally UTF-8. A name that is not valid UTF-8 would come back
// from QFile::decodeName with U+FFFD in place of its bad bytes, and that text names another
// (usually missing) file. So names are decoded here losslessly: every byte of an invalid
// sequence becomes the lone surrogate U+DC00 + byte, and EncodeFileName turns it back (see
// platform/EscapedUtf8.h; the settings file keeps such names the same way). For a valid name both
// are QFile::decodeName and QFile::encodeName, so QFile and QDir work on every ordinary path as
// usual, except that a name beginning with U+FEFF keeps it here (QFile::decodeName drops it and
// so names another file); a path holding escapes or such a mark is reached through the
// functions below (OpenListedFile, ListedFileExists, ...), as QFile would look for the wrong
// name.

QString DecodeFileName(QByteArrayView raw);
QByteArray EncodeFileName(QStringView name);
// The name for display: escaped bytes shown as U+FFFD.
QString DisplayFileName(QStringView name);

// Whether anything is at the path (a link counts by what it points to; a broken one is nothing).
bool ListedPathExists(const QString& path);
// Whether a plain file (or a link to one) / a folder (or a link to one) is at the path.
bool ListedFileExists(const QString& path);
bool ListedFolderExists(const QString& path);
// Whether the folder can be opened for listing.
bool ListedFolderReadable(const QString& path);
// Opens a listed file through its original bytes; the QFile owns the descriptor afterwards.
bool OpenListedFile(QFile& file, const QString& path, QIODevice::OpenMode mode);
// Makes the folder the process's current folder.
bool SetCurrentFolder(const QString& path);

// The order of listed names: without regard to letter case first (Unicode case folding, the
// same whatever the locale), then by code points so that "A.txt" and "a.txt" keep a fixed
// order.
bool FileNameLess(const QString& a, const QString& b);

// One reading of a folder's plain files. Names and Paths pair up entry by entry; Names are for
// display, Paths are full paths (with escapes for bad bytes, see above). A folder that cannot be
// opened (missing, not a folder, no permission, a link loop) gives Readable false and no entry.
struct TFolderListing
{
    QString Folder;
    QStringList Names;
    QStringList Paths;
    bool Readable = false;
};

// The plain files of the folder that match the masks, sorted by name. Hidden files (names
// beginning with "."), folders, devices, pipes, sockets and broken links are left out; a link to
// a plain file is listed under the link's name. Only links and entries of unknown type cost a
// stat.
TFolderListing ListFolder(const QString& folder, const TFileMask& masks);
TFolderListing ListFolder(const QString& folder, const QString& masks);

// One reading of a folder, for callers that each want a different part of it: every entry's
// name as the file system has it and its kind, links followed ("." and ".." left out). A
// failure part-way ends the reading; the entries read so far stay.
struct TFolderEntries
{
    enum TKind : unsigned char
    {
        Other, // devices, pipes, sockets, broken links
        File,
        Folder
    };
    struct TEntry
    {
        qsizetype Offset = 0; // in Names
        qsizetype Size = 0;
        TKind Kind = Other;
    };

    bool Readable = false;
    QByteArray Names; // every name followed by a NUL
    std::vector<TEntry> Entries;

    std::string_view Name(const TEntry& entry) const
    {
        return std::string_view(Names.constData() + entry.Offset, size_t(entry.Size));
    }
};

TFolderEntries ReadFolderEntries(const QString& folder);

// The names of the subfolders of a reading (links to folders included, hidden ones left out),
// sorted like files.
QStringList SubfolderNames(const TFolderEntries& reading);
// The same for a folder read here; readable is set to whether the folder could be opened.
QStringList ListSubfolders(const QString& folder, bool* readable = nullptr);
