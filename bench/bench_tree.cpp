// Files coming in through the real main window. A generated library of about 100 000 files in
// about 5 000 folders: a third of the files "*.txt" in mixed letter case, other extensions,
// hidden files and folders, empty folders and a link from inside the tree back to its root.
//
// - The folder-tree search (Ctrl+A), from FileSearchAllExecute until the lists are filled and
//   the count message is due, beside `find ROOT -type f -iname '*.txt'` with its output read
//   through a pipe, in the same run; both must find the same number of files.
// - The longest pause of a 10 ms timer on the user-interface thread during the search.
// - The stop button pressed in the middle of the folder pass and of the file pass: the time
//   until the worker has ended.
// - A drop of a folder of 10 000 files until the first file is shown, beside `find` listing that
//   folder.
// Wall-clock medians of several runs: the search is two threads and a child process.

#include "bench/BenchReport.h"
#include "bench/WindowDriver.h"
#include "files/FileSearchAll.h"
#include "files/FileSearchAllThread.h"
#include "files/FolderControls.h"
#include "files/StringListBox.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <atomic>
#include <cstdio>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int Shelves = 50;
constexpr int Authors = 10;
constexpr int Volumes = 9;
constexpr int FilesPerVolume = 22;
constexpr int DropFiles = 10000;
constexpr int Runs = 5;

template <typename... A> QByteArray Format(const char* pattern, A... values)
{
    return QString::asprintf(pattern, values...).toLatin1();
}

bool MakeFile(const QByteArray& path)
{
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    return fd >= 0 && ::close(fd) == 0;
}

// The name of file i: 30 % "*.txt" in three letter cases, one in a hundred a hidden ".txt",
// the rest other extensions, near misses (".tx", ".txt.bak", ".xtxt") and no extension.
QByteArray FileName(int i)
{
    static const char* const Patterns[] = {"n%d.txt",  "N%d.TXT",     "n%d.Txt", ".h%d.dat",
                                           "n%d.rtf",  "n%d.txt.bak", "n%d",     "n%d.tx",
                                           "n%d.xtxt", "n%d.md"};
    const char* pattern = i % 100 == 99 ? ".h%d.txt" : Patterns[i % 10];
    return Format(pattern, i);
}

// Shelves, every tenth hidden; authors with two files each; volumes with the files, every
// 37th volume empty.
bool MakeLibrary(const QString& root, int& folders)
{
    const QByteArray base = QFile::encodeName(root);
    int file = 0;
    folders = 1;
    for (int s = 0; s < Shelves; ++s) {
        const QByteArray shelf = base + Format(s % 10 == 9 ? "/.shelf%02d" : "/shelf%02d", s);
        if (::mkdir(shelf.constData(), 0755) != 0)
            return false;
        ++folders;
        for (int a = 0; a < Authors; ++a) {
            const QByteArray author = shelf + Format("/Author%d", a);
            if (::mkdir(author.constData(), 0755) != 0)
                return false;
            ++folders;
            for (int k = 0; k < 2; ++k) {
                if (!MakeFile(author + '/' + FileName(file++)))
                    return false;
            }
            for (int v = 0; v < Volumes; ++v) {
                const QByteArray volume = author + Format("/vol%d", v);
                if (::mkdir(volume.constData(), 0755) != 0)
                    return false;
                ++folders;
                if ((folders % 37) == 0)
                    continue;
                for (int k = 0; k < FilesPerVolume; ++k) {
                    if (!MakeFile(volume + '/' + FileName(file++)))
                        return false;
                }
            }
        }
    }
    return ::symlink(base.constData(), (base + "/shelf00/loop").constData()) == 0;
}

bool MakeDropFolder(const QString& folder)
{
    if (!QDir().mkpath(folder))
        return false;
    const QByteArray base = QFile::encodeName(folder);
    for (int i = 0; i < DropFiles; ++i) {
        if (!MakeFile(base + Format(i % 2 ? "/d%05d.txt" : "/D%05d.TXT", i)))
            return false;
    }
    return true;
}

