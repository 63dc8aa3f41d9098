#pragma once

#include "files/ExtensionFilter.h"

#include <QByteArrayList>
#include <QCollator>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <functional>
#include <string_view>
#include <vector>

// The window's side of a search over a folder tree. The worker calls these in the order of the
// search; each call is carried out on the user-interface thread before the search goes on.
class TSearchAllPort
{
public:
    virtual ~TSearchAllPort() = default;

    // The caption of SearchingButton.
    virtual void SetStatus(const QString& caption) = 0;
    // A message box with an OK button.
    virtual void Message(const QString& text, const QString& caption) = 0;
    // The application's standard error report.
    virtual void ErrorReport(const QString& text) = 0;
    // Replaces FilePathListBox by the paths and FileNameListBox by the names, then hides
    // SearchingButton; false when that failed part-way.
    virtual bool Transfer(const QStringList& paths, const QStringList& names) = 0;
};

// The search for every file that passes a filter in a folder tree: a breadth-first folder
// pass, then a file pass over the sorted folders, then the results handed to the window with a
// final message. It runs on whatever thread calls SearchAll; the stop request is polled after
// every folder entry.
class TFolderTreeSearch
{
public:
    enum class TPass
    {
        None,
        Folders,
        Files,
        Done
    };

    // stopRequested: the thread's stop request; it only ever goes from false to true.
    TFolderTreeSearch(TSearchAllPort& port, std::function<bool()> stopRequested);

    // The folder whose tree is searched and the hidden file list's mask.
    void SetSearch(const QString& Folder, const QString& Mask);
    // The whole search, messages and transfer included.
    void SearchAll();

    // The two passes on their own. FolderPass finds the folders (StartFolder first, each ending
    // in "/") and the matching names in each, and sorts the folders; FilePass puts each
    // folder's matches, sorted, into Results and ResultNames. Both leave Stopped set when they
    // ended early.
    void FolderPass();
    void FilePass();

    QString StartFolder;
    QString FilterText;
    // The folders in the order found; sorted once the folder pass is complete.
    QStringList Folders;
    // The full paths found and the names shown for them, entry by entry.
    QStringList Results;
    QStringList ResultNames;
    bool Stopped = false;
    bool Limited = false;
    QString LimitText;
    // Results beyond which a match stops the search (MaxListEntries); smaller only in tests.
    int Limit;
    // What the search is doing, for a test's stop hook.
    TPass Pass = TPass::None;
    int FolderIndex = 0;
    // For tests: the errno that opening the folder gives in place of the real outcome, 0 for
    // none. The tests run as root, whom permission bits do not stop.
    std::function<int(const QString& folder)> OpenFault;

private:
    // What the folder pass learnt of a folder: its path's bytes and its matches, a run of
    // MatchNames.
    struct TFolderFound
    {
        QByteArray Path;
        qsizetype FirstMatch = 0;
        qsizetype Matches = 0;
    };

    bool StopNow();
    void ListingError(int error, const QString& folder, const char* status);
    void ReadFolder(int index);
    void SortFolders();
    bool FolderStillThere(int index);
    void AddFolderResults(int index);
    void Finish();

    TSearchAllPort& Port;
    std::function<bool()> StopRequested;
    bool AllFiles = false;
    TExtensionBytes Extensions{QString()};
    std::vector<TFolderFound> Found; // pairs with Folders
    QStringList MatchNames;
    QCollator Collator{QLocale()};
};

// The texts the search shows.
QString SearchInterruptedText();
QString SearchCountText(qsizetype count);
