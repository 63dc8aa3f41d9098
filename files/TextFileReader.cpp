#include "files/TextFileReader.h"

#include "files/FolderListing.h"
#include "platform/ArchiveReader.h"
#include "platform/RtfReader.h"
#include "platform/TextDecoding.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <new>

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

} // namespace

TTextFileContent ReadTextFile(const QString& path, std::optional<TSourceEncoding> encoding)
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
        const QByteArray bytes = file.readAll();
        if (file.error() != QFileDevice::NoError) {
            content.Error = file.errorString();
            return content;
        }
        if (IsArchiveName(path)) {
            ReadArchive(bytes, encoding, content);
        } else if (!IsPlainTextName(path) && IsRtf(bytes)) {
            content.Text = RtfToPlainText(bytes);
            content.Status = TTextFileContent::TStatus::Read;
        } else {
            DecodePlainText(bytes, encoding, content);
        }
    } catch (const std::bad_alloc&) {
        content.Status = TTextFileContent::TStatus::Failed;
        content.Text.clear();
        content.Error = QStringLiteral("out of memory");
    }
    return content;
}
