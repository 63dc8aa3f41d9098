#include "common/CentredPosition.h"

QPoint CentredPosition(QSize screen, QSize form)
{
    // C++ integer division truncates toward zero, which is the rounding wanted here.
    return {(screen.width() - form.width()) / 2, (screen.height() - form.height()) / 4};
}
