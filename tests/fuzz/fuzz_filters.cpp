// The file filters. Properties: cleaning a filter gives a non-empty list of "*." masks of more
// than two bytes (cleaning again may still change it: the pieces themselves are not trimmed); a
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
