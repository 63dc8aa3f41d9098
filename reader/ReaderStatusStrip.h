#pragma once

#include "reader/ReaderStatus.h"

#include <QObject>
#include <functional>

class QLabel;
class QTextDocument;
class QTimer;
class QWidget;
struct TSlideState;

// What the strip tells now: the reading run from the slide state and its timer, the file in
// view (its full name), and the size of the text view's document.
TReaderStatusFacts ReaderStatusFactsOf(const TSlideState& slide, const QTimer& timer,
                                       const QString& fileName, int lineCount,
                                       const QTextDocument& document);

// The slim strip at the foot of the reader panel that says what the reader does. Hidden, it
// takes no room and costs nothing; shown, the labels above it leave it its height.
class TReaderStatusStrip final : public QObject
{
public:
    TReaderStatusStrip(QWidget* panel, std::function<TReaderStatusFacts()> facts);

    void SetShown(bool shown);
    bool Shown() const { return IsShown; }
    // The room it takes at the panel's foot: 0 while hidden.
    int Height() const;
    // Writes the facts of now into the strip, when it is shown.
    void Refresh();
    QLabel* Label() const { return Strip; }

protected:
    // Follows the panel's size.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // At the panel's foot, left of the reader's scroll bar.
    void Place();

    QWidget* Panel;
    QLabel* Strip;
    std::function<TReaderStatusFacts()> Facts;
    bool IsShown = false;
};
