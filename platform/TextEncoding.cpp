#include "platform/TextEncoding.h"

#include "platform/CodePages.h"
#include "platform/Cp932.h"
#include "platform/TextDecoding.h"

#include <cstdint>
#include <cstring>
#include <iconv.h>
#include <optional>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

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

// Whether bytes may start an EUC-JP text: JIS X 0208 rows 1-8, 13 (the NEC symbols), 16-84
// and the user rows 85-94 as two bytes A1-FE; half-width katakana after 8E; JIS X 0212 after
// 8F. A sequence cut off by the end of the bytes passes, since more may follow.
bool EucJpStart(QByteArrayView bytes)
{
    auto p = reinterpret_cast<TBytes>(bytes.data());
    const TBytes end = p + bytes.size();
    // The k-th byte of a sequence, when the bytes hold it, is from A1 to highest.
    auto trail = [&](int k, unsigned char highest) {
        return end - p <= k || (p[k] >= 0xA1 && p[k] <= highest);
    };
    while (p < end) {
        if (SkipAsciiWord(p, end))
            continue;
        const unsigned char b = *p;
        const bool unassignedRow = (b >= 0xA9 && b <= 0xAC) || b == 0xAE || b == 0xAF;
        std::ptrdiff_t length = 1;
        if (b == 0x8E) {
            if (!trail(1, 0xDF))
                return false;
            length = 2;
        } else if (b == 0x8F) {
            if (!trail(1, 0xFE) || !trail(2, 0xFE))
                return false;
            length = 3;
        } else if (b >= 0xA1 && b <= 0xFE && !unassignedRow) {
            if (!trail(1, 0xFE))
                return false;
            length = 2;
        } else if (b >= 0x80) {
            return false;
        }
        p += qMin(length, end - p);
    }
    return true;
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

// Sixteen bytes at a time, in the registers every target the program is built for has: the
// compiler turns each operation on them into one instruction where it can.
using TLanes = unsigned char __attribute__((vector_size(16)));
// A comparison's answer: -1 in a lane that passes, 0 elsewhere.
using TMask = signed char __attribute__((vector_size(16)));
// The same registers as eight UTF-16 units.
using TUnitLanes = unsigned short __attribute__((vector_size(16)));
using TUnitMask = short __attribute__((vector_size(16)));

TLanes LoadLanes(TBytes p)
{
    TLanes lanes;
    std::memcpy(&lanes, p, sizeof lanes);
    return lanes;
}

// Lanes whose byte lies in [Low, Low + Span]: shifted so that the range starts at -128, the
// test is one signed comparison.
template <int Low, int Span> TMask InRange(TLanes b)
{
    static_assert(Span >= 0 && Span < 255);
    return TMask(b + static_cast<unsigned char>(0x80 - Low)) <
           static_cast<signed char>(-128 + Span + 1);
}

// Whether a byte, as the high byte of a UTF-16 unit, starts a block Japanese text draws on:
// ASCII and Latin-1, Greek and Cyrillic, punctuation, arrows and mathematical signs, box drawing
// and shapes, kana and CJK punctuation, enclosed signs and units, kanji, surrogates (kanji
// beyond the first plane), full-width forms.
constexpr bool JapaneseHighByte(unsigned b)
{
    return b == 0x00 || b == 0x03 || b == 0x04 || (b >= 0x20 && b <= 0x22) || b == 0x25 ||
           b == 0x26 || b == 0x30 || b == 0x32 || b == 0x33 || (b >= 0x4E && b <= 0x9F) ||
           (b >= 0xD8 && b <= 0xDF) || b == 0xFF;
}

TMask JapaneseHighBytes(TLanes b)
{
    return (b == 0x00) | InRange<0x03, 0x01>(b) | InRange<0x20, 0x02>(b) | InRange<0x25, 0x01>(b) |
           (b == 0x30) | InRange<0x32, 0x01>(b) | InRange<0x4E, 0x9F - 0x4E>(b) |
           InRange<0xD8, 0x07>(b) | (b == 0xFF);
}

// The same set as two tables of 16, one for each half of the byte: a bit set in both entries
// places the byte in one of the ranges above, which processors with byte shuffles (AVX2) look
// up for 32 bytes at once.
struct TNibbleTables
{
    unsigned char High[16] = {};
    unsigned char Low[16] = {};
};

constexpr TNibbleTables JapaneseNibbles = [] {
    // The set as products of a range of high halves and a set of low halves, one bit each.
    constexpr struct
    {
        int HighFirst, HighLast;
        unsigned LowHalves; // bit n: low half n
    } products[] = {
        {0x0, 0x0, 0b0000'0000'0001'1001}, {0x2, 0x2, 0b0000'0000'0110'0111},
        {0x3, 0x3, 0b0000'0000'0000'1101}, {0x4, 0x4, 0b1100'0000'0000'0000},
        {0x5, 0x9, 0b1111'1111'1111'1111}, {0xD, 0xD, 0b1111'1111'0000'0000},
        {0xF, 0xF, 0b1000'0000'0000'0000},
    };
    TNibbleTables tables;
    for (int bit = 0; bit < 7; ++bit) {
        const auto& product = products[bit];
        for (int h = product.HighFirst; h <= product.HighLast; ++h)
            tables.High[h] |= static_cast<unsigned char>(1 << bit);
        for (int l = 0; l < 16; ++l) {
            if (product.LowHalves >> l & 1)
                tables.Low[l] |= static_cast<unsigned char>(1 << bit);
        }
    }
    return tables;
}();

static_assert(
    [] {
        for (unsigned b = 0; b < 256; ++b) {
            const bool looked = (JapaneseNibbles.High[b >> 4] & JapaneseNibbles.Low[b & 15]) != 0;
            if (looked != JapaneseHighByte(b))
                return false;
        }
        return true;
    }(),
    "the nibble tables hold the same bytes as JapaneseHighByte()");

// How many bytes at even and at odd positions pass a test. A unit's high byte is at the even
// position in big-endian order and at the odd one in little-endian order, so one pass weighs
// both orders.
struct TParityCounts
{
    qsizetype Even = 0;
    qsizetype Odd = 0;

    // Adds byte counters kept lane by lane, the lanes starting at an even position.
    template <class TVector> void AddLanes(const TVector& sums)
    {
        unsigned char lanes[sizeof(TVector)];
        std::memcpy(lanes, &sums, sizeof lanes);
        for (size_t lane = 0; lane < sizeof lanes; lane += 2) {
            Even += lanes[lane];
            Odd += lanes[lane + 1];
        }
    }
};

// The bytes read as UTF-16 units in both orders: high bytes of Japanese text, high bytes of
// the block of CJK punctuation, hiragana and katakana (30xx, much of any Japanese text), NULs.
struct TUtf16Evidence
{
    TParityCounts Japanese;
    TParityCounts Kana;
    TParityCounts Nul;
};

// A pass that weighs bytes as UTF-16 may decode them on the way: the units in one order, and
// whether any is a surrogate (most texts hold none, and then none needs checking).
struct TUtf16Output
{
    char16_t* Units = nullptr;
    bool BigEndian = false;
    bool Surrogates = false;
};

// The bytes from done (an even position) on, one at a time.
void WeighRest(QByteArrayView bytes, qsizetype done, TUtf16Evidence& evidence, TUtf16Output* output)
{
    auto p = reinterpret_cast<TBytes>(bytes.data());
    for (qsizetype i = done; i < bytes.size(); ++i) {
        auto count = [i](TParityCounts& counts, bool passes) {
            (i % 2 == 0 ? counts.Even : counts.Odd) += passes ? 1 : 0;
        };
        count(evidence.Japanese, JapaneseHighByte(p[i]));
        count(evidence.Kana, p[i] == 0x30);
        count(evidence.Nul, p[i] == 0);
        if (output && i % 2 == 1) {
            const unsigned high = output->BigEndian ? p[i - 1] : p[i];
            const unsigned low = output->BigEndian ? p[i] : p[i - 1];
            output->Units[i / 2] = static_cast<char16_t>(high << 8 | low);
            output->Surrogates |= (high & 0xF8) == 0xD8;
        }
    }
}

// Every lane counts to at most 255 before the counts are added up.
constexpr int RoundsPerSum = 255;

// Sixteen bytes at a time with the operations every target has.
qsizetype WeighPortably(QByteArrayView bytes, TUtf16Evidence& evidence, TUtf16Output* output)
{
    auto p = reinterpret_cast<TBytes>(bytes.data());
    const qsizetype size = bytes.size();
    constexpr qsizetype Width = sizeof(TLanes);
    const bool swap = output && output->BigEndian != (Q_BYTE_ORDER == Q_BIG_ENDIAN);
    TUnitMask surrogates{};
    qsizetype i = 0;
    while (size - i >= Width) {
        TLanes japanese{};
        TLanes kana{};
        TLanes nul{};
        // A passing lane is -1, 255 unsigned: subtracting it adds one.
        for (int round = 0; round < RoundsPerSum && size - i >= Width; ++round, i += Width) {
            const TLanes b = LoadLanes(p + i);
            japanese -= TLanes(JapaneseHighBytes(b));
            kana -= TLanes(b == 0x30);
            nul -= TLanes(b == 0);
            if (output) {
                TUnitLanes units;
                std::memcpy(&units, &b, sizeof units);
                if (swap)
                    units = TUnitLanes(units << 8 | units >> 8);
                std::memcpy(output->Units + i / 2, &units, sizeof units);
                surrogates |= TUnitMask((units & 0xF800) == 0xD800);
            }
        }
        evidence.Japanese.AddLanes(japanese);
        evidence.Kana.AddLanes(kana);
        evidence.Nul.AddLanes(nul);
    }
    if (output) {
        for (int lane = 0; lane < Width / 2; ++lane)
            output->Surrogates |= surrogates[lane] != 0;
    }
    return i;
}

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define QV_WEIGH_WITH_AVX2 1

// Thirty-two bytes at a time, each placed in the set by two table lookups.
[[gnu::target("avx2")]] qsizetype WeighWithAvx2(QByteArrayView bytes, TUtf16Evidence& evidence,
                                                TUtf16Output* output)
{
    auto p = reinterpret_cast<TBytes>(bytes.data());
    const qsizetype size = bytes.size();
    const __m256i high = _mm256_broadcastsi128_si256(
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(JapaneseNibbles.High)));
    const __m256i low = _mm256_broadcastsi128_si256(
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(JapaneseNibbles.Low)));
    const __m256i nibble = _mm256_set1_epi8(0x0F);
    const __m256i kanaByte = _mm256_set1_epi8(0x30);
    const __m256i zero = _mm256_setzero_si256();
    // Decoding: big-endian units have their two bytes swapped; a surrogate's high byte is
    // D8 to DF, in the lanes that hold high bytes.
    const bool swap = output && output->BigEndian;
    const __m256i swapBytes =
        _mm256_setr_epi8(1, 0, 3, 2, 5, 4, 7, 6, 9, 8, 11, 10, 13, 12, 15, 14, 1, 0, 3, 2, 5, 4, 7,
                         6, 9, 8, 11, 10, 13, 12, 15, 14);
    const __m256i surrogateBits = _mm256_set1_epi8(static_cast<char>(0xF8));
    const __m256i surrogateByte = _mm256_set1_epi8(static_cast<char>(0xD8));
    const __m256i highLanes = _mm256_set1_epi16(swap ? 0x00FF : static_cast<short>(0xFF00));
    __m256i surrogates = zero;
    constexpr qsizetype Width = 32;
    qsizetype i = 0;
    while (size - i >= Width) {
        __m256i japanese = zero;
        __m256i kana = zero;
        __m256i nul = zero;
        for (int round = 0; round < RoundsPerSum && size - i >= Width; ++round, i += Width) {
            const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + i));
            const __m256i classes = _mm256_and_si256(
                _mm256_shuffle_epi8(high, _mm256_and_si256(_mm256_srli_epi16(b, 4), nibble)),
                _mm256_shuffle_epi8(low, _mm256_and_si256(b, nibble)));
            japanese = _mm256_sub_epi8(japanese, _mm256_cmpgt_epi8(classes, zero));
            kana = _mm256_sub_epi8(kana, _mm256_cmpeq_epi8(b, kanaByte));
            nul = _mm256_sub_epi8(nul, _mm256_cmpeq_epi8(b, zero));
            if (output) {
                _mm256_storeu_si256(reinterpret_cast<__m256i*>(output->Units + i / 2),
                                    swap ? _mm256_shuffle_epi8(b, swapBytes) : b);
                const __m256i surrogate =
                    _mm256_cmpeq_epi8(_mm256_and_si256(b, surrogateBits), surrogateByte);
                surrogates = _mm256_or_si256(surrogates, _mm256_and_si256(surrogate, highLanes));
            }
        }
        evidence.Japanese.AddLanes(japanese);
        evidence.Kana.AddLanes(kana);
        evidence.Nul.AddLanes(nul);
    }
    if (output && !_mm256_testz_si256(surrogates, surrogates))
        output->Surrogates = true;
    return i;
}
#endif

