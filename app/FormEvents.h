#pragma once

#include <QList>
#include <QObject>
#include <Qt>
#include <functional>

class QFrame;
class QPushButton;
class QScrollBar;

// The controls whose events the main window answers.
struct TFormEventTargets
{
    QFrame* ReaderPanel = nullptr;
    QScrollBar* ReadingLineScrollBar = nullptr;
    QFrame* ContentsPanel = nullptr;
    QPushButton* FindResearchButton = nullptr;
    // A resize of these, or the end of a drag of these, lays the reader out again.
    QList<QObject*> Resizing;
    QList<QObject*> Dragging;
};

// What the events lead to.
struct TFormEventHandlers
{
    // The reader labels take the mouse like the reader panel.
    std::function<bool(QObject*)> IsReaderLabel;
    std::function<void(Qt::MouseButton, Qt::KeyboardModifiers)> ReaderMouseDown;
    std::function<void()> ReaderMouseUp;
    std::function<void()> FormResize;
};

// Watches the window's panels: mouse presses on the reader go to the slide engine, resizes
// place the reader's scroll bar and the floating re-search button, and a resized side panel or
// the end of a splitter drag lays the reader out again.
class TFormEvents : public QObject
{
public:
    TFormEvents(const TFormEventTargets& targets, TFormEventHandlers handlers, QObject* parent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool ReaderMouseEvent(QEvent* event);
    void PlaceReaderScrollBar();

    TFormEventTargets Targets;
    TFormEventHandlers Handlers;
};
