#include "tests/support/WindowHarness.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPushButton>
#include <QRandomGenerator>
#include <QScrollBar>
#include <unistd.h>

// Loading files into the real main window: names and formats, empty and missing files, read
// failures, bad bytes, and moving through the list.
class TestLoading : public QObject
{
    Q_OBJECT

private slots:
    void readsByName_data();
    void readsByName();
    void realProse_data();
    void realProse();
    void emptyText_data();
    void emptyText();
    void fileGoneBeforeTheClick();
    void readFailure_data();
    void readFailure();
    void badBytes_data();
    void badBytes();
    void loadingRebuildsOnce();
    void nextAndBackStopAtTheEnds();
    void loadingKeepsAReadingGoing();
    void fileNameNotInUtf8();
    void hugeSingleLine();
};

namespace {

// "あい" and "本文" in CP932.
const QByteArray Ai("\x82\xa0\x82\xa2");
const QByteArray Honbun("\x96\x7b\x95\xb6");
const QByteArray Rtf = "{\\rtf1\\ansi\\ansicpg932{\\fonttbl{\\f0\\fcharset128 x;}}\\f0 " +
                       QByteArray("\\'82\\'a0\\'82\\'a2\\par line {\\b 2}}");

} // namespace

void TestLoading::readsByName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    const QByteArray plain = Ai + "\r\n" + Honbun + " 2\r\n";
    QTest::newRow("notes.txt") << "notes.txt" << plain << "あい\n本文 2";
    QTest::newRow("NOTES.TXT") << "NOTES.TXT" << plain << "あい\n本文 2";
    QTest::newRow("notes.Txt") << "notes.Txt" << plain << "あい\n本文 2";
    QTest::newRow("RTF in a .txt is shown as it is")
        << "notes.txt" << Rtf << QString::fromLatin1(Rtf);
    QTest::newRow("notes.rtf") << "notes.rtf" << Rtf << "あい\nline 2";
    QTest::newRow("notes.m3u") << "notes.m3u" << Rtf << "あい\nline 2";
    QTest::newRow("no extension") << "notes" << Rtf << "あい\nline 2";
    QTest::newRow("notes.txt.bak") << "notes.txt.bak" << Rtf << "あい\nline 2";
    QTest::newRow("a .rtf that is plain text") << "plain.rtf" << plain + "{\\b x}"
                                               << "あい\n本文 2\n{\\b x}";
}

void TestLoading::readsByName()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    TWindowHarness h;
    QVERIFY(h.Write(name, bytes));
    TQuorvelaneForm& form = h.Start(true);
    QCOMPARE(form.FileNameListBox->count(), 1);
    QCOMPARE(form.MainRichEdit->toPlainText(), text);
    const int n = int(h.WidgetLines().size());
    QCOMPARE(form.LineCount(), n);
    QCOMPARE(form.windowTitle(), QStringLiteral("  1 / %1").arg(n));
    QCOMPARE(form.FileNameListBox->toolTip(), h.Path(name));
    QCOMPARE(form.FileState().CurrentFileName, h.Path(name));
    QVERIFY(form.FindResearchButton->isVisible());
    QCOMPARE(h.LabelTexts().mid(0, n + 1), h.WidgetLines() << QStringLiteral("[EOF]"));
    QVERIFY(h.Script().Log().isEmpty());
}

void TestLoading::realProse_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("name");
    QTest::newRow("CP932 text") << "sample-prose.sjis.txt"
                                << "prose.txt";
    QTest::newRow("RTF") << "sample-prose.rtf"
                         << "prose.rtf";
}

