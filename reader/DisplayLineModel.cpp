#include "reader/DisplayLineModel.h"

#include "platform/BigBuffers.h"
#include "reader/LineBreaks.h"
#include "search/WordMatcher.h"

#include <QTextBoundaryFinder>
#include <algorithm>
#include <array>
#include <cmath>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include <limits>

namespace {

// Widths are summed in 1/64 pixel, as the text view's layout does, so that a line that fits
// exactly there fits exactly here too.
constexpr qint64 FixedScale = 64;
constexpr char32_t BmpSize = 0x10000;
// Fonts kern Latin letters and their punctuation; pairs beyond are not asked about.
constexpr char16_t KerningRange = 0x250;
// Pairs of ASCII characters, the most frequent by far, are kept in a table of their own.
constexpr char16_t AsciiEnd = 0x80;
constexpr int32_t NotMeasured = std::numeric_limits<int32_t>::min();
constexpr qint64 UnlimitedWidth = std::numeric_limits<qint64>::max() / 4;

// How many paragraphs, or lines of one paragraph, are laid out between two looks at the
// progress callback.
constexpr int ProgressEvery = 1024;
// How far past the place asked for the grapheme boundaries are found at once.
constexpr int GraphemeMargin = 256;
constexpr char16_t Tab = u'\t';
// What laying out a line gives when it reached the end of the piece of a long paragraph at hand.
constexpr int OutOfPiece = -1;
constexpr char16_t LineSeparator = 0x2028;

// Character classes of the first plane, looked up once per character of the text.
enum : unsigned char
{
    WordEnd = 1,      // a blank that ends a word (tabs and separators too; no-break spaces not)
    HangingSpace = 2, // a blank that hangs at the end of a line
    Positional = 4,   // a tab or a line separator
    HighSurrogate = 8,
    CommonMark = 16, // drawn with the character before it
};

// The combining marks that turn up in text: diacritics and the kana voicing marks.
bool IsCommonMark(char16_t c)
{
    return (c >= 0x0300 && c <= 0x036F) || (c >= 0x1AB0 && c <= 0x1AFF) ||
           (c >= 0x1DC0 && c <= 0x1DFF) || (c >= 0x20D0 && c <= 0x20FF) || c == 0x3099 ||
           c == 0x309A || (c >= 0xFE20 && c <= 0xFE2F);
}

const std::array<unsigned char, 0x10000>& ClassTable()
{
    static const std::array<unsigned char, 0x10000> table = [] {
        std::array<unsigned char, 0x10000> classes{};
        for (char32_t c = 0; c < 0x10000; ++c) {
            if (!QChar::isSpace(c) || QChar::decompositionTag(c) == QChar::NoBreak)
                continue;
            classes[c] = WordEnd;
            if (c != Tab && c != LineSeparator)
                classes[c] |= HangingSpace;
        }
        classes[Tab] |= Positional;
        classes[LineSeparator] |= Positional;
        for (char32_t c = 0; c < 0x10000; ++c) {
            if (QChar::isHighSurrogate(c))
                classes[c] |= HighSurrogate;
            if (IsCommonMark(char16_t(c)))
                classes[c] |= CommonMark;
        }
        return classes;
    }();
    return table;
}

// The state of one line while it is being filled: the committed part, the word that waits for
// a break opportunity and the blanks between them.
struct TLineState
{
    qint64 Width = 0;
    int Length = 0;
    qint64 WordWidth = 0;
    int WordLength = 0;
    qint64 SpaceWidth = 0;
    int SpaceLength = 0;
    qint64 WidthWithWord() const { return Width + WordWidth + SpaceWidth; }

