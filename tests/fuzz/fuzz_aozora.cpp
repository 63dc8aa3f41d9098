// The Aozora Bunko notation. The first byte chooses how the rest makes a text: UTF-8 as it
// stands (byte 0 mod 3 is 0: "0", "3", "r"), a string of notation pieces, or a text written in
// well-formed notation whose formatted form is known from how it was written.
// Properties, for any text: the two styles that show the base alone give the same result; the
// formatted text is never longer than the source; a line without any mark reaches the formatted
// text whole and in order (the whole text, when nothing in it is a mark); every ruby, emphasis and
// heading lies inside its paragraph and covers something; a heading's text is what its span
// shows; in brackets, a reading follows its base. For well-formed notation: the formatted text,
// its paragraphs and everything kept beside it are exactly what the notation says, so no mark of
// a ruby or note is left in it.
#include "FuzzSupport.h"

#include "platform/AozoraNotation.h"
#include "platform/TextEncoding.h"

#include <QStringList>

namespace {

const TRubyStyle Styles[] = {TRubyStyle::Above, TRubyStyle::Parenthesised, TRubyStyle::Hidden};

bool HasMark(QStringView line)
{
    for (const QChar c : line) {
        if (c == u'《' || c == u'｜' || c == u'［' || c == u'※')
            return true;
    }
    return false;
}

// ---- any text ----

const char16_t* const Pieces[] = {
    u"《",         u"》",
    u"｜",         u"［＃",
    u"［",         u"］",
    u"※",          u"「",
    u"」",         u"＃",
    u"は",         u"に",
    u"傍点",       u"白ゴマ傍点",
    u"傍線",       u"大見出し",
    u"中見出し",   u"小見出し",
    u"終わり",     u"改ページ",
    u"改丁",       u"改段",
    u"第3水準",    u"第4水準",
    u"1-85-25",    u"２－１２－３４",
    u"-",          u"U+",
    u"5F45",       u"20B9F",
    u"000A",       u"、",
    u"\n",         u"漢",
    u"字",         u"々",
    u"あ",         u"の",
    u"カ",         u"A",
    u"１",         u"𠮟",
    u"----------", u"【テキスト中に現れる記号について】",
    u"底本：",     u" ",
};

QString PieceText(FuzzedDataProvider& data)
{
    QString text;
    while (data.remaining_bytes() > 0 && text.size() < 2000) {
        const auto b = data.ConsumeIntegral<unsigned char>();
        if (b < std::size(Pieces) * 4)
            text += QString::fromUtf16(Pieces[b % std::size(Pieces)]);
        else
            text += FuzzText(data, 1);
    }
    return text;
}

void CheckSpan(const QStringList& paragraphs, const TAozoraSpan& span)
{
    FUZZ_CHECK(span.Paragraph >= 0 && span.Paragraph < paragraphs.size());
    FUZZ_CHECK(span.Start >= 0 && span.Length > 0);
    FUZZ_CHECK(span.Start + span.Length <= paragraphs[span.Paragraph].size());
}

QStringView Shown(const QStringList& paragraphs, const TAozoraSpan& span)
{
    return QStringView(paragraphs[span.Paragraph]).sliced(span.Start, span.Length);
}

bool SameNotes(const TAozoraText& a, const TAozoraText& b);

void CheckAnyText(const QString& source)
{
    const TAozoraText above = FormatAozoraText(source, TRubyStyle::Above);
    const TAozoraText hidden = FormatAozoraText(source, TRubyStyle::Hidden);
    const TAozoraText brackets = FormatAozoraText(source, TRubyStyle::Parenthesised);
    FUZZ_CHECK(above.Text == hidden.Text && SameNotes(above, hidden));

    // Marks and notes only ever go; a character a note names takes the place of the note.
    FUZZ_CHECK(hidden.Text.size() <= source.size());
    FUZZ_CHECK(brackets.Text.size() <= source.size());

    const bool legend = source.contains(u"テキスト中に現れる記号について");
    if (!legend && !HasMark(source))
        FUZZ_CHECK(hidden.Text == source && brackets.Text == source);
    for (const TAozoraText* formatted : {&hidden, &brackets}) {
        const QStringList paragraphs = formatted->Text.split(u'\n');
        if (!legend) {
            qsizetype next = 0;
            for (const QStringView line : QStringView(source).split(u'\n')) {
                if (HasMark(line))
                    continue;
                while (next < paragraphs.size() && paragraphs[next] != line)
                    ++next;
                FUZZ_CHECK(next < paragraphs.size()); // a line without marks was lost
                ++next;
            }
        }
        for (const TAozoraRuby& ruby : formatted->Rubies) {
            CheckSpan(paragraphs, ruby.Base);
            FUZZ_CHECK(!ruby.Reading.isEmpty());
            if (formatted == &brackets) {
                const QString& paragraph = paragraphs[ruby.Base.Paragraph];
                const QString after = u'（' + ruby.Reading + u'）';
                FUZZ_CHECK(paragraph.mid(ruby.Base.Start + ruby.Base.Length, after.size()) ==
                           after);
            }
        }
        for (const TAozoraEmphasis& emphasis : formatted->Emphases)
            CheckSpan(paragraphs, emphasis.Span);
        for (const TAozoraHeading& heading : formatted->Headings) {
            CheckSpan(paragraphs, heading.Span);
            FUZZ_CHECK(heading.Level >= 1 && heading.Level <= 3);
            if (formatted == &hidden)
                FUZZ_CHECK(Shown(paragraphs, heading.Span) == heading.Text);
        }
    }
}

// ---- well-formed notation, and what it must give ----

bool operator==(const TAozoraSpan& a, const TAozoraSpan& b)
{
    return a.Paragraph == b.Paragraph && a.Start == b.Start && a.Length == b.Length;
}

bool SameNotes(const TAozoraText& a, const TAozoraText& b)
{
    if (a.Rubies.size() != b.Rubies.size() || a.Emphases.size() != b.Emphases.size() ||
        a.Headings.size() != b.Headings.size())
        return false;
    for (size_t i = 0; i < a.Rubies.size(); ++i) {
        if (!(a.Rubies[i].Base == b.Rubies[i].Base) || a.Rubies[i].Reading != b.Rubies[i].Reading)
            return false;
    }
    for (size_t i = 0; i < a.Emphases.size(); ++i) {
        if (!(a.Emphases[i].Span == b.Emphases[i].Span) || a.Emphases[i].Kind != b.Emphases[i].Kind)
            return false;
    }
    for (size_t i = 0; i < a.Headings.size(); ++i) {
        if (!(a.Headings[i].Span == b.Headings[i].Span) ||
            a.Headings[i].Text != b.Headings[i].Text || a.Headings[i].Level != b.Headings[i].Level)
            return false;
    }
    return true;
}

// Text that is no notation: no ruby or note marks, and no "］" that could end a note early.
const char16_t* const Plain[] = {u"あ", u"い", u"の", u"漢", u"字", u"カ", u"ナ", u"A",
                                 u"b",  u"1",  u"、", u"。", u" ",  u"　", u"-",  u"𠮟",
                                 u"々", u"》", u"＃", u"」", u"「", u"※",  u"Ｕ", u"+"};
// A reading is formatted too; it holds no "※" here, which could start a character note.
const char16_t* const Kana[] = {u"か", u"な", u"ん", u"ジ", u"ー", u"a", u"＃", u"」"};
const char16_t* const Kanji[] = {u"漢", u"字", u"々", u"𠮟", u"亜"};
const char16_t* const Katakana[] = {u"カ", u"タ", u"ー", u"ｱ"};

template <size_t N>
QString Run(FuzzedDataProvider& data, const char16_t* const (&alphabet)[N], int most)
{
    QString text;
    const int length = data.ConsumeIntegralInRange(1, most);
    for (int i = 0; i < length; ++i)
        text += QString::fromUtf16(alphabet[data.ConsumeIntegralInRange<size_t>(0, N - 1)]);
    return text;
}

// The source being written, and the formatted text and notes it must give.
class TWriter
{
public:
    explicit TWriter(TRubyStyle style) : Style(style) {}

