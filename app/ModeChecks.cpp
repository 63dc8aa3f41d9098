#include "app/ModeChecks.h"

#include "app/Settings.h"

#include <QAction>
#include <QSignalBlocker>

TModeChecks::TModeChecks(TAppState& state, const QHash<QString, QAction*>& actions)
    : State(state), Actions(actions)
{
    for (const auto& [name, flag] : SwitchedModes())
        QObject::connect(Action(name), &QAction::toggled, Action(name),
                         [flag](bool checked) { *flag = checked; });
}

QList<std::pair<const char*, bool*>> TModeChecks::SwitchedModes() const
{
    return {
        {"SetAnyFilter", &State.Files.AnyFilter},
        {"SetContentsLineForward", &State.Search.ContentsLineForward},
        {"ReflectFormAll", &State.Look.FormAllChange},
        {"AozoraFormat", &State.Formats.AozoraFormat},
        {"ShowStatusStrip", &State.Slide.StatusStrip},
        {"KeepPlaces", &State.Slide.KeepPlaces},
        {"TextPauses", &State.Slide.TextPauses},
    };
}

QAction* TModeChecks::Action(const char* name) const
{
    return Actions.value(QLatin1String(name));
}

void TModeChecks::MirrorAll()
{
    MirrorReading();
    for (const auto& [name, flag] : SwitchedModes())
        Action(name)->setChecked(*flag);
    MirrorRuby();
}

void TModeChecks::MirrorReading()
{
    const std::pair<const char*, bool> checks[] = {
        {"SlideRead", State.Slide.SlideRead},
        {"CanChangeSlideRead", State.Slide.CanChangeSlideRead},
        {"SlideRepeat", State.Slide.SlideRepeat},
        {"ListSlideRead", State.Slide.ListSlideRead},
    };
    for (const auto& [name, checked] : checks) {
        QAction* action = Action(name);
        const QSignalBlocker blocker(action);
        action->setChecked(checked);
    }
}

void TModeChecks::MirrorRuby()
{
    const TRubyStyle style = RubyStyleOf(State.Formats.RubyStyle);
    Action("RubyAbove")->setChecked(style == TRubyStyle::Above);
    Action("RubyParenthesised")->setChecked(style == TRubyStyle::Parenthesised);
    Action("RubyHidden")->setChecked(style == TRubyStyle::Hidden);
}
