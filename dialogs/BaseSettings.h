#pragma once

#include "dialogs/SettingLists.h"

#include <QString>

struct TFileState;

// What the base settings command needs from the main window.
class TBaseSettingPort
{
public:
    virtual ~TBaseSettingPort() = default;

    // The check state of SetAnyFilter.
    virtual bool AnyFilter() const = 0;
    virtual void SetAnyFilter(bool checked) = 0;
    // Shows the settings form over the lists, modally, and releases it; true when it closed
    // with OK. A form that cannot be shown counts as cancelled.
    virtual bool ShowSettingForm(TSettingLists& lists) = 0;
    // The messages of the dialog's edits.
    virtual int MessageBox(const QString& text, const QString& caption, int flags) = 0;
    // Rebuilds the save dialog's filter list from FilterList, which it may replace by "*.txt".
    virtual bool Set_SaveFilter(QString& FilterList) = 0;
    // Gives the file list its mask from SetAnyFilter and NowFilter.
    virtual void ApplyFileFilter() = 0;
    // Rebuilds SelectedFolders and the folder list's submenu from a ";"-joined list.
    virtual void BuildSelectedFolderMenu(const QString& Folders) = 0;
};

// The base settings command: the dialog edits copies of the filters and the selected folders,
// and only OK hands them back to the main window. Nothing is written to the settings file here.
class TBaseSettings
{
public:
    TBaseSettings(TFileState& files, TBaseSettingPort& port) : Files(files), Port(port) {}

    void SetBaseExecute();
    // The OK steps, in their order.
    void ApplySettings(const TSettingLists& lists);

private:
    TFileState& Files;
    TBaseSettingPort& Port;
};
