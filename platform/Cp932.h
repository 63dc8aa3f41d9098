#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <optional>

// CP932 (the Microsoft Shift-JIS table) through glibc iconv, in both directions.

// Decodes CP932 bytes. An invalid or truncated sequence becomes U+FFFD and decoding goes on with
// the next byte, so the rest of the text is kept.
QString DecodeCp932(QByteArrayView bytes);

// The same through iconv's own loop, the reference the decoder's tables are checked against.
QString DecodeCp932WithIconv(QByteArrayView bytes);

// Encodes to CP932; nullopt when a character has no CP932 form (nothing is dropped or replaced).
std::optional<QByteArray> EncodeCp932(QStringView text);

// The position (in UTF-16 units) of the first character CP932 cannot hold, or -1. Surrogates,
// paired or not, are such characters: CP932 has nothing outside the first plane.
qsizetype FirstNonCp932(QStringView text);

// Appends the CP932 bytes of the text, the same bytes EncodeCp932 gives; false, with out as it
// was, when the text holds a character CP932 cannot hold.
bool AppendCp932(QStringView text, QByteArray& out);

// The width of a character in CP932 bytes: 1 for ASCII and half-width katakana, 2 for every
// other character.
constexpr int Cp932Width(char32_t c)
{
    return (c < 0x80 || (c >= 0xFF61 && c <= 0xFF9F)) ? 1 : 2;
}

// The CP932 width of a whole text, counted by code points.
int Cp932Width(QStringView text);
