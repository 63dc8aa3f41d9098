#include "reader/ReaderLayout.h"
#include "reader/SlideEngine.h"
#include "tests/support/ScriptedDialogs.h"

#include <QTest>

namespace {

// The four check marks of the Reading menu as one text.
QString Checks(const TSlideState& state)
{
    return QString::fromLatin1(state.SlideRead ? "S" : "-") +
           (state.CanChangeSlideRead ? "C" : "-") + (state.SlideRepeat ? "R" : "-") +
           (state.ListSlideRead ? "L" : "-");
}

QStringList MakeLines(const QString& prefix, int count)
{
    QStringList lines;
    for (int i = 1; i <= count; ++i)
        lines << prefix + QString::number(i);
    return lines;
}

// The main window as the engine sees it. It logs what a user would notice: the timer going on
// and off, interval changes, files loaded, side panels folded, the lines-per-slide handler.
class TFakeReader final : public TReaderPort
{
public:
    TSlideState* State = nullptr;
    TSlideEngine* Engine = nullptr;

    QStringList Lines;
    QStringList Labels;
    QString Caption;
    bool Running = false;
    int Interval = 1000;
    int Tag = 0;
    int Position = 0;
    QList<QStringList> Files;
    int Selected = -1;
    int StepIndex = 0;
    QStringList Log;

    QString Frame() const { return Labels.join(u'|'); }

    int LineCount() const override { return int(Lines.size()); }
    QString Line(int i) const override { return Lines.at(i); }
    // Lines that carry on a wrapped paragraph, and the contents list's headings.
    QList<int> Continued;
    QList<int> Headings;
    bool StartsParagraph(int i) const override { return !Continued.contains(i); }
    bool IsContentsHeading(int i) const override { return Headings.contains(i); }
    int LabelCount() const override { return int(Labels.size()); }
    void SetLabelText(int i, const QString& text) override { Labels[i] = text; }
    void SetCaption(const QString& text) override { Caption = text; }

    bool IsTimerRunning() const override { return Running; }
    void StartTimer() override
    {
        if (!Running)
            Log << QStringLiteral("start");
        Running = true;
    }
    void StopTimer() override
    {
        if (Running)
            Log << QStringLiteral("stop");
        Running = false;
    }
    void SetTimerInterval(int ms) override
    {
        if (ms != Interval)
            Log << QStringLiteral("interval %1").arg(ms);
        Interval = ms;
    }
    int TimerInterval() const override { return Interval; }
    int TimerTag() const override { return Tag; }
    void SetTimerTag(int tag) override { Tag = tag; }

    void SetScrollPosition(int position) override
    {
        Position = qBound(0, position, qMax(LineCount() - 1, 0));
    }
    int ScrollPosition() const override { return Position; }
    int ScrollLargeChange() const override { return LabelCount(); }
    // What the menu shows: updated only when the engine tells.
    QString Menu = QStringLiteral("----");
    void ChecksChanged() override { Menu = Checks(*State); }

    int FileListCount() const override { return int(Files.size()); }
    int FileListSelectedIndex() const override { return Selected; }
    void SelectFileListEntry(int i) override { Selected = i; }
    // As the text loading does: new text, reader at the top, rebuild; or, for the files in
    // Stay, nothing, as when the user stays on an edited text.
    QList<int> Stay;
    bool LoadSelectedFile() override
    {
        if (Stay.contains(Selected)) {
            Log << QStringLiteral("stay %1").arg(Selected);
            return false;
        }
        Log << QStringLiteral("load %1").arg(Selected);
        Lines = Files.at(Selected);
        State->ReadingLine = 0;
        Position = 0;
        Engine->ShowReadingLines();
        return true;
    }
    void FileListBox1Change() override { Log << QStringLiteral("file list"); }

    void LabelStepComboBoxChange() override
    {
        Log << QStringLiteral("step change");
        const QList<int> numbers = ItemNumbers(LabelStepItems());
        if (const auto choice = LabelStepRule(StepIndex, numbers, int(numbers.size()) - 1,
                                              LabelCount(), State->SlideStep)) {
            State->SlideStep = choice->SlideStep;
            StepIndex = choice->SelectIndex;
        }
    }
    bool IsOnePageStepSelected() const override { return StepIndex == LabelStepItems().size() - 1; }
    void SelectIntervalItem(int i) override
    {
        Log << QStringLiteral("pick %1").arg(i);
        Engine->ReadTimerComboBoxChange(ItemNumbers(ReadTimerItems()).at(i));
    }
    void FoldOrOpenLeftPanel() override { Log << QStringLiteral("fold left"); }
    void FoldOrOpenRightPanel() override { Log << QStringLiteral("fold right"); }
};

struct TReader
{
    TSlideState State;
    TFakeReader Port;
    TSlideEngine Engine{State, Port};

    TReader(const QStringList& lines, int labelCount)
    {
        Port.State = &State;
        Port.Engine = &Engine;
        Port.Lines = lines;
        Port.Labels = QStringList(labelCount);
        State.ChangeReadTimes = QStringLiteral("100,250,500");
        Engine.ParseChangeReadTimes(State.ChangeReadTimes);
        Engine.ShowReadingLines();
    }

