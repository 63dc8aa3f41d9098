#include "platform/RtfReader.h"

#include "platform/CodePages.h"
#include "platform/RtfWords.h"
#include "platform/TextDecoding.h"

#include <QByteArray>
#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace {

bool IsLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The bytes that stand for themselves in a plain run of text.
bool IsPlainByte(char c)
{
    return c != '{' && c != '}' && c != '\\' && c != '\r' && c != '\n' && c != '\0';
}

enum class TDestination : std::uint8_t
{
    Text,
    Skip,
    FontTable
};

// The character classes a word processor marks its runs with (\loch, \hich, \dbch).
enum class TCharacterClass : std::uint8_t
{
    LowAnsi,
    HighAnsi,
    DoubleByte
};

struct TGroupState
{
    TDestination Destination = TDestination::Text;
    TCharacterClass Class = TCharacterClass::LowAnsi;
    int Font = -1;           // -1: the document's default font
    int DoubleByteFont = -1; // \dbch\afN: the font of double-byte runs, -1 when none is named
    int UnicodeSkip = 1;
    int DefiningFont = -1; // in the font table: the entry being read
};

struct TFontInfo
{
    int Charset = 1;
    int CodePage = 0; // an explicit \cpg, which wins over the character set
};

// Groups nested deeper than this share the state of the deepest one kept; only their count is
// tracked, so a hostile file cannot make the stack grow without bound.
constexpr std::size_t MaxStackDepth = 1024;

class TRtfParser
{
public:
    explicit TRtfParser(QByteArrayView bytes) : Pos(bytes.data()), End(bytes.data() + bytes.size())
    {
        Stack.emplace_back();
    }

    QString Run();

private:
    TGroupState& State() { return Stack.back(); }
    TDestination Destination() const;
    void SetDestination(TDestination destination);
    // A group within the document group: only there can a destination begin, so a stray
    // destination word at the top level never hides the whole text.
    bool InsideDocument() const { return Stack.size() > 2 || ExcessDepth > 0; }

    void OpenGroup();
    bool CloseGroup();
    void ReadControl();
    void ReadControlWord();
    void ReadControlSymbol(char symbol);
    void ReadPlainRun();
    void ControlWord(const TRtfWord& word, bool hasParam, int param);
    void FontTableWord(const TRtfWord& word, bool hasParam, int param);
    void SkipBinary(int count);
    bool ConsumeFallback();

    int CodePage();
    void AppendBytes(const char* data, qsizetype size);
    void AppendChar(char32_t c);
    void Flush();
    void EndRow();

    const char* Pos;
    const char* const End;
    std::vector<TGroupState> Stack;
    qsizetype ExcessDepth = 0;
    // The excess depth at which a skipped destination began, 0 when none did: a group too deep
    // for the stack can still hide its text and give it back when it closes.
    qsizetype ExcessSkipDepth = 0;
    int FallbackLeft = 0; // characters of a \u fallback still to skip

    int DocumentCodePage = 932;
    int DefaultFont = -1;
    int DefaultDoubleByteFont = -1;
    std::unordered_map<int, TFontInfo> Fonts;
    int CachedFont = INT_MIN;
    int CachedCodePage = 0;

    QByteArray Pending;
    int PendingCodePage = 0;
    QString Out;
    TCodePageDecoder Decoder;
};

QString TRtfParser::Run()
{
    while (Pos < End) {
        const char c = *Pos;
        switch (c) {
        case '{':
            ++Pos;
            FallbackLeft = 0;
            OpenGroup();
            break;
        case '}':
            ++Pos;
            FallbackLeft = 0;
            if (!CloseGroup())
                Pos = End;
            break;
        case '\\':
            ++Pos;
            ReadControl();
            break;
        case '\r':
        case '\n':
        case '\0':
            ++Pos;
            break;
        default:
            ReadPlainRun();
        }
    }
    Flush();
    // A \'0d byte decodes to CR; every line end of the result is '\n'.
    NormalizeLineEnds(Out);
    ReplaceLoneSurrogates(Out);
    DropFinalLineEnd(Out);
    return Out;
}

void TRtfParser::OpenGroup()
{
    if (Stack.size() >= MaxStackDepth)
        ++ExcessDepth;
    else
        Stack.push_back(Stack.back());
}

// False when the group that closes is the document itself.
bool TRtfParser::CloseGroup()
{
    if (ExcessDepth > 0) {
        if (ExcessDepth == ExcessSkipDepth)
            ExcessSkipDepth = 0;
        --ExcessDepth;
        return true;
    }
    if (Stack.size() <= 1)
        return true; // a '}' outside every group
    Stack.pop_back();
    return Stack.size() > 1;
}

TDestination TRtfParser::Destination() const
{
    if (ExcessSkipDepth > 0)
        return TDestination::Skip;
    return Stack.back().Destination;
}

// Groups beyond the kept depth share the deepest state, so only a skip is recorded for them;
// their font and \uc changes reach the shared state, which no real document relies on.
void TRtfParser::SetDestination(TDestination destination)
{
    if (ExcessDepth == 0)
        Stack.back().Destination = destination;
    else if (destination == TDestination::Skip && ExcessSkipDepth == 0)
        ExcessSkipDepth = ExcessDepth;
}

