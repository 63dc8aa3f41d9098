#include "platform/EscapedUtf8.h"

#include "platform/TextDecoding.h"

namespace {

constexpr char16_t EscapeBase = 0xDC00;

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

} // namespace

bool IsEscapedByteAt(QStringView text, qsizetype i)
{
    const char16_t c = text[i].unicode();
    return c >= EscapeBase + 0x80 && c <= EscapeBase + 0xFF &&
           !(i > 0 && text[i - 1].isHighSurrogate());
}

QString DecodeEscapedUtf8(QByteArrayView raw)
{
    bool ascii = true;
    for (char c : raw)
        ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    if (ascii)
        return QString::fromLatin1(raw);
    // Valid UTF-8, the usual case, goes through Qt's decoder; a U+FFFD may stand for a bad byte.
    QString valid = DecodeUtf8(raw);
    if (!valid.contains(QChar::ReplacementCharacter))
        return valid;
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

QByteArray EncodeEscapedUtf8(QStringView text)
{
    QByteArray bytes;
    bytes.reserve(text.size() * 3);
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!IsEscapedByteAt(text, i))
            continue;
        bytes.append(text.mid(start, i - start).toUtf8());
        bytes.append(char(text[i].unicode() - EscapeBase));
        start = i + 1;
    }
    bytes.append(text.mid(start).toUtf8());
    return bytes;
}
