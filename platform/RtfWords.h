#pragma once

#include <cstdint>
#include <string_view>

// The RTF control words the reader acts on; every other word is read and ignored.

enum class TRtfWordKind : std::uint8_t
{
    LineEnd,
    Tab,
    Cell,
    Row,
    Char,
    Unicode,
    UnicodeSkip,
    AnsiCodePage,
    CharacterSet,
    DefaultFont,
    DefaultDoubleByteFont,
    CharacterClass,
    AssociatedFont,
    Font,
    FontCharset,
    FontCodePage,
    FontTable,
    Plain,
    Binary,
    SkippedDestination,
};

struct TRtfWord
{
    std::string_view Name;
    TRtfWordKind Kind;
    // The character of Char, the code page of CharacterSet, the class of CharacterClass.
    int Value = 0;
};

// The entry of a control word, nullptr for one the reader ignores.
const TRtfWord* FindRtfWord(std::string_view name);
