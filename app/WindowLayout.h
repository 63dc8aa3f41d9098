#pragma once

#include "app/FormState.h"
#include "files/FileState.h"

#include <QRect>
#include <QSize>

// What the window's layout needs from the main window.
class TLayoutPort
{
public:
    virtual ~TLayoutPort() = default;

    // ResizeTimer.
    virtual bool IsResizeTimerActive() const = 0;
    virtual void StartResizeTimer() = 0;
    virtual void StopResizeTimer() = 0;
    virtual QSize WindowSize() const = 0;
    // Lays the reader's labels out again, then applies the lines-per-slide rule to them.
    virtual void RebuildReader() = 0;
    virtual void RelayoutLabels() = 0;
    // The side panels: 0 the left one, 2 the right one. A new width is taken from the centre.
    virtual int SideWidth(int side) const = 0;
    virtual void SetSideWidth(int side, int width) = 0;
    // The window's bounds: the screen it is on, moving it, and the bounds a maximised window
    // goes back to (the present ones otherwise).
    virtual QSize ScreenSize() const = 0;
    virtual void PlaceWindow(const QRect& bounds) = 0;
    virtual bool IsMaximized() const = 0;
    virtual QRect RestoredBounds() const = 0;
    // The left panel's width and the folder panel's height.
    virtual QSize PanelSizes() const = 0;
    virtual void SetPanelSizes(const QSize& sizes) = 0;
};

// The deferred relayout after a resize and the folding side panels. The states are the form's,
// lent here.
class TWindowLayout
{
public:
    static constexpr int FoldedWidth = 2;
    static constexpr int FoldLimit = 20;
    static constexpr int MinimumOpenLeftWidth = 50;

    TWindowLayout(TFormState& form, TFileState& files, TLayoutPort& port)
        : Form(form), Files(files), Port(port)
    {}

    // After the settings are read: the saved bounds fitted to the screen, the panels' sizes.
    void ApplySavedBounds();
    // The bounds and the panels' sizes into the state, for the write pass.
    void CaptureBounds();

    void FormResize();
    void ResizeTimerTimer();
    void RelayoutReader();
    // The reader is laid out once the size holds, not at each step of a resize.
    bool RelayoutWaits() const { return Form.FormInactive || Port.IsResizeTimerActive(); }
    void LeftSplitterCanResize(int& NewSize);
    void RightSplitterCanResize(int& NewSize);
    void FoldOrOpenLeftPanel();
    void FoldOrOpenRightPanel();

private:
    TFormState& Form;
    TFileState& Files;
    TLayoutPort& Port;
};
