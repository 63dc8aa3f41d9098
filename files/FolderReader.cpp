#include "files/FolderReader.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>

TFolderReader::TFolderReader(const QByteArray& folder)
{
    Dir.reset(folder.isEmpty() ? nullptr : ::opendir(folder.constData()));
    if (!Dir)
        Opened = folder.isEmpty() ? ENOENT : errno;
}

bool TFolderReader::Next()
{
    if (!Dir)
        return false;
    for (;;) {
        errno = 0;
        Entry = ::readdir(Dir.get());
        if (!Entry) {
            Failed = errno;
            return false;
        }
        const char* name = Entry->d_name;
        if (!(name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0))))
            return true;
    }
}

bool TFolderReader::IsFolder() const
{
    if (Entry->d_type != DT_UNKNOWN)
        return Entry->d_type == DT_DIR;
    struct stat st;
    return ::fstatat(::dirfd(Dir.get()), Entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 &&
           S_ISDIR(st.st_mode);
}

bool TFolderReader::IsFile() const
{
    if (Entry->d_type == DT_REG)
        return true;
    if (Entry->d_type != DT_LNK && Entry->d_type != DT_UNKNOWN)
        return false;
    struct stat st;
    return ::fstatat(::dirfd(Dir.get()), Entry->d_name, &st, 0) == 0 && S_ISREG(st.st_mode);
}
