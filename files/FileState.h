#pragma once

#include <QString>
#include <QStringList>

// The file list's fields, owned by the main window. The saved ones are the settings of
// [FileFolder], with their defaults.
struct TFileState
{
    // SetAnyFilter's check mark mirrors it.
    bool AnyFilter = false;
    QString NowFilter = QStringLiteral("*.txt");
    QString AllFilter = QStringLiteral("*.txt/*.rtf/*.m3u");
    // The folders of the selected-folder menu, stored joined with ";".
    QStringList SelectedFolders;
    // The open folder; before the settings are read, the folder the program started in.
    QString Folder;
    bool FileListRestored = false;
    QString CurrentFileName;
    bool IgnoreTextChange = true;
};
