#include "tests/support/WindowHarness.h"

#include <QClipboard>
#include <QInputMethodEvent>
#include <QScrollBar>

// The text view through the real window: keys, mouse, input methods and the reader following.
class TestTextView : public QObject
{
    Q_OBJECT

private slots:
    void keysEditAndUndo();
    void mousePlacesAndSelects();
    void inputMethodComposes();
    void keysLeftToTheWindow_data();
    void keysLeftToTheWindow();
    void readOnlyTakesNoEdits();
    void newWidthKeepsTheTopLine();
};

namespace {

const QByteArray Prose = "\x93\xfa\x96\x7b\x8c\xea\x82\xcc\x95\xb6\x8f\xcd\x82\xc5\x82\xb7\x81"
                         "\x42\r\nabc def\r\n"; // 日本語の文章です。 / abc def

// The window with the text view opened to a few hundred pixels, as the user drags it open.
TQuorvelaneForm& Opened(TWindowHarness& h, const QByteArray& text)
{
    h.Write(QStringLiteral("a.txt"), text);
    TQuorvelaneForm& form = h.Start();
    const QList<int> sizes = form.CenterSplitter->sizes();
    form.CenterSplitter->setSizes({300, sizes.value(0) + sizes.value(1) - 300});
    h.Settle();
    return form;
}

void Key(TWindowHarness& h, TMainRichEdit* edit, const char* keys)
{
    QVERIFY(h.PressKeys(edit, QKeySequence(QString::fromLatin1(keys))));
}

// Typed as a keyboard gives text that has no key of its own.
void Type(TMainRichEdit* edit, const QString& text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(edit, &press);
    }
}

QPoint PointOf(const TMainRichEdit& edit, int row, int x)
{
    return {TMainRichEdit::Margin + x, TMainRichEdit::Margin + row * edit.LineHeight() + 2};
}

} // namespace

void TestTextView::keysEditAndUndo()
{
    TWindowHarness h;
    TQuorvelaneForm& form = Opened(h, Prose);
    TMainRichEdit* edit = form.MainRichEdit;
    Key(h, edit, "Ctrl+End");
    QCOMPARE(edit->Cursor().Position(), (TTextPos{1, 7}));
    Type(edit, QStringLiteral("かな"));
    QTest::keyClick(edit, Qt::Key_Return);
    QTest::keyClicks(edit, QStringLiteral("x"));
    QCOMPARE(edit->toPlainText(), QStringLiteral("日本語の文章です。\nabc defかな\nx"));
    QCOMPARE(form.LineCount(), 3);
    QCOMPARE(form.Line(2), QStringLiteral("x"));
    QVERIFY(edit->IsModified());
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClick(edit, Qt::Key_Backspace);
    QCOMPARE(form.LineCount(), 2);

    // The selection from the line's start, cut and pasted back twice.
    Key(h, edit, "Shift+Home");
    QCOMPARE(edit->Cursor().SelectedText(), QStringLiteral("abc defかな"));
    Key(h, edit, "Ctrl+X");
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("abc defかな"));
    QCOMPARE(form.Line(1), QString());
    Key(h, edit, "Ctrl+V");
    Key(h, edit, "Ctrl+V");
    QCOMPARE(form.Line(1), QStringLiteral("abc defかなabc defかな"));

    // Undo takes the steps back one by one, to the text as loaded, which is unmodified again.
    for (int i = 0; i < 8; ++i)
        Key(h, edit, "Ctrl+Z");
    QCOMPARE(edit->toPlainText(), QStringLiteral("日本語の文章です。\nabc def"));
    QVERIFY(!edit->IsModified());
    QCOMPARE(h.LabelTexts().mid(0, 2), (QStringList{"日本語の文章です。", "abc def"}));
    Key(h, edit, "Ctrl+Shift+Z");
    // Up and down keep to the column the cursor came from.
    edit->SetCursor({1, 3}, {1, 3});
    Key(h, edit, "Up");
    QCOMPARE(edit->Cursor().Position().Paragraph, 0);
    Key(h, edit, "Down");
    QCOMPARE(edit->Cursor().Position(), (TTextPos{1, 3}));
    QCOMPARE(edit->toPlainText(), QStringLiteral("日本語の文章です。\nabc defかな"));
    QVERIFY(edit->IsModified());
}

void TestTextView::mousePlacesAndSelects()
{
    TWindowHarness h;
    TQuorvelaneForm& form = Opened(h, Prose);
    TMainRichEdit* edit = form.MainRichEdit;
    QWidget* viewport = edit->viewport();
    QTest::mouseClick(viewport, Qt::LeftButton, {}, PointOf(*edit, 1, 0));
    QCOMPARE(edit->Cursor().Position(), (TTextPos{1, 0}));
    // Far right of a line: its end.
    QTest::mouseClick(viewport, Qt::LeftButton, Qt::ShiftModifier,
                      PointOf(*edit, 1, viewport->width() - 10));
    QCOMPARE(edit->Cursor().SelectedText(), QStringLiteral("abc def"));
    // Below the text: the end of the last line.
    QTest::mouseClick(viewport, Qt::LeftButton, {}, PointOf(*edit, 8, 0));
    QCOMPARE(edit->Cursor().Position(), (TTextPos{1, 0}));
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, PointOf(*edit, 1, 5));
    QCOMPARE(edit->Cursor().SelectedText(), QStringLiteral("abc"));
}

