#include "files/FileDropTarget.h"

#include "files/FolderControls.h"
#include "files/FolderListing.h"
#include "files/StringListBox.h"
#include "platform/AppUtils.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

namespace {

bool IsLocalFileUrl(const QUrl& url)
{
    return url.isValid() && url.scheme() == QLatin1String("file") &&
           (url.host().isEmpty() || url.host() == QLatin1String("localhost")) &&
           !url.path().isEmpty();
}

} // namespace

QStringList TFileDropTarget::LocalPaths(const QMimeData* data)
{
    QStringList paths;
    if (!data || !data->hasUrls())
        return paths;
    for (const QUrl& url : data->urls()) {
        if (!IsLocalFileUrl(url))
            continue;
        // The path's bytes as the file system has them; QUrl::toLocalFile would turn bytes
        // that are not UTF-8 into U+FFFD and so name another file.
        const QByteArray bytes =
            QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
        paths.append(DecodeFileName(bytes));
    }
    return paths;
}

void TFileDropTarget::DragEnter(QDragEnterEvent* event)
{
    if (LocalPaths(event->mimeData()).isEmpty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
}

QStringList TFileDropTarget::TakeDrop(QDropEvent* event)
{
    const QStringList paths = LocalPaths(event->mimeData());
    if (paths.isEmpty())
        event->ignore();
    else
        event->acceptProposedAction();
    return paths;
}

QString TFileDropTarget::FileListMask() const
{
    return Context.FileListBox1->Mask();
}

bool TFileDropTarget::MoveFolderList(const QString& folder, TFolderEntries& reading)
{
    return Context.DirectoryListBox1->SetDirectory(folder, &reading);
}

int TFileDropTarget::FileListCount() const
{
    return Context.FileNameListBox->count();
}

void TFileDropTarget::AppendFileListEntries(const QStringList& names, const QStringList& paths)
{
    Context.FilePathListBox->addItems(paths);
    Context.FileNameListBox->addItems(names);
}

void TFileDropTarget::LoadFileListEntry(int index)
{
    Context.FileNameListBox->setCurrentRow(index);
    Context.FileNameListBoxClick();
}

void TFileDropTarget::Message(const QString& text, const QString& caption)
{
    AppMessageBox(text, caption, 0);
}
