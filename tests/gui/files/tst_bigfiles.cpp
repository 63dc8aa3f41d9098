#include "tests/support/WindowHarness.h"

#include "platform/TextDecoding.h"

#include <QClipboard>
#include <QSemaphore>
#include <atomic>

// Big files through the real main window: reading on a worker thread, loads abandoned at each
// step, the text view filled after the first page, and files that change while they are read.
class TestBigFiles : public QObject
{
    Q_OBJECT

private slots:
    void abandonedAtEachStage_data();
    void abandonedAtEachStage();
    void editableAtOnce();
    void readerWaitsForTheText();
    void fileChangesWhileRead_data();
    void fileChangesWhileRead();
    void tooLargeIsRefused();
};

namespace {

const QString Loading = QStringLiteral("  テキスト読込み中");

// Holds the worker thread once at one step until the test lets it go on; the test waits until
// the thread is there, so nothing depends on timing.
struct THold
{
    std::atomic<int> Wanted{-2};
    QSemaphore Reached;
    QSemaphore Go;
    std::function<void()> AtStage;

    void operator()(TLoadStage stage)
    {
        int expected = int(stage);
        if (!Wanted.compare_exchange_strong(expected, -2))
            return;
        if (AtStage)
            AtStage();
        Reached.release();
        Go.acquire();
    }
};

void HoldAt(TQuorvelaneForm& form, THold& hold, int stage)
{
    form.TextLoader().SetAsyncFrom(0);
    form.TextLoader().SetStageHook([&hold](TLoadStage s) { hold(s); });
    hold.Wanted = stage;
}

} // namespace

void TestBigFiles::abandonedAtEachStage_data()
{
    QTest::addColumn<int>("stage");
    QTest::newRow("while reading") << int(TLoadStage::Reading);
    QTest::newRow("read, not decoded") << int(TLoadStage::Read);
    QTest::newRow("decoded, not handed over") << int(TLoadStage::Decoded);
    QTest::newRow("laid out in part") << int(TLoadStage::LayingOut);
}

void TestBigFiles::abandonedAtEachStage()
{
    QFETCH(int, stage);
    TWindowHarness h;
    QVERIFY(h.Write(QStringLiteral("a.txt"), NumberedLines(3000, "a ")));
    QVERIFY(h.Write(QStringLiteral("b.txt"), NumberedLines(20, "b ")));
    TQuorvelaneForm& form = h.Start();
    THold hold;
    HoldAt(form, hold, stage);
    h.ClickFile(0);
    QVERIFY(hold.Reached.tryAcquire(1, 30000));
    QCOMPARE(form.windowTitle(), Loading);
    // The emptied view takes nothing meanwhile, which the text on its way would replace.
    QTest::keyClicks(form.MainRichEdit, QStringLiteral("x"));
    QVERIFY(form.MainRichEdit->IsEmpty());
    QVERIFY(!form.MainRichEdit->IsModified());
    // Another file chosen: the one on its way is dropped wherever it is.
    h.ClickFile(1);
    hold.Go.release();
    QVERIFY(h.WaitForText());
    // Whatever the dropped load still delivers arrives now, and must change nothing.
    QTest::qWait(20);
    QCOMPARE(form.FileState().CurrentFileName, h.Path(QStringLiteral("b.txt")));
    QCOMPARE(form.MainRichEdit->toPlainText(), DecodeText(NumberedLines(20, "b ")));
    QCOMPARE(form.windowTitle(), QStringLiteral("  1 / 20"));
    QCOMPARE(h.LabelTexts().first(), QStringLiteral("b 01"));
    QVERIFY(!form.MainRichEdit->isReadOnly());
}

void TestBigFiles::editableAtOnce()
{
    TWindowHarness h;
    const QByteArray bytes = NumberedLines(3000, "a ");
    QVERIFY(h.Write(QStringLiteral("a.txt"), bytes));
    TQuorvelaneForm& form = h.Start();
    h.ClickFile(0);
    QVERIFY(h.WaitForText());
    QCOMPARE(form.LineCount(), 3000);
    QCOMPARE(form.windowTitle(), QStringLiteral("  1 / 3000"));
    form.MainRichEdit->selectAll();
    form.MainRichEdit->copy();
    QCOMPARE(QGuiApplication::clipboard()->text(), DecodeText(bytes));

    // The text view takes edits at once, and the reader and the searches follow them.
    QVERIFY(!form.MainRichEdit->isReadOnly());
    form.MainRichEdit->SetCursor({}, {});
    QVERIFY(h.PressKeys(form.MainRichEdit, QKeySequence(QStringLiteral("x"))));
    QVERIFY(form.MainRichEdit->IsModified());
    QCOMPARE(form.LineCount(), 3000);
    QCOMPARE(form.Line(0), QStringLiteral("xa 01"));
    QCOMPARE(h.LabelTexts().first(), QStringLiteral("xa 01"));
    h.Script().AnswerInput(QStringLiteral("xa 01"));
    form.Action(QStringLiteral("FindLineString"))->trigger();
    QCOMPARE(form.ContentsListBox->count(), 1);
    QCOMPARE(form.ContentsListBox->Text(0), QStringLiteral("xa 01= 0001"));
}

