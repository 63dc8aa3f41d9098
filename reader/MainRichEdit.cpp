#include "reader/MainRichEdit.h"

#include "reader/DisplayLineModel.h"

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QScrollBar>
#include <QStyleHints>
#include <QTextBoundaryFinder>
#include <QTextLayout>
#include <QTimer>
#include <cmath>

namespace {

// Wider than any line: the view never lets the layout wrap, the model has broken the lines.
constexpr qreal Unwrapped = 1e7;

} // namespace

TMainRichEdit::TMainRichEdit(QWidget* parent) : QAbstractScrollArea(parent)
{
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    // Files dropped here go to the window, which opens them.
    setAcceptDrops(false);
    viewport()->setAcceptDrops(false);
    verticalScrollBar()->setSingleStep(1);
    Blink = new QTimer(this);
    connect(Blink, &QTimer::timeout, this, [this] {
        CursorOn = !CursorOn;
        viewport()->update();
    });
    Relayout = new QTimer(this);
    Relayout->setSingleShot(true);
    Relayout->setInterval(150);
    connect(Relayout, &QTimer::timeout, this, [this] {
        if (Text)
            Text->Lines();
    });
    AutoScroll = new QTimer(this);
    AutoScroll->setInterval(50);
    connect(AutoScroll, &QTimer::timeout, this, [this] {
        const int h = viewport()->height();
        QScrollBar* bar = verticalScrollBar();
        if (LastMouse.y() < 0)
            bar->setValue(bar->value() - 1);
        else if (LastMouse.y() > h)
            bar->setValue(bar->value() + 1);
        else
            return;
        bool atLineEnd = false;
        Editing->MoveTo(PlaceAt(LastMouse, atLineEnd), true, atLineEnd);
        CursorMoved();
    });
}

TMainRichEdit::~TMainRichEdit() = default;

void TMainRichEdit::SetEditedText(TEditedText* text)
{
    Text = text;
    Editing = std::make_unique<TTextEditing>(*text);
}

void TMainRichEdit::LoadText(const QString& text)
{
    // A composition under way belongs to the text being replaced.
    if (!Preedit.isEmpty() && QGuiApplication::inputMethod())
        QGuiApplication::inputMethod()->reset();
    Loaded = text;
    Pending = true;
    const bool wasModified = IsModified();
    Preedit.clear();
    GoalX = -1;
    TopPlace = {};
    emit TextReplaced();
    if (Editing)
        Editing->Reset();
    verticalScrollBar()->setValue(0);
    viewport()->update();
    emit textChanged();
    if (wasModified)
        emit modificationChanged(false);
}

QString TMainRichEdit::TakeLoadedText()
{
    Pending = false;
    return std::exchange(Loaded, QString());
}

QString TMainRichEdit::PlainText() const
{
    if (Pending || !Editing)
        return Loaded;
    return Editing->PlainText();
}

bool TMainRichEdit::IsEmpty() const
{
    if (Pending || !Text)
        return Loaded.isEmpty();
    const TDisplayLineModel& lines = Text->ShownLines();
    return lines.paragraphCount() == 1 && lines.paragraph(0).isEmpty();
}

int TMainRichEdit::ParagraphCount() const
{
    return Text ? Text->ShownLines().paragraphCount() : 1;
}

void TMainRichEdit::SetModified(bool modified)
{
    if (!Editing || modified == IsModified())
        return;
    Editing->SetModified(modified);
    emit modificationChanged(modified);
}

template <class TEdit> void TMainRichEdit::Edit(TEdit edit)
{
    if (!Editing || ReadOnly)
        return;
    const bool wasModified = IsModified();
    edit(*Editing);
    GoalX = -1;
    SyncScrollRange();
    EnsureCursorVisible();
    RestartBlink();
    viewport()->update();
    emit textChanged();
    if (IsModified() != wasModified)
        emit modificationChanged(IsModified());
    if (QGuiApplication::inputMethod())
        QGuiApplication::inputMethod()->update(Qt::ImQueryInput);
}

void TMainRichEdit::SetCursor(TTextPos position, TTextPos anchor)
{
    Editing->MoveTo(anchor, false);
    Editing->MoveTo(position, true);
    CursorMoved();
}