    bool MenuAgrees() const { return Port.Menu == Checks(State); }

    // Ticks as the event loop would: only while the timer runs.
    void RunTicks(int maxTicks)
    {
        for (int i = 0; i < maxTicks && Port.Running; ++i)
            Engine.ReadTimerTimer();
    }
};

} // namespace

class TestSlideEngine : public QObject
{
    Q_OBJECT

private slots:
    void slideThroughText_data();
    void slideThroughText();
    void startUpTick();
    void listReading_data();
    void listReading();
    void variableSpeed_data();
    void variableSpeed();
    void emptyTextWhileReading_data();
    void emptyTextWhileReading();
    void parseChangeReadTimes_data();
    void parseChangeReadTimes();
    void setChangeReadTimes_data();
    void setChangeReadTimes();
    void paging_data();
    void paging();
    void scrollBar();
    void mouseDown_data();
    void mouseDown();
    void pauseAndRelease();
    void onePageReevaluation_data();
    void onePageReevaluation();
    void plainIntervalChange();
    void readerKeys_data();
    void readerKeys();
    void intervalKeys_data();
    void intervalKeys();
    void wheel_data();
    void wheel();
    void textPauses_data();
    void textPauses();
};

void TestSlideEngine::slideThroughText_data()
{
    QTest::addColumn<int>("lineCount");
    QTest::addColumn<int>("labelCount");
    QTest::addColumn<int>("step");
    QTest::addColumn<bool>("repeat");
    QTest::addColumn<QList<int>>("positions");
    QTest::addColumn<QStringList>("frames");
    QTest::addColumn<QString>("wrapFrame");
    QTest::newRow("10 lines, 3 labels, step 1")
        << 10 << 3 << 1 << false << QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}
        << QStringList{"L1|L2|L3", "L2|L3|L4", "L3|L4|L5",  "L4|L5|L6",     "L5|L6|L7",
                       "L6|L7|L8", "L7|L8|L9", "L8|L9|L10", "L9|L10|[EOF]", "L10|[EOF]|"}
        << "L1|L2|L3";
    QTest::newRow("10 lines, 3 labels, step 3")
        << 10 << 3 << 3 << false << QList<int>{1, 4, 7, 10}
        << QStringList{"L1|L2|L3", "L4|L5|L6", "L7|L8|L9", "L10|[EOF]|"} << "L1|L2|L3";
    QTest::newRow("repeat, 10 lines, step 3")
        << 10 << 3 << 3 << true << QList<int>{1, 4, 7, 10}
        << QStringList{"L1|L2|L3", "L4|L5|L6", "L7|L8|L9", "L10|[EOF]|"} << "L1|L2|L3";
    QTest::newRow("2 lines, 5 labels")
        << 2 << 5 << 1 << false << QList<int>{1, 2} << QStringList{"L1|L2|[EOF]||", "L2|[EOF]|||"}
        << "L1|L2|...[EOF]||";
    QTest::newRow("repeat, 2 lines, 5 labels")
        << 2 << 5 << 1 << true << QList<int>{1, 2} << QStringList{"L1|L2|[EOF]||", "L2|[EOF]|||"}
        << "L1|L2|...[EOF]||";
    QTest::newRow("step past the end")
        << 4 << 2 << 5 << false << QList<int>{1} << QStringList{"L1|L2"} << "L1|L2";
}

void TestSlideEngine::slideThroughText()
{
    QFETCH(int, lineCount);
    QFETCH(int, labelCount);
    QFETCH(int, step);
    QFETCH(bool, repeat);
    QFETCH(QList<int>, positions);
    QFETCH(QStringList, frames);
    QFETCH(QString, wrapFrame);
    TReader reader(MakeLines(QStringLiteral("L"), lineCount), labelCount);
    reader.State.SlideStep = step;
    reader.State.SlideRepeat = repeat;
    reader.Engine.SlideReadExecute();
    QVERIFY(reader.Port.Running);
    const QString total = QStringLiteral(" / %1").arg(lineCount);
    for (int i = 0; i < positions.size(); ++i) {
        if (i > 0)
            reader.Engine.ReadTimerTimer();
        QCOMPARE(reader.Port.Caption, QStringLiteral("  %1").arg(positions[i]) + total);
        QCOMPARE(reader.Port.Frame(), frames[i]);
        QCOMPARE(reader.Port.Position, positions[i] - 1);
    }
    // The first tick after the last line has left the first label is the end of the text.
    reader.Engine.ReadTimerTimer();
    QCOMPARE(reader.Port.Caption, QStringLiteral("  1") + total);
    QCOMPARE(reader.Port.Frame(), wrapFrame);
    QCOMPARE(reader.State.ReadingLine, 0);
    QCOMPARE(reader.Port.Position, 0);
    QCOMPARE(reader.Port.Running, repeat);
    QCOMPARE(reader.State.SlideRead, repeat);
    if (repeat) {
        reader.Engine.ReadTimerTimer();
        QCOMPARE(reader.Port.Frame(), frames.value(1, frames[0]));
    }
}

