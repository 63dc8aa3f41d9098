#pragma once

#include <QListView>
#include <QString>
#include <QStringList>

class QStringListModel;

// A list box of plain texts, the kind of the two file lists: entries are neither edited nor
// dragged, and one is current at a time. The texts are one list of strings behind the view, so
// that a whole list goes in by sharing it, without an item made for every row. The calls are
// a list widget's, so that the file list, the drops and the tree search fill it in the same
// terms; clicked and activated report the rows the user picks.
class TStringListBox : public QListView
{
    Q_OBJECT

public:
    explicit TStringListBox(QWidget* parent = nullptr);

    int count() const;
    QString text(int row) const;
    QStringList texts() const;
    // -1 when no row is current.
    int currentRow() const { return currentIndex().row(); }
    // Makes the row current and selects it alone; -1 leaves none current.
    void setCurrentRow(int row);

    // Appending leaves no row current; the callers choose one afterwards.
    void addItem(const QString& text) { addItems(QStringList{text}); }
    void addItems(const QStringList& texts);
    // Every entry replaced at once, by one reset of the view. No row is current afterwards.
    void setTexts(const QStringList& texts);
    void clear() { setTexts({}); }

private:
    QStringListModel* Model;
};
