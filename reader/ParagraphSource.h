#pragma once

#include <QStringView>

// The text's real lines, as typed and as a file holds them: the paragraphs of the text view,
// never the lines its word wrap makes of them.
class TParagraphSource
{
public:
    virtual ~TParagraphSource() = default;
    virtual int ParagraphCount() const = 0;
    // Valid until the text changes.
    virtual QStringView Paragraph(int i) const = 0;
};