// Weighs bytes as UTF-16 and, given an output, decodes them into it in the same pass.
TUtf16Evidence WeighUtf16(QByteArrayView bytes, TUtf16Output* output = nullptr)
{
    TUtf16Evidence evidence;
    qsizetype done = 0;
#ifdef QV_WEIGH_WITH_AVX2
    if (__builtin_cpu_supports("avx2"))
        done = WeighWithAvx2(bytes, evidence, output);
    else
#endif
        done = WeighPortably(bytes, evidence, output);
    WeighRest(bytes, done, evidence, output);
    return evidence;
}

bool HasNul(QByteArrayView bytes)
{
    return !bytes.isEmpty() && std::memchr(bytes.data(), 0, size_t(bytes.size())) != nullptr;
}

// Every surrogate in its pair.
bool PairedSurrogates(QByteArrayView bytes, bool bigEndian)
{
    auto p = reinterpret_cast<TBytes>(bytes.data());
    const qsizetype units = bytes.size() / 2;
    auto unit = [&](qsizetype i) {
        return unsigned(p[2 * i + (bigEndian ? 0 : 1)]) << 8 | p[2 * i + (bigEndian ? 1 : 0)];
    };
    for (qsizetype i = 0; i < units; ++i) {
        const unsigned u = unit(i);
        if (u < 0xD800 || u > 0xDFFF)
            continue;
        if (u > 0xDBFF || i + 1 == units || unit(i + 1) < 0xDC00 || unit(i + 1) > 0xDFFF)
            return false;
        ++i;
    }
    return true;
}

