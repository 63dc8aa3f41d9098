#include "files/FormatSettings.h"

#include "platform/IniFile.h"

namespace {

const QString Section = QStringLiteral("Formats");

} // namespace

TFormatSettings ReadFormatSettings(const TIniFile& ini)
{
    TFormatSettings settings;
    settings.AozoraFormat =
        ini.ReadBool(Section, QStringLiteral("AozoraFormat"), settings.AozoraFormat);
    const int style =
        ini.ReadInteger(Section, QStringLiteral("RubyStyle"), int(settings.RubyStyle));
    if (style >= int(TRubyStyle::Above) && style <= int(TRubyStyle::Hidden))
        settings.RubyStyle = TRubyStyle(style);
    return settings;
}

void WriteFormatSettings(TIniFile& ini, const TFormatSettings& settings)
{
    ini.WriteBool(Section, QStringLiteral("AozoraFormat"), settings.AozoraFormat);
    ini.WriteInteger(Section, QStringLiteral("RubyStyle"), int(settings.RubyStyle));
}
