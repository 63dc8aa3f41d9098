#pragma once

#include <QString>

// The main window's own fields: start-up, shutdown, its bounds and the panels' sizes. The
// saved ones are the settings of [Form] and [Panel], with their defaults.
struct TFormState
{
    bool FormInactive = true;
    QString SettingsFolder;
    bool StartMaximized = false;
    // The window's bounds as saved; a maximised window keeps the bounds it goes back to.
    int Left = 50;
    int Top = 30;
    int Width = 500;
    int Height = 400;
    int LastFormWidth = 0;
    int LastFormHeight = 0;
    int LeftPanelWidth = 110;
    int LeftPanelOpenWidth = 110;
    int DirectoryPanelHeight = 150;
    int RightPanelWidth = 96;
    bool DropInProgress = false;
    // False until the settings have been read: a window that closes before that (the zero label
    // could not be made) must not write designed defaults over the saved settings.
    bool SettingsRead = false;
    // How many relayouts the resize timer has made, for tests and benchmarks.
    int Relayouts = 0;
};
