// Saving the main window's text through the save command: the 10 MB corpus loaded and saved,
// beside iconv converting the same text (UTF-8, CR LF) to CP932 into the same folder; and the
// peak memory while the 100 MB corpus is saved, beside the memory in use before the save.
// Times are CPU times, iconv's as a child process's.
//
// bench_save CORPUS-10MB.txt CORPUS-100MB.txt
//
// The 100 MB save runs in a child process of this program (bench_save --child FILE), so that its
// peak memory belongs to that save alone.

#include "bench/BenchReport.h"
#include "bench/WindowDriver.h"

#include "dialogs/FileDialogs.h"
#include "platform/AppUtils.h"
#include "platform/TextDecoding.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <fstream>
#include <map>
#include <sys/resource.h>

namespace {

constexpr int Runs = 5;

double StatusMb(const char* key)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string prefix = std::string(key) + ':';
    while (std::getline(status, line))
        if (line.rfind(prefix, 0) == 0)
            return std::stod(line.substr(prefix.size())) / 1024;
    return 0;
}

// Lets the peak memory figure (VmHWM) start again from what is in use now.
bool ResetPeakMemory()
{
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    clear.flush();
    return bool(clear);
}

double ChildrenCpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

QByteArray Digest(const QString& path)
{
    QFile file(path);
    QCryptographicHash hash(QCryptographicHash::Sha1);
    return file.open(QIODevice::ReadOnly) && hash.addData(&file) ? hash.result() : QByteArray();
}

// The corpus as UTF-8 with CR LF after every line: the text iconv is given.
bool WriteUtf8(const QString& corpus, const QString& path)
{
    QFile in(corpus);
    QFile out(path);
    if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly))
        return false;
    QString text = DecodeText(in.readAll());
    text.replace(u'\n', QStringLiteral("\r\n"));
    text += QStringLiteral("\r\n");
    const QByteArray bytes = text.toUtf8();
    return out.write(bytes) == bytes.size();
}

double IconvMs(const QString& input, const QString& output)
{
    const double before = ChildrenCpuMs();
    QProcess iconv;
    iconv.setStandardOutputFile(output);
    iconv.start(QStringLiteral("iconv"), {"-f", "UTF-8", "-t", "CP932", input});
    if (!iconv.waitForFinished(120000) || iconv.exitCode() != 0)
        return -1;
    return ChildrenCpuMs() - before;
}

double SaveMs(TWindowDriver& window, TBenchDialogs& dialogs, const QString& path)
{
    QFile::remove(path);
    dialogs.SavePaths.push_back(path);
    TCpuTimer timer;
    timer.start();
    window.Form->FileSaveExecute();
    return double(timer.nsecsElapsed()) / 1e6;
}

void SaveRows(TBenchDialogs& dialogs, const QString& medium)
{
    TWindowDriver window(medium, QString());
    QTemporaryDir out;
    if (!window.Form || !out.isValid() || window.Open(TWindowDriver::MediumName) < 0 ||
        !WriteUtf8(medium, out.filePath(QStringLiteral("utf8.txt")))) {
        std::fprintf(stderr, "bench_save: cannot set up the 10 MB save\n");
        return;
    }
    const QString ours = out.filePath(QStringLiteral("ours.txt"));
    const QString theirs = out.filePath(QStringLiteral("iconv.txt"));
    std::vector<double> oursMs;
    std::vector<double> iconvMs;
    for (int run = 0; run < Runs; ++run) {
        oursMs.push_back(SaveMs(window, dialogs, ours));
        iconvMs.push_back(IconvMs(out.filePath(QStringLiteral("utf8.txt")), theirs));
    }
    const QByteArray digest = Digest(ours);
    TBenchRow row;
    row.What = "save 10 MB (Ctrl+S, CP932, CR LF)";
    row.Ours = Median(oursMs);
    row.Baseline = "iconv -f UTF-8 -t CP932 > file";
    row.Base = Median(iconvMs);
    row.MaxRatio = 1.5;
    row.Condition = "the bytes iconv writes";
    row.ConditionHeld = !digest.isEmpty() && digest == Digest(theirs);
    PrintRow(row);
}

std::map<std::string, double> RunChild(const QString& path)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), {"--child", path});
    std::map<std::string, double> values;
    if (!child.waitForFinished(600000) || child.exitCode() != 0) {
        std::fprintf(stderr, "bench_save: the 100 MB child failed\n");
        return values;
    }
    for (const QByteArray& line : child.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> parts = line.split(' ');
        if (parts.size() == 2)
            values[parts[0].toStdString()] = parts[1].toDouble();
    }
    return values;
}

void MemoryRow(const QString& large)
{
    auto values = RunChild(large);
    TBenchRow row;
    row.What = "peak memory, save 100 MB";
    row.Unit = "MB";
    row.Ours = values["peak_mb"];
    row.Baseline = "memory in use before the save";
    row.Base = values["before_mb"];
    row.MaxRatio = 1.2;
    row.Condition = "saved whole";
    row.ConditionHeld = values["saved"] == 1;
    PrintRow(row);
}

int Child(TBenchDialogs& dialogs, const QString& path)
{
    TWindowDriver window(QString(), path);
    QTemporaryDir out;
    if (!window.Form || !out.isValid() || window.Open(TWindowDriver::LargeName) < 0)
        return 1;
    const QString saved = out.filePath(QStringLiteral("ours.txt"));
    FlushEvents();
    const double before = StatusMb("VmRSS");
    if (!ResetPeakMemory())
        return 1;
    SaveMs(window, dialogs, saved);
    std::printf("before_mb %f\npeak_mb %f\n", before, StatusMb("VmHWM"));
    // The corpus has CR LF after every line, so the saved file is the same size.
    std::printf("saved %d\n", QFileInfo(saved).size() == QFileInfo(path).size() ? 1 : 0);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    TBenchDialogs& dialogs = InstallBenchDialogs();
    const auto fileDialogs = CreateFileDialogsForm(AppMessageBox);
    if (argc == 3 && QByteArray(argv[1]) == "--child")
        return Child(dialogs, QFileInfo(QString::fromLocal8Bit(argv[2])).absoluteFilePath());
    if (argc != 3) {
        std::fprintf(stderr, "usage: bench_save CORPUS-10MB.txt CORPUS-100MB.txt\n");
        return 2;
    }
    PrintTableHead("saving the text, medians of " + std::to_string(Runs));
    SaveRows(dialogs, QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath());
    PrintTableHead("saving the text, 100 MB, one child run");
    MemoryRow(QFileInfo(QString::fromLocal8Bit(argv[2])).absoluteFilePath());
    return 0;
}
