#include "platform/ArchiveReader.h"

#include <QFileInfo>
#include <archive.h>
#include <archive_entry.h>
#include <memory>
#include <optional>
#include <vector>

namespace {

struct TArchiveCloser
{
    void operator()(archive* a) const { archive_read_free(a); }
};
using TArchive = std::unique_ptr<archive, TArchiveCloser>;

TArchiveText Failure(TArchiveText::TStatus status)
{
    TArchiveText result;
    result.Status = status;
    return result;
}

TArchive OpenZip(QByteArrayView zip)
{
    TArchive a(archive_read_new());
    if (!a)
        return nullptr;
    archive_read_support_format_zip(a.get());
    if (archive_read_open_memory(a.get(), zip.data(), size_t(zip.size())) != ARCHIVE_OK)
        return nullptr;
    return a;
}

bool IsTextEntry(archive_entry* entry)
{
    if (archive_entry_filetype(entry) != AE_IFREG)
        return false;
    const char* name = archive_entry_pathname(entry);
    if (!name)
        return false;
    const QByteArray path(name);
    return path.toLower().endsWith(".txt") && !path.startsWith("__MACOSX/");
}

// The index and name of the first text entry by name: NoText when there is none, Damaged
// when the entries cannot all be read.
struct TChoice
{
    TArchiveText::TStatus Status = TArchiveText::TStatus::NoText;
    int Index = -1;
    QByteArray Name;
};

TChoice ChooseTextEntry(QByteArrayView zip)
{
    TChoice choice;
    TChoice damaged;
    damaged.Status = TArchiveText::TStatus::Damaged;
    TArchive a = OpenZip(zip);
    if (!a)
        return damaged;
    archive_entry* entry = nullptr;
    for (int index = 0;; ++index) {
        const int r = archive_read_next_header(a.get(), &entry);
        if (r == ARCHIVE_EOF)
            return choice;
        if (r < ARCHIVE_WARN)
            return damaged;
        if (IsTextEntry(entry)) {
            const QByteArray name(archive_entry_pathname(entry));
            if (choice.Index < 0 || name < choice.Name)
                choice = {TArchiveText::TStatus::Read, index, name};
        }
    }
}

} // namespace

TArchiveText ReadArchiveText(QByteArrayView zip, qint64 maxBytes)
{
    const TChoice choice = ChooseTextEntry(zip);
    TArchiveText result;
    result.Status = choice.Status;
    if (choice.Status != TArchiveText::TStatus::Read)
        return result;
    result.EntryName = choice.Name;
    TArchive a = OpenZip(zip);
    archive_entry* entry = nullptr;
    for (int index = 0; index <= choice.Index; ++index) {
        if (!a || archive_read_next_header(a.get(), &entry) < ARCHIVE_WARN)
            return Failure(TArchiveText::TStatus::Damaged);
    }
    if (archive_entry_is_encrypted(entry))
        return Failure(TArchiveText::TStatus::Encrypted);
    // The size the entry claims may be a lie; only what is unpacked counts.
    if (archive_entry_size_is_set(entry) && archive_entry_size(entry) > maxBytes)
        return Failure(TArchiveText::TStatus::TooLarge);
    std::vector<char> buffer(size_t(1) << 16);
    for (;;) {
        const la_ssize_t n = archive_read_data(a.get(), buffer.data(), buffer.size());
        if (n == 0)
            break;
        if (n < 0)
            return Failure(TArchiveText::TStatus::Damaged);
        if (result.Bytes.size() + n > maxBytes)
            return Failure(TArchiveText::TStatus::TooLarge);
        result.Bytes.append(buffer.data(), qsizetype(n));
    }
    return result;
}

bool IsArchiveName(const QString& path)
{
    return QFileInfo(path).suffix().compare(QStringLiteral("zip"), Qt::CaseInsensitive) == 0;
}

QString ArchiveMessage(TArchiveText::TStatus status)
{
    switch (status) {
    case TArchiveText::TStatus::Read:
        return {};
    case TArchiveText::TStatus::NoText:
        return QStringLiteral("ZIPファイルの中にテキストファイル（.txt）がありません。");
    case TArchiveText::TStatus::Encrypted:
        return QStringLiteral("パスワード付きのZIPファイルは読めません。");
    case TArchiveText::TStatus::Damaged:
        return QStringLiteral("ZIPファイルが壊れているか、ZIPファイルではありません。");
    case TArchiveText::TStatus::TooLarge:
        return QStringLiteral("ZIPファイルの中のテキストが大きすぎます（%1 MBまで）。")
            .arg(ArchiveTextLimit >> 20);
    }
    return {};
}
