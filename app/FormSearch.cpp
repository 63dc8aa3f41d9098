// The searches and the contents list.
#include "app/QuorvelaneMain.h"

#include "common/AppConstants.h"
#include "common/AppUtils.h"
#include "search/ContentsEntry.h"
#include "search/HeadingSearch.h"
#include "app/FormPorts.h"
#include "files/TextLoader.h"

#include <QAction>
#include <QScrollBar>

void TQuorvelaneForm::FindLineStringExecute(TSearchAction Action)
{
    SearchFlow->FindLineStringExecute(Action);
}

void TQuorvelaneForm::FindHeadingsExecute()
{
    const TAozoraDisplay& aozora = Loader->Aozora();
    FindHeadings(*SearchPort, Search,
                 aozora.IsFormatted() ? aozora.FormattedText().Headings
                                      : std::vector<TAozoraHeading>());
}

void TQuorvelaneForm::FindResearchExecute() { SearchFlow->FindResearchExecute(); }

void TQuorvelaneForm::ContentsListBoxClick()
{
    const int row = ContentsListBox->CurrentRow();
    if (row < 0)
        return;
    const QString entry = ContentsListBox->Text(row);
    ContentsListBox->setToolTip(entry);
    const bool lineForward = Action(QStringLiteral("SetContentsLineForward"))->isChecked();
    const TContentsTarget target = ParseContentsEntry(entry, lineForward, LineCount());
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
    // Entries a running search keeps back are switched with the others.
    ContentsListBox->FlushEntries();
    const auto swapped = SwapContentsEntries(ContentsListBox->Entries());
    if (!swapped) {
        // The check stays as it was: undo the toggle the action made.
        const QSignalBlocker blocker(action);
        action->setChecked(!action->isChecked());
        AppMessageBox(ContentsSwapFailedMessage, ErrorCaption(), 0);
        return;
    }
    ContentsListBox->SetEntries(*swapped);
}
