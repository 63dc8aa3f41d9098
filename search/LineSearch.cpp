#include "search/LineSearch.h"

#include "common/StringFormats.h"
#include "search/ContentsEntry.h"
#include "search/SearchMessages.h"

namespace {

bool isAsciiCapital(QChar c)
{
    return c >= u'A' && c <= u'Z';
}

} // namespace

QString FoldSearchLetters(const QString& text)
{
    qsizetype first = 0;
    while (first < text.size() && !isAsciiCapital(text[first]))
        ++first;
    if (first == text.size())
        return text; // shared, no copy: most lines of a Japanese text hold no capital
    QString folded = text;
    QChar* data = folded.data();
    for (qsizetype i = first; i < folded.size(); ++i) {
        if (isAsciiCapital(data[i]))
            data[i] = QChar(data[i].unicode() + 0x20);
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
    const QStringMatcher folded(FoldSearchLetters(word));
    const int n = target.Lines ? target.Lines->count() : 0;
    if (n == 0) {
        ShowSearchMessage(target, QStringLiteral("テキストがありません。"),
                          SearchCaptions::Confirm);
        return TSearchEnd::NothingToSearch;
    }
    const int numberWidth = ContentsNumberWidth(n);
    if (target.SetCaption)
        target.SetCaption(QStringLiteral("文字列検索中"));
    const TSearchEnd end = ForEachSearchLine(target, [&](int i, const QString& line) {
        if (IndexOfOnBoundary(FoldSearchLetters(line), folded) >= 0)
            AddSearchEntry(target, TrimLeftString(line), i, numberWidth);
        return TLineVerdict::Next;
    });
    if (end == TSearchEnd::Failed)
        ShowSearchMessage(target, QStringLiteral("Find_Word Error"), SearchCaptions::Error);
    return end;
}
