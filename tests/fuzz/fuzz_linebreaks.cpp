// The line-break places of the reader's layout: the fast way, which answers pairs of common
// Japanese characters from a table and asks the finder only around the rest, gives exactly the
// finder's places over the whole text, whatever characters meet there. And a paragraph laid out
// a few units at a time gives the lines it gives laid out whole.
#include "FuzzSupport.h"

#include "reader/DisplayLineModel.h"
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

// Widths without a font: narrow Latin, wide the rest; 'f' reaches past its advance.
class TSimpleAdvances : public TAdvanceSource
{
public:
    qreal Advance(char32_t c) const override { return c < 0x2E80 ? 7 : 13; }
    qreal RightBearing(char32_t c) const override { return c == U'f' ? -2 : 0; }
    qreal MinimumRightBearing() const override { return -2; }
    qreal TabStopDistance() const override { return 30; }
};

QStringList LinesOf(const TDisplayLineModel& model)
{
    QStringList lines;
    for (int i = 0; i < model.count(); ++i)
        lines.append(model.line(i));
    return lines;
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

    // Made once: a model's caches are too large to make for every input.
    static const TSimpleAdvances advances;
    static TDisplayLineModel whole(advances);
    static TDisplayLineModel pieces(advances);
    pieces.SetPieceUnits(1 + int(size % 8));
    for (TDisplayLineModel* model : {&whole, &pieces}) {
        model->SetWidth(qreal(1 + text.size() % 97));
        model->SetParagraphs({text});
    }
    FUZZ_CHECK(LinesOf(pieces) == LinesOf(whole));
    return 0;
}
