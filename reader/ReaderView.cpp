#include "reader/ReaderView.h"

#include "platform/AozoraNotation.h"
#include "reader/FontAdvances.h"
#include "reader/KeptLine.h"
#include "reader/MainRichEdit.h"
#include "reader/ReaderLabel.h"
#include "reader/ReaderLayout.h"

#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QScrollBar>
#include <algorithm>
#include <utility>

namespace {

constexpr int LabelLeft = 6;

// The marks of a line from the notes of one kind: those of its paragraph that fall in the line,
// cut to it. The notes are in the order of the paragraphs.
template <class TNote, class TMake>
void MarksInLine(const std::vector<TNote>& notes, const TAozoraSpan& line, TMake make,
                 QList<TReaderLabel::TMark>& marks)
{
    auto spanOf = [](const TNote& note) -> const TAozoraSpan& {
        if constexpr (requires { note.Base; })
            return note.Base;
        else
            return note.Span;
    };
    auto first = std::lower_bound(notes.begin(), notes.end(), line.Paragraph,
                                  [&](const TNote& n, int p) { return spanOf(n).Paragraph < p; });
    for (auto it = first; it != notes.end() && spanOf(*it).Paragraph == line.Paragraph; ++it) {
        const TAozoraSpan& span = spanOf(*it);
        const int start = qMax(span.Start, line.Start);
        const int end = qMin(span.Start + span.Length, line.Start + line.Length);
        if (start < end) {
            TReaderLabel::TMark mark = make(*it);
            mark.Start = start - line.Start;
            mark.Length = end - start;
            marks.append(mark);
        }
    }
}

// A model laid out on the reading thread, with what it was laid out for.
struct TPreparedModel final : TPreparedLines
{
    QString Text;
    QFont Font;
    qreal Width = 0;
    // Only while the reading thread lays the text out.
    std::unique_ptr<TFontAdvances> Advances;
    // Without its advances: the reader gives it its own before it lays anything out again.
    std::unique_ptr<TDisplayLineModel> Model;
};

} // namespace

// Tells the view when the text view's font or wrap width may have changed: until then, asking
// for lines need not compare them (which would cost more than the line itself).
class TReaderView::TLayoutWatch final : public QObject
{
public:
    explicit TLayoutWatch(bool& checked) : Checked(checked) {}

    bool eventFilter(QObject*, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::FontChange:
        case QEvent::StyleChange:
        case QEvent::Resize:
        case QEvent::Show:
        case QEvent::Polish:
            Checked = false;
            break;
        default:
            break;
        }
        return false;
    }

private:
    bool& Checked;
};

TReaderView::TReaderView(TMainRichEdit* edit, QFrame* panel, QScrollBar* scrollBar,
                         QObject* mouseFilter)
    : Edit(edit), Panel(panel), ScrollBar(scrollBar), MouseFilter(mouseFilter),
      Watch(std::make_unique<TLayoutWatch>(LayoutChecked))
{
    edit->installEventFilter(Watch.get());
    edit->viewport()->installEventFilter(Watch.get());
    edit->SetEditedText(this);
    QObject::connect(edit, &TMainRichEdit::TextReplaced, edit, [this] { TextStale = true; });
}

TReaderView::~TReaderView() = default;

const TDisplayLineModel& TReaderView::Lines() const
{
    UpdateLines();
    return *Model;
}

const TDisplayLineModel& TReaderView::ShownLines() const
{
    if (TextStale || !Model)
        UpdateLines();
    return *Model;
}

void TReaderView::ReplaceParagraphs(int first, int removedCount, const QStringList& paragraphs)
{
    // An edit goes into the lines as they are; a new width or font still waits for its turn.
    ShownLines();
    for (int p = first; p < first + removedCount; ++p)
        Characters -= Model->paragraph(p).size();
    for (const QString& paragraph : paragraphs)
        Characters += paragraph.size();
    Model->ParagraphsChanged(first, removedCount, paragraphs);
}

namespace {

// A font that shares nothing with the one it copies: a copy shares its private part, whose
// cache of font engines is filled as it is used, and the reading thread must not fill it while
// this thread uses the original.
QFont UnsharedCopy(const QFont& font)
{
    QFont copy(font);
    const bool kerning = copy.kerning();
    copy.setKerning(!kerning);
    copy.setKerning(kerning);
    return copy;
}

} // namespace

