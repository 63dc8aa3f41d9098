#pragma once

#include <QList>
#include <QPointer>
#include <functional>

class QAction;
class QWidget;

// The reader alone on the whole screen: the widgets around it hidden, the window full screen.
// Leaving gives every widget back the visibility it had and the window its former state; Esc
// leaves as well, but only while the reader is alone (it stays free for everything else).
class TReaderFullScreen
{
public:
    TReaderFullScreen(QWidget* window, QAction* toggle, QList<QWidget*> around,
                      std::function<void()> relayout);

    bool Active() const { return IsActive; }
    // Enters or leaves; the action's check mark follows.
    void Toggle();

private:
    void Enter();
    void Leave();
    void RelayoutSoon();

    QWidget* Window;
    QAction* ToggleAction;
    QList<QWidget*> Around;
    std::function<void()> Relayout;
    bool IsActive = false;
    QList<QPointer<QWidget>> Hidden;
    Qt::WindowStates FormerState;
};
