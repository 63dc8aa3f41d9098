// The text view's edits: any run of typing, deleting, pasting, moving, undoing and redoing
// gives the text a plain string would hold after the same edits, never a cursor outside the
// text, lines that a fresh layout of the text would give, and undo all the way back gives the
// text as loaded.
#include "FuzzSupport.h"

#include "reader/DisplayLineModel.h"
#include "reader/TextEditing.h"

namespace {

class TNarrowAdvances : public TAdvanceSource
{
public:
    qreal Advance(char32_t c) const override { return c < 0x2E80 ? 7 : 13; }
};

class TModelText : public TEditedText
{
public:
    TModelText()
    {
        Model.SetWidth(60);
        Model.SetPieceUnits(8);
    }
    const TDisplayLineModel& Lines() const override { return Model; }
    void ReplaceParagraphs(int first, int removed, const QStringList& paragraphs) override
    {
        Model.ParagraphsChanged(first, removed, paragraphs);
    }

    TNarrowAdvances Advances;
    TDisplayLineModel Model{Advances};
};

// Where a place is in the plain text.
qsizetype Offset(const QString& text, TTextPos pos)
{
    qsizetype at = 0;
    for (int p = 0; p < pos.Paragraph; ++p)
        at = text.indexOf(u'\n', at) + 1;
    return at + pos.Offset;
}

bool Valid(const TTextEditing& e, const TDisplayLineModel& lines)
{
    for (const TTextPos pos : {e.Position(), e.Anchor()})
        if (pos.Paragraph < 0 || pos.Paragraph >= lines.paragraphCount() || pos.Offset < 0 ||
            pos.Offset > lines.paragraph(pos.Paragraph).size())
            return false;
    return true;
}

bool SameLines(const TDisplayLineModel& model, const QString& text)
{
    TNarrowAdvances advances;
    TDisplayLineModel fresh(advances);
    fresh.SetWidth(60);
    fresh.SetText(text);
    if (fresh.count() != model.count())
        return false;
    for (int i = 0; i < fresh.count(); ++i)
        if (fresh.lineView(i) != model.lineView(i))
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    FuzzedDataProvider data(bytes, size);
    const QString loaded =
        TTextEditing::NormalizedLineEnds(FuzzText(data, data.ConsumeIntegralInRange(0, 64)));
    TModelText text;
    text.Model.SetText(loaded);
    TTextEditing e(text);
    QString plain = loaded;
    int steps = 0;
    while (data.remaining_bytes() > 0 && steps++ < 40) {
        switch (data.ConsumeIntegralInRange(0, 9)) {
        case 0:
        case 1: {
            const QString typed = FuzzText(data, data.ConsumeIntegralInRange(0, 6));
            const qsizetype from = Offset(plain, e.SelectionStart());
            plain.replace(from, Offset(plain, e.SelectionEnd()) - from,
                          TTextEditing::NormalizedLineEnds(typed));
            e.Insert(typed,
                     data.ConsumeBool() ? TTextEditing::TMerge::Typing : TTextEditing::TMerge::No);
            FUZZ_CHECK(e.PlainText() == plain);
            break;
        }
        case 2:
            e.DeleteBackward();
            break;
        case 3:
            e.DeleteForward();
            break;
        case 4:
            e.MoveTo(e.NextCharacter(data.ConsumeBool()), data.ConsumeBool());
            break;
        case 5:
            e.MoveTo(e.PreviousWord(), data.ConsumeBool());
            break;
        case 6: {
            const int line = data.ConsumeIntegralInRange(0, text.Model.count() - 1);
            e.MoveTo(data.ConsumeBool() ? e.LineStart(line) : e.LineEnd(line), data.ConsumeBool(),
                     data.ConsumeBool());
            break;
        }
        case 7:
            e.Undo();
            break;
        case 8:
            e.Redo();
            break;
        case 9:
            e.SelectAll();
            break;
        }
        FUZZ_CHECK(Valid(e, text.Model));
        FUZZ_CHECK(e.CursorLine() >= 0 && e.CursorLine() < text.Model.count());
        // Deletes, undo and redo are followed on the plain text through the view's own text.
        plain = e.PlainText();
    }
    FUZZ_CHECK(SameLines(text.Model, e.PlainText()));
    while (e.CanUndo())
        e.Undo();
    FUZZ_CHECK(e.PlainText() == loaded);
    FUZZ_CHECK(!e.Modified());
    FUZZ_CHECK(SameLines(text.Model, loaded));
    return 0;
}