void TestBigFiles::readerWaitsForTheText()
{
    // List reading goes on to the next file at the end of a text; a text still on its way has
    // no end yet.
    TWindowHarness h;
    QVERIFY(h.Write(QStringLiteral("a.txt"), NumberedLines(20, "a ")));
    QVERIFY(h.Write(QStringLiteral("b.txt"), NumberedLines(20, "b ")));
    TQuorvelaneForm& form = h.Start();
    THold hold;
    HoldAt(form, hold, int(TLoadStage::Decoded));
    form.Action(QStringLiteral("ListSlideRead"))->trigger();
    form.Action(QStringLiteral("SlideRead"))->trigger();
    h.ClickFile(1);
    QVERIFY(hold.Reached.tryAcquire(1, 30000));
    h.Ticks(3);
    form.RebuildReader();
    QCOMPARE(form.FileNameListBox->currentRow(), 1);
    QCOMPARE(form.SlideState().ReadingLine, 0);
    QCOMPARE(form.windowTitle(), Loading);
    QVERIFY(form.ReadTimer->isActive());
    hold.Go.release();
    QVERIFY(h.WaitForText());
    QCOMPARE(form.windowTitle(), QStringLiteral("  1 / 20"));
    QCOMPARE(h.LabelTexts().first(), QStringLiteral("b 01"));
    form.Action(QStringLiteral("SlideRead"))->trigger();
}

void TestBigFiles::fileChangesWhileRead_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<int>("lines");
    // Read in pieces of at most 4 MB: the change comes after the first piece. A file cut then
    // gives what was read before.
    const int lines = 5 * 1024 * 1024 / 12;
    QTest::newRow("grows") << "grows" << lines + 1;
    QTest::newRow("shrinks") << "shrinks" << -1;
    QTest::newRow("deleted") << "deleted" << lines;
}

void TestBigFiles::fileChangesWhileRead()
{
    QFETCH(QString, change);
    QFETCH(int, lines);
    TWindowHarness h;
    QVERIFY(h.Write(QStringLiteral("a.txt"), "a\r\n"));
    QByteArray big;
    const int count = 5 * 1024 * 1024 / 12;
    big.reserve(count * 12);
    for (int i = 0; i < count; ++i)
        big += "line " + QByteArray::number(i).rightJustified(5, '0') + "\r\n";
    QVERIFY(h.Write(QStringLiteral("b.txt"), big));
    TQuorvelaneForm& form = h.Start();
    THold hold;
    HoldAt(form, hold, int(TLoadStage::Reading));
    const QString path = h.Path(QStringLiteral("b.txt"));
    hold.AtStage = [&] {
        QFile file(path);
        if (change == QLatin1String("grows") && file.open(QIODevice::Append))
            file.write("added\r\n");
        else if (change == QLatin1String("shrinks"))
            file.resize(1000);
        else if (change == QLatin1String("deleted"))
            file.remove();
    };
    h.ClickFile(1);
    QVERIFY(hold.Reached.tryAcquire(1, 30000));
    hold.Go.release();
    QVERIFY(h.WaitForText());
    const int n = form.LineCount();
    if (lines < 0) {
        QVERIFY(n > 1 && n < count);
        QVERIFY(
            QStringLiteral("line %1").arg(n - 1, 5, 10, QChar(u'0')).startsWith(form.Line(n - 1)));
    } else {
        QCOMPARE(n, lines);
    }
    QCOMPARE(form.windowTitle(), QStringLiteral("  1 / %1").arg(n));
    QCOMPARE(h.LabelTexts().first(), QStringLiteral("line 00000"));
    QVERIFY(h.Script().Log().isEmpty());
}

void TestBigFiles::tooLargeIsRefused()
{
    TWindowHarness h;
    QVERIFY(h.Write(QStringLiteral("a.txt"), NumberedLines(20, "a ")));
    QVERIFY(h.Write(QStringLiteral("b.txt"), QByteArray(3 * 1024 * 1024, 'b')));
    TQuorvelaneForm& form = h.Start();
    form.TextLoader().SetSizeLimit(2 * 1024 * 1024);
    h.Script().AnswerButton(1);
    h.ClickFile(1);
    QVERIFY(h.WaitForText());
    QCOMPARE(h.Script().LogLines(),
             QStringList{QStringLiteral("message| Error|ファイルが大きすぎるため読み込めません。"
                                        "\r\n\r\nファイルの大きさ: 3 MB\r\n読み込める大きさ: 2 "
                                        "MB まで")});
    QCOMPARE(form.windowTitle(), QStringLiteral("Quorvelane"));
    QCOMPARE(form.LineCount(), 0);
}

QTEST_MAIN(TestBigFiles)
#include "tst_bigfiles.moc"
