#include "files/FolderReader.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

TFolderReader::TFolderReader(const QByteArray& folder)
{
    if (folder.isEmpty()) {
        Opened = ENOENT;
        return;
    }
    Fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (Fd < 0)
        Opened = errno;
}

TFolderReader::~TFolderReader()
{
    if (Fd >= 0)
        ::close(Fd);
}

bool TFolderReader::Fill()
{
    const ssize_t read = ::getdents64(Fd, Buffer, sizeof Buffer);
    if (read <= 0) {
        Failed = read < 0 ? errno : 0;
        return false;
    }
    Filled = long(read);
    Offset = 0;
    return true;
}

bool TFolderReader::Next()
{
    if (Fd < 0)
        return false;
    for (;;) {
        if (Offset >= Filled && !Fill())
            return false;
        Entry = reinterpret_cast<const dirent64*>(Buffer + Offset);
        Offset += Entry->d_reclen;
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
    return ::fstatat(Fd, Entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode);
}

bool TFolderReader::IsFile() const
{
    if (Entry->d_type == DT_REG)
        return true;
    if (Entry->d_type != DT_LNK && Entry->d_type != DT_UNKNOWN)
        return false;
    struct stat st;
    return ::fstatat(Fd, Entry->d_name, &st, 0) == 0 && S_ISREG(st.st_mode);
}