    QString Source;
    TAozoraText Expected;
    int Paragraphs = 0;
    // The text a note may quote: the base written last in the paragraph.
    QString LastText;

    void StartLine()
    {
        if (Lines > 0)
            Source += u'\n';
        ++Lines;
        LineHadNotes = false;
        PageBroken = false;
        LineEmpty = true;
    }

    void EndLine()
    {
        if (!Out.isEmpty() || PageBroken || !LineHadNotes || LineEmpty)
            EndParagraph();
        else
            StartParagraph();
    }

    // Text, which the base of a ruby or note may be.
    void Text(const QString& source, const QString& shown)
    {
        Write(source);
        LastBase = {int(Out.size()), int(Out.size() + shown.size())};
        LastText = shown;
        Out += shown;
    }

    void Ruby(const QString& source, const QString& base, const QString& reading)
    {
        Text(source, base);
        Expected.Rubies.push_back({Span(LastBase), reading});
        if (Style == TRubyStyle::Parenthesised)
            Out += u'（' + reading + u'）';
    }

    // A character note: what it shows is no base for a later note here.
    void Character(const QString& source, const QString& shown)
    {
        Write(source);
        LineHadNotes = true;
        Out += shown;
        LastText.clear();
    }

    void Note(const QString& source)
    {
        Write(source);
        LineHadNotes = true;
    }

