#include "reader/ReaderFullScreen.h"

#include <QAction>
#include <QSignalBlocker>
#include <QWidget>

TReaderFullScreen::TReaderFullScreen(QWidget* window, QAction* toggle, QList<QWidget*> around,
                                     std::function<void()> relayout)
    : Window(window), ToggleAction(toggle), Around(std::move(around)), Relayout(std::move(relayout))
{}

void TReaderFullScreen::Toggle()
{
    if (IsActive)
        Leave();
    else
        Enter();
    // The check mark shows the state, whatever the click made of it.
    const QSignalBlocker blocker(ToggleAction);
    ToggleAction->setChecked(IsActive);
}

void TReaderFullScreen::Enter()
{
    IsActive = true;
    FormerState = Window->windowState();
    Hidden.clear();
    for (QWidget* widget : Around) {
        if (!widget->isHidden()) {
            Hidden << widget;
            widget->hide();
        }
    }
    ToggleAction->setShortcuts({ToggleAction->shortcut(), QKeySequence(Qt::Key_Escape)});
    Window->setWindowState((FormerState & ~(Qt::WindowMinimized | Qt::WindowMaximized)) |
                           Qt::WindowFullScreen);
    RelayoutSoon();
}

void TReaderFullScreen::Leave()
{
    IsActive = false;
    ToggleAction->setShortcut(ToggleAction->shortcut());
    Window->setWindowState(FormerState);
    for (const QPointer<QWidget>& widget : std::as_const(Hidden)) {
        if (widget)
            widget->show();
    }
    Hidden.clear();
    RelayoutSoon();
}

void TReaderFullScreen::RelayoutSoon()
{
    // The panels hidden or shown give the reader its new size only once the layouts have run,
    // from events already posted; the labels are counted after them. A window whose size
    // changes as well (as a window manager makes it) is laid out again when the size settles.
    QMetaObject::invokeMethod(Window, Relayout, Qt::QueuedConnection);
}
