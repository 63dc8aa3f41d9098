#pragma once

#include <QString>
#include <QStringList>

// Cuts a text at any of a set of delimiter characters. Callers make one object, call Split
// once and read the first Split() pieces.
class TSplitWX
{
public:
    QStringList Pieces;

    // The pieces between the delimiters, empty ones included (a delimiter at either end or two
    // in a row give an empty piece); returns their number, the delimiter count plus one, or 0
    // when the work fails.
    int Split(const QString& text, const QString& delimiters);
};
