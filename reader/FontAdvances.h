#pragma once

#include "reader/DisplayLineModel.h"

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <memory>

class QPlainTextEdit;
class TMainRichEdit;

// Character advances of a font, as the text view's layout measures them: each character is
// measured once, the Basic Multilingual Plane in a flat table filled as characters turn up,
// other planes in a hash.
class TFontAdvances : public TAdvanceSource
{
public:
    // tabStopDistance: the text view's, QTextOption::tabStopDistance() of its document.
    explicit TFontAdvances(const QFont& font, qreal tabStopDistance = 80);

    qreal Advance(char32_t c) const override;
    qreal TabStopDistance() const override { return TabStop; }
    qreal RightBearing(char32_t c) const override;
    qreal MinimumRightBearing() const override { return Metrics.minRightBearing(); }
    bool Kerns() const override { return KerningOn; }
    qreal Kerning(char32_t left, char32_t right) const override;
    bool Ligature(char32_t left, char32_t right) const override;
    qreal ClusterAdvance(QStringView cluster) const override;

private:
    qreal Measure(char32_t c) const;
    qreal MeasureBearing(char32_t c) const;

    QFont Font;
    QFontMetricsF Metrics;
    qreal TabStop = 80;
    bool KerningOn = false;
    // Not yet measured: NaN.
    mutable std::unique_ptr<float[]> Bmp;
    mutable std::unique_ptr<float[]> BmpBearing;
    mutable QHash<char32_t, qreal> Astral;
    mutable QHash<char32_t, qreal> AstralBearing;
    // Pairs of Latin characters, measured as they turn up.
    mutable QHash<quint32, qreal> Pairs;
    mutable QHash<quint32, bool> Ligatures;
    mutable QHash<QString, qreal> Clusters;
};

// The advances of the text view's font and tab stops.
std::unique_ptr<TFontAdvances> AdvancesOf(const TMainRichEdit& edit);
// The same for Qt's own plain text view, whose lines the model's rules follow.
std::unique_ptr<TFontAdvances> AdvancesOf(const QPlainTextEdit& edit);

// The width the text view wraps its lines at: its viewport's width less the margin on both
// sides. A viewport of no width (not yet shown) does not wrap at all.
qreal WrapWidthOf(const TMainRichEdit& edit);
qreal WrapWidthOf(const QPlainTextEdit& edit);
