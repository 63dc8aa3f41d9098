#include "tests/support/WindowHarness.h"

#include "platform/Colors.h"

#include <QComboBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>

// The reader through the real main window: captions and labels after a load, ticks, the end
// of the text, paging, the scroll bar, the label layout, fonts and colours, edits and clicks.
class TestReaderWindow : public QObject
{
    Q_OBJECT

private slots:
    void captionAndLabelsAfterLoad();
    void ticksMoveBySlideStep_data();
    void ticksMoveBySlideStep();
    void endOfText_data();
    void endOfText();
    void variableSpeedStepsThroughIntervals();
    void variableSpeedReadsEachListFileOncePerInterval();
    void paging();
    void scrollBar();
    void labelLayout_data();
    void labelLayout();
    void labelCountAtExactHeight_data();
    void labelCountAtExactHeight();
    void onePageStep();
    void fontSizeChangeEmptiesContents();
    void setFont_data();
    void setFont();
    void backColorAndColourScheme();
    void typingRebuildsWithTheViewsLines();
    void mouseGestures_data();
    void mouseGestures();
    void shiftRightPausesUntilRelease();
};

namespace {

QString Caption(int line, int n)
{
    return QStringLiteral("  %1 / %2").arg(line).arg(n);
}

int StepIndex(const QComboBox* box, int step)
{
    return box->findText(QString::number(step).rightJustified(2, u'0').rightJustified(8, u' '));
}

void SelectStep(TQuorvelaneForm& form, int step)
{
    form.LabelStepComboBox->setCurrentIndex(StepIndex(form.LabelStepComboBox, step));
    form.LabelStepComboBoxChange();
}

} // namespace

void TestReaderWindow::captionAndLabelsAfterLoad()
{
    TWindowHarness h;
    QVERIFY(h.Write(QStringLiteral("a.txt"), NumberedLines(10)));
    TQuorvelaneForm& form = h.Start();
    QCOMPARE(form.LineCount(), 10);
    QCOMPARE(form.windowTitle(), Caption(1, 10));
    QVERIFY(form.LabelCount() > 11);
    const QStringList labels = h.LabelTexts();
    QCOMPARE(labels.size(), form.LabelCount());
    for (int i = 0; i < 10; ++i)
        QCOMPARE(labels[i], form.Line(i));
    QCOMPARE(labels[0], QStringLiteral("line 01"));
    QCOMPARE(labels[10], QStringLiteral("[EOF]"));
    for (int i = 11; i < labels.size(); ++i)
        QVERIFY(labels[i].isEmpty());
    QCOMPARE(form.ReadingLineScrollBar->maximum(), 9);
    QCOMPARE(form.ReadingLineScrollBar->pageStep(), form.LabelCount());
    QVERIFY(form.FindResearchButton->isVisible());
}

void TestReaderWindow::ticksMoveBySlideStep_data()
{
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("step");
    QTest::addColumn<QList<int>>("positions");
    QTest::newRow("step 1") << 10 << 1 << QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    QTest::newRow("step 3") << 10 << 3 << QList<int>{1, 4, 7, 10};
    QTest::newRow("step 3, last step lands past the end") << 9 << 3 << QList<int>{1, 4, 7};
}