// The real files: Japanese lines, no markup or stray bytes, the reader counting what the text
// view displays.
void TestLoading::realProse()
{
    QFETCH(QString, source);
    QFETCH(QString, name);
    TWindowHarness h;
    QVERIFY(QFile::copy(QStringLiteral(QV_TESTDATA_DIR "/") + source, h.Path(name)));
    TQuorvelaneForm& form = h.Start(true);
    const QString text = form.MainRichEdit->toPlainText();
    QVERIFY(text.startsWith(QStringLiteral("　拡張機能ですが、定義の書式が")));
    QVERIFY(text.contains(QStringLiteral("数学ライブラリ")));
    QVERIFY(!text.contains(QChar(0xfffd)));
    QVERIFY(!text.contains(u'\\') || name.endsWith(u".txt"));
    QVERIFY(!text.contains(u'\r'));
    const QStringList shown = h.WidgetLines();
    QCOMPARE(form.LineCount(), int(shown.size()));
    QCOMPARE(form.windowTitle(), QStringLiteral("  1 / %1").arg(shown.size()));
    for (int i = 0; i < form.LabelCount() && i < shown.size(); ++i)
        QCOMPARE(h.LabelTexts().at(i), shown.at(i));
}

void TestLoading::emptyText_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("empty .txt") << "b.txt" << QByteArray();
    QTest::newRow("RTF without text")
        << "b.rtf" << QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0 x;}}}");
    QTest::newRow("empty file without extension") << "b" << QByteArray();
}

// After a file with text, a file without any: every label empty, no re-search, the plain title.
void TestLoading::emptyText()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    TWindowHarness h;
    QVERIFY(h.Write(QStringLiteral("a.txt"), NumberedLines(30)));
    QVERIFY(h.Write(name, bytes));
    TQuorvelaneForm& form = h.Start(true);
    form.ContentsListBox->AddEntry(QStringLiteral("line 01= 1"));
    form.FileNextExecute();
    QCOMPARE(form.FileState().CurrentFileName, h.Path(name));
    QCOMPARE(form.MainRichEdit->toPlainText(), QString());
    QCOMPARE(form.LineCount(), 0);
    QCOMPARE(form.windowTitle(), QStringLiteral("Quorvelane"));
    QVERIFY(form.FindResearchButton->isHidden());
    QCOMPARE(form.ContentsListBox->count(), 0);
    QVERIFY(form.LabelCount() > 1);
    for (const QString& label : h.LabelTexts())
        QVERIFY2(label.isEmpty(), qPrintable(label));
    QCOMPARE(form.ReadingLineScrollBar->maximum(), 0);
    QVERIFY(h.Script().Log().isEmpty());
}

void TestLoading::fileGoneBeforeTheClick()
{
    TWindowHarness h;
    QVERIFY(h.Write(QStringLiteral("a.txt"), NumberedLines(30)));
    QVERIFY(h.Write(QStringLiteral("b.txt"), NumberedLines(3)));
    TQuorvelaneForm& form = h.Start();
    QVERIFY(QFile::remove(h.Path(QStringLiteral("b.txt"))));
    form.FileNameListBox->setCurrentRow(1);
    form.FileNameListBoxClick();
    QCOMPARE(h.Script().LogLines(),
             QStringList{QStringLiteral("message|  確認|ファイルが見つかりませんでした。")});
    QCOMPARE(h.Script().Log().first().Flags, 0);
    QCOMPARE(form.windowTitle(), QStringLiteral("Quorvelane"));
    QCOMPARE(form.MainRichEdit->toPlainText(), QString());
    QVERIFY(form.FindResearchButton->isHidden());
    for (const QString& label : h.LabelTexts())
        QVERIFY(label.isEmpty());
    // The missing path is remembered and shown.
    QCOMPARE(form.FileState().CurrentFileName, h.Path(QStringLiteral("b.txt")));
    QCOMPARE(form.FileNameListBox->toolTip(), h.Path(QStringLiteral("b.txt")));
    QCOMPARE(form.FileNameListBox->currentRow(), 1);
}

void TestLoading::readFailure_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("a folder in the file's place") << "folder";
    // A link to this process's own memory: opening works, reading address 0 fails, even for root.
    QTest::newRow("a file whose reading fails") << "ioerror";
    QTest::newRow("no read permission") << "mode";
}