void TestSlideEngine::startUpTick()
{
    TReader reader(MakeLines(QStringLiteral("L"), 5), 2);
    reader.Engine.ArmStartUpTick();
    QVERIFY(reader.Port.Running);
    QCOMPARE(reader.Port.Interval, 100);
    QCOMPARE(reader.Port.Tag, 1000);
    reader.Engine.ReadTimerTimer();
    QVERIFY(!reader.Port.Running);
    QCOMPARE(reader.Port.Interval, 1000);
    QCOMPARE(reader.Port.Tag, 0);
    QCOMPARE(reader.Port.Log,
             (QStringList{"interval 100", "start", "stop", "interval 1000", "file list"}));
    QCOMPARE(reader.State.ReadingLine, 0);
    // From now on a tick is a slide.
    reader.Engine.SlideReadExecute();
    reader.Engine.ReadTimerTimer();
    QCOMPARE(reader.Port.Caption, QStringLiteral("  2 / 5"));
}

void TestSlideEngine::listReading_data()
{
    QTest::addColumn<QList<int>>("fileLines");
    QTest::addColumn<int>("selected");
    QTest::addColumn<bool>("repeat");
    QTest::addColumn<int>("ticks");
    QTest::addColumn<QStringList>("log");
    QTest::addColumn<bool>("running");
    QTest::addColumn<QString>("caption");
    QTest::newRow("to the last file, then stop at the first")
        << QList<int>{2, 3, 1} << 1 << false << 20
        << QStringList{"start", "stop", "load 2", "start", "stop", "load 0"} << false << "  1 / 2";
    QTest::newRow("repeat goes on in the first file")
        << QList<int>{2, 3, 1} << 1 << true << 4
        << QStringList{"start", "stop", "load 2", "start", "stop", "load 0", "start"} << true
        << "  1 / 2";
    QTest::newRow("nothing selected starts at the first")
        << QList<int>{2} << -1 << false << 20
        << QStringList{"start", "stop", "load 0", "start", "stop", "load 0"} << false << "  1 / 2";
    QTest::newRow("empty list") << QList<int>{} << -1 << false << 20 << QStringList{"start", "stop"}
                                << false << "Quorvelane";
    QTest::newRow("an empty file moves on at the next tick")
        << QList<int>{1, 0, 2} << 0 << false << 20
        << QStringList{"start",  "stop",  "load 1", "start", "stop",
                       "load 2", "start", "stop",   "load 0"}
        << false << "  1 / 1";
    // A negative count: the user stays on the edited text instead of loading this file.
    QTest::newRow("staying on an edited text ends the list reading")
        << QList<int>{2, -1, 1} << 0 << true << 20 << QStringList{"start", "stop", "stay 1"}
        << false << "  2 / 2";
}

void TestSlideEngine::listReading()
{
    QFETCH(QList<int>, fileLines);
    QFETCH(int, selected);
    QFETCH(bool, repeat);
    QFETCH(int, ticks);
    QFETCH(QStringList, log);
    QFETCH(bool, running);
    QFETCH(QString, caption);
    QList<QStringList> files;
    for (int i = 0; i < fileLines.size(); ++i)
        files << MakeLines(QString(QChar(u'A' + i)), qMax(0, fileLines[i]));
    TReader reader(selected >= 0 ? files[selected] : MakeLines(QStringLiteral("X"), 1), 2);
    reader.Port.Files = files;
    for (int i = 0; i < fileLines.size(); ++i)
        if (fileLines[i] < 0)
            reader.Port.Stay << i;
    reader.Port.Selected = selected;
    if (repeat)
        reader.Engine.SlideRepeatExecute();
    reader.Engine.ListSlideReadExecute();
    reader.Engine.SlideReadExecute();
    // Without repeat the timer stops at the first file, before the ticks run out.
    reader.RunTicks(ticks);
    QCOMPARE(reader.Port.Log, log);
    QCOMPARE(reader.Port.Running, running);
    QCOMPARE(reader.State.SlideRead, running);
    QVERIFY(!reader.State.CanChangeSlideRead);
    QCOMPARE(reader.Port.Caption, caption);
    QCOMPARE(reader.State.ReadingLine, 0);
    QVERIFY(reader.MenuAgrees());
}

void TestSlideEngine::variableSpeed_data()
{
    QTest::addColumn<bool>("repeat");
    QTest::addColumn<bool>("list");
    QTest::addColumn<int>("ticks");
    QTest::addColumn<QStringList>("log");
    QTest::addColumn<bool>("running");
    const QStringList firstFile = {"interval 100", "start", "stop",         "interval 250",
                                   "start",        "stop",  "interval 500", "start"};
    QTest::newRow("once through the intervals, then stop")
        << false << false << 10 << (firstFile + QStringList{"stop"}) << false;
    QTest::newRow("repeat starts the intervals over")
        << true << false << 4
        << (firstFile + QStringList{"interval 100", "stop", "interval 250", "start"}) << true;
    QTest::newRow("each list file at every interval")
        << false << true << 20
        << (firstFile + QStringList{"interval 100", "stop", "load 1", "start", "stop",
                                    "interval 250", "start", "stop", "interval 500", "start",
                                    "interval 100", "stop", "load 0"})
        << false;
}

