#include "app/FormEvents.h"

#include <QEvent>
#include <QFrame>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>

TFormEvents::TFormEvents(const TFormEventTargets& targets, TFormEventHandlers handlers,
                         QObject* parent)
    : QObject(parent), Targets(targets), Handlers(std::move(handlers))
{
    Targets.ReaderPanel->installEventFilter(this);
    Targets.ContentsPanel->installEventFilter(this);
    for (QObject* watched : Targets.Resizing + Targets.Dragging)
        watched->installEventFilter(this);
}

bool TFormEvents::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    const bool reader = watched == Targets.ReaderPanel || Handlers.IsReaderLabel(watched);
    if (reader && ReaderMouseEvent(event))
        return true;
    if (watched == Targets.ReaderPanel && type == QEvent::Resize)
        PlaceReaderScrollBar();
    if (watched == Targets.ContentsPanel && type == QEvent::Resize)
        Targets.FindResearchButton->setGeometry(2, 2, qMax(0, Targets.ContentsPanel->width() - 3),
                                                Targets.FindResearchButton->sizeHint().height());
    if ((type == QEvent::Resize && Targets.Resizing.contains(watched)) ||
        (type == QEvent::MouseButtonRelease && Targets.Dragging.contains(watched)))
        Handlers.FormResize();
    return QObject::eventFilter(watched, event);
}

bool TFormEvents::ReaderMouseEvent(QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        Handlers.ReaderMouseDown(mouse->button(), mouse->modifiers());
        return true;
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        Handlers.ReaderMouseUp();
        return true;
    }
    return false;
}

void TFormEvents::PlaceReaderScrollBar()
{
    const QRect area = Targets.ReaderPanel->contentsRect();
    Targets.ReadingLineScrollBar->setGeometry(area.right() - 15, area.top(), 16, area.height());
}
