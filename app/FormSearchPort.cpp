// The search flow's view of the main window.
#include "app/FormPorts.h"

#include "app/QuorvelaneMain.h"
#include "platform/AppUtils.h"
#include "reader/FontAdvances.h"
#include "reader/MainRichEdit.h"

#include <QAction>
#include <QCoreApplication>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>

TFormSearchPort::TFormSearchPort(TQuorvelaneForm& form) : Form(form)
{
    // Every change of the text, whoever makes it, renumbers the lines from where it starts.
    TextChangesCounter =
        QObject::connect(Form.MainRichEdit, &TMainRichEdit::textChanged, [this] { ++TextChanges; });
}

TFormSearchPort::~TFormSearchPort()
{
    QObject::disconnect(TextChangesCounter);
}

const TLineSource& TFormSearchPort::Lines() const
{
    return *Form.ReaderView;
}

void TFormSearchPort::BeginContentsUpdate()
{
    Form.ContentsListBox->BeginUpdate();
}
void TFormSearchPort::EndContentsUpdate()
{
    Form.ContentsListBox->EndUpdate();
}

void TFormSearchPort::ClearContents()
{
    Form.ContentsListBox->Clear();
    Form.ContentsListBox->setToolTip(QString());
}

void TFormSearchPort::AddContentsEntry(const QString& entry)
{
    Form.ContentsListBox->AddEntry(entry);
}
int TFormSearchPort::ContentsCount() const
{
    return Form.ContentsListBox->EntryCount();
}
int TFormSearchPort::ContentsCurrentRow() const
{
    return Form.ContentsListBox->CurrentRow();
}
QString TFormSearchPort::ContentsEntry(int row) const
{
    return Form.ContentsListBox->Text(row);
}
void TFormSearchPort::SetContentsHint(const QString& hint)
{
    Form.ContentsListBox->setToolTip(hint);
}

QStringList TFormSearchPort::ContentsEntries()
{
    Form.ContentsListBox->FlushEntries();
    return Form.ContentsListBox->Entries();
}

void TFormSearchPort::SetContentsEntries(const QStringList& entries)
{
    Form.ContentsListBox->SetEntries(entries);
}

void TFormSearchPort::ShowContentsLineForward(bool checked)
{
    Form.Action(QStringLiteral("SetContentsLineForward"))->setChecked(checked);
}

void TFormSearchPort::ShowLine(int line)
{
    Form.State.Slide.ReadingLine = line;
    Form.ReadingLineScrollBar->setValue(line);
    Form.ShowReadingLines();
}

QString TFormSearchPort::Caption() const
{
    return Form.windowTitle();
}
void TFormSearchPort::SetCaption(const QString& caption)
{
    Form.setWindowTitle(caption);
}
bool TFormSearchPort::ResearchButtonVisible() const
{
    return !Form.FindResearchButton->isHidden();
}
void TFormSearchPort::SetResearchButtonVisible(bool visible)
{
    Form.FindResearchButton->setVisible(visible);
}
void TFormSearchPort::SetResearchCaption(const QString& caption)
{
    Form.FindResearchButton->setText(caption);
}
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
bool TFormSearchPort::LinesChanged() const
{
    return !(CurrentLines() == Marked);
}

void TFormSearchPort::LinesRenumbered()
{
    if (Form.LineCount() > 0)
        Form.FindResearchButton->show();
    Form.ShowReadingLines();
}

void TFormSearchPort::CloseWindow()
{
    Form.close();
}
