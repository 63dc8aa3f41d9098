#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

// The base settings dialog's working copies and every edit made on them. The dialog's controls
// only show this state and hand their clicks here; nothing reaches the main window before OK.

// One item of FilterCheckListBox.
struct TFilterItem
{
    QString Text;
    bool Checked = false;
    bool operator==(const TFilterItem&) const = default;
};

// What the dialog's lists hold. The two folder lists always have the same length; an index of
// -1 means nothing is highlighted.
struct TSettingCopies
{
    bool AnyFilter = false; // AnyFilterCheckBox
    QList<TFilterItem> Filters;
    int FilterIndex = -1;
    QStringList FolderPaths; // SelectedFolderPathListBox
    QStringList FolderNames; // SelectedFolderNameListBox
    int FolderIndex = -1;
    QString FolderHint;
};

// Shows a message or asks a question (flags 0 or 4) and returns the pressed button.
using TSettingMessage = std::function<int(const QString& text, const QString& caption, int flags)>;

// The characters a pattern may not hold after its "*.".
inline const QString ForbiddenFilterCharacters = QStringLiteral("\\/:.;*?\"<>|");

// Normalises a typed filter item in place: trimmed of blanks and control characters, ASCII
// letters lowered, and only its valid "*.ext" patterns kept, each dropped one reported. False
// when the text is two bytes or shorter (silently) or when no pattern was kept.
bool CheckFilterText(QString& Text, const TSettingMessage& message);

// The ASCII letters lowered; every other character is kept, full-width letters included.
QString LowerAsciiLetters(const QString& text);

class TSettingLists
{
public:
    explicit TSettingLists(TSettingMessage message);

    TSettingCopies Copies;

    // Fills the filter page from the main window's filter settings.
    void LoadFilters(bool AnyChecked, const QString& AllFilter, const QString& NowFilter);
    // Fills the folder page from SelectedFolders, as they are.
    void LoadFolders(const QStringList& SelectedFolders);

    // The filter page.
    void FilterCheckListBoxClick();
    void AddFilterButtonClick();
    void ChangeFilterButtonClick();
    void DeleteFilterButtonClick();
    void CheckListUpButtonClick();
    void CheckListDownButtonClick();

    // The folder page.
    void SelectedFolderNameListBoxClick();
    void AddFolderPath(const QString& Path, bool Quiet);
    void AddFolderButtonClick();
    void DeleteFolderButtonClick();
    void WindowsFolderButtonClick();
    // The desktop and documents folders, each added quietly when it exists; both empty means
    // the platform could not say where they are.
    void AddStandardFolders(const QString& desktop, const QString& documents);
    void ListUpButtonClick();
    void ListDownButtonClick();

    // What OK hands back: the items joined by "/", the checked ones joined by ";", the paths
    // joined by ";".
    QString JoinedFilters() const;
    QString JoinedCheckedFilters() const;
    QString JoinedFolders() const;

private:
    int Message(const QString& text, const QString& caption, int flags) const;
    bool FilterExistsElsewhere(const QString& text, int except) const;
    void MoveFilter(int to);
    void MoveFolder(int to);

    TSettingMessage MessageFn;
};
