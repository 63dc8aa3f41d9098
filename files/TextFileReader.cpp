#include "files/TextFileReader.h"

#include "files/FolderListing.h"
#include "platform/ArchiveReader.h"
#include "platform/BigBuffers.h"
#include "platform/RtfReader.h"
#include "platform/TextDecoding.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>
#include <unistd.h>

bool IsPlainTextName(const QString& path)
{
    const QString name = QFileInfo(path).fileName();
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot >= 0 && name.mid(dot).toUpper() == QStringLiteral(".TXT");
}

namespace {

void DecodePlainText(QByteArrayView bytes, std::optional<TSourceEncoding> encoding,
                     TTextFileContent& content)
{
    if (encoding) {
        content.Text = DecodeTextAs(bytes, *encoding);
        content.Encoding = encoding;
    } else {
        TDetectedText detected = DecodeDetectedText(bytes);
        content.Text = std::move(detected.Text);
        content.Encoding = detected.Encoding;
    }
    content.Status = TTextFileContent::TStatus::Read;
}

void ReadArchive(QByteArrayView zip, std::optional<TSourceEncoding> encoding,
                 TTextFileContent& content)
{
    const TArchiveText archive = ReadArchiveText(zip);
    if (archive.Status != TArchiveText::TStatus::Read) {
        content.Error = QStringLiteral("zip");
        content.Message = ArchiveMessage(archive.Status);
        return;
    }
    DecodePlainText(archive.Bytes, encoding, content);
}

// Pieces between two looks at the stop request: small enough to stop within a few
// milliseconds, large enough that the looks cost nothing.
constexpr qint64 ReadPiece = 4 << 20;

bool Stopped(const TReadControl& control)
{
    return control.Stopped && control.Stopped();
}

void Tell(const TReadControl& control, TLoadStage stage)
{
    if (control.Stage)
        control.Stage(stage);
}

void RefuseTooLarge(qint64 size, qint64 limit, TTextFileContent& content)
{
    content.Status = TTextFileContent::TStatus::Failed;
    content.Error = QStringLiteral("too large");
    content.Message = TooLargeMessage(size, limit);
}

// Reads the file to its end in pieces. The size known at the start is only a guess: the file may
// be written to or cut meanwhile, so the end is where a read finds nothing more.
bool ReadBytes(QFile& file, const TReadControl& control, QByteArray& bytes,
               TTextFileContent& content)
{
    const qint64 expected = std::max<qint64>(0, file.size());
    if (control.Limit > 0 && expected > control.Limit) {
        RefuseTooLarge(expected, control.Limit, content);
        return false;
    }
    bytes.resize(expected);
    AdviseHugePages(bytes.data(), size_t(expected));
    qint64 filled = 0;
    for (;;) {
        if (Stopped(control)) {
            content.Status = TTextFileContent::TStatus::Abandoned;
            return false;
        }
        qint64 got = 0;
        if (filled < bytes.size()) {
            got = file.read(bytes.data() + filled, std::min(ReadPiece, bytes.size() - filled));
        } else {
            // Past the size known: only a file that grew has more, which is appended.
            QByteArray more(64 * 1024, Qt::Uninitialized);
            got = file.read(more.data(), more.size());
            if (got > 0)
                bytes.append(more.constData(), got);
        }
        if (got < 0 || file.error() != QFileDevice::NoError) {
            content.Error = file.errorString();
            return false;
        }
        if (got == 0)
            break;
        filled += got;
        if (control.Limit > 0 && filled > control.Limit) {
            RefuseTooLarge(filled, control.Limit, content);
            return false;
        }
        Tell(control, TLoadStage::Reading);
    }
    // A file cut while it was read gives what was there.
    bytes.truncate(filled);
    Tell(control, TLoadStage::Read);
    return true;
}

} // namespace

qint64 TextFileSizeLimit()
{
    // Positions in the text view are ints; a text of more bytes than that holds cannot be shown.
    constexpr qint64 Largest = qint64(1) << 30;
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGESIZE);
    if (pages <= 0 || pageSize <= 0)
        return Largest;
    return std::min(Largest, qint64(pages) * qint64(pageSize) / 10);
}

QString TooLargeMessage(qint64 size, qint64 limit)
{
    constexpr qint64 Mb = 1024 * 1024;
    return QStringLiteral("ファイルが大きすぎるため読み込めません。") + QStringLiteral("\r\n\r\n") +
           QStringLiteral("ファイルの大きさ: %1 MB").arg((size + Mb - 1) / Mb) +
           QStringLiteral("\r\n") + QStringLiteral("読み込める大きさ: %1 MB まで").arg(limit / Mb);
}

TTextFileContent ReadTextFile(const QString& path, std::optional<TSourceEncoding> encoding,
                              const TReadControl& control)
{
    TTextFileContent content;
    // Listed paths may carry the escapes of names that are not UTF-8, which QFile cannot
    // follow; they are reached through the listing's own file functions.
    if (!ListedPathExists(path)) {
        content.Status = TTextFileContent::TStatus::Missing;
        return content;
    }
    QFile file;
    // Only plain files are read: a folder, a device or a pipe could block or never end.
    if (!ListedFileExists(path)) {
        content.Error = QStringLiteral("not a plain file");
        return content;
    }
    if (!OpenListedFile(file, path, QIODevice::ReadOnly)) {
        content.Error = QString::fromLocal8Bit(std::strerror(errno));
        return content;
    }
    try {
        QByteArray bytes;
        if (!ReadBytes(file, control, bytes, content))
            return content;
        file.close();
        if (IsArchiveName(path)) {
            ReadArchive(bytes, encoding, content);
        } else if (!IsPlainTextName(path) && IsRtf(bytes)) {
            content.Text = RtfToPlainText(bytes);
            content.Status = TTextFileContent::TStatus::Read;
        } else {
            DecodePlainText(bytes, encoding, content);
        }
        bytes = QByteArray();
        if (Stopped(control)) {
            content = TTextFileContent();
            content.Status = TTextFileContent::TStatus::Abandoned;
            return content;
        }
        Tell(control, TLoadStage::Decoded);
    } catch (const std::bad_alloc&) {
        content.Status = TTextFileContent::TStatus::Failed;
        content.Text.clear();
        content.Error = QStringLiteral("out of memory");
    }
    return content;
}
