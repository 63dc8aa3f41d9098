#include "reader/FontAdvances.h"

#include "reader/MainRichEdit.h"

#include <QGlyphRun>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QTextLayout>
#include <cmath>
#include <limits>

namespace {
constexpr int BmpSize = 0x10000;
} // namespace

TFontAdvances::TFontAdvances(const QFont& font, qreal tabStopDistance)
    : Font(font), Metrics(font), TabStop(tabStopDistance), KerningOn(font.kerning()),
      Bmp(new float[BmpSize]), BmpBearing(new float[BmpSize])
{
    std::fill_n(Bmp.get(), BmpSize, std::numeric_limits<float>::quiet_NaN());
    std::fill_n(BmpBearing.get(), BmpSize, std::numeric_limits<float>::quiet_NaN());
}

qreal TFontAdvances::Advance(char32_t c) const
{
    if (c < BmpSize) {
        float& cached = Bmp[c];
        if (std::isnan(cached))
            cached = float(Measure(c));
        return cached;
    }
    const auto it = Astral.constFind(c);
    if (it != Astral.constEnd())
        return *it;
    return *Astral.insert(c, Measure(c));
}

qreal TFontAdvances::RightBearing(char32_t c) const
{
    if (c < BmpSize) {
        float& cached = BmpBearing[c];
        if (std::isnan(cached))
            cached = float(MeasureBearing(c));
        return cached;
    }
    const auto it = AstralBearing.constFind(c);
    if (it != AstralBearing.constEnd())
        return *it;
    return *AstralBearing.insert(c, MeasureBearing(c));
}

qreal TFontAdvances::Kerning(char32_t left, char32_t right) const
{
    if (left >= BmpSize || right >= BmpSize)
        return 0;
    const quint32 key = (quint32(left) << 16) | quint32(right);
    const auto it = Pairs.constFind(key);
    if (it != Pairs.constEnd())
        return *it;
    const QChar pair[2] = {QChar(char16_t(left)), QChar(char16_t(right))};
    const qreal kerning =
        Metrics.horizontalAdvance(QString(pair, 2)) - Advance(left) - Advance(right);
    return *Pairs.insert(key, kerning);
}

qreal TFontAdvances::ClusterAdvance(QStringView cluster) const
{
    const QString key = cluster.toString();
    const auto it = Clusters.constFind(key);
    if (it != Clusters.constEnd())
        return *it;
    return *Clusters.insert(key, Metrics.horizontalAdvance(key));
}

bool TFontAdvances::Ligature(char32_t left, char32_t right) const
{
    if (left >= BmpSize || right >= BmpSize)
        return false;
    const quint32 key = (quint32(left) << 16) | quint32(right);
    const auto it = Ligatures.constFind(key);
    if (it != Ligatures.constEnd())
        return *it;
    const QChar pair[2] = {QChar(char16_t(left)), QChar(char16_t(right))};
    QTextLayout layout(QString(pair, 2), Font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    qsizetype glyphs = 0;
    for (const QGlyphRun& run : layout.glyphRuns())
        glyphs += run.glyphIndexes().size();
    return *Ligatures.insert(key, glyphs == 1);
}

qreal TFontAdvances::MeasureBearing(char32_t c) const
{
    if (c < BmpSize)
        return Metrics.rightBearing(QChar(char16_t(c)));
    // Outside the first plane only the advance is measured: such glyphs are rare in this text
    // and a string bearing is not offered by the metrics.
    return 0;
}

qreal TFontAdvances::Measure(char32_t c) const
{
    // Combining marks sit on the character before them and add no width to the line.
    const QChar::Category category = QChar::category(c);
    if (category == QChar::Mark_NonSpacing || category == QChar::Mark_Enclosing)
        return 0;
    // Control characters are measured as text: the layout draws some of them (form feed) with
    // no width at all.
    if (category == QChar::Other_Control || c >= BmpSize)
        return Metrics.horizontalAdvance(QString::fromUcs4(&c, 1));
    return Metrics.horizontalAdvance(QChar(char16_t(c)));
}

std::unique_ptr<TFontAdvances> AdvancesOf(const QPlainTextEdit& edit)
{
    const QTextDocument& document = *edit.document();
    return std::make_unique<TFontAdvances>(document.defaultFont(),
                                           document.defaultTextOption().tabStopDistance());
}

std::unique_ptr<TFontAdvances> AdvancesOf(const TMainRichEdit& edit)
{
    return std::make_unique<TFontAdvances>(edit.font(), edit.TabStopDistance());
}

qreal WrapWidthOf(const TMainRichEdit& edit)
{
    return edit.WrapWidth();
}

qreal WrapWidthOf(const QPlainTextEdit& edit)
{
    const int viewportWidth = edit.viewport()->width();
    if (viewportWidth <= 0)
        return std::numeric_limits<int>::max();
    return viewportWidth - 2 * edit.document()->documentMargin();
}
