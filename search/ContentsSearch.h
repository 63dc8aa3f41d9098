#pragma once

#include "search/SearchTarget.h"

#include <QString>
#include <QStringList>

// The 1-based CP932 byte position at which marker first occurs in line (a full-width character
// counts two), or 0 when it does not occur. Characters are compared as they are, unfolded.
int MarkerBytePosition(const QString& line, const QString& marker);

// Lines where any one of the markers begins within the first width bytes of the untrimmed line
// (0: anywhere), order of no account. With indented on only lines that begin with a half-width
// or full-width space are looked at. A qualifying line of spaces only is passed over.
// searchType picks the progress caption: 1 the paragraph search, else the simple contents one.
TSearchEnd Find_Letter(const QStringList& markers, bool indented, int width, int searchType,
                       const TSearchTarget& target);

// Lines that hold all markers, their first occurrences in the markers' order, the last one
// beginning within the first width bytes (0: anywhere). A qualifying line of spaces only ends
// the whole search there.
TSearchEnd Find_Contents(const QStringList& markers, bool indented, int width,
                         const TSearchTarget& target);
