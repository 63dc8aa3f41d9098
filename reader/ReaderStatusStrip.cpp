#include "reader/ReaderStatusStrip.h"

#include <QLabel>

TReaderStatusStrip::TReaderStatusStrip(QWidget* panel, std::function<TReaderStatusFacts()> facts)
    : Panel(panel), Strip(new QLabel(panel)), Facts(std::move(facts))
{
    Strip->setObjectName(QStringLiteral("ReaderStatusLabel"));
    Strip->setTextFormat(Qt::PlainText);
    Strip->setWordWrap(false);
    Strip->setFrameShape(QFrame::StyledPanel);
    Strip->hide();
}

void TReaderStatusStrip::SetShown(bool shown)
{
    IsShown = shown;
    Strip->setVisible(shown);
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

void TReaderStatusStrip::Place(int rightMargin)
{
    const int h = Strip->sizeHint().height();
    Strip->setGeometry(0, Panel->height() - h, qMax(0, Panel->width() - rightMargin), h);
    Strip->raise();
}