void TMainRichEdit::insertPlainText(const QString& text)
{
    Edit([&](TTextEditing& e) { e.Insert(text); });
}

void TMainRichEdit::cut()
{
    if (ReadOnly || !Editing->HasSelection())
        return;
    copy();
    Edit([](TTextEditing& e) { e.Insert(QString()); });
}

void TMainRichEdit::copy()
{
    if (Editing && Editing->HasSelection())
        QGuiApplication::clipboard()->setText(Editing->SelectedText());
}

void TMainRichEdit::paste()
{
    const QString text = QGuiApplication::clipboard()->text();
    if (!text.isEmpty())
        insertPlainText(text);
}

void TMainRichEdit::selectAll()
{
    Editing->SelectAll();
    CursorMoved();
}

void TMainRichEdit::undo()
{
    Edit([](TTextEditing& e) { e.Undo(); });
}

void TMainRichEdit::redo()
{
    Edit([](TTextEditing& e) { e.Redo(); });
}

qreal TMainRichEdit::WrapWidth() const
{
    const int width = viewport()->width();
    if (width <= 0)
        return std::numeric_limits<int>::max();
    return width - 2 * Margin;
}

int TMainRichEdit::LineHeight() const
{
    return qMax(1, int(std::ceil(QFontMetricsF(font()).height())));
}

int TMainRichEdit::VisibleLines() const
{
    return qMax(1, (viewport()->height() - 2 * Margin) / LineHeight());
}

int TMainRichEdit::FirstVisibleLine() const
{
    return verticalScrollBar()->value();
}

void TMainRichEdit::SyncScrollRange()
{
    if (!Text)
        return;
    const TDisplayLineModel& lines = Text->ShownLines();
    QScrollBar* bar = verticalScrollBar();
    const int generation = Text->LayoutGeneration();
    const bool relaid = generation != SeenLayouts;
    SeenLayouts = generation;
    // A new width or font: the line that now holds the top line's start comes to the top. It is
    // found before the new range may move the scroll bar, which moves the top place with it.
    const int top = relaid ? lines.lineAt(TopPlace.Paragraph, TopPlace.Offset) : bar->value();
    bar->setRange(0, qMax(0, lines.count() - VisibleLines()));
    bar->setPageStep(VisibleLines());
    bar->setValue(top);
}

void TMainRichEdit::scrollContentsBy(int, int)
{
    if (Text && !Pending) {
        const TDisplayLineModel& lines = Text->ShownLines();
        const int top = verticalScrollBar()->value();
        TopPlace = {lines.paragraphOfLine(top), lines.lineStartInParagraph(top)};
    }
    viewport()->update();
}

void TMainRichEdit::LayOutLine(QTextLayout& layout, int line) const
{
    const TDisplayLineModel& lines = Text->ShownLines();
    layout.setText(lines.line(line));
    layout.setFont(font());
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    option.setTabStopDistance(TabStop);
    layout.setTextOption(option);
    layout.setCacheEnabled(true);
    if (!Preedit.isEmpty() && line == Editing->CursorLine()) {
        const int offset = Editing->Position().Offset - lines.lineStartInParagraph(line);
        layout.setPreeditArea(offset, Preedit);
        QList<QTextLayout::FormatRange> formats;
        for (const QInputMethodEvent::Attribute& a : PreeditAttributes) {
            const QTextCharFormat format = qvariant_cast<QTextFormat>(a.value).toCharFormat();
            if (a.type == QInputMethodEvent::TextFormat && format.isValid())
                formats.append({offset + a.start, a.length, format});
        }
        layout.setFormats(formats);
    }
    layout.beginLayout();
    QTextLine textLine = layout.createLine();
    textLine.setLineWidth(Unwrapped);
    textLine.setPosition({0, 0});
    layout.endLayout();
}

