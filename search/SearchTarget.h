#pragma once

#include "search/LineSource.h"

#include <QString>
#include <QStringMatcher>
#include <functional>

// What a search routine works on and where it reports. The routines run on the user-interface
// thread and hand it a turn every 100 lines through Yield.
struct TSearchTarget
{
    const TLineSource* Lines = nullptr;
    // SetContentsLineForward is checked: new entries put the line number first.
    bool LineForward = false;
    // Lets pending events through; false when the search has been cancelled meanwhile.
    std::function<bool()> Yield;
    // Appends one contents entry.
    std::function<void(const QString&)> AddEntry;
    // The main window's caption (the progress caption).
    std::function<void(const QString&)> SetCaption;
    // The caption of FindResearchButton ("残り= n").
    std::function<void(const QString&)> SetResearchCaption;
    // The window's message box (text, caption, flags); without one the dialog service's own.
    std::function<int(const QString&, const QString&, int)> MessageBox;
};

// Shows a routine's message through the target's message box.
void ShowSearchMessage(const TSearchTarget& target, const QString& text, const QString& caption);

// How a routine ended. Failures and the refusals have shown their message already.
enum class TSearchEnd
{
    Finished,
    Cancelled,
    NothingToSearch,
    Failed
};

// What the per-line test of a routine tells the common loop.
enum class TLineVerdict
{
    Next,
    Stop
};

// The loop the three routines share: every 100 lines a turn for pending events (ending the
// search when it was cancelled) and the remaining count of 100-line blocks on the re-search
// button; then test(i, line) for each line. A line that is gone (the text shrank during a turn)
// or a failure inside test ends the loop as Failed; the caller shows its own message.
TSearchEnd ForEachSearchLine(const TSearchTarget& target,
                             const std::function<TLineVerdict(int, QStringView)>& test);

// The 0-based index of the first occurrence of needle in text that starts on a character
// boundary (never inside a surrogate pair), or -1.
qsizetype IndexOfOnBoundary(const QString& text, const QString& needle);
// The same with the needle prepared once for many texts.
qsizetype IndexOfOnBoundary(QStringView text, const QStringMatcher& needle);

// Appends the entry for line index i (text trimmed of its leading spaces by the caller).
void AddSearchEntry(const TSearchTarget& target, const QString& text, int i, int numberWidth);
