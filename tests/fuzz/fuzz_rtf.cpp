// The RTF reader. Any bytes are read (no crash, no undefined behaviour, no hang); and a text
// written as RTF the way word processors write it (plain ASCII, \'hh bytes in the document's
// code page, \uN for the rest, \par and \tab) reads back exactly.
#include "FuzzSupport.h"

#include "platform/CodePages.h"
#include "platform/RtfReader.h"

#include <iconv.h>
#include <map>
#include <string>

namespace {

const int Pages[] = {932, 1252, 1251, 1255, 1258, 936, 949};

// The character in the page, when the page holds it and a fresh decoder gives it back alone.
QByteArray InPage(int page, QStringView c)
{
    // Closed at exit, so that the leak check does not count them.
    struct TConverters
    {
        std::map<int, iconv_t> Open;
        ~TConverters()
        {
            for (const auto& [page, cd] : Open) {
                if (cd != reinterpret_cast<iconv_t>(-1))
                    iconv_close(cd);
            }
        }
    };
    static TConverters converters;
    iconv_t& cd = converters.Open[page];
    if (!cd)
        cd = iconv_open(("CP" + std::to_string(page)).c_str(), "UTF-16LE");
    if (cd == reinterpret_cast<iconv_t>(-1))
        return {};
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char out[16];
    char* in = reinterpret_cast<char*>(const_cast<QChar*>(c.data()));
    size_t inLeft = size_t(c.size()) * 2;
    char* dst = out;
    size_t dstLeft = sizeof out;
    if (iconv(cd, &in, &inLeft, &dst, &dstLeft) == size_t(-1) ||
        iconv(cd, nullptr, nullptr, &dst, &dstLeft) == size_t(-1))
        return {};
    const QByteArray bytes(out, qsizetype(dst - out));
    TCodePageDecoder decoder;
    QString back;
    decoder.Decode(page, bytes, back);
    return back == c ? bytes : QByteArray();
}

QByteArray ToRtf(const QString& text, int page)
{
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg" + QByteArray::number(page) + "\\uc1 ";
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const bool pair = c.isHighSurrogate() && i + 1 < text.size();
        const QStringView one = QStringView(text).sliced(i, pair ? 2 : 1);
        if (c == u'\n') {
            rtf += "\\par ";
        } else if (c == u'\t') {
            rtf += "\\tab ";
        } else if (c == u'\\' || c == u'{' || c == u'}') {
            rtf += '\\';
            rtf += char(c.unicode());
        } else if (c.unicode() >= 0x20 && c.unicode() < 0x7F) {
            rtf += char(c.unicode());
        } else if (const QByteArray bytes = InPage(page, one);
                   !bytes.isEmpty() && c.category() != QChar::Mark_NonSpacing) {
            for (const char b : bytes)
                rtf += "\\'" + QByteArray::number(uchar(b), 16).rightJustified(2, '0');
        } else {
            for (const QChar unit : one)
                rtf += "\\u" + QByteArray::number(qint16(unit.unicode())) + '?';
        }
        if (pair)
            ++i;
    }
    return rtf + '}';
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    if (size == 0)
        return 0;
    if (bytes[0] % 2 == 0) {
        RtfToPlainText(QByteArrayView(bytes + 1, qsizetype(size) - 1));
        return 0;
    }
    FuzzedDataProvider data(bytes + 1, size - 1);
    const int page = Pages[data.ConsumeIntegralInRange<size_t>(0, std::size(Pages) - 1)];
    QString text = FuzzText(data, 64);
    // A NUL is no text in RTF, and the reader keeps no line end after the last line.
    text.remove(QChar(0));
    text.replace(u'\r', u' ');
    while (text.endsWith(u'\n'))
        text.chop(1);
    FUZZ_CHECK(RtfToPlainText(ToRtf(text, page)) == text);
    return 0;
}
