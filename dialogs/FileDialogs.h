#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

// The save-file dialog's settings, kept from one use to the next.
struct TSaveDialogData
{
    // Pairs of description and pattern, all separated by "|".
    QString Filter = QStringLiteral("すべてのファイル(*.*)|*.*");
    QString FileName;
    QString InitialDir;
    // 1-based position of the filter entry chosen last.
    int FilterIndex = 1;
};

// The form that holds the save-file dialog: its filter list, built from the filter items, and
// the extension that each item gives a name typed without one. Never shown itself.
class TFileDialogsForm : public QObject
{
    Q_OBJECT

public:
    // Asks a question as AppMessageBox does (message, caption, flags; the pressed button).
    using TAsk = std::function<int(const QString&, const QString&, int)>;

    explicit TFileDialogsForm(TAsk ask, QObject* parent = nullptr);
    ~TFileDialogsForm() override;

    TSaveDialogData SaveDialog1;
    // 1-based position of the final entry "すべてのファイル(*.*)".
    int AllFilesIndex = 1;
    // For each entry before it, the extension (with its dot) a name without one receives.
    QStringList DefaultExtensions;

    // Rebuilds the filter from a list of filter items joined by "/"; false (with FilterList
    // set to "*.txt" and a filter of that one item) when the list is empty or yields no item.
    bool SetSaveDialogFilter(QString& FilterList);
    // Shows the save dialog with FileName proposed; true with the chosen path in FileName, once
    // a name is chosen and an existing file may be overwritten.
    bool ExecuteSaveDialog(QString& FileName, const QString& InitialFolder);

    // The questions and messages of the save dialog.
    TAsk Ask;

private:
    void FallBackFilter(QString& FilterList, const QString& description);
};

// The one file dialog holder, set while it exists.
extern TFileDialogsForm* FileDialogsForm;

// Creates the file dialog holder; start-up does this after the message window. The caller keeps
// it until shutdown.
std::unique_ptr<TFileDialogsForm> CreateFileDialogsForm(TFileDialogsForm::TAsk ask);

// Set_SaveFilter: SetSaveDialogFilter of FileDialogsForm, with "Set_SaveFilter Error" shown
// when it fails. False as well while no FileDialogsForm exists.
bool SetSaveFilterReporting(QString& FilterList);

// The dialog's filter ("description|pattern|...") as the entries a file dialog takes: each
// "description (masks)", masks separated by blanks, and "*.*" (every file, with or without a
// dot) as "*".
QStringList SaveDialogNameFilters(const QString& filter);

// The name with the default extension of the chosen filter entry (1-based) when the entry is one
// of the filter items and the name's last component has no extension.
QString WithDefaultExtension(const QString& name, int filterIndex, int allFilesIndex,
                             const QStringList& defaultExtensions);
