#include "platform/StartPlace.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

// The note for a name that cannot be opened, or an empty text when it can.
QString problemWith(const QString& name, const QFileInfo& info)
{
    if (name.contains(QChar::ReplacementCharacter))
        return QStringLiteral("ファイル名を読めません: ") + name;
    if (info.isDir())
        return QStringLiteral("フォルダは開けません: ") + name;
    if (!info.isFile())
        return QStringLiteral("ファイルがありません: ") + name;
    return {};
}

} // namespace

TStartArguments ParseStartArguments(const QStringList& arguments, const QString& currentFolder)
{
    TStartArguments start;
    bool options = true;
    const QDir base(currentFolder);
    for (const QString& argument : arguments) {
        if (options && argument == QLatin1String("--")) {
            options = false;
            continue;
        }
        if (options && argument == QLatin1String("--desktop")) {
            start.Desktop = true;
            continue;
        }
        const QFileInfo info(base.absoluteFilePath(argument));
        const QString problem = problemWith(argument, info);
        if (problem.isEmpty())
            start.Files.append(QDir::cleanPath(info.absoluteFilePath()));
        else
            start.Skipped.append(problem);
    }
    return start;
}

TStartPlace DesktopStartPlace()
{
    TStartPlace place;
    place.SettingsFolder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                           QStringLiteral("/quorvelane");
    QDir().mkpath(place.SettingsFolder);
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    place.StartFolder = QFileInfo(documents).isDir() ? documents : QDir::homePath();
    return place;
}
