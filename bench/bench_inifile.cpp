// The settings passes over a small and a 10 MB settings file: read the file, 34 reads, 34 writes
// and the atomic write back. Beside each figure the least any such pass costs: reading the
// bytes, decoding them from CP932 and writing them back through QSaveFile.

#include "bench/BenchReport.h"
#include "platform/Cp932.h"
#include "platform/IniFile.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>

#include <cstdio>
#include <vector>

namespace {

// Keeps the decoded baseline text from being optimised away.
volatile qsizetype DecodedSink = 0;

const char* const Keys[34] = {"Maximized",
                              "Left",
                              "Top",
                              "Width",
                              "Height",
                              "LeftPanelWidth",
                              "LeftPanelOpenWidth",
                              "DirectoryPanelHeight",
                              "RightPanelWidth",
                              "AnyFilter",
                              "NowFilter",
                              "AllFilter",
                              "SelFolder",
                              "Folder",
                              "FileName",
                              "SlideInterval",
                              "ChangeReadTimes",
                              "SlideLabelStep",
                              "SlideRepeat",
                              "ListSlide",
                              "LabelSpace",
                              "BackColor",
                              "ContentsLineForward",
                              "FontSize",
                              "FontColor",
                              "FontName",
                              "FontStyle",
                              "FormAllChange",
                              "SearchType",
                              "SearchLineString",
                              "SearchContents",
                              "SearchSimplleContents",
                              "SearchLength",
                              "SearchOption"};

// Foreign keys first (with CP932 text), the program's keys at the very end, so every lookup
// and every rewrite lands behind the bulk of the file. The foreign keys fill many small
// sections, or else the program's own section.
QByteArray SettingsFile(qsizetype size, bool oneSection)
{
    QByteArray bytes;
    if (oneSection)
        bytes += "[Program]\r\n";
    for (int n = 0; bytes.size() < size; ++n) {
        if (!oneSection)
            bytes += "[Foreign" + QByteArray::number(n) + "]\r\n";
        for (int k = 0; k < 20; ++k)
            bytes += "Key" + QByteArray::number(k) + "=\x95\x5c\x8e\xa6 value " +
                     QByteArray::number(n * 20 + k) + "\r\n";
        bytes += "; comment\r\n\r\n";
    }
    if (!oneSection)
        bytes += "[Program]\r\n";
    for (int k = 0; k < 17; ++k)
        bytes += QByteArray(Keys[k]) + "=" + QByteArray::number(k) + "\r\n";
    return bytes;
}

double PassMs(const QString& path)
{
    QElapsedTimer timer;
    timer.start();
    TIniFile ini(path);
    int sum = 0;
    for (const char* key : Keys)
        sum += ini.ReadInteger(QStringLiteral("Program"), QString::fromLatin1(key), 1);
    for (const char* key : Keys)
        ini.WriteInteger(QStringLiteral("Program"), QString::fromLatin1(key), sum + 1);
    if (!ini.UpdateFile())
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

double BaselineMs(const QString& path)
{
    QElapsedTimer timer;
    timer.start();
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray bytes = in.readAll();
    DecodedSink = DecodeCp932(bytes).size();
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit())
        return -1;
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

void Measure(const char* name, qsizetype size, bool oneSection, const QTemporaryDir& dir)
{
    const QString path = dir.filePath(QStringLiteral("Quorvelane.ini"));
    std::vector<double> pass;
    std::vector<double> base;
    for (int run = 0; run < 5; ++run) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(SettingsFile(size, oneSection)) < 0)
            return;
        file.close();
        pass.push_back(PassMs(path));
        base.push_back(BaselineMs(path));
    }
    TBenchRow row;
    row.What = std::string(name) + ": 34 reads, 34 writes, save";
    row.Ours = Median(pass);
    row.Baseline = "read + decode + QSaveFile";
    row.Base = Median(base);
    PrintRow(row);
}

} // namespace

int main()
{
    QTemporaryDir dir;
    if (!dir.isValid())
        return 1;
    PrintTableHead("settings file passes, median of 5");
    Measure("4KB", 4 * 1024, false, dir);
    Measure("10MB", 10 * 1024 * 1024, false, dir);
    Measure("10MB-1section", 10 * 1024 * 1024, true, dir);
    return 0;
}
