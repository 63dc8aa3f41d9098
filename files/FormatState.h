#pragma once

#include "platform/AozoraNotation.h"

// The choices about the formats texts come in, kept in the "[Formats]" section of the settings
// file after the program's other keys.
struct TFormatState
{
    // "AozoraFormat": texts in Aozora Bunko notation are shown formatted.
    bool AozoraFormat = true;
    // "RubyStyle": 0 above the base, 1 in brackets after it, 2 hidden.
    int RubyStyle = int(TRubyStyle::Above);
};

// A stored ruby style; one out of range is the default.
inline TRubyStyle RubyStyleOf(int value)
{
    return value >= int(TRubyStyle::Above) && value <= int(TRubyStyle::Hidden) ? TRubyStyle(value)
                                                                               : TRubyStyle::Above;
}
