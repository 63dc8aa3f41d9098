#pragma once

#include "reader/TextEditing.h"
#include "reader/TextViewKeys.h"

#include <QAbstractScrollArea>
#include <QInputMethodEvent>
#include <memory>

class QTextLayout;
class QTimer;

// The text view: the text with word wrap at the view's width, editable, over the display-line
// model that the reader shows too. It paints the model's lines and hands its edits to the
// model, so the text is held once, however big, and a text just read is on screen and editable
// at once: there is no second document to fill.
//
// The text view's lines are the reader's lines by construction. The view draws each line with
// Qt's own text layout (shaping, tabs, input-method preedit), but never lets that layout wrap.
class TMainRichEdit : public QAbstractScrollArea
{
    Q_OBJECT

public:
    explicit TMainRichEdit(QWidget* parent = nullptr);
    ~TMainRichEdit() override;

    // Where the text lives; set once by the reader, which owns the line model.
    void SetEditedText(TEditedText* text);

    // Replaces the whole text: no undo history, the cursor at the start, unmodified, one
    // change signal. The text is kept until the model takes it (TakeLoadedText).
    void LoadText(const QString& text);
    void setPlainText(const QString& text) { LoadText(text); }
    // The text last loaded while the model has not taken it yet; null after.
    QString TakeLoadedText();
    QString LoadedText() const { return Pending ? Loaded : QString(); }
    // The whole text, paragraphs joined by '\n'.
    QString PlainText() const;
    QString toPlainText() const { return PlainText(); }
    bool IsEmpty() const;
    int ParagraphCount() const;

    bool IsModified() const { return Editing && Editing->Modified(); }
    void SetModified(bool modified);
    bool IsUndoAvailable() const { return Editing && Editing->CanUndo(); }
    // Whether the user may edit the text (a formatted text may not).
    void SetTextReadOnly(bool readOnly) { ReadOnly = readOnly; }
    bool isReadOnly() const { return ReadOnly; }

    // The cursor and selection, for the edit commands and tests.
    const TTextEditing& Cursor() const { return *Editing; }
    void SetCursor(TTextPos position, TTextPos anchor);
    void insertPlainText(const QString& text);
    void cut();
    void copy();
    void paste();
    void selectAll();
    void undo();
    void redo();

    // The width lines wrap at, and the distance between tab stops, in pixels.
    qreal WrapWidth() const;
    qreal TabStopDistance() const { return TabStop; }
    int LineHeight() const;
    // The first display line in view.
    int FirstVisibleLine() const;
    // Every line was laid out anew (a new text, width or font).
    void LinesRelaid();

    // Blank room around the text, as a document's margin.
    static constexpr int Margin = 4;

signals:
    // A new text was loaded (LoadText), before the model takes it.
    void TextReplaced();
    void textChanged();
    void modificationChanged(bool modified);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool focusNextPrevChild(bool next) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

private:
    // One display line laid out for drawing, with the input method's preedit when the cursor
    // is in it.
    void LayOutLine(QTextLayout& layout, int line) const;
    // The place under a point of the viewport.
    TTextPos PlaceAt(QPointF point, bool& atLineEnd) const;
    // The place nearest to x (from the text's left edge) in a display line.
    TTextPos PlaceInLine(int line, qreal x, bool& atLineEnd) const;
    qreal CursorX() const;
    QRectF CursorRect() const;
    int VisibleLines() const;
    void Move(TTextKey key);
    void Command(TTextKey key, const QString& typed);
    void MoveVertically(int lines, bool select);
    // Runs an edit: tells of the change and the modification, shows the cursor.
    template <class TEdit> void Edit(TEdit edit);
    void CursorMoved();
    void EnsureCursorVisible();
    void SyncScrollRange();
    void RestartBlink();
    void SelectWordAt(TTextPos place);

    TEditedText* Text = nullptr;
    std::unique_ptr<TTextEditing> Editing;
    QString Loaded;
    bool Pending = false;
    bool ReadOnly = false;
    qreal TabStop = 80;
    // The x the up and down keys keep to, or negative.
    qreal GoalX = -1;
    QString Preedit;
    QList<QInputMethodEvent::Attribute> PreeditAttributes;
    int PreeditCursor = 0;
    QTimer* Blink = nullptr;
    bool CursorOn = true;
    QTimer* AutoScroll = nullptr;
    QTimer* Relayout = nullptr;
    QPointF LastMouse;
    bool Dragging = false;
    // Where the top line in view starts, so that a relayout keeps the passage in view.
    TTextPos TopPlace;
    int SeenLayouts = -1;
};
