#include "search/LineSearch.h"

#include "common/StringFormats.h"
#include "search/ContentsEntry.h"
#include "search/SearchMessages.h"

#include <algorithm>

namespace {

bool isAsciiCapital(QChar c)
{
    return c >= u'A' && c <= u'Z';
}

} // namespace

QString FoldSearchLetters(const QString& text)
{
    QString folded = text;
    for (QChar& c : folded) {
        if (isAsciiCapital(c))
            c = QChar(c.unicode() + 0x20);
    }
    return folded;
}

TSearchEnd Find_Word(const QString& word, const TSearchTarget& target)
{
    if (word.isEmpty()) {
        ShowSearchMessage(target, QStringLiteral("検索する文字列がありません。"),
                          SearchCaptions::Confirm);
        return TSearchEnd::NothingToSearch;
    }
    // The word's capitals are folded here; the matcher takes in the text's capitals itself.
    const TWordMatcher folded(FoldSearchLetters(word));
    const int n = target.Lines ? target.Lines->count() : 0;
    if (n == 0) {
        ShowSearchMessage(target, QStringLiteral("テキストがありません。"),
                          SearchCaptions::Confirm);
        return TSearchEnd::NothingToSearch;
    }
    const int numberWidth = ContentsNumberWidth(n);
    if (target.SetCaption)
        target.SetCaption(QStringLiteral("文字列検索中"));
    // Only the paragraphs that hold the word have lines that can: the source is asked for the
    // next one, up to the next turn, and the lines before it are passed over unseen. After every
    // turn, when the text may have changed, it is asked afresh.
    TLineSource::TParagraphSpan found;
    int answeredUntil = 0;
    const auto nextLineToTest = [&](int i) {
        if (i >= answeredUntil || i % 100 == 0) {
            const int turnEnd = std::min(n, (i / 100 + 1) * 100);
            found = target.Lines->nextParagraphWith(folded, i, turnEnd);
            answeredUntil = found.LineCount > 0 ? found.FirstLine + found.LineCount : turnEnd;
        }
        return found.LineCount > 0 ? std::max(i, found.FirstLine) : answeredUntil;
    };
    const TSearchEnd end = ForEachSearchLine(
        target,
        [&](int i, QStringView line) {
            // A paragraph of one line is that line, and it holds the word.
            if (found.LineCount == 1 || IndexOfOnBoundary(line, folded) >= 0)
                AddSearchEntry(target, TrimLeftView(line), i, numberWidth);
            return TLineVerdict::Next;
        },
        nextLineToTest);
    if (end == TSearchEnd::Failed)
        ShowSearchMessage(target, QStringLiteral("Find_Word Error"), SearchCaptions::Error);
    return end;
}
