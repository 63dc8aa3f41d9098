#include "files/FileSearchAll.h"

#include "common/AppConstants.h"
#include "files/FileSearchAllThread.h"
#include "files/StringListBox.h"
#include "platform/AppUtils.h"
#include "platform/DialogService.h"

#include <QEvent>
#include <QPushButton>

#include <exception>

TFileSearchAll::TFileSearchAll(TFileSearchAllContext context, QObject* parent)
    : QObject(parent), Context(std::move(context))
{
    // The button follows the panel it shares with the folder list, as anchored to all sides.
    if (QWidget* panel = Context.SearchingButton->parentWidget())
        panel->installEventFilter(this);
}

TFileSearchAll::~TFileSearchAll()
{
    Shutdown();
}

void TFileSearchAll::CoverFolderList()
{
    Context.SearchingButton->setGeometry(Context.DirectoryListBox1->geometry());
    Context.SearchingButton->raise();
}

bool TFileSearchAll::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Resize && !Context.SearchingButton->isHidden() &&
        watched == Context.SearchingButton->parentWidget())
        CoverFolderList();
    return QObject::eventFilter(watched, event);
}

void TFileSearchAll::FileSearchAllExecute()
{
    // The button's own state, not whether it can be seen: a folded panel hides it from view
    // while its search runs.
    if (!Context.SearchingButton->isHidden()) {
        AppMessageBox(QStringLiteral("検索中"), ErrorCaption(), 0);
        return;
    }
    try {
        CoverFolderList();
        Context.SearchingButton->show();
        Thread = new TFileSearchAllThread(this);
    } catch (const std::exception&) {
        Context.SearchingButton->hide();
        AppMessageBox(QStringLiteral("Set_ThreadError"), ErrorCaption(), 0);
        return;
    }
    StartThread();
}

void TFileSearchAll::StartThread()
{
    TFileSearchAllThread* thread = Thread;
    try {
        // Ending the worker stands for the original's destructor: the button is hidden and
        // the thread object goes.
        connect(thread, &QThread::finished, this, [this, thread] {
            // The button belongs to the newest search; an older one ending late leaves it.
            if (Thread == thread)
                Context.SearchingButton->hide();
            thread->deleteLater();
        });
        thread->SetSearch(Context.Folder(), Context.Mask(), this);
        thread->start(QThread::NormalPriority);
    } catch (const std::exception&) {
        delete thread;
        Context.SearchingButton->hide();
        AppMessageBox(QStringLiteral("Set_ThreadError"), ErrorCaption(), 0);
    }
}

void TFileSearchAll::SearchingButtonClick()
{
    if (!Thread) {
        AppMessageBox(QStringLiteral("Thread Error"), ErrorCaption(), 0);
        return;
    }
    Thread->requestInterruption();
}

void TFileSearchAll::Shutdown()
{
    if (!Thread)
        return;
    TFileSearchAllThread* thread = Thread;
    thread->disconnect(this);
    thread->DetachAndWait();
    delete thread;
}

void TFileSearchAll::SetStatus(const QString& caption)
{
    Context.SearchingButton->setText(caption);
}

void TFileSearchAll::Message(const QString& text, const QString& caption)
{
    AppMessageBox(text, caption, 0);
}

void TFileSearchAll::ErrorReport(const QString& text)
{
    Dialogs().ErrorReport(text);
}

// Both lists take the results over whole, sharing the worker's strings: one reset of each view,
// however many files were found, so the user-interface thread is not held up.
bool TFileSearchAll::Transfer(const QStringList& paths, const QStringList& names)
{
    try {
        Context.FilePathListBox->setTexts(paths);
        Context.FileNameListBox->setTexts(names);
        Context.SearchingButton->hide();
        return true;
    } catch (const std::exception&) {
        return false;
    }
}
