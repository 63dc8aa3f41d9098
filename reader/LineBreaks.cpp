#include "reader/LineBreaks.h"

#include <QTextBoundaryFinder>

#include <algorithm>
#include <array>

using namespace LineBreakClasses;

namespace {

struct TRange
{
    char16_t First;
    char16_t Last;
    TClass Class;
};

// Later entries win over earlier ones.
constexpr TRange Ranges[] = {
    {0x3400, 0x4DBF, Ideographic}, {0x4E00, 0x9FFF, Ideographic},
    {0xF900, 0xFAFF, Ideographic}, {0x3041, 0x3096, Ideographic},
    {0x30A1, 0x30FA, Ideographic}, {0x3006, 0x3007, Ideographic},
    {0xFF21, 0xFF3A, Ideographic}, {0xFF41, 0xFF5A, Ideographic},
    {0x3001, 0x3002, Closing},     {0x3009, 0x3009, Closing},
    {0x300B, 0x300B, Closing},     {0x300D, 0x300D, Closing},
    {0x300F, 0x300F, Closing},     {0x3011, 0x3011, Closing},
    {0x3015, 0x3015, Closing},     {0x3017, 0x3017, Closing},
    {0x3019, 0x3019, Closing},     {0x301B, 0x301B, Closing},
    {0xFF09, 0xFF09, Closing},     {0xFF0C, 0xFF0C, Closing},
    {0xFF0E, 0xFF0E, Closing},     {0x3008, 0x3008, Opening},
    {0x300A, 0x300A, Opening},     {0x300C, 0x300C, Opening},
    {0x300E, 0x300E, Opening},     {0x3010, 0x3010, Opening},
    {0x3014, 0x3014, Opening},     {0x3016, 0x3016, Opening},
    {0x3018, 0x3018, Opening},     {0x301A, 0x301A, Opening},
    {0xFF08, 0xFF08, Opening},     {0x3005, 0x3005, NonStarter},
    {0x301C, 0x301C, NonStarter},  {0x309B, 0x309E, NonStarter},
    {0x30FB, 0x30FB, NonStarter},  {0x30FD, 0x30FE, NonStarter},
    {0xFF1A, 0xFF1B, NonStarter},  {0x30FC, 0x30FC, SmallKana},
    {0xFF01, 0xFF01, Exclamation}, {0xFF1F, 0xFF1F, Exclamation},
    {0x2025, 0x2026, Inseparable}, {0x3000, 0x3000, IdeographicSpace},
    {u'A', u'Z', Alphabetic},      {u'a', u'z', Alphabetic},
    {u' ', u' ', Space},
};

constexpr char16_t SmallKanaList[] = {
    0x3041, 0x3043, 0x3045, 0x3047, 0x3049, 0x3063, 0x3083, 0x3085, 0x3087, 0x308E, 0x3095, 0x3096,
    0x30A1, 0x30A3, 0x30A5, 0x30A7, 0x30A9, 0x30C3, 0x30E3, 0x30E5, 0x30E7, 0x30EE, 0x30F5, 0x30F6};

using TClassTable = std::array<unsigned char, 0x10000>;

const TClassTable& Classes()
{
    static const TClassTable table = [] {
        TClassTable t{};
        for (const TRange& range : Ranges)
            std::fill(t.begin() + range.First, t.begin() + range.Last + 1, range.Class);
        // A stretch must end a run of Thai, say, whose breaks a dictionary finds over the
        // whole run: a character without a script of its own (unassigned, or common to all)
        // would join that run, so it cannot end a stretch.
        for (char32_t c = 0; c < 0x10000; ++c) {
            const QChar::Script script = QChar::script(c);
            if ((t[c] == Ideographic || t[c] == Alphabetic) &&
                (script == QChar::Script_Unknown || script == QChar::Script_Common ||
                 script == QChar::Script_Inherited))
                t[c] = Other;
        }
        for (const char16_t c : SmallKanaList)
            t[c] = SmallKana;
        return t;
    }();
    return table;
}

void MarkBoundaries(const char16_t* s, qsizetype n, unsigned char* before)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Line, reinterpret_cast<const QChar*>(s), n);
    for (qsizetype p = finder.toNextBoundary(); p >= 0; p = finder.toNextBoundary())
        before[p] = 1;
}

