#pragma once

#include <QHash>
#include <QString>

class QAction;
struct TAppState;

// The check marks of the commands that are modes. Each mode keeps its flag in the state and the
// action only mirrors it; a click on a mode the user switches sets its flag before the
// command's handler runs.
class TModeChecks
{
public:
    // Connects the switchable modes' actions to their flags.
    TModeChecks(TAppState& state, const QHash<QString, QAction*>& actions);

    // Every check mark from its flag, as after reading the settings.
    void MirrorAll();
    // The Reading menu's marks, which follow the slide engine's state.
    void MirrorReading();
    // The three ruby styles, one of them checked.
    void MirrorRuby();

private:
    QAction* Action(const char* name) const;
    // The modes a click switches, with the flags they switch.
    QList<std::pair<const char*, bool*>> SwitchedModes() const;

    TAppState& State;
    QHash<QString, QAction*> Actions;
};
