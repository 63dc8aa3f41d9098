// The string utilities and the integer reading. Properties: the pieces of a split put back
// with their delimiters give the text, none holds a delimiter, and their number is the
// delimiter count plus one; the letters of a text and its last character give the text, one
// whole character each; a left trim removes exactly the leading half- and full-width blanks; a
// padded number has the width and reads back; and an integer written in any of its forms reads
// back, while a blank after it makes it no number.
#include "FuzzSupport.h"

#include "common/SplitWX.h"
#include "common/StrToInt.h"
#include "common/StringFormats.h"
#include "common/StringToLetters.h"

namespace {

void Split(const QString& text, const QString& delimiters)
{
    TSplitWX splitter;
    const int count = splitter.Split(text, delimiters);
    FUZZ_CHECK(count == splitter.Pieces.size());
    QString joined;
    qsizetype cuts = 0;
    for (int i = 0; i < count; ++i) {
        for (const QChar c : splitter.Pieces[i])
            FUZZ_CHECK(!delimiters.contains(c) || c.isSurrogate());
        joined += splitter.Pieces[i];
        if (i + 1 < count) {
            FUZZ_CHECK(joined.size() < text.size());
            joined += text[joined.size()];
            ++cuts;
        }
    }
    FUZZ_CHECK(joined == text);
    FUZZ_CHECK(count == cuts + 1);
}

void Letters(const QString& text)
{
    QStringList letters;
    const int count = GetEach_Letter(text, letters);
    FUZZ_CHECK(count == letters.size());
    const QString joined = letters.join(QString());
    FUZZ_CHECK(text.startsWith(joined));
    const QStringView last = QStringView(text).sliced(joined.size());
    FUZZ_CHECK(text.isEmpty() || last.size() == 1 ||
               (last.size() == 2 && last[0].isHighSurrogate()));
    for (const QString& letter : letters)
        FUZZ_CHECK(letter.size() == 1 ||
                   (letter[0].isHighSurrogate() && letter[1].isLowSurrogate()));
}

void Trim(const QString& text)
{
    const QString trimmed = TrimLeftString(text);
    FUZZ_CHECK(text.endsWith(trimmed));
    FUZZ_CHECK(!trimmed.startsWith(u' ') && !trimmed.startsWith(QChar(0x3000)));
    for (const QChar c : QStringView(text).first(text.size() - trimmed.size()))
        FUZZ_CHECK(c == u' ' || c == QChar(0x3000));
}

void Numbers(int value, int extraWidth)
{
    const int digits =
        int(QString::number(qint64(value) < 0 ? -qint64(value) : qint64(value)).size());
    const QString padded = PadNumber(value, digits + extraWidth);
    FUZZ_CHECK(padded.size() == digits + extraWidth + (value < 0 ? 1 : 0));
    FUZZ_CHECK(StrToInt(padded) == value);

    FUZZ_CHECK(StrToInt(QString::number(value)) == value);
    FUZZ_CHECK(StrToInt(QStringLiteral("   ") + QString::number(value)) == value);
    const QString hex = QString::number(quint32(value), 16);
    FUZZ_CHECK(StrToInt(QStringLiteral("$") + hex) == value);
    FUZZ_CHECK(StrToInt(QStringLiteral("0x") + hex.toUpper()) == value);
    FUZZ_CHECK(!StrToInt(QString::number(value) + u' '));
    const qint64 tenfold = qint64(value) * 10 + (value < 0 ? -1 : 1);
    if (tenfold != qint64(int(tenfold)))
        FUZZ_CHECK(!StrToInt(QString::number(tenfold)));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    FuzzedDataProvider data(bytes, size);
    const int value = data.ConsumeIntegral<int>();
    const int extraWidth = data.ConsumeIntegralInRange(0, 12);
    const QString delimiters = FuzzText(data, 3, true);
    const QString text = FuzzText(data, 128, true);
    Split(text, delimiters);
    Letters(text);
    Trim(text);
    Numbers(value, extraWidth);
    // Whatever the text, reading it as an integer is harmless; one that reads also reads with
    // blanks before it.
    if (const auto number = StrToInt(text); number && !text.startsWith(u' '))
        FUZZ_CHECK(StrToInt(QStringLiteral(" ") + text) == number);
    return 0;
}
