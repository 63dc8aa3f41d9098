// The main window under the offscreen platform, driven through its handlers: opening a 10 MB
// and a 100 MB CP932 file and a 50 MB one of a single line (the first page, and the longest time
// the window does not answer until the text view holds the whole text), a font-size change, a typed
// character, slide ticks and a settled resize, each beside a baseline measured in the same run.
// Nothing waits for a timer: the handlers the timers would call are called directly. Times are CPU
// times of the process.
//
// bench_window CORPUS-10MB.txt CORPUS-100MB.txt
//
// The 100 MB cases run in child processes of this program (bench_window --child CASE FILE), one
// load each, so that each peak memory figure belongs to one load.

#include "bench/WindowDriver.h"

#include "app/QuorvelaneMain.h"
#include "bench/BenchReport.h"
#include "platform/TextDecoding.h"
#include "reader/FontAdvances.h"
#include "reader/MainRichEdit.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <QTimer>

#include <cstdio>
#include <functional>
#include <map>

namespace {

constexpr int Runs = 5;
constexpr int BigRuns = 3;

// Reading and decoding the file, then handing the text to a plain text view: the least that
// opening a file in any QPlainTextEdit costs.
double PlainOpenMs(QPlainTextEdit& edit, const QString& path)
{
    edit.setPlainText(QStringLiteral("short"));
    FlushEvents();
    TCpuTimer timer;
    timer.start();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    edit.setPlainText(DecodeText(file.readAll()));
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    FlushEvents();
    return ms;
}

// A plain text view of the window's text view's size and font, for the baselines.
std::unique_ptr<QPlainTextEdit> PlainEditLike(const TQuorvelaneForm& form)
{
    auto edit = std::make_unique<QPlainTextEdit>();
    edit->setFont(form.MainRichEdit->font());
    edit->resize(form.MainRichEdit->size());
    edit->show();
    // Exposed, so that it paints as the window does.
    QCoreApplication::processEvents();
    return edit;
}

// QTextLayout laying out every paragraph of the window's text in its text view's font and at
// its wrap width, the way the text view itself would; measured on the first tenth of the
// paragraphs (median of 3) and scaled to the whole text, as the whole takes seconds.
double QTextLayoutMs(const TQuorvelaneForm& form)
{
    const QStringList all = form.MainRichEdit->toPlainText().split(u'\n');
    const QStringList part = all.mid(0, all.size() / 10);
    const QFont font = form.MainRichEdit->font();
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    option.setTabStopDistance(form.MainRichEdit->TabStopDistance());
    const qreal width = WrapWidthOf(*form.MainRichEdit);
    std::vector<double> times;
    for (int run = 0; run < 3; ++run) {
        TCpuTimer timer;
        timer.start();
        for (const QString& text : part) {
            QTextLayout layout(text, font);
            layout.setTextOption(option);
            layout.beginLayout();
            for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine())
                line.setLineWidth(width);
            layout.endLayout();
        }
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    return Median(times) * double(all.size()) / double(qMax<qsizetype>(1, part.size()));
}

// The longest time the window did not answer while a text was opened, beside a plain text view
// that does not answer at all while it decodes and takes its text.
TBenchRow GapRow(const std::string& what, double ours, double plain,
                 const std::string& baseline = "decode + setPlainText (blocked)")
{
    TBenchRow row;
    row.What = "longest UI wait, " + what;
    row.Ours = ours;
    row.Baseline = baseline;
    row.Base = plain;
    row.MaxValue = 100;
    row.Condition = "10 ms timer, click to whole text";
    return row;
}

void OpenRows(TWindowDriver& window, const QString& name, const QString& path)
{
    std::vector<double> ours;
    std::vector<double> gaps;
    std::vector<double> plain;
    bool shown = true;
    auto edit = PlainEditLike(*window.Form);
    for (int run = 0; run < Runs; ++run) {
        window.Open(TWindowDriver::SmallName);
        const TOpenTimes times = window.OpenWatched(name);
        ours.push_back(times.FirstPageMs);
        gaps.push_back(times.LongestGapMs);
        shown = shown && times.Shown;
        plain.push_back(PlainOpenMs(*edit, path));
    }
    TBenchRow row;
    row.What = QStringLiteral("open 10 MB, %1 lines").arg(window.Form->LineCount()).toStdString();
    row.Ours = Median(ours);
    row.Baseline = "decode + setPlainText";
    row.Base = Median(plain);
    row.MaxValue = 200;
    row.MaxRatio = 0.5;
    row.Condition = "\"  1 / n\" and line 1 shown";
    row.ConditionHeld = shown;
    PrintRow(row);
    PrintRow(GapRow("open 10 MB", Median(gaps), Median(plain)));
}

double FontSizeChangeMs(TQuorvelaneForm& form, int size)
{
    form.FontSizeComboBox->setCurrentIndex(FontSizeIndex(form, size));
    TCpuTimer timer;
    timer.start();
    form.FontSizeComboBoxChange();
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    FlushEvents();
    return ms;
}

void FontSizeRow(TWindowDriver& window)
{
    TQuorvelaneForm& form = *window.Form;
    std::vector<double> ours;
    bool relaid = true;
    for (int run = 0; run < Runs + 1; ++run) {
        const int before = form.LineCount();
        ours.push_back(FontSizeChangeMs(form, run % 2 ? 10 : 12));
        relaid = relaid && form.LineCount() != before && window.ShowsLines();
    }
    TBenchRow row;
    row.What = "font size 10 <-> 12 pt, 10 MB text";
    row.Ours = Median(ours);
    row.Baseline = "QTextLayout (1/10 x 10)";
    row.Base = QTextLayoutMs(form);
    row.MaxValue = 350;
    row.MaxRatio = 0.1;
    row.Condition = "renumbered";
    row.ConditionHeld = relaid;
    PrintRow(row);
}

// One character typed into the middle of the text, as a key press.
// afterPress looks at the result before the character is erased again.
// One character typed where the cursor stands, and taken back.
double TypeMs(QWidget& edit, const std::function<void()>& afterPress = {})
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QStringLiteral("あ"));
    TCpuTimer timer;
    timer.start();
    QCoreApplication::sendEvent(&edit, &press);
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    FlushEvents();
    if (afterPress)
        afterPress();
    QKeyEvent erase(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
    QCoreApplication::sendEvent(&edit, &erase);
    FlushEvents();
    return ms;
}

