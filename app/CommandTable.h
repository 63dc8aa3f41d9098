#pragma once

#include <QHash>
#include <QKeySequence>
#include <QList>
#include <QString>
#include <functional>

enum class TSourceEncoding;

class QAction;
class QMenuBar;
class QWidget;
class TQuorvelaneForm;

// One command of the main window: an action with its category, caption, shortcut and check
// state, and the form's handler. Menu items and buttons only point at actions.
struct TCommand
{
    const char* Name;
    const char* Category;
    QString Caption;
    QKeySequence Shortcut;
    bool Checkable = false;
    bool Visible = true;
    // The handler; none while the command's work is not wired (the action stays disabled).
    void (*Handler)(TQuorvelaneForm&) = nullptr;
};

// The command table, in the order of the action list.
const QList<TCommand>& Commands();

// A menu: its caption and the names of its items' actions in order ("-" is a separator,
// ">Caption" opens a submenu whose items follow until "<").
struct TMenuDefinition
{
    const char* Name;
    QString Caption;
    QStringList Items;
};
const QList<TMenuDefinition>& MainMenus();

// The action of the encoding menu that reads a text in the encoding.
QString EncodingActionName(TSourceEncoding encoding);

// Makes one action of window per command, named as the command, in the table's order; a
// command's action runs its handler through run.
QHash<QString, QAction*>
BuildCommandActions(QWidget* window, const std::function<void(void (*)(TQuorvelaneForm&))>& run);
// Adds the menus of the menu table to bar, their items pointing at the actions.
void BuildMainMenus(QMenuBar* bar, const QHash<QString, QAction*>& actions);
