#pragma once

#include "platform/AozoraNotation.h"
#include "reader/ParagraphSource.h"

#include <QList>
#include <QString>

// What the text view shows of the text read: the text itself, or, for a text in Aozora Bunko
// notation while formatting is on, the formatted text. The text read is kept beside it, since
// the formatted text is only shown: saving writes the text read.
class TAozoraDisplay
{
public:
    // The text to show for a text just read (or taken back from the view).
    const QString& Show(const QString& raw)
    {
        Raw = raw;
        RawLines.Lines = QStringView(Raw).split(u'\n');
        Formatting = Enabled && HasAozoraNotation(raw);
        Formatted = Formatting ? FormatAozoraText(raw, Style) : TAozoraText();
        return Formatting ? Formatted.Text : Raw;
    }
    void Clear() { Show(QString()); }

    // The formatted text is in view; the view must not be edited then.
    bool IsFormatted() const { return Formatting; }
    const QString& RawText() const { return Raw; }
    const TAozoraText& FormattedText() const { return Formatted; }
    // The headings of the formatted text in view; none while the text read is shown.
    std::vector<TAozoraHeading> Headings() const
    {
        return Formatting ? Formatted.Headings : std::vector<TAozoraHeading>();
    }
    // The lines of the text read, which saving writes while the formatted text is in view.
    const TParagraphSource& RawParagraphs() const { return RawLines; }

    // The user's choices, applied at the next Show().
    bool Enabled = true;
    TRubyStyle Style = TRubyStyle::Above;

private:
    struct TLines final : TParagraphSource
    {
        int ParagraphCount() const override { return int(Lines.size()); }
        QStringView Paragraph(int i) const override { return Lines.at(i); }
        QList<QStringView> Lines;
    };

    QString Raw;
    TLines RawLines;
    TAozoraText Formatted;
    bool Formatting = false;
};
