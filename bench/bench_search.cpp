// The searches of the main window over the display lines of a large text laid out at 10 pt in
// an 800-pixel-wide text view. Each search runs through its menu action with scripted answers
// and is timed until its result message is due, the event turns every 100 lines and the filling
// of the contents list included; for the contents searches also until the list is laid out.
// Find_Word runs beside GNU grep over the same display lines written out as UTF-8. While the
// searches run, a zero timer records the longest wait an event had; last, the re-search button is
// pressed during a search, and the time until the search has ended is taken.
//
// bench_search CORPUS-100MB.txt
//
// Times are CPU times, grep's taken from the system's account of ended child processes, so that
// other load on the machine does not count; the cancel is timed by the clock, as it waits.

#include "bench/BenchReport.h"
#include "bench/WindowDriver.h"
#include "reader/MainRichEdit.h"
#include "search/SearchFlow.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <sys/resource.h>

namespace {

constexpr int Runs = 5;
constexpr int TextViewWidth = 800;
// The No button of a question.
constexpr int AnswerNo = 7;
const QString CancelledMessage = QStringLiteral("検索は中断されました。");

struct TTimed
{
    double Ms = -1;
    qint64 Hits = 0;
};

// CPU time of the children that have ended, in ms.
double ChildrenCpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    const auto ms = [](const timeval& t) {
        return double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3;
    };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

TTimed runGrep(const QString& path, const QString& word)
{
    QProcess grep;
    // Its output goes into a pipe: with /dev/null GNU grep stops at the first match.
    grep.setProgram(QStringLiteral("grep"));
    grep.setArguments({"-c", "-i", "-F", word, path});
    const double before = ChildrenCpuMs();
    grep.start();
    grep.waitForFinished(-1);
    return {ChildrenCpuMs() - before, grep.readAllStandardOutput().trimmed().toLongLong()};
}

// The longest time between two turns of the event loop while it runs.
class TTurnWatch
{
public:
    TTurnWatch()
    {
        Timer.setInterval(0);
        QObject::connect(&Timer, &QTimer::timeout, [this] {
            Longest = std::max(Longest, double(Since.nsecsElapsed()) / 1e6);
            Since.start();
        });
    }
    void Start()
    {
        Since.start();
        Timer.start();
    }
    void Stop() { Timer.stop(); }
    double Longest = 0;

private:
    QTimer Timer;
    QElapsedTimer Since;
};

struct TSearchRun
{
    // Until the first message (the result, or the cancel), and until the list is laid out too.
    double Ms = -1;
    double ListedMs = -1;
    // Until the first message by the clock.
    double ClockMs = -1;
    int Entries = 0;
    QStringList Messages;
};

class TSearchBench
{
public:
    TSearchBench(TWindowDriver& window, TBenchDialogs& dialogs) : Window(window), Dialogs(dialogs)
    {}

    // One search from its menu action until the first message (the result, or the cancel).
    TSearchRun Run(TSearchAction action, const QStringList& inputs, const std::deque<int>& answers)
    {
        TSearchRun run;
        Dialogs.Inputs.assign(inputs.begin(), inputs.end());
        Dialogs.Answers = answers;
        QElapsedTimer clock;
        TCpuTimer cpu;
        Dialogs.OnMessage = [&](const QString& text) {
            if (run.Ms < 0) {
                run.Ms = double(cpu.nsecsElapsed()) / 1e6;
                run.ClockMs = double(clock.nsecsElapsed()) / 1e6;
            }
            run.Messages << text;
        };
        Turns.Start();
        clock.start();
        cpu.start();
        Window.Form->FindLineStringExecute(action);
        Turns.Stop();
        Dialogs.OnMessage = {};
        // The list lays its rows out on the next turn of the event loop.
        QCoreApplication::processEvents();
        run.ListedMs = double(cpu.nsecsElapsed()) / 1e6;
        run.Entries = Window.Form->ContentsListBox->count();
        FlushEvents();
        return run;
    }

    // The medians of Runs runs; the entries and messages of the last.
    TSearchRun Median(TSearchAction action, const QStringList& inputs,
                      const std::deque<int>& answers = {})
    {
        std::vector<double> times;
        std::vector<double> listed;
        TSearchRun last;
        for (int run = 0; run < Runs; ++run) {
            last = Run(action, inputs, answers);
            times.push_back(last.Ms);
            listed.push_back(last.ListedMs);
        }
        last.Ms = ::Median(times);
        last.ListedMs = ::Median(listed);
        return last;
    }

    // The re-search button pressed 150 ms into the paragraph search, the longest: the time
    // from then until the search has ended and shows its message.
    TSearchRun Cancel()
    {
        constexpr int PressAt = 150;
        QTimer::singleShot(PressAt, Window.Form->FindResearchButton, &QPushButton::click);
        TSearchRun run = Run(TSearchAction::FindParagraph, {}, {});
        run.ClockMs -= PressAt;
        return run;
    }