    // True when the waiting word does not fit; otherwise it joins the line with its blanks.
    // wordOverhang counts only where the layout looks at it (see MinimumRightBearing).
    bool FullOtherwiseExtend(qint64 wrapWidth, qint64 wordOverhang = 0)
    {
        const qint64 widthWithWord = WidthWithWord();
        if (Length > 0 && widthWithWord + wordOverhang > wrapWidth)
            return true;
        Width = widthWithWord;
        Length += WordLength + SpaceLength;
        WordWidth = SpaceWidth = 0;
        WordLength = SpaceLength = 0;
        return false;
    }
};

// The text view starts a new block at a line feed, a carriage return, CR LF, a paragraph
// separator and the two marks a text document keeps at the start and end of a frame.
bool IsBlockEnd(char16_t c)
{
    return c == u'\n' || c == u'\r' || c == 0x2029 || c == 0xFDD0 || c == 0xFDD1;
}

// The first place from i on where a block ends, or n. Paragraphs are short and the text long:
// eight units are looked at in one step where the processor can.
qsizetype NextBlockEnd(const char16_t* s, qsizetype i, qsizetype n)
{
#if defined(__SSE2__)
    const __m128i lineFeed = _mm_set1_epi16(u'\n');
    const __m128i carriageReturn = _mm_set1_epi16(u'\r');
    const __m128i paragraphSeparator = _mm_set1_epi16(0x2029);
    // 0xFDD0 and 0xFDD1 both become 0xFDD1 with the lowest bit set.
    const __m128i frame = _mm_set1_epi16(short(0xFDD1));
    const __m128i lowestBit = _mm_set1_epi16(1);
    for (; i + 8 <= n; i += 8) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
        const __m128i ends = _mm_or_si128(
            _mm_or_si128(_mm_cmpeq_epi16(v, lineFeed), _mm_cmpeq_epi16(v, carriageReturn)),
            _mm_or_si128(_mm_cmpeq_epi16(v, paragraphSeparator),
                         _mm_cmpeq_epi16(_mm_or_si128(v, lowestBit), frame)));
        const int mask = _mm_movemask_epi8(ends);
        if (mask != 0)
            return i + __builtin_ctz(unsigned(mask)) / 2;
    }
#endif
    for (; i < n; ++i) {
        if (IsBlockEnd(s[i]))
            return i;
    }
    return n;
}

} // namespace

qreal TAdvanceSource::ClusterAdvance(QStringView cluster) const
{
    qreal advance = 0;
    for (const char32_t c : cluster.toUcs4())
        advance += Advance(c);
    return advance;
}

TDisplayLineModel::TDisplayLineModel(const TAdvanceSource& advances)
    : Advances(&advances), AdvanceCache(BmpSize, NotMeasured), OverhangCache(BmpSize, NotMeasured),
      AsciiKerningCache(AsciiEnd * AsciiEnd, NotMeasured)
{
    SetParagraphs({});
}

void TDisplayLineModel::SetAdvances(const TAdvanceSource& advances)
{
    Advances = &advances;
}

void TDisplayLineModel::SetText(const QString& text)
{
    SetParagraphs(text.split(u'\n'));
}

void TDisplayLineModel::SetParagraphs(const QStringList& paragraphs)
{
    Paragraphs = paragraphs;
    // Only now, with no piece of it left in Paragraphs, may the loaded text go.
    Loaded = QString();
    PieceStart = {};
    LoadedWhole = false;
    if (Paragraphs.isEmpty())
        Paragraphs.append(QString());
    Relayout();
}

bool TDisplayLineModel::SetLoadedText(const QString& text, int expectedParagraphs)
{
    std::vector<int32_t> starts = StartsOfLoadedText(text);
    if (expectedParagraphs >= 0 && qsizetype(starts.size()) - 1 != expectedParagraphs)
        return false;
    Loaded = text;
    PieceStart = std::move(starts);
    Paragraphs = QStringList();
    LoadedWhole = true;
    Relayout();
    return true;
}

std::vector<int32_t> TDisplayLineModel::StartsOfLoadedText(const QString& text)
{
    std::vector<int32_t> starts;
    // Line feeds end most paragraphs: counting them first spares the list its growing.
    starts.reserve(size_t(text.count(u'\n')) + 2);
    AdviseHugePages(starts.data(), starts.capacity() * sizeof(int32_t));
    const char16_t* s = reinterpret_cast<const char16_t*>(text.constData());
    const qsizetype n = text.size();
    starts.push_back(0);
    for (qsizetype i = NextBlockEnd(s, 0, n); i < n; i = NextBlockEnd(s, i + 1, n)) {
        if (s[i] == u'\r' && i + 1 < n && s[i + 1] == u'\n')
            ++i;
        starts.push_back(int32_t(i + 1));
    }
    // As if one more block end followed the text.
    starts.push_back(int32_t(n + 1));
    return starts;
}

