#include "app/Startup.h"

#include "app/QuorvelaneMain.h"
#include "dialogs/AppUtils.h"
#include "dialogs/FileDialogs.h"
#include "dialogs/QtDialogService.h"

#include <QApplication>

int RunQuorvelane(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvelane"));
    app.setProperty("HelpFile", QStringLiteral("Quorvelane.hlp"));
    InstallDialogService(std::make_unique<TQtDialogService>());
    // The main window comes first, so its creation runs before the message window exists.
    auto form = std::make_unique<TQuorvelaneForm>();
    const std::unique_ptr<TApU> messageWindow = CreateApU();
    const std::unique_ptr<TFileDialogsForm> fileDialogs = CreateFileDialogsForm(AppMessageBox);
    form->show();
    return QApplication::exec();
}
