#include "reader/SlideEngine.h"

#include "common/SplitWX.h"
#include "common/StrToInt.h"
#include "platform/DialogService.h"
#include "reader/ReaderLayout.h"

#include <algorithm>
#include <limits>

namespace {

const QString EmptyCaption = QStringLiteral("Quorvelane");

QString PositionCaption(int line, int n)
{
    return QStringLiteral("  %1 / %2").arg(line).arg(n);
}

// Sums that cannot overflow: a position far past the text still reads as past the text.
int SaturatedSum(int a, int b)
{
    const qint64 sum = qint64(a) + qint64(b);
    if (sum > std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    if (sum < std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    return int(sum);
}

} // namespace

TReaderKey ReaderKeyOf(int key, Qt::KeyboardModifiers modifiers)
{
    if (modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return TReaderKey::None;
    switch (key) {
    case Qt::Key_Space:
        return TReaderKey::SlideRead;
    case Qt::Key_PageDown:
        return TReaderKey::PageNext;
    case Qt::Key_PageUp:
        return TReaderKey::PageBack;
    case Qt::Key_Down:
        return TReaderKey::LineNext;
    case Qt::Key_Up:
        return TReaderKey::LineBack;
    case Qt::Key_Home:
        return TReaderKey::First;
    case Qt::Key_End:
        return TReaderKey::Last;
    case Qt::Key_Plus:
        return TReaderKey::Shorter;
    case Qt::Key_Minus:
        return TReaderKey::Longer;
    default:
        return TReaderKey::None;
    }
}

void TSlideEngine::ReadTimerTimer()
{
    if (const int tag = Port.TimerTag(); tag != 0) {
        Port.StopTimer();
        Port.SetTimerInterval(tag);
        Port.SetTimerTag(0);
        Port.FileListBox1Change();
        return;
    }
    if (State.PauseLine >= 0) {
        const bool waiting = State.PauseLine == State.ReadingLine;
        State.PauseLine = -1;
        if (waiting)
            return;
    }
    State.ReadingLine = SaturatedSum(State.ReadingLine, State.SlideStep);
    Port.SetScrollPosition(State.ReadingLine);
    ShowReadingLines();
    // The end of the text may have stopped the reading or started it again from the top; the
    // pause belongs to the line that is at the top now.
    if (State.TextPauses && Port.IsTimerRunning() && PausesAt(State.ReadingLine))
        State.PauseLine = State.ReadingLine;
}

bool TSlideEngine::PausesAt(int line) const
{
    if (line < 0 || line >= Port.LineCount())
        return false;
    if (Port.IsContentsHeading(line))
        return true;
    const auto blank = [](const QString& text) {
        return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.isSpace(); });
    };
    // Blank lines in a row pause nowhere: only the text that follows them does.
    return line > 0 && Port.StartsParagraph(line) && blank(Port.Line(line - 1)) &&
           !blank(Port.Line(line));
}

void TSlideEngine::ShowReadingLines()
{
    const int n = Port.LineCount();
    if (n <= 0) {
        NoText();
        return;
    }
    // Nothing sets a negative position on purpose; showing the top is the sound reading of it.
    if (State.ReadingLine < 0)
        State.ReadingLine = 0;
    if (State.ReadingLine >= n) {
        EndOfText();
        return;
    }
    Port.SetCaption(PositionCaption(State.ReadingLine + 1, n));
    const int labels = Port.LabelCount();
    for (int i = 0; i < labels; ++i) {
        const qint64 k = qint64(State.ReadingLine) + i;
        if (k < n)
            Port.SetLabelText(i, Port.Line(int(k)));
        else
            Port.SetLabelText(i, k == n ? QStringLiteral("[EOF]") : QString());
    }
}

void TSlideEngine::NoText()
{
    if (Port.IsTimerRunning()) {
        Port.StopTimer();
        if (State.CanChangeSlideRead) {
            State.ChangeReadIndex = 0;
            Port.SetTimerInterval(FirstInterval());
        }
        if (State.ListSlideRead) {
            SlideToNextListFile();
            return;
        }
        SetReadingChecks(false, false);
    }
    State.ReadingLine = 0;
    Port.SetCaption(EmptyCaption);
}

void TSlideEngine::EndOfText()
{
    if (State.CanChangeSlideRead) {
        if (State.ChangeReadIndex < State.ChangeReadIntervals.size() - 1) {
            // The same text again from the top, at the next speed of the list.
            State.ChangeReadIndex = State.ChangeReadIndex < 0 ? 0 : State.ChangeReadIndex + 1;
            Port.StopTimer();
            Port.SetTimerInterval(State.ChangeReadIntervals[State.ChangeReadIndex]);
            Port.StartTimer();
        } else {
            State.ChangeReadIndex = 0;
            if (State.ListSlideRead) {
                Port.SetTimerInterval(FirstInterval());
                SlideToNextListFile();
                return;
            }
            if (State.SlideRepeat) {
                Port.SetTimerInterval(FirstInterval());
            } else {
                Port.StopTimer();
                SetReadingChecks(State.SlideRead, false);
            }
        }
    } else if (State.ListSlideRead && Port.IsTimerRunning()) {
        SlideToNextListFile();
        return;
    } else if (!State.SlideRepeat) {
        Port.StopTimer();
        SetReadingChecks(false, State.CanChangeSlideRead);
    }
    ShowFromTop(Port.LineCount());
}

void TSlideEngine::ShowFromTop(int n)
{
    State.ReadingLine = 0;
    Port.SetCaption(PositionCaption(1, n));
    Port.SetScrollPosition(0);
    const int labels = Port.LabelCount();
    for (int i = 0; i < labels; ++i) {
        if (i < n)
            Port.SetLabelText(i, Port.Line(i));
        else
            Port.SetLabelText(i, i == n ? QStringLiteral("...[EOF]") : QString());
    }
}

void TSlideEngine::SlideToNextListFile()
{
    bool runAfterwards = true;
    Port.StopTimer();
    State.ReadingLine = 0;
    Port.SetScrollPosition(0);
    const int count = Port.FileListCount();
    if (count <= 0) {
        Port.SetCaption(EmptyCaption);
        SetReadingChecks(false, false);
        runAfterwards = false;
    } else {
        const int selected = Port.FileListSelectedIndex();
        if (selected < count - 1) {
            // With nothing selected (-1) this is the first entry.
            Port.SelectFileListEntry(selected < 0 ? 0 : selected + 1);
        } else {
            Port.SelectFileListEntry(0);
            if (!State.SlideRepeat) {
                SetReadingChecks(false, false);
                runAfterwards = false;
            }
        }
        // The timer is off during the load, so the display it runs cannot change files again.
        // A user who stays on an edited text ends the list reading there.
        if (!Port.LoadSelectedFile()) {
            SetReadingChecks(false, false);
            runAfterwards = false;
        }
    }
    if (runAfterwards)
        Port.StartTimer();
}

void TSlideEngine::SlideReadExecute()
{
    const bool on = !State.SlideRead;
    SetReadingChecks(on, on ? false : State.CanChangeSlideRead);
    if (on) {
        Port.SetTimerInterval(State.SlideIntervalMs);
        if (Port.IsOnePageStepSelected())
            Port.LabelStepComboBoxChange();
    }
    // A pause by the mouse must not bring back a reading switched off meanwhile, and a reading
    // started anew owes no pause to the one before.
    State.PausedByMouse = false;
    State.PauseLine = -1;
    if (State.SlideRead)
        Port.StartTimer();
    else
        Port.StopTimer();
}

void TSlideEngine::CanChangeSlideReadExecute()
{
    const bool on = !State.CanChangeSlideRead;
    SetReadingChecks(on ? false : State.SlideRead, on);
    if (on) {
        State.ChangeReadIndex = 0;
        Port.SetTimerInterval(FirstInterval());
        if (Port.IsOnePageStepSelected())
            Port.LabelStepComboBoxChange();
    }
    State.PausedByMouse = false;
    State.PauseLine = -1;
    if (State.CanChangeSlideRead)
        Port.StartTimer();
    else
        Port.StopTimer();
}

void TSlideEngine::SlideRepeatExecute()
{
    State.SlideRepeat = !State.SlideRepeat;
    Port.ChecksChanged();
}

void TSlideEngine::ListSlideReadExecute()
{
    State.ListSlideRead = !State.ListSlideRead;
    Port.ChecksChanged();
}

void TSlideEngine::TextPausesExecute()
{
    if (!State.TextPauses)
        State.PauseLine = -1;
}

void TSlideEngine::SetCanChangeSlideReadExecute()
{
    std::optional<QString> answer;
    try {
        answer = Dialogs().InputBox(QStringLiteral("変速スライドの設定"),
                                    QStringLiteral("(例)250,500,1000"), State.ChangeReadTimes);
    } catch (const TDialogUnavailable&) {
        // No box could be shown: the same as a cancelled one.
    }
    const QString text = answer.value_or(State.ChangeReadTimes);
    if (text == State.ChangeReadTimes)
        return;
    State.ChangeReadTimes = text;
    ParseChangeReadTimes(State.ChangeReadTimes);
}

QList<int> ChangeReadIntervalsOf(const QString& text)
{
    TSplitWX splitter;
    const int m = splitter.Split(text, QStringLiteral(","));
    QList<int> kept;
    for (int i = 0; i < m; ++i) {
        const std::optional<int> value = StrToInt(splitter.Pieces[i]);
        if (value && *value > 0)
            kept << *value;
    }
    return kept;
}

void TSlideEngine::ParseChangeReadTimes(QString& text)
{
    const QList<int> kept = ChangeReadIntervalsOf(text);
    if (kept.isEmpty()) {
        State.ChangeReadIntervals = {State.SlideIntervalMs};
        text = QString::number(State.SlideIntervalMs);
        return;
    }
    State.ChangeReadIntervals = kept;
}

void TSlideEngine::ReadTimerComboBoxChange(int intervalMs)
{
    // The list holds only positive intervals; anything else would make the timer spin.
    if (intervalMs <= 0)
        return;
    State.SlideIntervalMs = intervalMs;
    Port.SetTimerInterval(State.SlideIntervalMs);
}

void TSlideEngine::ReadingLineScrollBarScroll(int position)
{
    State.ReadingLine = position;
    ShowReadingLines();
}

void TSlideEngine::PageBackExecute()
{
    PageBy(-Port.ScrollLargeChange());
}

void TSlideEngine::PageNextExecute()
{
    PageBy(Port.ScrollLargeChange());
}

void TSlideEngine::PageBy(int delta)
{
    Port.SetScrollPosition(SaturatedSum(Port.ScrollPosition(), delta));
    State.ReadingLine = Port.ScrollPosition();
    ShowReadingLines();
}

void TSlideEngine::ReaderPanelMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers)
{
    if (modifiers.testFlag(Qt::ControlModifier)) {
        if (button == Qt::LeftButton)
            Port.FoldOrOpenLeftPanel();
        else if (button == Qt::RightButton)
            Port.FoldOrOpenRightPanel();
    } else if (modifiers.testFlag(Qt::ShiftModifier)) {
        if (button == Qt::LeftButton) {
            if (Port.IsTimerRunning() && State.CanChangeSlideRead)
                CanChangeSlideReadExecute();
            else
                SlideReadExecute();
        } else if (button == Qt::RightButton && Port.IsTimerRunning()) {
            State.PausedByMouse = true;
            Port.StopTimer();
        }
    } else if (button == Qt::RightButton) {
        PageNextExecute();
    } else if (button == Qt::LeftButton) {
        PageBackExecute();
    }
}

