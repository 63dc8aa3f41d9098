#pragma once

#include <QByteArray>
#include <dirent.h>

// Reads a folder's entries one by one, "." and ".." left out, through the entry types the file
// system reports, so that most entries cost no stat. A link to a folder never counts as a
// folder (entering one can loop for ever, and lists a tree twice); a link to a plain file
// counts as a file. Devices, pipes, sockets and broken links are neither. The entries are read
// straight into a buffer of the reader's own: a tree search reads thousands of folders, and
// the directory stream of the C library costs a stat and an allocation for each.
class TFolderReader
{
public:
    // folder: the path's bytes, as EncodeFileName gives them.
    explicit TFolderReader(const QByteArray& folder);
    ~TFolderReader();
    TFolderReader(const TFolderReader&) = delete;
    TFolderReader& operator=(const TFolderReader&) = delete;

    // 0 when the folder is open, otherwise the errno of opening it.
    int OpenError() const { return Opened; }
    // Moves to the next entry; false at the end or on a failure (then Error() is non-zero).
    bool Next();
    int Error() const { return Failed; }

    const char* Name() const { return Entry->d_name; }
    bool IsFolder() const;
    bool IsFile() const;

private:
    bool Fill();

    int Fd = -1;
    int Opened = 0;
    int Failed = 0;
    const dirent64* Entry = nullptr;
    long Filled = 0;
    long Offset = 0;
    alignas(dirent64) char Buffer[32768];
};
