#pragma once

#include "files/FileSearchAllThread.h"
#include "files/FolderTreeSearch.h"

#include <QObject>
#include <QPointer>
#include <functional>

class TStringListBox;
class QPushButton;
class QWidget;

// What the folder-tree search touches in the main window.
struct TFileSearchAllContext
{
    QPushButton* SearchingButton = nullptr;
    QWidget* DirectoryListBox1 = nullptr;
    TStringListBox* FilePathListBox = nullptr;
    TStringListBox* FileNameListBox = nullptr;
    // The folder open in the folder list, and the hidden file list's mask.
    std::function<QString()> Folder;
    std::function<QString()> Mask;
};

// Starts and stops the search over the open folder's tree, and carries out the worker's
// effects on the window. While a search runs, SearchingButton lies over the folder list, shows
// the progress and stops the search when clicked; its visibility alone says a search runs.
class TFileSearchAll final : public QObject, public TSearchAllPort
{
    Q_OBJECT

public:
    explicit TFileSearchAll(TFileSearchAllContext context, QObject* parent = nullptr);
    ~TFileSearchAll() override;

    void FileSearchAllExecute();
    void SearchingButtonClick();
    // The window closes: the search is stopped and ends without touching the window.
    void Shutdown();

    // The most recently started search while it exists.
    TFileSearchAllThread* SearchAllThread() const { return Thread; }

    void SetStatus(const QString& caption) override;
    void Message(const QString& text, const QString& caption) override;
    void ErrorReport(const QString& text) override;
    bool Transfer(const QStringList& paths, const QStringList& names) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CoverFolderList();
    void StartThread();

    TFileSearchAllContext Context;
    QPointer<TFileSearchAllThread> Thread;
};
