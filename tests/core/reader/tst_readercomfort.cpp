#include "platform/EscapedUtf8.h"
#include "reader/ReaderStatus.h"
#include "reader/ReadingPlaces.h"

#include <QFile>
#include <QTemporaryDir>

#include <QTest>

// The status strip's texts and the positions file, free of the window.
class TestReaderComfort : public QObject
{
    Q_OBJECT

private slots:
    void statusText_data();
    void statusText();
    void placesRoundTrip();
    void placesFromBadBytes_data();
    void placesFromBadBytes();
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
                                << "スライド中  50 ms × 1行  0.1%  48,000字/分  残り 0:50  a.txt";
    QTest::newRow("three lines a slide, a remainder")
        << running << 1000 << 3 << 990 << 1000
        << "スライド中  1000 ms × 3行  99.1%  7,200字/分  残り 0:04  a.txt";
    QTest::newRow("over an hour left")
        << int(TReadingRun::Stopped) << 5000 << 1 << 0 << 1000
        << "停止  5000 ms × 1行  0.1%  480字/分  残り 1:23:20  a.txt";
    QTest::newRow("paused at the last line")
        << int(TReadingRun::Paused) << 250 << 2 << 999 << 1000
        << "一時停止  250 ms × 2行  100.0%  19,200字/分  残り 0:01  a.txt";
    QTest::newRow("past the end counts as the last line")
        << running << 250 << 1 << 5000 << 1000
        << "スライド中  250 ms × 1行  100.0%  9,600字/分  残り 0:01  a.txt";
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

void TestReaderComfort::placesRoundTrip()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("Quorvelane.places"));
    QCOMPARE(TReadingPlaces::Load(file).Count(), 0); // missing
    TReadingPlaces places;
    for (int i = 0; i < TReadingPlaces::MaxFiles + 20; ++i)
        places.Remember(QStringLiteral("/t/%1.txt").arg(i), {i, i * 2});
    const QString odd = QStringLiteral("/t/日本語\tタブ.txt");
    places.Remember(odd, {3, 4});
    places.Remember(QStringLiteral("/t/line\nend.txt"), {1, 1}); // cannot be stored
    places.Remember(QStringLiteral("/t/519.txt"), {7, 8});       // again: moves to the front
    QVERIFY(places.Save(file));
    const TReadingPlaces read = TReadingPlaces::Load(file);
    QCOMPARE(read.Count(), TReadingPlaces::MaxFiles);
    QCOMPARE(read.Find(odd), std::optional<TTextPlace>({3, 4}));
    QCOMPARE(read.Find(QStringLiteral("/t/519.txt")), std::optional<TTextPlace>({7, 8}));
    QCOMPARE(read.Find(QStringLiteral("/t/21.txt")), std::optional<TTextPlace>({21, 42}));
    QVERIFY(!read.Find(QStringLiteral("/t/20.txt"))); // the oldest went
    QVERIFY(!read.Find(QStringLiteral("/t/line\nend.txt")));

    // A CP932 name as the folder listing gives it: bytes that are not UTF-8, escaped.
    const QString listed = DecodeEscapedUtf8("/t/\x82\xa0\xff.txt");
    TReadingPlaces one;
    one.Remember(listed, {5, 6});
    QVERIFY(one.Save(file));
    QCOMPARE(TReadingPlaces::Load(file).Find(listed), std::optional<TTextPlace>({5, 6}));
}

void TestReaderComfort::placesFromBadBytes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("paths");
    QTest::newRow("empty") << QByteArray() << QStringList{};
    QTest::newRow("cut short in the last line")
        << QByteArray("1\t2\t/a\n3\t4\t/b") << QStringList{"/a"};
    QTest::newRow("not numbers, negative, no path")
        << QByteArray("x\t2\t/a\n1\t-2\t/b\n1\t2\t\n1\t2\n5\t6\t/c\n") << QStringList{"/c"};
    QTest::newRow("binary") << QByteArray("\x00\xff\t\x01\n\x7f", 6) << QStringList{};
    QTest::newRow("a path twice keeps the first")
        << QByteArray("1\t1\t/a\n2\t2\t/a\n") << QStringList{"/a"};
}

void TestReaderComfort::placesFromBadBytes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, paths);
    const TReadingPlaces places = TReadingPlaces::FromBytes(bytes);
    QCOMPARE(places.Count(), paths.size());
    for (const QString& path : paths)
        QVERIFY(places.Find(path));
    if (paths == QStringList{"/a"})
        QCOMPARE(places.Find("/a")->Paragraph, 1);
}

QTEST_APPLESS_MAIN(TestReaderComfort)
#include "tst_readercomfort.moc"
