#include "app/Startup.h"

#include "app/QuorvelaneMain.h"
#include "platform/AppUtils.h"
#include "dialogs/FileDialogs.h"
#include "dialogs/GetFolderName.h"
#include "platform/QtDialogService.h"

#include <QApplication>

int RunQuorvelane(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvelane"));
    app.setProperty("HelpFile", QStringLiteral("Quorvelane.hlp"));
    auto service = std::make_unique<TQtDialogService>();
    TQtDialogService& dialogs = *service;
    InstallDialogService(std::move(service));
    // The main window comes first, so its creation runs before the message window exists.
    auto form = std::make_unique<TQuorvelaneForm>();
    dialogs.SetFolderChooser([owner = form.get()] { return GetFolderName(owner); });
    const std::unique_ptr<TApU> messageWindow = CreateApU();
    const std::unique_ptr<TFileDialogsForm> fileDialogs = CreateFileDialogsForm(AppMessageBox);
    form->show();
    return QApplication::exec();
}
