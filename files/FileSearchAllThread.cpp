#include "files/FileSearchAllThread.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QEvent>
#include <QSemaphore>

#include <optional>
#include <utility>

// The search's port on the worker: each call runs on the user-interface thread, and the worker
// waits for it. Captions are handed over at most once per CaptionInterval: a caption that a
// newer one replaces within that time would never be seen, and each costs the user-interface
// thread a new layout of the button. The latest caption always goes before any other effect.
class TFileSearchAllThread::TWindowCalls final : public TSearchAllPort
{
public:
    static constexpr int CaptionInterval = 20; // ms

    explicit TWindowCalls(TFileSearchAllThread& thread) : Thread(thread) {}

    void SetStatus(const QString& caption) override
    {
        PendingCaption = caption;
        if (!CaptionClock.isValid() || CaptionClock.hasExpired(CaptionInterval))
            PostCaption();
    }
    void PostCaption()
    {
        if (!PendingCaption)
            return;
        CaptionClock.start();
        Post([caption = *std::exchange(PendingCaption, std::nullopt)](TSearchAllWindow& window) {
            window.SetStatus(caption);
        });
    }
    void Message(const QString& text, const QString& caption) override
    {
        Call([&](TSearchAllWindow& window) { window.Message(text, caption); });
    }
    void ErrorReport(const QString& text) override
    {
        Call([&](TSearchAllWindow& window) { window.ErrorReport(text); });
    }
    // The pieces follow each other on the user-interface thread, each handed over by the one
    // before it, with the thread's other events in between; the worker waits for the last.
    // Going back to the worker between pieces would cost two trips through the scheduler each.
    bool Transfer(const QStringList& paths, const QStringList& names) override
    {
        PostCaption();
        if (Thread.Detached.load())
            return false;
        TTransferRun run{&Thread, &paths, &names};
        QMetaObject::invokeMethod(&Thread, TTransferStep{&run}, Qt::QueuedConnection);
        run.Finished.acquire();
        return run.Transferred;
    }

private:
    // One transfer: the worker's stack holds it until Finished is released, once.
    struct TTransferRun
    {
        TTransferRun(TFileSearchAllThread* thread, const QStringList* paths,
                     const QStringList* names)
            : Thread(thread), Paths(paths), Names(names)
        {}

        TFileSearchAllThread* Thread;
        const QStringList* Paths;
        const QStringList* Names;
        TTransferCursor Cursor;
        bool Transferred = false;
        QSemaphore Finished;
    };

    struct TTransferStep
    {
        TTransferRun* Run;

        void operator()() const
        {
            TSearchAllWindow* window = Run->Thread->Window;
            Run->Transferred =
                window && window->TransferPart(*Run->Paths, *Run->Names, Run->Cursor);
            if (Run->Transferred && !Run->Cursor.Done)
                QMetaObject::invokeMethod(Run->Thread, *this, Qt::QueuedConnection);
            else
                Run->Finished.release();
        }
    };

    // Hands the effect over without waiting; it still comes in its turn.
    template <typename F> void Post(F effect)
    {
        if (Thread.Detached.load())
            return;
        TFileSearchAllThread* thread = &Thread;
        QMetaObject::invokeMethod(
            thread,
            [thread, effect] {
                if (thread->Window)
                    effect(*thread->Window);
            },
            Qt::QueuedConnection);
    }

    template <typename F> void Call(const F& effect)
    {
        PostCaption();
        if (Thread.Detached.load())
            return;
        TFileSearchAllThread* thread = &Thread;
        QMetaObject::invokeMethod(
            thread,
            [thread, &effect] {
                if (thread->Window)
                    effect(*thread->Window);
            },
            Qt::BlockingQueuedConnection);
    }

    TFileSearchAllThread& Thread;
    std::optional<QString> PendingCaption;
    QElapsedTimer CaptionClock;
};

TFileSearchAllThread::~TFileSearchAllThread()
{
    if (isRunning())
        DetachAndWait();
}

void TFileSearchAllThread::SetSearch(const QString& Folder, const QString& Mask,
                                     TSearchAllWindow* window)
{
    StartFolder = Folder;
    FileMask = Mask;
    Window = window;
}

void TFileSearchAllThread::Detach()
{
    Window = nullptr;
    Detached = true;
    requestInterruption();
}

void TFileSearchAllThread::DetachAndWait()
{
    Detach();
    while (!wait(QDeadlineTimer(5)))
        QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
}

void TFileSearchAllThread::run()
{
    TWindowCalls window(*this);
    TFolderTreeSearch search(window, [this] { return isInterruptionRequested(); });
    search.SetSearch(StartFolder, FileMask);
    search.SearchAll();
    window.PostCaption();
}
