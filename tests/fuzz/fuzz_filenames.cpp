// File names. Properties: any bytes of a name decode to a text that encodes to the same bytes
// (so a listed file opens), and a valid name (any text without lone surrogates) encodes to
// bytes that decode to the same text (so a name shown is the file opened); a name is shown
// with U+FFFD only where it holds an escaped byte.
#include "FuzzSupport.h"

#include "files/FolderListing.h"
#include "platform/TextDecoding.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    if (size == 0)
        return 0;
    if (bytes[0] % 2 == 0) {
        const QByteArray raw(reinterpret_cast<const char*>(bytes) + 1, qsizetype(size) - 1);
        const QString name = DecodeFileName(raw);
        FUZZ_CHECK(EncodeFileName(name) == raw);
        const bool valid = DecodeUtf8(raw).toUtf8() == raw;
        FUZZ_CHECK(DisplayFileName(name).contains(QChar::ReplacementCharacter) ==
                   (!valid || raw.contains("\xEF\xBF\xBD")));
        return 0;
    }
    FuzzedDataProvider data(bytes + 1, size - 1);
    const QString name = FuzzText(data, 64);
    FUZZ_CHECK(DecodeFileName(EncodeFileName(name)) == name);
    FUZZ_CHECK(DisplayFileName(name) == name);
    return 0;
}
