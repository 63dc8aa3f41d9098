#pragma once

#include <QString>
#include <QStringView>
#include <vector>

// A word prepared once for searching many texts. Where the word has a letter a to z, the text
// may hold that letter or its capital; every other unit must be the same. With the word folded
// beforehand, this finds what folding the text's capitals would find, without copying the text.
//
// Candidates are the places where the word's first and last units both fit, eight places at a
// time with SSE2; only those are compared in full. Kana and kanji share their low bytes by the
// thousand, so this filter works on whole UTF-16 units.
class TWordMatcher
{
public:
    explicit TWordMatcher(const QString& word);
    bool IsEmpty() const { return Word.empty(); }
    qsizetype Size() const { return qsizetype(Word.size()); }
    // The first occurrence at or after from, or -1.
    qsizetype IndexIn(QStringView text, qsizetype from) const;

private:
    bool MatchesAt(const char16_t* at) const;
    qsizetype ScalarIndexIn(const char16_t* text, qsizetype from, qsizetype end) const;

    std::vector<char16_t> Word;
    // 0x20 where the word has a letter a to z: text | Fold == word there takes in the capital.
    std::vector<char16_t> Fold;
};

// The 0-based index of the first occurrence of needle in text that starts on a character
// boundary (never inside a surrogate pair), or -1.
qsizetype IndexOfOnBoundary(const QString& text, const QString& needle);
// The same with the needle prepared once for many texts.
qsizetype IndexOfOnBoundary(QStringView text, const TWordMatcher& needle);
