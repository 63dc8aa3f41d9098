#pragma once

#include "reader/KeptLine.h"

#include <QList>
#include <QString>
#include <Qt>

// The reader's state, owned by the main window and lent to the slide engine. The four check
// states are the source of truth for the Reading menu's check marks.
struct TSlideState
{
    int ReadingLine = 0; // 0-based display line shown in the first label
    int SlideStep = 1;   // lines moved per tick
    int SlideIntervalMs = 1000;
    QString ChangeReadTimes = QStringLiteral("100,250,500");
    QList<int> ChangeReadIntervals; // every element > 0; never empty once parsed
    int ChangeReadIndex = 0;
    bool PausedByMouse = false;
    // Wheel turns smaller than a notch (touchpads), kept until they add up to a line.
    int WheelRemainder = 0;

    bool SlideRead = false;          // plain reading
    bool CanChangeSlideRead = false; // variable-speed reading
    bool SlideRepeat = false;
    bool ListSlideRead = false;

    // The selected items of the interval list and of the lines-per-slide list.
    int SlideInterval = 7;
    int SlideLabelStep = 0;
    // The saved lines-per-slide item waits for the first relayout, which knows how many lines
    // fit; the list shows its first item until then.
    bool LabelStepPending = false;
    // ReadTimer's spare integer: non-zero only while the start-up tick is armed, when it holds
    // the interval the timer takes back after that tick.
    int TimerTag = 0;

    // Reading comfort, saved in [Comfort]: the status strip under the reader is shown.
    bool StatusStrip = false;
    // 位置を記憶: each file reopens where it was left.
    bool KeepPlaces = false;
    // Pauses that follow the text: a slide that brings a new paragraph after a blank line, or a
    // heading of the contents list, to the top stays one tick longer.
    bool TextPauses = false;
    // The line such a slide stopped on; the next tick finds the reader still there and only
    // clears it. Any other move makes the pause lapse, since the reader has left that line.
    int PauseLine = -1;
};

// The intervals of a variable-speed list ("100,250,500"): each piece that is a whole integer
// above 0, in order; empty when there is none (the engine then falls back to the plain
// interval).
QList<int> ChangeReadIntervalsOf(const QString& text);

// Everything the slide engine needs from the main window. Calls may re-enter the engine:
// LoadSelectedFile rebuilds the reader, which calls ShowReadingLines.
class TReaderPort
{
public:
    virtual ~TReaderPort() = default;

    // The text view's lines as displayed.
    virtual int LineCount() const = 0;
    virtual QString Line(int i) const = 0;
    // Line i (0 <= i < LineCount()) is the first of its paragraph, not a wrapped continuation.
    virtual bool StartsParagraph(int i) const = 0;
    // Line i is a heading that the last contents search put into the contents list.
    virtual bool IsContentsHeading(int i) const = 0;

    // The reader labels.
    virtual int LabelCount() const = 0;
    virtual void SetLabelText(int i, const QString& text) = 0;
    virtual void SetCaption(const QString& text) = 0;

    // ReadTimer. Setting the interval never starts a stopped timer; the tag is the timer's
    // spare integer, non-zero only for the start-up tick.
    virtual bool IsTimerRunning() const = 0;
    virtual void StartTimer() = 0;
    virtual void StopTimer() = 0;
    virtual void SetTimerInterval(int ms) = 0;
    virtual int TimerInterval() const = 0;
    virtual int TimerTag() const = 0;
    virtual void SetTimerTag(int tag) = 0;

    // ReadingLineScrollBar: SetScrollPosition clamps to the bar's range (0 to line count - 1).
    virtual void SetScrollPosition(int position) = 0;
    virtual int ScrollPosition() const = 0;
    virtual int ScrollLargeChange() const = 0;

    // One or more of the check states in TSlideState changed.
    virtual void ChecksChanged() = 0;

