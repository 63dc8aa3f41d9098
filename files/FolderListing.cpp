#include "files/FolderListing.h"

#include "platform/EscapedUtf8.h"

#include <algorithm>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

bool HasEscape(QStringView name)
{
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (IsEscapedByteAt(name, i))
            return true;
    }
    return false;
}

bool StatPath(const QString& path, struct stat& st)
{
    if (path.isEmpty())
        return false;
    return ::stat(EncodeFileName(path).constData(), &st) == 0;
}

struct TDirCloser
{
    void operator()(DIR* dir) const { ::closedir(dir); }
};
using TDirHandle = std::unique_ptr<DIR, TDirCloser>;

TDirHandle OpenFolder(const QString& folder)
{
    if (folder.isEmpty())
        return TDirHandle();
    return TDirHandle(::opendir(EncodeFileName(folder).constData()));
}

// The entry's type with links followed; an unknown type or a link costs one stat, a broken
// link or a loop gives 0.
mode_t EntryType(DIR* dir, const dirent* entry)
{
    switch (entry->d_type) {
    case DT_REG:
        return S_IFREG;
    case DT_DIR:
        return S_IFDIR;
    case DT_LNK:
    case DT_UNKNOWN:
        break;
    default:
        return 0;
    }
    struct stat st;
    if (::fstatat(::dirfd(dir), entry->d_name, &st, 0) != 0)
        return 0;
    return st.st_mode & S_IFMT;
}

struct TListedName
{
    QString Name;
    QString Display;
};

} // namespace

QString DecodeFileName(QByteArrayView raw)
{
    return DecodeEscapedUtf8(raw);
}

QByteArray EncodeFileName(QStringView name)
{
    return EncodeEscapedUtf8(name);
}

QString DisplayFileName(QStringView name)
{
    QString display = name.toString();
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (IsEscapedByteAt(name, i))
            display[i] = QChar::ReplacementCharacter;
    }
    return display;
}

bool ListedPathExists(const QString& path)
{
    struct stat st;
    return StatPath(path, st);
}

bool ListedFileExists(const QString& path)
{
    struct stat st;
    return StatPath(path, st) && S_ISREG(st.st_mode);
}

bool ListedFolderExists(const QString& path)
{
    struct stat st;
    return StatPath(path, st) && S_ISDIR(st.st_mode);
}

bool ListedFolderReadable(const QString& path)
{
    return bool(OpenFolder(path));
}

bool OpenListedFile(QFile& file, const QString& path, QIODevice::OpenMode mode)
{
    int flags = O_CLOEXEC;
    if (mode.testFlag(QIODevice::ReadWrite))
        flags |= O_RDWR;
    else if (mode.testFlag(QIODevice::WriteOnly))
        flags |= O_WRONLY | O_CREAT | O_TRUNC;
    else
        flags |= O_RDONLY;
    if (path.isEmpty())
        return false;
    const int fd = ::open(EncodeFileName(path).constData(), flags, 0666);
    if (fd < 0)
        return false;
    if (!file.open(fd, mode, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    return true;
}

bool SetCurrentFolder(const QString& path)
{
    return !path.isEmpty() && ::chdir(EncodeFileName(path).constData()) == 0;
}

bool FileNameLess(const QString& a, const QString& b)
{
    const int folded = QString::compare(a, b, Qt::CaseInsensitive);
    return folded != 0 ? folded < 0 : a < b;
}

TFolderListing ListFolder(const QString& folder, const TFileMask& masks)
{
    TFolderListing listing;
    listing.Folder = folder;
    const TDirHandle dir = OpenFolder(folder);
    if (!dir)
        return listing;
    listing.Readable = true;
    std::vector<TListedName> found;
    while (const dirent* entry = ::readdir(dir.get())) {
        if (entry->d_name[0] == '.')
            continue;
        TListedName item{DecodeFileName(entry->d_name), QString()};
        // Most names hold no escape and share one string for both uses.
        const bool escaped = HasEscape(item.Name);
        item.Display = escaped ? DisplayFileName(item.Name) : item.Name;
        // Matching first keeps the stat for links and unknown types to the matching names.
        if (!masks.Matches(item.Display) || EntryType(dir.get(), entry) != S_IFREG)
            continue;
        found.push_back(std::move(item));
    }
    std::sort(found.begin(), found.end(), [](const TListedName& a, const TListedName& b) {
        return FileNameLess(a.Name, b.Name);
    });
    listing.Names.reserve(qsizetype(found.size()));
    listing.Paths.reserve(qsizetype(found.size()));
    for (const TListedName& item : found) {
        listing.Names.append(item.Display);
        listing.Paths.append(FolderFilePath(folder, item.Name));
    }
    return listing;
}

TFolderListing ListFolder(const QString& folder, const QString& masks)
{
    return ListFolder(folder, TFileMask(masks));
}

TFolderEntries ReadFolderEntries(const QString& folder)
{
    TFolderEntries reading;
    const TDirHandle dir = OpenFolder(folder);
    if (!dir)
        return reading;
    reading.Readable = true;
    while (const dirent* entry = ::readdir(dir.get())) {
        const char* name = entry->d_name;
        if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0)))
            continue;
        const mode_t type = EntryType(dir.get(), entry);
        TFolderEntries::TEntry item;
        item.Offset = reading.Names.size();
        item.Size = qsizetype(std::strlen(name));
        item.Kind = type == S_IFREG   ? TFolderEntries::File
                    : type == S_IFDIR ? TFolderEntries::Folder
                                      : TFolderEntries::Other;
        reading.Names.append(name, item.Size + 1);
        reading.Entries.push_back(item);
    }
    return reading;
}

QStringList SubfolderNames(const TFolderEntries& reading)
{
    QStringList names;
    for (const TFolderEntries::TEntry& entry : reading.Entries) {
        const std::string_view name = reading.Name(entry);
        if (entry.Kind == TFolderEntries::Folder && name.front() != '.')
            names.append(DecodeFileName(name));
    }
    std::sort(names.begin(), names.end(), FileNameLess);
    return names;
}

QStringList ListSubfolders(const QString& folder, bool* readable)
{
    const TFolderEntries reading = ReadFolderEntries(folder);
    if (readable)
        *readable = reading.Readable;
    return SubfolderNames(reading);
}
