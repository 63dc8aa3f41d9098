#pragma once

#include <QString>

// The string helpers report their rare failures (an overflowing number, no memory left) as a
// plain message. They sit below the dialogs, so the dialog service hands them its plain message
// when it is installed; until then a notice goes nowhere.
using TNoticeSink = void (*)(const QString& text);
void SetNoticeSink(TNoticeSink sink);
// Shows the text through the sink; never throws.
void PlainNotice(const QString& text);