    // FileNameListBox and the loading of its selected entry (FileNameListBoxClick), which
    // reports its own failures and does not throw. Loading is false when the user chose to stay
    // on an edited text instead.
    virtual int FileListCount() const = 0;
    virtual int FileListSelectedIndex() const = 0;
    virtual void SelectFileListEntry(int i) = 0;
    virtual bool LoadSelectedFile() = 0;
    // The start-up listing (FileListBox1Change for FileListBox1).
    virtual void FileListBox1Change() = 0;

    // The lines-per-slide list: its change handler, and whether the one-page item is selected.
    virtual void LabelStepComboBoxChange() = 0;
    virtual bool IsOnePageStepSelected() const = 0;
    // Selects item i of the interval list and runs its change handler, as a pick by hand does.
    virtual void SelectIntervalItem(int i) = 0;

    // The Ctrl + click gestures.
    virtual void FoldOrOpenLeftPanel() = 0;
    virtual void FoldOrOpenRightPanel() = 0;
};

// What a key pressed in the reader panel asks for.
enum class TReaderKey
{
    None,
    SlideRead,
    PageNext,
    PageBack,
    LineNext,
    LineBack,
    First,
    Last,
    Shorter,
    Longer,
};

// Space, the paging and arrow keys, Home / End and + / - (the keypad's too). Shift is allowed,
// since + needs it on many layouts; Ctrl, Alt and Meta leave the key to the menus.
TReaderKey ReaderKeyOf(int key, Qt::KeyboardModifiers modifiers);

// The reader's state machine: ticks, display and end of text, reading modes, paging, scroll
// bar and mouse gestures.
class TSlideEngine : public TKeptLine
{
public:
    TSlideEngine(TSlideState& state, TReaderPort& port) : State(state), Port(port) {}

    void ReadTimerTimer();
    void ShowReadingLines();
    void SlideToNextListFile();

    void SlideReadExecute();
    void CanChangeSlideReadExecute();
    void SlideRepeatExecute();
    void ListSlideReadExecute();
    // The check mark has switched TextPauses already; a pause owed lapses when they go off.
    void TextPausesExecute();
    void SetCanChangeSlideReadExecute();
    void PageBackExecute();
    void PageNextExecute();

    // intervalMs: the number of the selected item of ReadTimerComboBox.
    void ReadTimerComboBoxChange(int intervalMs);
    void ParseChangeReadTimes(QString& text);
    // position: the position the scroll bar reports.
    void ReadingLineScrollBarScroll(int position);
    void ReaderPanelMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    void ReaderPanelMouseUp();

    // A key pressed in the reader panel; false when the key is not the reader's.
    bool ReaderKeyPress(int key, Qt::KeyboardModifiers modifiers);
    // Puts line into the first label as the scroll bar would (clamped to the text).
    void MoveToLine(int line);
    // The reader moved by lines, without a display: a relayout shows the lines afterwards.
    void KeepPlace(int line);
    int KeptLine() const override { return State.ReadingLine; }
    void RenumberKeptLine(int line) override { State.ReadingLine = line; }
    // While reading runs, selects the next shorter (direction < 0) or longer interval of the
    // interval list than the one the timer uses.
    void StepInterval(int direction);
    // A wheel turn over the reader, in eighths of a degree as the toolkit reports it (120 a
    // notch, positive away from the user), moving linesPerNotch lines a notch.
    void ReaderWheel(int angleDelta, int linesPerNotch);

    // The start-up tick: the timer keeps its interval in the tag and ticks once after 100 ms.
    void ArmStartUpTick();
    // Stops whichever reading runs the timer, as when the window is asked to close.
    void StopSlideReading();

private:
    int FirstInterval() const;
    void SetReadingChecks(bool slideRead, bool canChangeSlideRead);
    void ShowFromTop(int n);
    // A slide that stops on this line waits one tick longer, when the pauses are on.
    bool PausesAt(int line) const;
    void EndOfText();
    void NoText();
    void PageBy(int delta);

    TSlideState& State;
    TReaderPort& Port;
};
