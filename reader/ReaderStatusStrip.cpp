#include "reader/ReaderStatusStrip.h"

#include "reader/SlideEngine.h"

#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QTextDocument>
#include <QTimer>

TReaderStatusFacts ReaderStatusFactsOf(const TSlideState& slide, const QTimer& timer,
                                       const QString& fileName, int lineCount,
                                       const QTextDocument& document)
{
    const bool ticking = timer.isActive() && slide.TimerTag == 0;
    TReaderStatusFacts facts;
    facts.Run = ticking ? TReadingRun::Running
                        : (slide.PausedByMouse ? TReadingRun::Paused : TReadingRun::Stopped);
    facts.Variable = slide.CanChangeSlideRead;
    facts.IntervalMs = slide.CanChangeSlideRead ? timer.interval() : slide.SlideIntervalMs;
    facts.SlideStep = slide.SlideStep;
    facts.FileName = QFileInfo(fileName).fileName();
    facts.ReadingLine = slide.ReadingLine;
    facts.LineCount = lineCount;
    // Each block ends in a paragraph separator, which is no character of the text.
    facts.Characters = document.characterCount() - document.blockCount();
    return facts;
}

TReaderStatusStrip::TReaderStatusStrip(QWidget* panel, std::function<TReaderStatusFacts()> facts)
    : Panel(panel), Strip(new QLabel(panel)), Facts(std::move(facts))
{
    Strip->setObjectName(QStringLiteral("ReaderStatusLabel"));
    Strip->setTextFormat(Qt::PlainText);
    Strip->setWordWrap(false);
    Strip->setFrameShape(QFrame::StyledPanel);
    Strip->hide();
    Panel->installEventFilter(this);
}

bool TReaderStatusStrip::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Panel && event->type() == QEvent::Resize)
        Place();
    return false;
}

void TReaderStatusStrip::SetShown(bool shown)
{
    IsShown = shown;
    Strip->setVisible(shown);
    Place();
    Refresh();
}

int TReaderStatusStrip::Height() const
{
    return IsShown ? Strip->sizeHint().height() : 0;
}

void TReaderStatusStrip::Refresh()
{
    if (IsShown)
        Strip->setText(ReaderStatusText(Facts()));
}

void TReaderStatusStrip::Place()
{
    constexpr int ScrollBarRoom = 18;
    const int h = Strip->sizeHint().height();
    Strip->setGeometry(0, Panel->height() - h, qMax(0, Panel->width() - ScrollBarRoom), h);
    Strip->raise();
}
