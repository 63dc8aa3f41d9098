#include "search/SearchMessages.h"

#include "platform/DialogService.h"

int SearchMessageBox(const QString& text, const QString& caption, int flags)
{
    try {
        return Dialogs().MessageBox(text, caption, flags);
    } catch (const TDialogUnavailable&) {
        return -1;
    }
}