    double LongestTurn() const { return Turns.Longest; }

private:
    TWindowDriver& Window;
    TBenchDialogs& Dialogs;
    TTurnWatch Turns;
};

// 10 pt, and the window made as wide as puts the text view at the width wanted.
bool LayOutForSearch(TWindowDriver& window)
{
    TQuorvelaneForm& form = *window.Form;
    form.FontSizeComboBox->setCurrentIndex(FontSizeIndex(form, 10));
    form.FontSizeComboBoxChange();
    for (int attempt = 0; attempt < 8 && form.MainRichEdit->width() != TextViewWidth; ++attempt) {
        form.resize(form.width() + TextViewWidth - form.MainRichEdit->width(), form.height());
        window.Settle();
    }
    return form.MainRichEdit->width() == TextViewWidth &&
           form.MainRichEdit->font().pointSize() == 10;
}

bool WriteLines(const TQuorvelaneForm& form, const QString& path, int& indented)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    indented = 0;
    QByteArray chunk;
    for (int i = 0; i < form.LineCount(); ++i) {
        const QString line = form.Line(i);
        indented += line.startsWith(u' ') || line.startsWith(u'\u3000');
        chunk += line.toUtf8();
        chunk += '\n';
        if (chunk.size() > (1 << 20) && file.write(std::exchange(chunk, {})) < 0)
            return false;
    }
    return file.write(chunk) == chunk.size();
}

void WordRows(TSearchBench& bench, const QString& linesPath)
{
    for (const QString& word : {QStringLiteral("debian"), QStringLiteral("パッケージ"),
                                QStringLiteral("見つからない語")}) {
        const TSearchRun ours = bench.Median(TSearchAction::FindLineString, {word});
        std::vector<double> grep;
        qint64 grepHits = 0;
        for (int run = 0; run < Runs; ++run) {
            const TTimed timed = runGrep(linesPath, word);
            grep.push_back(timed.Ms);
            grepHits = timed.Hits;
        }
        TBenchRow row;
        row.What = QStringLiteral("Find_Word \"%1\", %2 entries")
                       .arg(word)
                       .arg(ours.Entries)
                       .toStdString();
        row.Ours = ours.Ms;
        row.Baseline = QStringLiteral("grep -c -i -F, %1 hits").arg(grepHits).toStdString();
        row.Base = Median(grep);
        row.MaxRatio = 3;
        row.Condition = "the same lines found";
        row.ConditionHeld = ours.Entries == grepHits;
        PrintRow(row);
    }
}

void ContentsRow(const std::string& what, const TSearchRun& run, int leastEntries)
{
    TBenchRow row;
    row.What = what + ", " + std::to_string(run.Entries) + " entries";
    row.Ours = run.Ms;
    row.MaxValue = 1000;
    if (leastEntries > 0) {
        row.Condition = std::to_string(leastEntries) + " entries or more";
        row.ConditionHeld = run.Entries >= leastEntries;
    }
    PrintRow(row);
    TBenchRow listed;
    listed.What = "  the same until the list is laid out and painted";
    listed.Ours = run.ListedMs;
    PrintRow(listed);
}

void ResponseRows(TSearchBench& bench)
{
    const TSearchRun cancelled = bench.Cancel();
    TBenchRow cancel;
    cancel.What = "re-search button pressed during Find_Letter, until the search ended";
    cancel.Ours = cancelled.ClockMs;
    cancel.MaxValue = 100;
    cancel.Condition = "cancelled";
    cancel.ConditionHeld = cancelled.Messages.contains(CancelledMessage);
    PrintRow(cancel);
    // No target: the longest waits are the list taking in or letting go of all its entries at
    // once, which a million entries make long.
    TBenchRow turn;
    turn.What = "longest wait of an event, every search above";
    turn.Ours = bench.LongestTurn();
    PrintRow(turn);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    TBenchDialogs& dialogs = InstallBenchDialogs();
    if (argc != 2) {
        std::fprintf(stderr, "usage: bench_search CORPUS-100MB.txt\n");
        return 2;
    }
    const QString corpus = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();
    TWindowDriver window(QString(), corpus);
    if (!window.Form || !LayOutForSearch(window) || window.Open(TWindowDriver::LargeName) < 0) {
        std::fprintf(stderr, "bench_search: the window did not show the text at 10 pt, %d px\n",
                     TextViewWidth);
        return 1;
    }
    QTemporaryDir folder;
    const QString linesPath = folder.filePath(QStringLiteral("lines.utf8.txt"));
    int indented = 0;
    if (!folder.isValid() || !WriteLines(*window.Form, linesPath, indented)) {
        std::fprintf(stderr, "bench_search: cannot write the display lines\n");
        return 1;
    }
    const int lines = window.Form->LineCount();
    PrintTableHead(QStringLiteral("searches over %1 display lines (%2% indented) of %3, 10 pt, "
                                  "%4 px, median of %5")
                       .arg(lines)
                       .arg(lines > 0 ? 100 * qint64(indented) / lines : 0)
                       .arg(QFileInfo(corpus).fileName())
                       .arg(TextViewWidth)
                       .arg(Runs)
                       .toStdString());
    TSearchBench bench(window, dialogs);
    WordRows(bench, linesPath);
    ContentsRow("Find_Letter, paragraph search", bench.Median(TSearchAction::FindParagraph, {}),
                10000);
    // Markers 第 and 章, no width limit, not only indented lines.
    ContentsRow(
        "Find_Contents, markers 第章",
        bench.Median(TSearchAction::FindContents, {QStringLiteral("第章"), "0"}, {AnswerNo}), 0);
    ResponseRows(bench);
    return 0;
}