void TestSlideEngine::variableSpeed()
{
    QFETCH(bool, repeat);
    QFETCH(bool, list);
    QFETCH(int, ticks);
    QFETCH(QStringList, log);
    QFETCH(bool, running);
    TReader reader(MakeLines(QStringLiteral("A"), 1), 1);
    reader.Port.Files = {MakeLines(QStringLiteral("A"), 1), MakeLines(QStringLiteral("B"), 1)};
    reader.Port.Selected = 0;
    if (repeat)
        reader.Engine.SlideRepeatExecute();
    if (list)
        reader.Engine.ListSlideReadExecute();
    reader.Engine.CanChangeSlideReadExecute();
    QVERIFY(reader.State.CanChangeSlideRead);
    QCOMPARE(reader.State.ChangeReadIndex, 0);
    reader.RunTicks(ticks);
    QCOMPARE(reader.Port.Log, log);
    QCOMPARE(reader.Port.Running, running);
    QCOMPARE(reader.State.CanChangeSlideRead, running);
    QVERIFY(!reader.State.SlideRead);
    QCOMPARE(reader.State.ChangeReadIndex, repeat ? 1 : 0);
    QVERIFY(reader.MenuAgrees());
}

void TestSlideEngine::emptyTextWhileReading_data()
{
    QTest::addColumn<bool>("variable");
    QTest::addColumn<bool>("list");
    QTest::addColumn<QStringList>("log");
    QTest::addColumn<bool>("reading");
    QTest::newRow("plain reading stops") << false << false << QStringList{"stop"} << false;
    QTest::newRow("variable speed stops at the first interval")
        << true << false << QStringList{"stop", "interval 100"} << false;
    QTest::newRow("list reading loads the next file")
        << false << true << QStringList{"stop", "load 0", "start"} << true;
}

void TestSlideEngine::emptyTextWhileReading()
{
    QFETCH(bool, variable);
    QFETCH(bool, list);
    QFETCH(QStringList, log);
    QFETCH(bool, reading);
    TReader reader(MakeLines(QStringLiteral("L"), 3), 2);
    reader.Port.Files = {MakeLines(QStringLiteral("A"), 2)};
    if (list)
        reader.Engine.ListSlideReadExecute();
    if (variable) {
        reader.Engine.CanChangeSlideReadExecute();
        reader.State.ChangeReadIndex = 2;
        reader.Port.SetTimerInterval(500);
    } else {
        reader.Engine.SlideReadExecute();
    }
    reader.Port.Lines.clear(); // the text was emptied while reading
    reader.Port.Log.clear();
    reader.Engine.ReadTimerTimer();
    QCOMPARE(reader.Port.Log, log);
    QCOMPARE(reader.State.SlideRead || reader.State.CanChangeSlideRead, reading);
    QCOMPARE(reader.State.ChangeReadIndex, 0);
    QCOMPARE(reader.State.ReadingLine, 0);
    QCOMPARE(reader.Port.Caption,
             reading ? QStringLiteral("  1 / 2") : QStringLiteral("Quorvelane"));
    QVERIFY(reader.MenuAgrees());
}

void TestSlideEngine::parseChangeReadTimes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<int>>("intervals");
    QTest::addColumn<QString>("textAfter");
    QTest::newRow("mixed") << " 100,abc,-5,0x10,$20,300 ,," << QList<int>{100, 16, 32}
                           << " 100,abc,-5,0x10,$20,300 ,,";
    QTest::newRow("a word between") << "300,abc,200" << QList<int>{300, 200} << "300,abc,200";
    QTest::newRow("blank after comma") << "100, 250" << QList<int>{100, 250} << "100, 250";
    QTest::newRow("blank before comma") << "100 ,250" << QList<int>{250} << "100 ,250";
    QTest::newRow("order and repeats kept")
        << "500,100,500" << QList<int>{500, 100, 500} << "500,100,500";
    QTest::newRow("no bound") << "99999999" << QList<int>{99999999} << "99999999";
    QTest::newRow("zero and negative") << "0,-5" << QList<int>{1000} << "1000";
    QTest::newRow("empty") << "" << QList<int>{1000} << "1000";
    QTest::newRow("only commas") << ",,," << QList<int>{1000} << "1000";
    QTest::newRow("all bits hex is -1") << "$FFFFFFFF" << QList<int>{1000} << "1000";
    QTest::newRow("beyond 32 bits") << "2147483648" << QList<int>{1000} << "1000";
}