void TMainRichEdit::paintEvent(QPaintEvent*)
{
    if (!Text)
        return;
    SyncScrollRange();
    const TDisplayLineModel& lines = Text->ShownLines();
    QPainter painter(viewport());
    painter.setPen(palette().color(QPalette::Text));
    const int height = LineHeight();
    const int cursorLine = Editing->CursorLine();
    const TTextPos from = Editing->SelectionStart();
    const TTextPos to = Editing->SelectionEnd();
    QTextCharFormat selected;
    selected.setBackground(palette().brush(QPalette::Highlight));
    selected.setForeground(palette().brush(QPalette::HighlightedText));
    int y = Margin;
    for (int i = FirstVisibleLine(); i < lines.count() && y < viewport()->height(); ++i) {
        QTextLayout layout;
        LayOutLine(layout, i);
        QList<QTextLayout::FormatRange> selections;
        const TTextPos start = Editing->LineStart(i);
        const TTextPos end = Editing->LineEnd(i);
        if (from < end && to > start) {
            const int a = from > start ? from.Offset - start.Offset : 0;
            const int b = to < end ? to.Offset - start.Offset : end.Offset - start.Offset;
            selections.append({a, b - a, selected});
        }
        layout.draw(&painter, QPointF(Margin, y), selections);
        // A selection going on past the paragraph's end shows so, as a blank.
        if (to > end && from <= end && end.Offset == int(lines.paragraph(end.Paragraph).size()))
            painter.fillRect(QRectF(Margin + layout.lineAt(0).naturalTextWidth(), y,
                                    QFontMetricsF(font()).averageCharWidth(), height),
                             selected.background());
        if (i == cursorLine && hasFocus() && CursorOn && !ReadOnly) {
            const int offset =
                Editing->Position().Offset - start.Offset + (Preedit.isEmpty() ? 0 : PreeditCursor);
            layout.drawCursor(&painter, QPointF(Margin, y), offset, 1);
        }
        y += height;
    }
}

TTextPos TMainRichEdit::PlaceAt(QPointF point, bool& atLineEnd) const
{
    const int row = int(std::floor((point.y() - Margin) / LineHeight()));
    const int line = std::clamp(FirstVisibleLine() + row, 0, Text->ShownLines().count() - 1);
    return PlaceInLine(line, point.x() - Margin, atLineEnd);
}

TTextPos TMainRichEdit::PlaceInLine(int line, qreal x, bool& atLineEnd) const
{
    QTextLayout layout;
    LayOutLine(layout, line);
    const TTextPos start = Editing->LineStart(line);
    const int length = int(Text->ShownLines().lineView(line).size());
    const int offset = std::min(layout.lineAt(0).xToCursor(x), length);
    atLineEnd = offset == length && Editing->Wraps(line);
    return {start.Paragraph, start.Offset + offset};
}

qreal TMainRichEdit::CursorX() const
{
    QTextLayout layout;
    const int line = Editing->CursorLine();
    LayOutLine(layout, line);
    return layout.lineAt(0).cursorToX(Editing->Position().Offset - Editing->LineStart(line).Offset);
}

QRectF TMainRichEdit::CursorRect() const
{
    const int row = Editing->CursorLine() - FirstVisibleLine();
    const QPointF topLeft = viewport()->geometry().topLeft();
    return {topLeft.x() + Margin + CursorX(), topLeft.y() + Margin + qreal(row) * LineHeight(), 1,
            qreal(LineHeight())};
}

void TMainRichEdit::EnsureCursorVisible()
{
    const int line = Editing->CursorLine();
    QScrollBar* bar = verticalScrollBar();
    if (line < bar->value())
        bar->setValue(line);
    else if (line >= bar->value() + VisibleLines())
        bar->setValue(line - VisibleLines() + 1);
}

void TMainRichEdit::RestartBlink()
{
    CursorOn = true;
    const int flash = QGuiApplication::styleHints()->cursorFlashTime();
    if (hasFocus() && flash > 0)
        Blink->start(flash / 2);
    else
        Blink->stop();
}

void TMainRichEdit::CursorMoved()
{
    EnsureCursorVisible();
    RestartBlink();
    viewport()->update();
    if (QGuiApplication::inputMethod())
        QGuiApplication::inputMethod()->update(Qt::ImQueryInput);
}

void TMainRichEdit::MoveVertically(int lines, bool select)
{
    if (GoalX < 0)
        GoalX = CursorX();
    const int target = std::clamp(Editing->CursorLine() + lines, 0, Text->ShownLines().count() - 1);
    bool atLineEnd = false;
    const TTextPos place = PlaceInLine(target, GoalX, atLineEnd);
    Editing->MoveTo(place, select, atLineEnd);
}

