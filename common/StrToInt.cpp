#include "common/StrToInt.h"

#include <cstdint>

namespace {

int HexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

std::optional<int> ParseHex(QStringView digits, bool negative)
{
    if (digits.isEmpty())
        return std::nullopt;
    std::uint64_t value = 0;
    for (QChar c : digits) {
        const int d = HexDigit(c);
        if (d < 0)
            return std::nullopt;
        value = value * 16 + std::uint64_t(d);
        if (value > 0xFFFFFFFFu)
            return std::nullopt;
    }
    // Unsigned arithmetic keeps the wrap of the 32-bit pattern well defined.
    std::uint32_t pattern = std::uint32_t(value);
    if (negative)
        pattern = 0u - pattern;
    return std::int32_t(pattern);
}

std::optional<int> ParseDecimal(QStringView digits, bool negative)
{
    if (digits.isEmpty())
        return std::nullopt;
    const std::int64_t limit = negative ? 2147483648LL : 2147483647LL;
    std::int64_t value = 0;
    for (QChar c : digits) {
        const char16_t u = c.unicode();
        if (u < u'0' || u > u'9')
            return std::nullopt;
        value = value * 10 + (u - u'0');
        if (value > limit)
            return std::nullopt;
    }
    return int(negative ? -value : value);
}

} // namespace

std::optional<int> StrToInt(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i] == u' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    const QStringView rest = text.mid(i);
    if (rest.startsWith(u'$'))
        return ParseHex(rest.mid(1), negative);
    if (rest.startsWith(u"0x") || rest.startsWith(u"0X"))
        return ParseHex(rest.mid(2), negative);
    return ParseDecimal(rest, negative);
}
