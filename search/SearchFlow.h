#pragma once

#include "search/LineSource.h"

#include <QList>
#include <QString>
#include <optional>

// The search fields of the main window, loaded from and saved to the settings file under the
// same names (Searching excepted).
struct TSearchState
{
    // Kind of the last search started: 0 line string, 1 paragraph, 2 contents, 3 simple contents.
    int SearchType = 1;
    QString SearchLineString;
    QString SearchContents = QStringLiteral("()");
    QString SearchSimplleContents = QStringLiteral("１２３４５６７８９０");
    // Search width in bytes for the two contents searches; 0 is the whole line.
    int SearchLength = 0;
    // The two contents searches look only at indented lines.
    bool SearchOption = false;
    // The contents entries put the line number first; SetContentsLineForward mirrors it.
    bool ContentsLineForward = false;
    bool Searching = false;
    // The display lines, in order, that the contents list names after a contents or heading
    // search; none after any other search. Not a setting. The lines hold only while the list
    // holds its entries (emptying the list does not clear them).
    QList<int> HeadingLines;
};

// Line (0-based) is one of the headings of the contents list, which holds `entries` entries.
bool IsHeadingLine(const TSearchState& state, int entries, int line);

// The search commands; the values are the SearchType each one stores.
enum class TSearchAction
{
    FindLineString = 0,
    FindParagraph = 1,
    FindContents = 2,
    FindSimpleContents = 3,
    // Any action the window does not know as a search.
    Unknown = -1,
};

// What the search flow needs from the main window.
class TSearchPort
{
public:
    virtual ~TSearchPort() = default;

    // The text view's lines as displayed.
    virtual const TLineSource& Lines() const = 0;

    // ContentsListBox: an update without repainting around the search; clearing also empties
    // the list's hint.
    virtual void BeginContentsUpdate() = 0;
    virtual void EndContentsUpdate() = 0;
    virtual void ClearContents() = 0;
    virtual void AddContentsEntry(const QString& entry) = 0;
    virtual int ContentsCount() const = 0;
    // The chosen entry (-1 for none) and its text, which also becomes the list's hint.
    virtual int ContentsCurrentRow() const = 0;
    virtual QString ContentsEntry(int row) const = 0;
    virtual void SetContentsHint(const QString& hint) = 0;
    // Every entry, those a running search keeps back included, and a new set of them.
    virtual QStringList ContentsEntries() = 0;
    virtual void SetContentsEntries(const QStringList& entries) = 0;
    // SetContentsLineForward's check mark shows the state's flag.
    virtual void ShowContentsLineForward(bool checked) = 0;
    // The reader shows the text from this display line.
    virtual void ShowLine(int line) = 0;

    // The main window's caption, which shows the progress during a search.
    virtual QString Caption() const = 0;
    virtual void SetCaption(const QString& caption) = 0;

    // FindResearchButton: "残り= n" during a search, "再検索(R)" otherwise.
    virtual bool ResearchButtonVisible() const = 0;
    virtual void SetResearchButtonVisible(bool visible) = 0;
    virtual void SetResearchCaption(const QString& caption) = 0;

    // Lets pending user-interface events through; a click on the re-search button lands in
    // FindResearchExecute from here. False when the port let none through this time (nothing
    // can have changed then).
    virtual bool ProcessEvents() = 0;

    // The messages and questions of the searches (flags 0 or 4); returns the pressed button.
    // The window offers its own message box; this one goes to the dialog service alone.
    virtual int MessageBox(const QString& text, const QString& caption, int flags);

    // The display lines are numbered anew by a new text, font or wrap width. MarkLines notes
    // them as they are when a search begins; LinesChanged tells whether that has happened since.
    virtual void MarkLines() {}
    virtual bool LinesChanged() const { return false; }
    // A search ended because its lines were numbered anew under it: the window shows where
    // the reader stands in the new lines and offers the search again.
    virtual void LinesRenumbered() {}
    // The window asked to close while a search was running; the search has returned now.
    virtual void CloseWindow() {}
};

// The search commands over the window's contents list. The state is the form's, lent here.
class TSearchFlow
{
public:
    TSearchFlow(TSearchState& state, TSearchPort& port) : State(state), Port(port) {}

    // The four search commands share this handler.
    void FindLineStringExecute(TSearchAction action) { RunSearch(action, false); }
    // Cancels the running search, or repeats the last one with the stored values, asking
    // nothing and reporting no result.
    void FindResearchExecute();
    // Asks for the values of a search, stores them, empties the contents list, searches and
    // reports. Refused without any effect while a search runs.
    void RunSearch(TSearchAction action, bool research);
    // The window is closing: a running search is cancelled without its messages, and the port
    // is told to close the window once the search has returned. False when no search routine
    // is on the stack, so the window can close at once.
    bool CancelForClose();

    // The contents list: a chosen entry moves the reader to its line; the check mark switches
    // every entry between its two forms.
    void ContentsListBoxClick();
    void SetContentsLineForwardExecute();

private:
    struct TRequest;
    bool prepare(TSearchAction action, bool research, TRequest& request);
    bool askText(bool research, QString& stored, const QString& caption, QString& text);
    bool askWidth(bool research, TRequest& request);
    void run(const TRequest& request, bool research);
    void finish();
    int message(const QString& text, const QString& caption, int flags = 0);

    TSearchState& State;
    TSearchPort& Port;
    // A routine is on the stack. A cancel clears Searching while the routine still has to
    // return from its turn; a search started in that same turn would run inside it.
    bool Running = false;
    // The running search was cancelled because the window closes: no messages, and the window
    // is closed once the search has returned.
    bool CloseWhenReturned = false;
    // The running search ended because its lines were numbered anew.
    bool LinesMoved = false;
};

// The width typed into the width box: an integer, negative ones included; nullopt for an empty
// text or one that is no integer (which ends the search silently).
std::optional<int> ParseSearchWidth(const QString& text);
