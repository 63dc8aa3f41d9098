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
    const auto holdsWord = [&](QStringView text) { return IndexOfOnBoundary(text, folded) >= 0; };
    // A paragraph without the word has no line with it: its lines are passed over unseen. The
    // paragraph is looked at afresh after every turn, when the text may have changed.
    int spanEnd = 0;
    bool spanHoldsWord = true;
    bool spanIsOneLine = false;
    const auto afterParagraphWithout = [&](int i) {
        if (i >= spanEnd || i % 100 == 0) {
            const TLineSource::TParagraphSpan span = target.Lines->paragraphSpan(i);
            spanEnd = span.FirstLine + span.LineCount;
            spanIsOneLine = span.LineCount == 1;
            spanHoldsWord = holdsWord(span.Text);
        }
        return spanHoldsWord ? i : spanEnd;
    };
    const TSearchEnd end = ForEachSearchLine(
        target,
        [&](int i, QStringView line) {
            // A paragraph of one line is that line, and it was just searched.
            if (spanIsOneLine || holdsWord(line))
                AddSearchEntry(target, TrimLeftView(line), i, numberWidth);
            return TLineVerdict::Next;
        },
        afterParagraphWithout);
    if (end == TSearchEnd::Failed)
        ShowSearchMessage(target, QStringLiteral("Find_Word Error"), SearchCaptions::Error);
    return end;
}
