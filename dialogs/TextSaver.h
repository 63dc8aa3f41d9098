#pragma once

#include "files/TextFileWriter.h"

#include <QString>

// What saving the text needs from the main window.
class TSavePort
{
public:
    virtual ~TSavePort() = default;
    // The text view's lines as displayed; 0 for an empty text.
    virtual int LineCount() const = 0;
    virtual const TParagraphSource& Paragraphs() const = 0;
    // The full path of the file last loaded; empty before the first.
    virtual QString CurrentFileName() const = 0;
    // AppMessageBox.
    virtual int MessageBox(const QString& text, const QString& caption, int flags) = 0;
    // The text is on disk now and no longer counts as edited.
    virtual void TextSaved() = 0;
};

// The save command: a name from the save dialog of FileDialogsForm, then the text's real lines
// written to it in CP932 (or, when the user agrees, in UTF-8 for a text that CP932 cannot hold).
class TTextSaver
{
public:
    explicit TTextSaver(TSavePort& port) : Port(port) {}

    // True once the text is written; false when there was nothing to save, the user stopped,
    // or the file could not be written (reported).
    bool FileSaveExecute();

private:
    bool ChooseEncoding(TTextEncoding& encoding);

    TSavePort& Port;
};

// The question for a text that CP932 cannot hold, naming its first such character and line.
QString NonCp932Question(const TNonCp932Character& found);
