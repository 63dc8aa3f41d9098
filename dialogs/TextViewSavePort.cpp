#include "dialogs/TextViewSavePort.h"

#include "files/AozoraDisplay.h"
#include "files/FileState.h"
#include "platform/AppUtils.h"
#include "reader/MainRichEdit.h"
#include "reader/ReaderView.h"

int TTextViewSavePort::LineCount() const
{
    return Lines.count();
}

const TParagraphSource& TTextViewSavePort::Paragraphs() const
{
    if (Display && Display->IsFormatted())
        return Display->RawParagraphs();
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
    Edit.SetModified(false);
}
