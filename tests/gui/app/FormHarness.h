#pragma once

// Starting the real main window in a folder and driving its timers by hand, for the window's
// offscreen tests. The timers' own ticks never come: no test runs the event loop long enough.

#include "app/QuorvelaneMain.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QTest>
#include <QTimer>
#include <memory>

namespace FormHarness {

// Opening a folder makes it the process's current folder, so each start names its own.
inline std::unique_ptr<TQuorvelaneForm> Start(const QString& folder)
{
    if (!QDir::setCurrent(folder))
        qWarning("cannot enter %s", qPrintable(folder));
    auto form = std::make_unique<TQuorvelaneForm>();
    form->show();
    return form;
}

// The one-off start-up tick of the read timer: fills the file lists and loads the saved file.
inline void StartUpTick(TQuorvelaneForm& form)
{
    QVERIFY(form.ReadTimer->property("Tag").toInt() != 0);
    form.ReadTimerTimer();
    QCOMPARE(form.ReadTimer->property("Tag").toInt(), 0);
}

// Ticks the resize timer until the size has settled; returns the ticks it took.
inline int Settle(TQuorvelaneForm& form)
{
    int ticks = 0;
    while (form.ResizeTimer->isActive() && ticks < 10) {
        form.ResizeTimerTimer();
        ++ticks;
    }
    return ticks;
}

// Start, start-up tick and the first relayout, as the first half second after a start.
inline std::unique_ptr<TQuorvelaneForm> StartSettled(const QString& folder)
{
    auto form = Start(folder);
    StartUpTick(*form);
    Settle(*form);
    return form;
}

inline void Exit(std::unique_ptr<TQuorvelaneForm>& form)
{
    QAction* exitAction = form->Action(QStringLiteral("AppExit"));
    QVERIFY(exitAction && exitAction->isEnabled());
    exitAction->trigger();
    QVERIFY(!form->isVisible());
    form.reset();
}

inline QStringList Texts(const QListWidget* list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts.append(list->item(i)->text());
    return texts;
}

inline bool WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

} // namespace FormHarness
