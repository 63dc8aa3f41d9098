#include "common/StringFormats.h"

#include "common/Notices.h"

QString PadNumber(int value, int width)
{
    QString number;
    AppendPadNumber(number, value, width);
    return number;
}

void AppendPadNumber(QString& out, int value, int width)
{
    // The magnitude in 64 bits, so the most negative int has one too; its digits backwards.
    char16_t digits[20];
    int count = 0;
    for (quint64 magnitude = quint64(qAbs(qint64(value))); count == 0 || magnitude > 0;
         magnitude /= 10)
        digits[count++] = char16_t(u'0' + magnitude % 10);
    if (count > width) {
        PlainNotice(value > 0 ? QStringLiteral("オーバーフローしました(数が大)。")
                              : QStringLiteral("オーバーフローしました(数が小)。"));
    } else {
        if (value < 0)
            out += u'-';
        for (int pad = count; pad < width; ++pad)
            out += u'0';
    }
    while (count > 0)
        out += QChar(digits[--count]);
}

QString TrimLeftString(const QString& text)
{
    return text.mid(text.size() - TrimLeftView(text).size());
}

QStringView TrimLeftView(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && (text[i] == u'\u3000' || text[i] == u' '))
        ++i;
    return text.mid(i);
}