void TSlideEngine::ReaderPanelMouseUp()
{
    if (!State.PausedByMouse)
        return;
    Port.StartTimer();
    State.PausedByMouse = false;
}

bool TSlideEngine::ReaderKeyPress(int key, Qt::KeyboardModifiers modifiers)
{
    switch (ReaderKeyOf(key, modifiers)) {
    case TReaderKey::None:
        return false;
    case TReaderKey::SlideRead:
        SlideReadExecute();
        break;
    case TReaderKey::PageNext:
        PageNextExecute();
        break;
    case TReaderKey::PageBack:
        PageBackExecute();
        break;
    case TReaderKey::LineNext:
        MoveToLine(SaturatedSum(Port.ScrollPosition(), 1));
        break;
    case TReaderKey::LineBack:
        MoveToLine(SaturatedSum(Port.ScrollPosition(), -1));
        break;
    case TReaderKey::First:
        MoveToLine(0);
        break;
    case TReaderKey::Last:
        MoveToLine(Port.LineCount() - 1);
        break;
    case TReaderKey::Shorter:
        StepInterval(-1);
        break;
    case TReaderKey::Longer:
        StepInterval(1);
        break;
    }
    return true;
}

void TSlideEngine::MoveToLine(int line)
{
    KeepPlace(line);
    ShowReadingLines();
}

