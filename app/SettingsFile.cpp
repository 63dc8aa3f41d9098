#include "app/SettingsFile.h"

#include "app/Settings.h"
#include "platform/DialogService.h"
#include "platform/IniFile.h"

QString SettingsFolderOf(const QString& given, const QString& startFolder)
{
    QString folder = given.isEmpty() ? startFolder : given;
    if (!folder.endsWith(u'/'))
        folder += u'/';
    return folder;
}

QString SettingsFileIn(const QString& folder)
{
    return folder + QStringLiteral("Quorvelane.ini");
}

void ReadSettingsFile(const QString& fileName, TAppState& state)
{
    ReadSettings(TIniFile(fileName), state);
    state.Form.SettingsRead = true;
}

void WriteSettingsFile(const QString& fileName, const TAppState& state)
{
    TIniFile ini(fileName);
    WriteSettings(ini, state);
    if (ini.UpdateFile())
        return;
    try {
        Dialogs().PlainMessage(QStringLiteral("初期化ファイルを作成できませんでした。"));
    } catch (const TDialogUnavailable&) {
        Dialogs().ErrorReport(QStringLiteral("初期化ファイルを作成できませんでした。"));
    }
}
