#include "platform/Cp932.h"

#include "platform/BigBuffers.h"

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

QString DecodeCp932WithIconv(QByteArrayView bytes)
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

namespace {

// The whole CP932 decoding as tables, read once from iconv itself: what each single byte
// decodes to, which bytes lead a pair, and what each pair decodes to. Decoding is then one
// tight loop instead of iconv's, about ten times faster, with the same results.
struct TCp932Tables
{
    enum : char16_t
    {
        Lead = 0xFFFF
    };
    char16_t Single[256];
    char16_t Pair[256][256];

    TCp932Tables()
    {
        TIconv cd("UTF-16LE", "CP932");
        for (int b = 0; b < 256; ++b) {
            const char one[1] = {char(b)};
            Single[b] = decodeOne(cd, one, 1);
            if (Single[b] == Lead)
                for (int t = 0; t < 256; ++t) {
                    const char two[2] = {char(b), char(t)};
                    Pair[b][t] = decodeOne(cd, two, 2);
                }
        }
    }

    // The one character the bytes decode to; Lead when they are the start of a longer sequence,
    // U+FFFD when they are no character (or more than one).
    static char16_t decodeOne(TIconv& cd, const char* bytes, size_t size)
    {
        iconv(cd.Handle, nullptr, nullptr, nullptr, nullptr);
        char* in = const_cast<char*>(bytes);
        size_t inLeft = size;
        char16_t out[4];
        char* dst = reinterpret_cast<char*>(out);
        size_t dstLeft = sizeof out;
        const size_t result = iconv(cd.Handle, &in, &inLeft, &dst, &dstLeft);
        if (result == static_cast<size_t>(-1))
            return (errno == EINVAL && size == 1) ? char16_t(Lead) : ReplacementCharacter;
        return (inLeft == 0 && sizeof out - dstLeft == 2) ? out[0] : ReplacementCharacter;
    }
};

const TCp932Tables& cp932Tables()
{
    static const TCp932Tables tables;
    return tables;
}

} // namespace

QString DecodeCp932(QByteArrayView bytes)
{
    const TCp932Tables& tables = cp932Tables();
    QString out(bytes.size(), Qt::Uninitialized);
    char16_t* dst = reinterpret_cast<char16_t*>(out.data());
    AdviseHugePages(dst, size_t(bytes.size()) * sizeof(char16_t));
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
    const qsizetype size = bytes.size();
    qsizetype written = 0;
    for (qsizetype i = 0; i < size;) {
        const char16_t c = tables.Single[in[i]];
        if (c != TCp932Tables::Lead) {
            dst[written++] = c;
            ++i;
        } else if (i + 1 < size && tables.Pair[in[i]][in[i + 1]] != ReplacementCharacter) {
            dst[written++] = tables.Pair[in[i]][in[i + 1]];
            i += 2;
        } else {
            // A lead byte without a fitting trail byte: it alone becomes U+FFFD, and decoding
            // resumes with the byte after it.
            dst[written++] = ReplacementCharacter;
            ++i;
        }
    }
    out.truncate(written);
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
    // iconv reports none of its one-way mappings as irreversible, so only decoding tells.
    if (DecodeCp932(out) != text)
        return std::nullopt;
    return out;
}

namespace {

// The CP932 form of every character of the first plane, read once from iconv, so that a text is
// checked and encoded by looking characters up: the same bytes as iconv's, iconv's choices
// among duplicate forms included, at a fraction of its cost. A single byte b is kept as b, a
// pair as lead * 256 + trail (a lead byte is at least 0x81); None marks a character CP932
// cannot hold (0xFF is no lead byte, so no pair is None), and also one that iconv maps one way
// only: U+301C becomes 0x8160, which reads back as U+FF5E, so writing it would change the text.
struct TCp932EncodeTable
{
    static constexpr quint16 None = 0xFFFF;
    quint16 Code[0x10000];

    TCp932EncodeTable()
    {
        TIconv cd("CP932", "UTF-16LE");
        const TCp932Tables& decode = cp932Tables();
        for (int c = 0; c < 0x10000; ++c) {
            Code[c] = (c >= 0xD800 && c <= 0xDFFF) ? None : encodeOne(cd, char16_t(c));
            const char16_t back = Code[c] > 0xFF ? decode.Pair[Code[c] >> 8][Code[c] & 0xFF]
                                                 : decode.Single[Code[c] & 0xFF];
            if (Code[c] != None && back != c)
                Code[c] = None;
        }
    }

    static quint16 encodeOne(TIconv& cd, char16_t c)
    {
        iconv(cd.Handle, nullptr, nullptr, nullptr, nullptr);
        char* in = reinterpret_cast<char*>(&c);
        size_t inLeft = 2;
        unsigned char out[4];
        char* dst = reinterpret_cast<char*>(out);
        size_t dstLeft = sizeof out;
        if (iconv(cd.Handle, &in, &inLeft, &dst, &dstLeft) == static_cast<size_t>(-1) ||
            inLeft != 0)
            return None;
        const size_t written = sizeof out - dstLeft;
        if (written == 1)
            return out[0];
        return written == 2 ? quint16(out[0] << 8 | out[1]) : None;
    }
};

const TCp932EncodeTable& encodeTable()
{
    static const TCp932EncodeTable table;
    return table;
}

} // namespace

qsizetype FirstNonCp932(QStringView text)
{
    const quint16* code = encodeTable().Code;
    const char16_t* s = text.utf16();
    for (qsizetype i = 0; i < text.size(); ++i)
        if (code[s[i]] == TCp932EncodeTable::None)
            return i;
    return -1;
}

bool AppendCp932(QStringView text, QByteArray& out)
{
    const quint16* code = encodeTable().Code;
    const qsizetype start = out.size();
    out.resize(start + text.size() * 2);
    char* dst = out.data() + start;
    const char16_t* s = text.utf16();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const quint16 c = code[s[i]];
        if (c == TCp932EncodeTable::None) {
            out.resize(start);
            return false;
        }
        if (c > 0xFF)
            *dst++ = char(c >> 8);
        *dst++ = char(c & 0xFF);
    }
    out.resize(dst - out.data());
    return true;
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
