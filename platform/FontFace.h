#pragma once

#include <QString>

// A font as the settings file and the dialogs know it: a face name, a size in points, the style
// bits (bold, italic, underline, strike-out) and a TColor.
struct TFontSpec
{
    QString Name;
    int Size = 10;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
    qint32 Color = 0;

    bool operator==(const TFontSpec&) const = default;
};
