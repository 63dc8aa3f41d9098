#pragma once

#include <QString>
#include <QStringView>
#include <vector>

// The notation of Aozora Bunko texts: ruby written inline ("｜東京《とうきょう》"), editorial
// notes in "［＃…］" (headings, emphasis, page breaks, characters outside JIS X 0208), and the
// "底本：" colophon. Formatting turns such a text into the text a reader wants to see, and
// keeps what the notes said beside it.

// Whether a text is written in the notation: ruby marks and notes, or the colophon.
bool HasAozoraNotation(QStringView text);

// How ruby is shown in the formatted text: as the base alone (the reader draws the reading
// above it, or nobody does), or as "base（reading）".
enum class TRubyStyle
{
    Above,
    Parenthesised,
    Hidden,
};

// A place in the formatted text: a paragraph (a line between two '\n') and a span in it, in
// UTF-16 units.
struct TAozoraSpan
{
    int Paragraph = 0;
    int Start = 0;
    int Length = 0;
};

struct TAozoraRuby
{
    TAozoraSpan Base;
    QString Reading;
};

struct TAozoraEmphasis
{
    enum class TKind
    {
        Dots, // 傍点 and its kinds
        Line, // 傍線 and its kinds
    };
    TAozoraSpan Span;
    TKind Kind = TKind::Dots;
};

struct TAozoraHeading
{
    TAozoraSpan Span;
    QString Text;
    int Level = 1; // 1 大見出し, 2 中見出し, 3 小見出し
};

struct TAozoraText
{
    QString Text;
    std::vector<TAozoraRuby> Rubies;
    std::vector<TAozoraEmphasis> Emphases;
    std::vector<TAozoraHeading> Headings;
};

// Formats a text (lines separated by '\n'):
// - ruby: "｜" marks where a base begins; without it the base is the run of kanji, or of one
//   script (hiragana, katakana, Latin letters and digits), before "《". The marks go; the
//   reading is kept as the style says;
// - notes "［＃…］" (nested ones included) never stay in the text. "※［＃…、第3水準1-85-25］"
//   and "※［＃…、U+5F45、…］" become the character they name (the "※" stays when the code
//   names none, or a control character, a line or paragraph separator or a noncharacter); headings
//   and emphasis are kept beside the text; a page break ("改ページ", "改丁", "改見開き", "改段")
//   ends the paragraph, and alone on its line leaves an empty line; a line that held nothing but
//   notes is left out;
// - the legend near the top that explains the marks ("【テキスト中に現れる記号について】"
//   between two rules of hyphens) is left out;
// - a "《" without its "》", a "［＃" without its "］" and a "｜" before no ruby are text.
TAozoraText FormatAozoraText(QStringView text, TRubyStyle style);
