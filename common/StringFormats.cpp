#include "common/StringFormats.h"

#include "dialogs/DialogService.h"

namespace {

void plainMessage(const QString& text)
{
    try {
        Dialogs().PlainMessage(text);
    } catch (const TDialogUnavailable&) {
    }
}

} // namespace

QString PadNumber(int value, int width)
{
    // The magnitude in 64 bits, so the most negative int has one too.
    const QString digits = QString::number(qAbs(qint64(value)));
    if (digits.size() > width) {
        plainMessage(value > 0 ? QStringLiteral("オーバーフローしました(数が大)。")
                               : QStringLiteral("オーバーフローしました(数が小)。"));
        return digits;
    }
    const QString padded = QString(width - digits.size(), u'0') + digits;
    return value < 0 ? u'-' + padded : padded;
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