// Three labels; the position of the first line runs through the text, then the end stops it.
void TestReaderWindow::ticksMoveBySlideStep()
{
    QFETCH(int, lines);
    QFETCH(int, step);
    QFETCH(QList<int>, positions);
    TWindowHarness h;
    QVERIFY(h.Write(QStringLiteral("a.txt"), NumberedLines(lines)));
    TQuorvelaneForm& form = h.Start();
    h.FitLabels(3);
    QCOMPARE(form.LabelCount(), 3);
    SelectStep(form, step);
    QCOMPARE(form.SlideState().SlideStep, step);

    QAction* slideRead = form.Action(QStringLiteral("SlideRead"));
    slideRead->trigger();
    QVERIFY(slideRead->isChecked());
    QVERIFY(form.ReadTimer->isActive());
    QCOMPARE(form.ReadTimer->interval(), form.SlideState().SlideIntervalMs);
    for (int i = 0; i < positions.size(); ++i) {
        if (i > 0)
            form.ReadTimerTimer();
        QCOMPARE(form.windowTitle(), Caption(positions[i], lines));
        QCOMPARE(form.ReadingLineScrollBar->value(), positions[i] - 1);
    }
    if (positions.last() == lines - 1)
        QCOMPARE(h.LabelTexts(), (QStringList{form.Line(lines - 2), form.Line(lines - 1),
                                              QStringLiteral("[EOF]")}));
    QVERIFY(form.ReadTimer->isActive());
    form.ReadTimerTimer();
    QVERIFY(!form.ReadTimer->isActive());
    QVERIFY(!slideRead->isChecked());
    QCOMPARE(form.windowTitle(), Caption(1, lines));
    QCOMPARE(h.LabelTexts(), (QStringList{QStringLiteral("line 01"), QStringLiteral("line 02"),
                                          QStringLiteral("line 03")}));
    QCOMPARE(form.ReadingLineScrollBar->value(), 0);
}

void TestReaderWindow::endOfText_data()
{
    QTest::addColumn<bool>("repeat");
    QTest::addColumn<bool>("list");
    QTest::addColumn<int>("startRow");
    QTest::addColumn<bool>("running");
    QTest::addColumn<int>("shownRow");
    QTest::newRow("stop") << false << false << 0 << false << 0;
    QTest::newRow("repeat") << true << false << 0 << true << 0;
    QTest::newRow("list goes to the next file") << false << true << 0 << true << 1;
    QTest::newRow("list from the middle") << false << true << 1 << true << 2;
    QTest::newRow("list at the last file stops on the first") << false << true << 2 << false << 0;
    QTest::newRow("list and repeat at the last file go on") << true << true << 2 << true << 0;
}

void TestReaderWindow::endOfText()
{
    QFETCH(bool, repeat);
    QFETCH(bool, list);
    QFETCH(int, startRow);
    QFETCH(bool, running);
    QFETCH(int, shownRow);
    TWindowHarness h;
    const QStringList names{QStringLiteral("a.txt"), QStringLiteral("b.txt"),
                            QStringLiteral("c.txt")};
    for (int i = 0; i < names.size(); ++i)
        QVERIFY(h.Write(names[i], NumberedLines(2 + i, QByteArray(1, char('a' + i)) + " ")));
    TQuorvelaneForm& form = h.Start();
    form.FileNameListBox->setCurrentRow(startRow);
    form.FileNameListBoxClick();
    const int n = form.LineCount();
    QCOMPARE(n, 2 + startRow);
    if (repeat)
        form.Action(QStringLiteral("SlideRepeat"))->trigger();
    if (list)
        form.Action(QStringLiteral("ListSlideRead"))->trigger();
    QCOMPARE(form.SlideState().SlideRepeat, repeat);
    QCOMPARE(form.SlideState().ListSlideRead, list);
    form.Action(QStringLiteral("SlideRead"))->trigger();
    h.Ticks(n - 1);
    QCOMPARE(form.windowTitle(), Caption(n, n));
    form.ReadTimerTimer();

    QCOMPARE(form.ReadTimer->isActive(), running);
    QCOMPARE(form.Action(QStringLiteral("SlideRead"))->isChecked(), running);
    QVERIFY(!form.Action(QStringLiteral("CanChangeSlideRead"))->isChecked());
    QCOMPARE(form.FileNameListBox->currentRow(), shownRow);
    QCOMPARE(form.FileNameListBox->toolTip(), h.Path(names[shownRow]));
    const int shown = form.LineCount();
    QCOMPARE(shown, 2 + shownRow);
    QCOMPARE(form.windowTitle(), Caption(1, shown));
    QCOMPARE(form.SlideState().ReadingLine, 0);
    const QStringList labels = h.LabelTexts();
    QCOMPARE(labels[0], form.Line(0));
    // A wrap shows the end marker with dots; a newly loaded file shows the plain one.
    const bool wrapped = shownRow == startRow;
    QCOMPARE(labels[shown], wrapped ? QStringLiteral("...[EOF]") : QStringLiteral("[EOF]"));
    QVERIFY(labels[shown + 1].isEmpty());
}

