// The file filters. Properties: cleaning a filter gives a non-empty list of "*." masks of more
// than two bytes and changes nothing when done again (unless its last piece ends in a blank); a
// mask list matches a name when one of its masks does; and the quick path for "*.ext" masks agrees
// with the general wildcard match
// ("**.ext" means the same and takes the general path).
#include "FuzzSupport.h"

#include "files/FileFilters.h"
#include "platform/Cp932.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    FuzzedDataProvider data(bytes, size);
    const QString extension = FuzzText(data, 8);
    const QString other = FuzzText(data, 8);
    const QString name = FuzzText(data, 32);
    QString filter = FuzzText(data, 64);

    NormalizeFilter(filter);
    FUZZ_CHECK(!filter.isEmpty());
    for (const QString& piece : filter.split(u';'))
        FUZZ_CHECK(piece.startsWith(u"*.") && Cp932Width(piece) > 2);
    // Only the ends of the whole text are trimmed, not the pieces: a piece that ends in a blank
    // and comes last is trimmed by the next cleaning, which is how the filter is meant to work.
    const auto padding = [](QChar c) { return c.unicode() <= 0x20 || c.unicode() == 0x7F; };
    if (!padding(filter.back())) {
        QString again = filter;
        NormalizeFilter(again);
        FUZZ_CHECK(again == filter);
    }

    if (extension.contains(u'*') || extension.contains(u'?') || extension.contains(u';'))
        return 0;
    const QString quick = QStringLiteral("*.") + extension;
    const QString general = QStringLiteral("**.") + extension;
    const bool matches = TFileMask(quick).Matches(name);
    FUZZ_CHECK(TFileMask(general).Matches(name) == matches);
    if (!other.contains(u';'))
        FUZZ_CHECK(TFileMask(other + u';' + quick).Matches(name) ==
                   (matches || TFileMask(other).Matches(name)));
    return 0;
}
