#pragma once

#include <QRect>
#include <QSize>
#include <QString>

class TIniFile;

// Every persistent setting, as stored in "Quorvelane.ini". The read pass fills it from the file
// (each key's default being the value the object holds before the pass); the main window then
// applies it to its controls and fields, and collects it again for the write pass.
struct TSettingsData
{
    // [Form]
    bool Maximized = false;
    int Left = 50;
    int Top = 30;
    int Width = 500;
    int Height = 400;
    // [Panel]
    int LeftPanelWidth = 110;
    int LeftPanelOpenWidth = 110;
    int DirectoryPanelHeight = 150;
    int RightPanelWidth = 96;
    // [FileFolder]
    bool AnyFilter = false;
    QString NowFilter = QStringLiteral("*.txt");
    QString AllFilter = QStringLiteral("*.txt/*.rtf/*.m3u");
    QString SelFolder;
    QString Folder; // default: the folder list's folder when the window is created
    QString FileName;
    // [BaseData]
    int SlideInterval = 7;
    QString ChangeReadTimes = QStringLiteral("100,250,500");
    int SlideLabelStep = 0;
    bool SlideRepeat = false;
    bool ListSlide = false;
    int LabelSpace = 1;
    int BackColor = int(0x8000000Fu); // the system's button face
    bool ContentsLineForward = false;
    int FontSize = 4;
    int FontColor = 0;
    QString FontName = QStringLiteral("ＭＳ Ｐゴシック");
    int FontStyle = 0;
    bool FormAllChange = false;
    int SearchType = 1;
    QString SearchLineString;
    QString SearchContents = QStringLiteral("()");
    QString SearchSimplleContents = QStringLiteral("１２３４５６７８９０");
    int SearchLength = 0;
    bool SearchOption = false;

    bool operator==(const TSettingsData&) const = default;
};

// The number of keys, in the one order both passes use.
int SettingsKeyCount();
// "Section/Key" of the i-th key, for tests and diagnostics.
QString SettingsKeyName(int i);

// Reads every key in order; a missing key keeps the value `defaults` holds. SearchType other
// than 1, 2 or 3 becomes 0.
TSettingsData ReadSettings(const TIniFile& ini, const TSettingsData& defaults);
// Writes every key in order into the file's lines (UpdateFile then writes them out).
void WriteSettings(TIniFile& ini, const TSettingsData& data);

// SearchType as it is kept and stored: 1, 2 and 3 as they are, every other value 0.
int NormalizedSearchType(int value);

// The font style digits: 1000 bold, 100 italic, 10 underline, 1 strike-out; on reading, each
// flag is set when the value divided by its weight is odd.
struct TFontStyleBits
{
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
    bool operator==(const TFontStyleBits&) const = default;
};
TFontStyleBits DecodeFontStyle(int value);
int EncodeFontStyle(const TFontStyleBits& bits);

// Fits saved window bounds to the screen: a window larger than 98 % × 95 % of the screen in
// both directions is shrunk to that and centred at the top; a left or top edge within 100
// pixels of the right or bottom screen edge is pulled back.
QRect FitToScreen(const QRect& saved, const QSize& screen);
