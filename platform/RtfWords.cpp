#include "platform/RtfWords.h"

#include <algorithm>
#include <iterator>

namespace {

// Sorted by name for the binary search in FindRtfWord.
constexpr TRtfWord Words[] = {
    {"af", TRtfWordKind::AssociatedFont},
    {"annotation", TRtfWordKind::SkippedDestination},
    {"ansi", TRtfWordKind::CharacterSet, 0},
    {"ansicpg", TRtfWordKind::AnsiCodePage},
    {"atnid", TRtfWordKind::SkippedDestination},
    {"bin", TRtfWordKind::Binary},
    {"bullet", TRtfWordKind::Char, 0x2022},
    {"cell", TRtfWordKind::Cell},
    {"colorschememapping", TRtfWordKind::SkippedDestination},
    {"colortbl", TRtfWordKind::SkippedDestination},
    {"cpg", TRtfWordKind::FontCodePage},
    {"datastore", TRtfWordKind::SkippedDestination},
    {"dbch", TRtfWordKind::CharacterClass, 2},
    {"deff", TRtfWordKind::DefaultFont},
    {"emdash", TRtfWordKind::Char, 0x2014},
    {"emspace", TRtfWordKind::Char, 0x2003},
    {"endash", TRtfWordKind::Char, 0x2013},
    {"enspace", TRtfWordKind::Char, 0x2002},
    {"f", TRtfWordKind::Font},
    {"fcharset", TRtfWordKind::FontCharset},
    {"filetbl", TRtfWordKind::SkippedDestination},
    {"fldinst", TRtfWordKind::SkippedDestination},
    {"fonttbl", TRtfWordKind::FontTable},
    {"footer", TRtfWordKind::SkippedDestination},
    {"footerf", TRtfWordKind::SkippedDestination},
    {"footerl", TRtfWordKind::SkippedDestination},
    {"footerr", TRtfWordKind::SkippedDestination},
    {"generator", TRtfWordKind::SkippedDestination},
    {"header", TRtfWordKind::SkippedDestination},
    {"headerf", TRtfWordKind::SkippedDestination},
    {"headerl", TRtfWordKind::SkippedDestination},
    {"headerr", TRtfWordKind::SkippedDestination},
    {"hich", TRtfWordKind::CharacterClass, 1},
    {"info", TRtfWordKind::SkippedDestination},
    {"latentstyles", TRtfWordKind::SkippedDestination},
    {"ldblquote", TRtfWordKind::Char, 0x201C},
    {"line", TRtfWordKind::LineEnd},
    {"listoverridetable", TRtfWordKind::SkippedDestination},
    {"listtable", TRtfWordKind::SkippedDestination},
    {"loch", TRtfWordKind::CharacterClass, 0},
    {"lquote", TRtfWordKind::Char, 0x2018},
    {"mac", TRtfWordKind::CharacterSet, 10000},
    {"nonshppict", TRtfWordKind::SkippedDestination},
    {"object", TRtfWordKind::SkippedDestination},
    {"page", TRtfWordKind::LineEnd},
    {"par", TRtfWordKind::LineEnd},
    {"pc", TRtfWordKind::CharacterSet, 437},
    {"pca", TRtfWordKind::CharacterSet, 850},
    {"pict", TRtfWordKind::SkippedDestination},
    {"plain", TRtfWordKind::Plain},
    {"pn", TRtfWordKind::SkippedDestination},
    {"rdblquote", TRtfWordKind::Char, 0x201D},
    {"revtbl", TRtfWordKind::SkippedDestination},
    {"row", TRtfWordKind::Row},
    {"rquote", TRtfWordKind::Char, 0x2019},
    {"rsidtbl", TRtfWordKind::SkippedDestination},
    {"sect", TRtfWordKind::LineEnd},
    {"stshfdbch", TRtfWordKind::DefaultDoubleByteFont},
    {"stylesheet", TRtfWordKind::SkippedDestination},
    {"tab", TRtfWordKind::Tab},
    {"themedata", TRtfWordKind::SkippedDestination},
    {"u", TRtfWordKind::Unicode},
    {"uc", TRtfWordKind::UnicodeSkip},
    {"xmlnstbl", TRtfWordKind::SkippedDestination},
};

static_assert(std::is_sorted(std::begin(Words), std::end(Words),
                             [](const TRtfWord& a, const TRtfWord& b) { return a.Name < b.Name; }));

} // namespace

const TRtfWord* FindRtfWord(std::string_view name)
{
    const auto* it = std::lower_bound(
        std::begin(Words), std::end(Words), name,
        [](const TRtfWord& entry, std::string_view key) { return entry.Name < key; });
    return (it != std::end(Words) && it->Name == name) ? it : nullptr;
}
