#include "reader/ReaderStatus.h"

#include <QTest>

// The status strip's texts and the positions file, free of the window.
class TestReaderComfort : public QObject
{
    Q_OBJECT

private slots:
    void statusText_data();
    void statusText();
};

void TestReaderComfort::statusText_data()
{
    QTest::addColumn<int>("run");
    QTest::addColumn<int>("interval");
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("lines");
    QTest::addColumn<QString>("text");
    const auto running = int(TReadingRun::Running);
    // 40 characters a line; 1200 lines a minute at 50 ms and one line a slide.
    QTest::newRow("at the top") << running << 50 << 1 << 0 << 1000
                                << "スライド中  50 ms × 1行  a.txt  0.1%  48,000字/分  残り 0:50";
    QTest::newRow("three lines a slide, a remainder")
        << running << 1000 << 3 << 990 << 1000
        << "スライド中  1000 ms × 3行  a.txt  99.1%  7,200字/分  残り 0:04";
    QTest::newRow("over an hour left")
        << int(TReadingRun::Stopped) << 5000 << 1 << 0 << 1000
        << "停止  5000 ms × 1行  a.txt  0.1%  480字/分  残り 1:23:20";
    QTest::newRow("paused at the last line")
        << int(TReadingRun::Paused) << 250 << 2 << 999 << 1000
        << "一時停止  250 ms × 2行  a.txt  100.0%  19,200字/分  残り 0:01";
    QTest::newRow("past the end counts as the last line")
        << running << 250 << 1 << 5000 << 1000
        << "スライド中  250 ms × 1行  a.txt  100.0%  9,600字/分  残り 0:01";
    QTest::newRow("no text") << running << 250 << 1 << 0 << 0 << "スライド中  250 ms × 1行  a.txt";
}

void TestReaderComfort::statusText()
{
    QFETCH(int, run);
    QFETCH(int, interval);
    QFETCH(int, step);
    QFETCH(int, line);
    QFETCH(int, lines);
    QFETCH(QString, text);
    TReaderStatusFacts facts;
    facts.Run = TReadingRun(run);
    facts.IntervalMs = interval;
    facts.SlideStep = step;
    facts.FileName = QStringLiteral("a.txt");
    facts.ReadingLine = line;
    facts.LineCount = lines;
    facts.Characters = qint64(lines) * 40;
    QCOMPARE(ReaderStatusText(facts), text);
}

QTEST_APPLESS_MAIN(TestReaderComfort)
#include "tst_readercomfort.moc"