void TestReaderWindow::variableSpeedStepsThroughIntervals()
{
    TWindowHarness h;
    QVERIFY(h.Write(QStringLiteral("a.txt"), NumberedLines(3)));
    TQuorvelaneForm& form = h.Start();
    form.Action(QStringLiteral("SlideRepeat"))->trigger();
    // Plain reading first: F4 switches it to variable speed.
    form.Action(QStringLiteral("SlideRead"))->trigger();
    QAction* variable = form.Action(QStringLiteral("CanChangeSlideRead"));
    variable->trigger();
    QVERIFY(variable->isChecked());
    QVERIFY(!form.Action(QStringLiteral("SlideRead"))->isChecked());
    QVERIFY(form.ReadTimer->isActive());
    QList<int> intervals{form.ReadTimer->interval()};
    for (int pass = 0; pass < 3; ++pass) {
        h.Ticks(3);
        QCOMPARE(form.windowTitle(), Caption(1, 3));
        QVERIFY(form.ReadTimer->isActive());
        intervals << form.ReadTimer->interval();
    }
    QCOMPARE(intervals, (QList<int>{100, 250, 500, 100}));
    // Shift + left stops variable-speed reading.
    QTest::mouseClick(form.ReaderPanel, Qt::LeftButton, Qt::ShiftModifier, QPoint(3, 3));
    QVERIFY(!variable->isChecked());
    QVERIFY(!form.ReadTimer->isActive());
}

void TestReaderWindow::variableSpeedReadsEachListFileOncePerInterval()
{
    TWindowHarness h;
    QVERIFY(h.Write(QStringLiteral("a.txt"), NumberedLines(2, "a ")));
    QVERIFY(h.Write(QStringLiteral("b.txt"), NumberedLines(2, "b ")));
    TQuorvelaneForm& form = h.Start();
    form.Action(QStringLiteral("ListSlideRead"))->trigger();
    form.Action(QStringLiteral("CanChangeSlideRead"))->trigger();
    QList<int> intervals;
    QStringList files;
    for (int pass = 0; pass < 4; ++pass) {
        h.Ticks(2);
        intervals << form.ReadTimer->interval();
        files << QFileInfo(form.FileState().CurrentFileName).fileName();
        QVERIFY(form.ReadTimer->isActive());
    }
    QCOMPARE(intervals, (QList<int>{250, 500, 100, 250}));
    QCOMPARE(files, (QStringList{"a.txt", "a.txt", "b.txt", "b.txt"}));
    QCOMPARE(form.Line(0), QStringLiteral("b 01"));
}

void TestReaderWindow::paging()
{
    TWindowHarness h;
    QVERIFY(h.Write(QStringLiteral("a.txt"), NumberedLines(20)));
    TQuorvelaneForm& form = h.Start();
    h.FitLabels(7);
    QCOMPARE(form.LabelCount(), 7);
    QAction* next = form.Action(QStringLiteral("PageNext"));
    QAction* back = form.Action(QStringLiteral("PageBack"));
    back->trigger();
    QCOMPARE(form.windowTitle(), Caption(1, 20));
    next->trigger();
    QCOMPARE(form.windowTitle(), Caption(8, 20));
    QCOMPARE(h.LabelTexts().first(), QStringLiteral("line 08"));
    next->trigger();
    QCOMPARE(form.windowTitle(), Caption(15, 20));
    // Less than a page before the end: the last line comes into the first label.
    next->trigger();
    QCOMPARE(form.windowTitle(), Caption(20, 20));
    QCOMPARE(h.LabelTexts().mid(0, 3),
             (QStringList{QStringLiteral("line 20"), QStringLiteral("[EOF]"), QString()}));
    next->trigger();
    QCOMPARE(form.windowTitle(), Caption(20, 20));
    back->trigger();
    QCOMPARE(form.windowTitle(), Caption(13, 20));
    QVERIFY(!form.ReadTimer->isActive());
}