void TypingRow(TWindowDriver& window, const QString& path)
{
    TQuorvelaneForm& form = *window.Form;
    auto edit = PlainEditLike(form);
    PlainOpenMs(*edit, path);
    // Both cursors in the middle of the text.
    QTextCursor cursor(edit->document());
    cursor.setPosition(edit->document()->characterCount() / 2);
    edit->setTextCursor(cursor);
    const TTextPos middle{form.MainRichEdit->ParagraphCount() / 2, 0};
    form.MainRichEdit->SetCursor(middle, middle);
    std::vector<double> ours;
    std::vector<double> plain;
    bool rebuilt = true;
    for (int run = 0; run < 21; ++run) {
        // The rebuild is what is timed: it must not be held back, and it refills the labels.
        rebuilt = rebuilt && !form.FileState().IgnoreTextChange && !form.ResizeTimer->isActive();
        window.MarkLabels();
        const qsizetype length = form.MainRichEdit->toPlainText().size();
        ours.push_back(TypeMs(*form.MainRichEdit, [&] {
            rebuilt = rebuilt && window.ShowsLines() &&
                      form.MainRichEdit->toPlainText().size() == length + 1;
        }));
        plain.push_back(TypeMs(*edit));
    }
    TBenchRow row;
    row.What = "one character typed, 10 MB text";
    row.Ours = Median(ours);
    row.Baseline = "the same in a QPlainTextEdit";
    row.Base = Median(plain);
    row.MaxValue = 5;
    row.Condition = "reader rebuilt";
    row.ConditionHeld = rebuilt;
    PrintRow(row);
    // The typed characters are not kept: the next file is opened without the question.
    form.MainRichEdit->SetModified(false);
}

// The tick times, and those of plain labels given the same lines, for the labels that fit now.
std::pair<double, double> TickMs(TWindowDriver& window)
{
    TQuorvelaneForm& form = *window.Form;
    window.StartReading();
    std::vector<double> ticks;
    for (int k = 0; k < 200; ++k) {
        TCpuTimer timer;
        timer.start();
        form.ReadTimerTimer();
        ticks.push_back(double(timer.nsecsElapsed()) / 1e6);
        FlushEvents();
    }
    window.StopReading();
    return {Median(ticks), PlainLabelTickMs(form, 200)};
}

void TickRow(const std::string& what, const std::pair<double, double>& times, int labels,
             int wanted)
{
    TBenchRow row;
    row.What = what;
    row.Ours = times.first;
    row.Baseline = "QLabel::setText, same lines";
    row.Base = times.second;
    row.MaxValue = 1;
    row.Condition = std::to_string(wanted) + " label" + (wanted > 1 ? "s" : "");
    row.ConditionHeld = labels == wanted;
    PrintRow(row);
}

