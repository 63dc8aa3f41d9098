#include "search/ContentsEntry.h"

#include "common/StringFormats.h"
#include "search/SearchMessages.h"

#include <algorithm>
#include <limits>

int ContentsNumberWidth(int lineCount)
{
    return int(QString::number(lineCount).size());
}

QString MakeContentsEntry(QStringView text, int lineNumber, int numberWidth, bool lineForward)
{
    // Built in one piece: a search may make a million of them.
    QString entry;
    entry.reserve(text.size() + ContentsSeparator.size() + std::max(numberWidth, 10) + 1);
    if (lineForward) {
        AppendPadNumber(entry, lineNumber, numberWidth);
        entry += ContentsSeparator;
        entry += text;
    } else {
        entry += text;
        entry += ContentsSeparator;
        AppendPadNumber(entry, lineNumber, numberWidth);
    }
    return entry;
}

std::optional<int> ParseContentsNumber(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i] == u' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    if (i == text.size())
        return std::nullopt;
    qint64 magnitude = 0;
    const qint64 limit = qint64(std::numeric_limits<int>::max()) + (negative ? 1 : 0);
    for (; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return std::nullopt;
        magnitude = magnitude * 10 + (c - u'0');
        if (magnitude > limit)
            return std::nullopt;
    }
    return int(negative ? -magnitude : magnitude);
}

namespace {

TContentsTarget failure(const QString& message, const QString& caption)
{
    return {std::nullopt, message, caption};
}

} // namespace

TContentsTarget ParseContentsEntry(const QString& entry, bool lineForward, int lineCount)
{
    const qsizetype firstEquals = entry.indexOf(u'=');
    std::optional<int> number;
    if (lineForward) {
        const QStringView name =
            firstEquals < 0 ? QStringView() : QStringView(entry).left(firstEquals);
        number = ParseContentsNumber(name);
        if (!number)
            return failure(QStringLiteral("インデックスエラー"), SearchCaptions::Error);
    } else {
        if (firstEquals >= 0)
            number = ParseContentsNumber(QStringView(entry).mid(firstEquals + 1));
        if (!number) {
            // A text holding "=" puts the number after the last one.
            const qsizetype lastEquals = entry.lastIndexOf(u'=');
            if (lastEquals < 0)
                return failure(QStringLiteral("インデックスエラー(1)"), SearchCaptions::Confirm);
            number = ParseContentsNumber(QStringView(entry).mid(lastEquals + 1));
            if (!number)
                return failure(QStringLiteral("インデックスエラー(2)"), SearchCaptions::Error);
        }
    }
    const qint64 target = qint64(*number) - 1;
    if (target < 0 || target >= lineCount)
        return failure(QStringLiteral("インデックスエラー(3)"), SearchCaptions::Confirm);
    return {int(target), QString(), QString()};
}

QList<int> ContentsLines(const QStringList& entries, bool lineForward, int lineCount)
{
    QList<int> lines;
    lines.reserve(entries.size());
    for (const QString& entry : entries) {
        if (const std::optional<int> line = ParseContentsEntry(entry, lineForward, lineCount).Line)
            lines << *line;
    }
    std::sort(lines.begin(), lines.end());
    lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
    return lines;
}

std::optional<QStringList> SwapContentsEntries(const QStringList& entries)
{
    QStringList swapped;
    swapped.reserve(entries.size());
    for (const QString& entry : entries) {
        const qsizetype equals = entry.indexOf(u'=');
        // Without "=" the entry has no sides; switching it would only eat its first character.
        if (equals < 0)
            return std::nullopt;
        const QString name = entry.left(equals);
        // The character after "=" goes, a surrogate pair as a whole.
        qsizetype restStart = equals + 2;
        if (restStart < entry.size() && entry[equals + 1].isHighSurrogate() &&
            entry[restStart].isLowSurrogate())
            ++restStart;
        const QString rest = entry.mid(restStart);
        swapped.append(rest + ContentsSeparator + name);
    }
    return swapped;
}