    // "［＃「X」…］" about the text just before.
    bool CanQuote() const { return !LastText.isEmpty(); }
    void Quoted(const QString& source, std::optional<TAozoraEmphasis::TKind> kind, int level)
    {
        Note(source);
        if (kind)
            Expected.Emphases.push_back({Span(LastBase), *kind});
        else
            Expected.Headings.push_back({Span(LastBase), LastText, level});
    }

    void RangeStart(const QString& source)
    {
        Note(source);
        RangeFrom = int(Out.size());
        RangeText.clear();
    }
    void AddToRange(const QString& shown) { RangeText += shown; }
    void RangeEnd(const QString& source, std::optional<TAozoraEmphasis::TKind> kind, int level)
    {
        Note(source);
        const std::pair<int, int> span{RangeFrom, LastBase.second};
        if (kind)
            Expected.Emphases.push_back({Span(span), *kind});
        else
            Expected.Headings.push_back({Span(span), RangeText, level});
    }

    void PageBreak(const QString& source)
    {
        Note(source);
        PageBroken = true;
        if (!Out.isEmpty())
            EndParagraph();
    }

private:
    void Write(const QString& source)
    {
        Source += source;
        LineEmpty = false;
    }

    TAozoraSpan Span(std::pair<int, int> span) const
    {
        return {Paragraphs, span.first, span.second - span.first};
    }

    void StartParagraph()
    {
        Out.clear();
        LastText.clear();
    }

    void EndParagraph()
    {
        if (Paragraphs > 0)
            Expected.Text += u'\n';
        Expected.Text += Out;
        ++Paragraphs;
        StartParagraph();
    }