QStringView TDisplayLineModel::LoadedPiece(int p) const
{
    const QStringView loaded(Loaded);
    const int start = PieceStart[size_t(p)];
    int end = PieceStart[size_t(p) + 1] - 1;
    // A block holds no carriage return: one just before its end is the start of CR LF.
    if (end > start && end < loaded.size() && loaded[end - 1] == u'\r')
        --end;
    return loaded.sliced(start, end - start);
}

void TDisplayLineModel::MakeParagraphsOwn()
{
    if (!LoadedWhole)
        return;
    const int count = paragraphCount();
    QStringList pieces;
    pieces.reserve(count);
    for (int p = 0; p < count; ++p) {
        const QStringView piece = LoadedPiece(p);
        // Pieces of the loaded text, which the model keeps as long as any piece may be left.
        pieces.append(QString::fromRawData(piece.data(), piece.size()));
    }
    Paragraphs = std::move(pieces);
    PieceStart = {};
    LoadedWhole = false;
}

void TDisplayLineModel::SetWidth(qreal width)
{
    WrapWidth = width;
    const qreal limit = qreal(UnlimitedWidth / FixedScale);
    FixedWidth = width >= limit ? UnlimitedWidth : Fixed(width);
}

void TDisplayLineModel::Relayout()
{
    // The font may have changed under the source: everything is measured again.
    std::fill(AdvanceCache.begin(), AdvanceCache.end(), NotMeasured);
    std::fill(OverhangCache.begin(), OverhangCache.end(), NotMeasured);
    std::fill(AsciiKerningCache.begin(), AsciiKerningCache.end(), NotMeasured);
    OverhangMargin = std::abs(Fixed(Advances->MinimumRightBearing()));
    Kerns = Advances->Kerns();
    const size_t paragraphs = size_t(paragraphCount());
    FirstLine.assign(paragraphs + 1, 0);
    AdviseHugePages(FirstLine.data(), FirstLine.size() * sizeof(int));
    // Most texts have fewer than two lines a paragraph; a longer one grows the list as it goes.
    LineStart.clear();
    LineStart.shrink_to_fit();
    LineStart.reserve(paragraphs * 2);
    AdviseHugePages(LineStart.data(), LineStart.capacity() * sizeof(int32_t));
    Stopped = false;
    size_t p = 0;
    for (; p < paragraphs; ++p) {
        if (p % ProgressEvery == 0 && !KeepGoing())
            break;
        FirstLine[p] = int(LineStart.size());
        LayOut(paragraph(int(p)), LineStart);
    }
    // A layout stopped on the way leaves the rest one line each, a model that is whole but wrong:
    // whoever stopped it throws it away.
    for (; p < paragraphs; ++p) {
        FirstLine[p] = int(LineStart.size());
        LineStart.push_back(0);
    }
    FirstLine.back() = int(LineStart.size());
}

bool TDisplayLineModel::KeepGoing() const
{
    if (!Stopped && Progress && !Progress())
        Stopped = true;
    return !Stopped;
}

void TDisplayLineModel::ParagraphsChanged(int firstParagraph, int removedCount,
                                          const QStringList& newParagraphs)
{
    const int total = paragraphCount();
    firstParagraph = std::clamp(firstParagraph, 0, total);
    removedCount = std::clamp(removedCount, 0, total - firstParagraph);
    const int added = int(newParagraphs.size());

    // From now on the paragraphs are no longer the loaded text in order.
    MakeParagraphsOwn();
    const int firstLine = FirstLine[firstParagraph];
    const int oldLines = FirstLine[firstParagraph + removedCount] - firstLine;
    TLineStarts starts;
    std::vector<int> firsts(size_t(added), firstLine);
    for (int k = 0; k < added; ++k) {
        firsts[size_t(k)] += int(starts.size());
        LayOut(newParagraphs[k], starts);
    }
    const int newLines = int(starts.size());

    // The lines of the replaced paragraphs are swapped for the new ones; the lines and first
    // lines after them move once.
    const auto lineAt = LineStart.begin() + firstLine;
    const int common = std::min(oldLines, newLines);
    std::copy(starts.begin(), starts.begin() + common, lineAt);
    if (oldLines > newLines)
        LineStart.erase(lineAt + common, lineAt + oldLines);
    else
        LineStart.insert(lineAt + common, starts.begin() + common, starts.end());

    for (int k = 0; k < std::min(removedCount, added); ++k)
        Paragraphs[firstParagraph + k] = newParagraphs[k];
    const int at = firstParagraph + std::min(removedCount, added);
    if (removedCount > added) {
        Paragraphs.remove(at, removedCount - added);
    } else if (added > removedCount) {
        Paragraphs.insert(at, added - removedCount, QString());
        for (int k = at - firstParagraph; k < added; ++k)
            Paragraphs[firstParagraph + k] = newParagraphs[k];
    }
    // The same for the first lines: an edit inside one paragraph moves none of them.
    const auto firstAt = FirstLine.begin() + firstParagraph;
    std::copy(firsts.begin(), firsts.begin() + std::min(removedCount, added), firstAt);
    if (removedCount > added)
        FirstLine.erase(firstAt + added, firstAt + removedCount);
    else
        FirstLine.insert(firstAt + removedCount, firsts.begin() + removedCount, firsts.end());
    const int delta = newLines - oldLines;
    for (size_t p = size_t(firstParagraph + added); delta != 0 && p < FirstLine.size(); ++p)
        FirstLine[p] += delta;
    if (Paragraphs.isEmpty()) {
        // The text view always keeps one block, so the model keeps one paragraph.
        Paragraphs.append(QString());
        LineStart.assign(1, 0);
        FirstLine = {0, 1};
    }
}

