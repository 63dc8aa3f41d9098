#pragma once

#include "platform/AozoraNotation.h"
#include "search/SearchFlow.h"

#include <QStringList>
#include <vector>

// The headings of a formatted Aozora Bunko text as contents entries, in the contents list's
// usual form: the display line each heading starts on, numbered as the other searches number
// lines. The headings come in the order of the text.
QStringList HeadingEntries(const TLineSource& lines, const std::vector<TAozoraHeading>& headings,
                           bool lineForward);

// The search command "見出し検索": fills the contents list with the headings and says how many
// there were; they are the contents list's headings now. Refused while another search runs.
void FindHeadings(TSearchPort& port, TSearchState& state,
                  const std::vector<TAozoraHeading>& headings);
