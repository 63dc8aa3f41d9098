#include "app/Startup.h"

#include "dialogs/QtDialogService.h"

#include <QApplication>

int RunQuorvelane(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvelane"));
    InstallDialogService(std::make_unique<TQtDialogService>());
    return 0;
}
