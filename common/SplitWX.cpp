#include "common/SplitWX.h"

#include <new>

int TSplitWX::Split(const QString& text, const QString& delimiters)
{
    try {
        Pieces.clear();
        qsizetype start = 0;
        for (qsizetype i = 0; i < text.size(); ++i) {
            // Only whole characters cut: a delimiter is never half of a surrogate pair.
            if (delimiters.contains(text[i]) && !text[i].isSurrogate()) {
                Pieces.append(text.mid(start, i - start));
                start = i + 1;
            }
        }
        Pieces.append(text.mid(start));
        return int(Pieces.size());
    } catch (const std::bad_alloc&) {
        return 0;
    }
}
