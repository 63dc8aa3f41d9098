// Decoding text files. Any bytes: every line end (CR LF, LF, CR) of a file read as CP932 or UTF-8
// is one line break of the text, the last one dropped; the CP932 table decoder agrees with iconv;
// and the text decoded from CP932 (without U+FFFD) encodes back and decodes to itself. A text
// saved as UTF-8 with a BOM, as UTF-16 LE or BE with a BOM, or as UTF-8 without one reads back
// as the same lines.
#include "FuzzSupport.h"

#include "platform/Cp932.h"
#include "platform/TextDecoding.h"
#include "platform/TextEncoding.h"

namespace {

// The line ends of bytes in which CR and LF are never part of another character.
qsizetype LineEnds(QByteArrayView bytes, bool& last)
{
    qsizetype count = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' || bytes[i] == '\n') {
            ++count;
            if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
            last = i + 1 == bytes.size();
        }
    }
    return count;
}

// The lines a reader shows for a text: line ends made '\n', the last one dropped.
QString AsLines(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    if (text.endsWith(u'\n'))
        text.chop(1);
    return text;
}

QByteArray Utf16(const QString& text, bool bigEndian)
{
    QByteArray out(bigEndian ? "\xFE\xFF" : "\xFF\xFE");
    for (const QChar c : text) {
        const char hi = char(c.unicode() >> 8);
        const char lo = char(c.unicode() & 0xFF);
        out += bigEndian ? hi : lo;
        out += bigEndian ? lo : hi;
    }
    return out;
}

void AnyBytes(QByteArrayView bytes)
{
    const TDetectedText detected = DecodeDetectedText(bytes);
    const QString& text = detected.Text;
    FUZZ_CHECK(text == DecodeText(bytes));
    // Line ends are single bytes that belong to no other character only in these two; the
    // other encodings a file may be detected in have their own targets' worth of rules.
    const TSourceEncoding encoding = detected.Encoding;
    if (encoding == TSourceEncoding::ShiftJis || encoding == TSourceEncoding::Utf8) {
        bool last = false;
        const qsizetype ends = LineEnds(bytes, last);
        FUZZ_CHECK(!text.contains(u'\r'));
        FUZZ_CHECK(text.count(u'\n') == ends - (last ? 1 : 0));
    }
    const QString cp932 = DecodeCp932(bytes);
    FUZZ_CHECK(cp932 == DecodeCp932WithIconv(bytes));
    if (!cp932.contains(QChar::ReplacementCharacter)) {
        const auto encoded = EncodeCp932(cp932);
        FUZZ_CHECK(encoded.has_value());
        FUZZ_CHECK(DecodeCp932(*encoded) == cp932);
    }
}

void SavedText(FuzzedDataProvider& data)
{
    const int form = data.ConsumeIntegralInRange(0, 3);
    const QString text = FuzzText(data, 256);
    QByteArray bytes;
    switch (form) {
    case 0:
        bytes = "\xEF\xBB\xBF" + text.toUtf8();
        break;
    case 1:
        bytes = Utf16(text, false);
        break;
    case 2:
        bytes = Utf16(text, true);
        break;
    default:
        // Without a mark, only a text that starts with neither mark nor a U+FEFF is UTF-8 for
        // sure; an ASCII text is the same in CP932.
        if (text.startsWith(QChar(0xFEFF)))
            return;
        bytes = text.toUtf8();
        // Unmarked bytes may fairly be taken for JIS (escapes) or UTF-16 (NULs) instead.
        if (const TSourceEncoding e = DecodeDetectedText(bytes).Encoding;
            e != TSourceEncoding::Utf8 && e != TSourceEncoding::ShiftJis)
            return;
        break;
    }
    FUZZ_CHECK(DecodeText(bytes) == AsLines(text));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    if (size == 0)
        return 0;
    if (bytes[0] % 2 == 0) {
        AnyBytes(QByteArrayView(bytes + 1, qsizetype(size) - 1));
    } else {
        FuzzedDataProvider data(bytes + 1, size - 1);
        SavedText(data);
    }
    return 0;
}
