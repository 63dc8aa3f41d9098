#include "app/Startup.h"

#include "app/QuorvelaneMain.h"
#include "dialogs/FileDialogs.h"
#include "dialogs/GetFolderName.h"
#include "files/StringListBox.h"
#include "platform/AppUtils.h"
#include "platform/QtDialogService.h"
#include "platform/QtTranslations.h"
#include "platform/StartPlace.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTimer>
#include <cstdio>

int RunQuorvelane(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvelane"));
    // Lets the desktop match the window with the menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.quorvelane.Quorvelane"));
    app.setProperty("HelpFile", QStringLiteral("Quorvelane.hlp"));
    InstallQtTranslations(app);
    const TStartArguments start =
        ParseStartArguments(QCoreApplication::arguments().mid(1), QDir::currentPath());
    for (const QString& note : start.Skipped)
        std::fprintf(stderr, "quorvelane: %s\n", qUtf8Printable(note));
    QString settingsFolder;
    if (start.Desktop) {
        const TStartPlace place = DesktopStartPlace();
        settingsFolder = place.SettingsFolder;
        QDir::setCurrent(place.StartFolder);
    }
    auto service = std::make_unique<TQtDialogService>();
    TQtDialogService& dialogs = *service;
    InstallDialogService(std::move(service));
    // The main window comes first, so its creation runs before the message window exists.
    auto form = std::make_unique<TQuorvelaneForm>(nullptr, settingsFolder);
    dialogs.SetFolderChooser([owner = form.get()] { return GetFolderName(owner); });
    const std::unique_ptr<TApU> messageWindow = CreateApU();
    const std::unique_ptr<TFileDialogsForm> fileDialogs = CreateFileDialogsForm(AppMessageBox);
    form->show();
    // The start-up tick fills the file lists from the folder; the named files follow its entries.
    if (!start.Files.isEmpty())
        QObject::connect(
            form->ReadTimer, &QTimer::timeout, form.get(),
            [&form, files = start.Files] { OpenStartFiles(*form, files); },
            Qt::SingleShotConnection);
    return QApplication::exec();
}

void OpenStartFiles(TQuorvelaneForm& form, const QStringList& files)
{
    if (files.isEmpty())
        return;
    // A named file that the folder's list already holds keeps its row there: listed twice, the
    // second entry would only repeat the first.
    const QStringList listed = form.FilePathListBox->texts();
    QStringList names;
    QStringList paths;
    int firstRow = -1;
    for (const QString& path : files) {
        qsizetype row = listed.indexOf(path);
        if (row < 0 && !paths.contains(path)) {
            names.append(QFileInfo(path).fileName());
            paths.append(path);
        }
        if (row < 0)
            row = listed.size() + paths.indexOf(path);
        if (firstRow < 0)
            firstRow = int(row);
    }
    form.FileNameListBox->addItems(names);
    form.FilePathListBox->addItems(paths);
    form.FileNameListBox->setCurrentRow(firstRow);
    form.FileNameListBoxClick();
}