void TRtfParser::ReadControl()
{
    if (Pos == End)
        return;
    if (IsLetter(*Pos))
        ReadControlWord();
    else
        ReadControlSymbol(*Pos++);
}

void TRtfParser::ReadControlWord()
{
    const char* nameStart = Pos;
    while (Pos < End && IsLetter(*Pos))
        ++Pos;
    const std::string_view name(nameStart, static_cast<std::size_t>(Pos - nameStart));

    bool negative = false;
    if (Pos + 1 < End && *Pos == '-' && IsDigit(Pos[1])) {
        negative = true;
        ++Pos;
    }
    const bool hasParam = Pos < End && IsDigit(*Pos);
    // Parameters have at most ten digits; longer ones are clamped, never overflowed.
    std::int64_t value = 0;
    while (Pos < End && IsDigit(*Pos)) {
        if (value <= INT_MAX)
            value = value * 10 + (*Pos - '0');
        ++Pos;
    }
    if (negative)
        value = -value;
    const int param = static_cast<int>(std::clamp<std::int64_t>(value, INT_MIN, INT_MAX));
    if (Pos < End && *Pos == ' ')
        ++Pos;

    const TRtfWord* word = FindRtfWord(name);
    if (word && word->Kind == TRtfWordKind::Binary) {
        ConsumeFallback();
        SkipBinary(hasParam ? param : 0);
        return;
    }
    if (ConsumeFallback() || !word)
        return;
    switch (Destination()) {
    case TDestination::Text:
        ControlWord(*word, hasParam, param);
        break;
    case TDestination::FontTable:
        FontTableWord(*word, hasParam, param);
        break;
    case TDestination::Skip:
        break;
    }
}

void TRtfParser::ControlWord(const TRtfWord& word, bool hasParam, int param)
{
    TGroupState& state = State();
    switch (word.Kind) {
    case TRtfWordKind::LineEnd:
        Flush();
        Out.append(u'\n');
        break;
    case TRtfWordKind::Tab:
    case TRtfWordKind::Cell:
        Flush();
        Out.append(u'\t');
        break;
    case TRtfWordKind::Row:
        EndRow();
        break;
    case TRtfWordKind::Char:
        AppendChar(static_cast<char32_t>(word.Value));
        break;
    case TRtfWordKind::Unicode:
        if (hasParam) {
            // Values above 32767 are written as negative 16-bit numbers.
            AppendChar(param < 0 && param >= -32768 ? static_cast<char32_t>(param + 65536)
                       : param < 0                  ? 0xFFFD
                                                    : static_cast<char32_t>(param));
            FallbackLeft = state.UnicodeSkip;
        }
        break;
    case TRtfWordKind::UnicodeSkip:
        if (hasParam)
            state.UnicodeSkip = std::max(param, 0);
        break;
    case TRtfWordKind::AnsiCodePage:
        if (hasParam && param > 0) {
            DocumentCodePage = param;
            CachedFont = INT_MIN;
        }
        break;
    case TRtfWordKind::CharacterSet:
        // \ansi alone leaves the document in the system's code page.
        if (word.Value != 0) {
            DocumentCodePage = word.Value;
            CachedFont = INT_MIN;
        }
        break;
    case TRtfWordKind::DefaultFont:
        if (hasParam) {
            DefaultFont = param;
            CachedFont = INT_MIN;
        }
        break;
    case TRtfWordKind::DefaultDoubleByteFont:
        if (hasParam)
            DefaultDoubleByteFont = param;
        break;
    case TRtfWordKind::Font:
        if (hasParam)
            state.Font = param;
        break;
    case TRtfWordKind::CharacterClass:
        state.Class = static_cast<TCharacterClass>(word.Value);
        break;
    case TRtfWordKind::AssociatedFont:
        // "\dbch\af13" names the font of the double-byte runs; the other classes use \f.
        if (hasParam && state.Class == TCharacterClass::DoubleByte)
            state.DoubleByteFont = param;
        break;
    case TRtfWordKind::Plain:
        state.Font = -1;
        state.DoubleByteFont = -1;
        state.Class = TCharacterClass::LowAnsi;
        break;
    case TRtfWordKind::FontTable:
        if (InsideDocument())
            SetDestination(TDestination::FontTable);
        break;
    case TRtfWordKind::SkippedDestination:
        if (InsideDocument())
            SetDestination(TDestination::Skip);
        break;
    default:
        break;
    }
}

void TRtfParser::FontTableWord(const TRtfWord& word, bool hasParam, int param)
{
    TGroupState& state = State();
    switch (word.Kind) {
    case TRtfWordKind::Font:
        if (hasParam)
            state.DefiningFont = param;
        break;
    case TRtfWordKind::FontCharset:
        if (hasParam && state.DefiningFont >= 0)
            Fonts[state.DefiningFont].Charset = param;
        CachedFont = INT_MIN;
        break;
    case TRtfWordKind::FontCodePage:
        if (hasParam && state.DefiningFont >= 0)
            Fonts[state.DefiningFont].CodePage = std::max(param, 0);
        CachedFont = INT_MIN;
        break;
    case TRtfWordKind::SkippedDestination:
        SetDestination(TDestination::Skip);
        break;
    default:
        break;
    }
}

