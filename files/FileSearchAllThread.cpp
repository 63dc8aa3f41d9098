#include "files/FileSearchAllThread.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEvent>

// The search's port on the worker: each call runs on the user-interface thread, and the worker
// waits for it.
class TFileSearchAllThread::TWindowCalls final : public TSearchAllPort
{
public:
    explicit TWindowCalls(TFileSearchAllThread& thread) : Thread(thread) {}

    void SetStatus(const QString& caption) override
    {
        Call([&](TSearchAllPort& window) { window.SetStatus(caption); });
    }
    void Message(const QString& text, const QString& caption) override
    {
        Call([&](TSearchAllPort& window) { window.Message(text, caption); });
    }
    void ErrorReport(const QString& text) override
    {
        Call([&](TSearchAllPort& window) { window.ErrorReport(text); });
    }
    bool Transfer(const QStringList& paths, const QStringList& names) override
    {
        bool done = false;
        Call([&](TSearchAllPort& window) { done = window.Transfer(paths, names); });
        return done;
    }

private:
    template <typename F> void Call(const F& effect)
    {
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
};

TFileSearchAllThread::~TFileSearchAllThread()
{
    if (isRunning())
        DetachAndWait();
}

void TFileSearchAllThread::SetSearch(const QString& Folder, const QString& Mask,
                                     TSearchAllPort* window)
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
}
