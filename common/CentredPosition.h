#pragma once

#include <QPoint>
#include <QSize>

// Where a dialog goes on a screen of the given size: centred across, a quarter of the free
// height from the top. Both divisions truncate toward zero, so a form larger than the screen gets
// a negative offset.
QPoint CentredPosition(QSize screen, QSize form);
