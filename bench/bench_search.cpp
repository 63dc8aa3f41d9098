// Find_Word over the lines of a text, beside GNU grep over the same lines as UTF-8.
//
// bench_search CORPUS.txt CORPUS.utf8.txt: the lines of a CP932 corpus, grep reading its UTF-8
// copy. Without arguments: a million generated lines of the length a wrapped text view shows.
#include "bench/BenchReport.h"
#include "platform/TextDecoding.h"
#include "search/ContentsSearch.h"
#include "search/LineSearch.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextStream>
#include <functional>

#include <cstdio>

namespace {

// Lines of the length a wrapped Japanese text view shows, a few with the searched words.
QStringList generatedLines(int count)
{
    const QStringList pieces{"吾輩は", "猫である。", "名前は",   "まだ無い。", "どこで", "生れたか",
                             "とんと", "見当が",     "つかぬ。", "　",         "第一章", "ｶﾀｶﾅ",
                             "Qt ",    "text ",      "line ",    "(1) ",       "結論"};
    QRandomGenerator random(20261209);
    QStringList lines;
    lines.reserve(count);
    for (int i = 0; i < count; ++i) {
        QString line;
        const int length = 4 + random.bounded(12);
        for (int k = 0; k < length; ++k)
            line += pieces[random.bounded(int(pieces.size()))];
        if (random.bounded(50) == 0)
            line += random.bounded(2) ? QStringLiteral("Debian") : QStringLiteral("DEBIAN");
        lines << line;
    }
    return lines;
}

struct TTimed
{
    double Ms = 0;
    qint64 Hits = 0;
};

TTimed runGrep(const QString& path, const QString& word)
{
    QProcess grep;
    // Its output goes into a pipe: with /dev/null GNU grep stops at the first match.
    grep.setProgram(QStringLiteral("grep"));
    grep.setArguments({"-c", "-i", "-F", word, path});
    QElapsedTimer timer;
    timer.start();
    grep.start();
    grep.waitForFinished(-1);
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    return {ms, grep.readAllStandardOutput().trimmed().toLongLong()};
}

// One search over the lines, as the window runs it: entries counted, the turn every 100 lines
// included.
template <class Search> TTimed runSearch(const QStringList& lines, Search search)
{
    TLineListSource source(lines);
    qint64 hits = 0;
    TSearchTarget target;
    target.Lines = &source;
    target.Yield = [] { return true; };
    target.AddEntry = [&hits](const QString&) { ++hits; };
    QElapsedTimer timer;
    timer.start();
    search(target);
    return {double(timer.nsecsElapsed()) / 1e6, hits};
}

TTimed runFindWord(const QStringList& lines, const QString& word)
{
    return runSearch(lines, [&word](const TSearchTarget& target) { Find_Word(word, target); });
}

bool writeLines(const QString& path, const QStringList& lines)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QTextStream out(&file);
    for (const QString& line : lines)
        out << line << '\n';
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList lines;
    QString path;
    QString source;
    QStringList words{QStringLiteral("debian"), QStringLiteral("結論"),
                      QStringLiteral("見つからない語")};
    QTemporaryDir dir;
    if (argc >= 3) {
        QFile file(QString::fromLocal8Bit(argv[1]));
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "bench_search: cannot read %s\n", argv[1]);
            return 1;
        }
        lines = DecodeText(file.readAll()).split(u'\n');
        path = QString::fromLocal8Bit(argv[2]);
        source = QFileInfo(file.fileName()).fileName();
        words = QStringList{QStringLiteral("debian"), QStringLiteral("パッケージ"),
                            QStringLiteral("見つからない語")};
    } else {
        lines = generatedLines(1'000'000);
        path = dir.filePath(QStringLiteral("lines.txt"));
        source = QStringLiteral("generated lines");
        if (!writeLines(path, lines)) {
            std::fprintf(stderr, "bench_search: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }

    PrintTableHead(QStringLiteral("Find_Word over %1 lines of %2, median of 5")
                       .arg(lines.size())
                       .arg(source)
                       .toStdString());
    for (const QString& word : words) {
        std::vector<double> ours;
        std::vector<double> grep;
        qint64 ourHits = 0;
        qint64 grepHits = 0;
        for (int round = 0; round < 5; ++round) {
            const TTimed a = runFindWord(lines, word);
            const TTimed b = runGrep(path, word);
            ours.push_back(a.Ms);
            grep.push_back(b.Ms);
            ourHits = a.Hits;
            grepHits = b.Hits;
        }
        TBenchRow row;
        row.What = QStringLiteral("\"%1\", %2 hits").arg(word).arg(ourHits).toStdString();
        row.Ours = Median(ours);
        row.Baseline = QStringLiteral("grep -c -i -F, %1 hits").arg(grepHits).toStdString();
        row.Base = Median(grep);
        PrintRow(row);
    }

    PrintTableHead(QStringLiteral("contents searches over %1 lines of %2, median of 3")
                       .arg(lines.size())
                       .arg(source)
                       .toStdString());
    const QStringList blanks{QStringLiteral(" "), QStringLiteral("\u3000")};
    const QStringList chapter{QStringLiteral("第"), QStringLiteral("章")};
    const std::pair<const char*, std::function<void(const TSearchTarget&)>> searches[] = {
        {"Find_Letter, indented lines (paragraph search)",
         [&](const TSearchTarget& t) { Find_Letter(blanks, true, 1, 1, t); }},
        {"Find_Contents, markers 第 章 anywhere",
         [&](const TSearchTarget& t) { Find_Contents(chapter, false, 0, t); }},
    };
    for (const auto& [what, search] : searches) {
        std::vector<double> ours;
        qint64 hits = 0;
        for (int round = 0; round < 3; ++round) {
            const TTimed a = runSearch(lines, search);
            ours.push_back(a.Ms);
            hits = a.Hits;
        }
        TBenchRow row;
        row.What =
            QStringLiteral("%1, %2 entries").arg(QString::fromUtf8(what)).arg(hits).toStdString();
        row.Ours = Median(ours);
        row.MaxValue = 1000;
        PrintRow(row);
    }
    return 0;
}
