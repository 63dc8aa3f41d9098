#include "reader/TextEditing.h"

#include "reader/DisplayLineModel.h"

#include <QTextBoundaryFinder>

namespace {

// Boundaries are looked for inside one display line: lines break only where characters and
// words may end, and a paragraph may be far too long to hand to a finder whole.
int NextBoundary(QTextBoundaryFinder::BoundaryType type, QStringView line, int at)
{
    QTextBoundaryFinder finder(type, line.data(), int(line.size()));
    finder.setPosition(at);
    const qsizetype next = finder.toNextBoundary();
    return next < 0 ? int(line.size()) : int(next);
}

int PreviousBoundary(QTextBoundaryFinder::BoundaryType type, QStringView line, int at)
{
    QTextBoundaryFinder finder(type, line.data(), int(line.size()));
    finder.setPosition(at);
    const qsizetype previous = finder.toPreviousBoundary();
    return previous < 0 ? 0 : int(previous);
}

bool IsBlank(QChar c)
{
    return c.isSpace();
}

} // namespace

void TTextEditing::Reset()
{
    Pos = Anc = {};
    EndOfLine = false;
    History.clear();
    Done = Clean = 0;
}

int TTextEditing::ParagraphLength(int p) const
{
    return int(Lines().paragraph(p).size());
}

TTextPos TTextEditing::End() const
{
    const int last = Lines().paragraphCount() - 1;
    return {last, ParagraphLength(last)};
}

TTextPos TTextEditing::Clamped(TTextPos pos) const
{
    const int count = Lines().paragraphCount();
    if (pos.Paragraph >= count)
        return End();
    if (pos.Paragraph < 0)
        return {};
    return {pos.Paragraph, std::clamp(pos.Offset, 0, ParagraphLength(pos.Paragraph))};
}

void TTextEditing::MoveTo(TTextPos pos, bool select, bool atLineEnd)
{
    Pos = Clamped(pos);
    if (!select)
        Anc = Pos;
    EndOfLine = atLineEnd;
}

void TTextEditing::SelectAll()
{
    Anc = {};
    Pos = End();
    EndOfLine = false;
}

int TTextEditing::CursorLine() const
{
    const TDisplayLineModel& lines = Lines();
    const int line = lines.lineAt(Pos.Paragraph, Pos.Offset);
    if (EndOfLine && line > lines.firstLineOfParagraph(Pos.Paragraph) &&
        lines.lineStartInParagraph(line) == Pos.Offset)
        return line - 1;
    return line;
}

TTextPos TTextEditing::LineStart(int line) const
{
    const TDisplayLineModel& lines = Lines();
    return {lines.paragraphOfLine(line), lines.lineStartInParagraph(line)};
}

TTextPos TTextEditing::LineEnd(int line) const
{
    const TTextPos start = LineStart(line);
    return {start.Paragraph, start.Offset + int(Lines().lineView(line).size())};
}

bool TTextEditing::Wraps(int line) const
{
    const TDisplayLineModel& lines = Lines();
    return line + 1 < lines.count() &&
           lines.paragraphOfLine(line + 1) == lines.paragraphOfLine(line);
}

TTextPos TTextEditing::NextCharacter(bool select) const
{
    if (!select && HasSelection())
        return SelectionEnd();
    const TDisplayLineModel& lines = Lines();
    if (Pos.Offset >= ParagraphLength(Pos.Paragraph))
        return Pos.Paragraph + 1 < lines.paragraphCount() ? TTextPos{Pos.Paragraph + 1, 0} : Pos;
    const int line = lines.lineAt(Pos.Paragraph, Pos.Offset);
    const int start = lines.lineStartInParagraph(line);
    const int next =
        NextBoundary(QTextBoundaryFinder::Grapheme, lines.lineView(line), Pos.Offset - start);
    return {Pos.Paragraph, start + next};
}

