#include "app/ControlFactory.h"

#include <QComboBox>
#include <QFrame>
#include <QSplitter>
#include <QVBoxLayout>

QFrame* MakePanel(QWidget* parent, const char* name, bool bevel)
{
    auto* panel = new QFrame(parent);
    panel->setObjectName(QLatin1String(name));
    panel->setFrameShape(bevel ? QFrame::Panel : QFrame::NoFrame);
    panel->setFrameShadow(QFrame::Sunken);
    panel->setAutoFillBackground(true);
    return panel;
}

QSplitter* MakeSplitter(Qt::Orientation orientation, QWidget* parent, const char* name)
{
    auto* splitter = new QSplitter(orientation, parent);
    splitter->setObjectName(QLatin1String(name));
    splitter->setHandleWidth(3);
    splitter->setChildrenCollapsible(false);
    return splitter;
}

QSplitterHandle* NameHandle(QSplitter* splitter, int index, const char* name)
{
    QSplitterHandle* handle = splitter->handle(index);
    handle->setObjectName(QLatin1String(name));
    handle->setAutoFillBackground(true);
    return handle;
}

QVBoxLayout* ColumnLayout(QWidget* panel, int margin)
{
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(margin, margin, margin, margin);
    layout->setSpacing(0);
    return layout;
}

QComboBox* MakeList(QWidget* parent, const char* name, const QStringList& items)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setEditable(false);
    box->addItems(items);
    box->setMinimumWidth(20);
    return box;
}
