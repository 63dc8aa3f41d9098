#include "app/FormPorts.h"

#include "app/QuorvelaneMain.h"
#include "common/AppUtils.h"
#include "platform/FolderControls.h"
#include "platform/MainRichEdit.h"
#include "reader/FontAdvances.h"
#include "reader/ReaderStatusStrip.h"
#include "reader/ReaderView.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>

int TFormReaderPort::LineCount() const { return Form.LineCount(); }
QString TFormReaderPort::Line(int i) const { return Form.Line(i); }
int TFormReaderPort::LabelCount() const { return Form.LabelCount(); }
void TFormReaderPort::SetLabelText(int i, const QString& text) { Form.ReaderView->SetLabelText(i, text); }
bool TFormReaderPort::IsTimerRunning() const { return Form.ReadTimer->isActive(); }

// Whatever the engine shows or switches, the status strip tells.
void TFormReaderPort::SetCaption(const QString& text)
{
    Form.setWindowTitle(text);
    Form.StatusStrip->Refresh();
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

int TFormReaderPort::TimerInterval() const { return Form.ReadTimer->interval(); }
int TFormReaderPort::TimerTag() const { return Form.ReadTimer->property("Tag").toInt(); }
void TFormReaderPort::SetTimerTag(int tag) { Form.ReadTimer->setProperty("Tag", tag); }
void TFormReaderPort::SetScrollPosition(int position) { Form.ReadingLineScrollBar->setValue(position); }
int TFormReaderPort::ScrollPosition() const { return Form.ReadingLineScrollBar->value(); }
int TFormReaderPort::ScrollLargeChange() const { return Form.ReadingLineScrollBar->pageStep(); }
void TFormReaderPort::ChecksChanged()
{
    Form.SyncReadingChecks();
    Form.StatusStrip->Refresh();
}
int TFormReaderPort::FileListCount() const { return Form.FileNameListBox->count(); }
int TFormReaderPort::FileListSelectedIndex() const { return Form.FileNameListBox->currentRow(); }
void TFormReaderPort::SelectFileListEntry(int i) { Form.FileNameListBox->setCurrentRow(i); }
void TFormReaderPort::LoadSelectedFile() { Form.FileNameListBoxClick(); }
void TFormReaderPort::FileListBox1Change() { Form.FileListBox1Change(Form.FileListBox1); }
void TFormReaderPort::LabelStepComboBoxChange() { Form.LabelStepComboBoxChange(); }

bool TFormReaderPort::IsOnePageStepSelected() const
{
    return Form.LabelStepComboBox->currentIndex() == Form.LabelStepComboBox->count() - 1;
}

void TFormReaderPort::SelectIntervalItem(int i)
{
    Form.ReadTimerComboBox->setCurrentIndex(i);
    Form.ReadTimerComboBoxChange();
}

void TFormReaderPort::FoldOrOpenLeftPanel() { Form.FoldOrOpenLeftPanel(); }
void TFormReaderPort::FoldOrOpenRightPanel() { Form.FoldOrOpenRightPanel(); }

TFormSearchPort::TFormSearchPort(TQuorvelaneForm& form) : Form(form)
{
    // Every change of the text, whoever makes it, renumbers the lines from where it starts.
    TextChangesCounter = QObject::connect(Form.MainRichEdit, &QPlainTextEdit::textChanged,
                                          [this] { ++TextChanges; });
}

TFormSearchPort::~TFormSearchPort() { QObject::disconnect(TextChangesCounter); }

const TLineSource& TFormSearchPort::Lines() const { return *Form.ReaderView; }

bool TFormSearchPort::ContentsLineForward() const
{
    return Form.Action(QStringLiteral("SetContentsLineForward"))->isChecked();
}

void TFormSearchPort::BeginContentsUpdate() { Form.ContentsListBox->BeginUpdate(); }
void TFormSearchPort::EndContentsUpdate() { Form.ContentsListBox->EndUpdate(); }

void TFormSearchPort::ClearContents()
{
    Form.ContentsListBox->Clear();
    Form.ContentsListBox->setToolTip(QString());
}

void TFormSearchPort::AddContentsEntry(const QString& entry) { Form.ContentsListBox->AddEntry(entry); }
int TFormSearchPort::ContentsCount() const { return Form.ContentsListBox->EntryCount(); }
QString TFormSearchPort::Caption() const { return Form.windowTitle(); }
void TFormSearchPort::SetCaption(const QString& caption) { Form.setWindowTitle(caption); }
bool TFormSearchPort::ResearchButtonVisible() const { return !Form.FindResearchButton->isHidden(); }
void TFormSearchPort::SetResearchButtonVisible(bool visible) { Form.FindResearchButton->setVisible(visible); }
void TFormSearchPort::SetResearchCaption(const QString& caption) { Form.FindResearchButton->setText(caption); }
bool TFormSearchPort::ProcessEvents()
{
    // The searches offer a turn every 100 lines, which on a fast machine is every few
    // microseconds; a turn costs far more (the re-search button's new caption is painted and
    // its panel laid out). After the first turns of a search, which always let events through
    // (a short text answers at once), events go through once the last turn is PumpInterval old:
    // the window is as responsive, and the search several times faster.
    if (++Turns > EveryTurnFor && LastPump.isValid() && LastPump.nsecsElapsed() < PumpInterval)
        return false;
    QCoreApplication::processEvents();
    LastPump.start();
    return true;
}

int TFormSearchPort::MessageBox(const QString& text, const QString& caption, int flags)
{
    return AppMessageBox(text, caption, flags);
}

TFormSearchPort::TLinesMark TFormSearchPort::CurrentLines() const
{
    return {TextChanges, Form.MainRichEdit->font(), WrapWidthOf(*Form.MainRichEdit)};
}

void TFormSearchPort::MarkLines()
{
    // Called as a search begins.
    Marked = CurrentLines();
    Turns = 0;
}
bool TFormSearchPort::LinesChanged() const { return !(CurrentLines() == Marked); }

void TFormSearchPort::LinesRenumbered()
{
    if (Form.LineCount() > 0)
        Form.FindResearchButton->show();
    Form.ShowReadingLines();
}

void TFormSearchPort::CloseWindow() { Form.close(); }