void TestSlideEngine::parseChangeReadTimes()
{
    QFETCH(QString, text);
    QFETCH(QList<int>, intervals);
    QFETCH(QString, textAfter);
    TReader reader({}, 1);
    reader.State.SlideIntervalMs = 1000;
    reader.Engine.ParseChangeReadTimes(text);
    QCOMPARE(reader.State.ChangeReadIntervals, intervals);
    QCOMPARE(text, textAfter);
}

void TestSlideEngine::setChangeReadTimes_data()
{
    QTest::addColumn<bool>("cancel");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("times");
    QTest::addColumn<QList<int>>("intervals");
    QTest::newRow("new list") << false << "200,400"
                              << "200,400" << QList<int>{200, 400};
    QTest::newRow("unusable list") << false << "abc"
                                   << "1000" << QList<int>{1000};
    // An unchanged text is not parsed again: the intervals keep their marker value.
    QTest::newRow("cancelled") << true << ""
                               << "100,250,500" << QList<int>{7};
    QTest::newRow("same text") << false << "100,250,500"
                               << "100,250,500" << QList<int>{7};
}

void TestSlideEngine::setChangeReadTimes()
{
    QFETCH(bool, cancel);
    QFETCH(QString, answer);
    QFETCH(QString, times);
    QFETCH(QList<int>, intervals);
    TScopedDialogs dialogs;
    dialogs->AnswerInput(cancel ? std::nullopt : std::optional(answer));
    TReader reader(MakeLines(QStringLiteral("L"), 1), 1);
    reader.Engine.CanChangeSlideReadExecute();
    reader.Engine.ReadTimerTimer(); // end of the text: second interval
    reader.State.ChangeReadIntervals = {7};
    reader.Port.Log.clear();
    reader.Engine.SetCanChangeSlideReadExecute();
    QCOMPARE(dialogs->LogLines(),
             QStringList{"input|変速スライドの設定|(例)250,500,1000|100,250,500"});
    QCOMPARE(reader.State.ChangeReadTimes, times);
    QCOMPARE(reader.State.ChangeReadIntervals, intervals);
    // A running reading keeps its interval and its place in the list.
    QCOMPARE(reader.Port.Log, QStringList{});
    QCOMPARE(reader.State.ChangeReadIndex, 1);
}

void TestSlideEngine::paging_data()
{
    QTest::addColumn<int>("startLine");
    QTest::addColumn<QStringList>("actions");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("frame");
    QTest::newRow("next one page") << 0 << QStringList{"next"} << "  4 / 10"
                                   << "L4|L5|L6";
    QTest::newRow("next less than a page before the end") << 7 << QStringList{"next"} << "  10 / 10"
                                                          << "L10|[EOF]|";
    QTest::newRow("next at the end stays")
        << 7 << QStringList{"next", "next", "next"} << "  10 / 10"
        << "L10|[EOF]|";
    QTest::newRow("back one page") << 5 << QStringList{"back"} << "  3 / 10"
                                   << "L3|L4|L5";
    QTest::newRow("back near the top") << 1 << QStringList{"back"} << "  1 / 10"
                                       << "L1|L2|L3";
    QTest::newRow("back at the top stays") << 0 << QStringList{"back", "back"} << "  1 / 10"
                                           << "L1|L2|L3";
    QTest::newRow("next then back") << 0 << QStringList{"next", "next", "back"} << "  4 / 10"
                                    << "L4|L5|L6";
}

void TestSlideEngine::paging()
{
    QFETCH(int, startLine);
    QFETCH(QStringList, actions);
    QFETCH(QString, caption);
    QFETCH(QString, frame);
    TReader reader(MakeLines(QStringLiteral("L"), 10), 3);
    reader.Engine.ReadingLineScrollBarScroll(startLine);
    reader.Port.Position = startLine;
    for (const QString& action : actions) {
        if (action == u"next")
            reader.Engine.PageNextExecute();
        else
            reader.Engine.PageBackExecute();
    }
    QCOMPARE(reader.Port.Caption, caption);
    QCOMPARE(reader.Port.Frame(), frame);
    QCOMPARE(reader.State.ReadingLine, reader.Port.Position);
    QVERIFY(!reader.Port.Running);
}

void TestSlideEngine::scrollBar()
{
    TReader reader(MakeLines(QStringLiteral("L"), 10), 3);
    reader.Engine.ReadingLineScrollBarScroll(8);
    QCOMPARE(reader.State.ReadingLine, 8);
    QCOMPARE(reader.Port.Caption, QStringLiteral("  9 / 10"));
    QCOMPARE(reader.Port.Frame(), QStringLiteral("L9|L10|[EOF]"));
    // A position beyond the text (a rebuild after the text shrank) shows the text from the top;
    // with the reader stopped, list reading does not move to another file.
    reader.State.ListSlideRead = true;
    reader.Port.Files = {MakeLines(QStringLiteral("A"), 2)};
    reader.Port.Lines = MakeLines(QStringLiteral("S"), 4);
    reader.Engine.ShowReadingLines();
    QCOMPARE(reader.Port.Log, QStringList{});
    QCOMPARE(reader.Port.Caption, QStringLiteral("  1 / 4"));
    QCOMPARE(reader.Port.Frame(), QStringLiteral("S1|S2|S3"));
}

