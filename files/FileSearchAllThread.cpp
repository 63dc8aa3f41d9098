#include "files/FileSearchAllThread.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QEvent>

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
        Post([caption = *std::exchange(PendingCaption, std::nullopt)](TSearchAllPort& window) {
            window.SetStatus(caption);
        });
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
        bool transferred = false;
        Call([&](TSearchAllPort& window) { transferred = window.Transfer(paths, names); });
        return transferred;
    }

private:
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
    window.PostCaption();
}