void TestLoading::readFailure()
{
    QFETCH(QString, how);
    TWindowHarness h;
    QVERIFY(h.Write(QStringLiteral("a.txt"), NumberedLines(30)));
    QVERIFY(h.Write(QStringLiteral("x.txt"), NumberedLines(3)));
    TQuorvelaneForm& form = h.Start();
    const QString path = h.Path(QStringLiteral("x.txt"));
    if (how == u"folder") {
        QVERIFY(QFile::remove(path));
        QVERIFY(QDir().mkdir(path));
    } else if (how == u"ioerror") {
        QVERIFY(QFile::remove(path));
        QVERIFY(QFile::link(QStringLiteral("/proc/self/mem"), path));
    } else {
        QVERIFY(QFile::setPermissions(path, QFileDevice::WriteOwner));
        if (::access(QFile::encodeName(path).constData(), R_OK) == 0)
            QSKIP("this user reads files whatever their mode (root)");
    }
    form.FileNameListBox->setCurrentRow(1);
    form.FileNameListBoxClick();
    QCOMPARE(h.Script().LogLines(),
             QStringList{QStringLiteral("message| Error|ファイル読込みに失敗しました。")});
    QCOMPARE(form.windowTitle(), QStringLiteral("Quorvelane"));
    QCOMPARE(form.MainRichEdit->toPlainText(), QString());
    QVERIFY(form.FindResearchButton->isHidden());
    for (const QString& label : h.LabelTexts())
        QVERIFY(label.isEmpty());
    QCOMPARE(form.FileNameListBox->currentRow(), 1);
    // The program goes on: the next load works.
    h.Script().ClearLog();
    form.FileBackExecute();
    QCOMPARE(form.windowTitle(), QStringLiteral("  1 / 30"));
    QVERIFY(h.Script().Log().isEmpty());
}

void TestLoading::badBytes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text"); // empty: only that loading survives
    QTest::newRow("lead byte then a blank") << QByteArray("a\x82\x20x\r\nb") << "a\uFFFD x\nb";
    QTest::newRow("lead byte at the end") << QByteArray("abc\r\nd\x82") << "abc\nd\uFFFD";
    QTest::newRow("undefined byte") << QByteArray("\xff" + Ai) << "\uFFFDあい";
    QTest::newRow("NUL bytes") << QByteArray("a\0b\r\n\0\0c", 9) << QString();
    QByteArray noise(256 * 1024, '\0');
    QRandomGenerator random(932);
    for (char& c : noise)
        c = char(random.bounded(256));
    QTest::newRow("binary") << noise << QString();
}

void TestLoading::badBytes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    TWindowHarness h;
    QVERIFY(h.Write(QStringLiteral("bad.txt"), bytes));
    TQuorvelaneForm& form = h.Start();
    if (!text.isEmpty())
        QCOMPARE(form.MainRichEdit->toPlainText(), text);
    const int n = form.LineCount();
    QVERIFY(n > 0);
    QCOMPARE(form.windowTitle(), QStringLiteral("  1 / %1").arg(n));
    QVERIFY(h.Script().Log().isEmpty());
    // The reader goes through the whole text.
    form.LabelStepComboBox->setCurrentIndex(form.LabelStepComboBox->count() - 1);
    form.LabelStepComboBoxChange();
    form.Action(QStringLiteral("SlideRead"))->trigger();
    const int ticks = (n + form.LabelCount() - 1) / form.LabelCount();
    h.Ticks(ticks);
    QVERIFY(!form.ReadTimer->isActive());
    QCOMPARE(form.windowTitle(), QStringLiteral("  1 / %1").arg(n));
}

