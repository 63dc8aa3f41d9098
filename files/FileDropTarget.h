#pragma once

#include "files/FileDrops.h"

#include <functional>

class QDragEnterEvent;
class QDropEvent;
class TStringListBox;
class QMimeData;
class TDirectoryListBox;
class TFileListBox;

// What a drop touches in the main window.
struct TFileDropContext
{
    TFileListBox* FileListBox1 = nullptr;
    TDirectoryListBox* DirectoryListBox1 = nullptr;
    TStringListBox* FileNameListBox = nullptr;
    TStringListBox* FilePathListBox = nullptr;
    std::function<void()> FileNameListBoxClick;
};

// The main window as a drop target: only local files and folders are taken.
class TFileDropTarget final : public TDropPort
{
public:
    TFileDropTarget(TFileDropContext context, bool& DropInProgress)
        : Context(std::move(context)), Drops(DropInProgress, *this)
    {}

    // The local paths of a drag's file URLs, in order, read whole; a name that is not valid
    // UTF-8 keeps its bytes (see DecodeFileName). Other URLs are left out.
    static QStringList LocalPaths(const QMimeData* data);
    // A drag is taken only when it carries at least one local file or folder, so the cursor
    // shows at once that anything else cannot be dropped.
    static void DragEnter(QDragEnterEvent* event);
    // Takes a drop and gives its local paths, for DropFiles; nothing when it holds none.
    static QStringList TakeDrop(QDropEvent* event);

    TFileDrops& FileDrops() { return Drops; }

    QString FileListMask() const override;
    bool MoveFolderList(const QString& folder, TFolderEntries& reading) override;
    int FileListCount() const override;
    void AppendFileListEntries(const QStringList& names, const QStringList& paths) override;
    void LoadFileListEntry(int index) override;
    void Message(const QString& text, const QString& caption) override;

private:
    TFileDropContext Context;
    TFileDrops Drops;
};
