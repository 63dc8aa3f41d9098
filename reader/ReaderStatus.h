#pragma once

#include <QString>

// What the reader does, as the status strip under it tells it.
enum class TReadingRun
{
    Stopped,
    Running,
    Paused, // by the mouse, until the button is released
};

struct TReaderStatusFacts
{
    TReadingRun Run = TReadingRun::Stopped;
    bool Variable = false; // variable-speed reading: the interval is the one in use
    int IntervalMs = 1000;
    int SlideStep = 1;
    QString FileName;
    int ReadingLine = 0;
    int LineCount = 0;
    qint64 Characters = 0; // of the whole text
};

// One line: the state, the interval and the lines per slide, the position as a percentage, the
// pace in characters per minute, the time a slide at this pace takes to the end of the text, and
// the file name. Without text only the state, the interval, the lines and the name.
QString ReaderStatusText(const TReaderStatusFacts& facts);

// Milliseconds as h:mm:ss, or m:ss under an hour.
QString ReadingTimeText(qint64 ms);
