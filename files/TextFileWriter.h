#pragma once

#include "reader/ParagraphSource.h"

#include <QString>
#include <optional>

// Writing the text view's text to a file: each real line followed by CR LF.

enum class TTextEncoding
{
    Cp932,      // no byte-order mark
    Utf8WithBom // for a text that CP932 cannot hold
};

// The first character CP932 cannot hold: its line (0-based paragraph) and the character.
struct TNonCp932Character
{
    int Line = 0;
    char32_t Character = 0;
};
std::optional<TNonCp932Character> FindNonCp932(const TParagraphSource& text);

// Writes every paragraph followed by CR LF. The file is replaced as a whole: until the new text
// is complete on disk the old file stays as it was, and a failure leaves it whole. Returns the
// failure's message, or an empty string once written. In CP932 a paragraph that CP932 cannot
// hold is a failure: nothing is dropped or replaced.
QString WriteTextFile(const QString& path, const TParagraphSource& text, TTextEncoding encoding);
