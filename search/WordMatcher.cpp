#include "search/WordMatcher.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// The first place find(from) gives that is not the second half of a surrogate pair.
template <typename Find> qsizetype firstOnBoundary(QStringView text, Find find)
{
    qsizetype from = 0;
    while (true) {
        const qsizetype at = find(from);
        if (at <= 0)
            return at;
        if (!(text[at].isLowSurrogate() && text[at - 1].isHighSurrogate()))
            return at;
        from = at + 1;
    }
}

} // namespace

TWordMatcher::TWordMatcher(const QString& word)
    : Word(word.utf16(), word.utf16() + word.size()), Fold(Word.size(), 0)
{
    for (size_t i = 0; i < Word.size(); ++i) {
        if (Word[i] >= u'a' && Word[i] <= u'z')
            Fold[i] = 0x20;
    }
}

bool TWordMatcher::MatchesAt(const char16_t* at) const
{
    for (size_t i = 0; i < Word.size(); ++i) {
        if (char16_t(at[i] | Fold[i]) != Word[i])
            return false;
    }
    return true;
}

qsizetype TWordMatcher::ScalarIndexIn(const char16_t* text, qsizetype from, qsizetype end) const
{
    const qsizetype lastAt = qsizetype(Word.size()) - 1;
    for (qsizetype i = from; i < end; ++i) {
        if (char16_t(text[i] | Fold.front()) == Word.front() &&
            char16_t(text[i + lastAt] | Fold.back()) == Word.back() && MatchesAt(text + i))
            return i;
    }
    return -1;
}

#if defined(__SSE2__)
namespace {

constexpr qsizetype Lanes = 8;

// The eight places from text on whose first and last units fit, two bits a place.
struct TEnds
{
    explicit TEnds(const std::vector<char16_t>& word, const std::vector<char16_t>& fold)
        : First(_mm_set1_epi16(short(word.front()))), Last(_mm_set1_epi16(short(word.back()))),
          FoldFirst(_mm_set1_epi16(short(fold.front()))),
          FoldLast(_mm_set1_epi16(short(fold.back()))), LastAt(qsizetype(word.size()) - 1)
    {}
    unsigned FitsAt(const char16_t* text) const
    {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + LastAt));
        return unsigned(
            _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi16(_mm_or_si128(a, FoldFirst), First),
                                            _mm_cmpeq_epi16(_mm_or_si128(b, FoldLast), Last))));
    }

    __m128i First, Last, FoldFirst, FoldLast;
    qsizetype LastAt;
};

} // namespace
#endif

qsizetype TWordMatcher::IndexIn(QStringView text, qsizetype from) const
{
    // The places a match can start: from up to and including n - m.
    const qsizetype end = text.size() - qsizetype(Word.size()) + 1;
    if (Word.empty() || from < 0 || from >= end)
        return -1;
    const char16_t* t = text.utf16();
#if defined(__SSE2__)
    if (end - from >= Lanes) {
        const TEnds ends(Word, Fold);
        const auto firstMatch = [&](qsizetype at, unsigned fits) -> qsizetype {
            for (; fits != 0; fits &= ~(3u << __builtin_ctz(fits))) {
                if (MatchesAt(t + at + __builtin_ctz(fits) / 2))
                    return at + __builtin_ctz(fits) / 2;
            }
            return -1;
        };
        qsizetype i = from;
        for (; i + Lanes <= end; i += Lanes) {
            if (const qsizetype found = firstMatch(i, ends.FitsAt(t + i)); found >= 0)
                return found;
        }
        if (i == end)
            return -1;
        // The last places, in a block that ends where the text does; those before i were seen.
        const qsizetype back = end - Lanes;
        return firstMatch(back, ends.FitsAt(t + back) & (~0u << (2 * (i - back))));
    }
#endif
    return ScalarIndexIn(t, from, end);
}

qsizetype IndexOfOnBoundary(const QString& text, const QString& needle)
{
    if (needle.isEmpty())
        return -1;
    return firstOnBoundary(text, [&](qsizetype from) { return text.indexOf(needle, from); });
}

qsizetype IndexOfOnBoundary(QStringView text, const TWordMatcher& needle)
{
    if (needle.IsEmpty())
        return -1;
    return firstOnBoundary(text, [&](qsizetype from) { return needle.IndexIn(text, from); });
}
