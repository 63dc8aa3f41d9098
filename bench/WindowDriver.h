#pragma once

// Drives a real main window for the window benchmarks: a folder of texts made current, the
// window opened there through its start-up tick, files opened through the file list, the
// resize timer's ticks called directly instead of waited for.

#include "app/QuorvelaneMain.h"
#include "platform/DialogService.h"

#include <QString>
#include <QTemporaryDir>
#include <deque>
#include <functional>
#include <memory>

class QLabel;
class QPlainTextEdit;

struct TDragTimes
{
    double SettleMs = 0;      // the tick that found the size settled and laid the reader out
    double SlowestStepMs = 0; // the slowest move of the drag, with the events it raised
};

// One file opened with the event loop running, as a user sees it.
struct TOpenTimes
{
    double FirstPageMs = -1;    // CPU time from the click to the first page on screen
    bool Shown = false;         // "  1 / n" and line 1 were on screen then
    double CompleteMs = 0;      // wall time from the click until the text view takes edits
    double LongestGapMs = 0;    // the largest gap of a 10 ms timer meanwhile
    double FirstPagePeakMb = 0; // VmHWM once the first page is on screen
};

class TWindowDriver
{
public:
    static inline const QString SmallName = QStringLiteral("a-1kb.txt");
    static inline const QString MediumName = QStringLiteral("b-10mb.txt");
    static inline const QString LargeName = QStringLiteral("c-100mb.txt");

    // The folder holds a 1 KB text cut from one of the files and links to the given files
    // (either may be empty). Form stays empty when the window could not be set up.
    TWindowDriver(const QString& medium, const QString& large);
    ~TWindowDriver();
    TWindowDriver(const TWindowDriver&) = delete;
    TWindowDriver& operator=(const TWindowDriver&) = delete;

    // Selects the file in the file list and loads it; the time until its first page is on
    // screen, -1 when the file is not in the list. It returns once the text view holds the
    // whole text.
    double Open(const QString& name);
    // The same with every figure of it; FirstPageMs is -1 when the file is not in the list.
    TOpenTimes OpenWatched(const QString& name);
    // Puts a file into the window's folder and lists it again.
    bool AddFile(const QString& name, const QByteArray& bytes);
    // The caption shows "  1 / n" and the first label the first line.
    bool ShowsFirstLines() const;
    // The caption and the first label show the reading line.
    bool ShowsLines() const;
    // Puts a text no line holds into the first label, so that a refill can be seen.
    void MarkLabels();
    // Ticks the resize timer until the resize has settled.
    void Settle();
    // Resizes the window's height until the reader holds count labels of the present font.
    bool FitLabels(int count);
    // Resizes the window's height for count labels of the present font at another size; the
    // resize is left to settle.
    void ResizeForLabels(int count, int pointSize);
    // Drags the window's right edge by delta pixels in steps moves, the resize timer ticking
    // every third move, then lets the resize settle.
    TDragTimes DragWidth(int delta, int steps);
    // Plain reading with repeat at the longest interval, so that the real timer never ticks
    // between the direct calls.
    void StartReading();
    void StopReading();

    std::unique_ptr<TQuorvelaneForm> Form;

private:
    QLabel* FirstLabel() const;
    int ReaderHeightFor(int count, int pointSize) const;

    QTemporaryDir Folder;
    QString PreviousFolder;
};

// Delivers what the last step posted (layouts, painting, deletions) but no timer's tick: the
// benchmarks call the timers' handlers themselves, and a real tick between two direct ones
// would count as a pause of the user's drag.
void FlushEvents();
// The same number of plain labels in the window's reader font, given the lines the reader would
// show over ticks ticks of one line each; the median time per tick.
double PlainLabelTickMs(const TQuorvelaneForm& form, int ticks);
// The slowest move of the same drag of a plain text view's window.
double DragPlainWidth(QPlainTextEdit& edit, int delta, int steps);
// VmHWM of this process in MB.
double PeakMemoryMb();
// The row of the font-size list that holds size points; -1 when none does.
int FontSizeIndex(const TQuorvelaneForm& form, int size);

// The benchmarks' dialogs: input boxes and questions take the scripted answers in order, a
// message with OK only goes to OnMessage. Any other dialog, or one with no answer left, ends the
// benchmark with status 3, since it would wait for a user who is not there.
class TBenchDialogs final : public TDialogService
{
public:
    std::deque<QString> Inputs;
    std::deque<int> Answers;
    std::deque<QString> SavePaths;
    std::function<void(const QString&)> OnMessage;

    int MessageBox(const QString& text, const QString& caption, int flags) override;
    void PlainMessage(const QString& text) override { Unexpected("message", text); }
    std::optional<QString> InputBox(const QString& caption, const QString& prompt,
                                    const QString& preset) override;
    std::optional<TFontSpec> ChooseFont(const TFontSpec&) override
    {
        Unexpected("font dialog", QString());
    }
    std::optional<qint32> ChooseColor(qint32) override { Unexpected("colour dialog", QString()); }
    // The save dialog takes the next path, with the entry of all files.
    std::optional<SaveAnswer> SaveFile(const QString& caption, const QString&, const QString&,
                                       const QStringList& filters, int) override;
    std::optional<QString> ChooseFolder(const QString& caption, const QString&) override
    {
        Unexpected("folder chooser", caption);
    }
    int ShowModalForm(QObject*) override { Unexpected("modal form", QString()); }
    void ErrorReport(const QString& text) override { Unexpected("error report", text); }

private:
    [[noreturn]] static void Unexpected(const char* kind, const QString& text);
};

// Installs the benchmarks' dialogs as the dialog service.
TBenchDialogs& InstallBenchDialogs();
