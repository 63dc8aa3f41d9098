#include "common/AppConstants.h"
#include "reader/MainRichEdit.h"
#include "tests/support/WindowHarness.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

// The real window reading real files: loading, the labels and caption, slide reading driven
// tick by tick, paging and the end-of-text rules.
class TestReading : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void loadShowsFirstLines();
    void loadKinds_data();
    void loadKinds();
    void missingFileIsReported();
    void slideToEndAndStop();
    void slideRepeatWraps();
    void listReadingGoesToNextFile();
    void pagingNeverWraps();
    void editRebuildsReader();
    void fontSizeChangesLabelCount();
    void mouseGestures();

private:
    void writeFile(const QString& name, const QByteArray& bytes);
    void start();
    QStringList labelTexts() const;
    QByteArray numberedLines(int count) const;

    std::unique_ptr<TWindowHarness> H;
    TQuorvelaneForm* Form = nullptr;
};

void TestReading::init()
{
    H = std::make_unique<TWindowHarness>();
    Form = nullptr;
}

void TestReading::cleanup()
{
    if (H->Form)
        H->Exit();
    QVERIFY2(H->Script().Unexpected().isEmpty(), qPrintable(H->Script().Unexpected().join(u'\n')));
    H.reset();
}

void TestReading::writeFile(const QString& name, const QByteArray& bytes)
{
    QVERIFY(WriteFile(H->Dir.filePath(name), bytes));
}

QByteArray TestReading::numberedLines(int count) const
{
    QByteArray text;
    for (int i = 1; i <= count; ++i)
        text += "line " + QByteArray::number(i) + "\r\n";
    return text;
}

// Starts in the test folder, runs the start-up tick and lets the first relayout settle.
void TestReading::start()
{
    Form = &H->Create();
    Form->resize(700, 500);
    Form->show();
    Form->ReadTimerTimer();
    H->Settle();
    QVERIFY(!Form->ResizeTimer->isActive());
}

QStringList TestReading::labelTexts() const
{
    QStringList texts;
    for (int i = 0; i < Form->LabelCount(); ++i)
        texts << Form->ReaderPanel->findChild<QLabel*>(QStringLiteral("ReaderLabel%1").arg(i))
                     ->text();
    return texts;
}

void TestReading::loadShowsFirstLines()
{
    QFile sample(QStringLiteral(QV_TESTDATA_DIR "/sample-prose.sjis.txt"));
    QVERIFY(sample.open(QIODevice::ReadOnly));
    writeFile(QStringLiteral("prose.txt"), sample.readAll());
    start();
    const int n = Form->LineCount();
    QVERIFY(n > 100);
    QCOMPARE(Form->windowTitle(), QStringLiteral("  1 / %1").arg(n));
    QVERIFY(Form->LabelCount() > 1);
    const QStringList labels = labelTexts();
    for (int i = 0; i < labels.size(); ++i)
        QCOMPARE(labels.at(i), Form->Line(i));
    QVERIFY(labels.at(0).startsWith(QStringLiteral("\u3000拡張機能")));
    QCOMPARE(Form->FileNameListBox->toolTip(), H->Dir.filePath(QStringLiteral("prose.txt")));
    QVERIFY(Form->FindResearchButton->isVisible());
    QCOMPARE(Form->ReadingLineScrollBar->maximum(), n - 1);
}

void TestReading::loadKinds_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("firstLine");
    QTest::newRow("upper-case extension")
        << "NOTES.TXT" << QByteArray("\x95\x5c\x8e\xa6\r\n") << "表示";
    QTest::newRow("rtf through the reader")
        << "notes.rtf"
        << QByteArray(
               "{\\rtf1\\ansi\\ansicpg932{\\fonttbl{\\f0\\fcharset128 x;}}\\f0 \\'95\\'5c\\par}")
        << "表";
    QTest::newRow("rtf-named plain text")
        << "plain.rtf" << QByteArray("just text\r\n") << "just text";
    QTest::newRow("no extension") << "README" << QByteArray("{\\rtf1 hello\\par}") << "hello";
    QTest::newRow("invalid cp932 kept")
        << "bad.txt" << QByteArray("a\x82 b\xff\r\nnext") << "a\uFFFD b\uFFFD";
    QTest::newRow("nul bytes") << "nul.txt" << QByteArray("x\0y\r\n", 5)
                               << QString::fromUtf16(u"x\0y", 3);
}

