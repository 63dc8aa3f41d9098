#pragma once

class QAction;
class TMainRichEdit;

// The Edit menu's commands on the text view. They go through the text control's own
// operations, so an edit made this way is handled as any other edit of the text view.
class TEditCommands
{
public:
    TEditCommands(TMainRichEdit& edit, QAction& paste) : Edit(edit), Paste(paste) {}

    // Runs whenever the Edit menu or the text view's pop-up menu opens: paste is offered
    // exactly when the clipboard holds text.
    void MenuEditExecute();
    void TextCutExecute();
    void TextCopyExecute();
    void TextPasteExecute();
    void TextAllSelectExecute();

private:
    TMainRichEdit& Edit;
    QAction& Paste;
};

// The version box.
void AppVersionExecute();