int TDisplayLineModel::paragraphOfLine(int i) const
{
    if (i < 0 || i >= count())
        return -1;
    // Lines are mostly asked for in order: the paragraph of the last one, or the next, is tried
    // before the search.
    const int last = LastParagraph;
    if (last + 1 < int(FirstLine.size()) && FirstLine[last] <= i) {
        if (i < FirstLine[last + 1])
            return last;
        if (last + 2 < int(FirstLine.size()) && i < FirstLine[last + 2])
            return LastParagraph = last + 1;
    }
    const auto it = std::upper_bound(FirstLine.begin(), FirstLine.end() - 1, i);
    return LastParagraph = int(it - FirstLine.begin()) - 1;
}

int TDisplayLineModel::firstParagraphWith(const TWordMatcher& word, int first, int last) const
{
    first = std::max(first, 0);
    last = std::min(last, paragraphCount() - 1);
    if (first > last || word.IsEmpty())
        return -1;
    if (!LoadedWhole) {
        for (int p = first; p <= last; ++p) {
            if (IndexOfOnBoundary(Paragraphs.at(p), word) >= 0)
                return p;
        }
        return -1;
    }
    // The paragraphs lie one after another in the loaded text, their breaks between them: one
    // search runs over all of them, and each place found is checked to lie inside a paragraph.
    const QStringView run =
        QStringView(Loaded).first(PieceStart[size_t(last)] + paragraph(last).size());
    const auto from = PieceStart.begin() + first;
    const auto to = PieceStart.begin() + last + 1;
    for (qsizetype at = PieceStart[size_t(first)]; (at = word.IndexIn(run, at)) >= 0; ++at) {
        const int p = int(std::upper_bound(from, to, at) - PieceStart.begin()) - 1;
        const qsizetype start = PieceStart[size_t(p)];
        if (at + word.Size() > start + paragraph(p).size())
            continue; // across a break, or inside one
        if (at > start && run[at].isLowSurrogate() && run[at - 1].isHighSurrogate())
            continue;
        return p;
    }
    return -1;
}

int TDisplayLineModel::firstLineOfParagraph(int paragraph) const
{
    if (paragraph < 0 || paragraph >= paragraphCount())
        return -1;
    return FirstLine[paragraph];
}

int TDisplayLineModel::lineStartInParagraph(int i) const
{
    const int p = paragraphOfLine(i);
    if (p < 0)
        return -1;
    return LineStart[size_t(i)];
}

int TDisplayLineModel::lineAt(int paragraph, int offset) const
{
    if (paragraph >= paragraphCount())
        return count() - 1;
    const int p = qMax(0, paragraph);
    // The first line starts at 0 whatever the offset; the later ones are searched.
    const auto first = LineStart.begin() + FirstLine[size_t(p)];
    const auto after =
        std::upper_bound(first + 1, LineStart.begin() + FirstLine[size_t(p) + 1], offset);
    return FirstLine[size_t(p)] + int(after - first) - 1;
}

