// The variable-speed interval list. Properties: every kept interval is above 0, and a list
// written from positive intervals (with empty pieces, blanks before a number, signs and
// hexadecimal forms between them) reads back as those intervals in order, whatever else
// stands in the list.
#include "FuzzSupport.h"

#include "reader/SlideEngine.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    FuzzedDataProvider data(bytes, size);
    if (data.ConsumeBool()) {
        const QString text = FuzzText(data, 128, true);
        for (const int interval : ChangeReadIntervalsOf(text))
            FUZZ_CHECK(interval > 0);
        return 0;
    }
    QList<int> intervals;
    QStringList pieces;
    while (data.remaining_bytes() > 0 && pieces.size() < 64) {
        const int form = data.ConsumeIntegralInRange(0, 5);
        const int value = data.ConsumeIntegralInRange(1, std::numeric_limits<int>::max());
        switch (form) {
        case 0:
            pieces << QString::number(value);
            break;
        case 1:
            pieces << QStringLiteral("  +") + QString::number(value);
            break;
        case 2:
            pieces << QStringLiteral("$") + QString::number(value, 16);
            break;
        case 3:
            pieces << QStringLiteral("0X") + QString::number(value, 16).toUpper();
            break;
        case 4:
            // No interval: empty, zero, negative, a trailing blank, not a number.
            pieces << QStringList{QString(), QStringLiteral("0"), QStringLiteral("-5"),
                                  QStringLiteral("7 "), QStringLiteral("x")}[value % 5];
            continue;
        default:
            pieces << QStringLiteral("-") + QString::number(value) + QStringLiteral("-");
            continue;
        }
        intervals << value;
    }
    FUZZ_CHECK(ChangeReadIntervalsOf(pieces.join(u',')) == intervals);
    return 0;
}
