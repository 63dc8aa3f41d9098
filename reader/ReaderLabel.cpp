#include "reader/ReaderLabel.h"

#include <QFontMetricsF>
#include <QPainter>

namespace {

QFont RubyFont(const QFont& font)
{
    QFont ruby = font;
    if (font.pointSizeF() > 0)
        ruby.setPointSizeF(font.pointSizeF() / 2);
    else if (font.pixelSize() > 0)
        ruby.setPixelSize(qMax(1, font.pixelSize() / 2));
    return ruby;
}

} // namespace

TReaderLabel::TReaderLabel(QWidget* parent) : QLabel(parent)
{
    setAlignment(Qt::AlignLeft | Qt::AlignBottom);
}

int TReaderLabel::MarkSpace(const QFont& font)
{
    return QFontMetrics(RubyFont(font)).height();
}

void TReaderLabel::SetMarks(const QList<TMark>& marks)
{
    if (marks == LineMarks)
        return;
    LineMarks = marks;
    update();
}

QList<TReaderLabel::TPlacedMark> TReaderLabel::PlacedMarks() const
{
    QList<TPlacedMark> placed;
    const QString line = text();
    const QFontMetricsF metrics(font());
    const QFontMetricsF rubyMetrics(RubyFont(font()));
    const QRectF area = contentsRect();
    // The text sits at the bottom of the label, as the alignment puts it.
    const qreal top = area.bottom() + 1 - metrics.height();
    for (const TMark& mark : LineMarks) {
        if (mark.Start < 0 || mark.Length <= 0 || mark.Start + mark.Length > line.size())
            continue;
        const qreal x = area.left() + metrics.horizontalAdvance(line.left(mark.Start));
        const qreal width = metrics.horizontalAdvance(line.mid(mark.Start, mark.Length));
        const QRectF base(x, top, width, metrics.height());
        QRectF box;
        switch (mark.Kind) {
        case TMark::TKind::Ruby: {
            const qreal rubyWidth = rubyMetrics.horizontalAdvance(mark.Reading);
            box = QRectF(qMax(area.left(), x + (width - rubyWidth) / 2), top - rubyMetrics.height(),
                         rubyWidth, rubyMetrics.height());
            break;
        }
        case TMark::TKind::Dots:
            box = QRectF(x, top - rubyMetrics.height() / 2, width, rubyMetrics.height() / 2);
            break;
        case TMark::TKind::Line:
            box = QRectF(x, top + metrics.ascent() + metrics.descent() / 2, width, 1);
            break;
        }
        placed.append({mark, base, box});
    }
    return placed;
}

void TReaderLabel::paintEvent(QPaintEvent* event)
{
    QLabel::paintEvent(event);
    if (LineMarks.isEmpty())
        return;
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.setFont(RubyFont(font()));
    const QFontMetricsF metrics(font());
    const QString line = text();
    for (const TPlacedMark& placed : PlacedMarks()) {
        const TMark& mark = placed.Mark;
        switch (mark.Kind) {
        case TMark::TKind::Ruby:
            painter.drawText(placed.Box, Qt::AlignLeft | Qt::AlignBottom, mark.Reading);
            break;
        case TMark::TKind::Dots: {
            // A sesame dot over the middle of each character.
            painter.setBrush(palette().color(QPalette::WindowText));
            const qreal radius = qMax<qreal>(1, placed.Box.height() / 5);
            qreal x = placed.Base.left();
            for (int i = mark.Start; i < mark.Start + mark.Length;) {
                const int units = line.at(i).isHighSurrogate() ? 2 : 1;
                const qreal advance = metrics.horizontalAdvance(line.mid(i, units));
                painter.drawEllipse(QPointF(x + advance / 2, placed.Box.center().y()), radius,
                                    radius);
                x += advance;
                i += units;
            }
            break;
        }
        case TMark::TKind::Line:
            painter.drawLine(placed.Box.topLeft(), placed.Box.topRight());
            break;
        }
    }
}