QString TDisplayLineModel::line(int i) const
{
    return lineView(i).toString();
}

QStringView TDisplayLineModel::lineView(int i) const
{
    if (i < 0 || i >= count())
        return {};
    const int p = paragraphOfLine(i);
    const int start = LineStart[size_t(i)];
    const int end =
        i + 1 < FirstLine[size_t(p) + 1] ? LineStart[size_t(i) + 1] : int(paragraph(p).size());
    return paragraph(p).mid(start, end - start);
}

qint64 TDisplayLineModel::Fixed(qreal pixels)
{
    const qreal scaled = pixels * FixedScale;
    return qint64(scaled >= 0 ? scaled + 0.5 : scaled - 0.5);
}

// The cache answers nearly every character: the font is asked out of line, once each.
inline int TDisplayLineModel::CharAdvance(char32_t c) const
{
    if (c < BmpSize) {
        const int32_t cached = AdvanceCache[c];
        if (cached != NotMeasured) [[likely]]
            return cached;
    }
    return MeasureAdvance(c);
}

int TDisplayLineModel::MeasureAdvance(char32_t c) const
{
    const auto advance = int32_t(Fixed(Advances->Advance(c)));
    if (c < BmpSize)
        AdvanceCache[c] = advance;
    return advance;
}

inline int32_t TDisplayLineModel::PairKerning(char16_t left, char16_t right) const
{
    if (left < AsciiEnd && right < AsciiEnd) {
        const int32_t cached = AsciiKerningCache[left * AsciiEnd + right];
        if (cached != NotMeasured) [[likely]]
            return cached;
    }
    return MeasureKerning(left, right);
}

int32_t TDisplayLineModel::MeasureKerning(char16_t left, char16_t right) const
{
    const auto kerning = int32_t(Fixed(Advances->Kerning(left, right)));
    if (left < AsciiEnd && right < AsciiEnd)
        AsciiKerningCache[left * AsciiEnd + right] = kerning;
    return kerning;
}

bool TDisplayLineModel::Ligated(const char16_t* s, int pos) const
{
    return s[pos - 1] < KerningRange && s[pos] < KerningRange &&
           Advances->Ligature(s[pos - 1], s[pos]);
}

qint64 TDisplayLineModel::OverhangBefore(QStringView text, int pos) const
{
    if (pos <= 0)
        return 0;
    char32_t c = text.at(pos - 1).unicode();
    if (QChar::isLowSurrogate(c) && pos >= 2 && text.at(pos - 2).isHighSurrogate())
        c = QChar::surrogateToUcs4(text.at(pos - 2), text.at(pos - 1));
    if (c >= BmpSize)
        return std::max<qint64>(0, -Fixed(Advances->RightBearing(c)));
    int32_t& cached = OverhangCache[c];
    if (cached == NotMeasured)
        cached = int32_t(std::max<qint64>(0, -Fixed(Advances->RightBearing(c))));
    return cached;
}

// The grapheme boundaries from a line's start on: only a word wider than a line is cut between
// characters, and finding the boundaries of a whole long paragraph for it would cost as much as
// laying the paragraph out. They are found up to a little past the place asked for; the finder
// takes the end of what it is given for a boundary, so the last place is not known from it.
bool TDisplayLineModel::GraphemeStart(QStringView text, int start, int pos) const
{
    const int n = int(text.size());
    if (start != GraphemesFrom || (pos >= GraphemesEnd && GraphemesEnd < n)) {
        const int from = start == GraphemesFrom ? std::max(pos, GraphemesEnd) : pos;
        const int end = std::min(n, from + GraphemeMargin);
        GraphemeBefore.assign(size_t(end - start) + 1, 0);
        QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text.data() + start, end - start);
        for (qsizetype p = finder.toNextBoundary(); p >= 0; p = finder.toNextBoundary())
            GraphemeBefore[size_t(p)] = 1;
        GraphemesFrom = start;
        GraphemesEnd = end;
    }
    return GraphemeBefore[size_t(pos - start)];
}