void TestReaderWindow::scrollBar()
{
    TWindowHarness h;
    QVERIFY(h.Write(QStringLiteral("a.txt"), NumberedLines(30)));
    TQuorvelaneForm& form = h.Start();
    h.FitLabels(5);
    QScrollBar* bar = form.ReadingLineScrollBar;
    QCOMPARE(bar->minimum(), 0);
    QCOMPARE(bar->maximum(), 29);
    QCOMPARE(bar->pageStep(), 5);
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    QCOMPARE(form.windowTitle(), Caption(2, 30));
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    QCOMPARE(form.windowTitle(), Caption(7, 30));
    QCOMPARE(h.LabelTexts().first(), QStringLiteral("line 07"));
    bar->triggerAction(QAbstractSlider::SliderToMaximum);
    QCOMPARE(form.windowTitle(), Caption(30, 30));
    QCOMPARE(h.LabelTexts().mid(0, 2), (QStringList{QStringLiteral("line 30"), "[EOF]"}));
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    QCOMPARE(form.windowTitle(), Caption(30, 30));
    bar->triggerAction(QAbstractSlider::SliderToMinimum);
    QCOMPARE(form.windowTitle(), Caption(1, 30));
    QCOMPARE(form.SlideState().ReadingLine, 0);
}

void TestReaderWindow::labelLayout_data()
{
    QTest::addColumn<QString>("size");
    QTest::addColumn<QString>("spacing");
    QTest::newRow("10 pt, 2 px") << "      10"
                                 << "      02";
    QTest::newRow("4 pt, labels touch") << "      04"
                                        << "      00";
    QTest::newRow("36 pt, 20 px") << "      36"
                                  << "      20";
    QTest::newRow("120 pt: only the zero label") << "     120"
                                                 << "      20";
}

// The labels that fit the panel for the font size and spacing, where they stand, their font.
void TestReaderWindow::labelLayout()
{
    QFETCH(QString, size);
    QFETCH(QString, spacing);
    TWindowHarness h;
    QVERIFY(h.Write(QStringLiteral("a.txt"), NumberedLines(40)));
    TQuorvelaneForm& form = h.Start();
    form.FontSizeComboBox->setCurrentIndex(form.FontSizeComboBox->findText(size));
    form.FontSizeComboBoxChange();
    form.LabelSpaceComboBox->setCurrentIndex(form.LabelSpaceComboBox->findText(spacing));
    form.LabelSpaceComboBoxChange();
    const int points = size.trimmed().toInt();
    const int gap = spacing.trimmed().toInt();
    QCOMPARE(form.MainRichEdit->font().pointSize(), points);
    QCOMPARE(form.LabelSpacing(), gap);

    const int line = h.LineHeight();
    const int fit = int((form.ReaderPanel->height() - 12) / double(line + gap));
    const int expected = qMax(1, fit);
    QCOMPARE(form.LabelCount(), expected);
    const QList<QLabel*> labels = h.Labels();
    QCOMPARE(labels.size(), expected);
    // The labels of earlier layouts are gone.
    QCOMPARE(form.ReaderPanel
                 ->findChildren<QLabel*>(QRegularExpression(QStringLiteral("^ReaderLabel")),
                                         Qt::FindDirectChildrenOnly)
                 .size(),
             expected);
    for (int i = 0; i < labels.size(); ++i) {
        QCOMPARE(labels[i]->pos(), QPoint(6, 6 + i * (line + gap)));
        QCOMPARE(labels[i]->height(), line);
        QCOMPARE(labels[i]->font().pointSize(), points);
        QCOMPARE(labels[i]->text(), i < 40 ? form.Line(i) : i == 40 ? "[EOF]" : QString());
    }
    QCOMPARE(form.ReadingLineScrollBar->pageStep(), expected);
    if (points == 120)
        QVERIFY(form.ReaderPanel->height() < 12 + 2 * (line + gap));
}

