#pragma once

#include <QString>
#include <QStringList>

// The file list's fields, owned by the main window.
struct TFileState
{
    QString AllFilter;
    QString NowFilter;
    QStringList SelectedFolders;
    bool FileListRestored = false;
    QString CurrentFileName;
    bool IgnoreTextChange = true;
};