void TestTextView::inputMethodComposes()
{
    TWindowHarness h;
    TQuorvelaneForm& form = Opened(h, Prose);
    TMainRichEdit* edit = form.MainRichEdit;
    edit->SetCursor({1, 3}, {1, 3});
    QInputMethodEvent compose(QStringLiteral("にほん"), {});
    QCoreApplication::sendEvent(edit, &compose);
    // Composing changes nothing of the text until the input method commits.
    QCOMPARE(form.Line(1), QStringLiteral("abc def"));
    QVERIFY(!edit->IsModified());
    QCOMPARE(static_cast<QWidget*>(edit)->inputMethodQuery(Qt::ImSurroundingText).toString(),
             QStringLiteral("abc def"));
    QCOMPARE(static_cast<QWidget*>(edit)->inputMethodQuery(Qt::ImCursorPosition).toInt(), 3);
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("日本"));
    QCoreApplication::sendEvent(edit, &commit);
    QCOMPARE(form.Line(1), QStringLiteral("abc日本 def"));
    QCOMPARE(edit->Cursor().Position(), (TTextPos{1, 5}));
    // A commit that replaces the characters before the cursor (a reconversion).
    QInputMethodEvent reconvert;
    reconvert.setCommitString(QStringLiteral("二本"), -2, 2);
    QCoreApplication::sendEvent(edit, &reconvert);
    QCOMPARE(form.Line(1), QStringLiteral("abc二本 def"));
}

void TestTextView::keysLeftToTheWindow_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<bool>("taken");
    QTest::newRow("letter") << "a" << true;
    QTest::newRow("shifted letter") << "Shift+A" << true;
    QTest::newRow("undo") << "Ctrl+Z" << true;
    QTest::newRow("word left") << "Ctrl+Left" << true;
    QTest::newRow("menu letter") << "Alt+F" << false;
    QTest::newRow("function key") << "F2" << false;
    QTest::newRow("save") << "Ctrl+S" << false;
}

// The window's shortcuts do not take the keys the view edits with, and get the rest.
void TestTextView::keysLeftToTheWindow()
{
    QFETCH(QString, keys);
    TWindowHarness h;
    TQuorvelaneForm& form = Opened(h, Prose);
    const QKeyCombination key = QKeySequence(keys)[0];
    // X11 gives the letter's text with Alt and Ctrl too.
    const QString text = key.key() < Qt::Key_Escape ? QString(QChar(key.key())) : QString();
    QKeyEvent event(QEvent::ShortcutOverride, key.key(), key.keyboardModifiers(), text);
    event.ignore();
    QCoreApplication::sendEvent(form.MainRichEdit, &event);
    QTEST(event.isAccepted(), "taken");
}

void TestTextView::readOnlyTakesNoEdits()
{
    TWindowHarness h;
    TQuorvelaneForm& form = Opened(h, Prose);
    TMainRichEdit* edit = form.MainRichEdit;
    edit->SetTextReadOnly(true);
    Key(h, edit, "Ctrl+A");
    QTest::keyClicks(edit, QStringLiteral("x"));
    Key(h, edit, "Ctrl+X");
    QCOMPARE(edit->toPlainText(), QStringLiteral("日本語の文章です。\nabc def"));
    QVERIFY(!edit->IsModified());
    Key(h, edit, "Ctrl+C");
    QCOMPARE(QGuiApplication::clipboard()->text(), edit->toPlainText());
}

// A narrower view lays the lines out anew; the line at the top still starts the passage there.
void TestTextView::newWidthKeepsTheTopLine()
{
    TWindowHarness h;
    QByteArray text;
    for (int i = 0; i < 3000; ++i)
        text += "word" + QByteArray::number(i) + " ";
    TQuorvelaneForm& form = Opened(h, text + "\r\n");
    TMainRichEdit* edit = form.MainRichEdit;
    edit->verticalScrollBar()->setValue(30);
    QCOMPARE(edit->FirstVisibleLine(), 30);
    const int offset = edit->Cursor().LineStart(30).Offset;
    form.resize(form.width() - 200, form.height());
    h.Settle();
    QVERIFY(form.LineCount() > 20);
    edit->viewport()->repaint();
    const TTextPos top = edit->Cursor().LineStart(edit->FirstVisibleLine());
    const TTextPos next = edit->Cursor().LineStart(edit->FirstVisibleLine() + 1);
    QVERIFY2(top.Offset <= offset && offset < next.Offset,
             qPrintable(QStringLiteral("%1 %2 %3").arg(top.Offset).arg(offset).arg(next.Offset)));
}

QTEST_MAIN(TestTextView)
#include "tst_textview.moc"
