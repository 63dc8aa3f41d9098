#include "reader/FontAdvances.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextDocument>
#include <cmath>
#include <limits>

namespace {
constexpr int BmpSize = 0x10000;
}

TFontAdvances::TFontAdvances(const QFont& font, qreal tabStopDistance)
    : Metrics(font), TabStop(tabStopDistance), Bmp(new float[BmpSize]),
      BmpBearing(new float[BmpSize])
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
    if (c < BmpSize)
        return Metrics.horizontalAdvance(QChar(char16_t(c)));
    return Metrics.horizontalAdvance(QString::fromUcs4(&c, 1));
}

std::unique_ptr<TFontAdvances> AdvancesOf(const QPlainTextEdit& edit)
{
    const QTextDocument& document = *edit.document();
    return std::make_unique<TFontAdvances>(document.defaultFont(),
                                           document.defaultTextOption().tabStopDistance());
}

qreal WrapWidthOf(const QPlainTextEdit& edit)
{
    const int viewportWidth = edit.viewport()->width();
    if (viewportWidth <= 0)
        return std::numeric_limits<int>::max();
    return viewportWidth - 2 * edit.document()->documentMargin();
}

QStringList ParagraphsOf(const QTextDocument& document)
{
    QStringList paragraphs;
    paragraphs.reserve(document.blockCount());
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        paragraphs.append(block.text());
    return paragraphs;
}

void ApplyContentsChange(TDisplayLineModel& model, const QTextDocument& document, int position,
                         int charsRemoved, int charsAdded)
{
    // Everything before position is unchanged, so the first touched block is the same before
    // and after. The blocks from it to the end of the added text replace as many old ones as
    // the change of the block count leaves.
    const QTextBlock first = document.findBlock(position);
    QTextBlock last = document.findBlock(position + charsAdded);
    if (!last.isValid())
        last = document.lastBlock();
    const int firstBlock = first.isValid() ? first.blockNumber() : 0;
    const int newCount = last.blockNumber() - firstBlock + 1;
    const int removedCount = newCount - (document.blockCount() - model.paragraphCount());
    if (!first.isValid() || removedCount < 1 ||
        firstBlock + removedCount > model.paragraphCount()) {
        model.SetParagraphs(ParagraphsOf(document));
        return;
    }
    Q_UNUSED(charsRemoved);
    QStringList paragraphs;
    paragraphs.reserve(newCount);
    for (QTextBlock block = first; block.isValid() && block.blockNumber() <= last.blockNumber();
         block = block.next())
        paragraphs.append(block.text());
    model.ParagraphsChanged(firstBlock, removedCount, paragraphs);
}
