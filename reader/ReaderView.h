#pragma once

#include "reader/DisplayLineModel.h"
#include "reader/ParagraphSource.h"
#include "reader/PreparedLines.h"
#include "reader/ReadingPlaces.h"
#include "reader/TextEditing.h"
#include "search/LineSource.h"

#include <QColor>
#include <QFont>
#include <QList>
#include <memory>
#include <optional>

class QFrame;
class QLabel;
class QObject;
class TMainRichEdit;
class QScrollBar;
class TFontAdvances;
class TKeptLine;
struct TAozoraText;

// The reader panel's labels and the display lines of the text view they show. The lines are
// kept by the display-line model: an edit re-lays the paragraphs it touched; a new text, a new
// font or a new width lays everything out once, at the next Lines() after the change.
class TReaderView : public TLineSource, public TParagraphSource, public TEditedText
{
public:
    // The labels' mouse events go to mouseFilter, like the panel's own.
    TReaderView(TMainRichEdit* edit, QFrame* panel, QScrollBar* scrollBar, QObject* mouseFilter);
    ~TReaderView() override;

    // The text view's lines as displayed; none for an empty text.
    int count() const override;
    QString line(int i) const override;
    QStringView lineView(int i) const override;
    TParagraphSpan paragraphSpan(int i) const override;
    TParagraphSpan nextParagraphWith(const TWordMatcher& word, int first, int end) const override;

    // The text's real lines, which the model keeps beside the display lines; none for an
    // empty text.
    int ParagraphCount() const override;
    QStringView Paragraph(int i) const override;
    // The characters of the text, line ends not counted.
    qsizetype CharacterCount() const;

    // The text view's text: it shows and edits the lines kept here.
    const TDisplayLineModel& Lines() const override;
    const TDisplayLineModel& ShownLines() const override;
    void ReplaceParagraphs(int first, int removedCount, const QStringList& paragraphs) override;
    int LayoutGeneration() const override { return Layouts; }

    int LabelCount() const { return int(Labels.size()); }
    const QList<QLabel*>& ReaderLabels() const { return Labels; }
    // Label i shows display line `line` (or no line of the text, for -1 and the end mark).
    void SetLabelText(int i, const QString& text, int line = -1);
    // The notes of the formatted text in view, or none: the labels draw its emphasis, and its
    // ruby when rubyAbove. The text must outlive the view or the next call.
    void SetAnnotations(const TAozoraText* text, bool rubyAbove);
    int LabelSpacing() const { return Spacing; }
    void SetLabelSpacing(int spacing) { Spacing = qMax(0, spacing); }
    // Room kept free at the panel's foot (the status strip), which no label takes.
    void SetReservedHeight(int height) { Reserved = qMax(0, height); }
    // The labels show the text view's font in this colour.
    void SetFontColor(const QColor& color) { FontColor = color; }

    // Creates the zero label, which lives as long as the panel.
    void CreateZeroLabel();
    // Frees the other labels and makes as many as fit the panel's height.
    void CreateReaderLabels();
    // The scroll bar's range follows the line count: 0 to n - 1.
    void UpdateScrollRange();
    // Makes the model follow the text view's text, font and wrap width.
    void UpdateLines() const
    {
        if (!LayoutChecked || TextStale || !Model)
            RefreshLines();
    }
    // The line whose place a new font or width keeps: after such a relayout the owner is told
    // the line that holds the character its line held before (the same paragraph and offset), so
    // the reader keeps its passage, whoever asks for the lines first. A new text or a line past
    // the text leaves it alone.
    void KeepPlaceFor(TKeptLine& owner) { Kept = &owner; }
    // The paragraph and offset where line starts; none for a line outside the text.
    std::optional<TTextPlace> PlaceOfLine(int line) const;
    // The line that holds a place; a place past the text (a file that shrank) gives the last.
    int LineOfPlace(const TTextPlace& place) const;
    // Lays a text out off the window's thread as this view would now: the text view's font,
    // tab stops and wrap width are taken here, on the window's thread.
    TLinePreparer LinePreparer() const;
    // Lines laid out by such a preparer for the text about to be loaded: the next layout takes
    // them when they fit the text, font and width it finds.
    void OfferPreparedLines(std::shared_ptr<TPreparedLines> lines) { Prepared = std::move(lines); }
    // How many full layouts have been made, for the benchmarks' count of relayouts.
    int FullLayouts() const { return Layouts; }

private:
    // Gives the model the text view's text: the text just loaded when there is one.
    void TakeCurrentText() const;
    void CountCharacters() const;
    void RefreshLines() const;
    void LayOutAsNeeded() const;
    // Takes the lines offered, when they fit; true when it did.
    bool AdoptPrepared() const;
    QLabel* MakeLabel(int index);
    int LineHeight() const;
    // The room above each label's line for ruby and emphasis dots; none without them.
    int MarkSpace() const;

    TMainRichEdit* Edit;
    QFrame* Panel;
    QScrollBar* ScrollBar;
    QObject* MouseFilter;
    QList<QLabel*> Labels;
    int Spacing = 0;
    int Reserved = 0;
    QColor FontColor = Qt::black;
    mutable std::unique_ptr<TFontAdvances> Advances;
    mutable std::unique_ptr<TDisplayLineModel> Model;
    mutable QFont ModelFont;
    mutable bool TextStale = true;
    // The font and the wrap width were compared since the last event that could change them.
    mutable bool LayoutChecked = false;
    class TLayoutWatch;
    std::unique_ptr<TLayoutWatch> Watch;
    mutable int Layouts = 0;
    mutable qsizetype Characters = 0;
    const TAozoraText* Annotations = nullptr;
    bool RubyAbove = false;
    TKeptLine* Kept = nullptr;
    mutable std::shared_ptr<TPreparedLines> Prepared;
};