double CpuMs(int who)
{
    rusage usage{};
    getrusage(who, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

double ThreadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

double LastFindCpuMs = 0;

double FindMs(const QStringList& arguments, qsizetype& count)
{
    const double cpu = CpuMs(RUSAGE_CHILDREN);
    QElapsedTimer timer;
    timer.start();
    QProcess find;
    find.start(QStringLiteral("find"), arguments);
    if (!find.waitForFinished(120000))
        return -1;
    count = find.readAllStandardOutput().count('\n');
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    LastFindCpuMs = CpuMs(RUSAGE_CHILDREN) - cpu;
    return ms;
}

struct TSearchRun
{
    double TotalMs = 0;
    double CpuMs = 0;   // both threads of this process, until the count message
    double UiCpuMs = 0; // the user-interface thread's share of it
    double LongestGapMs = 0;
    double LongestWorkMs = 0; // the UI thread's own processor time between two ticks
    double StopMs = -1;
    // When the button first showed the file pass's count and the transfer, seen by the ticks.
    double FilePassMs = -1;
    double TransferMs = -1;
    QString Message;
    int Found = 0;
};

// One search in the window. With stopAt, the stop button is pressed at the first tick that sees
// the button's caption begin with it: "検索中" is shown through the folder pass, the remaining
// count from the first folders of the file pass on.
TSearchRun Search(TQuorvelaneForm& form, TBenchDialogs& dialogs, const QString& stopAt = {})
{
    TSearchRun run;
    QElapsedTimer clock;
    QEventLoop loop;
    const double cpu = CpuMs(RUSAGE_SELF);
    const double uiCpu = ThreadCpuMs();
    dialogs.OnMessage = [&](const QString& text) {
        run.UiCpuMs = ThreadCpuMs() - uiCpu;
        run.TotalMs = double(clock.nsecsElapsed()) / 1e6;
        run.CpuMs = CpuMs(RUSAGE_SELF) - cpu;
        run.Message = text;
    };
    QTimer ticks;
    ticks.setTimerType(Qt::PreciseTimer);
    ticks.setInterval(10);
    qint64 lastTick = 0;
    double lastWork = ThreadCpuMs();
    std::atomic<qint64> stopAsked{-1};
    QObject::connect(&ticks, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        run.LongestGapMs = std::max(run.LongestGapMs, double(now - lastTick) / 1e6);
        lastTick = now;
        const double work = ThreadCpuMs();
        run.LongestWorkMs = std::max(run.LongestWorkMs, work - lastWork);
        lastWork = work;
        const QString status = form.SearchingButton->text();
        if (run.FilePassMs < 0 && status.startsWith(QStringLiteral("残り数")))
            run.FilePassMs = double(now) / 1e6;
        if (run.TransferMs < 0 && status == QStringLiteral("転送"))
            run.TransferMs = double(now) / 1e6;
        if (!stopAt.isEmpty() && stopAsked < 0 && status.startsWith(stopAt)) {
            stopAsked = clock.nsecsElapsed();
            form.SearchingButton->click();
        }
    });
    std::atomic<qint64> ended{-1};
    clock.start();
    ticks.start();
    form.FileSearchAllExecute();
    TFileSearchAllThread* thread = form.FileSearchAll().SearchAllThread();
    QObject::connect(
        thread, &QThread::finished, thread, [&] { ended = clock.nsecsElapsed(); },
        Qt::DirectConnection);
    QObject::connect(thread, &QObject::destroyed, &loop, &QEventLoop::quit);
    loop.exec();
    ticks.stop();
    if (stopAsked >= 0 && ended >= 0)
        run.StopMs = double(ended - stopAsked) / 1e6;
    run.Found = form.FileNameListBox->count();
    if (qEnvironmentVariableIsSet("QV_BENCH_TRACE"))
        std::fprintf(stderr,
                     "file pass %.1f transfer %.1f message %.1f cpu %.1f (ui %.1f) gap %.1f stop "
                     "%.1f find cpu %.1f\n",
                     run.FilePassMs, run.TransferMs, run.TotalMs, run.CpuMs, run.UiCpuMs,
                     run.LongestGapMs, run.StopMs, LastFindCpuMs);
    return run;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    TBenchDialogs& dialogs = InstallBenchDialogs();
    // QV_BENCH_LIBRARY names a folder to make the files in and keep, so that a profiler can
    // watch the searches without the making of 100 000 files.
    const QString kept = qEnvironmentVariable("QV_BENCH_LIBRARY");
    const bool reuse = !kept.isEmpty() && QFileInfo::exists(kept + QStringLiteral("/library"));
    QTemporaryDir temporary;
    const QDir dir(kept.isEmpty() ? temporary.path() : kept);
    const QString root = dir.filePath(QStringLiteral("library"));
    const QString dropFolder = dir.filePath(QStringLiteral("drop"));
    int folders = 0;
    if (reuse)
        folders = 1 + Shelves * Authors * (1 + Volumes) + Shelves;
    else if (!QDir().mkpath(root) || !MakeLibrary(root, folders) || !MakeDropFolder(dropFolder)) {
        std::fprintf(stderr, "cannot make the library\n");
        return 1;
    }
    QFile start(dir.filePath(QStringLiteral("start.txt")));
    if (!start.open(QIODevice::WriteOnly) || start.write("start\r\n") != 7)
        return 1;
    start.close();
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    {
        TQuorvelaneForm form;
        form.show();
        QCoreApplication::processEvents();
        form.ReadTimerTimer();
        if (!form.DirectoryListBox1->SetDirectory(root)) {
            std::fprintf(stderr, "cannot open the library\n");
            return 1;
        }

        std::vector<double> ours, cpu, find, findCpu, gaps, works;
        qsizetype found = 0;
        TSearchRun last;
        for (int run = 0; run < Runs; ++run) {
            last = Search(form, dialogs);
            ours.push_back(last.TotalMs);
            cpu.push_back(last.CpuMs);
            gaps.push_back(last.LongestGapMs);
            works.push_back(last.LongestWorkMs);
            find.push_back(FindMs({root, "-type", "f", "-iname", "*.txt"}, found));
            findCpu.push_back(LastFindCpuMs);
        }

        PrintTableHead("folder-tree search, " + std::to_string(folders) + " folders, " +
                       "median of " + std::to_string(Runs));
        TBenchRow row;
        row.What = "search to count message, " + std::to_string(last.Found) + " files";
        row.Ours = Median(ours);
        row.Baseline = "find -iname, " + std::to_string(found) + " files";
        row.Base = Median(find);
        row.MaxRatio = 1.0;
        row.Condition = "same count";
        row.ConditionHeld = last.Found == found;
        PrintRow(row);
        // The machine is shared: the processor time of both threads beside find's shows the
        // work apart from waiting for a core.
        row.What = "the same in CPU time, both threads";
        row.Ours = Median(cpu);
        row.Baseline = "find -iname, CPU time";
        row.Base = Median(findCpu);
        PrintRow(row);
        row = TBenchRow();
        row.What = "longest pause of a 10 ms UI timer";
        row.Ours = *std::max_element(gaps.begin(), gaps.end());
        row.MaxValue = 50;
        PrintRow(row);
        // A pause also counts the time the thread waited for a core; its own work between two
        // ticks is what the search made it do.
        row.What = "longest UI-thread CPU time between ticks";
        row.Ours = *std::max_element(works.begin(), works.end());
        PrintRow(row);

        for (const bool filePass : {false, true}) {
            std::vector<double> stops;
            bool rightPass = true;
            for (int run = 0; run < Runs; ++run) {
                // The file pass lasts about 10 ms, so a tick may not see it at all: a search
                // that ends with the button never pressed is run again.
                TSearchRun stopped;
                for (int attempt = 0; attempt < 10 && stopped.StopMs < 0; ++attempt)
                    stopped =
                        Search(form, dialogs,
                               filePass ? QStringLiteral("残り数") : QStringLiteral("検索中"));
                stops.push_back(stopped.StopMs);
                const bool inFilePass = stopped.Message.contains(QStringLiteral("個のファイル"));
                rightPass = rightPass && stopped.StopMs >= 0 && inFilePass == filePass;
            }
            row = TBenchRow();
            row.What = filePass ? "stop in the file pass" : "stop in the folder pass";
            row.Ours = *std::max_element(stops.begin(), stops.end());
            row.MaxValue = 50;
            row.Condition = "stopped in that pass";
            row.ConditionHeld = rightPass;
            PrintRow(row);
        }

        std::vector<double> drops, dropFind;
        qsizetype dropFound = 0;
        bool shown = true;
        for (int run = 0; run < Runs; ++run) {
            form.DirectoryListBox1->SetDirectory(dir.path());
            form.FileNameListBox->clear();
            form.FilePathListBox->clear();
            QElapsedTimer timer;
            timer.start();
            form.DropFiles({dropFolder});
            drops.push_back(double(timer.nsecsElapsed()) / 1e6);
            shown = shown && form.FileNameListBox->count() == DropFiles &&
                    form.FileState().CurrentFileName == dropFolder + QStringLiteral("/D00000.TXT");
            dropFind.push_back(
                FindMs({dropFolder, "-maxdepth", "1", "-type", "f", "-iname", "*.txt"}, dropFound));
        }
        PrintTableHead("drop of a folder of " + std::to_string(DropFiles) + " files, median of " +
                       std::to_string(Runs));
        row = TBenchRow();
        row.What = "drop until the first file is shown";
        row.Ours = Median(drops);
        row.Baseline = "find -maxdepth 1, " + std::to_string(dropFound);
        row.Base = Median(dropFind);
        row.MaxValue = 100;
        row.Condition = "all listed, first loaded";
        row.ConditionHeld = shown;
        PrintRow(row);
        form.close();
    }
    QDir::setCurrent(previous);
    return 0;
}