void TSlideEngine::KeepPlace(int line)
{
    Port.SetScrollPosition(line);
    State.ReadingLine = Port.ScrollPosition();
}

void TSlideEngine::StepInterval(int direction)
{
    if (!Port.IsTimerRunning() || direction == 0)
        return;
    const QList<int> intervals = ItemNumbers(ReadTimerItems());
    const int current = Port.TimerInterval();
    int pick = -1;
    // The list is in ascending order; an interval of the variable-speed list need not be in it.
    for (int i = 0; i < intervals.size(); ++i) {
        if (direction < 0 && intervals[i] < current)
            pick = i;
        if (direction > 0 && intervals[i] > current) {
            pick = i;
            break;
        }
    }
    if (pick >= 0)
        Port.SelectIntervalItem(pick);
}

void TSlideEngine::ReaderWheel(int angleDelta, int linesPerNotch)
{
    const qint64 total = qint64(State.WheelRemainder) + angleDelta;
    const qint64 notches = total / 120;
    State.WheelRemainder = int(total % 120);
    if (notches == 0)
        return;
    // A notch is at most a few lines and a turn at most a few notches: no sum overflows here.
    const qint64 lines =
        qBound(qint64(-1'000'000), -notches * qMax(1, linesPerNotch), qint64(1'000'000));
    MoveToLine(SaturatedSum(Port.ScrollPosition(), int(lines)));
}

void TSlideEngine::ArmStartUpTick()
{
    Port.SetTimerTag(Port.TimerInterval());
    Port.SetTimerInterval(100);
    Port.StartTimer();
}

void TSlideEngine::StopSlideReading()
{
    if (!Port.IsTimerRunning())
        return;
    if (State.CanChangeSlideRead)
        CanChangeSlideReadExecute();
    else if (State.SlideRead)
        SlideReadExecute();
    else
        Port.StopTimer();
}

int TSlideEngine::FirstInterval() const
{
    return State.ChangeReadIntervals.isEmpty() ? State.SlideIntervalMs
                                               : State.ChangeReadIntervals.first();
}

void TSlideEngine::SetReadingChecks(bool slideRead, bool canChangeSlideRead)
{
    if (State.SlideRead == slideRead && State.CanChangeSlideRead == canChangeSlideRead)
        return;
    State.SlideRead = slideRead;
    State.CanChangeSlideRead = canChangeSlideRead;
    Port.ChecksChanged();
}
