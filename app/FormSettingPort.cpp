// The base settings command's view of the main window.
#include "app/FormPorts.h"

#include "app/QuorvelaneMain.h"
#include "dialogs/SettingFrm.h"
#include "platform/AppUtils.h"

#include <QAction>

bool TFormSettingPort::AnyFilter() const
{
    return Form.State.Files.AnyFilter;
}
void TFormSettingPort::SetAnyFilter(bool checked)
{
    Form.State.Files.AnyFilter = checked;
    Form.Action(QStringLiteral("SetAnyFilter"))->setChecked(checked);
}
bool TFormSettingPort::ShowSettingForm(TSettingLists& lists)
{
    return TSettingForm::Execute(lists, &Form);
}
int TFormSettingPort::MessageBox(const QString& text, const QString& caption, int flags)
{
    return AppMessageBox(text, caption, flags);
}
bool TFormSettingPort::Set_SaveFilter(QString& FilterList)
{
    return Form.Set_SaveFilter(FilterList);
}
void TFormSettingPort::ApplyFileFilter()
{
    Form.ApplyFileFilter();
}
void TFormSettingPort::BuildSelectedFolderMenu(const QString& Folders)
{
    Form.BuildSelectedFolderMenu(Folders);
}
