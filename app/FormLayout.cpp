// Layout: the deferred relayout after a resize, the side splitters and the folding side panels.
#include "app/QuorvelaneMain.h"

#include "common/AppConstants.h"
#include "reader/ReaderLayout.h"
#include "reader/ReaderView.h"

#include <QComboBox>
#include <QFrame>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QSplitter>
#include <QTimer>

namespace {

constexpr int FoldedWidth = 2;
constexpr int FoldLimit = 20;
constexpr int MinimumOpenLeftWidth = 50;

// Gives the side panel at index (0 left, 2 right) a new width; the centre takes the difference.
void setSideWidth(QSplitter* splitter, int index, int width)
{
    QList<int> sizes = splitter->sizes();
    if (sizes.size() != 3)
        return;
    sizes[1] = qMax(0, sizes[1] + sizes[index] - width);
    sizes[index] = width;
    splitter->setSizes(sizes);
}

} // namespace

void TQuorvelaneForm::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    FormResize();
}

void TQuorvelaneForm::FormResize()
{
    if (Form.FormInactive)
        return;
    Files.IgnoreTextChange = true;
    if (ResizeTimer->isActive())
        return;
    // The text panel keeps its height while the window changes: the splitter gives the reader
    // every change of height.
    ResizeTimer->start();
}

void TQuorvelaneForm::ResizeTimerTimer()
{
    if (width() != Form.LastFormWidth || height() != Form.LastFormHeight) {
        Form.LastFormWidth = width();
        Form.LastFormHeight = height();
        return;
    }
    ResizeTimer->stop();
    try {
        RelayoutReader();
    } catch (const std::exception& e) {
        Dialogs().ErrorReport(QString::fromLocal8Bit(e.what()));
    }
    Files.IgnoreTextChange = false;
}

void TQuorvelaneForm::RelayoutReader()
{
    if (Form.FormInactive)
        return;
    ++Relayouts;
    RebuildReader();
    const int last = LabelStepComboBox->count() - 1;
    const auto selectOnePage = [this, last] {
        LabelStepComboBox->setCurrentIndex(last);
        LabelStepComboBoxChange();
    };
    if (LabelStepComboBox->property("Tag").toInt() != 0) {
        LabelStepComboBox->setProperty("Tag", 0);
        // A saved step outside the list counts as its first entry.
        const int saved = Slide.SlideStep;
        LabelStepComboBox->setCurrentIndex(saved >= 0 && saved <= last ? saved : 0);
        const int index = LabelStepComboBox->currentIndex();
        Slide.SlideStep =
            index < last ? ItemNumber(LabelStepComboBox->currentText()).value_or(1) : LabelCount();
        LabelStepComboBoxChange();
        // A saved step longer than the page would pass over lines unseen; it becomes one page,
        // as it does at every later relayout.
        if (LabelCount() < Slide.SlideStep)
            selectOnePage();
        return;
    }
    if (LabelCount() < Slide.SlideStep) {
        selectOnePage();
    } else if (LabelStepComboBox->currentIndex() == last) {
        LabelStepComboBoxChange();
    }
    EmptyContentsAfterRelayout();
}

// The lines are numbered anew, so the contents list is emptied and the search can be repeated.
void TQuorvelaneForm::EmptyContentsAfterRelayout()
{
    ContentsListBox->Clear();
    if (LineCount() > 0)
        FindResearchButton->show();
}

void TQuorvelaneForm::LeftSplitterCanResize(int& NewSize)
{
    if (NewSize < FoldedWidth)
        NewSize = FoldedWidth;
    Form.LeftPanelOpenWidth = NewSize;
}

void TQuorvelaneForm::RightSplitterCanResize(int& NewSize)
{
    if (NewSize < FoldedWidth)
        NewSize = FoldedWidth;
}

void TQuorvelaneForm::FoldOrOpenLeftPanel()
{
    if (LeftPanel->width() < FoldLimit)
        setSideWidth(MainSplitter, 0, qMax(Form.LeftPanelOpenWidth, MinimumOpenLeftWidth));
    else
        setSideWidth(MainSplitter, 0, FoldedWidth);
}

void TQuorvelaneForm::FoldOrOpenRightPanel()
{
    if (RightPanel->width() >= FoldLimit) {
        Form.RightPanelWidth = RightPanel->width();
        setSideWidth(MainSplitter, 2, FoldedWidth);
    } else {
        setSideWidth(MainSplitter, 2, Form.RightPanelWidth);
    }
}
