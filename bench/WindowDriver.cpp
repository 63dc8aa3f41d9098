#include "bench/WindowDriver.h"

#include "bench/BenchReport.h"
#include "files/FolderControls.h"
#include "files/StringListBox.h"
#include "platform/DialogService.h"
#include "reader/MainRichEdit.h"
#include "reader/ReaderLayout.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

// The first lines of a CP932 file, up to about 1 KB, cut at a line end.
QByteArray SmallText(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray head = file.read(1024);
    const qsizetype end = head.lastIndexOf("\r\n");
    return end > 0 ? head.left(end + 2) : head;
}

} // namespace

TWindowDriver::TWindowDriver(const QString& medium, const QString& large)
    : PreviousFolder(QDir::currentPath())
{
    const QByteArray small = SmallText(medium.isEmpty() ? large : medium);
    QFile smallFile(Folder.filePath(SmallName));
    if (!Folder.isValid() || small.isEmpty() || !smallFile.open(QIODevice::WriteOnly) ||
        smallFile.write(small) != small.size()) {
        std::fprintf(stderr, "bench: cannot make the folder of texts\n");
        return;
    }
    smallFile.close();
    int files = 1;
    for (const auto& [path, name] : {std::pair(medium, MediumName), std::pair(large, LargeName)}) {
        if (path.isEmpty())
            continue;
        if (!QFile::link(path, Folder.filePath(name))) {
            std::fprintf(stderr, "bench: cannot link %s\n", qPrintable(path));
            return;
        }
        ++files;
    }
    QDir::setCurrent(Folder.path());
    Form = std::make_unique<TQuorvelaneForm>();
    Form->show();
    // One turn of the event loop for the window system's events; the start-up tick is called
    // below whether or not its timer has come due meanwhile.
    QCoreApplication::processEvents();
    // The start-up tick fills the file list and loads its first file.
    if (Form->SlideState().TimerTag != 0)
        Form->ReadTimerTimer();
    Settle();
    if (Form->FileNameListBox->count() != files || !ShowsFirstLines()) {
        std::fprintf(stderr, "bench: the window did not list and show the texts\n");
        Form.reset();
    }
}

TWindowDriver::~TWindowDriver()
{
    Form.reset();
    QDir::setCurrent(PreviousFolder);
}

double TWindowDriver::Open(const QString& name)
{
    return OpenWatched(name).FirstPageMs;
}

TOpenTimes TWindowDriver::OpenWatched(const QString& name)
{
    TOpenTimes times;
    const int row = int(Form->FileNameListBox->texts().indexOf(name));
    if (row < 0)
        return times;
    Form->FileNameListBox->setCurrentRow(row);
    // A 10 ms timer stands for the user: each gap between its ticks is a time the window did
    // not answer.
    QElapsedTimer wall;
    qint64 last = 0;
    qint64 longest = 0;
    QTimer probe;
    probe.setTimerType(Qt::PreciseTimer);
    probe.setInterval(10);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        const qint64 now = wall.nsecsElapsed();
        longest = std::max(longest, now - last);
        last = now;
    });
    TCpuTimer cpu;
    wall.start();
    cpu.start();
    probe.start();
    Form->FileNameListBoxClick();
    while (Form->TextLoader().Loading())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    times.FirstPageMs = double(cpu.nsecsElapsed()) / 1e6;
    times.Shown = ShowsFirstLines();
    times.FirstPagePeakMb = PeakMemoryMb();
    // The user opens the text view to edit: it shows the text and takes edits once painted.
    const QList<int> sizes = Form->CenterSplitter->sizes();
    Form->CenterSplitter->setSizes({300, sizes.value(0) + sizes.value(1) - 300});
    Form->MainRichEdit->viewport()->repaint();
    const qint64 end = wall.nsecsElapsed();
    probe.stop();
    times.CompleteMs = double(end) / 1e6;
    times.LongestGapMs = double(std::max(longest, end - last)) / 1e6;
    FlushEvents();
    return times;
}

