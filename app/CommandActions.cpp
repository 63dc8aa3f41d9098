// The command table made real: its actions, with their shortcuts and handlers, and the menus
// of the menu bar.
#include "app/CommandTable.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>

QHash<QString, QAction*>
BuildCommandActions(QWidget* window, const std::function<void(void (*)(TQuorvelaneForm&))>& run)
{
    QHash<QString, QAction*> actions;
    for (const TCommand& command : Commands()) {
        auto* action = new QAction(command.Caption, window);
        action->setObjectName(QLatin1String(command.Name));
        action->setProperty("Category", QLatin1String(command.Category));
        action->setShortcut(command.Shortcut);
        action->setCheckable(command.Checkable);
        action->setVisible(command.Visible);
        // Commands whose work is not wired yet stay disabled rather than pretend to work.
        action->setEnabled(command.Handler != nullptr);
        if (command.Handler)
            QObject::connect(action, &QAction::triggered, window,
                             [run, handler = command.Handler] { run(handler); });
        window->addAction(action);
        // Qt switches off the shortcut of a hidden action (a hidden action counts as disabled,
        // though it can still be triggered); a hidden command keeps its key through a window
        // shortcut of its own.
        if (!command.Visible && !command.Shortcut.isEmpty())
            QObject::connect(new QShortcut(command.Shortcut, window), &QShortcut::activated, action,
                             &QAction::trigger);
        actions.insert(action->objectName(), action);
    }
    return actions;
}

void BuildMainMenus(QMenuBar* bar, const QHash<QString, QAction*>& actions)
{
    for (const TMenuDefinition& definition : MainMenus()) {
        QMenu* menu = bar->addMenu(definition.Caption);
        menu->setObjectName(QLatin1String(definition.Name));
        QList<QMenu*> stack{menu};
        for (const QString& item : definition.Items) {
            if (item == u'-')
                stack.last()->addSeparator();
            else if (item.startsWith(u'>'))
                stack << stack.last()->addMenu(item.mid(1));
            else if (item == u'<')
                stack.removeLast();
            else
                stack.last()->addAction(actions.value(item));
        }
    }
}
