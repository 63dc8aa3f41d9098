#include "reader/FormAllColors.h"

#include <QWidget>

TColorPlan PlanFormAllColors(TColorSender sender, bool reflect, qint32 readerColor,
                             qint32 textFontColor)
{
    TColorPlan plan;
    if (reflect) {
        plan.PanelColor = readerColor;
        plan.ControlColor = readerColor;
        plan.FontColor = textFontColor;
    }
    plan.Backgrounds = sender != TColorSender::SetFont;
    plan.Fonts = sender != TColorSender::SetBackColor;
    return plan;
}

namespace {

void setRole(QWidget* widget, QPalette::ColorRole role, const QColor& color)
{
    QPalette palette = widget->palette();
    palette.setColor(role, color);
    widget->setPalette(palette);
}

} // namespace

void ApplyColorPlan(const TColorPlan& plan, const TColorTargets& targets)
{
    if (plan.Backgrounds) {
        const QColor control = ColorFromTColor(plan.ControlColor);
        const QColor panel = ColorFromTColor(plan.PanelColor);
        for (QWidget* w : targets.Controls) {
            setRole(w, QPalette::Base, control);
            setRole(w, QPalette::Button, control);
        }
        for (QWidget* w : targets.Panels) {
            w->setAutoFillBackground(true);
            setRole(w, QPalette::Window, panel);
        }
    }
    if (plan.Fonts) {
        const QColor font = ColorFromTColor(plan.FontColor);
        for (QWidget* w : targets.Texts) {
            setRole(w, QPalette::Text, font);
            setRole(w, QPalette::WindowText, font);
            setRole(w, QPalette::ButtonText, font);
        }
    }
}
