#include "common/StringToLetters.h"

#include "common/Notices.h"

#include <new>

namespace {

// The length of the character that starts at i: a surrogate pair is one character.
qsizetype characterLength(const QString& text, qsizetype i)
{
    return (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) ? 2
                                                                                              : 1;
}

} // namespace

int GetEach_Letter(const QString& text, QStringList& letters)
{
    try {
        letters.clear();
        qsizetype i = 0;
        while (i < text.size()) {
            const qsizetype length = characterLength(text, i);
            if (i + length >= text.size())
                break; // the last character is the caller's sentinel
            letters.append(text.mid(i, length));
            i += length;
        }
        return int(letters.size());
    } catch (const std::bad_alloc&) {
        PlainNotice(QStringLiteral("GetEach_Letter Error"));
        return 0;
    }
}