void TMainRichEdit::Move(TTextKey key)
{
    const int page = qMax(1, VisibleLines() - 1);
    QScrollBar* bar = verticalScrollBar();
    switch (key.What) {
    case TTextKey::NextLine:
        MoveVertically(1, key.Select);
        break;
    case TTextKey::PrevLine:
        MoveVertically(-1, key.Select);
        break;
    case TTextKey::NextPage:
        bar->setValue(bar->value() + page);
        MoveVertically(page, key.Select);
        break;
    case TTextKey::PrevPage:
        bar->setValue(bar->value() - page);
        MoveVertically(-page, key.Select);
        break;
    default:
        // Up and down keep to their column; every other move forgets it.
        GoalX = -1;
        Editing->MoveBy(key);
        break;
    }
    CursorMoved();
}

void TMainRichEdit::Command(TTextKey key, const QString& typed)
{
    if (key.What == TTextKey::Copy)
        copy();
    else if (key.What == TTextKey::SelectAll)
        selectAll();
    else if (key.What == TTextKey::Cut)
        cut();
    else if (key.What == TTextKey::Paste)
        paste();
    else
        Edit([&](TTextEditing& e) { e.EditBy(key, typed); });
}

void TMainRichEdit::keyPressEvent(QKeyEvent* event)
{
    const TTextKey key = TextKeyOf(*event);
    if (!Text || key.What == TTextKey::None || (ReadOnly && key.Changes())) {
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    if (key.IsMove())
        Move(key);
    else
        Command(key, event->text());
}

bool TMainRichEdit::event(QEvent* event)
{
    // The window's shortcuts do not take the keys the text view edits and moves with.
    if (event->type() == QEvent::ShortcutOverride &&
        TextKeyOf(*static_cast<QKeyEvent*>(event)).What != TTextKey::None) {
        event->accept();
        return true;
    }
    return QAbstractScrollArea::event(event);
}

bool TMainRichEdit::focusNextPrevChild(bool next)
{
    // Tab is typed into the text; it moves the focus only out of a text that cannot be edited.
    if (!ReadOnly)
        return false;
    return QAbstractScrollArea::focusNextPrevChild(next);
}

void TMainRichEdit::mousePressEvent(QMouseEvent* event)
{
    if (!Text)
        return;
    bool atLineEnd = false;
    const TTextPos place = PlaceAt(event->position(), atLineEnd);
    GoalX = -1;
    if (event->button() == Qt::LeftButton) {
        Editing->MoveTo(place, event->modifiers() & Qt::ShiftModifier, atLineEnd);
        Dragging = true;
        LastMouse = event->position();
        CursorMoved();
    } else if (event->button() == Qt::MiddleButton && !ReadOnly &&
               QGuiApplication::clipboard()->supportsSelection()) {
        // X11's way: the middle button pastes the text last selected, where it is pressed.
        const QString text = QGuiApplication::clipboard()->text(QClipboard::Selection);
        Editing->MoveTo(place, false, atLineEnd);
        if (!text.isEmpty())
            insertPlainText(text);
        CursorMoved();
    }
}

void TMainRichEdit::mouseMoveEvent(QMouseEvent* event)
{
    if (!Dragging || !(event->buttons() & Qt::LeftButton))
        return;
    LastMouse = event->position();
    bool atLineEnd = false;
    Editing->MoveTo(PlaceAt(LastMouse, atLineEnd), true, atLineEnd);
    CursorMoved();
    const bool outside = LastMouse.y() < 0 || LastMouse.y() > viewport()->height();
    if (outside && !AutoScroll->isActive())
        AutoScroll->start();
    else if (!outside)
        AutoScroll->stop();
}

void TMainRichEdit::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    Dragging = false;
    AutoScroll->stop();
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (Editing && Editing->HasSelection() && clipboard->supportsSelection())
        clipboard->setText(Editing->SelectedText(), QClipboard::Selection);
}

