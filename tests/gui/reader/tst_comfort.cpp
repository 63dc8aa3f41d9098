#include "tests/support/WindowHarness.h"

#include "reader/ReaderLayout.h"
#include "tests/support/SearchDialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QMenuBar>
#include <QScrollBar>
#include <QWheelEvent>

// Reading with the keyboard and the wheel in the real window: keys pressed in the reader panel,
// the focus it takes and gets back, the place kept when the lines are laid out anew.
class TestComfort : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void keys_data();
    void keys();
    void intervalKeys();
    void focusComesBack();
    void wheelOverLabels();
    void placeKept_data();
    void placeKept();
    void statusStrip();
    void statusStripRemembered();
    void placesRemembered();
    void badPlacesFile();
    void fullScreen();
    void textPauses();

private:
    void pressAll(const QList<int>& keys, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    std::unique_ptr<TWindowHarness> H;
};

void TestComfort::init()
{
    H = std::make_unique<TWindowHarness>();
    QVERIFY(H->Write(QStringLiteral("a.txt"), NumberedLines(40)));
    H->Start();
    H->FitLabels(5);
}

void TestComfort::cleanup()
{
    QVERIFY2(H->Script().Unexpected().isEmpty(), qPrintable(H->Script().Unexpected().join(u'\n')));
    H.reset();
}

void TestComfort::pressAll(const QList<int>& keys, Qt::KeyboardModifiers modifiers)
{
    for (int key : keys)
        QTest::keyClick(H->Form->ReaderPanel, Qt::Key(key), modifiers);
}

void TestComfort::keys_data()
{
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("reading");
    QTest::newRow("space starts reading") << QList<int>{Qt::Key_Space} << "  1 / 40" << true;
    QTest::newRow("space again stops it")
        << QList<int>{Qt::Key_Space, Qt::Key_Space} << "  1 / 40" << false;
    QTest::newRow("page down") << QList<int>{Qt::Key_PageDown} << "  6 / 40" << false;
    QTest::newRow("page down, page up")
        << QList<int>{Qt::Key_PageDown, Qt::Key_PageDown, Qt::Key_PageUp} << "  6 / 40" << false;
    QTest::newRow("down, down, up")
        << QList<int>{Qt::Key_Down, Qt::Key_Down, Qt::Key_Up} << "  2 / 40" << false;
    QTest::newRow("end") << QList<int>{Qt::Key_End} << "  40 / 40" << false;
    QTest::newRow("end, home") << QList<int>{Qt::Key_End, Qt::Key_Home} << "  1 / 40" << false;
    QTest::newRow("paging while reading")
        << QList<int>{Qt::Key_Space, Qt::Key_PageDown} << "  6 / 40" << true;
}

void TestComfort::keys()
{
    QFETCH(QList<int>, keys);
    QFETCH(QString, caption);
    QFETCH(bool, reading);
    pressAll(keys);
    QCOMPARE(H->Form->windowTitle(), caption);
    QCOMPARE(H->Form->Action(QStringLiteral("SlideRead"))->isChecked(), reading);
    QCOMPARE(H->Form->ReadTimer->isActive(), reading);
    // The first label shows the line the caption counts.
    const int line = caption.section(u' ', 2, 2).toInt();
    QCOMPARE(H->LabelTexts().first(), QStringLiteral("line %1").arg(line, 2, 10, QChar(u'0')));
}

// + and - pick the neighbouring interval of the list while reading runs, the keypad's too.
void TestComfort::intervalKeys()
{
    QComboBox* box = H->Form->ReadTimerComboBox;
    box->setCurrentIndex(box->findText(QStringLiteral("   01000")));
    H->Form->ReadTimerComboBoxChange();
    pressAll({Qt::Key_Plus});
    QCOMPARE(box->currentText(), QStringLiteral("   01000")); // stopped: nothing changes
    pressAll({Qt::Key_Space, Qt::Key_Plus, Qt::Key_Plus});
    QCOMPARE(box->currentText(), QStringLiteral("   00500"));
    QCOMPARE(H->Form->ReadTimer->interval(), 500);
    pressAll({Qt::Key_Minus}, Qt::KeypadModifier);
    QCOMPARE(box->currentText(), QStringLiteral("   00750"));
    QCOMPARE(H->Form->ReadTimer->interval(), 750);
    QCOMPARE(H->Form->SlideState().SlideIntervalMs, 750);
    QVERIFY(H->Form->ReadTimer->isActive());
}

