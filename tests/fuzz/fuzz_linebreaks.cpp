// The line-break places of the reader's layout: the fast way, which answers pairs of common
// Japanese characters from a table and asks the finder only around the rest, gives exactly the
// finder's places over the whole text, whatever characters meet there.
#include "FuzzSupport.h"

#include "reader/LineBreaks.h"

namespace {

// Kanji, kana and the punctuation of the table, with the characters that end its stretches.
const char16_t JapaneseAlphabet[] = u"漢字読書かなアイっャーヽ々ゝ・。、「」『』（）！？…‥〜："
                                    u"　Ａ１\u3099\u200D\u2028";

QString LineText(FuzzedDataProvider& data, size_t maxChars)
{
    constexpr size_t japanese = sizeof JapaneseAlphabet / sizeof JapaneseAlphabet[0] - 1;
    QString text;
    for (size_t i = 0; i < maxChars && data.remaining_bytes() > 0; ++i) {
        const auto b = data.ConsumeIntegral<unsigned char>();
        if (b < 0x60)
            text += QChar(JapaneseAlphabet[b % japanese]);
        else if (b < 0xE0)
            text += QChar(b - 0x60);
        else
            text += QChar(data.ConsumeIntegral<char16_t>());
    }
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    FuzzedDataProvider data(bytes, size);
    const QString text = LineText(data, 256);
    std::vector<unsigned char> fast;
    std::vector<unsigned char> slow;
    FindLineBreaks(text, fast);
    FindLineBreaksSlowly(text, slow);
    FUZZ_CHECK(fast == slow);
    return 0;
}
