#include "files/TextFileWriter.h"

#include "platform/Cp932.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace {

// Written in pieces of about this size, so that saving a big text needs little memory beside it.
constexpr qsizetype PieceSize = 1 << 20;

char32_t characterAt(QStringView text, qsizetype i)
{
    const QChar c = text[i];
    if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
        return QChar::surrogateToUcs4(c, text[i + 1]);
    return c.unicode();
}

QString failure(const QString& path, const QString& reason)
{
    return QStringLiteral("%1\r\n\r\n%2").arg(QDir::toNativeSeparators(path), reason);
}

bool appendLine(QStringView line, TTextEncoding encoding, QByteArray& out)
{
    if (encoding == TTextEncoding::Cp932) {
        if (!AppendCp932(line, out))
            return false;
    } else {
        out += line.toUtf8();
    }
    out += "\r\n";
    return true;
}

} // namespace

std::optional<TNonCp932Character> FindNonCp932(const TParagraphSource& text)
{
    const int count = text.ParagraphCount();
    for (int p = 0; p < count; ++p) {
        const QStringView line = text.Paragraph(p);
        const qsizetype i = FirstNonCp932(line);
        if (i >= 0)
            return TNonCp932Character{p, characterAt(line, i)};
    }
    return std::nullopt;
}

QString WriteTextFile(const QString& path, const TParagraphSource& text, TTextEncoding encoding)
{
    // Without this check QSaveFile would only fail at the rename, after writing the whole text.
    if (QFileInfo(path).isDir())
        return failure(path, QStringLiteral("Is a directory"));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return failure(path, file.errorString());
    QByteArray piece;
    piece.reserve(PieceSize + 4096);
    if (encoding == TTextEncoding::Utf8WithBom)
        piece += "\xEF\xBB\xBF";
    const int count = text.ParagraphCount();
    for (int p = 0; p < count; ++p) {
        if (!appendLine(text.Paragraph(p), encoding, piece))
            return failure(path, QStringLiteral("line %1 holds a character that Shift-JIS "
                                                "cannot hold")
                                     .arg(p + 1));
        if (piece.size() >= PieceSize || p == count - 1) {
            if (file.write(piece) != piece.size())
                return failure(path, file.errorString());
            piece.resize(0);
        }
    }
    if (!piece.isEmpty() && file.write(piece) != piece.size())
        return failure(path, file.errorString());
    // The old file is replaced only here, once the new text is wholly on disk.
    if (!file.commit())
        return failure(path, file.errorString());
    return QString();
}