TTextPos TTextEditing::PreviousCharacter(bool select) const
{
    if (!select && HasSelection())
        return SelectionStart();
    if (Pos.Offset == 0)
        return Pos.Paragraph > 0 ? TTextPos{Pos.Paragraph - 1, ParagraphLength(Pos.Paragraph - 1)}
                                 : Pos;
    const TDisplayLineModel& lines = Lines();
    // The character before the start of a wrapped line is the last of the line before.
    const int line = lines.lineAt(Pos.Paragraph, Pos.Offset - 1);
    const int start = lines.lineStartInParagraph(line);
    const int previous =
        PreviousBoundary(QTextBoundaryFinder::Grapheme, lines.lineView(line), Pos.Offset - start);
    return {Pos.Paragraph, start + previous};
}

TTextPos TTextEditing::NextWord() const
{
    const TDisplayLineModel& lines = Lines();
    if (Pos.Offset >= ParagraphLength(Pos.Paragraph))
        return NextCharacter(true);
    const int line = lines.lineAt(Pos.Paragraph, Pos.Offset);
    const int start = lines.lineStartInParagraph(line);
    const QStringView text = lines.lineView(line);
    int at = NextBoundary(QTextBoundaryFinder::Word, text, Pos.Offset - start);
    // A word move stops at the start of the next word, past the blanks after this one.
    while (at < text.size() && IsBlank(text[at]))
        ++at;
    return {Pos.Paragraph, start + at};
}

TTextPos TTextEditing::PreviousWord() const
{
    if (Pos.Offset == 0)
        return PreviousCharacter(true);
    const TDisplayLineModel& lines = Lines();
    const int line = lines.lineAt(Pos.Paragraph, Pos.Offset - 1);
    const int start = lines.lineStartInParagraph(line);
    const QStringView text = lines.lineView(line);
    int at = Pos.Offset - start;
    while (at > 0 && IsBlank(text[at - 1]))
        --at;
    if (at > 0)
        at = PreviousBoundary(QTextBoundaryFinder::Word, text, at);
    return {Pos.Paragraph, start + at};
}

bool TTextEditing::MoveBy(TTextKey key)
{
    const bool select = key.Select;
    switch (key.What) {
    case TTextKey::NextChar:
        MoveTo(NextCharacter(select), select);
        return true;
    case TTextKey::PrevChar:
        MoveTo(PreviousCharacter(select), select);
        return true;
    case TTextKey::NextWord:
        MoveTo(NextWord(), select);
        return true;
    case TTextKey::PrevWord:
        MoveTo(PreviousWord(), select);
        return true;
    case TTextKey::LineStart:
        MoveTo(LineStart(CursorLine()), select);
        return true;
    case TTextKey::LineEnd: {
        const int line = CursorLine();
        MoveTo(LineEnd(line), select, Wraps(line));
        return true;
    }
    case TTextKey::TextStart:
        MoveTo({}, select);
        return true;
    case TTextKey::TextEnd:
        MoveTo(End(), select);
        return true;
    default:
        return false;
    }
}

bool TTextEditing::EditBy(TTextKey key, const QString& typed)
{
    switch (key.What) {
    case TTextKey::Undo:
        Undo();
        return true;
    case TTextKey::Redo:
        Redo();
        return true;
    case TTextKey::DeleteWordBack:
        DeleteTo(PreviousWord());
        return true;
    case TTextKey::DeleteWordForward:
        DeleteTo(NextWord());
        return true;
    case TTextKey::Backspace:
        DeleteBackward();
        return true;
    case TTextKey::Delete:
        DeleteForward();
        return true;
    case TTextKey::NewParagraph:
        Insert(QStringLiteral("\n"));
        return true;
    case TTextKey::Type:
        Insert(typed, TMerge::Typing);
        return true;
    default:
        return false;
    }
}

QString TTextEditing::TextBetween(TTextPos from, TTextPos to) const
{
    const TDisplayLineModel& lines = Lines();
    if (from.Paragraph == to.Paragraph)
        return lines.paragraph(from.Paragraph).mid(from.Offset, to.Offset - from.Offset).toString();
    QString text = lines.paragraph(from.Paragraph).mid(from.Offset).toString();
    for (int p = from.Paragraph + 1; p < to.Paragraph; ++p) {
        text += u'\n';
        text += lines.paragraph(p);
    }
    text += u'\n';
    text += lines.paragraph(to.Paragraph).left(to.Offset);
    return text;
}

