#pragma once

#include "search/LineSource.h"
#include "search/WordMatcher.h"

#include <QString>
#include <QStringView>
#include <algorithm>
#include <exception>
#include <functional>
#include <vector>

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
template <typename Test> TSearchEnd ForEachSearchLine(const TSearchTarget& target, Test test);
// The same, where skip(i) gives the first line from i on that must be tested: the lines before
// it are neither tested nor fetched. The turns still come every 100 lines.
template <typename Test, typename Skip>
TSearchEnd ForEachSearchLine(const TSearchTarget& target, Test test, Skip skip);

// Appends the entry for line index i (text trimmed of its leading spaces by the caller).
void AddSearchEntry(const TSearchTarget& target, QStringView text, int i, int numberWidth);

// The turn every 100 lines of ForEachSearchLine.
struct TSearchTurns
{
    explicit TSearchTurns(int lines) : Remaining(lines / 100 + 1), Available(lines) {}
    void Turn(const TSearchTarget& target);

    int Remaining;
    // The lines can change only during a turn, so they are counted again only after one.
    int Available;
    bool Cancelled = false;
};

// A template, so that the test of each line is called directly: it runs millions of times.
template <typename Test> TSearchEnd ForEachSearchLine(const TSearchTarget& target, Test test)
{
    return ForEachSearchLine(target, test, [](int i) { return i; });
}

template <typename Test, typename Skip>
TSearchEnd ForEachSearchLine(const TSearchTarget& target, Test test, Skip skip)
{
    try {
        const int n = target.Lines->count();
        TSearchTurns turns(n);
        for (int i = 0; i < n; ++i) {
            if (i % 100 == 0) {
                turns.Turn(target);
                if (turns.Cancelled)
                    return TSearchEnd::Cancelled;
            }
            if (i >= turns.Available)
                return TSearchEnd::Failed;
            if (const int resume = skip(i); resume > i) {
                // On to that line, but no further than the next turn.
                i = std::min(resume, (i / 100 + 1) * 100) - 1;
                continue;
            }
            if (test(i, target.Lines->lineView(i)) == TLineVerdict::Stop)
                break;
        }
        return TSearchEnd::Finished;
    } catch (const std::exception&) {
        return TSearchEnd::Failed;
    }
}
