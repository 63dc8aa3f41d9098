#pragma once

#include <QColor>
#include <QtGlobal>

// Colours are stored as TColor values: red in the low byte, green, then blue; a value with the
// high bit set names a system colour by its index in the low byte (0x8000000F, the button face).
namespace TColors {
constexpr qint32 SystemBit = qint32(0x80000000u);
constexpr qint32 ButtonFace = qint32(0x8000000Fu);
constexpr qint32 Window = qint32(0x80000005u);
constexpr qint32 Black = 0;
} // namespace TColors

// The colour a TColor shows: a system colour maps to the application palette's matching role.
QColor ColorFromTColor(qint32 value);
// The TColor of an RGB colour (never a system colour).
qint32 TColorFromColor(const QColor& color);