bool TWindowDriver::AddFile(const QString& name, const QByteArray& bytes)
{
    QFile file(Folder.filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return false;
    file.close();
    // The refill loads the file it keeps selected, the small one.
    Form->FileListBox1->Update();
    FlushEvents();
    return Form->FileNameListBox->texts().contains(name);
}

QLabel* TWindowDriver::FirstLabel() const
{
    return Form->ReaderPanel->findChild<QLabel*>(QStringLiteral("ReaderLabel0"),
                                                 Qt::FindDirectChildrenOnly);
}

bool TWindowDriver::ShowsFirstLines() const
{
    return Form->SlideState().ReadingLine == 0 && ShowsLines();
}

bool TWindowDriver::ShowsLines() const
{
    const int n = Form->LineCount();
    const int k = Form->SlideState().ReadingLine;
    const QLabel* label = FirstLabel();
    return n > 0 && label && Form->windowTitle() == QStringLiteral("  %1 / %2").arg(k + 1).arg(n) &&
           label->text() == Form->Line(k);
}

void TWindowDriver::MarkLabels()
{
    if (QLabel* label = FirstLabel())
        label->setText(QStringLiteral("\x01 mark"));
}

void TWindowDriver::Settle()
{
    FlushEvents();
    for (int tick = 0; tick < 8 && Form->ResizeTimer->isActive(); ++tick)
        Form->ResizeTimerTimer();
    FlushEvents();
}

int TWindowDriver::ReaderHeightFor(int count, int pointSize) const
{
    QFont font = Form->MainRichEdit->font();
    font.setPointSize(pointSize);
    const int pitch = QFontMetrics(font).height() + Form->LabelSpacing();
    // The labels fit with 6 pixels above and below; half a line to spare keeps the count.
    return 12 + count * pitch + pitch / 2;
}

bool TWindowDriver::FitLabels(int count)
{
    for (int attempt = 0; attempt < 8; ++attempt) {
        Settle();
        if (Form->LabelCount() == count)
            return true;
        ResizeForLabels(count, Form->MainRichEdit->font().pointSize());
    }
    Settle();
    return Form->LabelCount() == count;
}

void TWindowDriver::ResizeForLabels(int count, int pointSize)
{
    const int chrome = Form->height() - Form->ReaderPanel->height();
    Form->resize(Form->width(), chrome + ReaderHeightFor(count, pointSize));
    FlushEvents();
}

TDragTimes TWindowDriver::DragWidth(int delta, int steps)
{
    TDragTimes times;
    const int width = Form->width();
    const int height = Form->height();
    for (int step = 1; step <= steps; ++step) {
        TCpuTimer timer;
        timer.start();
        Form->resize(width + delta * step / steps, height);
        FlushEvents();
        // A tick during the drag sees a new size and only notes it.
        if (step % 3 == 0 && step < steps && Form->ResizeTimer->isActive())
            Form->ResizeTimerTimer();
        times.SlowestStepMs = std::max(times.SlowestStepMs, double(timer.nsecsElapsed()) / 1e6);
    }
    // The drag has stopped: the ticks go on until one finds the size unchanged.
    for (int tick = 0; tick < 8 && Form->ResizeTimer->isActive(); ++tick) {
        TCpuTimer timer;
        timer.start();
        Form->ResizeTimerTimer();
        times.SettleMs = double(timer.nsecsElapsed()) / 1e6;
    }
    FlushEvents();
    return times;
}

void TWindowDriver::StartReading()
{
    Form->ReadTimerComboBox->setCurrentIndex(Form->ReadTimerComboBox->count() - 1);
    Form->ReadTimerComboBoxChange();
    if (!Form->SlideState().SlideRepeat)
        Form->SlideRepeatExecute();
    if (!Form->SlideState().SlideRead)
        Form->SlideReadExecute();
}

void TWindowDriver::StopReading()
{
    if (Form->SlideState().SlideRead)
        Form->SlideReadExecute();
}

void FlushEvents()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

double PlainLabelTickMs(const TQuorvelaneForm& form, int ticks)
{
    const int count = form.LabelCount();
    const int n = form.LineCount();
    QStringList lines;
    for (int k = 0; k < ticks + count; ++k)
        lines << (n > 0 ? form.Line(k % n) : QString());
    QWidget panel;
    panel.resize(form.ReaderPanel->size());
    const QFont font = form.MainRichEdit->font();
    const int h = QFontMetrics(font).height();
    QList<QLabel*> labels;
    for (int i = 0; i < count; ++i) {
        auto* label = new QLabel(&panel);
        label->setTextFormat(Qt::PlainText);
        label->setFont(font);
        label->setGeometry(6, ReaderLabelTop(i, h, form.LabelSpacing()), panel.width() - 24, h);
        labels << label;
    }
    panel.show();
    QCoreApplication::processEvents();
    std::vector<double> times;
    for (int k = 0; k < ticks; ++k) {
        TCpuTimer timer;
        timer.start();
        for (int i = 0; i < count; ++i)
            labels.at(i)->setText(lines.at(k + i));
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
        FlushEvents();
    }
    return Median(times);
}

double DragPlainWidth(QPlainTextEdit& edit, int delta, int steps)
{
    const int width = edit.width();
    double slowest = 0;
    for (int step = 1; step <= steps; ++step) {
        TCpuTimer timer;
        timer.start();
        edit.resize(width + delta * step / steps, edit.height());
        FlushEvents();
        slowest = std::max(slowest, double(timer.nsecsElapsed()) / 1e6);
    }
    return slowest;
}

double PeakMemoryMb()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stod(line.substr(6)) / 1024;
    return 0;
}

int FontSizeIndex(const TQuorvelaneForm& form, int size)
{
    for (int i = 0; i < form.FontSizeComboBox->count(); ++i)
        if (form.FontSizeComboBox->itemText(i).trimmed().toInt() == size)
            return i;
    return -1;
}

int TBenchDialogs::MessageBox(const QString& text, const QString& caption, int flags)
{
    // A question (Yes/No) takes the next scripted answer; a message with OK only is reported.
    if (flags != 0) {
        if (Answers.empty())
            Unexpected("question", caption + QStringLiteral(": ") + text);
        const int answer = Answers.front();
        Answers.pop_front();
        return answer;
    }
    if (!OnMessage)
        Unexpected("message box", caption + QStringLiteral(": ") + text);
    OnMessage(text);
    return 1;
}

std::optional<QString> TBenchDialogs::InputBox(const QString& caption, const QString&,
                                               const QString&)
{
    if (Inputs.empty())
        Unexpected("input box", caption);
    QString answer = Inputs.front();
    Inputs.pop_front();
    return answer;
}

std::optional<TDialogService::SaveAnswer> TBenchDialogs::SaveFile(const QString& caption,
                                                                  const QString&, const QString&,
                                                                  const QStringList& filters, int)
{
    if (SavePaths.empty())
        Unexpected("save dialog", caption);
    SaveAnswer answer{SavePaths.front(), int(filters.size()) - 1};
    SavePaths.pop_front();
    return answer;
}

void TBenchDialogs::Unexpected(const char* kind, const QString& text)
{
    std::fprintf(stderr, "bench: unexpected %s: %s\n", kind, qPrintable(text));
    std::exit(3);
}

TBenchDialogs& InstallBenchDialogs()
{
    auto dialogs = std::make_unique<TBenchDialogs>();
    TBenchDialogs& installed = *dialogs;
    InstallDialogService(std::move(dialogs));
    return installed;
}
