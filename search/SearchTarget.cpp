#include "search/SearchTarget.h"

#include "search/ContentsEntry.h"
#include "search/SearchMessages.h"

#include <algorithm>

void TSearchTurns::Turn(const TSearchTarget& target)
{
    if (target.Yield && !target.Yield()) {
        Cancelled = true;
        return;
    }
    if (target.SetResearchCaption)
        target.SetResearchCaption(QStringLiteral("残り= ") + QString::number(Remaining));
    --Remaining;
    Available = target.Lines->count();
}

void AddSearchEntry(const TSearchTarget& target, QStringView text, int i, int numberWidth)
{
    if (target.AddEntry)
        target.AddEntry(MakeContentsEntry(text, i + 1, numberWidth, target.LineForward));
}

void ShowSearchMessage(const TSearchTarget& target, const QString& text, const QString& caption)
{
    if (target.MessageBox)
        target.MessageBox(text, caption, 0);
    else
        SearchMessageBox(text, caption);
}
