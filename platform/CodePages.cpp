#include "platform/CodePages.h"

#include "platform/Cp932.h"
#include "platform/TextDecoding.h"

#include <cerrno>
#include <cstring>
#include <iconv.h>

namespace {

// Windows-1252 from 0x80 to 0x9F; the five bytes the page leaves undefined keep their C1 value,
// as Windows itself decodes them.
constexpr char16_t Cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

void DecodeCp1252(QByteArrayView bytes, QString& out)
{
    const qsizetype start = out.size();
    out.resize(start + bytes.size());
    char16_t* dst = reinterpret_cast<char16_t*>(out.data()) + start;
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        *dst++ = (b >= 0x80 && b < 0xA0) ? Cp1252High[b - 0x80] : b;
    }
}

bool IsAscii(QByteArrayView bytes)
{
    for (const char ch : bytes) {
        if (static_cast<unsigned char>(ch) >= 0x80)
            return false;
    }
    return true;
}

const char* IconvName(int codePage)
{
    switch (codePage) {
    case 437:
        return "CP437";
    case 850:
        return "CP850";
    case 852:
        return "CP852";
    case 866:
        return "CP866";
    case 874:
        return "CP874";
    case 936:
        return "CP936";
    case 949:
        return "CP949";
    case 950:
        return "CP950";
    case 1250:
        return "CP1250";
    case 1251:
        return "CP1251";
    case 1253:
        return "CP1253";
    case 1254:
        return "CP1254";
    case 1255:
        return "CP1255";
    case 1256:
        return "CP1256";
    case 1257:
        return "CP1257";
    case 1258:
        return "CP1258";
    case 1361:
        return "JOHAB";
    case 10000:
        return "MACINTOSH";
    case 51932:
        return "EUC-JP-MS";
    default:
        return nullptr;
    }
}

} // namespace

struct TCodePageDecoder::TConverter
{
    int CodePage = 0;
    iconv_t Handle = reinterpret_cast<iconv_t>(-1);

    ~TConverter()
    {
        if (Valid())
            iconv_close(Handle);
    }
    bool Valid() const { return Handle != reinterpret_cast<iconv_t>(-1); }

    void Decode(QByteArrayView bytes, QString& out)
    {
        iconv(Handle, nullptr, nullptr, nullptr, nullptr);
        const qsizetype start = out.size();
        // None of these pages gives more UTF-16 units than bytes; twice that leaves room for a
        // held letter and a U+FFFD written together, should a page ever do so.
        const qsizetype room = bytes.size() * 2 + 2;
        out.resize(start + room);
        char* in = const_cast<char*>(bytes.data());
        size_t inLeft = static_cast<size_t>(bytes.size());
        char* dst = reinterpret_cast<char*>(out.data() + start);
        size_t dstLeft = static_cast<size_t>(room) * 2;
        while (inLeft > 0 && dstLeft >= 2) {
            if (iconv(Handle, &in, &inLeft, &dst, &dstLeft) != static_cast<size_t>(-1))
                break;
            if (errno == E2BIG)
                break;
            // An invalid or cut-off sequence: its first byte becomes U+FFFD, the rest goes on.
            Flush(dst, dstLeft);
            const char16_t replacement = 0xFFFD;
            std::memcpy(dst, &replacement, 2);
            dst += 2;
            dstLeft -= 2;
            ++in;
            --inLeft;
        }
        Flush(dst, dstLeft);
        out.resize(out.size() - static_cast<qsizetype>(dstLeft / 2));
    }

    // Pages with combining accents (1255, 1258) hold a letter back until they see whether an
    // accent follows; at the end of the bytes, or before a bad one, it is written out here.
    void Flush(char*& dst, size_t& dstLeft) { iconv(Handle, nullptr, nullptr, &dst, &dstLeft); }
};

int CodePageOfCharset(int charset, int documentCodePage)
{
    switch (charset) {
    case 0:
    case 2:
        return 1252;
    case 77:
        return 10000;
    case 128:
        return 932;
    case 129:
        return 949;
    case 130:
        return 1361;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    case 254:
        return 437;
    case 255:
        return 850;
    default:
        return documentCodePage;
    }
}

TCodePageDecoder::TCodePageDecoder() = default;
TCodePageDecoder::~TCodePageDecoder() = default;

TCodePageDecoder::TConverter* TCodePageDecoder::Converter(int codePage)
{
    for (const auto& converter : Converters) {
        if (converter->CodePage == codePage)
            return converter->Valid() ? converter.get() : nullptr;
    }
    auto converter = std::make_unique<TConverter>();
    converter->CodePage = codePage;
    if (const char* name = IconvName(codePage))
        converter->Handle = iconv_open("UTF-16LE", name);
    Converters.push_back(std::move(converter));
    return Converters.back()->Valid() ? Converters.back().get() : nullptr;
}

void TCodePageDecoder::Decode(int codePage, QByteArrayView bytes, QString& out)
{
    if (bytes.isEmpty())
        return;
    // Every page we read agrees with ASCII below 0x80, and most runs of an RTF file are ASCII.
    if (IsAscii(bytes)) {
        out.append(QLatin1String(bytes.data(), bytes.size()));
        return;
    }
    if (codePage == 932) {
        out.append(DecodeCp932(bytes));
    } else if (codePage == 65001) {
        out.append(DecodeUtf8(bytes));
    } else if (TConverter* converter = Converter(codePage)) {
        converter->Decode(bytes, out);
    } else {
        DecodeCp1252(bytes, out);
    }
}
