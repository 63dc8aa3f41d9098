#pragma once

#include "dialogs/TextSaver.h"

class QPlainTextEdit;
class TReaderView;
struct TFileState;

// Saving the main window's text: the lines and paragraphs the reader view keeps for the text
// view, the questions through AppMessageBox, and the text view's edited mark.
class TTextViewSavePort final : public TSavePort
{
public:
    TTextViewSavePort(QPlainTextEdit& edit, const TReaderView& lines, const TFileState& files)
        : Edit(edit), Lines(lines), Files(files)
    {}

    int LineCount() const override;
    const TParagraphSource& Paragraphs() const override;
    QString CurrentFileName() const override;
    int MessageBox(const QString& text, const QString& caption, int flags) override;
    void TextSaved() override;

private:
    QPlainTextEdit& Edit;
    const TReaderView& Lines;
    const TFileState& Files;
};