void TestReaderWindow::labelCountAtExactHeight_data()
{
    QTest::addColumn<int>("k");
    QTest::addColumn<int>("extra");
    QTest::addColumn<int>("labels");
    QTest::newRow("2 exactly") << 2 << 0 << 2;
    QTest::newRow("2 less one pixel") << 2 << -1 << 1;
    QTest::newRow("7 exactly") << 7 << 0 << 7;
    QTest::newRow("7 less one pixel") << 7 << -1 << 6;
    QTest::newRow("7 and almost another") << 7 << 10 << 7;
}

void TestReaderWindow::labelCountAtExactHeight()
{
    QFETCH(int, k);
    QFETCH(int, extra);
    QFETCH(int, labels);
    TWindowHarness h;
    QVERIFY(h.Write(QStringLiteral("a.txt"), NumberedLines(3)));
    TQuorvelaneForm& form = h.Start();
    QVERIFY(extra < h.LineHeight() + form.LabelSpacing());
    h.FitLabels(k, extra);
    QCOMPARE(form.ReaderPanel->height(), 12 + k * (h.LineHeight() + form.LabelSpacing()) + extra);
    QCOMPARE(form.LabelCount(), labels);
    QCOMPARE(form.ReadingLineScrollBar->pageStep(), labels);
}

void TestReaderWindow::onePageStep()
{
    TWindowHarness h;
    QVERIFY(h.Write(QStringLiteral("a.txt"), NumberedLines(40)));
    TQuorvelaneForm& form = h.Start();
    h.FitLabels(7);
    QComboBox* steps = form.LabelStepComboBox;
    const int onePage = steps->count() - 1;
    QCOMPARE(steps->itemText(onePage), QStringLiteral("  1ﾍﾟｰｼﾞ毎"));
    SelectStep(form, 50);
    QCOMPARE(form.SlideState().SlideStep, 7);
    QCOMPARE(steps->currentIndex(), onePage);
    SelectStep(form, 7);
    QCOMPARE(steps->currentIndex(), StepIndex(steps, 7));
    QCOMPARE(form.SlideState().SlideStep, 7);

    steps->setCurrentIndex(onePage);
    form.LabelStepComboBoxChange();
    QCOMPARE(form.SlideState().SlideStep, 7);
    // A smaller font fits more lines; the page step follows when reading starts.
    form.FontSizeComboBox->setCurrentIndex(form.FontSizeComboBox->findText("      08"));
    form.FontSizeComboBoxChange();
    QVERIFY(form.LabelCount() > 7);
    QCOMPARE(form.SlideState().SlideStep, 7);
    form.Action(QStringLiteral("SlideRead"))->trigger();
    QCOMPARE(form.SlideState().SlideStep, form.LabelCount());
    form.ReadTimerTimer();
    QCOMPARE(form.windowTitle(), Caption(form.LabelCount() + 1, 40));
}

