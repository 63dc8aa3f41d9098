#pragma once

#include <QListView>
#include <QStringList>

class QStringListModel;

// The contents list: one line of text per entry, and lists of a million entries.
//
// The entries are a plain list of strings behind the view, so that a whole list goes in at
// once. Every row has the same size (the height of a line, and a width that holds the widest
// entry, estimated from its CP932 width so that no entry has to be measured): a list view
// otherwise measures every row again whenever rows are added. While an update runs
// (BeginUpdate), new entries wait and go in together at its end.
class TContentsListBox : public QListView
{
    Q_OBJECT

public:
    explicit TContentsListBox(QWidget* parent = nullptr);

    // The entries shown (not those kept back).
    int count() const;
    QString Text(int row) const;
    QStringList Entries() const;
    // Replaces every entry, those kept back included.
    void SetEntries(const QStringList& entries);
    void Clear() { SetEntries({}); }
    // Appends an entry, or keeps it back while an update runs.
    void AddEntry(const QString& entry);
    int CurrentRow() const;
    void SetCurrentRow(int row);

    // Freezes the list: it is not painted, and AddEntry() keeps the entries back.
    void BeginUpdate();
    // Adds the entries kept back and shows the list again.
    void EndUpdate();
    // Adds the entries kept back now, for a change that must see every entry.
    void FlushEntries();
    // The entries, those kept back included.
    int EntryCount() const { return count() + int(Pending.size()); }
    // The CP932 width of the widest entry.
    int WidestEntry() const { return Widest; }

signals:
    // The user chose an entry: a click, Enter, or a move to another entry with the keyboard.
    // The program's own changes of the current entry are not choices.
    void EntryChosen();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QStringListModel* Model;
    QStringList Pending;
    bool Updating = false;
    int Widest = 0;
};
