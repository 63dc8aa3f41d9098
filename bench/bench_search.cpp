// Find_Word over about a million display lines, beside GNU grep over the same lines as UTF-8.
#include "search/LineSearch.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>

namespace {

// Lines of the length a wrapped Japanese text view shows, a few with the searched words.
QStringList corpus(int count)
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
    qint64 Ms = 0;
    qint64 Hits = 0;
};

TTimed runFindWord(const QStringList& lines, const QString& word)
{
    TLineListSource source(lines);
    qint64 hits = 0;
    TSearchTarget target;
    target.Lines = &source;
    target.Yield = [] { return true; };
    target.AddEntry = [&hits](const QString&) { ++hits; };
    QElapsedTimer timer;
    timer.start();
    Find_Word(word, target);
    return {timer.elapsed(), hits};
}

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
    const qint64 ms = timer.elapsed();
    return {ms, grep.readAllStandardOutput().trimmed().toLongLong()};
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int count = 1'000'000;
    const QStringList lines = corpus(count);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("lines.txt"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly)) {
            std::fprintf(stderr, "bench_search: cannot write %s\n", qPrintable(path));
            return 1;
        }
        QTextStream out(&file);
        for (const QString& line : lines)
            out << line << '\n';
    }

    for (const QString& word :
         {QStringLiteral("debian"), QStringLiteral("結論"), QStringLiteral("見つからない語")}) {
        // The best of three runs each, as the machine is shared.
        TTimed ours = runFindWord(lines, word);
        TTimed grep = runGrep(path, word);
        for (int round = 1; round < 3; ++round) {
            ours.Ms = qMin(ours.Ms, runFindWord(lines, word).Ms);
            grep.Ms = qMin(grep.Ms, runGrep(path, word).Ms);
        }
        std::printf("Find_Word %d lines \"%s\": %lld ms, %lld hits | grep -c -i -F: %lld ms, "
                    "%lld hits\n",
                    count, qPrintable(word), ours.Ms, ours.Hits, grep.Ms, grep.Hits);
    }
    return 0;
}