void TestComfort::focusComesBack()
{
    TQuorvelaneForm& form = *H->Form;
    form.MainRichEdit->setFocus();
    QTest::mouseClick(H->Labels().at(2), Qt::RightButton);
    QCOMPARE(form.focusWidget(), form.ReaderPanel);
    QCOMPARE(form.windowTitle(), QStringLiteral("  6 / 40")); // the click paged as well
    // An arrow key in the size list picks the next size; the next one belongs to the reader.
    const QString size = form.FontSizeComboBox->currentText();
    form.FontSizeComboBox->setFocus();
    QTest::keyClick(form.FontSizeComboBox, Qt::Key_Down);
    QVERIFY(form.FontSizeComboBox->currentText() != size);
    QCOMPARE(form.focusWidget(), form.ReaderPanel);
    const QString picked = form.FontSizeComboBox->currentText();
    QTest::keyClick(form.focusWidget(), Qt::Key_Down);
    QCOMPARE(form.FontSizeComboBox->currentText(), picked);
}

void TestComfort::wheelOverLabels()
{
    QLabel* label = H->Labels().at(1);
    const auto turn = [label](int delta) {
        QWheelEvent event(QPointF(5, 5), label->mapToGlobal(QPointF(5, 5)), QPoint(),
                          QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(label, &event);
    };
    const int lines = QApplication::wheelScrollLines();
    turn(-120);
    QCOMPARE(H->Form->SlideState().ReadingLine, lines);
    turn(-240);
    QCOMPARE(H->Form->SlideState().ReadingLine, 3 * lines);
    QCOMPARE(H->Form->ReadingLineScrollBar->value(), 3 * lines);
    turn(120);
    QCOMPARE(H->Form->SlideState().ReadingLine, 2 * lines);
}

namespace {

// Where each display line starts in the text view's plain text (paragraphs joined by '\n'): a
// line that ends its paragraph is followed by the paragraph's end.
QList<int> LineStarts(const TQuorvelaneForm& form)
{
    const QString text = form.MainRichEdit->toPlainText();
    QList<int> starts;
    int position = 0;
    for (int i = 0; i < form.LineCount(); ++i) {
        starts << position;
        position += int(form.Line(i).size());
        if (position < text.size() && text.at(position) == u'\n')
            ++position;
    }
    return starts << int(text.size()) + 1;
}

} // namespace

void TestComfort::placeKept_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<QString>("value");
    QTest::newRow("larger size") << "size"
                                 << "      20";
    QTest::newRow("smaller size") << "size"
                                  << "      08";
    QTest::newRow("spacing") << "spacing"
                             << "      10";
    QTest::newRow("narrower text view") << "width"
                                        << "300";
    QTest::newRow("another font") << "font"
                                  << "IPAMincho";
}

// The character at the top of the reader stays at the top, whatever the change lays out anew.
void TestComfort::placeKept()
{
    QFETCH(QString, change);
    QFETCH(QString, value);
    QFile sample(QStringLiteral(QV_TESTDATA_DIR "/sample-prose.sjis.txt"));
    QVERIFY(sample.open(QIODevice::ReadOnly));
    H.reset();
    H = std::make_unique<TWindowHarness>();
    QVERIFY(H->Write(QStringLiteral("prose.txt"), sample.readAll()));
    TQuorvelaneForm& form = H->Start();
    QVERIFY(form.LineCount() > 100);
    // A line inside a wrapped paragraph, past its first character.
    const QList<int> before = LineStarts(form);
    const QString text = form.MainRichEdit->toPlainText();
    int top = form.LineCount() / 2;
    while (top < form.LineCount() && text.at(before[top] - 1) == u'\n')
        ++top;
    form.ReadingLineScrollBar->setValue(top);
    form.ReadingLineScrollBarScroll(top);
    const int place = before.at(top);

    const auto pick = [&value](QComboBox* box) {
        box->setCurrentIndex(box->findText(value));
        QVERIFY(box->currentIndex() >= 0);
    };
    if (change == "size") {
        pick(form.FontSizeComboBox);
        form.FontSizeComboBoxChange();
    } else if (change == "spacing") {
        pick(form.LabelSpaceComboBox);
        form.LabelSpaceComboBoxChange();
    } else if (change == "width") {
        QList<int> sizes = form.MainSplitter->sizes();
        sizes[1] -= value.toInt();
        sizes[0] += value.toInt();
        form.MainSplitter->setSizes(sizes);
        H->Settle();
    } else {
        H->Script().AnswerFont(TFontSpec{value, 16, false, false, false, false, 0});
        form.SetFontExecute();
    }
    const QList<int> starts = LineStarts(form);
    if (change != "spacing")
        QVERIFY(starts.size() != before.size()); // the lines were laid out anew
    const int now = form.SlideState().ReadingLine;
    QVERIFY2(starts.at(now) <= place && place < starts.at(now + 1),
             qPrintable(QStringLiteral("line %1 starts at %2, the place is %3")
                            .arg(now)
                            .arg(starts.at(now))
                            .arg(place)));
    QCOMPARE(form.ReadingLineScrollBar->value(), now);
    QCOMPARE(H->LabelTexts().first(), form.Line(now));
    QCOMPARE(form.windowTitle(), QStringLiteral("  %1 / %2").arg(now + 1).arg(form.LineCount()));
}

