#include "platform/TextEncoding.h"

#include "platform/CodePages.h"
#include "platform/Cp932.h"
#include "platform/TextDecoding.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <iconv.h>
#include <optional>

namespace {

using TBytes = const unsigned char*;

// Steps over the next eight bytes when all of them are ASCII: most of a file is, and the
// scanners need to look closely only at the rest.
bool SkipAsciiWord(TBytes& p, TBytes end)
{
    if (end - p < 8)
        return false;
    std::uint64_t word;
    std::memcpy(&word, p, 8);
    if ((word & 0x8080808080808080ULL) != 0)
        return false;
    p += 8;
    return true;
}

bool StartsWith(QByteArrayView bytes, const char* prefix, qsizetype n)
{
    return bytes.size() >= n && std::memcmp(bytes.data(), prefix, static_cast<size_t>(n)) == 0;
}

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
    auto p = reinterpret_cast<TBytes>(bytes.data());
    const TBytes end = p + bytes.size();
    bool multiByte = false;
    while (p < end) {
        if (SkipAsciiWord(p, end))
            continue;
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

// How reading the bytes as EUC-JP went: whether every sequence was valid, how many two-byte
// characters it gave, and how many of them are kana (rows 4 and 5), which make up much of any
// Japanese prose.
struct TEucReading
{
    bool Valid = true;
    qsizetype Pairs = 0;
    qsizetype Kana = 0;
};

// EUC-JP: JIS X 0208 rows 1-8, 13 (the NEC symbols), 16-84 and the user rows 85-94 as two bytes
// A1-FE; half-width katakana after 8E; JIS X 0212 after 8F.
TEucReading ReadAsEucJp(QByteArrayView bytes)
{
    TEucReading reading;
    auto p = reinterpret_cast<TBytes>(bytes.data());
    const TBytes end = p + bytes.size();
    auto high = [](unsigned char b) { return b >= 0xA1 && b <= 0xFE; };
    while (p < end) {
        if (SkipAsciiWord(p, end))
            continue;
        const unsigned char b = *p;
        if (b < 0x80) {
            ++p;
        } else if (b == 0x8E) {
            if (end - p < 2 || p[1] < 0xA1 || p[1] > 0xDF)
                return TEucReading{false, 0, 0};
            p += 2;
        } else if (b == 0x8F) {
            if (end - p < 3 || !high(p[1]) || !high(p[2]))
                return TEucReading{false, 0, 0};
            p += 3;
        } else if (high(b)) {
            const bool unassignedRow = (b >= 0xA9 && b <= 0xAC) || b == 0xAE || b == 0xAF;
            if (end - p < 2 || !high(p[1]) || unassignedRow)
                return TEucReading{false, 0, 0};
            ++reading.Pairs;
            if (b == 0xA4 || b == 0xA5)
                ++reading.Kana;
            p += 2;
        } else {
            return TEucReading{false, 0, 0};
        }
    }
    return reading;
}

// CP932: ASCII and half-width katakana as single bytes, lead bytes 81-9F and E0-FC with trail
// bytes 40-7E and 80-FC.
bool ValidCp932(QByteArrayView bytes)
{
    auto p = reinterpret_cast<TBytes>(bytes.data());
    const TBytes end = p + bytes.size();
    while (p < end) {
        if (SkipAsciiWord(p, end))
            continue;
        const unsigned char b = *p;
        if (b < 0x80 || (b >= 0xA1 && b <= 0xDF)) {
            ++p;
        } else if ((b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC)) {
            if (end - p < 2 || p[1] < 0x40 || p[1] == 0x7F || p[1] > 0xFC)
                return false;
            p += 2;
        } else {
            return false;
        }
    }
    return true;
}

// Bytes valid in both: CP932 would show them as half-width katakana and kanji, EUC-JP as
// full-width characters. Kana are an eighth or more of the characters of Japanese prose read
// right, and rare in half-width katakana read as EUC-JP.
bool EucJpReadsBetter(const TEucReading& euc)
{
    return euc.Kana > 0 && euc.Kana * 8 >= euc.Pairs;
}

// Whether the high byte of a UTF-16 unit starts a block Japanese text draws on: ASCII and
// Latin-1, Greek and Cyrillic, punctuation, arrows and mathematical signs, box drawing and
// shapes, kana and CJK punctuation, enclosed signs and units, kanji, full-width forms.
constexpr std::array<bool, 256> JapaneseHighBytes = [] {
    std::array<bool, 256> table{};
    for (int b : {0x00, 0x03, 0x04, 0x20, 0x21, 0x22, 0x25, 0x26, 0x30, 0x32, 0x33, 0xFF})
        table[size_t(b)] = true;
    for (int b = 0x4E; b <= 0x9F; ++b)
        table[size_t(b)] = true;
    return table;
}();

// The share of the units whose high byte is one of Japanese text, in the byte order whose high
// bytes hold more NULs (ASCII and line ends have a NUL high byte; a NUL low byte is rare).
constexpr double Utf16Share = 0.9;

struct TUtf16Guess
{
    bool BigEndian = false;
    double Share = 0;
};

// The byte order whose high bytes hold more NULs, counted eight bytes at a time.
bool BigEndianByNuls(QByteArrayView bytes)
{
    auto p = reinterpret_cast<TBytes>(bytes.data());
    const qsizetype words = bytes.size() / 8;
    constexpr std::uint64_t Low7 = 0x7F7F7F7F7F7F7F7FULL;
    qsizetype even = 0;
    qsizetype odd = 0;
    for (qsizetype i = 0; i < words; ++i) {
        std::uint64_t w;
        std::memcpy(&w, p + 8 * i, 8);
        // The top bit of every byte that is zero, and of no other.
        const std::uint64_t zero = ~(((w & Low7) + Low7) | w | Low7);
        // Each byte of (zero >> 7) is 0 or 1; the multiplication sums them into the top byte.
        constexpr std::uint64_t Ones = 0x0101010101010101ULL;
        even += qsizetype((((zero & 0x0080008000800080ULL) >> 7) * Ones) >> 56);
        odd += qsizetype((((zero & 0x8000800080008000ULL) >> 7) * Ones) >> 56);
    }
    for (qsizetype i = words * 8; i < bytes.size(); ++i) {
        if (p[i] == 0)
            ++(i % 2 == 0 ? even : odd);
    }
    return even > odd;
}

// The units whose high byte is one of Japanese text.
template <bool BigEndian> qsizetype JapaneseUnits(QByteArrayView bytes)
{
    auto p = reinterpret_cast<TBytes>(bytes.data());
    const qsizetype units = bytes.size() / 2;
    qsizetype japanese = 0;
    for (qsizetype i = 0; i < units; ++i)
        japanese += JapaneseHighBytes[p[2 * i + (BigEndian ? 0 : 1)]];
    return japanese;
}

TUtf16Guess GuessUtf16(QByteArrayView bytes)
{
    TUtf16Guess guess;
    guess.BigEndian = BigEndianByNuls(bytes);
    const qsizetype units = bytes.size() / 2;
    const qsizetype japanese =
        guess.BigEndian ? JapaneseUnits<true>(bytes) : JapaneseUnits<false>(bytes);
    guess.Share = units == 0 ? 0 : double(japanese) / double(units);
    return guess;
}

// UTF-16 text nearly always holds a NUL byte: every line end and ASCII character has one.
bool HasNul(QByteArrayView bytes)
{
    return !bytes.isEmpty() && std::memchr(bytes.data(), 0, size_t(bytes.size())) != nullptr;
}

// UTF-16 without a byte-order mark: nearly every unit a character of Japanese text.
std::optional<TSourceEncoding> PlausibleUtf16(QByteArrayView bytes)
{
    if (bytes.size() < 2 || bytes.size() % 2 != 0)
        return std::nullopt;
    const TUtf16Guess guess = GuessUtf16(bytes);
    if (guess.Share < Utf16Share)
        return std::nullopt;
    return guess.BigEndian ? TSourceEncoding::Utf16Be : TSourceEncoding::Utf16Le;
}

// ISO-2022-JP turned into EUC-JP, which holds the same sets without the escapes: JIS X 0208
// (ESC $ @, ESC $ B) and JIS X 0212 (ESC $ ( D) as high bytes, half-width katakana
// (ESC ( I) after 8E, ASCII and JIS-Roman (ESC ( B, ESC ( J) as they are. A byte that breaks
// the rules becomes FF, which no EUC-JP decoder takes, so it is shown as U+FFFD.
struct TJisConversion
{
    QByteArray Euc;
    bool Valid = true;
    bool SwitchedToKanji = false;
};

TJisConversion JisToEucJp(QByteArrayView bytes)
{
    enum class TSet
    {
        Ascii,
        Jis0208,
        Jis0212,
        Katakana
    };
    TJisConversion result;
    result.Euc.reserve(bytes.size() + bytes.size() / 2);
    TSet set = TSet::Ascii;
    auto p = reinterpret_cast<TBytes>(bytes.data());
    const TBytes end = p + bytes.size();
    auto bad = [&result] {
        result.Valid = false;
        result.Euc.append(char(0xFF));
    };
    while (p < end) {
        const unsigned char b = *p;
        const qsizetype left = end - p;
        if (b == 0x1B) {
            if (left >= 3 && p[1] == '$' && (p[2] == '@' || p[2] == 'B')) {
                set = TSet::Jis0208;
                p += 3;
            } else if (left >= 4 && p[1] == '$' && p[2] == '(' && p[3] == 'D') {
                set = TSet::Jis0212;
                p += 4;
            } else if (left >= 3 && p[1] == '(' && (p[2] == 'B' || p[2] == 'J')) {
                set = TSet::Ascii;
                p += 3;
            } else if (left >= 3 && p[1] == '(' && p[2] == 'I') {
                set = TSet::Katakana;
                p += 3;
            } else {
                bad();
                ++p;
                continue;
            }
            result.SwitchedToKanji |= set == TSet::Jis0208 || set == TSet::Jis0212;
        } else if (b >= 0x80) {
            bad();
            ++p;
        } else if (b < 0x21 || b == 0x7F || set == TSet::Ascii) {
            // Line ends and blanks pass in every set; a writer that forgot to switch back
            // before the line end is common enough to forgive.
            result.Euc.append(char(b));
            ++p;
        } else if (set == TSet::Katakana) {
            if (b > 0x5F) {
                bad();
            } else {
                result.Euc.append(char(0x8E));
                result.Euc.append(char(b | 0x80));
            }
            ++p;
        } else if (left < 2 || p[1] < 0x21 || p[1] > 0x7E) {
            bad();
            ++p;
        } else {
            if (set == TSet::Jis0212)
                result.Euc.append(char(0x8F));
            result.Euc.append(char(b | 0x80));
            result.Euc.append(char(p[1] | 0x80));
            p += 2;
        }
    }
    return result;
}

bool LooksLikeJis(QByteArrayView bytes)
{
    if (!bytes.contains('\x1B'))
        return false;
    const TJisConversion conversion = JisToEucJp(bytes);
    return conversion.Valid && conversion.SwitchedToKanji;
}

QString DecodeUtf16(QByteArrayView bytes, bool bigEndian)
{
    const qsizetype units = bytes.size() / 2;
    const bool oddByte = bytes.size() % 2 != 0;
    QString out(units + (oddByte ? 1 : 0), Qt::Uninitialized);
    char16_t* dst = reinterpret_cast<char16_t*>(out.data());
    auto src = reinterpret_cast<TBytes>(bytes.data());
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

// The units of a decoded text in the blocks JapaneseHighBytes names, with comparisons the
// compiler can run many units at a time.
qsizetype JapaneseUnits(QStringView text)
{
    const char16_t* p = text.utf16();
    qsizetype japanese = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const unsigned hi = p[i] >> 8;
        japanese += (hi - 0x4Eu <= 0x9Fu - 0x4Eu) | (hi == 0) | (hi == 0x30) | (hi == 0xFF) |
                    (hi - 0x20u <= 2u) | (hi - 0x25u <= 1u) | (hi - 0x03u <= 1u) |
                    (hi - 0x32u <= 1u);
    }
    return japanese;
}

// EUC-JP through iconv's "EUC-JP-MS", which reads the NEC symbols of row 13 and maps the wave
// dash and its kin as CP932 does, so a text gives the same characters in both.
constexpr int EucJpCodePage = 51932;

QString DecodeEucJp(QByteArrayView bytes)
{
    QString text;
    TCodePageDecoder decoder;
    decoder.Decode(EucJpCodePage, bytes, text);
    return text;
}

QString DecodeRaw(QByteArrayView bytes, TSourceEncoding encoding)
{
    switch (encoding) {
    case TSourceEncoding::ShiftJis:
        return DecodeCp932(bytes);
    case TSourceEncoding::EucJp:
        return DecodeEucJp(bytes);
    case TSourceEncoding::Jis:
        return DecodeEucJp(JisToEucJp(bytes).Euc);
    case TSourceEncoding::Utf8:
        return DecodeUtf8(StartsWith(bytes, "\xEF\xBB\xBF", 3) ? bytes.sliced(3) : bytes);
    case TSourceEncoding::Utf16Le:
        return DecodeUtf16(StartsWith(bytes, "\xFF\xFE", 2) ? bytes.sliced(2) : bytes, false);
    case TSourceEncoding::Utf16Be:
        return DecodeUtf16(StartsWith(bytes, "\xFE\xFF", 2) ? bytes.sliced(2) : bytes, true);
    }
    return {};
}

// Bytes that are neither UTF-8 nor UTF-16.
TSourceEncoding DetectEucJpOrCp932(QByteArrayView bytes)
{
    const TEucReading euc = ReadAsEucJp(bytes);
    if (euc.Valid && (EucJpReadsBetter(euc) || !ValidCp932(bytes)))
        return TSourceEncoding::EucJp;
    return TSourceEncoding::ShiftJis;
}

TSourceEncoding DetectWithoutUtf8(QByteArrayView bytes)
{
    if (HasNul(bytes)) {
        if (const auto utf16 = PlausibleUtf16(bytes))
            return *utf16;
    }
    return DetectEucJpOrCp932(bytes);
}

TDetectedText Finished(QString text, TSourceEncoding encoding)
{
    NormalizeLineEnds(text);
    DropFinalLineEnd(text);
    return {std::move(text), encoding};
}

// UTF-16 without a byte-order mark, decoded in the order its NULs give while its units are
// weighed; nullopt when they are not those of Japanese text.
std::optional<TDetectedText> DecodePlausibleUtf16(QByteArrayView bytes)
{
    if (bytes.size() < 2 || bytes.size() % 2 != 0)
        return std::nullopt;
    const bool bigEndian = BigEndianByNuls(bytes);
    QString text = DecodeUtf16(bytes, bigEndian);
    if (double(JapaneseUnits(text)) < Utf16Share * double(text.size()))
        return std::nullopt;
    return Finished(std::move(text),
                    bigEndian ? TSourceEncoding::Utf16Be : TSourceEncoding::Utf16Le);
}

// Enough of the start to tell most files that are no UTF-8 at once, cut before a sequence.
QByteArrayView Utf8Probe(QByteArrayView bytes)
{
    qsizetype n = qMin<qsizetype>(bytes.size(), 64 * 1024);
    for (int back = 0; back < 3 && n > 0 && n < bytes.size() && IsContinuation(bytes[n]); ++back)
        --n;
    return bytes.first(n);
}

} // namespace

QString TextEncodingName(TSourceEncoding encoding)
{
    switch (encoding) {
    case TSourceEncoding::ShiftJis:
        return QStringLiteral("Shift-JIS");
    case TSourceEncoding::EucJp:
        return QStringLiteral("EUC-JP");
    case TSourceEncoding::Jis:
        return QStringLiteral("JIS");
    case TSourceEncoding::Utf8:
        return QStringLiteral("UTF-8");
    case TSourceEncoding::Utf16Le:
        return QStringLiteral("UTF-16LE");
    case TSourceEncoding::Utf16Be:
        return QStringLiteral("UTF-16BE");
    }
    return {};
}

TSourceEncoding DetectTextEncoding(QByteArrayView bytes)
{
    if (StartsWith(bytes, "\xEF\xBB\xBF", 3))
        return TSourceEncoding::Utf8;
    if (StartsWith(bytes, "\xFF\xFE", 2))
        return TSourceEncoding::Utf16Le;
    if (StartsWith(bytes, "\xFE\xFF", 2))
        return TSourceEncoding::Utf16Be;
    switch (ScanUtf8(bytes)) {
    case TUtf8Scan::Utf8:
        return TSourceEncoding::Utf8;
    case TUtf8Scan::Ascii:
        if (HasNul(bytes)) {
            if (const auto utf16 = PlausibleUtf16(bytes))
                return *utf16;
        }
        return LooksLikeJis(bytes) ? TSourceEncoding::Jis : TSourceEncoding::ShiftJis;
    case TUtf8Scan::Invalid:
        break;
    }
    return DetectWithoutUtf8(bytes);
}

QString DecodeTextAs(QByteArrayView bytes, TSourceEncoding encoding)
{
    QString text = DecodeRaw(bytes, encoding);
    NormalizeLineEnds(text);
    DropFinalLineEnd(text);
    return text;
}

QString JisX0213Character(int plane, int row, int cell)
{
    if (plane < 1 || plane > 2 || row < 1 || row > 94 || cell < 1 || cell > 94)
        return {};
    // EUC-JISX0213 puts plane 1 at row + A0, cell + A0, and plane 2 after the byte 8F.
    QByteArray euc;
    if (plane == 2)
        euc.append(char(0x8F));
    euc.append(char(0xA0 + row));
    euc.append(char(0xA0 + cell));
    iconv_t cd = iconv_open("UTF-16LE", "EUC-JISX0213");
    if (cd == reinterpret_cast<iconv_t>(-1))
        return {};
    char16_t out[8] = {};
    char* in = euc.data();
    size_t inLeft = size_t(euc.size());
    char* dst = reinterpret_cast<char*>(out);
    size_t dstLeft = sizeof(out);
    const size_t done = iconv(cd, &in, &inLeft, &dst, &dstLeft);
    // Combining sequences are held back until the input ends.
    const size_t flushed = done == size_t(-1) ? done : iconv(cd, nullptr, nullptr, &dst, &dstLeft);
    iconv_close(cd);
    if (done == size_t(-1) || flushed == size_t(-1) || inLeft != 0)
        return {};
    return QString::fromUtf16(out, qsizetype((sizeof(out) - dstLeft) / 2));
}

TDetectedText DecodeDetectedText(QByteArrayView bytes)
{
    if (StartsWith(bytes, "\xEF\xBB\xBF", 3) || StartsWith(bytes, "\xFF\xFE", 2) ||
        StartsWith(bytes, "\xFE\xFF", 2)) {
        const TSourceEncoding encoding = DetectTextEncoding(bytes);
        return {DecodeTextAs(bytes, encoding), encoding};
    }
    const bool nul = HasNul(bytes);
    const QByteArrayView probe = Utf8Probe(bytes);
    // UTF-16 whose start is ASCII looks like UTF-8 there: it is tried first, but valid UTF-8
    // with a multi-byte sequence stays UTF-8.
    if (nul && HasNul(probe)) {
        if (auto utf16 = DecodePlausibleUtf16(bytes); utf16 && ScanUtf8(bytes) != TUtf8Scan::Utf8)
            return std::move(*utf16);
    }
    if (ScanUtf8(probe) != TUtf8Scan::Invalid) {
        QString text = DecodeUtf8(bytes);
        // The decoder replaces every invalid sequence with U+FFFD; a text holding one may still
        // be valid (the character itself), which only the scan can tell.
        const bool valid =
            !text.contains(QChar::ReplacementCharacter) || ScanUtf8(bytes) != TUtf8Scan::Invalid;
        if (valid) {
            // Every multi-byte sequence gives fewer units than bytes.
            if (text.size() != bytes.size())
                return Finished(std::move(text), TSourceEncoding::Utf8);
            if (nul) {
                if (auto utf16 = DecodePlausibleUtf16(bytes))
                    return std::move(*utf16);
            }
            if (bytes.contains('\x1B')) {
                const TJisConversion jis = JisToEucJp(bytes);
                if (jis.Valid && jis.SwitchedToKanji)
                    return Finished(DecodeEucJp(jis.Euc), TSourceEncoding::Jis);
            }
            // ASCII reads the same in CP932.
            return Finished(std::move(text), TSourceEncoding::ShiftJis);
        }
    }
    if (nul) {
        if (auto utf16 = DecodePlausibleUtf16(bytes))
            return std::move(*utf16);
    }
    const TSourceEncoding encoding = DetectEucJpOrCp932(bytes);
    return {DecodeTextAs(bytes, encoding), encoding};
}
