#pragma once

#include <QPlainTextEdit>

class QTimer;

// The text view: plain text, word wrap at the widget's width, and a change signal.
//
// A long text is not handed to the document in one piece, which would hold the window for
// seconds: the first piece goes in at once and the rest in steps from the event loop, each a few
// milliseconds long. Until the last piece is in, the view refuses edits and PlainText() gives
// the whole text, so that nothing reads or changes a half-filled document. A paragraph so long
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
    // The most UTF-16 units one piece holds. The document takes about 0.4 µs a character here,
    // so the default piece takes a few milliseconds.
    void SetFillPiece(int units) { Piece = qMax(1, units); }

    // Paragraphs longer than this many UTF-16 units are cut into blocks of about this length.
    static constexpr int LongParagraph = 16 * 1024;

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

    QString Loaded;
    bool Loading = false;
    // The text being filled in, or held cut; null when the document holds the text itself.
    QString Source;
    qsizetype FillAt = 0;
    bool Cut = false;
    bool Held = false;
    bool WantReadOnly = false;
    int Piece = 8 * 1024;
    QTimer* FillTimer = nullptr;
};
