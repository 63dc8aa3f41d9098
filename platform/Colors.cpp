#include "platform/Colors.h"

#include <QGuiApplication>
#include <QPalette>

namespace {

QPalette::ColorRole roleOfSystemColor(int index)
{
    switch (index) {
    case 5: // window (the background of edit controls and lists)
        return QPalette::Base;
    case 7: // menu text
    case 8: // window text
        return QPalette::Text;
    case 13:
        return QPalette::Highlight;
    case 14:
        return QPalette::HighlightedText;
    case 16: // button shadow
        return QPalette::Mid;
    case 17: // grey text
        return QPalette::PlaceholderText;
    case 18:
        return QPalette::ButtonText;
    case 20: // button highlight
        return QPalette::Light;
    case 21: // dark 3D shadow
        return QPalette::Shadow;
    case 22: // 3D light
        return QPalette::Midlight;
    case 23:
        return QPalette::ToolTipText;
    case 24:
        return QPalette::ToolTipBase;
    case 15: // button face
        return QPalette::Button;
    default:
        return QPalette::Window;
    }
}

} // namespace

QColor ColorFromTColor(qint32 value)
{
    if (value & TColors::SystemBit)
        return QGuiApplication::palette().color(roleOfSystemColor(value & 0xFF));
    const quint32 v = static_cast<quint32>(value);
    return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
}

qint32 TColorFromColor(const QColor& color)
{
    const QColor rgb = color.toRgb();
    return qint32(quint32(rgb.red()) | (quint32(rgb.green()) << 8) | (quint32(rgb.blue()) << 16));
}