// A load rebuilds the reader once: the change notification of the program's own change of the
// text view does nothing, and leaves the next edit of the user to rebuild it.
void TestLoading::loadingRebuildsOnce()
{
    TWindowHarness h;
    QVERIFY(h.Write(QStringLiteral("a.txt"), NumberedLines(5)));
    QVERIFY(h.Write(QStringLiteral("b.txt"), NumberedLines(5)));
    QVERIFY(h.Write(QStringLiteral("c.txt"), NumberedLines(8)));
    TQuorvelaneForm& form = h.Start();
    QVERIFY(form.LabelCount() > 2);
    for (int row : {1, 2, 0}) {
        TLabelBirths births(form.ReaderPanel);
        form.FileNameListBox->setCurrentRow(row);
        form.FileNameListBoxClick();
        QCOMPARE(births.Count, form.LabelCount() - 1);
        QVERIFY(!form.FileState().IgnoreTextChange);
    }
    TLabelBirths births(form.ReaderPanel);
    const TTextPos end = form.MainRichEdit->Cursor().End();
    form.MainRichEdit->SetCursor(end, end);
    form.MainRichEdit->insertPlainText(QStringLiteral("\nmore"));
    QCOMPARE(births.Count, form.LabelCount() - 1);
    QCOMPARE(form.windowTitle(), QStringLiteral("  1 / 6"));
}

void TestLoading::nextAndBackStopAtTheEnds()
{
    TWindowHarness h;
    QVERIFY(h.Write(QStringLiteral("a.txt"), NumberedLines(4, "a ")));
    QVERIFY(h.Write(QStringLiteral("b.txt"), NumberedLines(5, "b ")));
    QVERIFY(h.Write(QStringLiteral("c.txt"), NumberedLines(6, "c ")));
    TQuorvelaneForm& form = h.Start();
    QCOMPARE(form.FileNameListBox->currentRow(), 0);

    auto unchanged = [&](void (TQuorvelaneForm::*command)()) {
        const TTextPos end = form.MainRichEdit->Cursor().End();
        form.MainRichEdit->SetCursor(end, end);
        const QString caption = form.windowTitle();
        const QString file = form.FileState().CurrentFileName;
        const int row = form.FileNameListBox->currentRow();
        TLabelBirths births(form.ReaderPanel);
        (form.*command)();
        return births.Count == 0 && form.windowTitle() == caption &&
               form.FileState().CurrentFileName == file &&
               form.FileNameListBox->currentRow() == row;
    };
    QVERIFY(unchanged(&TQuorvelaneForm::FileBackExecute));
    form.Action(QStringLiteral("FileNext"))->trigger();
    QCOMPARE(form.windowTitle(), QStringLiteral("  1 / 5"));
    form.FileNextExecute();
    QCOMPARE(form.FileNameListBox->toolTip(), h.Path(QStringLiteral("c.txt")));
    QVERIFY(unchanged(&TQuorvelaneForm::FileNextExecute));
    form.Action(QStringLiteral("FileBack"))->trigger();
    QCOMPARE(form.Line(0), QStringLiteral("b 01"));

    // With nothing selected, next loads the first entry and back does nothing.
    form.FileNameListBox->setCurrentRow(-1);
    QVERIFY(unchanged(&TQuorvelaneForm::FileBackExecute));
    form.FileNextExecute();
    QCOMPARE(form.FileNameListBox->currentRow(), 0);
    QCOMPARE(form.Line(0), QStringLiteral("a 01"));
    QVERIFY(h.Script().Log().isEmpty());
}

// A running slide goes on with the new text from its first line; an empty text stops it.
void TestLoading::loadingKeepsAReadingGoing()
{
    TWindowHarness h;
    QVERIFY(h.Write(QStringLiteral("a.txt"), NumberedLines(20, "a ")));
    QVERIFY(h.Write(QStringLiteral("b.txt"), NumberedLines(20, "b ")));
    QVERIFY(h.Write(QStringLiteral("c.txt"), QByteArray()));
    TQuorvelaneForm& form = h.Start();
    form.Action(QStringLiteral("SlideRead"))->trigger();
    h.Ticks(5);
    QCOMPARE(form.windowTitle(), QStringLiteral("  6 / 20"));
    form.FileNextExecute();
    QVERIFY(form.ReadTimer->isActive());
    QCOMPARE(form.windowTitle(), QStringLiteral("  1 / 20"));
    QCOMPARE(form.ReadingLineScrollBar->value(), 0);
    form.ReadTimerTimer();
    QCOMPARE(h.LabelTexts().first(), QStringLiteral("b 02"));
    form.FileNextExecute();
    QVERIFY(!form.ReadTimer->isActive());
    QVERIFY(!form.Action(QStringLiteral("SlideRead"))->isChecked());
    QCOMPARE(form.windowTitle(), QStringLiteral("Quorvelane"));
}