TLinePreparer TReaderView::LinePreparer() const
{
    const QFont font = Edit->font();
    const QFont documentFont = UnsharedCopy(font);
    const qreal tabStop = Edit->TabStopDistance();
    const qreal width = WrapWidthOf(*Edit);
    return [=](const QString& text,
               const std::function<bool()>& keepGoing) -> std::unique_ptr<TPreparedLines> {
        auto prepared = std::make_unique<TPreparedModel>();
        prepared->Text = text;
        prepared->Font = font;
        prepared->Width = width;
        prepared->Advances = std::make_unique<TFontAdvances>(documentFont, tabStop);
        prepared->Model = std::make_unique<TDisplayLineModel>(*prepared->Advances);
        prepared->Model->SetWidth(width);
        prepared->Model->SetProgress(keepGoing);
        prepared->Model->SetLoadedText(text, -1);
        prepared->Model->SetProgress({});
        if (prepared->Model->StoppedEarly())
            return nullptr;
        // The font engines this thread made go with it: the window measures with its own.
        prepared->Advances.reset();
        return prepared;
    };
}

bool TReaderView::AdoptPrepared() const
{
    const std::shared_ptr<TPreparedLines> offered = std::exchange(Prepared, nullptr);
    auto* prepared = dynamic_cast<TPreparedModel*>(offered.get());
    if (!prepared || !prepared->Model)
        return false;
    // The very text loaded (the same characters in memory), in the same font and width.
    const QString loaded = Edit->LoadedText();
    if (loaded.constData() != prepared->Text.constData() ||
        loaded.size() != prepared->Text.size() || prepared->Font != Edit->font() ||
        prepared->Width != WrapWidthOf(*Edit))
        return false;
    Edit->TakeLoadedText();
    Model = std::move(prepared->Model);
    CountCharacters();
    Advances = AdvancesOf(*Edit);
    Model->SetAdvances(*Advances);
    ModelFont = Edit->font();
    return true;
}

void TReaderView::RefreshLines() const
{
    const int layouts = Layouts;
    LayOutAsNeeded();
    // The text view shows the new lines, from the passage it showed.
    if (Layouts != layouts)
        Edit->LinesRelaid();
}

void TReaderView::LayOutAsNeeded() const
{
    LayoutChecked = true;
    if (TextStale && Prepared && AdoptPrepared()) {
        ++Layouts;
        TextStale = false;
        return;
    }
    const QFont& font = Edit->font();
    bool relayout = false;
    if (!Model) {
        Advances = AdvancesOf(*Edit);
        Model = std::make_unique<TDisplayLineModel>(*Advances);
        ModelFont = font;
        TextStale = true;
    } else if (font != ModelFont) {
        // A new font keeps the paragraphs; only their lines are laid out again.
        std::unique_ptr<TFontAdvances> advances = AdvancesOf(*Edit);
        Model->SetAdvances(*advances);
        Advances = std::move(advances);
        ModelFont = font;
        relayout = true;
    }
    const qreal width = WrapWidthOf(*Edit);
    if (TextStale) {
        // Setting the paragraphs lays them out at once, at the width already set.
        Model->SetWidth(width);
        TakeCurrentText();
        ++Layouts;
        TextStale = false;
    } else if (relayout || width != Model->Width()) {
        // The model still holds the last layout: the place is read from it first.
        const int kept = Kept ? Kept->KeptLine() : -1;
        const bool keep = kept >= 0 && kept < Model->count();
        const int paragraph = keep ? Model->paragraphOfLine(kept) : -1;
        const int offset = keep ? Model->lineStartInParagraph(kept) : 0;
        Model->SetWidth(width);
        Model->Relayout();
        ++Layouts;
        if (paragraph >= 0)
            Kept->RenumberKeptLine(Model->lineAt(paragraph, offset));
    }
}

std::optional<TTextPlace> TReaderView::PlaceOfLine(int line) const
{
    if (line < 0 || line >= count())
        return std::nullopt;
    return TTextPlace{Model->paragraphOfLine(line), Model->lineStartInParagraph(line)};
}

int TReaderView::LineOfPlace(const TTextPlace& place) const
{
    if (count() == 0)
        return 0;
    return Model->lineAt(place.Paragraph, place.Offset);
}

void TReaderView::TakeCurrentText() const
{
    const QString loaded = Edit->TakeLoadedText();
    if (loaded.isEmpty())
        Model->SetParagraphs({QString()});
    else
        Model->SetLoadedText(loaded, -1);
    CountCharacters();
}

void TReaderView::CountCharacters() const
{
    Characters = 0;
    for (int p = 0; p < Model->paragraphCount(); ++p)
        Characters += Model->paragraph(p).size();
}

int TReaderView::count() const
{
    if (Edit->IsEmpty())
        return 0;
    UpdateLines();
    return Model->count();
}

QString TReaderView::line(int i) const
{
    if (Edit->IsEmpty())
        return QString();
    UpdateLines();
    return Model->line(i);
}

QStringView TReaderView::lineView(int i) const
{
    // Asked for line by line over the whole text, so the text view is not asked whether it is
    // empty: count() was 0 then, and no line is asked for.
    UpdateLines();
    return Model->lineView(i);
}

