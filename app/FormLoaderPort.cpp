// The text loader's view of the main window.
#include "app/FormPorts.h"

#include "app/CommandTable.h"
#include "app/QuorvelaneMain.h"
#include "dialogs/TextSaver.h"
#include "files/StringListBox.h"
#include "platform/AppUtils.h"
#include "reader/MainRichEdit.h"
#include "reader/PlaceKeeper.h"
#include "reader/ReaderView.h"

#include <QAction>
#include <QPushButton>
#include <QScrollBar>

int TFormLoaderPort::FileCount() const
{
    return Form.FileNameListBox->count();
}
int TFormLoaderPort::SelectedFile() const
{
    return Form.FileNameListBox->currentRow();
}
void TFormLoaderPort::SelectFile(int row)
{
    Form.FileNameListBox->setCurrentRow(row);
}
int TFormLoaderPort::PathCount() const
{
    return Form.FilePathListBox->count();
}
QString TFormLoaderPort::PathAt(int row) const
{
    return Form.FilePathListBox->text(row);
}
void TFormLoaderPort::SetFileHint(const QString& hint)
{
    Form.FileNameListBox->setToolTip(hint);
}
bool TFormLoaderPort::TextEmpty() const
{
    return Form.MainRichEdit->IsEmpty();
}
void TFormLoaderPort::LoadText(const QString& text)
{
    Form.MainRichEdit->LoadText(text);
    // A text put in by the program holds no edits of the user's.
    Form.MainRichEdit->SetModified(false);
    if (!text.isEmpty())
        Form.Keeper->RestorePlace();
}
bool TFormLoaderPort::TextModified() const
{
    return Form.MainRichEdit->IsModified();
}
bool TFormLoaderPort::SaveText()
{
    return Form.Saver->FileSaveExecute();
}
int TFormLoaderPort::LineCount() const
{
    return Form.LineCount();
}

void TFormLoaderPort::ResetReadingLine()
{
    // The file in view is about to be left.
    Form.Keeper->RememberPlace();
    Form.State.Slide.ReadingLine = 0;
    Form.ReadingLineScrollBar->setValue(0);
}

void TFormLoaderPort::ClearContents()
{
    Form.ContentsListBox->Clear();
}
void TFormLoaderPort::SetResearchVisible(bool visible)
{
    Form.FindResearchButton->setVisible(visible);
}
void TFormLoaderPort::RebuildReader()
{
    Form.RebuildReader();
}
void TFormLoaderPort::SetCaption(const QString& caption)
{
    Form.setWindowTitle(caption);
}

int TFormLoaderPort::MessageBox(const QString& text, const QString& caption, int flags)
{
    return AppMessageBox(text, caption, flags);
}
QString TFormLoaderPort::Text() const
{
    return Form.MainRichEdit->PlainText();
}
void TFormLoaderPort::SetTextReadOnly(bool readOnly)
{
    Form.MainRichEdit->SetTextReadOnly(readOnly);
}
TLinePreparer TFormLoaderPort::LinePreparer() const
{
    return Form.ReaderView->LinePreparer();
}
void TFormLoaderPort::OfferPreparedLines(std::shared_ptr<TPreparedLines> lines)
{
    Form.ReaderView->OfferPreparedLines(std::move(lines));
}
void TFormLoaderPort::ShowEncoding(std::optional<TSourceEncoding> used, bool detected)
{
    // The menu checks the encoding in view, and "自動" while it was detected.
    Form.Action(QStringLiteral("EncodingAuto"))->setChecked(detected);
    for (const TSourceEncoding encoding : AllSourceEncodings)
        Form.Action(EncodingActionName(encoding))->setChecked(used == encoding);
}
void TFormLoaderPort::ShowAnnotations(const TAozoraDisplay& display)
{
    Form.ReaderView->SetAnnotations(display.IsFormatted() ? &display.FormattedText() : nullptr,
                                    display.Style == TRubyStyle::Above);
}
