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

QStringView FoldSearchLetters(QStringView text, QString& scratch)
{
    qsizetype first = 0;
    while (first < text.size() && !isAsciiCapital(text[first]))
        ++first;
    if (first == text.size())
        return text; // most lines of a Japanese text hold no capital
    scratch = text.toString();
    QChar* data = scratch.data();
    for (qsizetype i = first; i < scratch.size(); ++i) {
        if (isAsciiCapital(data[i]))
            data[i] = QChar(data[i].unicode() + 0x20);
    }
    return scratch;
}

QString FoldSearchLetters(const QString& text)
{
    QString folded;
    FoldSearchLetters(text, folded);
    return folded.isNull() ? text : folded; // shared, no copy, when nothing was folded
}

TSearchEnd Find_Word(const QString& word, const TSearchTarget& target)
{
    if (word.isEmpty()) {
        ShowSearchMessage(target, QStringLiteral("検索する文字列がありません。"),
                          SearchCaptions::Confirm);
        return TSearchEnd::NothingToSearch;
    }
    const QString foldedWord = FoldSearchLetters(word);
    const TWordMatcher folded(foldedWord);
    // Folding turns capitals into the letters a to z; a word without them cannot match at a
    // folded letter, so its lines are searched as they are.
    const bool foldLines = std::any_of(foldedWord.begin(), foldedWord.end(),
                                       [](QChar c) { return c >= u'a' && c <= u'z'; });
    const int n = target.Lines ? target.Lines->count() : 0;
    if (n == 0) {
        ShowSearchMessage(target, QStringLiteral("テキストがありません。"),
                          SearchCaptions::Confirm);
        return TSearchEnd::NothingToSearch;
    }
    const int numberWidth = ContentsNumberWidth(n);
    if (target.SetCaption)
        target.SetCaption(QStringLiteral("文字列検索中"));
    QString scratch;
    const auto holdsWord = [&](QStringView text) {
        return IndexOfOnBoundary(foldLines ? FoldSearchLetters(text, scratch) : text, folded) >= 0;
    };
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
