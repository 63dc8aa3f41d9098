#pragma once

#include "search/SearchTarget.h"

#include <QString>

// The letter folding of the line-string search: the ASCII capitals A to Z become a to z, as
// whole characters. Nothing else is folded, full-width letters included, so no other character
// can fold into another ("ア" stays apart from "ヂ").
QString FoldSearchLetters(const QString& text);

// Lists every line that contains word, letters folded, as one contents entry per line (the
// line's own text, leading spaces removed). An empty word or an empty text gets its message
// and no entries; a failure shows "Find_Word Error" and keeps the entries so far.
TSearchEnd Find_Word(const QString& word, const TSearchTarget& target);
