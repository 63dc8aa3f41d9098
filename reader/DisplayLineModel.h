#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <QTextBoundaryFinder>
#include <algorithm>
#include <cstdint>
#include <functional>
#include <vector>

class TWordMatcher;

// Where the widths of characters come from: the text view's font in the program, a fixed table
// in tests. The model asks once per character of the first plane and keeps the answers until
// its next Relayout().
class TAdvanceSource
{
public:
    virtual ~TAdvanceSource() = default;
    // The advance of one character (a code point) in pixels. Tabs are not asked for.
    virtual qreal Advance(char32_t c) const = 0;
    // The distance between tab stops in pixels; a tab advances to the next multiple of it,
    // counted from the start of the display line.
    virtual qreal TabStopDistance() const { return 80; }
    // The right bearing of a character's glyph: negative when the glyph reaches past its
    // advance. A line must hold that overhang of its last glyph.
    virtual qreal RightBearing(char32_t) const { return 0; }
    // The font's smallest right bearing as the font states it (often less than the true one).
    // The overhang of a line's last glyph is only looked at when the line is within this
    // distance of the width, as the text view's layout does.
    virtual qreal MinimumRightBearing() const { return 0; }
    // Whether the font moves pairs of Latin characters closer or apart, and by how much: the
    // adjustment is added to the left one's advance.
    virtual bool Kerns() const { return false; }
    virtual qreal Kerning(char32_t /*left*/, char32_t /*right*/) const { return 0; }
    // The advance of a character with the combining marks after it: a font may draw the pair
    // as one composed glyph of its own width.
    virtual qreal ClusterAdvance(QStringView cluster) const;
    // Whether the font draws two Latin characters as one glyph (a ligature such as "fi"),
    // which a line never splits.
    virtual bool Ligature(char32_t /*left*/, char32_t /*right*/) const { return false; }
};

// The lines of the text view as it displays them: each paragraph wrapped greedily at the wrap
// width with the same rules as Qt's own text layout, so that the reader, the searches and the
// contents entries count the lines the user sees in the text view, which draws these lines.
//
// The rules: a line may break where the line-break algorithm allows it (QTextBoundaryFinder,
// Line mode); blanks after the last word of a line hang beyond the width and belong to that line;
// a tab advances to the next tab stop and does not hang; a word that does not fit an empty line
// is cut at character (grapheme) boundaries; an empty paragraph is one line. A line's text is
// what the text view's layout gives for it (QTextLine::textStart(), textLength()): it keeps the
// blanks that hang at its end.
//
// Widths are the font's advances with the kerning of Latin pairs, summed in 1/64 pixel as the
// layout sums them; the overhang of a line's last glyph counts where the layout counts it.
//
// Only where each line starts is kept, one integer a line, and each paragraph's first line.
// count() and line() cost a binary search; an edit re-lays the paragraphs it touched and shifts
// the line numbers of the rest. The break opportunities are found again at each layout: from
// small tables, that costs less than keeping them.
class TDisplayLineModel
{
public:
    // The source must outlive the model. A new model holds one empty paragraph, as an empty
    // text view holds one empty block (and shows one empty line).
    explicit TDisplayLineModel(const TAdvanceSource& advances);
    // Another source, for another font; takes effect at the next Relayout().
    void SetAdvances(const TAdvanceSource& advances);

    // The whole text, paragraphs separated by '\n' (as the text view's plain text is); it is
    // laid out at once.
    void SetText(const QString& text);
    void SetParagraphs(const QStringList& paragraphs);
    // A text just loaded into the text view, split where the view starts its blocks. The
    // paragraphs are pieces of the model's share of this text, not copies, and stay so until
    // they are edited. False, with nothing changed, when the split does not give the expected
    // number of paragraphs (a negative number expects none in particular).
    bool SetLoadedText(const QString& text, int expectedParagraphs);
    // Asked now and then while a whole text is laid out; false stops the layout, which leaves a
    // model of wrong line numbers to be thrown away (StoppedEarly() tells).
    void SetProgress(std::function<bool()> progress) { Progress = std::move(progress); }
    bool StoppedEarly() const { return Stopped; }
    // A paragraph more than four times this many UTF-16 units long is laid out a piece of about
    // this many units at a time; tests make the pieces small.
    void SetPieceUnits(int units) { PieceUnits = std::max(1, units); }
    // The wrap width in pixels; takes effect at the next Relayout().
    void SetWidth(qreal width);
    qreal Width() const { return WrapWidth; }
    // Lays out every paragraph again, after a change of width or font (the source's advances
    // are asked for afresh).
    void Relayout();

    // removedCount paragraphs from firstParagraph on were replaced by newParagraphs.
    void ParagraphsChanged(int firstParagraph, int removedCount, const QStringList& newParagraphs);