void TestReaderWindow::fontSizeChangeEmptiesContents()
{
    TWindowHarness h;
    QByteArray longLines;
    for (int i = 0; i < 10; ++i)
        longLines +=
            "a paragraph of several words that wraps in a large font but not in a small one\r\n";
    QVERIFY(h.Write(QStringLiteral("a.txt"), longLines));
    TQuorvelaneForm& form = h.Start();
    const int before = form.LineCount();
    form.ContentsListBox->AddEntry(QStringLiteral("line 01= 1"));
    form.FindResearchButton->hide();
    form.FontSizeComboBox->setCurrentIndex(form.FontSizeComboBox->findText("      24"));
    form.FontSizeComboBoxChange();
    QCOMPARE(form.ContentsListBox->count(), 0);
    QVERIFY(form.FindResearchButton->isVisible());
    QVERIFY(form.LineCount() > before);
    QCOMPARE(form.LineCount(), int(h.WidgetLines().size()));
    // The caption shows the position in the lines as they are now numbered.
    QCOMPARE(form.windowTitle(), Caption(1, form.LineCount()));
}

void TestReaderWindow::setFont_data()
{
    QTest::addColumn<int>("chosen");
    QTest::addColumn<QString>("item");
    QTest::newRow("13 snaps to 14") << 13 << "      14";
    QTest::newRow("7 snaps to 8") << 7 << "      08";
    QTest::newRow("130 becomes 120") << 130 << "     120";
    QTest::newRow("cancelled") << 0 << "      10";
}

void TestReaderWindow::setFont()
{
    QFETCH(int, chosen);
    QFETCH(QString, item);
    TWindowHarness h;
    QVERIFY(h.Write(QStringLiteral("a.txt"), NumberedLines(5)));
    TQuorvelaneForm& form = h.Start();
    const QString caption = form.windowTitle();
    TFontSpec answer{QStringLiteral("IPAGothic"), chosen, true, false, false, false, 0x0000ff};
    h.Script().AnswerFont(chosen ? std::optional<TFontSpec>(answer) : std::nullopt);
    form.Action(QStringLiteral("SetFont"))->trigger();
    QCOMPARE(h.Script().PendingAnswers(), 0);
    QCOMPARE(form.FontSizeComboBox->currentText(), item);
    const int points = item.trimmed().toInt();
    QCOMPARE(form.TextFont().Size, points);
    QCOMPARE(form.MainRichEdit->font().pointSize(), points);
    QCOMPARE(form.windowTitle(), chosen ? Caption(1, form.LineCount()) : caption);
    for (QLabel* label : h.Labels()) {
        QCOMPARE(label->font().pointSize(), points);
        QCOMPARE(label->font().bold(), chosen != 0);
        QCOMPARE(label->palette().color(QPalette::WindowText),
                 chosen ? QColor(Qt::red) : QColor(Qt::black));
    }
    QCOMPARE(h.Labels().size(), form.LabelCount());
}

void TestReaderWindow::backColorAndColourScheme()
{
    TWindowHarness h;
    QVERIFY(h.Write(QStringLiteral("a.txt"), NumberedLines(5)));
    TQuorvelaneForm& form = h.Start();
    const QColor green(0, 255, 0);
    h.Script().AnswerColor(0x00ff00);
    form.Action(QStringLiteral("SetBackColor"))->trigger();
    QCOMPARE(form.ReaderPanel->palette().color(QPalette::Window), green);
    // Without the scheme the rest of the window keeps its default colours.
    QCOMPARE(form.FileNameListBox->palette().color(QPalette::Base),
             ColorFromTColor(TColors::Window));

    h.Script().AnswerFont(
        TFontSpec{QStringLiteral("IPAGothic"), 10, false, false, false, false, 0xff0000});
    form.Action(QStringLiteral("SetFont"))->trigger();
    QAction* reflect = form.Action(QStringLiteral("ReflectFormAll"));
    reflect->trigger();
    QVERIFY(reflect->isChecked());
    const QColor blue(0, 0, 255);
    QCOMPARE(form.FileNameListBox->palette().color(QPalette::Base), green);
    QCOMPARE(form.MainRichEdit->palette().color(QPalette::Base), green);
    QCOMPARE(form.DrivePanel->palette().color(QPalette::Window), green);
    QCOMPARE(form.FileNameListBox->palette().color(QPalette::Text), blue);
    QCOMPARE(form.SlideTimeLabel->palette().color(QPalette::WindowText), blue);

    // With the scheme on, a new background reaches the lists but no font colour changes.
    const QColor red(255, 0, 0);
    h.Script().AnswerColor(0x0000ff);
    form.Action(QStringLiteral("SetBackColor"))->trigger();
    QCOMPARE(form.ContentsListBox->palette().color(QPalette::Base), red);
    QCOMPARE(form.SettingPanel->palette().color(QPalette::Window), red);
    QCOMPARE(form.ContentsListBox->palette().color(QPalette::Text), blue);

    reflect->trigger();
    QVERIFY(!reflect->isChecked());
    QCOMPARE(form.FileNameListBox->palette().color(QPalette::Base),
             ColorFromTColor(TColors::Window));
    QCOMPARE(form.DrivePanel->palette().color(QPalette::Window),
             ColorFromTColor(TColors::ButtonFace));
    QCOMPARE(form.FileNameListBox->palette().color(QPalette::Text), QColor(Qt::black));
    QCOMPARE(form.ReaderPanel->palette().color(QPalette::Window), red);
    QCOMPARE(h.Script().PendingAnswers(), 0);
}

