#pragma once

#include <QString>

struct TAppState;

// The folder of the settings file: the one given, else the start folder. It always ends in a
// separator; a root already does.
QString SettingsFolderOf(const QString& given, const QString& startFolder);
// "Quorvelane.ini" in the settings folder.
QString SettingsFileIn(const QString& folder);

// Reads every key of the file into the state and notes that the settings were read: only
// settings that were read are written back.
void ReadSettingsFile(const QString& fileName, TAppState& state);
// Writes every key into the file. A file that cannot be written is reported, and the program
// goes on closing.
void WriteSettingsFile(const QString& fileName, const TAppState& state);
