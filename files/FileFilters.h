#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

// The filters of the file list, the pairing of its two lists and the selected-folder list.
// Everything here is plain logic; the form applies the results to its controls.

// The text without the blanks and control characters at both ends; a full-width blank stays.
QString TrimPadding(const QString& text);

// Cleans a ";"-list of masks in place: blanks and control characters go from both ends, then
// only pieces of more than two bytes that begin with "*." are kept, untrimmed and in order;
// when none is kept the text becomes "*.txt".
void NormalizeFilter(QString& Filter);

// The mask the hidden file list gets: "*.*" while every file is wanted, otherwise NowFilter
// cleaned in place by NormalizeFilter.
QString FileListMask(bool anyFilter, QString& NowFilter);

// A ";"-list of wildcard masks ("*" any run, "?" one character) matched against a file name
// without regard to letter case. A mask ending in ".*" also takes names without a dot, so "*.*"
// and "*" take every name. Empty pieces are ignored; a list without any mask takes nothing.
class TFileMask
{
public:
    TFileMask() = default;
    explicit TFileMask(const QString& masks);

    bool Matches(QStringView name) const;
    const QString& Text() const { return MaskText; }

private:
    struct TPattern
    {
        QString Folded;             // the case-folded mask
        QString Suffix;             // for "*.ext" masks: ".ext", checked with endsWith
        bool Simple = false;        // a "*.ext" mask without other wildcards
        bool AnyName = false;       // "*", "*.*"
        bool OrNoExtension = false; // ends in ".*": the part before it may match the whole name
    };
    QString MaskText;
    QList<TPattern> Patterns;
};

// A listed file's full path: folder and name joined by the separator, none added when the
// folder already ends in one (as the root does).
QString FolderFilePath(const QString& folder, const QString& name);

// What the change handler of the hidden file list puts into FileNameListBox and
// FilePathListBox: the same number of entries in the same order, and the entry to select
// (-1 when the lists are empty).
struct TFileListFill
{
    QStringList FileNameListBox;
    QStringList FilePathListBox;
    int Selected = -1;
};

// Builds the two lists from a listing and picks the entry to load. Until the first listing
// with entries (FileListRestored false) the entry whose whole path equals CurrentFileName is
// picked, if that file still exists; the comparison is exact, letter case included, as the
// file system's names are. Otherwise, and ever after, entry 0. A listing with entries sets
// FileListRestored.
TFileListFill FillFileLists(const QStringList& names, const QStringList& paths,
                            bool& FileListRestored, const QString& CurrentFileName);

// One entry of the selected-folder submenu.
struct TSelectedFolderItem
{
    QString Caption;
    int Tag = 0;
};

// The submenu's items and the new SelectedFolders from a ";"-joined folder list. Pieces that
// are not an existing folder (an empty piece never is) are dropped; the others keep their
// order, and item k carries Tag k and belongs to SelectedFolders[k].
struct TSelectedFolderList
{
    QList<TSelectedFolderItem> Items;
    QStringList SelectedFolders;
};
TSelectedFolderList SelectedFolderList(const QString& Folders);

// A root is captioned by its whole path, any other folder by its last component.
QString SelectedFolderCaption(const QString& folder);
