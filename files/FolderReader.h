#pragma once

#include <QByteArray>
#include <dirent.h>
#include <memory>

// Reads a folder's entries one by one, "." and ".." left out, through the entry types the file
// system reports, so that most entries cost no stat. A link to a folder never counts as a
// folder (entering one can loop for ever, and lists a tree twice); a link to a plain file
// counts as a file. Devices, pipes, sockets and broken links are neither.
class TFolderReader
{
public:
    // folder: the path's bytes, as EncodeFileName gives them.
    explicit TFolderReader(const QByteArray& folder);

    // 0 when the folder is open, otherwise the errno of opening it.
    int OpenError() const { return Opened; }
    // Moves to the next entry; false at the end or on a failure (then Error() is non-zero).
    bool Next();
    int Error() const { return Failed; }

    const char* Name() const { return Entry->d_name; }
    bool IsFolder() const;
    bool IsFile() const;

private:
    struct TCloser
    {
        void operator()(DIR* dir) const { ::closedir(dir); }
    };
    std::unique_ptr<DIR, TCloser> Dir;
    const dirent* Entry = nullptr;
    int Opened = 0;
    int Failed = 0;
};
