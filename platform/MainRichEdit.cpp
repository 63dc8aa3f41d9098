#include "platform/MainRichEdit.h"

#include <QElapsedTimer>
#include <QMimeData>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>
#include <utility>

namespace {

// A place where a long paragraph may be cut without splitting a character: not inside a
// surrogate pair, not before a combining mark, not between CR and LF.
qsizetype CharacterBoundaryAtOrBefore(const QString& text, qsizetype at, qsizetype from)
{
    while (at > from + 1) {
        const QChar c = text.at(at);
        const QChar before = text.at(at - 1);
        const bool inside = (c.isLowSurrogate() && before.isHighSurrogate()) || c.isMark() ||
                            (c == u'\n' && before == u'\r');
        if (!inside)
            break;
        --at;
    }
    return at;
}

} // namespace

TMainRichEdit::TMainRichEdit(QWidget* parent) : QPlainTextEdit(parent)
{
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    connect(document(), &QTextDocument::contentsChange, this, [this] {
        if (!Loading)
            Loaded = QString();
    });
    FillTimer = new QTimer(this);
    FillTimer->setSingleShot(true);
    FillTimer->setInterval(0);
    connect(FillTimer, &QTimer::timeout, this, [this] {
        if (!Held && Wanted() && FillStep())
            FillTimer->start();
    });
}

void TMainRichEdit::LoadText(const QString& text)
{
    FillTimer->stop();
    Source = QString();
    FillAt = 0;
    ParagraphEnd = -1;
    Cut = false;
    Requested = false;
    Loaded = QString();
    emit TextReplaced();
    // The document's own setPlainText() gives the same text, blocks and formats as the view's,
    // without the view's second pass that sets the insertion format on the whole text.
    if (text.isEmpty()) {
        // Emptying goes the view's way, which tells of the change once whatever the text was.
        setPlainText(text);
        document()->setUndoRedoEnabled(true);
        ApplyReadOnly();
        return;
    }
    Loaded = text;
    if (text.size() <= LongParagraph) {
        Loading = true;
        document()->setPlainText(text);
        Loading = false;
    } else {
        Source = text;
        InsertPiece(true);
    }
    document()->setModified(false);
    moveCursor(QTextCursor::Start);
    // Moving the cursor only makes its line visible: in a view folded to a few pixels that can
    // leave a wrapped first paragraph scrolled part way, and opening the view later shows that.
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    ApplyReadOnly();
    if (Filling()) {
        ResumeFill();
    } else if (Incomplete()) {
        FinishFill();
    }
}

qsizetype TMainRichEdit::NextPieceEnd(bool& cut) const
{
    cut = false;
    const qsizetype n = Source.size();
    qsizetype end = FillAt;
    while (end < n && end - FillAt < Piece) {
        if (ParagraphEnd < end) {
            const qsizetype lineEnd = Source.indexOf(u'\n', end);
            ParagraphEnd = lineEnd < 0 ? n : lineEnd;
        }
        const qsizetype paragraphEnd = ParagraphEnd;
        const qsizetype lineEnd = paragraphEnd < n ? paragraphEnd : -1;
        if (paragraphEnd - end > LongParagraph) {
            if (end > FillAt)
                return end; // the long paragraph starts the next piece
            cut = true;
            return CharacterBoundaryAtOrBefore(Source, end + LongParagraph, end);
        }
        end = lineEnd < 0 ? n : lineEnd + 1;
    }
    return end;
}

void TMainRichEdit::InsertPiece(bool first)
{
    bool cut = false;
    const qsizetype end = NextPieceEnd(cut);
    QString piece = Source.mid(FillAt, end - FillAt);
    if (cut) {
        piece += u'\n';
        Cut = true;
    }
    FillAt = end;
    Loading = true;
    if (first) {
        // One change as the whole text would give: the change notification comes once.
        document()->setPlainText(piece);
        document()->setUndoRedoEnabled(false);
    } else {
        // The pieces after the first are the same change, told of once already.
        const QSignalBlocker blocker(this);
        QTextCursor cursor(document());
        cursor.movePosition(QTextCursor::End);
        // One edit block: the document's layout hears of the piece once, not of every
        // paragraph in it.
        cursor.beginEditBlock();
        cursor.insertText(piece);
        cursor.endEditBlock();
        document()->setModified(false);
    }
    Loading = false;
}

bool TMainRichEdit::FillStep(int budgetMs)
{
    if (!Filling())
        return false;
    QElapsedTimer timer;
    timer.start();
    do
        InsertPiece(false);
    while (Filling() && timer.elapsed() < budgetMs);
    if (Filling())
        return true;
    FinishFill();
    return false;
}

void TMainRichEdit::FinishFill()
{
    // A cut text stays what it was given as: the document does not hold it block for block.
    if (!Cut)
        Source = QString();
    document()->setUndoRedoEnabled(true);
    ApplyReadOnly();
    emit FillFinished();
}

void TMainRichEdit::HoldFill(bool hold)
{
    Held = hold;
    ResumeFill();
}

void TMainRichEdit::RequestFill()
{
    Requested = true;
    ResumeFill();
}

bool TMainRichEdit::Wanted() const
{
    // A folded view shows a line at most; one a few lines high is being looked at.
    return Requested || hasFocus() || height() >= 3 * fontMetrics().height();
}

void TMainRichEdit::ResumeFill()
{
    if (!Held && Filling() && Wanted() && !FillTimer->isActive())
        FillTimer->start();
}

void TMainRichEdit::resizeEvent(QResizeEvent* event)
{
    QPlainTextEdit::resizeEvent(event);
    ResumeFill();
}

void TMainRichEdit::focusInEvent(QFocusEvent* event)
{
    QPlainTextEdit::focusInEvent(event);
    ResumeFill();
}

QMimeData* TMainRichEdit::createMimeDataFromSelection() const
{
    // Everything selected in a view not yet filled is the whole text, not the part in view.
    const QTextCursor cursor = textCursor();
    if (Incomplete() && cursor.selectionStart() == 0 &&
        cursor.selectionEnd() >= document()->characterCount() - 1) {
        auto* data = new QMimeData;
        data->setText(Source);
        return data;
    }
    return QPlainTextEdit::createMimeDataFromSelection();
}

void TMainRichEdit::SetTextReadOnly(bool readOnly)
{
    WantReadOnly = readOnly;
    ApplyReadOnly();
}

void TMainRichEdit::ApplyReadOnly()
{
    setReadOnly(WantReadOnly || Incomplete());
}

QString TMainRichEdit::PlainText() const
{
    return Incomplete() ? Source : toPlainText();
}

QString TMainRichEdit::TakeLoadedText()
{
    return std::exchange(Loaded, QString());
}
