#include "platform/Drives.h"

#include <QDir>
#include <QStorageInfo>
#include <algorithm>

namespace {

bool IsNetworkShare(const QString& type)
{
    static const QStringList types{"nfs", "nfs4", "cifs", "smb3", "smbfs"};
    return types.contains(type);
}

bool IsDrive(const TVolume& volume)
{
    if (volume.RootPath == QLatin1String("/"))
        return true;
    if (!volume.Ready)
        return false;
    // Package images (snaps) are loop-mounted squashfs: system software, not the user's files.
    if (volume.FileSystemType == QLatin1String("squashfs"))
        return false;
    return volume.Device.startsWith(QLatin1String("/dev/")) ||
           IsNetworkShare(volume.FileSystemType);
}

} // namespace

QList<TVolume> MountedVolumes()
{
    QList<TVolume> volumes;
    const QList<QStorageInfo> mounted = QStorageInfo::mountedVolumes();
    for (const QStorageInfo& info : mounted) {
        if (!info.isValid())
            continue;
        volumes.append({info.rootPath(), QString::fromLocal8Bit(info.device()),
                        QString::fromLatin1(info.fileSystemType()), info.isReady()});
    }
    return volumes;
}

QStringList DriveRoots(const QList<TVolume>& volumes, bool (*isFolder)(const QString&))
{
    QStringList roots;
    for (const TVolume& volume : volumes) {
        if (IsDrive(volume) && !roots.contains(volume.RootPath) && isFolder(volume.RootPath))
            roots.append(volume.RootPath);
    }
    std::sort(roots.begin(), roots.end(), [](const QString& a, const QString& b) {
        if (a == QLatin1String("/") || b == QLatin1String("/"))
            return a == QLatin1String("/") && b != QLatin1String("/");
        return a < b;
    });
    return roots;
}

QString DriveOf(const QStringList& roots, const QString& path)
{
    const QString clean = QDir::cleanPath(path);
    QString best;
    for (const QString& root : roots) {
        const QString prefix = root.endsWith(u'/') ? root : root + u'/';
        const bool holds = clean == QDir::cleanPath(root) || clean.startsWith(prefix);
        if (holds && root.size() > best.size())
            best = root;
    }
    return best;
}
