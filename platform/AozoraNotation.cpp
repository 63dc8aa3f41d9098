#include "platform/AozoraNotation.h"

#include "platform/TextEncoding.h"

#include <QList>
#include <optional>

namespace {

constexpr char16_t RubyOpen = u'《';
constexpr char16_t RubyClose = u'》';
constexpr char16_t BaseMark = u'｜';
constexpr char16_t BracketOpen = u'［';
constexpr char16_t BracketClose = u'］';
constexpr char16_t NoteMark = u'＃';
constexpr char16_t GaijiMark = u'※';

// The scripts an implicit ruby base is a run of.
enum class TScript
{
    None,
    Kanji,
    Hiragana,
    Katakana,
    Latin,
};

TScript ScriptOf(char32_t c)
{
    if ((c >= 0x4E00 && c <= 0x9FFF) || (c >= 0x3400 && c <= 0x4DBF) ||
        (c >= 0xF900 && c <= 0xFAFF) || (c >= 0x20000 && c <= 0x3FFFF) || c == u'々' ||
        c == u'〆' || c == u'〇' || c == u'ヶ' || c == GaijiMark)
        return TScript::Kanji;
    if ((c >= 0x3041 && c <= 0x309F))
        return TScript::Hiragana;
    if ((c >= 0x30A1 && c <= 0x30FF && c != u'・') || (c >= 0xFF66 && c <= 0xFF9F))
        return TScript::Katakana;
    if ((c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') ||
        (c >= 0xFF10 && c <= 0xFF19) || (c >= 0xFF21 && c <= 0xFF3A) ||
        (c >= 0xFF41 && c <= 0xFF5A))
        return TScript::Latin;
    return TScript::None;
}

// The code point that ends just before position end of s, and its length in UTF-16 units.
std::pair<char32_t, int> CodePointBefore(QStringView s, qsizetype end)
{
    const char16_t low = s[end - 1].unicode();
    if (QChar::isLowSurrogate(low) && end >= 2 && QChar::isHighSurrogate(s[end - 2].unicode()))
        return {QChar::surrogateToUcs4(s[end - 2].unicode(), low), 2};
    return {low, 1};
}

bool NeedsParsing(QStringView line)
{
    for (const QChar ch : line) {
        const char16_t c = ch.unicode();
        if (c == RubyOpen || c == BaseMark || c == BracketOpen || c == GaijiMark)
            return true;
    }
    return false;
}

// A number of ASCII or full-width digits at pos; pos is moved past them.
std::optional<int> ReadNumber(QStringView s, qsizetype& pos)
{
    int value = 0;
    const qsizetype start = pos;
    while (pos < s.size() && s[pos].isDigit() && pos - start < 4) {
        value = value * 10 + s[pos].digitValue();
        ++pos;
    }
    return pos > start ? std::optional(value) : std::nullopt;
}

// Whether a code names a character to show. A control character, a line or paragraph separator
// or a noncharacter would end the line it stands in, or be no character at all: the lines of the
// formatted text must stay the paragraphs that rubies, emphasis and headings count.
bool IsShownCharacter(uint code)
{
    if (code > 0x10FFFF || QChar::isNonCharacter(code))
        return false;
    switch (QChar::category(char32_t(code))) {
    case QChar::Other_Surrogate:
    case QChar::Other_Control:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return false;
    default:
        return true;
    }
}

// The character a note names: "第3水準1-85-25", "第4水準2-12-34" (JIS X 0213 plane-row-cell)
// or "U+5F45". Empty when it names none, or none that exists.
QString NamedCharacter(QStringView note)
{
    const qsizetype level = note.indexOf(u"水準");
    if (level >= 0) {
        qsizetype pos = level + 2;
        const auto plane = ReadNumber(note, pos);
        if (plane && pos < note.size() && (note[pos] == u'-' || note[pos] == u'－')) {
            ++pos;
            const auto row = ReadNumber(note, pos);
            if (row && pos < note.size() && (note[pos] == u'-' || note[pos] == u'－')) {
                ++pos;
                if (const auto cell = ReadNumber(note, pos))
                    return JisX0213Character(*plane, *row, *cell);
            }
        }
    }
    const qsizetype unicode = note.indexOf(u"U+", 0, Qt::CaseInsensitive);
    if (unicode >= 0) {
        qsizetype end = unicode + 2;
        auto hex = [](QChar c) {
            return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
        };
        while (end < note.size() && end - unicode - 2 < 6 && hex(note[end]))
            ++end;
        bool ok = false;
        const uint code = note.sliced(unicode + 2, end - unicode - 2).toUInt(&ok, 16);
        if (ok && end - unicode - 2 >= 4 && IsShownCharacter(code)) {
            const char32_t c = code;
            return QString::fromUcs4(&c, 1);
        }
    }
    return {};
}

// The quoted target of a note such as "「第一章」は大見出し": the text between the first "「"
// and the last "」", and what follows it.
struct TQuoted
{
    QStringView Target;
    QStringView Rest;
};

std::optional<TQuoted> Quoted(QStringView note)
{
    if (!note.startsWith(u'「'))
        return std::nullopt;
    const qsizetype close = note.lastIndexOf(u'」');
    if (close < 1)
        return std::nullopt;
    return TQuoted{note.sliced(1, close - 1), note.sliced(close + 1)};
}

int HeadingLevel(QStringView name)
{
    if (name == u"大見出し")
        return 1;
    if (name == u"中見出し")
        return 2;
    if (name == u"小見出し")
        return 3;
    return 0;
}

std::optional<TAozoraEmphasis::TKind> EmphasisKind(QStringView name)
{
    if (name.endsWith(u"傍点"))
        return TAozoraEmphasis::TKind::Dots;
    if (name.endsWith(u"傍線"))
        return TAozoraEmphasis::TKind::Line;
    return std::nullopt;
}

bool IsPageBreak(QStringView note)
{
    return note == u"改ページ" || note == u"改丁" || note == u"改見開き" || note == u"改段";
}

class TFormatter
{
public:
    TFormatter(TRubyStyle style, TAozoraText& result) : Style(style), Result(result) {}

    void Line(QStringView line)
    {
        StartParagraph();
        LineHadNotes = false;
        PageBreak = false;
        if (!NeedsParsing(line)) {
            Out.append(line);
        } else {
            MatchBrackets(line);
            Parse(line);
        }
        // A line of notes alone (indentation, a heading's style) leaves no empty line behind;
        // a page break does.
        if (!Out.isEmpty() || PageBreak || !LineHadNotes || line.isEmpty())
            EndParagraph();
    }

private:
    void StartParagraph()
    {
        Out.clear();
        Base.clear();
        BaseOut.clear();
        RubyMark = -1;
        RubyFloor = 0;
        HeadingStart = -1;
        EmphasisStart = -1;
    }

    void EndParagraph()
    {
        if (Paragraphs > 0)
            Result.Text.append(u'\n');
        Result.Text.append(Out);
        ++Paragraphs;
        StartParagraph();
    }

    void AppendBase(QStringView s)
    {
        for (qsizetype i = 0; i < s.size(); ++i)
            BaseOut.push_back(int(Out.size() + i));
        Base.append(s);
        Out.append(s);
    }

    TAozoraSpan SpanOfBase(qsizetype start, qsizetype end) const
    {
        if (start >= end)
            return {Paragraphs, int(Out.size()), 0};
        const int from = BaseOut[size_t(start)];
        const int to = BaseOut[size_t(end - 1)] + 1;
        return {Paragraphs, from, to - from};
    }

    // For every "［" of the line, the index of the "］" that closes it (nested pairs counted),
    // found in one pass so that unbalanced brackets cost no second scan.
    void MatchBrackets(QStringView line)
    {
        Closing.assign(size_t(line.size()), -1);
        Opens.clear();
        for (qsizetype i = 0; i < line.size(); ++i) {
            if (line[i] == BracketOpen) {
                Opens.push_back(int(i));
            } else if (line[i] == BracketClose && !Opens.empty()) {
                Closing[size_t(Opens.back())] = int(i);
                Opens.pop_back();
            }
        }
        LastRubyClose = line.lastIndexOf(RubyClose);
    }

    void Parse(QStringView line)
    {
        qsizetype i = 0;
        while (i < line.size()) {
            const char16_t c = line[i].unicode();
            if (c == BracketOpen && i + 1 < line.size() && line[i + 1] == NoteMark &&
                Closing[size_t(i)] > 0) {
                const qsizetype close = Closing[size_t(i)];
                Note(line.sliced(i + 2, close - i - 2));
                i = close + 1;
            } else if (c == RubyOpen && i < LastRubyClose) {
                const qsizetype close = line.indexOf(RubyClose, i + 1);
                Ruby(line.sliced(i + 1, close - i - 1));
                i = close + 1;
            } else if (c == BaseMark && i + 1 < line.size() && i < LastRubyClose) {
                RubyMark = int(Base.size());
                ++i;
            } else {
                AppendBase(line.sliced(i, 1));
                ++i;
            }
        }
    }

    // Where an implicit base starts: back over the run of one script before the end.
    qsizetype ImplicitBaseStart() const
    {
        qsizetype start = Base.size();
        if (start <= RubyFloor)
            return start;
        const TScript script = ScriptOf(CodePointBefore(Base, start).first);
        if (script == TScript::None)
            return start;
        while (start > RubyFloor) {
            const auto [c, length] = CodePointBefore(Base, start);
            if (ScriptOf(c) != script || start - length < RubyFloor)
                break;
            start -= length;
        }
        return start;
    }

    void Ruby(QStringView marked)
    {
        // The reading may hold notes of its own (a character outside JIS X 0208).
        TAozoraText inner;
        TFormatter reading(TRubyStyle::Hidden, inner);
        reading.Line(marked);
        // A page break written inside a reading would split the base's paragraph (in brackets)
        // and move every later span; a reading is one run of text.
        inner.Text.remove(u'\n');
        const qsizetype start = RubyMark >= 0 ? RubyMark : ImplicitBaseStart();
        RubyMark = -1;
        const TAozoraSpan base = SpanOfBase(start, Base.size());
        RubyFloor = int(Base.size());
        if (!inner.Text.isEmpty() && base.Length > 0)
            Result.Rubies.push_back({base, inner.Text});
        if (Style == TRubyStyle::Parenthesised && !inner.Text.isEmpty())
            Out.append(u'（' + inner.Text + u'）');
    }

    void Note(QStringView note)
    {
        LineHadNotes = true;
        if (Base.endsWith(GaijiMark) && !Out.isEmpty() && Out.back() == GaijiMark) {
            const QString named = NamedCharacter(note);
            if (!named.isEmpty()) {
                Base.chop(1);
                Out.chop(1);
                BaseOut.pop_back();
                AppendBase(named);
                return;
            }
        }
        if (IsPageBreak(note)) {
            PageBreak = true;
            if (!Out.isEmpty())
                EndParagraph();
            return;
        }
        if (const auto quoted = Quoted(note)) {
            QuotedNote(*quoted);
            return;
        }
        RangeNote(note);
    }

    // "「X」は中見出し", "「X」に傍点": X is the text just before the note.
    void QuotedNote(const TQuoted& quoted)
    {
        const QStringView rest = quoted.Rest;
        qsizetype at = Base.lastIndexOf(quoted.Target);
        if (at < 0 || quoted.Target.isEmpty())
            return;
        const TAozoraSpan span = SpanOfBase(at, at + quoted.Target.size());
        if (rest.startsWith(u'は')) {
            if (const int level = HeadingLevel(rest.sliced(1)))
                Result.Headings.push_back({span, quoted.Target.toString(), level});
        } else if (rest.startsWith(u'に')) {
            if (const auto kind = EmphasisKind(rest.sliced(1)))
                Result.Emphases.push_back({span, *kind});
        }
    }

    // "［＃中見出し］X［＃中見出し終わり］", "［＃傍点］X［＃傍点終わり］".
    void RangeNote(QStringView note)
    {
        const bool ends = note.endsWith(u"終わり");
        const QStringView name = ends ? note.chopped(3) : note;
        if (const int level = HeadingLevel(name)) {
            if (!ends) {
                HeadingStart = int(Base.size());
                Level = level;
            } else if (HeadingStart >= 0 && HeadingStart < Base.size()) {
                Result.Headings.push_back(
                    {SpanOfBase(HeadingStart, Base.size()), Base.sliced(HeadingStart), Level});
                HeadingStart = -1;
            }
        } else if (const auto kind = EmphasisKind(name)) {
            if (!ends) {
                EmphasisStart = int(Base.size());
            } else if (EmphasisStart >= 0 && EmphasisStart < Base.size()) {
                Result.Emphases.push_back({SpanOfBase(EmphasisStart, Base.size()), *kind});
                EmphasisStart = -1;
            }
        }
    }

    TRubyStyle Style;
    TAozoraText& Result;
    int Paragraphs = 0;
    QString Out;
    // The paragraph's text without readings, and where each of its units stands in Out.
    QString Base;
    std::vector<int> BaseOut;
    int RubyMark = -1;
    // An implicit base never reaches back into the base of the ruby before it.
    int RubyFloor = 0;
    int HeadingStart = -1;
    int Level = 1;
    int EmphasisStart = -1;
    bool LineHadNotes = false;
    bool PageBreak = false;
    std::vector<int> Closing;
    std::vector<int> Opens;
    qsizetype LastRubyClose = -1;
};

bool IsRule(QStringView line)
{
    return line.size() >= 10 && line.count(u'-') == line.size();
}

// The legend near the top that explains the marks, between two rules of hyphens: once the marks
// are gone it explains nothing. Its first and last line, or nothing.
std::pair<int, int> LegendLines(const QList<QStringView>& lines)
{
    constexpr int Near = 40;
    int first = -1;
    for (int i = 0; i < lines.size() && i < Near; ++i) {
        if (!IsRule(lines[i]))
            continue;
        if (first < 0) {
            first = i;
        } else {
            for (int j = first + 1; j < i; ++j) {
                if (lines[j].contains(u"テキスト中に現れる記号について"))
                    return {first, i};
            }
            return {-1, -1};
        }
    }
    return {-1, -1};
}

} // namespace

bool HasAozoraNotation(QStringView text)
{
    // The colophon opens a line. Its first character is looked for alone, which the string
    // search does many units at a time; a whole novel without it is read at memory speed.
    constexpr QStringView Colophon = u"底本：";
    for (qsizetype at = text.indexOf(Colophon.front()); at >= 0;
         at = text.indexOf(Colophon.front(), at + 1)) {
        if ((at == 0 || text[at - 1] == u'\n') && text.sliced(at).startsWith(Colophon))
            return true;
    }
    return text.contains(RubyOpen) && text.contains(u"［＃");
}

TAozoraText FormatAozoraText(QStringView text, TRubyStyle style)
{
    TAozoraText result;
    result.Text.reserve(text.size());
    TFormatter formatter(style, result);
    const QList<QStringView> lines = text.split(u'\n');
    const auto [legendFirst, legendLast] = LegendLines(lines);
    for (int i = 0; i < lines.size(); ++i) {
        if (i < legendFirst || i > legendLast)
            formatter.Line(lines[i]);
    }
    return result;
}
