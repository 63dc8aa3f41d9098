#pragma once

#include "files/FolderListing.h"

#include <QString>
#include <QStringList>

// What a drop needs from the main window.
class TDropPort
{
public:
    virtual ~TDropPort() = default;

    // The hidden file list's mask (FileListBox1).
    virtual QString FileListMask() const = 0;
    // Moves the folder list to the folder, handing back the folder list's reading of it;
    // false when it cannot be opened.
    virtual bool MoveFolderList(const QString& folder, TFolderEntries& reading) = 0;
    // FileNameListBox and FilePathListBox: their length, appending pairs, and selecting an
    // entry and loading it the way a click does (FileNameListBoxClick).
    virtual int FileListCount() const = 0;
    virtual void AppendFileListEntries(const QStringList& names, const QStringList& paths) = 0;
    virtual void LoadFileListEntry(int index) = 0;
    virtual void Message(const QString& text, const QString& caption) = 0;
};

// Files and folders dropped on the main window: the files that pass the file list's filter are
// appended to the file list, and the first one appended is loaded; a dropped folder moves the
// folder list there and the files directly in it are appended after the dropped files.
class TFileDrops
{
public:
    TFileDrops(bool& DropInProgress, TDropPort& port) : DropInProgress(DropInProgress), Port(port)
    {}

    // Names: full local paths in the order the drop gives them, read whole.
    void DropFiles(const QStringList& Names);
    // Sorts Folders, moves the folder list to the first, and collects their files into Out.
    void SetDropDirectory(QStringList& Folders, const QString& Filter, QStringList& Out);
    // The plain files with an extension directly in each folder that pass the filter, hidden
    // ones included, sorted within each folder; a "/" is appended to each folder in place.
    // firstFolder: the first folder's reading when it was read already, or nullptr.
    static void CollectFolderFiles(QStringList& Folders, const QString& Filter, QStringList& Out,
                                   TFolderEntries* firstFolder = nullptr);
    // Appends the files to both lists and loads the first one appended.
    void AddDroppedFiles(const QStringList& Files);

private:
    bool& DropInProgress;
    TDropPort& Port;
};
