#pragma once

#include "platform/Colors.h"
#include "reader/ReaderAppearance.h"

#include <QList>

class QWidget;

// The colours the scheme gives, and which halves apply.
struct TColorPlan
{
    qint32 PanelColor = TColors::ButtonFace;
    qint32 ControlColor = TColors::Window;
    qint32 FontColor = TColors::Black;
    bool Backgrounds = true;
    bool Fonts = true;
};

// With the scheme on, the reader's background goes to panels and controls alike and the text
// view's font colour to every list and caption; with it off, the system's defaults come back.
TColorPlan PlanFormAllColors(TColorSender sender, bool reflect, qint32 readerColor,
                             qint32 textFontColor);

// The controls that take the scheme's colours.
struct TColorTargets
{
    QList<QWidget*> Controls; // take the control colour as their base
    QList<QWidget*> Panels;   // take the panel colour as their window
    QList<QWidget*> Texts;    // take the font colour
};

void ApplyColorPlan(const TColorPlan& plan, const TColorTargets& targets);
