// The archive reader. The first byte chooses: the rest as a zip (any bytes), or a zip written
// here of entries the input describes, which may then be cut short or have one byte changed.
// Properties: nothing unpacks beyond the limit; only a status of Read carries bytes, and then
// they are the whole of an entry named ".txt"; a zip as written gives the text of its first
// ".txt" entry by name exactly, or says there is none or that it is too large; whatever is
// damaged never reads as a part of a text or as other bytes than an entry's. A ".zip" file
// read from disk shows exactly that text, decoded, or the archive's message and no text.
#include "FuzzSupport.h"

#include "files/TextFileReader.h"
#include "platform/ArchiveReader.h"
#include "platform/TextDecoding.h"
#include "tests/support/ZipMaker.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

using TStatus = TArchiveText::TStatus;

bool IsTextName(const QByteArray& name)
{
    return name.toLower().endsWith(".txt") && !name.startsWith("__MACOSX/");
}

void CheckAnyResult(const TArchiveText& result, qint64 limit)
{
    FUZZ_CHECK(result.Bytes.size() <= limit);
    if (result.Status == TStatus::Read)
        FUZZ_CHECK(IsTextName(result.EntryName));
    else
        FUZZ_CHECK(result.Bytes.isEmpty() && !ArchiveMessage(result.Status).isEmpty());
}

// Through a file, as the file list opens it; in memory where the system offers it.
void CheckFile(const QByteArray& zip, bool upper)
{
    static QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists()
                                 ? QStringLiteral("/dev/shm/quorvelane-fuzz-XXXXXX")
                                 : QDir::tempPath() + QStringLiteral("/quorvelane-fuzz-XXXXXX"));
    const QString path = dir.filePath(upper ? QStringLiteral("T.ZIP") : QStringLiteral("t.zip"));
    {
        QFile file(path);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        FUZZ_CHECK(file.write(zip) == zip.size());
    }
    const TArchiveText archive = ReadArchiveText(zip);
    const TTextFileContent content = ReadTextFile(path);
    if (archive.Status == TStatus::Read) {
        FUZZ_CHECK(content.Status == TTextFileContent::TStatus::Read);
        FUZZ_CHECK(content.Text == DecodeDetectedText(archive.Bytes).Text);
    } else {
        FUZZ_CHECK(content.Status == TTextFileContent::TStatus::Failed);
        FUZZ_CHECK(content.Text.isEmpty());
        FUZZ_CHECK(content.Message == ArchiveMessage(archive.Status));
    }
}

const char* const Names[] = {"a.txt", "B.TXT", "readme.html", "sub/c.txt", "__MACOSX/._a.txt",
                             "a.txt", "z.TxT", "a.txt.zip",   ".txt",      "\x82\xa0.txt"};

QByteArray EntryData(FuzzedDataProvider& data)
{
    if (data.ConsumeBool())
        return QByteArray::fromStdString(data.ConsumeRandomLengthString(600));
    // Long and compressible, as a zip bomb is.
    const int length = data.ConsumeIntegralInRange(0, 70000);
    return QByteArray(length, char(data.ConsumeIntegral<unsigned char>()));
}

void CheckWritten(FuzzedDataProvider& data)
{
    QList<TZipEntry> entries;
    const int count = data.ConsumeIntegralInRange(0, 4);
    for (int i = 0; i < count; ++i) {
        TZipEntry e;
        const auto pick = data.ConsumeIntegralInRange<size_t>(0, std::size(Names));
        e.Name = pick < std::size(Names)
                     ? QByteArray(Names[pick])
                     : QByteArray::fromStdString(data.ConsumeRandomLengthString(12)) + ".txt";
        // The archive library reads a backslash as a folder separator when the name converts to
        // the locale's characters, and keeps it otherwise; written names keep clear of it (the
        // any-bytes mode still feeds such names).
        e.Name.replace('\\', '_');
        e.Folder = data.ConsumeIntegralInRange(0, 7) == 0;
        if (e.Folder)
            e.Name += '/';
        e.Stored = data.ConsumeBool();
        e.SizeUnknown = data.ConsumeBool();
        if (!e.Folder)
            e.Data = EntryData(data);
        if (e.Name.isEmpty() || e.Name.contains('\0'))
            continue;
        entries.append(e);
    }
    const qint64 limit =
        data.ConsumeBool() ? ArchiveTextLimit : data.ConsumeIntegralInRange<qint64>(0, 80000);
    const QByteArray zip = MakeZip(entries);
    FUZZ_CHECK(!zip.isEmpty());

    // The first text entry by name, the first written of equal names.
    const TZipEntry* text = nullptr;
    for (const TZipEntry& e : entries) {
        if (!e.Folder && IsTextName(e.Name) && (!text || e.Name < text->Name))
            text = &e;
    }
    const TArchiveText result = ReadArchiveText(zip, limit);
    CheckAnyResult(result, limit);
    if (!text) {
        FUZZ_CHECK(result.Status == TStatus::NoText);
    } else if (text->Data.size() > limit) {
        FUZZ_CHECK(result.Status == TStatus::TooLarge);
    } else {
        FUZZ_CHECK(result.Status == TStatus::Read);
        FUZZ_CHECK(result.EntryName == text->Name);
        FUZZ_CHECK(result.Bytes == text->Data);
    }

    QByteArray damaged = zip;
    const auto at = data.ConsumeIntegralInRange<qsizetype>(0, qMax<qsizetype>(0, zip.size() - 1));
    if (data.ConsumeBool())
        damaged.truncate(at);
    else if (at < damaged.size())
        damaged[at] = char(damaged[at] ^ data.ConsumeIntegralInRange(1, 255));
    const TArchiveText read = ReadArchiveText(damaged, limit);
    CheckAnyResult(read, limit);
    if (read.Status == TStatus::Read) {
        bool stored = false;
        for (const TZipEntry& e : entries)
            stored = stored || (!e.Folder && e.Data == read.Bytes);
        FUZZ_CHECK(stored); // the text shown is all of an entry, and nothing else
    }
    if (data.ConsumeIntegralInRange(0, 7) == 0)
        CheckFile(damaged, data.ConsumeBool());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    if (size == 0)
        return 0;
    if (bytes[0] % 2 == 0) {
        // The rest of the first byte: the limit, and whether to read the bytes as a file too.
        const qint64 limit = bytes[0] & 4 ? ArchiveTextLimit : qint64(bytes[0] >> 3) * 97;
        const QByteArrayView zip(bytes + 1, qsizetype(size) - 1);
        const TArchiveText result = ReadArchiveText(zip, limit);
        CheckAnyResult(result, limit);
        if (result.Status == TStatus::Read && limit != ArchiveTextLimit)
            FUZZ_CHECK(ReadArchiveText(zip).Bytes == result.Bytes);
        if (bytes[0] & 2)
            CheckFile(zip.toByteArray(), bytes[0] & 8);
        return 0;
    }
    FuzzedDataProvider data(bytes + 1, size - 1);
    CheckWritten(data);
    return 0;
}
