#include "search/LineSource.h"

#include "search/WordMatcher.h"

#include <algorithm>

TLineSource::TParagraphSpan TLineSource::nextParagraphWith(const TWordMatcher& word, int first,
                                                           int end) const
{
    end = std::min(end, count());
    for (int i = first; i < end;) {
        const TParagraphSpan span = paragraphSpan(i);
        if (IndexOfOnBoundary(span.Text, word) >= 0)
            return span;
        i = std::max(i + 1, span.FirstLine + span.LineCount);
    }
    return {{}, std::max(first, end), 0};
}
