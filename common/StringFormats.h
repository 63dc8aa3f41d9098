#pragma once

#include <QString>

// The decimal form of value with leading zeros to width digits ("-" before them for a negative
// value). When the digits do not fit, the bare digits of the magnitude come back and the plain
// message "オーバーフローしました(数が大)。" (positive) or "...(数が小)。" (zero or negative)
// is shown.
QString PadNumber(int value, int width);
// The same appended to out, for building a longer text without a copy.
void AppendPadNumber(QString& out, int value, int width);

// The text without its leading half-width and full-width (U+3000) spaces; tabs, other blanks
// and trailing spaces stay.
QString TrimLeftString(const QString& text);
QStringView TrimLeftView(QStringView text);