TDisplayLineModel::TMeasured TDisplayLineModel::Measure(QStringView text, int from, int to) const
{
    const int n = int(text.size());
    const char16_t* s = reinterpret_cast<const char16_t*>(text.data());
    // One unit more: a surrogate pair or a cluster may reach past the end asked for.
    if (UnitAdvance.size() < size_t(to - Base) + 1)
        UnitAdvance.resize(size_t(to - Base) + 1);
    int32_t* advance = UnitAdvance.data();
    const int base = Base;
    const auto& classes = ClassTable();
    // The cache never moves; a local pointer and sum spare the loop reloading them around the
    // rare call that measures a character.
    const int32_t* cached = AdvanceCache.data();
    qint64 total = 0;
    bool positional = false;
    for (int i = from; i < to; ++i) {
        const char16_t c = s[i];
        const unsigned char at = classes[c];
        // A mark after the unit is drawn with it.
        const unsigned char after = i + 1 < n ? classes[s[i + 1]] : 0;
        if (at & Positional) {
            positional = true;
            advance[i - base] = 0;
        } else if ((at & HighSurrogate) && i + 1 < n && QChar::isLowSurrogate(s[i + 1])) {
            advance[i - base] = CharAdvance(QChar::surrogateToUcs4(c, s[i + 1]));
            advance[++i - base] = 0;
            total += advance[i - 1 - base];
        } else if (after & CommonMark) {
            int end = i + 1;
            while (end < n && IsCommonMark(s[end]))
                ++end;
            if (UnitAdvance.size() < size_t(end - Base)) {
                UnitAdvance.resize(size_t(end - Base));
                advance = UnitAdvance.data();
            }
            advance[i - base] =
                int32_t(Fixed(Advances->ClusterAdvance(QStringView(s + i, end - i))));
            total += advance[i - base];
            while (++i < end)
                advance[i - base] = 0;
            --i;
        } else {
            int32_t a = cached[c];
            if (a == NotMeasured) [[unlikely]]
                a = MeasureAdvance(c);
            if (Kerns && c < KerningRange && i + 1 < n && s[i + 1] < KerningRange &&
                s[i + 1] != Tab)
                a += PairKerning(c, s[i + 1]);
            advance[i - base] = a;
            total += a;
        }
    }
    return {total, positional};
}

// The next piece of a long paragraph for the line that starts at start: from the last place
// at or before it where the breaks may be found afresh, about units long, its breaks trusted up
// to the last such place inside it. False when no such place lies after start in it.
bool TDisplayLineModel::TakePiece(QStringView text, int start, int units) const
{
    const int n = int(text.size());
    int from = start;
    while (from > Base && !BreaksRestartAt(text, from))
        --from;
    const int to = int(std::min<qint64>(n, qint64(from) + units));
    int limit = n;
    if (to < n) {
        limit = to - 1;
        while (limit > start && !BreaksRestartAt(text, limit))
            --limit;
        if (limit <= start)
            return false;
    }
    Base = from;
    Limit = limit;
    Measure(text, from, to);
    FindLineBreaks(text.sliced(from, to - from), BreakBefore);
    return true;
}

void TDisplayLineModel::LayOut(QStringView text, TLineStarts& starts) const
{
    starts.push_back(0);
    const int n = int(text.size());
    if (n == 0)
        return;
    // A paragraph of normal length is measured and broken at once; a very long one a piece at a
    // time, so that its scratch space stays small.
    const bool inPieces = n / 4 > PieceUnits;
    Base = 0;
    Limit = n;
    int units = PieceUnits;
    if (!inPieces) {
        const TMeasured measured = Measure(text, 0, n);
        // Most paragraphs of short-lined texts fit, overhang and all: nothing can break them,
        // so the break finder, the costly part, is not needed.
        if (!measured.Positional && measured.Total + OverhangMargin <= FixedWidth)
            return;
        FindLineBreaks(text, BreakBefore);
    } else {
        while (!TakePiece(text, 0, units))
            units *= 2;
    }
    int start = 0;
    int lines = 1;
    // The line the piece at hand was taken for: a piece grown for a line is not given up for
    // a smaller one before the line is laid out.
    int takenFor = 0;
    for (;;) {
        if (Limit < n && start != takenFor && start + std::max(1, units / 16) > Limit) {
            units = PieceUnits;
            while (!TakePiece(text, start, units))
                units *= 2;
            takenFor = start;
        }
        const int laidOut = LayOutLine(text, start, false);
        if (laidOut == OutOfPiece) {
            // A line longer than the rest of the piece: a longer piece from the same place.
            do
                units *= 2;
            while (!TakePiece(text, start, units));
            takenFor = start;
            continue;
        }
        const int next = std::max(laidOut, start + 1);
        if (next >= n) {
            // A line separator at the very end opens one more, empty line.
            if (text.at(n - 1) == QChar(LineSeparator))
                starts.push_back(n);
            break;
        }
        starts.push_back(next);
        start = next;
        // One paragraph may be the whole of a long text.
        if (++lines % ProgressEvery == 0 && !KeepGoing())
            break;
    }
}