QString TTextEditing::PlainText() const
{
    const TDisplayLineModel& lines = Lines();
    const int count = lines.paragraphCount();
    qsizetype size = count - 1;
    for (int p = 0; p < count; ++p)
        size += lines.paragraph(p).size();
    QString text;
    text.reserve(size);
    for (int p = 0; p < count; ++p) {
        if (p > 0)
            text += u'\n';
        text += lines.paragraph(p);
    }
    return text;
}

QString TTextEditing::NormalizedLineEnds(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    text.replace(QChar::ParagraphSeparator, u'\n');
    return text;
}

TTextPos TTextEditing::EndOf(TTextPos from, const QString& text)
{
    const qsizetype lastEnd = text.lastIndexOf(u'\n');
    if (lastEnd < 0)
        return {from.Paragraph, from.Offset + int(text.size())};
    return {from.Paragraph + int(text.count(u'\n')), int(text.size() - lastEnd - 1)};
}

TTextPos TTextEditing::Replace(TTextPos from, TTextPos to, const QString& text)
{
    const TDisplayLineModel& lines = Lines();
    const QStringView head = lines.paragraph(from.Paragraph).left(from.Offset);
    const QStringView tail = lines.paragraph(to.Paragraph).mid(to.Offset);
    QStringList parts = text.split(u'\n');
    const TTextPos end = EndOf(from, text);
    parts.front().prepend(head);
    parts.back().append(tail);
    Text.ReplaceParagraphs(from.Paragraph, to.Paragraph - from.Paragraph + 1, parts);
    return end;
}

void TTextEditing::Record(TStep step)
{
    History.resize(size_t(Done));
    if (Clean > Done)
        Clean = -1; // the saved state was undone and is now out of reach
    TStep* last = History.empty() ? nullptr : &History.back();
    const bool merges = step.Typing && last && last->Typing && last->Removed.isEmpty() &&
                        step.Removed.isEmpty() && Clean != Done &&
                        EndOf(last->From, last->Inserted) == step.From;
    if (merges) {
        last->Inserted += step.Inserted;
        return;
    }
    History.push_back(std::move(step));
    ++Done;
}

void TTextEditing::Insert(const QString& typed, TMerge merge)
{
    const QString text = NormalizedLineEnds(typed);
    if (text.isEmpty() && !HasSelection())
        return;
    TStep step{SelectionStart(),
               SelectedText(),
               text,
               Anc,
               Pos,
               merge == TMerge::Typing && !text.contains(u'\n')};
    const TTextPos end = Replace(SelectionStart(), SelectionEnd(), text);
    Record(std::move(step));
    MoveTo(end, false);
}

void TTextEditing::DeleteTo(TTextPos to)
{
    to = Clamped(to);
    if (to == Pos)
        return;
    Anc = to;
    Insert(QString());
}

void TTextEditing::DeleteBackward()
{
    if (HasSelection()) {
        Insert(QString());
        return;
    }
    TTextPos to = PreviousCharacter(true);
    // Backspace takes back the last code point typed, not the whole cluster it ends.
    if (to.Paragraph == Pos.Paragraph && Pos.Offset - to.Offset > 1) {
        const QStringView p = Lines().paragraph(Pos.Paragraph);
        const bool pair = QChar::isLowSurrogate(p[Pos.Offset - 1].unicode()) && Pos.Offset > 1 &&
                          QChar::isHighSurrogate(p[Pos.Offset - 2].unicode());
        to.Offset = Pos.Offset - (pair ? 2 : 1);
    }
    DeleteTo(to);
}

void TTextEditing::DeleteForward()
{
    if (HasSelection()) {
        Insert(QString());
        return;
    }
    DeleteTo(NextCharacter(true));
}

void TTextEditing::Undo()
{
    if (!CanUndo())
        return;
    const TStep& step = History[size_t(--Done)];
    Replace(step.From, EndOf(step.From, step.Inserted), step.Removed);
    Anc = Clamped(step.AnchorBefore);
    Pos = Clamped(step.PositionBefore);
    EndOfLine = false;
}

void TTextEditing::Redo()
{
    if (!CanRedo())
        return;
    const TStep& step = History[size_t(Done++)];
    MoveTo(Replace(step.From, EndOf(step.From, step.Removed), step.Inserted), false);
}
