// Listing a folder of 20 000 entries for the file list: "*.txt" files in mixed letter case,
// other extensions, hidden files and a few subfolders. The figure is the time until the name
// and path lists are filled (reading, matching, sorting, pairing); beside it, in the same run,
// `find DIR -maxdepth 1 -type f -iname '*.txt'` with its output read through a pipe, and
// QDir::entryList with the same filter. Medians of several runs.

#include "bench/BenchReport.h"
#include "files/FileFilters.h"
#include "files/FolderListing.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <vector>

namespace {

constexpr int EntryCount = 20000;
constexpr int Runs = 9;

volatile qsizetype Sink = 0;

bool MakeFolder(const QString& folder)
{
    QDir dir(folder);
    for (int i = 0; i < EntryCount; ++i) {
        const QString n = QString::number(i).rightJustified(5, u'0');
        QString name;
        switch (i % 8) {
        case 0:
        case 1:
        case 2:
            name = QStringLiteral("text") + n + QStringLiteral(".txt");
            break;
        case 3:
            name = QStringLiteral("Text") + n + QStringLiteral(".TXT");
            break;
        case 4:
            name = QStringLiteral("doc") + n + QStringLiteral(".rtf");
            break;
        case 5:
            name = QStringLiteral("list") + n + QStringLiteral(".m3u");
            break;
        case 6:
            name = QStringLiteral(".hidden") + n + QStringLiteral(".txt");
            break;
        default:
            if (i % 400 == 7) {
                if (!dir.mkdir(QStringLiteral("folder") + n + QStringLiteral(".txt")))
                    return false;
                continue;
            }
            name = QStringLiteral("data") + n + QStringLiteral(".bin");
        }
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::WriteOnly))
            return false;
    }
    return true;
}

double ListMs(const QString& folder, qsizetype& count)
{
    QElapsedTimer timer;
    timer.start();
    const TFolderListing listing = ListFolder(folder, QStringLiteral("*.txt"));
    bool restored = true;
    const TFileListFill fill = FillFileLists(listing.Names, listing.Paths, restored, QString());
    count = fill.FileNameListBox.size();
    return double(timer.nsecsElapsed()) / 1e6;
}

double FindMs(const QString& folder, qsizetype& count)
{
    QElapsedTimer timer;
    timer.start();
    QProcess find;
    find.start(QStringLiteral("find"), {folder, "-maxdepth", "1", "-type", "f", "-iname", "*.txt"});
    if (!find.waitForFinished(60000))
        return -1;
    count = find.readAllStandardOutput().count('\n');
    return double(timer.nsecsElapsed()) / 1e6;
}

double EntryListMs(const QString& folder, qsizetype& count)
{
    QElapsedTimer timer;
    timer.start();
    QDir dir(folder, QStringLiteral("*.txt"), QDir::Name | QDir::IgnoreCase, QDir::Files);
    const QStringList names = dir.entryList();
    count = names.size();
    Sink = count;
    return double(timer.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    if (!dir.isValid() || !MakeFolder(dir.path())) {
        std::fprintf(stderr, "cannot make the folder\n");
        return 1;
    }
    std::vector<double> list, find, entries;
    qsizetype listed = 0, found = 0, entered = 0;
    for (int run = 0; run < Runs; ++run) {
        list.push_back(ListMs(dir.path(), listed));
        find.push_back(FindMs(dir.path(), found));
        entries.push_back(EntryListMs(dir.path(), entered));
    }
    PrintTableHead("folder of " + std::to_string(EntryCount) + " entries, *.txt, median of " +
                   std::to_string(Runs));
    TBenchRow row;
    row.What = "file list filled, " + std::to_string(listed) + " files";
    row.Ours = Median(list);
    row.Baseline = "find -iname, " + std::to_string(found);
    row.Base = Median(find);
    PrintRow(row);
    row.Baseline = "QDir::entryList, " + std::to_string(entered);
    row.Base = Median(entries);
    PrintRow(row);
    return 0;
}
