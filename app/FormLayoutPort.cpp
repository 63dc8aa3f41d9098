// The window layout's view of the main window.
#include "app/FormPorts.h"

#include "app/QuorvelaneMain.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSplitter>
#include <QTimer>

bool TFormLayoutPort::IsResizeTimerActive() const
{
    return Form.ResizeTimer->isActive();
}
void TFormLayoutPort::StartResizeTimer()
{
    Form.ResizeTimer->start();
}
void TFormLayoutPort::StopResizeTimer()
{
    Form.ResizeTimer->stop();
}
QSize TFormLayoutPort::WindowSize() const
{
    return Form.size();
}
void TFormLayoutPort::RebuildReader()
{
    Form.RebuildReader();
}
void TFormLayoutPort::RelayoutLabels()
{
    Form.Appearance->RelayoutLabels();
}

int TFormLayoutPort::SideWidth(int side) const
{
    return (side == 0 ? Form.LeftPanel : Form.RightPanel)->width();
}

void TFormLayoutPort::SetSideWidth(int side, int width)
{
    QList<int> sizes = Form.MainSplitter->sizes();
    if (sizes.size() != 3)
        return;
    sizes[1] = qMax(0, sizes[1] + sizes[side] - width);
    sizes[side] = width;
    Form.MainSplitter->setSizes(sizes);
}

QSize TFormLayoutPort::ScreenSize() const
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->size() : QSize(1024, 768);
}

void TFormLayoutPort::PlaceWindow(const QRect& bounds)
{
    Form.move(bounds.topLeft());
    Form.resize(bounds.size());
}

bool TFormLayoutPort::IsMaximized() const
{
    return Form.isMaximized();
}

QRect TFormLayoutPort::RestoredBounds() const
{
    const QRect normal = Form.normalGeometry();
    if (Form.isMaximized() && normal.isValid())
        return normal;
    return QRect(Form.x(), Form.y(), Form.width(), Form.height());
}

QSize TFormLayoutPort::PanelSizes() const
{
    return QSize(Form.LeftPanel->width(), Form.DirectoryPanel->height());
}

void TFormLayoutPort::SetPanelSizes(const QSize& sizes)
{
    const int left = sizes.width();
    const int folders = sizes.height();
    Form.MainSplitter->setSizes({left, qMax(10, Form.width() - left - 98), 98});
    Form.LeftColumnSplitter->setSizes({folders, qMax(10, Form.height() - folders)});
}
