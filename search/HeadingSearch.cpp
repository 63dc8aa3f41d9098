#include "search/HeadingSearch.h"

#include "common/StringFormats.h"
#include "search/ContentsEntry.h"
#include "search/SearchMessages.h"

QStringList HeadingEntries(const TLineSource& lines, const std::vector<TAozoraHeading>& headings,
                           bool lineForward)
{
    QStringList entries;
    const int count = lines.count();
    const int numberWidth = ContentsNumberWidth(count);
    int paragraph = 0;
    int firstLine = 0;
    for (const TAozoraHeading& heading : headings) {
        // Paragraph by paragraph up to the heading's; the headings only move forward.
        while (paragraph < heading.Span.Paragraph && firstLine < count) {
            const TLineSource::TParagraphSpan span = lines.paragraphSpan(firstLine);
            firstLine = span.FirstLine + span.LineCount;
            ++paragraph;
        }
        if (firstLine >= count)
            break;
        const TLineSource::TParagraphSpan span = lines.paragraphSpan(firstLine);
        int line = span.FirstLine;
        int start = 0;
        for (; line < span.FirstLine + span.LineCount - 1; ++line) {
            start += int(lines.lineView(line).size());
            if (start > heading.Span.Start)
                break;
        }
        entries << MakeContentsEntry(TrimLeftView(heading.Text), line + 1, numberWidth,
                                     lineForward);
    }
    return entries;
}

void FindHeadings(TSearchPort& port, TSearchState& state,
                  const std::vector<TAozoraHeading>& headings)
{
    if (state.Searching)
        return;
    const QStringList entries = HeadingEntries(port.Lines(), headings, state.ContentsLineForward);
    port.BeginContentsUpdate();
    port.ClearContents();
    for (const QString& entry : entries)
        port.AddContentsEntry(entry);
    port.EndContentsUpdate();
    state.HeadingLines = ContentsLines(entries, state.ContentsLineForward, port.Lines().count());
    port.MessageBox(entries.isEmpty()
                        ? QStringLiteral("見出しは､見つかりませんでした。")
                        : QStringLiteral("見出しが､") + QString::number(entries.size()) +
                              QStringLiteral("件見つかりました。"),
                    SearchCaptions::Confirm, 0);
}
