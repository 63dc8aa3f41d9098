#include "platform/Fonts.h"

namespace {

bool isMincho(const QString& name)
{
    return name.contains(QStringLiteral("明朝")) ||
           name.contains(QStringLiteral("Mincho"), Qt::CaseInsensitive);
}

// "Ｐ" (or "P") marks the proportional faces: "ＭＳ Ｐゴシック", "ＭＳ Ｐ明朝", "IPAPGothic".
bool isProportional(const QString& name)
{
    return name.contains(QChar(0xFF30)) || name.contains(QStringLiteral("P")) ||
           name.contains(QStringLiteral("UI"));
}

bool isWindowsJapaneseFace(const QString& name)
{
    static const QStringList markers = {QStringLiteral("ＭＳ"),     QStringLiteral("MS "),
                                        QStringLiteral("メイリオ"), QStringLiteral("Meiryo"),
                                        QStringLiteral("游"),       QStringLiteral("Yu ")};
    for (const QString& m : markers)
        if (name.startsWith(m))
            return true;
    return false;
}

} // namespace

QString DisplayFamilyFor(const QString& storedName)
{
    if (!isWindowsJapaneseFace(storedName) && !storedName.isEmpty())
        return storedName;
    const bool mincho = isMincho(storedName);
    const bool proportional = isProportional(storedName);
    const QString family =
        mincho ? (proportional ? QStringLiteral("IPAPMincho") : QStringLiteral("IPAMincho"))
               : (proportional ? QStringLiteral("IPAPGothic") : QStringLiteral("IPAGothic"));
    return family;
}

QFont FontFromSpec(const TFontSpec& spec)
{
    QFont font(DisplayFamilyFor(spec.Name));
    font.setPointSize(qBound(1, spec.Size, 1000));
    font.setBold(spec.Bold);
    font.setItalic(spec.Italic);
    font.setUnderline(spec.Underline);
    font.setStrikeOut(spec.StrikeOut);
    return font;
}

TFontSpec SpecFromFont(const QFont& font, qint32 color, const QString& storedName)
{
    TFontSpec spec;
    spec.Name = DisplayFamilyFor(storedName) == font.family() ? storedName : font.family();
    spec.Size = font.pointSize() > 0 ? font.pointSize() : 10;
    spec.Bold = font.bold();
    spec.Italic = font.italic();
    spec.Underline = font.underline();
    spec.StrikeOut = font.strikeOut();
    spec.Color = color;
    return spec;
}