void TestReading::loadKinds()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, firstLine);
    writeFile(name, bytes);
    start();
    Form->Action(QStringLiteral("SetAnyFilter"))->trigger();
    QCOMPARE(Form->FileNameListBox->count(), 1);
    QCOMPARE(Form->Line(0).left(firstLine.size()), firstLine);
    QCOMPARE(Form->windowTitle(), QStringLiteral("  1 / %1").arg(Form->LineCount()));
}

void TestReading::missingFileIsReported()
{
    writeFile(QStringLiteral("a.txt"), "first\r\n");
    writeFile(QStringLiteral("b.txt"), "second\r\n");
    start();
    QVERIFY(QFile::remove(H->Dir.filePath(QStringLiteral("b.txt"))));
    Form->Action(QStringLiteral("FileNext"))->trigger();
    QCOMPARE(H->Script().LogLines(),
             QStringList{QStringLiteral("message|  確認|ファイルが見つかりませんでした。")});
    QCOMPARE(Form->LineCount(), 0);
    QCOMPARE(Form->windowTitle(), QStringLiteral("Quorvelane"));
    QVERIFY(!Form->FindResearchButton->isVisible());
    // At the last entry the next file changes nothing.
    Form->Action(QStringLiteral("FileNext"))->trigger();
    QCOMPARE(H->Script().Log().size(), 1);
}

void TestReading::slideToEndAndStop()
{
    writeFile(QStringLiteral("ten.txt"), numberedLines(10));
    start();
    QCOMPARE(Form->windowTitle(), QStringLiteral("  1 / 10"));
    QAction* slide = Form->Action(QStringLiteral("SlideRead"));
    slide->trigger();
    QVERIFY(slide->isChecked());
    QVERIFY(Form->ReadTimer->isActive());
    QCOMPARE(Form->ReadTimer->interval(), 1000);
    for (int tick = 1; tick <= 9; ++tick)
        Form->ReadTimerTimer();
    QCOMPARE(Form->windowTitle(), QStringLiteral("  10 / 10"));
    QCOMPARE(labelTexts().mid(0, 2), (QStringList{"line 10", "[EOF]"}));
    Form->ReadTimerTimer();
    // Past the end without repeat: reading stops and the text shows from the top again.
    QVERIFY(!Form->ReadTimer->isActive());
    QVERIFY(!slide->isChecked());
    QCOMPARE(Form->windowTitle(), QStringLiteral("  1 / 10"));
    QCOMPARE(labelTexts().at(0), QStringLiteral("line 1"));
}

void TestReading::slideRepeatWraps()
{
    writeFile(QStringLiteral("two.txt"), numberedLines(2));
    start();
    QVERIFY(Form->LabelCount() > 3);
    Form->Action(QStringLiteral("SlideRepeat"))->trigger();
    Form->Action(QStringLiteral("SlideRead"))->trigger();
    Form->ReadTimerTimer();
    Form->ReadTimerTimer();
    QVERIFY(Form->ReadTimer->isActive());
    QCOMPARE(labelTexts().mid(0, 4), (QStringList{"line 1", "line 2", "...[EOF]", ""}));
}

void TestReading::listReadingGoesToNextFile()
{
    writeFile(QStringLiteral("a.txt"), numberedLines(1));
    writeFile(QStringLiteral("b.txt"), "other\r\n");
    start();
    Form->Action(QStringLiteral("ListSlideRead"))->trigger();
    Form->Action(QStringLiteral("SlideRead"))->trigger();
    Form->ReadTimerTimer();
    QCOMPARE(Form->FileNameListBox->currentRow(), 1);
    QCOMPARE(Form->Line(0), QStringLiteral("other"));
    QVERIFY(Form->ReadTimer->isActive());
    // After the last file the list goes back to the first and, without repeat, stops there.
    Form->ReadTimerTimer();
    QCOMPARE(Form->FileNameListBox->currentRow(), 0);
    QVERIFY(!Form->ReadTimer->isActive());
    QVERIFY(!Form->Action(QStringLiteral("SlideRead"))->isChecked());
}

