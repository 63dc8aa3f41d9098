#pragma once

#include <QPlainTextEdit>

// The text view: plain text, word wrap at the widget's width, and a change signal.
class TMainRichEdit : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit TMainRichEdit(QWidget* parent = nullptr);
};
