// The searches and the contents list.
#include "app/QuorvelaneMain.h"

#include "common/AppConstants.h"
#include "common/AppUtils.h"
#include "search/ContentsEntry.h"

#include <QAction>
#include <QListWidget>
#include <QScrollBar>

void TQuorvelaneForm::FindLineStringExecute(TSearchAction Action)
{
    SearchFlow->FindLineStringExecute(Action);
}

void TQuorvelaneForm::FindResearchExecute() { SearchFlow->FindResearchExecute(); }

void TQuorvelaneForm::ContentsListBoxClick()
{
    QListWidgetItem* item = ContentsListBox->currentItem();
    if (!item)
        return;
    ContentsListBox->setToolTip(item->text());
    const bool lineForward = Action(QStringLiteral("SetContentsLineForward"))->isChecked();
    const TContentsTarget target = ParseContentsEntry(item->text(), lineForward, LineCount());
    if (!target.Line) {
        AppMessageBox(target.Message, target.Caption, 0);
        return;
    }
    Slide.ReadingLine = *target.Line;
    ReadingLineScrollBar->setValue(*target.Line);
    ShowReadingLines();
}

void TQuorvelaneForm::SetContentsLineForwardExecute()
{
    QAction* action = Action(QStringLiteral("SetContentsLineForward"));
    QStringList entries;
    for (int i = 0; i < ContentsListBox->count(); ++i)
        entries << ContentsListBox->item(i)->text();
    const auto swapped = SwapContentsEntries(entries);
    if (!swapped) {
        // The check stays as it was: undo the toggle the action made.
        const QSignalBlocker blocker(action);
        action->setChecked(!action->isChecked());
        AppMessageBox(ContentsSwapFailedMessage, ErrorCaption(), 0);
        return;
    }
    ContentsListBox->clear();
    ContentsListBox->addItems(*swapped);
}
