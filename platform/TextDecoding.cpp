#include "platform/TextDecoding.h"

#include "platform/TextEncoding.h"

#include <QStringDecoder>
#include <cstring>

QString DecodeUtf8(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless |
                                                       QStringConverter::Flag::ConvertInitialBom);
    return decoder.decode(bytes);
}

QString DecodeText(QByteArrayView bytes)
{
    return DecodeDetectedText(bytes).Text;
}

void NormalizeLineEnds(QString& text)
{
    qsizetype read = QStringView(text).indexOf(u'\r');
    if (read < 0)
        return;
    char16_t* const data = reinterpret_cast<char16_t*>(text.data());
    const qsizetype size = text.size();
    const QStringView all(data, size);
    qsizetype write = read;
    // Each carriage return becomes a line feed, one of CR LF goes; the runs between them move
    // down whole.
    while (read < size) {
        data[write++] = u'\n';
        read += read + 1 < size && data[read + 1] == u'\n' ? 2 : 1;
        qsizetype next = all.indexOf(u'\r', read);
        if (next < 0)
            next = size;
        std::memmove(data + write, data + read, size_t(next - read) * sizeof(char16_t));
        write += next - read;
        read = next;
    }
    text.truncate(write);
}

void DropFinalLineEnd(QString& text)
{
    if (text.endsWith(u'\n'))
        text.chop(1);
}

void ReplaceLoneSurrogates(QString& text)
{
    const qsizetype size = text.size();
    const char16_t* const probe = reinterpret_cast<const char16_t*>(text.constData());
    qsizetype i = 0;
    // Most texts hold no surrogate at all: look before detaching.
    while (i < size && (probe[i] & 0xF800) != 0xD800)
        ++i;
    if (i == size)
        return;
    char16_t* const data = reinterpret_cast<char16_t*>(text.data());
    for (; i < size; ++i) {
        const char16_t c = data[i];
        if ((c & 0xF800) != 0xD800)
            continue;
        if (c <= 0xDBFF && i + 1 < size && data[i + 1] >= 0xDC00 && data[i + 1] <= 0xDFFF) {
            ++i;
            continue;
        }
        data[i] = 0xFFFD;
    }
}
