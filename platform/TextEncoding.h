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

// The bytes of a file decoded in the encoding they are judged to be in, over the whole file:
// - a UTF-8 or UTF-16 byte-order mark decides;
// - bytes that are valid UTF-8 and hold a multi-byte sequence are UTF-8;
// - bytes of even length are UTF-16 in the byte order in which nine in ten units or more are
//   characters of Japanese text (ASCII, kana, kanji, punctuation, full-width forms and their
//   kin), when they hold a NUL byte (every line end and ASCII character in UTF-16 has one) or,
//   without one, when they are not all ASCII, pair every surrogate and an eighth of the units
//   or more are kana or CJK punctuation (which CP932 and EUC-JP read as UTF-16 never give);
// - seven-bit bytes that switch to a JIS X 0208 set with valid escape sequences are ISO-2022-JP;
// - bytes valid as EUC-JP that are no CP932, or that are CP932 too but give kana for an eighth
//   or more of their characters beyond ASCII when read as EUC-JP, are EUC-JP;
// - everything else, plain ASCII included, is CP932: the answer when in doubt.
// The checks are made while decoding where a decoding is needed anyway, so this costs little
// more than decoding. Invalid sequences become U+FFFD and line ends are normalized, as in
// DecodeTextAs().
struct TDetectedText
{
    QString Text;
    TSourceEncoding Encoding = TSourceEncoding::ShiftJis;
};
TDetectedText DecodeDetectedText(QByteArrayView bytes);

// The encoding DecodeDetectedText() reads the bytes in. It decodes them to tell.
TSourceEncoding DetectTextEncoding(QByteArrayView bytes);

// Decodes the bytes in the given encoding: a byte-order mark of that encoding is removed,
// invalid or truncated sequences become U+FFFD and the rest is kept, and line ends are
// normalized as DecodeText() does.
QString DecodeTextAs(QByteArrayView bytes, TSourceEncoding encoding);

// The character at plane-row-cell of JIS X 0213 (plane 1 or 2, row and cell 1 to 94), as
// glibc's "EUC-JISX0213" maps it; some cells are a base character with a combining mark. An
// empty string for a cell out of range or one the table leaves empty.
QString JisX0213Character(int plane, int row, int cell);
