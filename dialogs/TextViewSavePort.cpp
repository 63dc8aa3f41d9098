#include "dialogs/TextViewSavePort.h"

#include "platform/AppUtils.h"
#include "files/FileState.h"
#include "reader/ReaderView.h"

#include <QPlainTextEdit>

int TTextViewSavePort::LineCount() const
{
    return Lines.count();
}

const TParagraphSource& TTextViewSavePort::Paragraphs() const
{
    return Lines;
}

QString TTextViewSavePort::CurrentFileName() const
{
    return Files.CurrentFileName;
}

int TTextViewSavePort::MessageBox(const QString& text, const QString& caption, int flags)
{
    return AppMessageBox(text, caption, flags);
}

void TTextViewSavePort::TextSaved()
{
    Edit.document()->setModified(false);
}
