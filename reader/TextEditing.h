#pragma once

#include <QString>
#include <QStringList>
#include <algorithm>
#include <compare>
#include <vector>

class TDisplayLineModel;

// A place in the text: a paragraph and a UTF-16 offset inside it.
struct TTextPos
{
    int Paragraph = 0;
    int Offset = 0;
    auto operator<=>(const TTextPos&) const = default;
};

// Where the edited text lives: the display-line model, laid out at the text view's width.
class TEditedText
{
public:
    virtual ~TEditedText() = default;
    // The text with its lines laid out at the view's present width and font.
    virtual const TDisplayLineModel& Lines() const = 0;
    // The lines as last laid out, without waiting for a new width or font: while the window is
    // being resized, the layout follows once it settles.
    virtual const TDisplayLineModel& ShownLines() const { return Lines(); }
    // removedCount paragraphs from first on are replaced by paragraphs.
    virtual void ReplaceParagraphs(int first, int removedCount, const QStringList& paragraphs) = 0;
    // Changes whenever every line was laid out anew (a new width or font).
    virtual int LayoutGeneration() const { return 0; }
};

// What a key press asks of the text view, read from the platform's standard key sequences:
// a move (with Shift, one that selects), an edit command, typed text, or nothing of the view's.
struct TTextKey
{
    enum TWhat
    {
        None,
        // Moves
        NextChar,
        PrevChar,
        NextWord,
        PrevWord,
        NextLine,
        PrevLine,
        LineStart,
        LineEnd,
        NextPage,
        PrevPage,
        TextStart,
        TextEnd,
        // Commands that leave the text as it is
        Copy,
        SelectAll,
        // Commands that change it
        Cut,
        Paste,
        Undo,
        Redo,
        DeleteWordBack,
        DeleteWordForward,
        Backspace,
        Delete,
        NewParagraph,
        Type,
    };
    TWhat What = None;
    bool Select = false;

    bool IsMove() const { return What >= NextChar && What <= TextEnd; }
    bool Changes() const { return What >= Cut; }
};

// The cursor, the selection and the history of the text view, with the edits and moves that
// need no pixels: the view turns keys, clicks and input methods into these.
//
// A place where a wrapped line ends is also where the next line starts; AtLineEnd says that the
// cursor stands at the end of the earlier line (after End, or a click past a line's end).
class TTextEditing
{
public:
    explicit TTextEditing(TEditedText& text) : Text(text) {}

    // A new text: the cursor at its start, no history, unmodified.
    void Reset();

    TTextPos Position() const { return Pos; }
    TTextPos Anchor() const { return Anc; }
    bool AtLineEnd() const { return EndOfLine; }
    bool HasSelection() const { return Pos != Anc; }
    TTextPos SelectionStart() const { return std::min(Pos, Anc); }
    TTextPos SelectionEnd() const { return std::max(Pos, Anc); }
    QString SelectedText() const { return TextBetween(SelectionStart(), SelectionEnd()); }
    // Moves the cursor; the anchor stays when select, else it follows.
    void MoveTo(TTextPos pos, bool select, bool atLineEnd = false);
    void SelectAll();
    // The display line the cursor is shown on.
    int CursorLine() const;

    // Places the moves go to, from the cursor (or from where a selection ends, for the
    // character moves without select).
    TTextPos NextCharacter(bool select) const;
    TTextPos PreviousCharacter(bool select) const;
    TTextPos NextWord() const;
    TTextPos PreviousWord() const;
    TTextPos LineStart(int line) const;
    // The end of a display line; a wrapped line's end is shown at the end of that line.
    TTextPos LineEnd(int line) const;
    // Whether the line is followed by another line of its paragraph, so that a place at its
    // end is also the start of the next.
    bool Wraps(int line) const;
    TTextPos End() const;
    TTextPos Clamped(TTextPos pos) const;
    // The moves of a key that need no pixels (all but lines and pages); false for the others.
    bool MoveBy(TTextKey key);
    // The edits of a key, undo and redo among them; false for the others.
    bool EditBy(TTextKey key, const QString& typed);
    QString TextBetween(TTextPos from, TTextPos to) const;
    // The text as a file holds it, paragraphs joined by '\n'.
    QString PlainText() const;

    // Typed, pasted or committed text in place of the selection. Line ends of any kind become
    // paragraph ends. Consecutive typing is undone as one step.
    enum class TMerge
    {
        No,
        Typing
    };
    void Insert(const QString& text, TMerge merge = TMerge::No);
    // Backspace and Delete: the selection, or one character (a grapheme forward; one code
    // point back, so that a mark typed last is taken alone).
    void DeleteBackward();
    void DeleteForward();
    // Deletes from the cursor to another place, as one step (the word deletes).
    void DeleteTo(TTextPos to);

    bool CanUndo() const { return Done > 0; }
    bool CanRedo() const { return Done < int(History.size()); }
    void Undo();
    void Redo();
    // Modified since the text was loaded or saved; undoing to that point clears it.
    bool Modified() const { return Done != Clean; }
    void SetModified(bool modified) { Clean = modified ? -1 : Done; }

    static QString NormalizedLineEnds(QString text);

private:
    struct TStep
    {
        TTextPos From;
        QString Removed;
        QString Inserted;
        TTextPos AnchorBefore;
        TTextPos PositionBefore;
        bool Typing = false;
    };
    // Puts text in place of [from, to) and returns where it ends.
    TTextPos Replace(TTextPos from, TTextPos to, const QString& text);
    static TTextPos EndOf(TTextPos from, const QString& text);
    void Record(TStep step);
    const TDisplayLineModel& Lines() const { return Text.ShownLines(); }
    int ParagraphLength(int p) const;

    TEditedText& Text;
    TTextPos Pos;
    TTextPos Anc;
    bool EndOfLine = false;
    std::vector<TStep> History;
    // Steps done (the rest were undone); the count at the last save or load.
    int Done = 0;
    int Clean = 0;
};
