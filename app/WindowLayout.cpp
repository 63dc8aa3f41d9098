#include "app/WindowLayout.h"

#include "dialogs/DialogService.h"

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