void TestSlideEngine::mouseDown_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("reading"); // "", "plain" or "variable" before the press
    QTest::addColumn<QStringList>("log");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("readingAfter");
    QTest::addColumn<bool>("paused");
    const int left = Qt::LeftButton, right = Qt::RightButton, middle = Qt::MiddleButton;
    const int none = Qt::NoModifier, ctrl = Qt::ControlModifier, shift = Qt::ShiftModifier;
    const int alt = Qt::AltModifier;
    const QString here = QStringLiteral("  4 / 10");
    QTest::newRow("ctrl+left") << left << ctrl << "" << QStringList{"fold left"} << here << ""
                               << false;
    QTest::newRow("ctrl+right") << right << ctrl << "" << QStringList{"fold right"} << here << ""
                                << false;
    QTest::newRow("ctrl before shift") << left << (ctrl | shift) << "plain"
                                       << QStringList{"fold left"} << here << "plain" << false;
    QTest::newRow("ctrl+middle") << middle << ctrl << "" << QStringList{} << here << "" << false;
    QTest::newRow("shift+left starts plain")
        << left << shift << "" << QStringList{"start"} << here << "plain" << false;
    QTest::newRow("shift+left stops plain")
        << left << shift << "plain" << QStringList{"stop"} << here << "" << false;
    QTest::newRow("shift+left stops variable")
        << left << shift << "variable" << QStringList{"stop"} << here << "" << false;
    QTest::newRow("shift+right pauses")
        << right << shift << "plain" << QStringList{"stop"} << here << "plain" << true;
    QTest::newRow("shift+right when stopped")
        << right << shift << "" << QStringList{} << here << "" << false;
    QTest::newRow("right pages on") << right << none << "" << QStringList{} << "  7 / 10"
                                    << "" << false;
    QTest::newRow("left pages back") << left << none << "" << QStringList{} << "  1 / 10"
                                     << "" << false;
    QTest::newRow("alt is ignored") << left << alt << "" << QStringList{} << "  1 / 10"
                                    << "" << false;
    QTest::newRow("middle") << middle << none << "plain" << QStringList{} << here << "plain"
                            << false;
    QTest::newRow("shift+middle") << middle << shift << "plain" << QStringList{} << here << "plain"
                                  << false;
}

