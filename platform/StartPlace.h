#pragma once

#include <QString>
#include <QStringList>

// What the command line asks of a start. The program takes file names (what a file manager's
// "open with" passes) and one option of its own:
//   --desktop  started from the desktop menu: the settings live in the XDG configuration
//              folder instead of the current folder (see DesktopStartPlace)
//   --         every later argument is a file name
struct TStartArguments
{
    bool Desktop = false;
    // The files to open, as absolute paths, in the order given.
    QStringList Files;
    // One line for each name that cannot be opened, for the standard error.
    QStringList Skipped;
};

// Reads the arguments after the program name; relative names are taken from currentFolder.
// Names that do not exist, that are folders, or that could not be decoded (the file system
// holds bytes that are not valid UTF-8) are skipped with a note.
TStartArguments ParseStartArguments(const QStringList& arguments, const QString& currentFolder);

// Where a start from the desktop menu keeps its settings and what it shows first.
struct TStartPlace
{
    // "quorvelane" in the XDG configuration folder ($XDG_CONFIG_HOME, else ~/.config), made when
    // missing. When it cannot be made it is still the settings folder: reading then gives the
    // defaults and the shutdown reports that the settings file could not be written, so nothing
    // lands in a folder the user did not choose.
    QString SettingsFolder;
    // The folder list's first folder: the user's documents folder, or the home folder when
    // there is none.
    QString StartFolder;
};

TStartPlace DesktopStartPlace();