void TMainRichEdit::SelectWordAt(TTextPos place)
{
    const TDisplayLineModel& lines = Text->ShownLines();
    const int line = lines.lineAt(place.Paragraph, place.Offset);
    const int start = lines.lineStartInParagraph(line);
    const QStringView text = lines.lineView(line);
    QTextBoundaryFinder finder(QTextBoundaryFinder::Word, text.data(), int(text.size()));
    const int at = place.Offset - start;
    finder.setPosition(at);
    const bool startsHere =
        finder.isAtBoundary() && finder.boundaryReasons() & QTextBoundaryFinder::StartOfItem;
    const qsizetype from = startsHere ? at : qMax<qsizetype>(0, finder.toPreviousBoundary());
    finder.setPosition(at);
    const qsizetype next = finder.toNextBoundary();
    const qsizetype to = next < 0 ? text.size() : next;
    Editing->MoveTo({place.Paragraph, start + int(from)}, false);
    Editing->MoveTo({place.Paragraph, start + int(to)}, true);
}

void TMainRichEdit::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (!Text || event->button() != Qt::LeftButton)
        return;
    bool atLineEnd = false;
    SelectWordAt(PlaceAt(event->position(), atLineEnd));
    CursorMoved();
}

void TMainRichEdit::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    RestartBlink();
    viewport()->update();
}

void TMainRichEdit::focusOutEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusOutEvent(event);
    Blink->stop();
    viewport()->update();
}

void TMainRichEdit::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    // The lines are laid out at a new width once the size settles, not at every step of a drag.
    if (event->size().width() != event->oldSize().width())
        Relayout->start();
    SyncScrollRange();
    viewport()->update();
}

void TMainRichEdit::LinesRelaid()
{
    SyncScrollRange();
    viewport()->update();
}

void TMainRichEdit::changeEvent(QEvent* event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        viewport()->update();
}

void TMainRichEdit::inputMethodEvent(QInputMethodEvent* event)
{
    if (!Text || ReadOnly) {
        event->ignore();
        return;
    }
    if (!event->commitString().isEmpty() || event->replacementLength() > 0) {
        const QString commit = event->commitString();
        const int from = event->replacementStart();
        const int length = event->replacementLength();
        Edit([&](TTextEditing& e) {
            if (length > 0) {
                const TTextPos at = e.Position();
                e.MoveTo({at.Paragraph, at.Offset + from}, false);
                e.MoveTo({at.Paragraph, at.Offset + from + length}, true);
            }
            e.Insert(commit);
        });
    }
    Preedit = event->preeditString();
    PreeditAttributes = event->attributes();
    PreeditCursor = int(Preedit.size());
    for (const QInputMethodEvent::Attribute& a : PreeditAttributes)
        if (a.type == QInputMethodEvent::Cursor)
            PreeditCursor = a.start;
    viewport()->update();
    event->accept();
}

QVariant TMainRichEdit::inputMethodQuery(Qt::InputMethodQuery query) const
{
    if (!Text)
        return QAbstractScrollArea::inputMethodQuery(query);
    // The surrounding text is the cursor's display line: a paragraph may be megabytes long.
    const int line = Editing->CursorLine();
    const TTextPos start = Editing->LineStart(line);
    const TTextPos pos = Editing->Position();
    const TTextPos anchor = Editing->Anchor();
    switch (query) {
    case Qt::ImEnabled:
        return !ReadOnly;
    case Qt::ImCursorRectangle:
        return CursorRect();
    case Qt::ImFont:
        return font();
    case Qt::ImCursorPosition:
        return pos.Offset - start.Offset;
    case Qt::ImAnchorPosition:
        return anchor.Paragraph == pos.Paragraph
                   ? std::clamp(anchor.Offset - start.Offset, 0,
                                int(Text->ShownLines().lineView(line).size()))
                   : pos.Offset - start.Offset;
    case Qt::ImSurroundingText:
        return Text->ShownLines().line(line);
    case Qt::ImCurrentSelection:
        return Editing->SelectionStart().Paragraph == Editing->SelectionEnd().Paragraph
                   ? Editing->SelectedText()
                   : QString();
    case Qt::ImHints:
        return int(Qt::ImhMultiLine);
    default:
        return QAbstractScrollArea::inputMethodQuery(query);
    }
}
