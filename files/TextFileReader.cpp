#include "files/TextFileReader.h"

#include "files/FolderListing.h"
#include "platform/RtfReader.h"
#include "platform/TextDecoding.h"

#include <QFile>
#include <QFileInfo>
#include <new>

bool IsPlainTextName(const QString& path)
{
    const QString name = QFileInfo(path).fileName();
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot >= 0 && name.mid(dot).toUpper() == QStringLiteral(".TXT");
}

TTextFileContent ReadTextFile(const QString& path)
{
    TTextFileContent content;
    // Names that are not valid UTF-8 carry escapes only the listing's own calls understand.
    if (path.isEmpty() || (!ListedFileExists(path) && !ListedFolderExists(path))) {
        content.Status = TTextFileContent::TStatus::Missing;
        return content;
    }
    QFile file;
    if (!ListedFileExists(path) || !OpenListedFile(file, path, QIODevice::ReadOnly)) {
        content.Error = file.errorString();
        return content;
    }
    try {
        const QByteArray bytes = file.readAll();
        if (file.error() != QFileDevice::NoError) {
            content.Error = file.errorString();
            return content;
        }
        content.Text =
            (!IsPlainTextName(path) && IsRtf(bytes)) ? RtfToPlainText(bytes) : DecodeText(bytes);
        content.Status = TTextFileContent::TStatus::Read;
    } catch (const std::bad_alloc&) {
        content.Text.clear();
        content.Error = QStringLiteral("out of memory");
    }
    return content;
}