int TReaderView::ParagraphCount() const
{
    if (Edit->IsEmpty())
        return 0;
    UpdateLines();
    return Model->paragraphCount();
}

qsizetype TReaderView::CharacterCount() const
{
    UpdateLines();
    return Characters;
}

QStringView TReaderView::Paragraph(int i) const
{
    UpdateLines();
    return Model->paragraph(i);
}

TLineSource::TParagraphSpan TReaderView::nextParagraphWith(const TWordMatcher& word, int first,
                                                           int end) const
{
    UpdateLines();
    end = std::min(end, Model->count());
    const int p = first < end ? Model->firstParagraphWith(word, Model->paragraphOfLine(first),
                                                          Model->paragraphOfLine(end - 1))
                              : -1;
    if (p < 0)
        return {{}, std::max(first, end), 0};
    const TDisplayLineModel::TSpan span = Model->spanOfLine(Model->firstLineOfParagraph(p));
    return {Model->paragraph(p), span.FirstLine, span.LineCount};
}

TLineSource::TParagraphSpan TReaderView::paragraphSpan(int i) const
{
    UpdateLines();
    const TDisplayLineModel::TSpan span = Model->spanOfLine(i);
    if (span.Paragraph < 0)
        return {{}, i, 1};
    return {Model->paragraph(span.Paragraph), span.FirstLine, span.LineCount};
}

void TReaderView::SetLabelText(int i, const QString& text, int line)
{
    if (i < 0 || i >= Labels.size())
        return;
    auto* label = static_cast<TReaderLabel*>(Labels.at(i));
    label->setText(text);
    QList<TReaderLabel::TMark> marks;
    if (Annotations && line >= 0 && line < count()) {
        const TDisplayLineModel::TSpan span = Model->spanOfLine(line);
        const TAozoraSpan shown{span.Paragraph, Model->lineStartInParagraph(line),
                                int(Model->lineView(line).size())};
        using TKind = TReaderLabel::TMark::TKind;
        if (RubyAbove)
            MarksInLine(
                Annotations->Rubies, shown,
                [](const TAozoraRuby& r) {
                    return TReaderLabel::TMark{TKind::Ruby, 0, 0, r.Reading};
                },
                marks);
        MarksInLine(
            Annotations->Emphases, shown,
            [](const TAozoraEmphasis& e) {
                return TReaderLabel::TMark{e.Kind == TAozoraEmphasis::TKind::Dots ? TKind::Dots
                                                                                  : TKind::Line,
                                           0, 0, QString()};
            },
            marks);
    }
    label->SetMarks(marks);
}

void TReaderView::SetAnnotations(const TAozoraText* text, bool rubyAbove)
{
    Annotations = text;
    RubyAbove = rubyAbove;
}

int TReaderView::LineHeight() const
{
    return QFontMetrics(Edit->font()).height();
}

int TReaderView::MarkSpace() const
{
    const bool marks = Annotations && ((RubyAbove && !Annotations->Rubies.empty()) ||
                                       !Annotations->Emphases.empty());
    return marks ? TReaderLabel::MarkSpace(Edit->font()) : 0;
}

QLabel* TReaderView::MakeLabel(int index)
{
    auto* label = new TReaderLabel(Panel);
    label->setObjectName(QStringLiteral("ReaderLabel%1").arg(index));
    // A line of text is never markup, and is cut at the panel's edge rather than wrapped.
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(false);
    label->setAttribute(Qt::WA_TransparentForMouseEvents, false);
    label->installEventFilter(MouseFilter);
    label->show();
    return label;
}

void TReaderView::CreateZeroLabel()
{
    QLabel* label = MakeLabel(0);
    label->move(LabelLeft, LabelLeft);
    Labels = {label};
}

void TReaderView::CreateReaderLabels()
{
    if (Labels.isEmpty())
        return;
    QLabel* zero = Labels.first();
    zero->clear();
    while (Labels.size() > 1)
        delete Labels.takeLast();
    const int h = LineHeight() + MarkSpace();
    const int count = ReaderLabelCount(Panel->height() - Reserved, h, Spacing);
    const int width = qMax(0, Panel->width() - LabelLeft - ScrollBar->width() - 2);
    QPalette palette = zero->palette();
    palette.setColor(QPalette::WindowText, FontColor);
    for (int i = 0; i < count; ++i) {
        QLabel* label = i == 0 ? zero : MakeLabel(i);
        label->setFont(Edit->font());
        label->setPalette(palette);
        label->setGeometry(LabelLeft, ReaderLabelTop(i, h, Spacing), width, h);
        if (i > 0)
            Labels.append(label);
    }
    ScrollBar->raise();
    ScrollBar->setPageStep(int(Labels.size()));
}

void TReaderView::UpdateScrollRange()
{
    const int n = count();
    ScrollBar->setRange(0, n > 0 ? n - 1 : 0);
}