// 40 labels at 24 pt, then 1 label at 120 pt, ticking through the file of that name.
void TickRows(TWindowDriver& window, const QString& name, const std::string& size)
{
    TQuorvelaneForm& form = *window.Form;
    window.Open(TWindowDriver::SmallName);
    form.FontSizeComboBox->setCurrentIndex(FontSizeIndex(form, 24));
    form.FontSizeComboBoxChange();
    window.FitLabels(40);
    window.Open(name);
    TickRow("slide tick, 40 x 24 pt, " + size, TickMs(window), form.LabelCount(), 40);
    // The font changes while the resize settles, so the text is laid out once.
    window.ResizeForLabels(1, 120);
    form.FontSizeComboBox->setCurrentIndex(FontSizeIndex(form, 120));
    form.FontSizeComboBoxChange();
    window.Settle();
    TickRow("slide tick, 1 x 120 pt, " + size, TickMs(window), form.LabelCount(), 1);
}

void ResizeRows(TWindowDriver& window, const QString& path)
{
    TQuorvelaneForm& form = *window.Form;
    auto plainWindow = PlainEditLike(form);
    plainWindow->resize(form.size());
    PlainOpenMs(*plainWindow, path);
    std::vector<double> relayout;
    std::vector<double> dragSteps;
    std::vector<double> plainSteps;
    int relayouts = 0;
    int direction = 1;
    for (int run = 0; run < Runs; ++run) {
        const int before = form.RelayoutCount();
        const TDragTimes drag = window.DragWidth(direction * 96, 12);
        relayouts += form.RelayoutCount() - before;
        relayout.push_back(drag.SettleMs);
        dragSteps.push_back(drag.SlowestStepMs);
        plainSteps.push_back(DragPlainWidth(*plainWindow, direction * 96, 12));
        direction = -direction;
    }
    TBenchRow row;
    row.What = "settled resize, 10 MB text";
    row.Ours = Median(relayout);
    row.Baseline = "QTextLayout (1/10 x 10)";
    row.Base = QTextLayoutMs(form);
    row.MaxValue = 400;
    row.Condition = std::to_string(relayouts) + "/" + std::to_string(Runs) + " relayouts";
    row.ConditionHeld = relayouts == Runs;
    PrintRow(row);
    TBenchRow step;
    step.What = "slowest step of a drag";
    step.Ours = Median(dragSteps);
    step.Baseline = "QPlainTextEdit window, same drag";
    step.Base = Median(plainSteps);
    PrintRow(step);
}

// A child's results: "key value" lines on its output; a child that prints its own rows has its
// output forwarded instead.
std::map<std::string, double> RunChild(const QString& kind, const QString& path,
                                       bool forward = false)
{
    QProcess child;
    child.setProcessChannelMode(forward ? QProcess::ForwardedChannels
                                        : QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), {"--child", kind, path});
    std::map<std::string, double> values;
    if (!child.waitForFinished(600000) || child.exitCode() != 0) {
        std::fprintf(stderr, "bench_window: the %s child failed\n", qPrintable(kind));
        return values;
    }
    for (const QByteArray& line : child.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> parts = line.split(' ');
        if (parts.size() == 2)
            values[parts[0].toStdString()] = parts[1].toDouble();
    }
    return values;
}

void BigRows(const QString& path)
{
    std::vector<double> ours;
    std::vector<double> gaps;
    std::vector<double> plain;
    std::vector<double> oursPeak;
    std::vector<double> firstPeak;
    std::vector<double> plainPeak;
    bool shown = true;
    for (int run = 0; run < BigRuns; ++run) {
        auto a = RunChild(QStringLiteral("open"), path);
        auto b = RunChild(QStringLiteral("plain"), path);
        ours.push_back(a["open_ms"]);
        gaps.push_back(a["gap_ms"]);
        oursPeak.push_back(a["peak_mb"]);
        firstPeak.push_back(a["first_peak_mb"]);
        shown = shown && a["shown"] == 1;
        plain.push_back(b["open_ms"]);
        plainPeak.push_back(b["peak_mb"]);
    }
    TBenchRow row;
    row.What = "open 100 MB";
    row.Ours = Median(ours);
    row.Baseline = "decode + setPlainText";
    row.Base = Median(plain);
    row.MaxValue = 1500;
    row.MaxRatio = 0.25;
    row.Condition = "\"  1 / n\" and line 1 shown";
    row.ConditionHeld = shown;
    PrintRow(row);
    PrintRow(GapRow("open 100 MB", Median(gaps), Median(plain)));
    TBenchRow peak;
    peak.What = "peak memory (VmHWM), open 100 MB";
    peak.Unit = "MB";
    peak.Ours = Median(firstPeak);
    peak.Baseline = "decode + setPlainText";
    peak.Base = Median(plainPeak);
    peak.MaxRatio = 0.6;
    peak.Condition = "text view folded";
    PrintRow(peak);
    TBenchRow filled;
    filled.What = "peak memory, text view opened and filled";
    filled.Unit = "MB";
    filled.Ours = Median(oursPeak);
    filled.Baseline = "decode + setPlainText";
    filled.Base = Median(plainPeak);
    PrintRow(filled);
}

