#include "files/StringListBox.h"

#include <QItemSelectionModel>
#include <QStringListModel>

TStringListBox::TStringListBox(QWidget* parent)
    : QListView(parent), Model(new QStringListModel(this))
{
    setModel(Model);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Rows of one height: a list of tens of thousands of found files is laid out without
    // measuring every name.
    setUniformItemSizes(true);
}

int TStringListBox::count() const
{
    return Model->rowCount();
}

QString TStringListBox::text(int row) const
{
    return Model->data(Model->index(row), Qt::DisplayRole).toString();
}

QStringList TStringListBox::texts() const
{
    return Model->stringList();
}

void TStringListBox::setCurrentRow(int row)
{
    selectionModel()->setCurrentIndex(Model->index(row), QItemSelectionModel::ClearAndSelect);
}

void TStringListBox::addItems(const QStringList& texts)
{
    if (texts.isEmpty())
        return;
    // The strings themselves are shared, not copied.
    setTexts(Model->stringList() + texts);
}

void TStringListBox::setTexts(const QStringList& texts)
{
    Model->setStringList(texts);
}
