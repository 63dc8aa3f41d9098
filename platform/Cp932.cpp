#include "platform/Cp932.h"

#include <cerrno>
#include <cstring>
#include <iconv.h>
#include <stdexcept>

namespace {

class TIconv
{
public:
    TIconv(const char* to, const char* from) : Handle(iconv_open(to, from))
    {
        if (Handle == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error("iconv cannot convert between CP932 and UTF-16LE");
    }
    ~TIconv() { iconv_close(Handle); }
    TIconv(const TIconv&) = delete;
    TIconv& operator=(const TIconv&) = delete;

    iconv_t Handle;
};

constexpr char16_t ReplacementCharacter = 0xFFFD;

} // namespace

QString DecodeCp932(QByteArrayView bytes)
{
    TIconv cd("UTF-16LE", "CP932");
    QString out;
    // CP932 never yields more UTF-16 units than input bytes; one more for a final U+FFFD.
    out.resize(bytes.size() + 1);
    char* in = const_cast<char*>(bytes.data());
    size_t inLeft = static_cast<size_t>(bytes.size());
    char* dst = reinterpret_cast<char*>(out.data());
    size_t dstLeft = static_cast<size_t>(out.size()) * 2;
    while (inLeft > 0) {
        if (iconv(cd.Handle, &in, &inLeft, &dst, &dstLeft) != static_cast<size_t>(-1))
            break;
        if (errno == E2BIG)
            throw std::length_error("CP932 decode overflow");
        // EILSEQ (an invalid sequence) or EINVAL (a sequence cut off at the end): one byte
        // becomes U+FFFD and decoding resumes right after it.
        char16_t r = ReplacementCharacter;
        memcpy(dst, &r, 2);
        dst += 2;
        dstLeft -= 2;
        ++in;
        --inLeft;
        iconv(cd.Handle, nullptr, nullptr, nullptr, nullptr);
    }
    out.resize((out.size() * 2 - static_cast<qsizetype>(dstLeft)) / 2);
    return out;
}

std::optional<QByteArray> EncodeCp932(QStringView text)
{
    TIconv cd("CP932", "UTF-16LE");
    QByteArray out;
    out.resize(text.size() * 2);
    char* in = reinterpret_cast<char*>(const_cast<QChar*>(text.data()));
    size_t inLeft = static_cast<size_t>(text.size()) * 2;
    char* dst = out.data();
    size_t dstLeft = static_cast<size_t>(out.size());
    if (inLeft > 0 && iconv(cd.Handle, &in, &inLeft, &dst, &dstLeft) == static_cast<size_t>(-1))
        return std::nullopt;
    out.resize(out.size() - static_cast<qsizetype>(dstLeft));
    return out;
}

int Cp932Width(QStringView text)
{
    int width = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        // A surrogate pair is one character, two bytes wide like every non-ASCII one.
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        width += Cp932Width(c.unicode());
    }
    return width;
}
