// Display-line model against laying every paragraph out with QTextLayout, the way the text view
// would, on about 10 MB of Japanese prose. Run under the offscreen platform. Times are CPU
// times of this process.
//
// bench_linemodel CORPUS.txt lays out the lines of a CP932 corpus; without an argument, a
// sample of prose repeated to 10 MB.

#include "bench/BenchReport.h"
#include "platform/Cp932.h"
#include "platform/TextDecoding.h"
#include "reader/DisplayLineModel.h"
#include "reader/FontAdvances.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTextLayout>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

namespace {

constexpr qreal WrapWidth = 800 - 2 * 4; // an 800 px viewport less the document margins
constexpr qsizetype TargetBytes = 10 * 1024 * 1024;
volatile qsizetype Sink = 0;

QStringList CorpusFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return DecodeText(file.readAll()).split(u'\n');
}

QStringList Corpus(qsizetype targetBytes)
{
    QFile file(QStringLiteral(QV_TESTDATA_DIR "/sample-prose.sjis.txt"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    const QStringList sample =
        DecodeCp932(bytes).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).split(u'\n');
    QStringList paragraphs;
    for (qsizetype size = 0; size < targetBytes; size += bytes.size())
        paragraphs += sample;
    return paragraphs;
}

// CPU time of this process: the machine is shared, and wall time measures the neighbours too.
double CpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

double MedianCpuMs(int runs, const std::function<void()>& work)
{
    std::vector<double> times;
    for (int r = 0; r < runs; ++r) {
        const double start = CpuMs();
        work();
        times.push_back(CpuMs() - start);
    }
    return Median(times);
}

int QTextLayoutLines(const QStringList& paragraphs, const QFont& font)
{
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    int lines = 0;
    for (const QString& text : paragraphs) {
        QTextLayout layout(text, font);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(WrapWidth);
            ++lines;
        }
        layout.endLayout();
    }
    return lines;
}

void BenchFont(const QString& family, const QStringList& paragraphs, const QStringList& subset)
{
    QFont font(family);
    font.setPointSize(10);
    TFontAdvances advances(font);
    TDisplayLineModel model(advances);
    model.SetWidth(WrapWidth);

    const double coldStart = CpuMs();
    model.SetParagraphs(paragraphs);
    const double coldMs = CpuMs() - coldStart;
    const double fullMs = MedianCpuMs(5, [&] { model.Relayout(); });
    PrintTableHead(QStringLiteral("%1 10 pt, %2 px wrap, %3 paragraphs, %4 display lines")
                       .arg(family)
                       .arg(WrapWidth)
                       .arg(paragraphs.size())
                       .arg(model.count())
                       .toStdString());

    TDisplayLineModel subsetModel(advances);
    subsetModel.SetWidth(WrapWidth);
    subsetModel.SetParagraphs(subset);
    const double subsetModelMs = MedianCpuMs(5, [&] { subsetModel.Relayout(); });
    int baselineLines = 0;
    const double baselineMs =
        MedianCpuMs(3, [&] { baselineLines = QTextLayoutLines(subset, font); });
    const double scale = double(paragraphs.size()) / double(subset.size());

    // The model's figure beside QTextLayout's on the whole text, extrapolated from the subset.
    TBenchRow full;
    full.What = "model full layout, median of 5";
    full.Ours = fullMs;
    full.Baseline = QStringLiteral("QTextLayout (1/%1 x %1)").arg(scale, 0, 'f', 0).toStdString();
    full.Base = baselineMs * scale;
    full.MaxValue = 350;
    full.MaxRatio = 0.1;
    PrintRow(full);
    TBenchRow first = full;
    first.What = "model first layout, cold caches";
    first.Ours = coldMs;
    first.MaxValue = -1;
    first.MaxRatio = -1;
    PrintRow(first);
    TBenchRow agree;
    agree.What = QStringLiteral("1/%1 subset, %2 lines")
                     .arg(scale, 0, 'f', 0)
                     .arg(subsetModel.count())
                     .toStdString();
    agree.Ours = subsetModelMs;
    agree.Baseline = QStringLiteral("QTextLayout, %1 lines").arg(baselineLines).toStdString();
    agree.Base = baselineMs;
    agree.Condition = "same line count";
    agree.ConditionHeld = subsetModel.count() == baselineLines;
    PrintRow(agree);

    // One edit in the middle: a paragraph retyped, and one split in two (the tail moves); beside
    // it, QTextLayout laying out that one paragraph again.
    const int middle = model.paragraphCount() / 2;
    const QString original = model.paragraph(middle).toString();
    std::vector<double> editUs;
    std::vector<double> splitUs;
    std::vector<double> layoutUs;
    for (int r = 0; r < 101; ++r) {
        double start = CpuMs();
        model.ParagraphsChanged(middle, 1, {original + QStringLiteral("追加")});
        editUs.push_back((CpuMs() - start) * 1e3);
        start = CpuMs();
        model.ParagraphsChanged(middle, 1, {original.left(10), original.mid(10)});
        model.ParagraphsChanged(middle, 2, {original});
        splitUs.push_back((CpuMs() - start) * 1e3 / 2);
        start = CpuMs();
        QTextLayoutLines({original + QStringLiteral("追加")}, font);
        layoutUs.push_back((CpuMs() - start) * 1e3);
    }
    TBenchRow edit;
    edit.What = "one paragraph edited, median of 101";
    edit.Unit = "us";
    edit.Ours = Median(editUs);
    edit.Baseline = "QTextLayout of that paragraph";
    edit.Base = Median(layoutUs);
    PrintRow(edit);
    edit.What = "one paragraph split/merged, median";
    edit.Ours = Median(splitUs);
    PrintRow(edit);

    auto* random = QRandomGenerator::global();
    constexpr int lookups = 1000000;
    qsizetype sink = 0;
    const double start = CpuMs();
    for (int k = 0; k < lookups; ++k)
        sink += model.line(int(random->bounded(model.count()))).size() + model.count();
    TBenchRow lookup;
    lookup.What = "count() + line(i), random";
    lookup.Unit = "ns";
    lookup.Ours = (CpuMs() - start) * 1e6 / lookups;
    Sink = sink; // keeps the lookups from being optimised away
    PrintRow(lookup);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QString source = argc >= 2 ? QFileInfo(QString::fromLocal8Bit(argv[1])).fileName()
                                     : QStringLiteral("sample-prose.sjis.txt repeated to 10 MB");
    const QStringList paragraphs =
        argc >= 2 ? CorpusFile(QString::fromLocal8Bit(argv[1])) : Corpus(TargetBytes);
    if (paragraphs.isEmpty()) {
        std::fprintf(stderr, "bench_linemodel: no text in %s\n", qPrintable(source));
        return 1;
    }
    const QStringList subset = paragraphs.mid(0, paragraphs.size() / 10);
    qsizetype units = 0;
    for (const QString& p : paragraphs)
        units += p.size() + 1;
    std::printf("\ndisplay-line model on %s, %lld characters\n", qPrintable(source),
                qlonglong(units));
    for (const QString& family : {QStringLiteral("IPAGothic"), QStringLiteral("IPAPGothic")})
        BenchFont(family, paragraphs, subset);
    return 0;
}
