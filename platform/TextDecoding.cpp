#include "platform/TextDecoding.h"

#include "platform/Cp932.h"

#include <QStringDecoder>

#include <cstdint>
#include <cstring>

namespace {

enum class TUtf8Scan
{
    Ascii,
    Utf8,
    Invalid
};

bool IsContinuation(unsigned char b)
{
    return (b & 0xC0) == 0x80;
}

// Strict UTF-8 (no overlong forms, no surrogates, nothing above U+10FFFF). Plain ASCII is
// skipped eight bytes at a time, since most of a file is ASCII or fails on its first
// non-ASCII byte.
TUtf8Scan ScanUtf8(QByteArrayView bytes)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const unsigned char* const end = p + bytes.size();
    bool multiByte = false;
    while (p < end) {
        if (end - p >= 8) {
            std::uint64_t word;
            std::memcpy(&word, p, 8);
            if ((word & 0x8080808080808080ULL) == 0) {
                p += 8;
                continue;
            }
        }
        const unsigned char b = *p;
        if (b < 0x80) {
            ++p;
            continue;
        }
        multiByte = true;
        const std::ptrdiff_t left = end - p;
        if (b >= 0xC2 && b <= 0xDF) {
            if (left < 2 || !IsContinuation(p[1]))
                return TUtf8Scan::Invalid;
            p += 2;
        } else if (b >= 0xE0 && b <= 0xEF) {
            if (left < 3 || !IsContinuation(p[1]) || !IsContinuation(p[2]))
                return TUtf8Scan::Invalid;
            if ((b == 0xE0 && p[1] < 0xA0) || (b == 0xED && p[1] > 0x9F))
                return TUtf8Scan::Invalid;
            p += 3;
        } else if (b >= 0xF0 && b <= 0xF4) {
            if (left < 4 || !IsContinuation(p[1]) || !IsContinuation(p[2]) || !IsContinuation(p[3]))
                return TUtf8Scan::Invalid;
            if ((b == 0xF0 && p[1] < 0x90) || (b == 0xF4 && p[1] > 0x8F))
                return TUtf8Scan::Invalid;
            p += 4;
        } else {
            return TUtf8Scan::Invalid;
        }
    }
    return multiByte ? TUtf8Scan::Utf8 : TUtf8Scan::Ascii;
}

QString DecodeUtf16(QByteArrayView bytes, bool bigEndian)
{
    const qsizetype units = bytes.size() / 2;
    const bool oddByte = bytes.size() % 2 != 0;
    QString out(units + (oddByte ? 1 : 0), Qt::Uninitialized);
    char16_t* dst = reinterpret_cast<char16_t*>(out.data());
    const auto* src = reinterpret_cast<const unsigned char*>(bytes.data());
    for (qsizetype i = 0; i < units; ++i) {
        const unsigned hi = src[2 * i + (bigEndian ? 0 : 1)];
        const unsigned lo = src[2 * i + (bigEndian ? 1 : 0)];
        dst[i] = static_cast<char16_t>(hi << 8 | lo);
    }
    // A file cut off in the middle of a unit.
    if (oddByte)
        dst[units] = 0xFFFD;
    ReplaceLoneSurrogates(out);
    return out;
}

bool StartsWith(QByteArrayView bytes, const char* prefix, qsizetype n)
{
    return bytes.size() >= n && std::memcmp(bytes.data(), prefix, static_cast<size_t>(n)) == 0;
}

} // namespace

QString DecodeUtf8(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless |
                                                       QStringConverter::Flag::ConvertInitialBom);
    return decoder.decode(bytes);
}

QString DecodeText(QByteArrayView bytes)
{
    QString text;
    if (StartsWith(bytes, "\xEF\xBB\xBF", 3)) {
        // Only the first mark is one; a second is a character of the text.
        text = DecodeUtf8(bytes.sliced(3));
    } else if (StartsWith(bytes, "\xFF\xFE", 2)) {
        text = DecodeUtf16(bytes.sliced(2), false);
    } else if (StartsWith(bytes, "\xFE\xFF", 2)) {
        text = DecodeUtf16(bytes.sliced(2), true);
    } else {
        switch (ScanUtf8(bytes)) {
        case TUtf8Scan::Ascii:
            // CP932 maps every byte below 0x80 to the same code point.
            text = QString::fromLatin1(bytes);
            break;
        case TUtf8Scan::Utf8:
            text = QString::fromUtf8(bytes);
            break;
        case TUtf8Scan::Invalid:
            text = DecodeCp932(bytes);
            break;
        }
    }
    NormalizeLineEnds(text);
    DropFinalLineEnd(text);
    return text;
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