// The strip follows the reader tick by tick and takes its room from the labels.
void TestComfort::statusStrip()
{
    TQuorvelaneForm& form = *H->Form;
    auto* strip = form.ReaderPanel->findChild<QLabel*>(QStringLiteral("ReaderStatusLabel"));
    QVERIFY(strip && strip->isHidden());
    const int labels = form.LabelCount();
    form.Action(QStringLiteral("ShowStatusStrip"))->trigger();
    QVERIFY(strip->isVisible());
    QCOMPARE(form.LabelCount(), ReaderLabelCount(form.ReaderPanel->height() - strip->height(),
                                                 H->LineHeight(), form.LabelSpacing()));
    QVERIFY(form.LabelCount() < labels);
    QVERIFY(strip->geometry().top() >= H->Labels().last()->geometry().bottom());

    form.ReadTimerComboBox->setCurrentIndex(form.ReadTimerComboBox->findText("   00500"));
    form.ReadTimerComboBoxChange();
    QTest::keyClick(form.ReaderPanel, Qt::Key_Space);
    // 40 lines of 7 characters; one line a slide at 500 ms.
    QCOMPARE(strip->text(),
             QStringLiteral("スライド中  500 ms × 1行  2.5%  840字/分  残り 0:20  a.txt"));
    H->Ticks(19);
    QCOMPARE(strip->text(),
             QStringLiteral("スライド中  500 ms × 1行  50.0%  840字/分  残り 0:11  a.txt"));
    QTest::mousePress(H->Labels().first(), Qt::RightButton, Qt::ShiftModifier);
    QVERIFY(strip->text().startsWith(QStringLiteral("一時停止  ")));
    QTest::mouseRelease(H->Labels().first(), Qt::RightButton, Qt::ShiftModifier);
    QTest::keyClick(form.ReaderPanel, Qt::Key_Space);
    QVERIFY(strip->text().startsWith(QStringLiteral("停止  500 ms")));
}

// The strip's state is kept in the settings file and comes back with the window.
void TestComfort::statusStripRemembered()
{
    H->Form->Action(QStringLiteral("ShowStatusStrip"))->trigger();
    H->Form->close();
    QFile ini(H->Dir.filePath(QStringLiteral("Quorvelane.ini")));
    QVERIFY(ini.open(QIODevice::ReadOnly));
    QVERIFY(ini.readAll().contains("[Comfort]\r\nStatusStrip=1"));
    H.reset();
    H = std::make_unique<TWindowHarness>();
    QVERIFY(H->Write(QStringLiteral("a.txt"), NumberedLines(40)));
    H->Start(false, "[Comfort]\r\nStatusStrip=1\r\n");
    QVERIFY(H->Form->Action(QStringLiteral("ShowStatusStrip"))->isChecked());
    QVERIFY(
        H->Form->ReaderPanel->findChild<QLabel*>(QStringLiteral("ReaderStatusLabel"))->isVisible());
}

// 位置を記憶: each file comes back where it was left, in this session and the next.
void TestComfort::placesRemembered()
{
    H.reset();
    H = std::make_unique<TWindowHarness>();
    QVERIFY(H->Write(QStringLiteral("a.txt"), NumberedLines(40)));
    QVERIFY(H->Write(QStringLiteral("b.txt"), NumberedLines(40, "other ")));
    TQuorvelaneForm& form = H->Start(false, "[Comfort]\r\nKeepPlaces=1\r\n");
    QVERIFY(form.Action(QStringLiteral("KeepPlaces"))->isChecked());
    H->FitLabels(5);
    pressAll({Qt::Key_PageDown, Qt::Key_PageDown});
    QCOMPARE(form.windowTitle(), QStringLiteral("  11 / 40"));
    form.FileNextExecute();
    QCOMPARE(form.windowTitle(), QStringLiteral("  1 / 40"));
    pressAll({Qt::Key_PageDown});
    form.FileBackExecute();
    QCOMPARE(form.windowTitle(), QStringLiteral("  11 / 40"));
    QCOMPARE(H->LabelTexts().first(), QStringLiteral("line 11"));

    TQuorvelaneForm& again = H->Restart();
    QVERIFY(QFile::exists(H->Dir.filePath(QStringLiteral("Quorvelane.places"))));
    QCOMPARE(again.windowTitle(), QStringLiteral("  11 / 40"));
    again.FileNextExecute();
    QCOMPARE(again.windowTitle(), QStringLiteral("  6 / 40"));

    // A file that shrank below its place opens at its last line.
    QVERIFY(H->Write(QStringLiteral("b.txt"), NumberedLines(3, "other ")));
    TQuorvelaneForm& third = H->Restart();
    QCOMPARE(third.FileState().CurrentFileName, H->Path(QStringLiteral("b.txt")));
    QCOMPARE(third.windowTitle(), QStringLiteral("  3 / 3"));
}

