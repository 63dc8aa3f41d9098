#pragma once

#include <QString>

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
