#pragma once

#include <QString>
#include <QStringList>

// Writes the characters of text into letters, one per entry, leaving out the last one, and
// returns how many it wrote. Callers append a sentinel character so that every character they
// care about comes out. A failure shows "GetEach_Letter Error" and returns 0.
int GetEach_Letter(const QString& text, QStringList& letters);
