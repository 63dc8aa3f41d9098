// The slide engine's view of the main window.
#include "app/FormPorts.h"

#include "app/ModeChecks.h"
#include "app/QuorvelaneMain.h"
#include "files/FolderControls.h"
#include "files/StringListBox.h"
#include "platform/ContentsListBox.h"
#include "reader/ReaderStatusStrip.h"
#include "reader/ReaderView.h"

#include <QComboBox>
#include <QScrollBar>
#include <QTimer>

int TFormReaderPort::LineCount() const
{
    return Form.LineCount();
}
QString TFormReaderPort::Line(int i) const
{
    return Form.Line(i);
}
bool TFormReaderPort::StartsParagraph(int i) const
{
    return Form.ReaderView->paragraphSpan(i).FirstLine == i;
}
bool TFormReaderPort::IsContentsHeading(int i) const
{
    return IsHeadingLine(Form.State.Search, Form.ContentsListBox->EntryCount(), i);
}
int TFormReaderPort::LabelCount() const
{
    return Form.LabelCount();
}
void TFormReaderPort::SetLabelText(int i, const QString& text)
{
    // The engine fills the labels from the reading line on.
    Form.ReaderView->SetLabelText(i, text, Form.State.Slide.ReadingLine + i);
}
// Whatever the engine shows or switches, the status strip tells.
void TFormReaderPort::SetCaption(const QString& text)
{
    Form.setWindowTitle(text);
    Form.StatusStrip->Refresh();
}
bool TFormReaderPort::IsTimerRunning() const
{
    return Form.ReadTimer->isActive();
}
void TFormReaderPort::StartTimer()
{
    Form.ReadTimer->start();
    Form.StatusStrip->Refresh();
}
void TFormReaderPort::StopTimer()
{
    Form.ReadTimer->stop();
    Form.StatusStrip->Refresh();
}

void TFormReaderPort::SetTimerInterval(int ms)
{
    // QTimer::setInterval restarts a running timer, which is what a new interval means here;
    // it never starts a stopped one.
    Form.ReadTimer->setInterval(ms);
    Form.StatusStrip->Refresh();
}

int TFormReaderPort::TimerInterval() const
{
    return Form.ReadTimer->interval();
}
int TFormReaderPort::TimerTag() const
{
    return Form.State.Slide.TimerTag;
}
void TFormReaderPort::SetTimerTag(int tag)
{
    Form.State.Slide.TimerTag = tag;
}
void TFormReaderPort::SetScrollPosition(int position)
{
    Form.ReadingLineScrollBar->setValue(position);
}
int TFormReaderPort::ScrollPosition() const
{
    return Form.ReadingLineScrollBar->value();
}
int TFormReaderPort::ScrollLargeChange() const
{
    return Form.ReadingLineScrollBar->pageStep();
}
void TFormReaderPort::ChecksChanged()
{
    Form.Checks->MirrorReading();
    Form.StatusStrip->Refresh();
}
int TFormReaderPort::FileListCount() const
{
    return Form.FileNameListBox->count();
}
int TFormReaderPort::FileListSelectedIndex() const
{
    return Form.FileNameListBox->currentRow();
}
void TFormReaderPort::SelectFileListEntry(int i)
{
    Form.FileNameListBox->setCurrentRow(i);
}
bool TFormReaderPort::LoadSelectedFile()
{
    return Form.Loader->FileNameListBoxClick();
}
bool TFormReaderPort::TextLoading() const
{
    return Form.Loader->Loading();
}
void TFormReaderPort::FileListBox1Change()
{
    Form.FileListBox1Change(Form.FileListBox1);
}
void TFormReaderPort::LabelStepComboBoxChange()
{
    Form.LabelStepComboBoxChange();
}

bool TFormReaderPort::IsOnePageStepSelected() const
{
    return Form.Appearance->IsOnePageStepSelected();
}

void TFormReaderPort::SelectIntervalItem(int i)
{
    Form.ReadTimerComboBox->setCurrentIndex(i);
    Form.ReadTimerComboBoxChange();
}

void TFormReaderPort::FoldOrOpenLeftPanel()
{
    Form.FoldOrOpenLeftPanel();
}
void TFormReaderPort::FoldOrOpenRightPanel()
{
    Form.FoldOrOpenRightPanel();
}
