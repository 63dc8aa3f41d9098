#pragma once

#include <QByteArrayView>
#include <QString>
#include <memory>
#include <vector>

// Windows code pages as RTF documents name them (\ansicpg, \cpg, \fcharset).

// The code page of an RTF font character set. DEFAULT_CHARSET (1) and sets we do not know follow
// the document's code page; ANSI (0) and SYMBOL (2) are Windows-1252.
int CodePageOfCharset(int charset, int documentCodePage);

// Decodes bytes in a Windows code page. 932 goes through the CP932 codec, 65001 is UTF-8, 1252
// uses the Windows table (0x80..0x9F included), and the other common single- and double-byte
// pages go through iconv; a page that none of these knows is read as 1252. Invalid or truncated
// sequences become U+FFFD and the rest is kept. Converters are opened once per object and
// reused, since an RTF document switches pages at every font change.
class TCodePageDecoder
{
public:
    TCodePageDecoder();
    ~TCodePageDecoder();
    TCodePageDecoder(const TCodePageDecoder&) = delete;
    TCodePageDecoder& operator=(const TCodePageDecoder&) = delete;

    // Appends the decoded bytes to out.
    void Decode(int codePage, QByteArrayView bytes, QString& out);

private:
    struct TConverter;
    TConverter* Converter(int codePage);

    std::vector<std::unique_ptr<TConverter>> Converters;
};
