#pragma once

// The owner of the line shown in the reader's first label, for whoever renumbers the lines: a
// new font or wrap width moves the place to another line number, and the owner is told the new
// number so that the reader keeps its passage.
class TKeptLine
{
public:
    virtual ~TKeptLine() = default;
    virtual int KeptLine() const = 0;
    // The same place under its new number; the scroll bar follows at the next rebuild.
    virtual void RenumberKeptLine(int line) = 0;
};
