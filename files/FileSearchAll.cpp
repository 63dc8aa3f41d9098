#include "files/FileSearchAll.h"

#include "common/AppConstants.h"
#include "files/FileSearchAllThread.h"
#include "platform/AppUtils.h"
#include "platform/DialogService.h"

#include <QEvent>
#include <QListWidget>
#include <QPushButton>

#include <algorithm>
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

bool TFileSearchAll::Transfer(const QStringList& paths, const QStringList& names)
{
    TTransferCursor cursor;
    while (!cursor.Done) {
        if (!TransferPart(paths, names, cursor))
            return false;
    }
    return true;
}

namespace {

// Removes up to count rows from the front of the list; the number removed.
qsizetype RemoveFront(QListWidget* list, qsizetype count)
{
    const int rows = int(std::min<qsizetype>(count, list->count()));
    if (rows > 0)
        list->model()->removeRows(0, rows);
    return rows;
}

} // namespace

// Filling the lists with tens of thousands of entries at once would keep the user-interface
// thread from its events for a long time, so it goes in pieces. The lists keep their pairing
// after every piece.
bool TFileSearchAll::TransferPart(const QStringList& paths, const QStringList& names,
                                  TTransferCursor& cursor)
{
    QListWidget* pathList = Context.FilePathListBox;
    QListWidget* nameList = Context.FileNameListBox;
    try {
        nameList->setUpdatesEnabled(false);
        if (cursor.Emptied &&
            (pathList->count() != cursor.Appended || nameList->count() != cursor.Appended))
            cursor = TTransferCursor();
        qsizetype budget = TransferPiece;
        if (!cursor.Emptied) {
            // No current entry while rows go, so that none moves from row to row.
            pathList->selectionModel()->clear();
            nameList->selectionModel()->clear();
            budget -= std::max(RemoveFront(pathList, budget), RemoveFront(nameList, budget));
            cursor.Emptied = pathList->count() == 0 && nameList->count() == 0;
        }
        if (cursor.Emptied && budget > 0) {
            const qsizetype count = std::min(budget, paths.size() - cursor.Appended);
            pathList->addItems(paths.mid(cursor.Appended, count));
            nameList->addItems(names.mid(cursor.Appended, count));
            cursor.Appended += count;
            if (cursor.Appended == paths.size()) {
                nameList->setUpdatesEnabled(true);
                Context.SearchingButton->hide();
                cursor.Done = true;
            }
        }
        return true;
    } catch (const std::exception&) {
        nameList->setUpdatesEnabled(true);
        return false;
    }
}
