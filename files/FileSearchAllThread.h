#pragma once

#include "files/FolderTreeSearch.h"

#include <QString>
#include <QThread>
#include <atomic>

// Where the window's transfer of the results has got to; the worker keeps it between pieces.
struct TTransferCursor
{
    qsizetype Appended = 0; // pairs appended since both lists were emptied
    bool Emptied = false;
    bool Done = false;
};

// The window as the worker sees it: the search's side, and the transfer in pieces, so that
// the user-interface thread gets back to its events between them.
class TSearchAllWindow : public TSearchAllPort
{
public:
    // One piece of Transfer: empties the lists, then appends the next pairs, at most about
    // TransferPiece rows of work in all; the last piece hides SearchingButton and sets Done.
    // When the lists were changed by anything else between two pieces, the transfer starts
    // again from the emptying. False when it failed part-way.
    virtual bool TransferPart(const QStringList& paths, const QStringList& names,
                              TTransferCursor& cursor) = 0;

    static constexpr qsizetype TransferPiece = 4000;
};

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
    void SetSearch(const QString& Folder, const QString& Mask, TSearchAllWindow* Window);
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
    TSearchAllWindow* Window = nullptr; // read and written on the user-interface thread only
    std::atomic<bool> Detached{false};
};