void TestReading::pagingNeverWraps()
{
    writeFile(QStringLiteral("many.txt"), numberedLines(200));
    start();
    const int page = Form->LabelCount();
    QVERIFY(page > 1);
    Form->Action(QStringLiteral("PageNext"))->trigger();
    QCOMPARE(Form->SlideState().ReadingLine, page);
    QCOMPARE(labelTexts().at(0), QStringLiteral("line %1").arg(page + 1));
    for (int i = 0; i < 300; ++i)
        Form->PageNextExecute();
    QCOMPARE(Form->windowTitle(), QStringLiteral("  200 / 200"));
    QCOMPARE(labelTexts().mid(0, 2), (QStringList{"line 200", "[EOF]"}));
    Form->PageBackExecute();
    QCOMPARE(Form->SlideState().ReadingLine, 199 - page);
}

void TestReading::editRebuildsReader()
{
    writeFile(QStringLiteral("edit.txt"), numberedLines(5));
    start();
    QCOMPARE(Form->LineCount(), 5);
    const TTextPos end = Form->MainRichEdit->Cursor().End();
    Form->MainRichEdit->SetCursor(end, end);
    Form->MainRichEdit->insertPlainText(QStringLiteral("\nline 6\nline 7"));
    QCOMPARE(Form->LineCount(), 7);
    QCOMPARE(Form->windowTitle(), QStringLiteral("  1 / 7"));
    QCOMPARE(Form->Line(6), QStringLiteral("line 7"));
    // Closing asks about the edits; No lets them go.
    H->Script().AnswerButton(AnswerNo);
}

void TestReading::fontSizeChangesLabelCount()
{
    writeFile(QStringLiteral("many.txt"), numberedLines(100));
    start();
    const int before = Form->LabelCount();
    Form->ContentsListBox->AddEntry(QStringLiteral("line 1= 001"));
    Form->FontSizeComboBox->setCurrentIndex(Form->FontSizeComboBox->count() - 1); // 120 points
    Form->FontSizeComboBoxChange();
    QCOMPARE(Form->TextFont().Size, 120);
    QVERIFY(Form->LabelCount() < before);
    QCOMPARE(Form->ContentsListBox->count(), 0);
    QVERIFY(Form->FindResearchButton->isVisible());
    QCOMPARE(Form->windowTitle(), QStringLiteral("  1 / %1").arg(Form->LineCount()));
}

void TestReading::mouseGestures()
{
    writeFile(QStringLiteral("many.txt"), numberedLines(100));
    start();
    const int page = Form->LabelCount();
    QLabel* label = Form->ReaderPanel->findChild<QLabel*>(QStringLiteral("ReaderLabel1"));
    QVERIFY(label);
    QTest::mouseClick(label, Qt::RightButton);
    QCOMPARE(Form->SlideState().ReadingLine, page);
    QTest::mouseClick(Form->ReaderPanel, Qt::LeftButton, {}, QPoint(3, 3));
    QCOMPARE(Form->SlideState().ReadingLine, 0);
    QTest::mouseClick(label, Qt::LeftButton, Qt::ShiftModifier);
    QVERIFY(Form->Action(QStringLiteral("SlideRead"))->isChecked());
    QVERIFY(Form->ReadTimer->isActive());
    QTest::mouseClick(label, Qt::LeftButton, Qt::ShiftModifier);
    QVERIFY(!Form->ReadTimer->isActive());
    const int open = Form->LeftPanel->width();
    QVERIFY(open >= 20);
    QTest::mouseClick(label, Qt::LeftButton, Qt::ControlModifier);
    QCOMPARE(Form->LeftPanel->width(), 2);
    QTest::mouseClick(label, Qt::LeftButton, Qt::ControlModifier);
    QCOMPARE(Form->LeftPanel->width(), qMax(50, Form->FormState().LeftPanelOpenWidth));
}

QTEST_MAIN(TestReading)
#include "tst_reading.moc"