    int count() const { return FirstLine.back(); }
    // The text of display line i (0-based); empty for a line out of range.
    QString line(int i) const;
    // The same without a copy: valid until the model changes.
    QStringView lineView(int i) const;
    int paragraphOfLine(int i) const;
    int firstLineOfParagraph(int paragraph) const;
    // The paragraph of line i with its first line and its number of lines, in one step: the
    // string search asks for every paragraph of the text in turn.
    struct TSpan
    {
        int Paragraph = -1;
        int FirstLine = 0;
        int LineCount = 0;
    };
    TSpan spanOfLine(int i) const
    {
        const int p = paragraphOfLine(i);
        if (p < 0)
            return {};
        const int first = FirstLine[size_t(p)];
        return {p, first, FirstLine[size_t(p) + 1] - first};
    }
    int paragraphCount() const
    {
        return LoadedWhole ? int(PieceStart.size()) - 1 : int(Paragraphs.size());
    }
    // A view, valid until the model changes: the paragraphs of a loaded text are pieces of it,
    // which must not outlive it as strings of their own.
    QStringView paragraph(int i) const
    {
        return LoadedWhole ? LoadedPiece(i) : QStringView(Paragraphs.at(i));
    }
    // The first paragraph from first to last whose text holds the word on a character
    // boundary, or -1.
    int firstParagraphWith(const TWordMatcher& word, int first, int last) const;
    // Where display line i starts inside its paragraph, in UTF-16 units.
    int lineStartInParagraph(int i) const;
    // The display line that holds the character at offset (UTF-16 units) of the paragraph; a
    // paragraph or offset past the text gives the last line that exists.
    int lineAt(int paragraph, int offset) const;

private:
    using TLineStarts = std::vector<int32_t>;

    // Appends where the paragraph's lines start, 0 for the first.
    void LayOut(QStringView text, TLineStarts& starts) const;
    struct TMeasured
    {
        qint64 Total = 0;
        // A tab or a line separator: where it ends depends on where the line starts.
        bool Positional = false;
    };
    // Fills the advances of the units from from to to (and of a cluster reaching past to).
    TMeasured Measure(QStringView text, int from, int to) const;
    bool TakePiece(QStringView text, int start, int units) const;
    int LayOutLine(QStringView text, int start, bool anywhere) const;
    bool GraphemeStart(QStringView text, int start, int pos) const;
    static qint64 Fixed(qreal pixels);
    int CharAdvance(char32_t c) const;
    int MeasureAdvance(char32_t c) const;
    int32_t PairKerning(char16_t left, char16_t right) const;
    int32_t MeasureKerning(char16_t left, char16_t right) const;
    qint64 OverhangBefore(QStringView text, int pos) const;
    bool Ligated(const char16_t* s, int pos) const;
    bool KeepGoing() const;
    // Where the blocks of a loaded text start, and one more entry past its end.
    static std::vector<int32_t> StartsOfLoadedText(const QString& text);
    QStringView LoadedPiece(int p) const;
    // Before an edit: the paragraphs become a list of their own, still pieces of the loaded text.
    void MakeParagraphsOwn();

    const TAdvanceSource* Advances;
    std::function<bool()> Progress;
    mutable bool Stopped = false;
    qreal WrapWidth = 0;
    qint64 FixedWidth = 0;
    qint64 OverhangMargin = 0;
    bool Kerns = false;
    // The paragraphs once set or edited; none while LoadedWhole.
    QStringList Paragraphs;
    // The text last loaded, kept while paragraphs may be pieces of it; LoadedWhole while they
    // are all its pieces in order (no edit since). Its paragraphs are then known by where they
    // start alone: a text of ten million short lines is not held as ten million strings.
    QString Loaded;
    bool LoadedWhole = false;
    std::vector<int32_t> PieceStart;
    // Per display line where it starts inside its paragraph: one flat list of plain integers,
    // which a big text fills without an allocation per paragraph.
    TLineStarts LineStart;
    // FirstLine[p] is the first display line of paragraph p; FirstLine.back() is the line count.
    std::vector<int> FirstLine{0};
    // Scratch space for the paragraph being laid out, kept to spare allocations: advances per
    // UTF-16 unit in 1/64 pixel (a surrogate pair's on its first unit), the break opportunities
    // and the grapheme boundaries from the start of the line being cut (found only when needed).
    mutable std::vector<int32_t> UnitAdvance;
    // The scratch space of a very long paragraph holds one piece of it: UnitAdvance and
    // BreakBefore start at unit Base, and the opportunities hold up to Limit (the paragraph's
    // end for one laid out whole).
    int PieceUnits = 1 << 16;
    mutable int Base = 0;
    mutable int Limit = 0;
    // Advances and overhangs of the first plane in 1/64 pixel, as the source gave them.
    mutable std::vector<int32_t> AdvanceCache;
    mutable std::vector<int32_t> OverhangCache;
    mutable std::vector<int32_t> AsciiKerningCache;
    mutable std::vector<unsigned char> BreakBefore;
    mutable std::vector<unsigned char> GraphemeBefore;
    mutable int GraphemesFrom = -1;
    mutable int GraphemesEnd = 0;
    // The paragraph of the last line asked for.
    mutable int LastParagraph = 0;
};
