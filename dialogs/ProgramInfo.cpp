#include "dialogs/ProgramInfo.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString VersionCaption()
{
    return QStringLiteral("  Quorvelane");
}

QString VersionText()
{
    return QStringLiteral("Quorvelane Version 01.01.00") + QStringLiteral("\r\n\r\n") +
           QStringLiteral("Copyright (C) 2026 The Quorvelane developers");
}

QStringList HelpFolders()
{
    QStringList folders;
    const QString program = QCoreApplication::applicationDirPath();
    folders << program << QDir::cleanPath(program + QStringLiteral("/../share/quorvelane"));
#ifdef QV_DATA_DIR
    folders << QStringLiteral(QV_DATA_DIR);
#endif
    for (const QString& data :
         QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        folders << data + QStringLiteral("/quorvelane");
    folders.removeDuplicates();
    return folders;
}

QString LocateHelpFile(const QString& name, const QStringList& folders)
{
    if (name.isEmpty())
        return QString();
    if (name.contains(u'/'))
        return QFileInfo(name).isFile() ? name : QString();
    for (const QString& folder : folders) {
        const QString path = folder + u'/' + name;
        if (QFileInfo(path).isFile())
            return path;
    }
    return QString();
}
