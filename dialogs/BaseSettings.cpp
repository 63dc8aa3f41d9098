#include "dialogs/BaseSettings.h"

#include "files/FileState.h"

#include <exception>

void TBaseSettings::SetBaseExecute()
{
    TSettingLists lists([this](const QString& text, const QString& caption, int flags) {
        return Port.MessageBox(text, caption, flags);
    });
    lists.LoadFilters(Port.AnyFilter(), Files.AllFilter, Files.NowFilter);
    lists.LoadFolders(Files.SelectedFolders);
    if (Port.ShowSettingForm(lists))
        ApplySettings(lists);
}

void TBaseSettings::ApplySettings(const TSettingLists& lists)
{
    Port.SetAnyFilter(lists.Copies.AnyFilter);
    try {
        Files.AllFilter = lists.JoinedFilters();
    } catch (const std::exception&) {
        Files.AllFilter = QStringLiteral("*.txt");
    }
    Port.Set_SaveFilter(Files.AllFilter);
    try {
        Files.NowFilter = lists.JoinedCheckedFilters();
    } catch (const std::exception&) {
        Files.NowFilter = QStringLiteral("*.txt");
    }
    Port.ApplyFileFilter();
    Port.BuildSelectedFolderMenu(lists.JoinedFolders());
}
