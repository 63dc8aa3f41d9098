#include "search/SearchTarget.h"

#include "search/ContentsEntry.h"
#include "search/SearchMessages.h"

#include <exception>

TSearchEnd ForEachSearchLine(const TSearchTarget& target,
                             const std::function<TLineVerdict(int, QStringView)>& test)
{
    try {
        const int n = target.Lines->count();
        int remaining = n / 100 + 1;
        for (int i = 0; i < n; ++i) {
            if (i % 100 == 0) {
                if (target.Yield && !target.Yield())
                    return TSearchEnd::Cancelled;
                if (target.SetResearchCaption)
                    target.SetResearchCaption(QStringLiteral("残り= ") +
                                              QString::number(remaining));
                --remaining;
            }
            if (i >= target.Lines->count())
                return TSearchEnd::Failed;
            if (test(i, target.Lines->lineView(i)) == TLineVerdict::Stop)
                break;
        }
        return TSearchEnd::Finished;
    } catch (const std::exception&) {
        return TSearchEnd::Failed;
    }
}

qsizetype IndexOfOnBoundary(const QString& text, const QString& needle)
{
    return IndexOfOnBoundary(text, QStringMatcher(needle));
}

qsizetype IndexOfOnBoundary(QStringView text, const QStringMatcher& needle)
{
    if (needle.pattern().isEmpty())
        return -1;
    qsizetype from = 0;
    while (true) {
        const qsizetype at = needle.indexIn(text, from);
        if (at <= 0)
            return at;
        if (!(text[at].isLowSurrogate() && text[at - 1].isHighSurrogate()))
            return at;
        from = at + 1;
    }
}

void AddSearchEntry(const TSearchTarget& target, const QString& text, int i, int numberWidth)
{
    if (target.AddEntry)
        target.AddEntry(MakeContentsEntry(text, i + 1, numberWidth, target.LineForward));
}

void ShowSearchMessage(const TSearchTarget& target, const QString& text, const QString& caption)
{
    if (target.MessageBox)
        target.MessageBox(text, caption, 0);
    else
        SearchMessageBox(text, caption);
}
