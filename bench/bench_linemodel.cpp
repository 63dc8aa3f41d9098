// Display-line model against laying every paragraph out with QTextLayout, the way the text view
// would, on about 10 MB of Japanese prose. Run under the offscreen platform. Times are CPU
// times of this process.

#include "platform/Cp932.h"
#include "reader/DisplayLineModel.h"
#include "reader/FontAdvances.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
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

double MedianMs(int runs, const std::function<void()>& work)
{
    std::vector<double> times;
    for (int r = 0; r < runs; ++r) {
        const double start = CpuMs();
        work();
        times.push_back(CpuMs() - start);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
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
    QElapsedTimer wall;
    wall.start();
    const double fullMs = MedianMs(5, [&] { model.Relayout(); });
    const double wallMs = wall.nsecsElapsed() / 1e6 / 5;
    std::printf("%s 10 pt, %.0f px wrap, %lld paragraphs, %d display lines\n", qPrintable(family),
                WrapWidth, qlonglong(paragraphs.size()), model.count());
    std::printf("  model full layout:        %8.1f ms median of 5 (first, cold caches: %.1f ms; "
                "wall time %.1f ms on average)\n",
                fullMs, coldMs, wallMs);

    TDisplayLineModel subsetModel(advances);
    subsetModel.SetWidth(WrapWidth);
    subsetModel.SetParagraphs(subset);
    const double subsetModelMs = MedianMs(5, [&] { subsetModel.Relayout(); });
    int baselineLines = 0;
    const double baselineMs = MedianMs(3, [&] { baselineLines = QTextLayoutLines(subset, font); });
    const double scale = double(paragraphs.size()) / double(subset.size());
    std::printf(
        "  on a 1/%.0f subset:         model %.1f ms, QTextLayout %.1f ms (%d vs %d lines)\n",
        scale, subsetModelMs, baselineMs, subsetModel.count(), baselineLines);
    std::printf("  QTextLayout, whole text:  %8.1f ms (subset median of 3, extrapolated)\n",
                baselineMs * scale);
    std::printf("  speed-up:                 %8.1f x\n", baselineMs * scale / fullMs);

    // One edit in the middle: a paragraph retyped, and one split in two (the tail moves).
    const int middle = model.paragraphCount() / 2;
    const QString original = model.paragraph(middle);
    std::vector<double> editUs;
    std::vector<double> splitUs;
    for (int r = 0; r < 101; ++r) {
        double start = CpuMs();
        model.ParagraphsChanged(middle, 1, {original + QStringLiteral("追加")});
        editUs.push_back((CpuMs() - start) * 1e3);
        start = CpuMs();
        model.ParagraphsChanged(middle, 1, {original.left(10), original.mid(10)});
        model.ParagraphsChanged(middle, 2, {original});
        splitUs.push_back((CpuMs() - start) * 1e3 / 2);
    }
    std::sort(editUs.begin(), editUs.end());
    std::sort(splitUs.begin(), splitUs.end());
    std::printf("  one paragraph edited:     %8.1f us median of 101\n", editUs[50]);
    std::printf("  one paragraph split/merged:%7.1f us median of 101\n", splitUs[50]);

    auto* random = QRandomGenerator::global();
    constexpr int lookups = 1000000;
    qsizetype sink = 0;
    const double start = CpuMs();
    for (int k = 0; k < lookups; ++k)
        sink += model.line(int(random->bounded(model.count()))).size() + model.count();
    std::printf("  count() + line(i), random:%8.1f ns per call (%lld)\n",
                (CpuMs() - start) * 1e6 / lookups, qlonglong(sink % 10));
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList paragraphs = Corpus(TargetBytes);
    if (paragraphs.isEmpty()) {
        std::fprintf(stderr, "sample-prose.sjis.txt not found\n");
        return 1;
    }
    const QStringList subset = paragraphs.mid(0, paragraphs.size() / 10);
    qsizetype units = 0;
    for (const QString& p : paragraphs)
        units += p.size() + 1;
    std::printf("corpus: sample-prose.sjis.txt repeated to %lld MB of CP932, %lld characters\n",
                qlonglong(TargetBytes / (1024 * 1024)), qlonglong(units));
    for (const QString& family : {QStringLiteral("IPAGothic"), QStringLiteral("IPAPGothic")})
        BenchFont(family, paragraphs, subset);
    return 0;
}
