#pragma once

#include <QLabel>
#include <QList>
#include <QRectF>
#include <QString>

// A reader label that draws what the notes of a formatted text say about its line: ruby above
// its base, emphasis dots above characters, emphasis lines under them. The line itself stays
// plain text; the marks take the room the reader keeps above each line for them.
class TReaderLabel : public QLabel
{
    Q_OBJECT

public:
    struct TMark
    {
        enum class TKind
        {
            Ruby,
            Dots,
            Line,
        };
        TKind Kind = TKind::Ruby;
        // The marked characters of the line's text, in UTF-16 units.
        int Start = 0;
        int Length = 0;
        QString Reading; // for ruby
        bool operator==(const TMark&) const = default;
    };

    // Where a mark is drawn: the base it belongs to and the mark's own box, in the label.
    struct TPlacedMark
    {
        TMark Mark;
        QRectF Base;
        QRectF Box;
    };

    explicit TReaderLabel(QWidget* parent = nullptr);

    void SetMarks(const QList<TMark>& marks);
    const QList<TMark>& Marks() const { return LineMarks; }
    QList<TPlacedMark> PlacedMarks() const;

    // The height of the room above a line that its marks need in a font: the height of the ruby
    // font, half the size of the text's.
    static int MarkSpace(const QFont& font);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QList<TMark> LineMarks;
};
