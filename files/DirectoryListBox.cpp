#include "files/FolderControls.h"

#include <QDir>
#include <QStyle>
#include <QStyledItemDelegate>

namespace {

constexpr int IndentStep = 12;

// Shifts each entry right by its depth, as a classic folder list shows the tree.
class TIndentDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        QStyleOptionViewItem shifted(option);
        shifted.rect.adjust(Indent(index), 0, 0, 0);
        QStyledItemDelegate::paint(painter, shifted, index);
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return QStyledItemDelegate::sizeHint(option, index) + QSize(Indent(index), 0);
    }

private:
    static int Indent(const QModelIndex& index)
    {
        return IndentStep * index.data(TDirectoryListBox::DepthRole).toInt();
    }
};

QString AbsoluteFolder(const QString& path)
{
    if (path.isEmpty())
        return QString();
    return QDir::cleanPath(QDir::isAbsolutePath(path) ? path : QDir::currentPath() + u'/' + path);
}

} // namespace

TDirectoryListBox::TDirectoryListBox(QWidget* parent) : QListWidget(parent)
{
    setItemDelegate(new TIndentDelegate(this));
    connect(this, &QListWidget::itemActivated, this, &TDirectoryListBox::OpenItem);
}

bool TDirectoryListBox::SetDirectory(const QString& path, TFolderEntries* reading)
{
    const QString folder = AbsoluteFolder(path);
    TFolderEntries entries = ReadFolderEntries(folder);
    if (!entries.Readable || !SetCurrentFolder(folder))
        return false;
    Fill(folder, SubfolderNames(entries));
    if (reading)
        *reading = std::move(entries);
    if (folder == Folder)
        return true;
    Folder = folder;
    emit DirectoryChanged(folder);
    return true;
}

void TDirectoryListBox::OpenItem(QListWidgetItem* item)
{
    if (!item)
        return;
    const QString path = item->data(PathRole).toString();
    if (!SetDirectory(path))
        emit OpenFailed(path);
}

void TDirectoryListBox::Fill(const QString& folder, const QStringList& subfolders)
{
    const QSignalBlocker blocker(this);
    clear();
    QListWidgetItem* open = AddEntry(QStringLiteral("/"), QStringLiteral("/"), 0, true);
    QString path;
    int depth = 0;
    const QStringList parts = folder.split(u'/', Qt::SkipEmptyParts);
    for (const QString& part : parts) {
        path += u'/' + part;
        open = AddEntry(DisplayFileName(part), path, ++depth, true);
    }
    Chain = depth + 1;
    for (const QString& name : subfolders)
        AddEntry(DisplayFileName(name), FolderFilePath(folder, name), depth + 1, false);
    setCurrentItem(open);
}

QListWidgetItem* TDirectoryListBox::AddEntry(const QString& text, const QString& path, int depth,
                                             bool open)
{
    auto* item = new QListWidgetItem(text, this);
    item->setData(PathRole, path);
    item->setData(DepthRole, depth);
    item->setIcon(style()->standardIcon(open ? QStyle::SP_DirOpenIcon : QStyle::SP_DirClosedIcon));
    item->setToolTip(DisplayFileName(path));
    return item;
}