void TRtfParser::ReadControlSymbol(char symbol)
{
    if (symbol == '\'') {
        // Two hex digits; a cut-off \'h gives nothing, and neither does a NUL byte.
        int value = 0;
        int digits = 0;
        while (digits < 2 && Pos < End && HexValue(*Pos) >= 0) {
            value = value * 16 + HexValue(*Pos++);
            ++digits;
        }
        if (ConsumeFallback() || digits < 2 || value == 0 || Destination() != TDestination::Text)
            return;
        const char byte = static_cast<char>(value);
        AppendBytes(&byte, 1);
        return;
    }
    if (symbol == '\r' || symbol == '\n') {
        // A backslash before a line end in the source is a paragraph mark.
        const TRtfWord paragraph{"par", TRtfWordKind::LineEnd};
        if (!ConsumeFallback() && Destination() == TDestination::Text)
            ControlWord(paragraph, false, 0);
        return;
    }
    if (symbol == '*') {
        // An optional destination: one we do not read is skipped whole.
        if (InsideDocument())
            SetDestination(TDestination::Skip);
        return;
    }
    if (ConsumeFallback() || Destination() != TDestination::Text)
        return;
    switch (symbol) {
    case '\\':
    case '{':
    case '}':
        AppendBytes(&symbol, 1);
        break;
    case '~':
        AppendChar(0x00A0);
        break;
    case '_':
        AppendChar(0x2011);
        break;
    default:
        // \- (optional hyphen), \: (index entry) and unknown symbols give no text.
        break;
    }
}

void TRtfParser::ReadPlainRun()
{
    const char* start = Pos;
    while (Pos < End && IsPlainByte(*Pos))
        ++Pos;
    if (Destination() != TDestination::Text)
        return;
    // A \u fallback may end inside the run; each byte is one character of it.
    const qsizetype skipped = std::min<qsizetype>(FallbackLeft, Pos - start);
    FallbackLeft -= static_cast<int>(skipped);
    AppendBytes(start + skipped, (Pos - start) - skipped);
}

void TRtfParser::SkipBinary(int count)
{
    if (count > 0)
        Pos += std::min<std::ptrdiff_t>(count, End - Pos);
}

// True when the element just read is a fallback character of the last \u and so is dropped.
bool TRtfParser::ConsumeFallback()
{
    if (FallbackLeft <= 0)
        return false;
    --FallbackLeft;
    return true;
}

int TRtfParser::CodePage()
{
    // A double-byte run (a Japanese word processor writes "\dbch\af13" before kanji in a
    // document whose \f is a Latin font) takes the code page of its associated font.
    const TGroupState& state = State();
    int font = state.Font >= 0 ? state.Font : DefaultFont;
    if (state.Class == TCharacterClass::DoubleByte) {
        if (state.DoubleByteFont >= 0)
            font = state.DoubleByteFont;
        else if (DefaultDoubleByteFont >= 0)
            font = DefaultDoubleByteFont;
    }
    if (font != CachedFont) {
        CachedFont = font;
        CachedCodePage = DocumentCodePage;
        if (const auto it = Fonts.find(font); it != Fonts.end()) {
            CachedCodePage = it->second.CodePage > 0
                                 ? it->second.CodePage
                                 : CodePageOfCharset(it->second.Charset, DocumentCodePage);
        }
    }
    return CachedCodePage;
}

void TRtfParser::AppendBytes(const char* data, qsizetype size)
{
    if (size <= 0)
        return;
    const int codePage = CodePage();
    if (!Pending.isEmpty() && codePage != PendingCodePage)
        Flush();
    PendingCodePage = codePage;
    Pending.append(data, size);
}

void TRtfParser::AppendChar(char32_t c)
{
    Flush();
    if (c == 0)
        return;
    if (c > 0x10FFFF)
        c = 0xFFFD;
    if (c > 0xFFFF) {
        const char16_t pair[2] = {QChar::highSurrogate(c), QChar::lowSurrogate(c)};
        Out.append(reinterpret_cast<const QChar*>(pair), 2);
    } else {
        Out.append(QChar(static_cast<char16_t>(c)));
    }
}

void TRtfParser::Flush()
{
    if (Pending.isEmpty())
        return;
    Decoder.Decode(PendingCodePage, Pending, Out);
    Pending.truncate(0);
}

void TRtfParser::EndRow()
{
    Flush();
    // Every cell, the last included, ends with \cell: the row has no tab after its last cell.
    if (Out.endsWith(u'\t'))
        Out.chop(1);
    Out.append(u'\n');
}

} // namespace

bool IsRtf(QByteArrayView bytes)
{
    return bytes.startsWith("{\\rtf");
}

QString RtfToPlainText(QByteArrayView bytes)
{
    return TRtfParser(bytes).Run();
}
