#pragma once

#include <QByteArray>
#include <QString>
#include <iconv.h>

// A text in an encoding iconv knows, as another program would have written it; empty when a
// character has no form there.
inline QByteArray EncodeText(const QString& text, const char* encoding)
{
    iconv_t cd = iconv_open(encoding, "UTF-16LE");
    if (cd == reinterpret_cast<iconv_t>(-1))
        return {};
    QByteArray in(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    QByteArray out(in.size() * 3 + 16, '\0');
    char* src = in.data();
    size_t srcLeft = size_t(in.size());
    char* dst = out.data();
    size_t dstLeft = size_t(out.size());
    const size_t done = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    iconv(cd, nullptr, nullptr, &dst, &dstLeft);
    iconv_close(cd);
    if (done == size_t(-1))
        return {};
    out.truncate(out.size() - qsizetype(dstLeft));
    return out;
}
