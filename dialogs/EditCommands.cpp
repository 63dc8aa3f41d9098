#include "dialogs/EditCommands.h"

#include "dialogs/ProgramInfo.h"
#include "platform/AppUtils.h"
#include "reader/MainRichEdit.h"

#include <QAction>

void TEditCommands::MenuEditExecute()
{
    Paste.setEnabled(ClipboardHasText());
}

void TEditCommands::TextCutExecute()
{
    Edit.cut();
}

void TEditCommands::TextCopyExecute()
{
    Edit.copy();
}

void TEditCommands::TextPasteExecute()
{
    // The action may have been enabled by an earlier look at the clipboard; what it holds now
    // decides.
    if (ClipboardHasText())
        Edit.paste();
}

void TEditCommands::TextAllSelectExecute()
{
    Edit.selectAll();
}

void AppVersionExecute()
{
    AppMessageBox(VersionText(), VersionCaption(), 0);
}
