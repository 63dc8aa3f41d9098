#pragma once

#include <QByteArrayView>
#include <QString>

// The encodings a Japanese text file arrives in, and how one is told from the others.

enum class TSourceEncoding
{
    ShiftJis, // CP932, the Microsoft table
    EucJp,
    Jis, // ISO-2022-JP
    Utf8,
    Utf16Le,
    Utf16Be,
};

// Every encoding, in the order the encoding menu lists them.
inline constexpr TSourceEncoding AllSourceEncodings[] = {
    TSourceEncoding::ShiftJis, TSourceEncoding::EucJp,   TSourceEncoding::Jis,
    TSourceEncoding::Utf8,     TSourceEncoding::Utf16Le, TSourceEncoding::Utf16Be,
};

// The name the menu shows ("Shift-JIS", "EUC-JP", "JIS", "UTF-8", "UTF-16LE", "UTF-16BE").
QString TextEncodingName(TSourceEncoding encoding);

// The encoding of a file's bytes, judged over the whole file:
// - a UTF-8 or UTF-16 byte-order mark decides;
// - bytes that are valid UTF-8 and hold a multi-byte sequence are UTF-8;
// - bytes holding a NUL (as every line end and ASCII character of UTF-16 does) whose 16-bit
//   units are nearly all characters of Japanese text (ASCII, kana, kanji, full-width forms) in
//   one byte order are UTF-16 in that order;
// - seven-bit bytes that switch to a JIS X 0208 set with valid escape sequences are ISO-2022-JP;
// - bytes valid as EUC-JP and not as CP932, or valid as both but holding more kana and kanji
//   read as EUC-JP than read as CP932, are EUC-JP;
// - everything else, plain ASCII included, is CP932: the answer when in doubt.
TSourceEncoding DetectTextEncoding(QByteArrayView bytes);

// The bytes decoded in the encoding DetectTextEncoding() finds, with that encoding; the checks
// that need a decoding anyway are made while decoding, so this costs little more than decoding.
struct TDetectedText
{
    QString Text;
    TSourceEncoding Encoding = TSourceEncoding::ShiftJis;
};
TDetectedText DecodeDetectedText(QByteArrayView bytes);

// Decodes the bytes in the given encoding: a byte-order mark of that encoding is removed,
// invalid or truncated sequences become U+FFFD and the rest is kept, and line ends are
// normalized as DecodeText() does.
QString DecodeTextAs(QByteArrayView bytes, TSourceEncoding encoding);

// The character at plane-row-cell of JIS X 0213 (plane 1 or 2, row and cell 1 to 94), as
// glibc's "EUC-JISX0213" maps it; some cells are a base character with a combining mark. An
// empty string for a cell out of range or one the table leaves empty.
QString JisX0213Character(int plane, int row, int cell);