void TestSlideEngine::mouseDown()
{
    QFETCH(int, button);
    QFETCH(int, modifiers);
    QFETCH(QString, reading);
    QFETCH(QStringList, log);
    QFETCH(QString, caption);
    QFETCH(QString, readingAfter);
    QFETCH(bool, paused);
    TReader reader(MakeLines(QStringLiteral("L"), 10), 3);
    if (reading == u"plain")
        reader.Engine.SlideReadExecute();
    else if (reading == u"variable")
        reader.Engine.CanChangeSlideReadExecute();
    reader.Engine.ReadingLineScrollBarScroll(3);
    reader.Port.Position = 3;
    reader.Port.Log.clear();
    reader.Engine.ReaderPanelMouseDown(Qt::MouseButton(button), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(reader.Port.Log, log);
    QCOMPARE(reader.Port.Caption, caption);
    const QString after = reader.State.SlideRead            ? QStringLiteral("plain")
                          : reader.State.CanChangeSlideRead ? QStringLiteral("variable")
                                                            : QString();
    QCOMPARE(after, readingAfter);
    QCOMPARE(reader.State.PausedByMouse, paused);
    QVERIFY(reader.MenuAgrees());
}

void TestSlideEngine::pauseAndRelease()
{
    TReader reader(MakeLines(QStringLiteral("L"), 10), 3);
    reader.Engine.ReaderPanelMouseUp(); // nothing paused: nothing happens
    QVERIFY(!reader.Port.Running);

    reader.Engine.SlideReadExecute();
    reader.Engine.ReaderPanelMouseDown(Qt::RightButton, Qt::ShiftModifier);
    QVERIFY(!reader.Port.Running);
    reader.Engine.ReaderPanelMouseUp();
    QVERIFY(reader.Port.Running);
    QVERIFY(!reader.State.PausedByMouse);
    QVERIFY(reader.State.SlideRead);

    // Reading switched off during a pause stays off after the release.
    reader.Engine.ReaderPanelMouseDown(Qt::RightButton, Qt::ShiftModifier);
    reader.Engine.SlideReadExecute(); // F3 stops; the pause is over
    QVERIFY(!reader.State.SlideRead);
    reader.Engine.ReaderPanelMouseUp();
    QVERIFY(!reader.Port.Running);

    // Closing the window stops whichever reading runs.
    reader.Engine.CanChangeSlideReadExecute();
    reader.Engine.StopSlideReading();
    QVERIFY(!reader.Port.Running);
    QVERIFY(!reader.State.CanChangeSlideRead && !reader.State.SlideRead);
}

void TestSlideEngine::onePageReevaluation_data()
{
    QTest::addColumn<bool>("variable");
    QTest::addColumn<bool>("onePage");
    QTest::addColumn<int>("step");
    QTest::newRow("plain, one page follows the labels") << false << true << 5;
    QTest::newRow("variable, one page follows the labels") << true << true << 5;
    QTest::newRow("plain, fixed step kept") << false << false << 3;
}

void TestSlideEngine::onePageReevaluation()
{
    QFETCH(bool, variable);
    QFETCH(bool, onePage);
    QFETCH(int, step);
    // The page grew from 3 to 5 labels after a font change; the step still holds 3.
    TReader reader(MakeLines(QStringLiteral("L"), 20), 5);
    reader.State.SlideStep = 3;
    reader.Port.StepIndex = onePage ? int(LabelStepItems().size()) - 1 : 2;
    if (variable)
        reader.Engine.CanChangeSlideReadExecute();
    else
        reader.Engine.SlideReadExecute();
    QCOMPARE(reader.State.SlideStep, step);
    QCOMPARE(reader.Port.Log.contains(QStringLiteral("step change")), onePage);
    reader.Engine.ReadTimerTimer();
    QCOMPARE(reader.Port.Caption, QStringLiteral("  %1 / 20").arg(1 + step));
}

void TestSlideEngine::plainIntervalChange()
{
    TReader reader(MakeLines(QStringLiteral("L"), 10), 3);
    reader.Engine.CanChangeSlideReadExecute();
    reader.Engine.ReadTimerComboBoxChange(2500);
    QCOMPARE(reader.State.SlideIntervalMs, 2500);
    QCOMPARE(reader.Port.Interval, 2500); // at once, in variable speed too
    reader.Engine.SlideReadExecute();     // switch to plain: the plain interval
    QCOMPARE(reader.Port.Interval, 2500);
    QVERIFY(reader.State.SlideRead && !reader.State.CanChangeSlideRead && reader.Port.Running);
}

void TestSlideEngine::readerKeys_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("handled");
    QTest::addColumn<int>("position");
    QTest::newRow("down") << 4 << int(Qt::Key_Down) << 0 << true << 5;
    QTest::newRow("down at the last line") << 9 << int(Qt::Key_Down) << 0 << true << 9;
    QTest::newRow("up") << 4 << int(Qt::Key_Up) << 0 << true << 3;
    QTest::newRow("up at the top") << 0 << int(Qt::Key_Up) << 0 << true << 0;
    QTest::newRow("home") << 7 << int(Qt::Key_Home) << 0 << true << 0;
    QTest::newRow("end") << 2 << int(Qt::Key_End) << 0 << true << 9;
    QTest::newRow("page down") << 2 << int(Qt::Key_PageDown) << 0 << true << 5;
    QTest::newRow("page down near the end") << 8 << int(Qt::Key_PageDown) << 0 << true << 9;
    QTest::newRow("page up at the top") << 1 << int(Qt::Key_PageUp) << 0 << true << 0;
    QTest::newRow("ctrl + down is not the reader's")
        << 4 << int(Qt::Key_Down) << int(Qt::ControlModifier) << false << 4;
    QTest::newRow("a letter is not the reader's") << 4 << int(Qt::Key_A) << 0 << false << 4;
}

void TestSlideEngine::readerKeys()
{
    QFETCH(int, start);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(bool, handled);
    QFETCH(int, position);
    TReader reader(MakeLines(QStringLiteral("L"), 10), 3);
    reader.Engine.MoveToLine(start);
    QCOMPARE(reader.Engine.ReaderKeyPress(key, Qt::KeyboardModifiers(modifiers)), handled);
    QCOMPARE(reader.State.ReadingLine, position);
    QCOMPARE(reader.Port.Position, position);
    QCOMPARE(reader.Port.Caption, QStringLiteral("  %1 / 10").arg(position + 1));
}

void TestSlideEngine::intervalKeys_data()
{
    QTest::addColumn<bool>("variable");
    QTest::addColumn<bool>("running");
    QTest::addColumn<int>("interval");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("expected");
    QTest::newRow("+ shortens") << false << true << 1000 << int(Qt::Key_Plus) << 750;
    QTest::newRow("- lengthens") << false << true << 1000 << int(Qt::Key_Minus) << 1250;
    QTest::newRow("+ at the shortest") << false << true << 50 << int(Qt::Key_Plus) << 50;
    QTest::newRow("- at the longest") << false << true << 60000 << int(Qt::Key_Minus) << 60000;
    QTest::newRow("stopped: no change") << false << false << 1000 << int(Qt::Key_Plus) << 1000;
    // The variable-speed list's 100 sits in the list; its 300 would not.
    QTest::newRow("variable speed, + from its first")
        << true << true << 0 << int(Qt::Key_Plus) << 50;
    QTest::newRow("variable speed, - from its first")
        << true << true << 0 << int(Qt::Key_Minus) << 150;
}