    TRubyStyle Style;
    int Lines = 0;
    QString Out;
    std::pair<int, int> LastBase;
    int RangeFrom = 0;
    QString RangeText;
    bool LineHadNotes = false;
    bool PageBroken = false;
    bool LineEmpty = true;
};

QString Digits(int n, bool wide)
{
    QString s = QString::number(n);
    if (wide) {
        for (QChar& c : s)
            c = QChar(c.unicode() - u'0' + u'０');
    }
    return s;
}

// Plain text, or a ruby with an explicit or an implicit base; returns what it shows as base.
QString WriteTextOrRuby(FuzzedDataProvider& data, TWriter& w)
{
    switch (data.ConsumeIntegralInRange(0, 2)) {
    case 0: {
        const QString text = Run(data, Plain, 6);
        w.Text(text, text);
        return text;
    }
    case 1: {
        const QString base = Run(data, Plain, 4);
        const QString reading = Run(data, Kana, 5);
        w.Text(u"の"_qs, u"の"_qs);
        w.Ruby(u'｜' + base + u'《' + reading + u'》', base, reading);
        return u"の"_qs + base;
    }
    default: {
        // "の" ends the run of the text before, so the base is the run alone.
        const QString run = data.ConsumeBool() ? Run(data, Kanji, 3) : Run(data, Katakana, 3);
        const QString reading = Run(data, Kana, 5);
        w.Text(u"の"_qs, u"の"_qs);
        w.Ruby(run + u'《' + reading + u'》', run, reading);
        return u"の"_qs + run;
    }
    }
}

void WriteCharacter(FuzzedDataProvider& data, TWriter& w)
{
    QString source = u"※［＃「"_qs + Run(data, Kanji, 2) + u"」、"_qs;
    QString named;
    if (data.ConsumeBool()) {
        const int plane = data.ConsumeIntegralInRange(0, 3);
        const int row = data.ConsumeIntegralInRange(0, 95);
        const int cell = data.ConsumeIntegralInRange(0, 95);
        const bool wide = data.ConsumeBool();
        const QChar dash = wide ? u'－' : u'-';
        source += (plane == 2 ? u"第4水準"_qs : u"第3水準"_qs) + Digits(plane, wide) + dash +
                  Digits(row, wide) + dash + Digits(cell, wide);
        named = JisX0213Character(plane, row, cell);
    } else {
        // Often a low code: control characters and separators live there.
        const auto code =
            data.ConsumeIntegralInRange<uint32_t>(0, data.ConsumeBool() ? 0x3000 : 0x11FFFF);
        const int width = data.ConsumeIntegralInRange(4, 6);
        source += u"U+"_qs + QString::number(code, 16).toUpper().rightJustified(width, u'0');
        // A control character, a line or paragraph separator or a noncharacter is no
        // character to show: it would break the line the note stands in.
        const auto category = QChar::category(char32_t(code));
        if (code <= 0x10FFFF && category != QChar::Other_Surrogate &&
            category != QChar::Other_Control && category != QChar::Separator_Line &&
            category != QChar::Separator_Paragraph && !QChar::isNonCharacter(char32_t(code))) {
            const char32_t c = code;
            named = QString::fromUcs4(&c, 1);
        }
        if (data.ConsumeBool())
            source += u"、123-4"_qs;
    }
    w.Character(source + u'］', named.isEmpty() ? u"※"_qs : named);
}

struct TNoteName
{
    const char16_t* Name;
    std::optional<TAozoraEmphasis::TKind> Kind;
    int Level;
};
const TNoteName NoteNames[] = {
    {u"傍点", TAozoraEmphasis::TKind::Dots, 0},
    {u"白ゴマ傍点", TAozoraEmphasis::TKind::Dots, 0},
    {u"傍線", TAozoraEmphasis::TKind::Line, 0},
    {u"二重傍線", TAozoraEmphasis::TKind::Line, 0},
    {u"大見出し", std::nullopt, 1},
    {u"中見出し", std::nullopt, 2},
    {u"小見出し", std::nullopt, 3},
};

void WriteLine(FuzzedDataProvider& data, TWriter& w)
{
    w.StartLine();
    const int items = data.ConsumeIntegralInRange(0, 6);
    for (int i = 0; i < items; ++i) {
        switch (data.ConsumeIntegralInRange(0, 6)) {
        case 0:
        case 1:
            WriteTextOrRuby(data, w);
            break;
        case 2:
            WriteCharacter(data, w);
            break;
        case 3: {
            const TNoteName& n = NoteNames[data.ConsumeIntegralInRange<size_t>(0, 6)];
            // The target is the text just before: a ruby's base or the plain text.
            if (!w.CanQuote())
                WriteTextOrRuby(data, w);
            const QString name = QString::fromUtf16(n.Name);
            w.Quoted(u"［＃「"_qs + w.LastText + u'」' + (n.Kind ? u'に' : u'は') + name + u'］',
                     n.Kind, n.Level);
            break;
        }
        case 4: {
            const TNoteName& n = NoteNames[data.ConsumeIntegralInRange<size_t>(0, 6)];
            const QString name = QString::fromUtf16(n.Name);
            w.RangeStart(u"［＃"_qs + name + u'］');
            const int inner = data.ConsumeIntegralInRange(1, 3);
            for (int j = 0; j < inner; ++j)
                w.AddToRange(WriteTextOrRuby(data, w));
            w.RangeEnd(u"［＃"_qs + name + u"終わり］"_qs, n.Kind, n.Level);
            break;
        }
        case 5: {
            const char16_t* const breaks[] = {u"改ページ", u"改丁", u"改見開き", u"改段"};
            w.PageBreak(u"［＃"_qs + QString::fromUtf16(breaks[data.ConsumeIntegralInRange(0, 3)]) +
                        u'］');
            break;
        }
        default: {
            const char16_t* const others[] = {u"ここから２字下げ", u"３字下げ", u"地付き",
                                              u"ここで字下げ終わり", u"「本文」は太字"};
            w.Note(u"［＃"_qs + QString::fromUtf16(others[data.ConsumeIntegralInRange(0, 4)]) +
                   u'］');
            break;
        }
        }
    }
    w.EndLine();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    if (size == 0 || size > 4096)
        return 0;
    const auto rest = QByteArrayView(bytes + 1, qsizetype(size) - 1);
    FuzzedDataProvider data(bytes + 1, size - 1);
    switch (bytes[0] % 3) {
    case 0:
        CheckAnyText(QString::fromUtf8(rest));
        return 0;
    case 1:
        CheckAnyText(PieceText(data));
        return 0;
    }
    const TRubyStyle style = Styles[data.ConsumeIntegralInRange<size_t>(0, 2)];
    TWriter w(style);
    const int lines = data.ConsumeIntegralInRange(1, 6);
    for (int i = 0; i < lines; ++i)
        WriteLine(data, w);
    const TAozoraText formatted = FormatAozoraText(w.Source, style);
    if (formatted.Text != w.Expected.Text || !SameNotes(formatted, w.Expected)) {
        std::fprintf(stderr, "source:    %s\nformatted: %s\nexpected:  %s\n", qPrintable(w.Source),
                     qPrintable(formatted.Text), qPrintable(w.Expected.Text));
    }
    // The spans count paragraphs as the lines of the formatted text.
    FUZZ_CHECK(w.Paragraphs == 0 ? formatted.Text.isEmpty()
                                 : formatted.Text.count(u'\n') + 1 == w.Paragraphs);
    FUZZ_CHECK(formatted.Text == w.Expected.Text);
    FUZZ_CHECK(SameNotes(formatted, w.Expected));
    CheckAnyText(w.Source);
    return 0;
}
