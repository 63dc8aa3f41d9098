#include "app/Settings.h"

#include "platform/IniFile.h"

#include <variant>

namespace {

using TMember = std::variant<bool TSettingsData::*, int TSettingsData::*, QString TSettingsData::*>;

struct TKey
{
    const char* Section;
    const char* Name;
    TMember Member;
};

// The table of keys: both passes walk it in this order.
const TKey Keys[] = {
    {"Form", "Maximized", &TSettingsData::Maximized},
    {"Form", "Left", &TSettingsData::Left},
    {"Form", "Top", &TSettingsData::Top},
    {"Form", "Width", &TSettingsData::Width},
    {"Form", "Height", &TSettingsData::Height},
    {"Panel", "LeftPanelWidth", &TSettingsData::LeftPanelWidth},
    {"Panel", "LeftPanelOpenWidth", &TSettingsData::LeftPanelOpenWidth},
    {"Panel", "DirectoryPanelHeight", &TSettingsData::DirectoryPanelHeight},
    {"Panel", "RightPanelWidth", &TSettingsData::RightPanelWidth},
    {"FileFolder", "AnyFilter", &TSettingsData::AnyFilter},
    {"FileFolder", "NowFilter", &TSettingsData::NowFilter},
    {"FileFolder", "AllFilter", &TSettingsData::AllFilter},
    {"FileFolder", "SelFolder", &TSettingsData::SelFolder},
    {"FileFolder", "Folder", &TSettingsData::Folder},
    {"FileFolder", "FileName", &TSettingsData::FileName},
    {"BaseData", "SlideInterval", &TSettingsData::SlideInterval},
    {"BaseData", "ChangeReadTimes", &TSettingsData::ChangeReadTimes},
    {"BaseData", "SlideLabelStep", &TSettingsData::SlideLabelStep},
    {"BaseData", "SlideRepeat", &TSettingsData::SlideRepeat},
    {"BaseData", "ListSlide", &TSettingsData::ListSlide},
    {"BaseData", "LabelSpace", &TSettingsData::LabelSpace},
    {"BaseData", "BackColor", &TSettingsData::BackColor},
    {"BaseData", "ContentsLineForward", &TSettingsData::ContentsLineForward},
    {"BaseData", "FontSize", &TSettingsData::FontSize},
    {"BaseData", "FontColor", &TSettingsData::FontColor},
    {"BaseData", "FontName", &TSettingsData::FontName},
    {"BaseData", "FontStyle", &TSettingsData::FontStyle},
    {"BaseData", "FormAllChange", &TSettingsData::FormAllChange},
    {"BaseData", "SearchType", &TSettingsData::SearchType},
    {"BaseData", "SearchLineString", &TSettingsData::SearchLineString},
    {"BaseData", "SearchContents", &TSettingsData::SearchContents},
    {"BaseData", "SearchSimplleContents", &TSettingsData::SearchSimplleContents},
    {"BaseData", "SearchLength", &TSettingsData::SearchLength},
    {"BaseData", "SearchOption", &TSettingsData::SearchOption},
};

template <class... F> struct TOverload : F...
{
    using F::operator()...;
};
template <class... F> TOverload(F...) -> TOverload<F...>;

} // namespace

int SettingsKeyCount()
{
    return int(std::size(Keys));
}

QString SettingsKeyName(int i)
{
    return QLatin1String(Keys[i].Section) + u'/' + QLatin1String(Keys[i].Name);
}

TSettingsData ReadSettings(const TIniFile& ini, const TSettingsData& defaults)
{
    TSettingsData data = defaults;
    for (const TKey& key : Keys) {
        const QString section = QLatin1String(key.Section);
        const QString name = QLatin1String(key.Name);
        std::visit(
            TOverload{
                [&](bool TSettingsData::*m) { data.*m = ini.ReadBool(section, name, data.*m); },
                [&](int TSettingsData::*m) { data.*m = ini.ReadInteger(section, name, data.*m); },
                [&](QString TSettingsData::*m) {
                    data.*m = ini.ReadString(section, name, data.*m);
                },
            },
            key.Member);
    }
    data.SearchType = NormalizedSearchType(data.SearchType);
    return data;
}

void WriteSettings(TIniFile& ini, const TSettingsData& data)
{
    TSettingsData stored = data;
    stored.SearchType = NormalizedSearchType(data.SearchType);
    for (const TKey& key : Keys) {
        const QString section = QLatin1String(key.Section);
        const QString name = QLatin1String(key.Name);
        std::visit(
            TOverload{
                [&](bool TSettingsData::*m) { ini.WriteBool(section, name, stored.*m); },
                [&](int TSettingsData::*m) { ini.WriteInteger(section, name, stored.*m); },
                [&](QString TSettingsData::*m) { ini.WriteString(section, name, stored.*m); },
            },
            key.Member);
    }
}

int NormalizedSearchType(int value)
{
    return (value >= 1 && value <= 3) ? value : 0;
}

TFontStyleBits DecodeFontStyle(int value)
{
    auto odd = [](int v) { return v % 2 != 0; };
    return {odd(value / 1000), odd(value / 100), odd(value / 10), odd(value)};
}

int EncodeFontStyle(const TFontStyleBits& bits)
{
    return 1000 * bits.Bold + 100 * bits.Italic + 10 * bits.Underline + bits.StrikeOut;
}

QRect FitToScreen(const QRect& saved, const QSize& screen)
{
    const int sw = screen.width();
    const int sh = screen.height();
    int left = saved.x();
    int top = saved.y();
    int width = saved.width();
    int height = saved.height();
    if (width > sw * 0.98 && height > sh * 0.95) {
        width = int(sw * 0.98);
        left = (sw - width) / 2;
        height = int(sh * 0.95);
        top = 0;
    }
    // Only the right and bottom limits: a negative left or top stays.
    if (qint64(left) + 100 > sw)
        left = sw - 100;
    if (qint64(top) + 100 > sh)
        top = sh - 100;
    return QRect(left, top, width, height);
}
