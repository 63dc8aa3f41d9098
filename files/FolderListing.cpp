#include "files/FolderListing.h"

#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr char16_t EscapeBase = 0xDC00;

// An escaped byte is a lone low surrogate: the low half of a pair (a character above U+FFFF,
// such as an emoji) falls into the same range but is part of that character.
bool IsEscapeAt(QStringView name, qsizetype i)
{
    const char16_t c = name[i].unicode();
    return c >= EscapeBase + 0x80 && c <= EscapeBase + 0xFF &&
           !(i > 0 && name[i - 1].isHighSurrogate());
}

bool HasEscape(QStringView name)
{
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (IsEscapeAt(name, i))
            return true;
    }
    return false;
}

void AppendCodePoint(QString& text, char32_t value)
{
    // Appended one by one, as QString::fromUcs4 would drop a U+FEFF as a byte-order mark.
    if (QChar::requiresSurrogates(value)) {
        text.append(QChar(QChar::highSurrogate(value)));
        text.append(QChar(QChar::lowSurrogate(value)));
    } else {
        text.append(QChar(char16_t(value)));
    }
}

// Length of the valid UTF-8 sequence at bytes[i], or 0 when it is not one (overlong forms,
// surrogates and values past U+10FFFF are invalid).
int ValidSequenceLength(QByteArrayView bytes, qsizetype i, char32_t& value)
{
    const auto at = [&](qsizetype k) { return static_cast<unsigned char>(bytes[k]); };
    const unsigned char lead = at(i);
    int length = 0;
    char32_t min = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, value = lead & 0x1F, min = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, value = lead & 0x0F, min = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, value = lead & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (i + length > bytes.size())
        return 0;
    for (int k = 1; k < length; ++k) {
        if ((at(i + k) & 0xC0) != 0x80)
            return 0;
        value = (value << 6) | (at(i + k) & 0x3F);
    }
    if (value < min || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return 0;
    return length;
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
    bool ascii = true;
    for (char c : raw)
        ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    if (ascii)
        return QString::fromLatin1(raw);
    QString text;
    text.reserve(raw.size());
    for (qsizetype i = 0; i < raw.size();) {
        const auto byte = static_cast<unsigned char>(raw[i]);
        char32_t value = 0;
        if (byte < 0x80) {
            text.append(QChar(byte));
            ++i;
        } else if (const int length = ValidSequenceLength(raw, i, value)) {
            AppendCodePoint(text, value);
            i += length;
        } else {
            text.append(QChar(char16_t(EscapeBase + byte)));
            ++i;
        }
    }
    return text;
}

QByteArray EncodeFileName(QStringView name)
{
    QByteArray bytes;
    bytes.reserve(name.size() * 3);
    qsizetype start = 0;
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (!IsEscapeAt(name, i))
            continue;
        bytes.append(name.mid(start, i - start).toUtf8());
        bytes.append(char(name[i].unicode() - EscapeBase));
        start = i + 1;
    }
    bytes.append(name.mid(start).toUtf8());
    return bytes;
}

QString DisplayFileName(QStringView name)
{
    QString display = name.toString();
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (IsEscapeAt(name, i))
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

QStringList ListSubfolders(const QString& folder, bool* readable)
{
    QStringList names;
    const TDirHandle dir = OpenFolder(folder);
    if (readable)
        *readable = bool(dir);
    if (!dir)
        return names;
    while (const dirent* entry = ::readdir(dir.get())) {
        if (entry->d_name[0] != '.' && EntryType(dir.get(), entry) == S_IFDIR)
            names.append(DecodeFileName(entry->d_name));
    }
    std::sort(names.begin(), names.end(), FileNameLess);
    return names;
}
