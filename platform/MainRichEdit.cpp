#include "platform/MainRichEdit.h"

#include <QScrollBar>
#include <QTextDocument>
#include <utility>

TMainRichEdit::TMainRichEdit(QWidget* parent) : QPlainTextEdit(parent)
{
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    connect(document(), &QTextDocument::contentsChange, this, [this] {
        if (!Loading)
            Loaded = QString();
    });
}

void TMainRichEdit::LoadText(const QString& text)
{
    // The document's own setPlainText() gives the same text, blocks and formats as the view's,
    // without the view's second pass that sets the insertion format on the whole text.
    if (text.isEmpty()) {
        // Emptying goes the view's way, which tells of the change once whatever the text was.
        setPlainText(text);
        return;
    }
    Loading = true;
    Loaded = text;
    document()->setPlainText(text);
    Loading = false;
    document()->setModified(false);
    moveCursor(QTextCursor::Start);
    // Moving the cursor only makes its line visible: in a view folded to a few pixels that can
    // leave a wrapped first paragraph scrolled part way, and opening the view later shows that.
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
}

QString TMainRichEdit::TakeLoadedText()
{
    return std::exchange(Loaded, QString());
}
