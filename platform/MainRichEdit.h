#pragma once

#include <QPlainTextEdit>

// The text view: plain text, word wrap at the widget's width, and a change signal.
class TMainRichEdit : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit TMainRichEdit(QWidget* parent = nullptr);

    // Replaces the whole text, as setPlainText() does: one change, no undo history, the cursor
    // at the start, the view unmodified. The text is kept until the next change of the
    // document or until TakeLoadedText(), so that the reader need not copy it back out of the
    // document's blocks.
    void LoadText(const QString& text);
    // The text last loaded, when the document still holds exactly that; a null string once
    // anything has changed it. Taking it drops the copy.
    QString TakeLoadedText();

private:
    QString Loaded;
    bool Loading = false;
};
