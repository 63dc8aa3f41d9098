// The code pages RTF documents name. Properties: nothing is held back at the end of the bytes
// (decoding the bytes and a blank gives the decoding of the bytes and a blank; pages with
// combining accents hold a letter back), and a decoder reused after any other page decodes as
// a fresh one does.
#include "FuzzSupport.h"

#include "platform/CodePages.h"

namespace {

const int Pages[] = {932,  65001, 1252, 437,  850,  852,  866,  874,  936,  949,   950,
                     1250, 1251,  1253, 1254, 1255, 1256, 1257, 1258, 1361, 10000, 12345};

int Page(FuzzedDataProvider& data)
{
    return Pages[data.ConsumeIntegralInRange<size_t>(0, std::size(Pages) - 1)];
}

QByteArray Bytes(FuzzedDataProvider& data)
{
    const std::vector<char> b = data.ConsumeBytes<char>(data.ConsumeIntegralInRange<size_t>(0, 64));
    return QByteArray(b.data(), qsizetype(b.size()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    FuzzedDataProvider data(bytes, size);
    const int first = Page(data);
    const QByteArray firstBytes = Bytes(data);
    const int page = Page(data);
    const std::vector<char> rest = data.ConsumeRemainingBytes<char>();
    const QByteArray text(rest.data(), qsizetype(rest.size()));

    TCodePageDecoder reused;
    QString ignored;
    reused.Decode(first, firstBytes, ignored);
    QString again;
    reused.Decode(page, text, again);

    TCodePageDecoder fresh;
    QString decoded;
    fresh.Decode(page, text, decoded);
    FUZZ_CHECK(again == decoded);

    // A blank is no trail byte and no accent in any of these pages.
    QString withBlank;
    fresh.Decode(page, text + ' ', withBlank);
    FUZZ_CHECK(withBlank == decoded + u' ');
    return 0;
}
