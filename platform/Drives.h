#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The "drives" of the drive list: mounted file systems that hold the user's files. The root is
// always one; so are file systems on a block device (other disks, /home, removable media) and
// network shares. Kernel and pseudo file systems, read-only package images and mounts of single
// files (as containers bind /etc/hosts) are not.
struct TVolume
{
    QString RootPath;
    QString Device;
    QString FileSystemType;
    bool Ready = true;
};

QList<TVolume> MountedVolumes();

// The drives among the volumes: root paths, the root first, then by path, each once.
// isFolder tells whether a root path is a folder.
QStringList DriveRoots(const QList<TVolume>& volumes, bool (*isFolder)(const QString&));

// The drive holding the path: the longest drive root that is the path or one of its parents;
// empty when none is.
QString DriveOf(const QStringList& roots, const QString& path);
