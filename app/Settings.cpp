#include "app/Settings.h"

#include "platform/IniFile.h"

#include <type_traits>

namespace {

// One key and the field that holds it. Get gives the field as the key stores it (bool, int or
// QString, which decides how the key is read and written); Set takes a value of that type back.
struct TKey
{
    const char* Section;
    const char* Name;
    QVariant (*Get)(const TAppState&);
    void (*Set)(TAppState&, const QVariant&);
};

template <auto Part, auto Field> QVariant getField(const TAppState& s)
{
    return QVariant::fromValue((s.*Part).*Field);
}

template <auto Part, auto Field> void setField(TAppState& s, const QVariant& v)
{
    auto& field = (s.*Part).*Field;
    field = v.value<std::remove_cvref_t<decltype(field)>>();
}

template <auto Part, auto Field> constexpr TKey key(const char* section, const char* name)
{
    return {section, name, &getField<Part, Field>, &setField<Part, Field>};
}

using S = TAppState;

QVariant getFontStyle(const S& s)
{
    const TFontSpec& f = s.Look.TextFont;
    return EncodeFontStyle({f.Bold, f.Italic, f.Underline, f.StrikeOut});
}

void setFontStyle(S& s, const QVariant& v)
{
    const TFontStyleBits bits = DecodeFontStyle(v.toInt());
    TFontSpec& f = s.Look.TextFont;
    f.Bold = bits.Bold;
    f.Italic = bits.Italic;
    f.Underline = bits.Underline;
    f.StrikeOut = bits.StrikeOut;
}

// The table of keys: both passes walk it in this order.
const TKey Keys[] = {
    key<&S::Form, &TFormState::StartMaximized>("Form", "Maximized"),
    key<&S::Form, &TFormState::Left>("Form", "Left"),
    key<&S::Form, &TFormState::Top>("Form", "Top"),
    key<&S::Form, &TFormState::Width>("Form", "Width"),
    key<&S::Form, &TFormState::Height>("Form", "Height"),
    key<&S::Form, &TFormState::LeftPanelWidth>("Panel", "LeftPanelWidth"),
    key<&S::Form, &TFormState::LeftPanelOpenWidth>("Panel", "LeftPanelOpenWidth"),
    key<&S::Form, &TFormState::DirectoryPanelHeight>("Panel", "DirectoryPanelHeight"),
    key<&S::Form, &TFormState::RightPanelWidth>("Panel", "RightPanelWidth"),
    key<&S::Files, &TFileState::AnyFilter>("FileFolder", "AnyFilter"),
    key<&S::Files, &TFileState::NowFilter>("FileFolder", "NowFilter"),
    key<&S::Files, &TFileState::AllFilter>("FileFolder", "AllFilter"),
    {"FileFolder", "SelFolder",
     [](const S& s) { return QVariant(s.Files.SelectedFolders.join(u';')); },
     [](S& s, const QVariant& v) { s.Files.SelectedFolders = v.toString().split(u';'); }},
    key<&S::Files, &TFileState::Folder>("FileFolder", "Folder"),
    key<&S::Files, &TFileState::CurrentFileName>("FileFolder", "FileName"),
    key<&S::Slide, &TSlideState::SlideInterval>("BaseData", "SlideInterval"),
    key<&S::Slide, &TSlideState::ChangeReadTimes>("BaseData", "ChangeReadTimes"),
    key<&S::Slide, &TSlideState::SlideLabelStep>("BaseData", "SlideLabelStep"),
    key<&S::Slide, &TSlideState::SlideRepeat>("BaseData", "SlideRepeat"),
    key<&S::Slide, &TSlideState::ListSlideRead>("BaseData", "ListSlide"),
    key<&S::Look, &TReaderLook::LabelSpace>("BaseData", "LabelSpace"),
    key<&S::Look, &TReaderLook::BackColor>("BaseData", "BackColor"),
    key<&S::Search, &TSearchState::ContentsLineForward>("BaseData", "ContentsLineForward"),
    key<&S::Look, &TReaderLook::FontSize>("BaseData", "FontSize"),
    {"BaseData", "FontColor", [](const S& s) { return QVariant(int(s.Look.TextFont.Color)); },
     [](S& s, const QVariant& v) { s.Look.TextFont.Color = v.toInt(); }},
    {"BaseData", "FontName", [](const S& s) { return QVariant(s.Look.TextFont.Name); },
     [](S& s, const QVariant& v) { s.Look.TextFont.Name = v.toString(); }},
    {"BaseData", "FontStyle", &getFontStyle, &setFontStyle},
    key<&S::Look, &TReaderLook::FormAllChange>("BaseData", "FormAllChange"),
    {"BaseData", "SearchType",
     [](const S& s) { return QVariant(NormalizedSearchType(s.Search.SearchType)); },
     [](S& s, const QVariant& v) { s.Search.SearchType = NormalizedSearchType(v.toInt()); }},
    key<&S::Search, &TSearchState::SearchLineString>("BaseData", "SearchLineString"),
    key<&S::Search, &TSearchState::SearchContents>("BaseData", "SearchContents"),
    key<&S::Search, &TSearchState::SearchSimplleContents>("BaseData", "SearchSimplleContents"),
    key<&S::Search, &TSearchState::SearchLength>("BaseData", "SearchLength"),
    key<&S::Search, &TSearchState::SearchOption>("BaseData", "SearchOption"),
    // The text formats' own section, after the program's keys.
    key<&S::Formats, &TFormatState::AozoraFormat>("Formats", "AozoraFormat"),
    {"Formats", "RubyStyle",
     [](const S& s) { return QVariant(int(RubyStyleOf(s.Formats.RubyStyle))); },
     [](S& s, const QVariant& v) { s.Formats.RubyStyle = int(RubyStyleOf(v.toInt())); }},
    // Reading comfort, after the other keys in a section of its own.
    key<&S::Slide, &TSlideState::StatusStrip>("Comfort", "StatusStrip"),
    key<&S::Slide, &TSlideState::KeepPlaces>("Comfort", "KeepPlaces"),
    key<&S::Slide, &TSlideState::TextPauses>("Comfort", "TextPauses"),
};

} // namespace

