#pragma once

#include "dialogs/TextSaver.h"

class TMainRichEdit;
class TAozoraDisplay;
class TReaderView;
struct TFileState;

// Saving the main window's text: the lines and paragraphs the reader view keeps for the text
// view, the questions through AppMessageBox, and the text view's edited mark.
class TTextViewSavePort final : public TSavePort
{
public:
    // While the display shows a formatted text, its lines as read are saved instead.
    TTextViewSavePort(TMainRichEdit& edit, const TReaderView& lines, const TFileState& files,
                      const TAozoraDisplay* display = nullptr)
        : Edit(edit), Lines(lines), Files(files), Display(display)
    {}

    int LineCount() const override;
    const TParagraphSource& Paragraphs() const override;
    QString CurrentFileName() const override;
    int MessageBox(const QString& text, const QString& caption, int flags) override;
    void TextSaved() override;

private:
    TMainRichEdit& Edit;
    const TReaderView& Lines;
    const TFileState& Files;
    const TAozoraDisplay* Display;
};