void TestSlideEngine::intervalKeys()
{
    QFETCH(bool, variable);
    QFETCH(bool, running);
    QFETCH(int, interval);
    QFETCH(int, key);
    QFETCH(int, expected);
    TReader reader(MakeLines(QStringLiteral("L"), 10), 3);
    if (!variable)
        reader.Engine.ReadTimerComboBoxChange(interval);
    if (running)
        variable ? reader.Engine.CanChangeSlideReadExecute() : reader.Engine.SlideReadExecute();
    QVERIFY(reader.Engine.ReaderKeyPress(key, Qt::KeypadModifier));
    QCOMPARE(reader.Port.Interval, expected);
    QCOMPARE(reader.Port.Running, running);
    QCOMPARE(reader.State.ReadingLine, 0);
}

void TestSlideEngine::wheel_data()
{
    QTest::addColumn<QList<int>>("deltas");
    QTest::addColumn<int>("position");
    QTest::newRow("a notch towards the user") << QList<int>{-120} << 3;
    QTest::newRow("two notches") << QList<int>{-240} << 6;
    QTest::newRow("half notches add up") << QList<int>{-60, -30, -30} << 3;
    QTest::newRow("half a notch does nothing") << QList<int>{-60} << 0;
    QTest::newRow("back past the top") << QList<int>{-120, 360} << 0;
    QTest::newRow("past the end") << QList<int>{-1200} << 9;
}

void TestSlideEngine::wheel()
{
    QFETCH(QList<int>, deltas);
    QFETCH(int, position);
    TReader reader(MakeLines(QStringLiteral("L"), 10), 3);
    for (int delta : deltas)
        reader.Engine.ReaderWheel(delta, 3);
    QCOMPARE(reader.State.ReadingLine, position);
}

void TestSlideEngine::textPauses_data()
{
    QTest::addColumn<bool>("pauses");
    QTest::addColumn<int>("step");
    QTest::addColumn<QList<int>>("continued");
    QTest::addColumn<QList<int>>("headings");
    QTest::addColumn<QList<int>>("keys"); // pressed after the second tick
    QTest::addColumn<QList<int>>("positions");
    // Line 1 holds an ideographic space only, lines 4 and 5 nothing.
    QTest::newRow("off") << false << 1 << QList<int>{} << QList<int>{3} << QList<int>{}
                         << QList<int>{1, 2, 3, 4, 5, 6};
    QTest::newRow("paragraphs after blank lines")
        << true << 1 << QList<int>{} << QList<int>{} << QList<int>{}
        << QList<int>{1, 2, 2, 3, 4, 5, 6, 6};
    QTest::newRow("a wrapped line after a blank one")
        << true << 1 << QList<int>{2} << QList<int>{} << QList<int>{}
        << QList<int>{1, 2, 3, 4, 5, 6, 6};
    QTest::newRow("a heading") << true << 1 << QList<int>{} << QList<int>{3} << QList<int>{}
                               << QList<int>{1, 2, 2, 3, 3, 4, 5, 6, 6};
    QTest::newRow("two lines a slide")
        << true << 2 << QList<int>{} << QList<int>{} << QList<int>{} << QList<int>{2, 2, 4, 6, 6};
    QTest::newRow("moved away: the pause lapses")
        << true << 1 << QList<int>{} << QList<int>{} << QList<int>{int(Qt::Key_Down)}
        << QList<int>{1, 2, 4, 5, 6, 6};
    QTest::newRow("stopped and started: no pause owed")
        << true << 1 << QList<int>{} << QList<int>{}
        << QList<int>{int(Qt::Key_Space), int(Qt::Key_Space)} << QList<int>{1, 2, 3, 4, 5, 6, 6};
}

// A slide that brings a new paragraph or a heading to the top waits one tick longer.
void TestSlideEngine::textPauses()
{
    QFETCH(bool, pauses);
    QFETCH(int, step);
    QFETCH(QList<int>, continued);
    QFETCH(QList<int>, headings);
    QFETCH(QList<int>, keys);
    QFETCH(QList<int>, positions);
    const QStringList lines{"A1", QStringLiteral("\u3000"), "B1", "B2", "", "", "C1"};
    TReader reader(lines, 1);
    reader.Port.Continued = continued;
    reader.Port.Headings = headings;
    reader.State.TextPauses = pauses;
    reader.State.SlideStep = step;
    reader.Engine.SlideReadExecute();
    QList<int> seen;
    for (int tick = 0; tick < 20 && reader.Port.Running; ++tick) {
        reader.Engine.ReadTimerTimer();
        if (reader.Port.Running)
            seen << reader.State.ReadingLine;
        if (tick == 1) {
            for (int key : keys)
                reader.Engine.ReaderKeyPress(key, Qt::NoModifier);
        }
    }
    QCOMPARE(seen, positions);
    QCOMPARE(reader.Port.Caption, QStringLiteral("  1 / 7")); // the end of the text as ever
}

QTEST_APPLESS_MAIN(TestSlideEngine)
#include "tst_slideengine.moc"
