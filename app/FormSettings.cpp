// The base settings command: the dialog's working copies and OK steps live in dialogs/; the
// window lends its file state and the steps that change its controls.
#include "app/QuorvelaneMain.h"

#include "common/AppUtils.h"
#include "dialogs/BaseSettings.h"
#include "dialogs/SettingFrm.h"

#include <QAction>

namespace {

class TFormSettingPort final : public TBaseSettingPort
{
public:
    explicit TFormSettingPort(TQuorvelaneForm& form) : Form(form) {}

    bool AnyFilter() const override
    {
        return Form.Action(QStringLiteral("SetAnyFilter"))->isChecked();
    }
    void SetAnyFilter(bool checked) override
    {
        Form.Action(QStringLiteral("SetAnyFilter"))->setChecked(checked);
    }
    bool ShowSettingForm(TSettingLists& lists) override
    {
        return TSettingForm::Execute(lists, &Form);
    }
    int MessageBox(const QString& text, const QString& caption, int flags) override
    {
        return AppMessageBox(text, caption, flags);
    }
    bool Set_SaveFilter(QString&) override { return true; }
    void ApplyFileFilter() override { Form.ApplyFileFilter(); }
    void BuildSelectedFolderMenu(const QString& Folders) override
    {
        Form.BuildSelectedFolderMenu(Folders);
    }

private:
    TQuorvelaneForm& Form;
};

} // namespace

void TQuorvelaneForm::SetBaseExecute()
{
    TFormSettingPort port(*this);
    TBaseSettings(Files, port).SetBaseExecute();
}
