#pragma once

#include <QString>
#include <QStringList>

// The version box's caption and text.
QString VersionCaption();
QString VersionText();

// Where the help file is looked for, in this order: beside the executable (also the build
// tree, where the build copies it), the data folder of an installation relative to the
// executable, the data folder the program was built for, and the XDG data folders.
QStringList HelpFolders();
// The help file: a name with a folder is taken as it is; a bare name is looked for in the
// folders. Empty when it is in none of them.
QString LocateHelpFile(const QString& name, const QStringList& folders);
