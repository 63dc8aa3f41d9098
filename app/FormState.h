#pragma once

#include "dialogs/DialogService.h"

#include <QString>
#include <QStringList>

// The main window's own fields: start-up, shutdown and layout.
struct TFormState
{
    bool FormInactive = true;
    QString SettingsFolder;
    bool StartMaximized = false;
    int LastFormWidth = 0;
    int LastFormHeight = 0;
    int LeftPanelOpenWidth = 110;
    int RightPanelWidth = 96;
    bool DropInProgress = false;
    // False until the settings have been read: a window that closes before that (the zero label
    // could not be made) must not write designed defaults over the saved settings.
    bool SettingsRead = false;
};

// The file list's fields.
struct TFileState
{
    QString AllFilter;
    QString NowFilter;
    QStringList SelectedFolders;
    bool FileListRestored = false;
    QString CurrentFileName;
    bool IgnoreTextChange = true;
};

// The reader's appearance: the text view's font (shared by the reader labels), the spacing and
// the label count.
struct TReaderAppearance
{
    TFontSpec TextFont{QStringLiteral("ＭＳ Ｐゴシック"), 10};
    int LabelCount = 0;
    int LabelSpacing = 2;
    int SlideStep = 0;
    int SlideIntervalMs = 1000;
    int ReadingLine = 0;
    QString ChangeReadTimes;
    int ChangeReadIndex = 0;
    bool PausedByMouse = false;
};

// The stored fields of the searches.
struct TSearchFields
{
    int SearchType = 1;
    QString SearchLineString;
    QString SearchContents;
    QString SearchSimplleContents;
    int SearchLength = 0;
    bool SearchOption = false;
    bool Searching = false;
};