void TestReaderWindow::typingRebuildsWithTheViewsLines()
{
    TWindowHarness h;
    QVERIFY(h.Write(QStringLiteral("a.txt"), "first\r\nsecond\r\n"));
    TQuorvelaneForm& form = h.Start();
    QCOMPARE(form.LineCount(), 2);
    QVERIFY(!form.FileState().IgnoreTextChange);
    TMainRichEdit* edit = form.MainRichEdit;
    edit->SetCursor(edit->Cursor().End(), edit->Cursor().End());
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(form.LineCount(), 3);
    QCOMPARE(form.windowTitle(), Caption(1, 3));
    QCOMPARE(h.LabelTexts().mid(0, 4), (QStringList{"first", "second", QString(), "[EOF]"}));

    QTest::keyClicks(edit, QStringLiteral("typed words that go on long enough to wrap at the "
                                          "width of the text view more than once or twice"));
    QVERIFY(form.LineCount() > 4);
    const QStringList shown = h.WidgetLines();
    QCOMPARE(form.LineCount(), int(shown.size()));
    for (int i = 0; i < shown.size(); ++i)
        QCOMPARE(form.Line(i), shown[i]);
    QCOMPARE(h.LabelTexts().mid(0, shown.size()), shown);
    QCOMPARE(form.windowTitle(), Caption(1, int(shown.size())));

    // Removing the first line renumbers the rest.
    edit->SetCursor({0, 5}, {});
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClick(edit, Qt::Key_Delete);
    QCOMPARE(form.Line(0), QStringLiteral("second"));
    QCOMPARE(form.LineCount(), int(h.WidgetLines().size()));
    QCOMPARE(h.LabelTexts().first(), QStringLiteral("second"));
}

void TestReaderWindow::mouseGestures_data()
{
    QTest::addColumn<bool>("onLabel");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<QString>("effect");
    const auto none = Qt::KeyboardModifiers();
    for (const bool onLabel : {false, true}) {
        const char* where = onLabel ? "label: " : "panel: ";
        auto row = [&](const char* name) -> QTestData& {
            return QTest::newRow(qPrintable(where + QString(name)));
        };
        row("left pages back") << onLabel << Qt::LeftButton << none << "back";
        row("right pages on") << onLabel << Qt::RightButton << none << "next";
        row("alt is ignored") << onLabel << Qt::RightButton
                              << Qt::KeyboardModifiers(Qt::AltModifier) << "next";
        row("shift left starts and stops")
            << onLabel << Qt::LeftButton << Qt::KeyboardModifiers(Qt::ShiftModifier) << "toggle";
        row("ctrl left folds and opens the left panel")
            << onLabel << Qt::LeftButton << Qt::KeyboardModifiers(Qt::ControlModifier) << "left";
        row("ctrl right folds and opens the right panel")
            << onLabel << Qt::RightButton << Qt::KeyboardModifiers(Qt::ControlModifier) << "right";
        row("middle does nothing") << onLabel << Qt::MiddleButton << none << "none";
    }
}

