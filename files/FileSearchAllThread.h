#pragma once

#include "files/FolderTreeSearch.h"

#include <QString>
#include <QThread>
#include <atomic>

// The worker of a folder-tree search. The object itself lives on the user-interface thread:
// every call of the search on the window's port is handed to that thread in the search's
// order. The worker waits until each is done, except for the status captions: nothing the
// worker does depends on them, and waiting for each of the hundreds of captions of a large
// tree would cost a trip through the scheduler every time. Captions that follow each other
// within a few milliseconds are shown as the latest of them. The stop request is
// QThread's interruption request.
class TFileSearchAllThread : public QThread
{
    Q_OBJECT

public:
    explicit TFileSearchAllThread(QObject* parent = nullptr) : QThread(parent) {}
    ~TFileSearchAllThread() override;

    // Before start(): the folder, the hidden file list's mask and the window's side of the
    // search, whose calls are made on this object's thread.
    void SetSearch(const QString& Folder, const QString& Mask, TSearchAllPort* Window);
    // User-interface thread. Forgets the window and requests the stop: a call already handed
    // over does nothing when its turn comes, and no later call is handed over.
    void Detach();
    // User-interface thread. Detaches, then waits for the worker to end while carrying out the
    // calls it handed over, so the wait cannot block the worker.
    void DetachAndWait();

protected:
    void run() override;

private:
    class TWindowCalls;

    QString StartFolder;
    QString FileMask;
    TSearchAllPort* Window = nullptr; // read and written on the user-interface thread only
    std::atomic<bool> Detached{false};
};
