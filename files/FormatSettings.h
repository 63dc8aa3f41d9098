#pragma once

#include "files/AozoraNotation.h"

class TIniFile;

// The settings of the text formats, kept in a section of their own ("[Formats]") after the
// program's other settings.
struct TFormatSettings
{
    // "AozoraFormat": texts in Aozora Bunko notation are shown formatted.
    bool AozoraFormat = true;
    // "RubyStyle": 0 above the base, 1 in brackets after it, 2 hidden.
    TRubyStyle RubyStyle = TRubyStyle::Above;

    bool operator==(const TFormatSettings&) const = default;
};

// A missing key keeps its default; a ruby style out of range is the default.
TFormatSettings ReadFormatSettings(const TIniFile& ini);
void WriteFormatSettings(TIniFile& ini, const TFormatSettings& settings);