// The first 50 MB of the corpus as one line: its line ends dropped (CR and LF are never the
// second byte of a CP932 character).
QByteArray SingleLine(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QByteArray bytes = file.read(50 << 20);
    bytes.removeIf([](char c) { return c == '\r' || c == '\n'; });
    return bytes;
}

void SingleLineRows(const QString& path)
{
    auto a = RunChild(QStringLiteral("single"), path);
    TBenchRow first;
    first.What = "50 MB single line, first page";
    first.Ours = a["open_ms"];
    first.Baseline = "decoding it";
    first.Base = a["decode_ms"];
    first.MaxValue = 1000;
    first.Condition = "\"  1 / n\" and line 1 shown";
    first.ConditionHeld = a["shown"] == 1;
    PrintRow(first);
    PrintRow(GapRow("50 MB single line", a["gap_ms"], a["decode_ms"], "decoding it"));
    TBenchRow resize;
    resize.What = "50 MB single line, settled resize";
    resize.Ours = a["settle_ms"];
    resize.Baseline = "decoding it";
    resize.Base = a["decode_ms"];
    resize.MaxValue = 1000;
    resize.Condition = "renumbered";
    resize.ConditionHeld = a["renumbered"] == 1;
    PrintRow(resize);
}

int SingleLineChild(const QString& path)
{
    TWindowDriver window(QString(), path);
    if (!window.Form)
        return 1;
    QByteArray bytes = SingleLine(path);
    TCpuTimer decode;
    decode.start();
    const double decodeMs = DecodeText(bytes).isEmpty() ? -1 : double(decode.nsecsElapsed()) / 1e6;
    const QString name = QStringLiteral("d-50mb-one-line.txt");
    if (!window.AddFile(name, bytes))
        return 1;
    bytes = QByteArray();
    const TOpenTimes times = window.OpenWatched(name);
    const int before = window.Form->LineCount();
    const TDragTimes drag = window.DragWidth(96, 12);
    std::printf("decode_ms %f\nopen_ms %f\ngap_ms %f\nshown %d\n", decodeMs, times.FirstPageMs,
                times.LongestGapMs, times.Shown ? 1 : 0);
    std::printf("settle_ms %f\nrenumbered %d\n", drag.SettleMs,
                window.Form->LineCount() != before && window.ShowsLines() ? 1 : 0);
    return 0;
}

int Child(const QString& kind, const QString& path)
{
    if (kind == QLatin1String("plain")) {
        QPlainTextEdit edit;
        edit.resize(600, 5);
        edit.show();
        QCoreApplication::processEvents();
        std::printf("open_ms %f\n", PlainOpenMs(edit, path));
        std::printf("peak_mb %f\n", PeakMemoryMb());
        return 0;
    }
    if (kind == QLatin1String("single"))
        return SingleLineChild(path);
    TWindowDriver window(QString(), path);
    if (!window.Form)
        return 1;
    if (kind == QLatin1String("open")) {
        const TOpenTimes times = window.OpenWatched(TWindowDriver::LargeName);
        std::printf("open_ms %f\nshown %d\n", times.FirstPageMs, times.Shown ? 1 : 0);
        std::printf("gap_ms %f\ncomplete_ms %f\n", times.LongestGapMs, times.CompleteMs);
        std::printf("first_peak_mb %f\npeak_mb %f\n", times.FirstPagePeakMb, PeakMemoryMb());
        return 0;
    }
    TickRows(window, TWindowDriver::LargeName, "100 MB");
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    InstallBenchDialogs();
    if (argc == 4 && QByteArray(argv[1]) == "--child")
        return Child(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    if (argc != 3) {
        std::fprintf(stderr, "usage: bench_window CORPUS-10MB.txt CORPUS-100MB.txt\n");
        return 2;
    }
    const QString medium = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();
    const QString large = QFileInfo(QString::fromLocal8Bit(argv[2])).absoluteFilePath();
    {
        TWindowDriver window(medium, QString());
        if (!window.Form)
            return 1;
        PrintTableHead(QStringLiteral("main window, %1 x %2, %3, medians")
                           .arg(window.Form->width())
                           .arg(window.Form->height())
                           .arg(QFileInfo(medium).fileName())
                           .toStdString());
        OpenRows(window, TWindowDriver::MediumName, medium);
        FontSizeRow(window);
        TypingRow(window, medium);
        ResizeRows(window, medium);
        TickRows(window, TWindowDriver::SmallName, "1 KB");
    }
    PrintTableHead(QStringLiteral("main window, %1, %2 child runs each")
                       .arg(QFileInfo(large).fileName())
                       .arg(BigRuns)
                       .toStdString());
    BigRows(large);
    SingleLineRows(large);
    RunChild(QStringLiteral("ticks"), large, true);
    return 0;
}
