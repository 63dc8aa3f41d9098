// Contents entries. Properties: an entry made for any line of any text, in either form, leads
// back to that line; switching the form twice gives the entries back when no text holds "=";
// any entry parses without harm, to a line inside the text or to a message; and a number
// written in decimal reads back.
#include "FuzzSupport.h"

#include "common/StringFormats.h"
#include "search/ContentsEntry.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    FuzzedDataProvider data(bytes, size);
    const int lineCount = data.ConsumeIntegralInRange(1, 2000000);
    const int lineNumber = data.ConsumeIntegralInRange(1, lineCount);
    const bool lineForward = data.ConsumeBool();
    const int number = data.ConsumeIntegral<int>();
    const QString raw = FuzzText(data, 64, true);
    const QString text = TrimLeftView(raw).toString();

    const int width = ContentsNumberWidth(lineCount);
    const QString entry = MakeContentsEntry(text, lineNumber, width, lineForward);
    const TContentsTarget target = ParseContentsEntry(entry, lineForward, lineCount);
    FUZZ_CHECK(target.Line == lineNumber - 1);

    const auto swapped = SwapContentsEntries({entry});
    FUZZ_CHECK(swapped.has_value());
    FUZZ_CHECK(ParseContentsEntry(swapped->front(), !lineForward, lineCount).Line ==
                   lineNumber - 1 ||
               text.contains(u'='));
    if (!text.contains(u'='))
        FUZZ_CHECK(SwapContentsEntries(*swapped) == QStringList{entry});

    const TContentsTarget any = ParseContentsEntry(raw, lineForward, lineCount);
    FUZZ_CHECK(any.Line ? (*any.Line >= 0 && *any.Line < lineCount) : !any.Message.isEmpty());

    FUZZ_CHECK(ParseContentsNumber(QString::number(number)) == number);
    FUZZ_CHECK(ParseContentsNumber(QStringLiteral("  ") + QString::number(number)) == number);
    FUZZ_CHECK(!ParseContentsNumber(QString::number(number) + u' '));
    return 0;
}
