#include "platform/ContentsListBox.h"

#include "platform/Cp932.h"

#include <QKeyEvent>
#include <QStringListModel>
#include <QStyledItemDelegate>

namespace {

// Every row as high as a line and as wide as the widest entry may be: a CP932 byte is given
// the advance of the font's widest ASCII character or half its ideographic one, whichever is
// more, so that no entry is cut off.
class TEntryDelegate final : public QStyledItemDelegate
{
public:
    explicit TEntryDelegate(TContentsListBox* list) : QStyledItemDelegate(list), List(list) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QSize base = QStyledItemDelegate::sizeHint(option, index);
        const QFontMetrics& metrics = option.fontMetrics;
        int unit = (metrics.horizontalAdvance(QChar(0x3042)) + 1) / 2;
        for (char16_t c = 0x21; c < 0x7F; ++c)
            unit = std::max(unit, metrics.horizontalAdvance(QChar(c)));
        const int padding = base.width() - metrics.horizontalAdvance(index.data().toString());
        return {std::max(base.width(), padding + List->WidestEntry() * unit), base.height()};
    }

private:
    const TContentsListBox* List;
};

int WidestOf(const QStringList& entries, int widest)
{
    for (const QString& entry : entries)
        widest = std::max(widest, Cp932Width(entry));
    return widest;
}

} // namespace

TContentsListBox::TContentsListBox(QWidget* parent)
    : QListView(parent), Model(new QStringListModel(this))
{
    setModel(Model);
    setUniformItemSizes(true);
    setItemDelegate(new TEntryDelegate(this));
    // Entries are read, never edited in place.
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(this, &QListView::clicked, this, &TContentsListBox::EntryChosen);
    connect(this, &QListView::activated, this, &TContentsListBox::EntryChosen);
}

void TContentsListBox::keyPressEvent(QKeyEvent* event)
{
    const QModelIndex before = currentIndex();
    QListView::keyPressEvent(event);
    if (currentIndex().isValid() && currentIndex() != before)
        emit EntryChosen();
}

int TContentsListBox::count() const
{
    return Model->rowCount();
}

QString TContentsListBox::Text(int row) const
{
    return Model->data(Model->index(row), Qt::DisplayRole).toString();
}

QStringList TContentsListBox::Entries() const
{
    return Model->stringList();
}

void TContentsListBox::SetEntries(const QStringList& entries)
{
    Pending.clear();
    Widest = WidestOf(entries, 0);
    Model->setStringList(entries);
}

void TContentsListBox::AddEntry(const QString& entry)
{
    Widest = std::max(Widest, Cp932Width(entry));
    if (Updating) {
        Pending.append(entry);
        return;
    }
    const int row = Model->rowCount();
    Model->insertRows(row, 1);
    Model->setData(Model->index(row), entry);
}

int TContentsListBox::CurrentRow() const
{
    return currentIndex().isValid() ? currentIndex().row() : -1;
}

void TContentsListBox::SetCurrentRow(int row)
{
    setCurrentIndex(Model->index(row));
}

void TContentsListBox::BeginUpdate()
{
    Updating = true;
    setUpdatesEnabled(false);
}

void TContentsListBox::EndUpdate()
{
    FlushEntries();
    Updating = false;
    setUpdatesEnabled(true);
}

void TContentsListBox::FlushEntries()
{
    if (Pending.isEmpty())
        return;
    // The whole list goes in at once: the model only takes the strings over.
    QStringList entries = Model->stringList();
    entries += std::exchange(Pending, {});
    Model->setStringList(entries);
}
