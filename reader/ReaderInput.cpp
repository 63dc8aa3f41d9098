#include "reader/ReaderInput.h"

#include "reader/SlideEngine.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QWheelEvent>
#include <QWidget>

TReaderInput::TReaderInput(QWidget* panel, TSlideEngine& engine, std::function<bool()> busy)
    : QObject(panel), Panel(panel), Engine(engine), Busy(std::move(busy))
{
    Panel->setFocusPolicy(Qt::StrongFocus);
    Panel->installEventFilter(this);
}

void TReaderInput::ReturnFocusFrom(QComboBox* box)
{
    connect(box, &QComboBox::activated, this, [this] { Panel->setFocus(Qt::OtherFocusReason); });
}

bool TReaderInput::eventFilter(QObject* watched, QEvent* event)
{
    // The labels come and go with the panel's height; each is watched from its birth.
    if (watched == Panel && event->type() == QEvent::ChildAdded) {
        if (QObject* child = static_cast<QChildEvent*>(event)->child(); child->isWidgetType())
            child->installEventFilter(this);
        return false;
    }
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        Panel->setFocus(Qt::MouseFocusReason);
        return false;
    case QEvent::KeyPress: {
        if (watched != Panel)
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        if (ReaderKeyOf(key->key(), key->modifiers()) == TReaderKey::None)
            return false;
        if (!Busy())
            Engine.ReaderKeyPress(key->key(), key->modifiers());
        return true;
    }
    case QEvent::Wheel: {
        if (Busy())
            return true;
        Engine.ReaderWheel(static_cast<QWheelEvent*>(event)->angleDelta().y(),
                           QApplication::wheelScrollLines());
        return true;
    }
    default:
        return false;
    }
}