int SettingsKeyCount()
{
    return int(std::size(Keys));
}

QString SettingsKeyName(int i)
{
    return QLatin1String(Keys[i].Section) + u'/' + QLatin1String(Keys[i].Name);
}

void ReadSettings(const TIniFile& ini, TAppState& state)
{
    for (const TKey& key : Keys) {
        const QString section = QLatin1String(key.Section);
        const QString name = QLatin1String(key.Name);
        const QVariant current = key.Get(state);
        switch (current.typeId()) {
        case QMetaType::Bool:
            key.Set(state, ini.ReadBool(section, name, current.toBool()));
            break;
        case QMetaType::Int:
            key.Set(state, ini.ReadInteger(section, name, current.toInt()));
            break;
        default:
            key.Set(state, ini.ReadString(section, name, current.toString()));
            break;
        }
    }
}

void WriteSettings(TIniFile& ini, const TAppState& state)
{
    for (const TKey& key : Keys) {
        const QString section = QLatin1String(key.Section);
        const QString name = QLatin1String(key.Name);
        const QVariant value = key.Get(state);
        switch (value.typeId()) {
        case QMetaType::Bool:
            ini.WriteBool(section, name, value.toBool());
            break;
        case QMetaType::Int:
            ini.WriteInteger(section, name, value.toInt());
            break;
        default:
            ini.WriteString(section, name, value.toString());
            break;
        }
    }
}

QVariantList SettingsValues(const TAppState& state)
{
    QVariantList values;
    for (const TKey& key : Keys)
        values << key.Get(state);
    return values;
}

QVariant SettingsValue(const TAppState& state, const QString& name)
{
    for (int i = 0; i < SettingsKeyCount(); ++i)
        if (SettingsKeyName(i) == name)
            return Keys[i].Get(state);
    return {};
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