void TestReaderWindow::mouseGestures()
{
    QFETCH(bool, onLabel);
    QFETCH(Qt::MouseButton, button);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(QString, effect);
    TWindowHarness h;
    QVERIFY(h.Write(QStringLiteral("a.txt"), NumberedLines(30)));
    TQuorvelaneForm& form = h.Start();
    h.FitLabels(5);
    form.Action(QStringLiteral("PageNext"))->trigger();
    QCOMPARE(form.windowTitle(), Caption(6, 30));
    QWidget* target = onLabel ? static_cast<QWidget*>(h.Labels().at(2)) : form.ReaderPanel;
    const int left = form.LeftPanel->width();
    const int right = form.RightPanel->width();
    QVERIFY(left > 20 && right > 20);
    const QPoint at(4, 4);

    QTest::mouseClick(target, button, modifiers, at);
    if (effect == u"back") {
        QCOMPARE(form.windowTitle(), Caption(1, 30));
    } else if (effect == u"next") {
        QCOMPARE(form.windowTitle(), Caption(11, 30));
    } else if (effect == u"toggle") {
        QVERIFY(form.Action(QStringLiteral("SlideRead"))->isChecked());
        QVERIFY(form.ReadTimer->isActive());
        QCOMPARE(form.windowTitle(), Caption(6, 30));
        QTest::mouseClick(target, button, modifiers, at);
        QVERIFY(!form.Action(QStringLiteral("SlideRead"))->isChecked());
        QVERIFY(!form.ReadTimer->isActive());
    } else if (effect == u"left" || effect == u"right") {
        QWidget* panel = effect == u"left" ? form.LeftPanel : form.RightPanel;
        const int open = effect == u"left" ? left : right;
        QCOMPARE(panel->width(), 2);
        QTest::mouseClick(target, button, modifiers, at);
        QCOMPARE(panel->width(), open);
        QCOMPARE(form.windowTitle(), Caption(6, 30));
    } else {
        QCOMPARE(form.windowTitle(), Caption(6, 30));
        QVERIFY(!form.ReadTimer->isActive());
    }
}

void TestReaderWindow::shiftRightPausesUntilRelease()
{
    TWindowHarness h;
    QVERIFY(h.Write(QStringLiteral("a.txt"), NumberedLines(30)));
    TQuorvelaneForm& form = h.Start();
    // Stopped: the press and the release do nothing.
    QTest::mousePress(form.ReaderPanel, Qt::RightButton, Qt::ShiftModifier, QPoint(3, 3));
    QVERIFY(!form.SlideState().PausedByMouse);
    QTest::mouseRelease(form.ReaderPanel, Qt::RightButton, Qt::ShiftModifier, QPoint(3, 3));
    QVERIFY(!form.ReadTimer->isActive());
    QCOMPARE(form.windowTitle(), Caption(1, 30));

    form.Action(QStringLiteral("SlideRead"))->trigger();
    QLabel* label = h.Labels().at(1);
    QTest::mousePress(label, Qt::RightButton, Qt::ShiftModifier, QPoint(3, 3));
    QVERIFY(form.SlideState().PausedByMouse);
    QVERIFY(!form.ReadTimer->isActive());
    QVERIFY(form.Action(QStringLiteral("SlideRead"))->isChecked());
    QTest::mouseRelease(label, Qt::RightButton, Qt::ShiftModifier, QPoint(3, 3));
    QVERIFY(!form.SlideState().PausedByMouse);
    QVERIFY(form.ReadTimer->isActive());
}

QTEST_MAIN(TestReaderWindow)
#include "tst_readerwindow.moc"
