// What reading comfort adds to the work it rides on, each beside the same work without it in
// the same run: the status strip's refresh in a slide tick, and keeping the place through a font
// change of the 10 MB text. Times are CPU times of the process.
//
// bench_comfort CORPUS-10MB.txt

#include "bench/WindowDriver.h"

#include "app/QuorvelaneMain.h"
#include "bench/BenchReport.h"
#include "platform/TextDecoding.h"
#include "reader/KeptLine.h"
#include "reader/MainRichEdit.h"
#include "reader/ReaderView.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QScrollBar>

#include <cstdio>

namespace {

constexpr int Rounds = 6;
constexpr int TicksPerRound = 100;

// The ticks of one round, each timed alone: the handler, and the handler with the painting and
// the other events it leaves behind.
void TickRound(TQuorvelaneForm& form, std::vector<double>& handler, std::vector<double>& painted)
{
    for (int k = 0; k < TicksPerRound; ++k) {
        TCpuTimer timer;
        timer.start();
        form.ReadTimerTimer();
        handler.push_back(double(timer.nsecsElapsed()) / 1e6);
        FlushEvents();
        painted.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
}

// Makes the window taller a step at a time until the reader holds count labels.
bool GrowUntil(TWindowDriver& window, int count)
{
    TQuorvelaneForm& form = *window.Form;
    for (int step = 0; step < 200 && form.LabelCount() < count; ++step) {
        form.resize(form.width(), form.height() + 2);
        window.Settle();
    }
    return form.LabelCount() == count;
}

// 40 labels at 24 pt ticking through the 10 MB text, in rounds with the strip shown and hidden
// by turns. The panel holds the 40 labels and the strip below them, so both kinds of tick fill
// the same labels and differ by the strip alone.
void StripRows(TWindowDriver& window)
{
    TQuorvelaneForm& form = *window.Form;
    window.Open(TWindowDriver::SmallName);
    form.FontSizeComboBox->setCurrentIndex(FontSizeIndex(form, 24));
    form.FontSizeComboBoxChange();
    window.FitLabels(40);
    QAction* strip = form.Action(QStringLiteral("ShowStatusStrip"));
    strip->trigger();
    bool sameLabels = GrowUntil(window, 40);
    window.Open(TWindowDriver::MediumName);
    window.StartReading();
    std::vector<double> with, without, withPainted, withoutPainted;
    for (int round = 0; round < 2 * Rounds; ++round) {
        const bool shown = round % 2 == 0;
        if (strip->isChecked() != shown)
            strip->trigger();
        FlushEvents();
        sameLabels = sameLabels && form.LabelCount() == 40;
        if (shown)
            TickRound(form, with, withPainted);
        else
            TickRound(form, without, withoutPainted);
    }
    window.StopReading();
    const auto* label = form.ReaderPanel->findChild<QLabel*>(QStringLiteral("ReaderStatusLabel"));
    if (!strip->isChecked())
        strip->trigger();
    const bool tells = label && label->text().contains(TWindowDriver::MediumName);

    TBenchRow row;
    row.What = "status strip, added to a slide tick";
    row.Ours = Median(with) - Median(without);
    row.Baseline = "the tick without it, 40 x 24 pt";
    row.Base = Median(without);
    row.MaxValue = 0.05;
    row.Condition = "40 labels either way, strip shows the file";
    row.ConditionHeld = sameLabels && tells;
    PrintRow(row);
    TBenchRow painted;
    painted.What = "  the same with its painting";
    painted.Ours = Median(withPainted) - Median(withoutPainted);
    painted.Baseline = "the tick without it, painted";
    painted.Base = Median(withoutPainted);
    PrintRow(painted);
    if (strip->isChecked())
        strip->trigger();
}

// A reader view of its own over a text view holding the 10 MB text, so that the relayout after a
// font change can run with the place kept and without.
// The line the reader keeps, or none while Keep is off.
struct TBenchKeptLine : TKeptLine
{
    int Line = 0;
    bool Keep = false;
    int KeptLine() const override { return Keep ? Line : -1; }
    void RenumberKeptLine(int line) override { Line = line; }
};

struct TBareReader
{
    QFrame Panel;
    TMainRichEdit* Edit = new TMainRichEdit(&Panel);
    QScrollBar* Bar = new QScrollBar(&Panel);
    TReaderView View{Edit, &Panel, Bar, &Panel};
    TBenchKeptLine Kept;

    explicit TBareReader(const QString& text)
    {
        Panel.resize(700, 500);
        Edit->resize(600, 400);
        Panel.show();
        QCoreApplication::processEvents();
        Edit->LoadText(text);
        View.KeepPlaceFor(Kept);
        View.count();
    }

    // The relayout after a change to this point size, with the place of line kept or not; the
    // line then is the one that holds the place.
    double RelayoutMs(int pointSize, int& line, bool keep)
    {
        QFont font = Edit->font();
        font.setPointSize(pointSize);
        Edit->setFont(font);
        Kept.Line = line;
        Kept.Keep = keep;
        TCpuTimer timer;
        timer.start();
        View.UpdateLines();
        const double ms = double(timer.nsecsElapsed()) / 1e6;
        line = Kept.Line;
        Kept.Keep = false;
        return ms;
    }
};

void PlaceRows(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "bench_comfort: cannot read %s\n", qPrintable(path));
        return;
    }
    TBareReader reader(DecodeText(file.readAll()));
    file.close();
    // Inside a paragraph in the middle of the text, past its first line where there is one.
    int line = reader.View.count() / 2 + 1;
    const std::optional<TTextPlace> place = reader.View.PlaceOfLine(line);
    std::vector<double> kept, plain;
    bool held = place.has_value();
    // Every size with and without the place, each kind in every position of the round by turns,
    // so that the order of the runs favours neither.
    const int sizes[] = {12, 10, 12, 10, 12, 10, 12, 10};
    const bool keeps[] = {true, false, false, true, false, true, true, false};
    for (int run = 0; run < 8 * 3; ++run) {
        const bool keep = keeps[run % 8];
        int moved = line;
        const double ms = reader.RelayoutMs(sizes[run % 8], moved, keep);
        (keep ? kept : plain).push_back(ms);
        if (keep && place) {
            // The line found holds the place: its paragraph, starting at or before the offset.
            const std::optional<TTextPlace> now = reader.View.PlaceOfLine(moved);
            held = held && now && now->Paragraph == place->Paragraph &&
                   now->Offset <= place->Offset && reader.View.LineOfPlace(*place) == moved;
            line = moved;
        } else if (place) {
            line = reader.View.LineOfPlace(*place);
        }
    }
    TBenchRow row;
    row.What = "place kept, added to a font change, 10 MB";
    row.Ours = Median(kept) - Median(plain);
    row.Baseline = "the relayout without it";
    row.Base = Median(plain);
    row.MaxValue = 5;
    row.Condition = "same paragraph and character";
    row.ConditionHeld = held;
    PrintRow(row);

    // The place-keeping alone: the place of a line read, and the line of a place found.
    std::vector<double> lookups;
    bool found = place.has_value();
    for (int run = 0; run < 1000 && place; ++run) {
        TCpuTimer timer;
        timer.start();
        const std::optional<TTextPlace> at = reader.View.PlaceOfLine(line + run % 7);
        const int back = at ? reader.View.LineOfPlace(*at) : -1;
        lookups.push_back(double(timer.nsecsElapsed()) / 1e6);
        found = found && back == line + run % 7;
    }
    TBenchRow alone;
    alone.What = "  the place read and found again";
    alone.Ours = Median(lookups);
    alone.Condition = "the same line";
    alone.ConditionHeld = found;
    PrintRow(alone);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    InstallBenchDialogs();
    if (argc != 2) {
        std::fprintf(stderr, "usage: bench_comfort CORPUS-10MB.txt\n");
        return 2;
    }
    const QString medium = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();
    {
        TWindowDriver window(medium, QString());
        if (!window.Form)
            return 1;
        PrintTableHead(QStringLiteral("reading comfort, %1, medians")
                           .arg(QFileInfo(medium).fileName())
                           .toStdString());
        StripRows(window);
    }
    PlaceRows(medium);
    return 0;
}