// The share of units of Japanese text that makes bytes UTF-16 in an order.
constexpr double Utf16Share = 0.9;

// Whether weighed bytes of even length are UTF-16, and in which order (true: big-endian): the
// order in which more units are characters of Japanese text, when nine in ten of them are. A
// NUL byte (every line end and ASCII character has one) is evidence enough beside that;
// without one the units must also pair every surrogate and hold an eighth or more from the
// kana block, which CP932 and EUC-JP read as UTF-16 never do: their lead bytes are no 30.
std::optional<bool> Utf16Order(const TUtf16Evidence& evidence, QByteArrayView bytes)
{
    const qsizetype units = bytes.size() / 2;
    const bool nul = evidence.Nul.Even + evidence.Nul.Odd > 0;
    const TParityCounts& japanese = evidence.Japanese;
    const bool bigEndian = japanese.Even > japanese.Odd;
    auto inOrder = [bigEndian](const TParityCounts& counts) {
        return bigEndian ? counts.Even : counts.Odd;
    };
    if (double(inOrder(japanese)) < Utf16Share * double(units))
        return std::nullopt;
    if (!nul && (inOrder(evidence.Kana) * 8 < units || !PairedSurrogates(bytes, bigEndian)))
        return std::nullopt;
    return bigEndian;
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

QString DecodeUtf16(QByteArrayView bytes, bool bigEndian)
{
    const qsizetype units = bytes.size() / 2;
    const bool oddByte = bytes.size() % 2 != 0;
    QString out(units + (oddByte ? 1 : 0), Qt::Uninitialized);
    char16_t* dst = reinterpret_cast<char16_t*>(out.data());
    auto src = reinterpret_cast<TBytes>(bytes.data());
    // Whether any unit is a surrogate, noted in the same loop (which the compiler runs many
    // units at a time): most texts hold none, and then none is lone.
    unsigned surrogates = 0;
    for (qsizetype i = 0; i < units; ++i) {
        const unsigned hi = src[2 * i + (bigEndian ? 0 : 1)];
        const unsigned lo = src[2 * i + (bigEndian ? 1 : 0)];
        dst[i] = static_cast<char16_t>(hi << 8 | lo);
        surrogates |= (hi & 0xF8) == 0xD8;
    }
    // A file cut off in the middle of a unit.
    if (oddByte)
        dst[units] = 0xFFFD;
    if (surrogates != 0)
        ReplaceLoneSurrogates(out);
    return out;
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

TDetectedText Finished(QString text, TSourceEncoding encoding)
{
    NormalizeLineEnds(text);
    DropFinalLineEnd(text);
    return {std::move(text), encoding};
}

// UTF-16 without a byte-order mark, as Utf16Order() tells over the whole file; ASCII without a
// NUL is no UTF-16. When the start already reads as UTF-16, the bytes are decoded in its order
// while they are weighed, in one pass; decoded again only should the whole file favour the
// other order.
std::optional<TDetectedText> ReadAsUtf16(QByteArrayView bytes, bool ascii)
{
    const qsizetype units = bytes.size() / 2;
    if (units == 0 || bytes.size() % 2 != 0 || (ascii && !HasNul(bytes)))
        return std::nullopt;
    const QByteArrayView start = bytes.first(qMin<qsizetype>(bytes.size(), 64 * 1024));
    const std::optional<bool> startOrder = Utf16Order(WeighUtf16(start), start);
    QString text;
    TUtf16Output output;
    if (startOrder) {
        text = QString(units, Qt::Uninitialized);
        output = {reinterpret_cast<char16_t*>(text.data()), *startOrder, false};
    }
    const TUtf16Evidence evidence = WeighUtf16(bytes, startOrder ? &output : nullptr);
    const std::optional<bool> bigEndian = Utf16Order(evidence, bytes);
    if (!bigEndian)
        return std::nullopt;
    if (startOrder != bigEndian)
        text = DecodeUtf16(bytes, *bigEndian);
    else if (output.Surrogates)
        ReplaceLoneSurrogates(text);
    return Finished(std::move(text),
                    *bigEndian ? TSourceEncoding::Utf16Be : TSourceEncoding::Utf16Le);
}

// What an EUC-JP decoding gave: units that show the bytes were no EUC-JP (U+FFFD for an invalid
// sequence, C1 controls for the lone bytes 80-9F iconv lets through), kana, and every unit
// beyond ASCII.
struct TEucCounts
{
    qsizetype Foreign = 0;
    qsizetype Kana = 0;
    qsizetype NonAscii = 0;
};

// Lanes whose unit lies in [Low, Low + Span], in one signed comparison as InRange() does.
template <int Low, int Span> TUnitMask UnitsInRange(TUnitLanes u)
{
    static_assert(Span >= 0 && Span < 0xFFFF);
    return TUnitMask(u + static_cast<unsigned short>(0x8000 - Low)) <
           static_cast<short>(-0x8000 + Span + 1);
}

TEucCounts CountEucText(QStringView text)
{
    const char16_t* p = text.utf16();
    const qsizetype size = text.size();
    constexpr qsizetype Width = sizeof(TUnitLanes) / 2;
    TEucCounts counts;
    qsizetype i = 0;
    while (size - i >= Width) {
        // Each lane counts to at most 65535 before it is added up; a passing lane is -1,
        // 65535 unsigned, and subtracting it adds one.
        TUnitLanes foreign{};
        TUnitLanes kana{};
        TUnitLanes nonAscii{};
        for (int round = 0; round < 65535 && size - i >= Width; ++round, i += Width) {
            TUnitLanes u;
            std::memcpy(&u, p + i, sizeof u);
            foreign -= TUnitLanes(UnitsInRange<0x80, 0x1F>(u) | TUnitMask(u == 0xFFFD));
            kana -= TUnitLanes(UnitsInRange<0x3041, 0x30FF - 0x3041>(u));
            nonAscii -= TUnitLanes(u >= 0x80);
        }
        for (int lane = 0; lane < Width; ++lane) {
            counts.Foreign += foreign[lane];
            counts.Kana += kana[lane];
            counts.NonAscii += nonAscii[lane];
        }
    }
    for (; i < size; ++i) {
        const char16_t u = p[i];
        counts.Foreign += (u >= 0x80 && u <= 0x9F) || u == 0xFFFD;
        counts.Kana += u >= 0x3041 && u <= 0x30FF;
        counts.NonAscii += u >= 0x80;
    }
    return counts;
}

// Bytes that are neither UTF-8 nor UTF-16: EUC-JP when all of them are EUC-JP and either they
// are no CP932 or, read as EUC-JP, kana are an eighth or more of the characters beyond ASCII,
// as in any Japanese prose (bytes valid in both that CP932 shows as half-width katakana and
// kanji give few kana as EUC-JP); CP932 otherwise.
TDetectedText DecodeEucJpOrCp932(QByteArrayView bytes)
{
    // CP932 text breaks the rules of EUC-JP within its first characters, mostly: told at once.
    if (EucJpStart(bytes.first(qMin<qsizetype>(bytes.size(), 64 * 1024)))) {
        QString text = DecodeEucJp(bytes);
        const TEucCounts counts = CountEucText(text);
        const bool readsWell = counts.Kana > 0 && counts.Kana * 8 >= counts.NonAscii;
        if (counts.Foreign == 0 && (readsWell || !ValidCp932(bytes)))
            return Finished(std::move(text), TSourceEncoding::EucJp);
    }
    return Finished(DecodeCp932(bytes), TSourceEncoding::ShiftJis);
}

// Enough of the start to tell most files that are no UTF-8 at once, cut before a sequence.
QByteArrayView Utf8Probe(QByteArrayView bytes)
{
    qsizetype n = qMin<qsizetype>(bytes.size(), 64 * 1024);
    for (int back = 0; back < 3 && n > 0 && n < bytes.size() && IsContinuation(bytes[n]); ++back)
        --n;
    return bytes.first(n);
}

// The bytes as UTF-8 over the whole file, with the text when it was decoded on the way.
struct TUtf8Reading
{
    TUtf8Scan Scan = TUtf8Scan::Invalid;
    std::optional<QString> Text;
};

TUtf8Reading ReadAsUtf8(QByteArrayView bytes)
{
    const QByteArrayView probe = Utf8Probe(bytes);
    if (ScanUtf8(probe) == TUtf8Scan::Invalid)
        return {};
    // NULs at the start are UTF-16 far more often than UTF-8, and UTF-16 fails the scan soon
    // after: decoding first would be wasted.
    if (HasNul(probe))
        return {ScanUtf8(bytes), std::nullopt};
    QString text = DecodeUtf8(bytes);
    // The decoder replaces every invalid sequence with U+FFFD; a text holding one may still be
    // valid (the character itself), which only the scan can tell.
    if (text.contains(QChar::ReplacementCharacter) && ScanUtf8(bytes) == TUtf8Scan::Invalid)
        return {};
    // Every multi-byte sequence gives fewer units than bytes.
    const TUtf8Scan scan = text.size() != bytes.size() ? TUtf8Scan::Utf8 : TUtf8Scan::Ascii;
    return {scan, std::move(text)};
}

std::optional<TSourceEncoding> MarkedEncoding(QByteArrayView bytes)
{
    if (StartsWith(bytes, "\xEF\xBB\xBF", 3))
        return TSourceEncoding::Utf8;
    if (StartsWith(bytes, "\xFF\xFE", 2))
        return TSourceEncoding::Utf16Le;
    if (StartsWith(bytes, "\xFE\xFF", 2))
        return TSourceEncoding::Utf16Be;
    return std::nullopt;
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
    return DecodeDetectedText(bytes).Encoding;
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
    if (const auto marked = MarkedEncoding(bytes))
        return {DecodeTextAs(bytes, *marked), *marked};
    TUtf8Reading utf8 = ReadAsUtf8(bytes);
    if (utf8.Scan == TUtf8Scan::Utf8)
        return Finished(utf8.Text ? std::move(*utf8.Text) : DecodeUtf8(bytes),
                        TSourceEncoding::Utf8);
    const bool ascii = utf8.Scan == TUtf8Scan::Ascii;
    if (auto utf16 = ReadAsUtf16(bytes, ascii))
        return std::move(*utf16);
    if (!ascii)
        return DecodeEucJpOrCp932(bytes);
    if (bytes.contains('\x1B')) {
        const TJisConversion jis = JisToEucJp(bytes);
        if (jis.Valid && jis.SwitchedToKanji)
            return Finished(DecodeEucJp(jis.Euc), TSourceEncoding::Jis);
    }
    // ASCII reads the same in CP932.
    return Finished(utf8.Text ? std::move(*utf8.Text) : DecodeCp932(bytes),
                    TSourceEncoding::ShiftJis);
}
