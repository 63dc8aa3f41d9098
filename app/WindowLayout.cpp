#include "app/WindowLayout.h"

#include "app/Settings.h"
#include "platform/DialogService.h"

#include <exception>

void TWindowLayout::FormResize()
{
    if (Form.FormInactive)
        return;
    Files.IgnoreTextChange = true;
    if (Port.IsResizeTimerActive())
        return;
    // The text panel keeps its height while the window changes: the splitter gives the reader
    // every change of height.
    Port.StartResizeTimer();
}

void TWindowLayout::ResizeTimerTimer()
{
    const QSize size = Port.WindowSize();
    if (size.width() != Form.LastFormWidth || size.height() != Form.LastFormHeight) {
        Form.LastFormWidth = size.width();
        Form.LastFormHeight = size.height();
        return;
    }
    Port.StopResizeTimer();
    try {
        RelayoutReader();
    } catch (const std::exception& e) {
        Dialogs().ErrorReport(QString::fromLocal8Bit(e.what()));
    }
    Files.IgnoreTextChange = false;
}

void TWindowLayout::RelayoutReader()
{
    if (Form.FormInactive)
        return;
    ++Form.Relayouts;
    Port.RebuildReader();
    Port.RelayoutLabels();
}

void TWindowLayout::LeftSplitterCanResize(int& NewSize)
{
    if (NewSize < FoldedWidth)
        NewSize = FoldedWidth;
    Form.LeftPanelOpenWidth = NewSize;
}

void TWindowLayout::RightSplitterCanResize(int& NewSize)
{
    if (NewSize < FoldedWidth)
        NewSize = FoldedWidth;
}

void TWindowLayout::FoldOrOpenLeftPanel()
{
    if (Port.SideWidth(0) < FoldLimit)
        Port.SetSideWidth(0, qMax(Form.LeftPanelOpenWidth, MinimumOpenLeftWidth));
    else
        Port.SetSideWidth(0, FoldedWidth);
}

void TWindowLayout::FoldOrOpenRightPanel()
{
    if (Port.SideWidth(2) >= FoldLimit) {
        Form.RightPanelWidth = Port.SideWidth(2);
        Port.SetSideWidth(2, FoldedWidth);
    } else {
        Port.SetSideWidth(2, Form.RightPanelWidth);
    }
}

void TWindowLayout::ApplySavedBounds()
{
    const QRect saved(Form.Left, Form.Top, Form.Width, Form.Height);
    const QRect fitted = FitToScreen(saved, Port.ScreenSize());
    Form.LastFormWidth = fitted.width();
    Form.LastFormHeight = fitted.height();
    Port.PlaceWindow(fitted);
    Port.SetPanelSizes(QSize(Form.LeftPanelWidth, Form.DirectoryPanelHeight));
}

void TWindowLayout::CaptureBounds()
{
    Form.StartMaximized = Port.IsMaximized();
    const QRect bounds = Port.RestoredBounds();
    Form.Left = bounds.x();
    Form.Top = bounds.y();
    Form.Width = bounds.width();
    Form.Height = bounds.height();
    const QSize panels = Port.PanelSizes();
    Form.LeftPanelWidth = panels.width();
    Form.DirectoryPanelHeight = panels.height();
}