// A positions file that cannot be read is no places at all, and no message.
void TestComfort::badPlacesFile()
{
    H.reset();
    H = std::make_unique<TWindowHarness>();
    QVERIFY(H->Write(QStringLiteral("a.txt"), NumberedLines(40)));
    QFile places(H->Dir.filePath(QStringLiteral("Quorvelane.places")));
    QVERIFY(places.open(QIODevice::WriteOnly));
    places.write("7\t\xff\xfe\t" + H->Path(QStringLiteral("a.txt")).toUtf8() + "\n12\t0");
    places.close();
    TQuorvelaneForm& form = H->Start(false, "[Comfort]\r\nKeepPlaces=1\r\n");
    QCOMPARE(form.windowTitle(), QStringLiteral("  1 / 40"));
    QVERIFY(H->Script().Log().isEmpty());
}

// F11 leaves the reader alone on the screen; F11 or Esc brings every panel back as it was.
void TestComfort::fullScreen()
{
    TQuorvelaneForm& form = *H->Form;
    form.RightPanel->hide(); // hidden before: stays hidden after
    const int labels = form.LabelCount();
    const QList<QWidget*> around{form.menuBar(), form.LeftPanel, form.TextPanel};
    for (int key : {int(Qt::Key_F11), int(Qt::Key_Escape)}) {
        QTest::keyClick(&form, Qt::Key_F11);
        QVERIFY(form.isFullScreen());
        QVERIFY(form.Action(QStringLiteral("FullScreenReader"))->isChecked());
        for (QWidget* widget : around)
            QVERIFY(widget->isHidden());
        QCoreApplication::processEvents(); // the splitters give the reader the room
        H->Settle();
        QVERIFY(form.LabelCount() > labels);
        QTest::keyClick(form.ReaderPanel, Qt::Key_PageDown); // the reader keys still work
        QCOMPARE(form.windowTitle(),
                 QStringLiteral("  %1 / 40").arg(qMin(form.LabelCount(), 39) + 1));
        QTest::keyClick(form.ReaderPanel, Qt::Key_Home);
        QTest::keyClick(&form, Qt::Key(key));
        QVERIFY(!form.isFullScreen());
        for (QWidget* widget : around)
            QVERIFY(!widget->isHidden());
        QVERIFY(form.RightPanel->isHidden());
        QCoreApplication::processEvents();
        H->Settle();
        QCOMPARE(form.LabelCount(), labels);
    }
    QTest::keyClick(form.ReaderPanel, Qt::Key_Escape); // Esc alone does nothing
    QVERIFY(!form.isFullScreen());
}

// The pauses wait one tick at a paragraph after a blank line and at a heading the contents
// search found; the check is remembered.
void TestComfort::textPauses()
{
    H.reset();
    H = std::make_unique<TWindowHarness>();
    QVERIFY(H->Write(QStringLiteral("a.txt"), "a 01\r\n\r\nb 01\r\n(1) c\r\nd 01\r\n"));
    TQuorvelaneForm& form = H->Start();
    SearchDialogs::script(H->Script(), {"in:()", "in:0", "no"});
    form.Action(QStringLiteral("FindContents"))->trigger();
    QCOMPARE(H->Script().LogLines().last(), SearchDialogs::found(1));
    form.Action(QStringLiteral("TextPauses"))->trigger();
    QTest::keyClick(form.ReaderPanel, Qt::Key_Space);
    QStringList captions;
    for (int tick = 0; tick < 6; ++tick) {
        form.ReadTimerTimer();
        captions << form.windowTitle();
    }
    QCOMPARE(captions,
             (QStringList{"  2 / 5", "  3 / 5", "  3 / 5", "  4 / 5", "  4 / 5", "  5 / 5"}));
    form.close();
    QVERIFY(H->SettingsBytes().contains("KeepPlaces=0\r\nTextPauses=1\r\n"));
}

QTEST_MAIN(TestComfort)
#include "tst_comfort.moc"