bool EndsStretch(unsigned char c)
{
    return c == Ideographic || c == Alphabetic;
}

using TPairs = std::array<std::array<unsigned char, Count>, Count>;

struct TPairTables
{
    // Whether a line may break between two characters of the table, as the finder says of the
    // two alone; and between a character and one after blanks.
    TPairs Next{};
    TPairs AfterSpaces{};
};

const TPairTables& Pairs()
{
    static const TPairTables tables = [] {
        TPairTables t;
        for (int a = 1; a < Count; ++a) {
            for (int b = 1; b < Count; ++b) {
                const char16_t left = Representative(TClass(a));
                const char16_t right = Representative(TClass(b));
                const char16_t two[] = {left, right};
                unsigned char found[4] = {};
                MarkBoundaries(two, 2, found);
                t.Next[size_t(a)][size_t(b)] = found[1];
                const char16_t spaced[] = {left, u' ', right};
                std::fill(std::begin(found), std::end(found), 0);
                MarkBoundaries(spaced, 3, found);
                t.AfterSpaces[size_t(a)][size_t(b)] = found[2];
            }
        }
        return t;
    }();
    return tables;
}

} // namespace

TClass LineBreakClasses::ClassOf(char16_t c)
{
    return TClass(Classes()[c]);
}

char16_t LineBreakClasses::Representative(TClass c)
{
    switch (c) {
    case Ideographic:
        return u'漢';
    case Closing:
        return u'。';
    case Opening:
        return u'「';
    case NonStarter:
        return u'々';
    case SmallKana:
        return u'っ';
    case Exclamation:
        return u'！';
    case Inseparable:
        return u'…';
    case IdeographicSpace:
        return u'\u3000';
    case Space:
        return u' ';
    default:
        return u'a';
    }
}

bool BreaksRestartAt(QStringView text, qsizetype k)
{
    const TClassTable& classes = Classes();
    return EndsStretch(classes[text[k].unicode()]) && classes[text[k - 1].unicode()] != Other;
}

void FindLineBreaksSlowly(QStringView text, std::vector<unsigned char>& before)
{
    before.assign(size_t(text.size()) + 1, 0);
    MarkBoundaries(reinterpret_cast<const char16_t*>(text.data()), text.size(), before.data());
}

void FindLineBreaks(QStringView text, std::vector<unsigned char>& before)
{
    const size_t n = size_t(text.size());
    before.assign(n + 1, 0);
    if (n == 0)
        return;
    const char16_t* s = reinterpret_cast<const char16_t*>(text.data());
    const TClassTable& classes = Classes();
    const TPairTables& pairs = Pairs();
    size_t i = 1;
    // The class of the last character that is not a blank, and whether blanks followed it.
    unsigned char a = classes[s[0]] == Space ? (unsigned char)Other : classes[s[0]];
    bool spaced = false;
    while (i < n) {
        const unsigned char b = classes[s[i]];
        if (a != Other && b != Other) {
            if (b == Space) {
                before[i] = pairs.Next[a][Space];
                spaced = true;
            } else {
                before[i] = spaced ? pairs.AfterSpaces[a][b] : pairs.Next[a][b];
                a = b;
                spaced = false;
            }
            ++i;
            continue;
        }
        // The stretch from the last kanji, kana or letter before this place to the first at or
        // after it; its own end is the paragraph's only when it reaches it. Both follow another
        // character of the table, so nothing before them (a joiner, a mark) still holds them;
        // and as the next stretch can start where this one ends, no character is looked at by
        // two stretches, whatever the text.
        const auto endsStretch = [&](size_t k) { return BreaksRestartAt(text, qsizetype(k)); };
        size_t first = i - 1;
        while (first > 0 && !endsStretch(first))
            --first;
        size_t last = i;
        while (last < n && !endsStretch(last))
            ++last;
        const size_t end = std::min(last + 1, n);
        std::fill(before.begin() + qsizetype(first) + 1, before.begin() + qsizetype(end) + 1, 0);
        MarkBoundaries(s + first, qsizetype(end - first), before.data() + first);
        if (end < n)
            before[end] = 0;
        i = end;
        a = classes[s[i - 1]];
        spaced = false;
    }
    before[n] = 1;
}
