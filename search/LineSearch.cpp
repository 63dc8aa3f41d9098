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
    QString scratch;
    const TSearchEnd end = ForEachSearchLine(target, [&](int i, QStringView line) {
        if (IndexOfOnBoundary(FoldSearchLetters(line, scratch), folded) >= 0)
            AddSearchEntry(target, TrimLeftString(line.toString()), i, numberWidth);
        return TLineVerdict::Next;
    });
    if (end == TSearchEnd::Failed)
        ShowSearchMessage(target, QStringLiteral("Find_Word Error"), SearchCaptions::Error);
    return end;
}
