#include "search/SearchTarget.h"

#include "search/ContentsEntry.h"
#include "search/SearchMessages.h"

#include <algorithm>

void TSearchTurns::Turn(const TSearchTarget& target)
{
    if (target.Yield && !target.Yield()) {
        Cancelled = true;
        return;
    }
    if (target.SetResearchCaption)
        target.SetResearchCaption(QStringLiteral("残り= ") + QString::number(Remaining));
    --Remaining;
    Available = target.Lines->count();
}

namespace {

// The first place find(from) gives that is not the second half of a surrogate pair.
template <typename Find> qsizetype firstOnBoundary(QStringView text, Find find)
{
    qsizetype from = 0;
    while (true) {
        const qsizetype at = find(from);
        if (at <= 0)
            return at;
        if (!(text[at].isLowSurrogate() && text[at - 1].isHighSurrogate()))
            return at;
        from = at + 1;
    }
}

} // namespace

TWordMatcher::TWordMatcher(const QString& word)
    : Word(word), Skip(0x10000, quint16(std::min<qsizetype>(word.size(), 0xFFFF)))
{
    const qsizetype m = Word.size();
    for (qsizetype i = 0; i + 1 < m; ++i)
        Skip[Word[i].unicode()] = quint16(std::min<qsizetype>(m - 1 - i, 0xFFFF));
}

qsizetype TWordMatcher::IndexIn(QStringView text, qsizetype from) const
{
    const qsizetype m = Word.size();
    const qsizetype n = text.size();
    if (m == 0)
        return -1;
    const char16_t* t = text.utf16();
    const char16_t* w = reinterpret_cast<const char16_t*>(Word.constData());
    const quint16* skip = Skip.data();
    const char16_t last = w[m - 1];
    for (qsizetype i = from; i + m <= n;) {
        const char16_t c = t[i + m - 1];
        if (c == last && std::equal(w, w + m - 1, t + i))
            return i;
        i += skip[c];
    }
    return -1;
}

qsizetype IndexOfOnBoundary(const QString& text, const QString& needle)
{
    if (needle.isEmpty())
        return -1;
    return firstOnBoundary(text, [&](qsizetype from) { return text.indexOf(needle, from); });
}

qsizetype IndexOfOnBoundary(QStringView text, const TWordMatcher& needle)
{
    if (needle.IsEmpty())
        return -1;
    return firstOnBoundary(text, [&](qsizetype from) { return needle.IndexIn(text, from); });
}

void AddSearchEntry(const TSearchTarget& target, QStringView text, int i, int numberWidth)
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
