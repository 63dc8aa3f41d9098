#pragma once

#include <QStringView>
#include <vector>

// Where a line may break in a paragraph: before[i] is 1 when a line may start at UTF-16 unit i
// (0 < i <= text.size()), exactly the boundaries QTextBoundaryFinder gives in Line mode.
//
// The finder looks at every character's properties, its script and its neighbours, which makes
// it the costliest part of laying out a Japanese text. Between two characters of the common set
// (kanji, kana, the usual punctuation, Latin letters) the answer depends only on the two of
// them, and across blanks on the characters either side, so it comes from small tables. Around
// anything else the finder itself is asked, over the stretch between the nearest kanji, kana or
// letter on either side: such a character leaves the finder in the same state wherever the
// stretch starts, so the stretch gives the answers the whole paragraph would.
void FindLineBreaks(QStringView text, std::vector<unsigned char>& before);

// Whether unit k (0 < k < text.size()) starts a stretch of its own: the breaks after k that
// FindLineBreaks finds over the text from k on are those it finds over the whole text, and the
// breaks up to k found over the text up to any place after k are those of the whole text too.
// A long paragraph may be looked at in pieces between such places.
bool BreaksRestartAt(QStringView text, qsizetype k);

// The same from the finder over the whole paragraph: the reference the fast way must equal.
void FindLineBreaksSlowly(QStringView text, std::vector<unsigned char>& before);

// The character classes of the table, for the test that checks them against the finder.
namespace LineBreakClasses {
enum TClass : unsigned char
{
    Other,
    Ideographic, // kanji and kana: the stretches of the finder begin and end on these
    Closing,
    Opening,
    NonStarter,
    SmallKana,
    Exclamation,
    Inseparable,
    IdeographicSpace,
    Alphabetic, // Latin letters: like kanji, they end stretches
    Space,      // only after another character of the table
    Count
};
TClass ClassOf(char16_t c);
// A character of each class but Other.
char16_t Representative(TClass c);
} // namespace LineBreakClasses
