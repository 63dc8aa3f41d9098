#pragma once

#include <QPlainTextEdit>

class QTimer;

// The text view: plain text, word wrap at the widget's width, and a change signal.
//
// A long text is not handed to the document in one piece, which would hold the window for
// seconds: the first piece goes in at once and the rest in steps from the event loop, each a few
// milliseconds long, once the view is open (taller than a folded one) or has the focus. The
// window folds it away at every start and the reader needs none of it, so a text read but never
// looked at in the view costs no second copy. Until the last piece is in, the view refuses
// edits, PlainText() gives the whole text and copying everything copies the whole text, so that
// nothing reads or changes a half-filled document. A paragraph so long
// that the document's own layout of it would take seconds is cut into blocks of a length it lays
// out at once; such a text stays read-only, so what is saved is still the text given.
class TMainRichEdit : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit TMainRichEdit(QWidget* parent = nullptr);

    // Replaces the whole text, as setPlainText() does: one change notification, no undo history,
    // the cursor at the start, the view unmodified. The text is kept until the next change of
    // the document or until TakeLoadedText(), so that the reader need not copy it back out of
    // the document's blocks.
    void LoadText(const QString& text);
    // The text last loaded, when the document still holds exactly that (or is being filled with
    // it); a null string once anything has changed it. Taking it drops the copy.
    QString TakeLoadedText();
    // The text last loaded, without taking it; null as for TakeLoadedText().
    QString LoadedText() const { return Incomplete() ? Source : Loaded; }
    // The whole text of the view, filled in or not.
    QString PlainText() const;
    // The document does not hold the text block for block: it is still being filled, or long
    // paragraphs were cut.
    bool Incomplete() const { return !Source.isNull(); }
    bool Filling() const { return Incomplete() && FillAt < Source.size(); }
    // Whether the user may edit the text once it is complete (a formatted text may not).
    void SetTextReadOnly(bool readOnly);

    // Puts the next pieces in, for about budgetMs milliseconds (at least one piece); false once
    // the text is complete. The event loop calls it; tests may call it themselves.
    bool FillStep(int budgetMs = 8);
    // Holds the filling where it is (tests look at a half-filled view), or lets it go on.
    void HoldFill(bool hold);
    // Fills the document whether the view is open or not, as one opened would be.
    void RequestFill();
    // The most UTF-16 units one piece holds. The document takes about 0.4 µs a character here,
    // so the default piece takes a few milliseconds.
    void SetFillPiece(int units) { Piece = qMax(1, units); }

    // Paragraphs longer than this many UTF-16 units are cut into blocks of about this length.
    static constexpr int LongParagraph = 16 * 1024;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    QMimeData* createMimeDataFromSelection() const override;

signals:
    // A new text was loaded (LoadText), before any of it is in the document.
    void TextReplaced();
    // The last piece of a long text is in the document.
    void FillFinished();

private:
    // The end of the next piece from FillAt on; cut is set when the piece ends inside a long
    // paragraph, which then goes on in a block of its own.
    qsizetype NextPieceEnd(bool& cut) const;
    void InsertPiece(bool first);
    void FinishFill();
    void ApplyReadOnly();
    // Whether the filling goes on: the view is open, has the focus, or was asked to.
    bool Wanted() const;
    void ResumeFill();

    QString Loaded;
    bool Loading = false;
    // The text being filled in, or held cut; null when the document holds the text itself.
    QString Source;
    qsizetype FillAt = 0;
    bool Cut = false;
    bool Held = false;
    bool Requested = false;
    // Where the paragraph that FillAt lies in ends: found once for a long one, not per piece.
    mutable qsizetype ParagraphEnd = -1;
    bool WantReadOnly = false;
    int Piece = 8 * 1024;
    QTimer* FillTimer = nullptr;
};
