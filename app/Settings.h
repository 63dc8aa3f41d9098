#pragma once

#include "app/FormState.h"
#include "files/FileState.h"
#include "reader/ReaderAppearance.h"
#include "reader/SlideEngine.h"
#include "search/SearchFlow.h"

#include <QRect>
#include <QSize>
#include <QString>
#include <QVariantList>

class TIniFile;

// The main window's state, one struct per subsystem. Each persistent setting lives in exactly
// one field of these, with its default written there; the settings table binds each key of
// "Quorvelane.ini" to its field.
struct TAppState
{
    TFormState Form;
    TFileState Files;
    TSlideState Slide;
    TSearchState Search;
    TReaderLook Look;
};

// The number of keys, in the one order both passes use.
int SettingsKeyCount();
// "Section/Key" of the i-th key, for tests and diagnostics.
QString SettingsKeyName(int i);

// Reads every key in order into its field; a missing key keeps the value the field holds.
// SearchType other than 1, 2 or 3 becomes 0.
void ReadSettings(const TIniFile& ini, TAppState& state);
// Writes every key in order into the file's lines (UpdateFile then writes them out).
void WriteSettings(TIniFile& ini, const TAppState& state);
// The value each key would be written with, in key order (bool, int or QString).
QVariantList SettingsValues(const TAppState& state);
// The value of one key by its "Section/Key" name; invalid for an unknown name.
QVariant SettingsValue(const TAppState& state, const QString& name);

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