int TDisplayLineModel::LayOutLine(QStringView text, int start, bool anywhere) const
{
    const int n = int(text.size());
    const char16_t* s = reinterpret_cast<const char16_t*>(text.data());
    const qint64 width = FixedWidth;
    const auto& classes = ClassTable();
    // Locals, not members: the calls in the loop could change members, so these would be
    // loaded again after each.
    const int limit = Limit;
    const int32_t* advance = UnitAdvance.data();
    const unsigned char* breakBefore = BreakBefore.data();
    const int base = Base;
    TLineState line;
    int pos = start;
    bool found = false;
    while (pos < n && !found) {
        if (pos >= limit)
            return OutOfPiece;
        const char16_t c = s[pos];
        const unsigned char kind = classes[c];
        if (!(kind & (Positional | HangingSpace))) [[likely]] {
            bool opportunity = false;
            do {
                if (pos >= limit)
                    return OutOfPiece;
                line.WordWidth += advance[pos - base];
                ++line.WordLength;
                ++pos;
                if (pos >= n || (classes[s[pos]] & WordEnd) || breakBefore[pos - base]) {
                    opportunity = true;
                    break;
                }
                // Once the word is past the width its end no longer matters: the line ends
                // before it, or it is cut between characters. Scanning on to its end would make
                // a long unbreakable run cost the square of its length.
                if (!anywhere && line.WidthWithWord() > width) {
                    opportunity = true;
                    break;
                }
            } while (!(anywhere && GraphemeStart(text, start, pos) && !Ligated(s, pos)));
            if (opportunity || anywhere) {
                const bool near = line.WidthWithWord() + OverhangMargin > width;
                found = line.FullOtherwiseExtend(width, near ? OverhangBefore(text, pos) : 0);
            }
        } else if (c == Tab) {
            if ((found = line.FullOtherwiseExtend(width)))
                break;
            qint64 stop = Fixed(Advances->TabStopDistance());
            if (stop <= 0)
                stop = 80 * FixedScale;
            const qint64 x = line.Width + line.WordWidth + line.SpaceWidth;
            // The layout divides in 1/64 steps, rounding: a position less than 1/128 of a
            // stop before a stop counts as at it, and the tab goes on to the following one.
            const qint64 stops = (x * FixedScale + stop / 2) / stop / FixedScale;
            line.SpaceWidth += (stops + 1) * stop - x;
            ++line.SpaceLength;
            ++pos;
            found = line.FullOtherwiseExtend(width);
        } else if (c == LineSeparator) {
            // A forced break inside the paragraph: it ends the line whatever the width.
            line.Width += line.WordWidth;
            line.Length += line.WordLength + 1;
            line.WordWidth = line.WordLength = 0;
            ++pos;
            found = true;
        } else {
            while (pos < n && (classes[s[pos]] & HangingSpace)) {
                if (pos >= limit)
                    return OutOfPiece;
                line.SpaceWidth += advance[pos - base];
                ++line.SpaceLength;
                ++pos;
            }
            // Blanks wider than the whole line end it, even blanks that open the line, and what
            // lies beyond the width is not counted.
            if (line.SpaceWidth > width) {
                line.SpaceWidth = width;
                found = true;
            }
        }
    }
    if (!found)
        line.FullOtherwiseExtend(width);
    if (line.Length == 0) {
        line.Length = line.WordLength;
        line.Width = line.WordWidth;
    }
    // What reaches past the line is the glyph just before the next line, which is a blank
    // (reaching nowhere) when blanks hang at the end.
    const int next = start + line.Length + line.SpaceLength;
    if (!anywhere && line.Width + OverhangBefore(text, next) > width) {
        // A word wider than the line: this line is laid out again, cut between characters.
        GraphemesFrom = -1;
        return LayOutLine(text, start, true);
    }
    return next;
}
