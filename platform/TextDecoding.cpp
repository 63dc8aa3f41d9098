#include "platform/TextDecoding.h"

#include "platform/TextEncoding.h"

#include <QStringDecoder>

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
    const qsizetype first = QStringView(text).indexOf(u'\r');
    if (first < 0)
        return;
    char16_t* const data = reinterpret_cast<char16_t*>(text.data());
    const qsizetype size = text.size();
    qsizetype write = first;
    for (qsizetype read = first; read < size; ++read) {
        const char16_t c = data[read];
        if (c == u'\r') {
            data[write++] = u'\n';
            if (read + 1 < size && data[read + 1] == u'\n')
                ++read;
        } else {
            data[write++] = c;
        }
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
