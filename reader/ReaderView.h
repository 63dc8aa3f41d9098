#pragma once

#include "reader/DisplayLineModel.h"
#include "reader/ParagraphSource.h"
#include "search/LineSource.h"

#include <QColor>
#include <QFont>
#include <QList>
#include <memory>

class QFrame;
class QLabel;
class QObject;
class QPlainTextEdit;
class QScrollBar;
class TFontAdvances;

// The reader panel's labels and the display lines of the text view they show. The lines are
// kept by the display-line model: an edit re-lays the paragraphs it touched; a new text, a new
// font or a new width lays everything out once, at the next Lines() after the change.
class TReaderView : public TLineSource, public TParagraphSource
{
public:
    // The labels' mouse events go to mouseFilter, like the panel's own.
    TReaderView(QPlainTextEdit* edit, QFrame* panel, QScrollBar* scrollBar, QObject* mouseFilter);
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

    int LabelCount() const { return int(Labels.size()); }
    const QList<QLabel*>& ReaderLabels() const { return Labels; }
    void SetLabelText(int i, const QString& text);
    int LabelSpacing() const { return Spacing; }
    void SetLabelSpacing(int spacing) { Spacing = qMax(0, spacing); }
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
    // How many full layouts have been made, for the benchmarks' count of relayouts.
    int FullLayouts() const { return Layouts; }

private:
    void ContentsChange(int position, int removed, int added);
    // Gives the model the text view's text: the text just loaded when there is one.
    void TakeCurrentText() const;
    void RefreshLines() const;
    QLabel* MakeLabel(int index);
    int LineHeight() const;

    QPlainTextEdit* Edit;
    QFrame* Panel;
    QScrollBar* ScrollBar;
    QObject* MouseFilter;
    QList<QLabel*> Labels;
    int Spacing = 0;
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
};
