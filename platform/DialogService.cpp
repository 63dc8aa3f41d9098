#include "platform/DialogService.h"

#include "common/Notices.h"

namespace {

// Stands in until the application installs its service: every dialog is unavailable.
class TNoDialogService final : public TDialogService
{
public:
    int MessageBox(const QString&, const QString&, int) override { refuse(); }
    void PlainMessage(const QString&) override { refuse(); }
    std::optional<QString> InputBox(const QString&, const QString&, const QString&) override
    {
        refuse();
    }
    std::optional<TFontSpec> ChooseFont(const TFontSpec&) override { refuse(); }
    std::optional<qint32> ChooseColor(qint32) override { refuse(); }
    std::optional<SaveAnswer> SaveFile(const QString&, const QString&, const QString&,
                                       const QStringList&, int) override
    {
        refuse();
    }
    std::optional<QString> ChooseFolder(const QString&, const QString&) override { refuse(); }
    int ShowModalForm(QObject*) override { refuse(); }
    void ErrorReport(const QString&) override {}

private:
    [[noreturn]] static void refuse() { throw TDialogUnavailable("no dialog service installed"); }
};

std::unique_ptr<TDialogService>& installed()
{
    static std::unique_ptr<TDialogService> service = std::make_unique<TNoDialogService>();
    return service;
}

void plainNotice(const QString& text)
{
    try {
        Dialogs().PlainMessage(text);
    } catch (const TDialogUnavailable&) {
    }
}

} // namespace

TDialogService& Dialogs()
{
    return *installed();
}

std::unique_ptr<TDialogService> InstallDialogService(std::unique_ptr<TDialogService> service)
{
    if (!service)
        service = std::make_unique<TNoDialogService>();
    installed().swap(service);
    SetNoticeSink(&plainNotice);
    return service;
}
