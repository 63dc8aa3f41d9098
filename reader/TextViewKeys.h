#pragma once

#include "reader/TextEditing.h"

class QKeyEvent;

// The key press read from the platform's standard key sequences.
TTextKey TextKeyOf(const QKeyEvent& event);