// A name that is not valid UTF-8 opens through its own bytes.
void TestLoading::fileNameNotInUtf8()
{
    TWindowHarness h;
    const QByteArray raw = QFile::encodeName(h.Texts) + "/" + Honbun + ".txt"; // CP932 bytes
    {
        FILE* out = ::fopen(raw.constData(), "wb");
        QVERIFY(out);
        const QByteArray bytes = Ai + "\r\nline 2\r\n";
        QCOMPARE(::fwrite(bytes.constData(), 1, size_t(bytes.size()), out), size_t(bytes.size()));
        ::fclose(out);
    }
    TQuorvelaneForm& form = h.Start();
    QCOMPARE(form.FileNameListBox->count(), 1);
    QVERIFY(h.Script().Log().isEmpty());
    QCOMPARE(form.MainRichEdit->toPlainText(), QStringLiteral("あい\nline 2"));
    QCOMPARE(form.windowTitle(), QStringLiteral("  1 / 2"));
    ::unlink(raw.constData()); // the temporary folder's removal cannot name it
}

// A 50 MB file of one line: it loads, the reader pages through it, nothing blocks for long.
// The time is printed; the speed itself is the benchmarks' business.
void TestLoading::hugeSingleLine()
{
    // The text view's own layout of such a line takes minutes under the sanitizers; the full
    // size runs on request.
    const bool full = qEnvironmentVariableIsSet("QV_TEST_HUGE");
    const int size = (full ? 50 : 1) * 1024 * 1024;
    TWindowHarness h;
    QByteArray line;
    line.reserve(size);
    const QByteArray word = "word " + Ai + " ";
    while (line.size() < size)
        line += word;
    QVERIFY(h.Write(QStringLiteral("huge.txt"), line));
    const qsizetype written = line.size();
    line.clear();
    TQuorvelaneForm& form = h.Start();
    QElapsedTimer clock;
    clock.start();
    form.FileNameListBoxClick();
    QVERIFY(h.WaitForText());
    const qint64 loaded = clock.elapsed();
    const int n = form.LineCount();
    QVERIFY(n > size / 400);
    QCOMPARE(form.windowTitle(), QStringLiteral("  1 / %1").arg(n));
    form.ReadingLineScrollBar->triggerAction(QAbstractSlider::SliderToMaximum);
    QCOMPARE(form.windowTitle(), QStringLiteral("  %1 / %1").arg(n));
    QVERIFY(h.LabelTexts().first().startsWith(QStringLiteral("word")) ||
            h.LabelTexts().first().startsWith(QStringLiteral("あい")));
    // The text view shows the reader's lines: the line is whole and can be edited at its end.
    QCOMPARE(form.MainRichEdit->PlainText().count(u'\n'), 0);
    QCOMPARE(form.MainRichEdit->PlainText().size(), written / 10 * 8);
    const TTextPos end = form.MainRichEdit->Cursor().End();
    form.MainRichEdit->SetCursor(end, end);
    QTest::keyClicks(form.MainRichEdit, QStringLiteral("Z"));
    QCOMPARE(form.MainRichEdit->PlainText().size(), written / 10 * 8 + 1);
    QCOMPARE(form.LineCount(), n);
    // A new width lays the reader's lines out again, the line still whole there.
    form.resize(form.width() - 100, form.height());
    h.Settle();
    QVERIFY(form.LineCount() > n);
    QVERIFY(form.windowTitle().endsWith(QStringLiteral(" / %1").arg(form.LineCount())));
    qInfo("%d MB single line: load %lld ms, %d display lines", size >> 20, loaded, n);
}

QTEST_MAIN(TestLoading)
#include "tst_loading.moc"
