#include "reader/DisplayLineModel.h"
#include "reader/TextEditing.h"

#include <QHash>
#include <QTest>

// Cursor moves, edits and their history over a real line model, at widths that wrap.
class TestTextEditing : public QObject
{
    Q_OBJECT

private slots:
    void edits_data();
    void edits();
    void moves_data();
    void moves();
    void typingIsUndoneAsOneStep();
    void savePointSurvivesUndo();
    void undoRestoresTheSelection();
};

namespace {

// Latin 10 px, the rest 20 px: at 100 px a line holds ten Latin letters or five kanji.
class TFixedAdvances : public TAdvanceSource
{
public:
    qreal Advance(char32_t c) const override { return c < 0x2E80 ? 10 : 20; }
};

class TModelText : public TEditedText
{
public:
    explicit TModelText(const QString& text)
    {
        Model.SetWidth(100);
        Model.SetText(text);
    }
    const TDisplayLineModel& Lines() const override { return Model; }
    void ReplaceParagraphs(int first, int removed, const QStringList& paragraphs) override
    {
        Model.ParagraphsChanged(first, removed, paragraphs);
    }

    TFixedAdvances Advances;
    TDisplayLineModel Model{Advances};
};

TTextPos At(int paragraph, int offset)
{
    return {paragraph, offset};
}

} // namespace

Q_DECLARE_METATYPE(TTextPos)

void TestTextEditing::edits_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<TTextPos>("anchor");
    QTest::addColumn<TTextPos>("cursor");
    QTest::addColumn<QString>("edit"); // "back", "delete" or the text inserted
    QTest::addColumn<QString>("result");
    QTest::addColumn<TTextPos>("after");
    QTest::newRow("typed inside") << "abc" << At(0, 1) << At(0, 1) << "XY"
                                  << "aXYbc" << At(0, 3);
    QTest::newRow("every line end becomes a paragraph end")
        << "ab" << At(0, 1) << At(0, 1) << "1\r\n2\r3\u20294\n5"
        << "a1\n2\n3\n4\n5b" << At(4, 1);
    QTest::newRow("selection over paragraphs replaced")
        << "ab\ncd\nef" << At(2, 1) << At(0, 1) << "Z"
        << "aZf" << At(0, 2);
    QTest::newRow("backspace joins paragraphs") << "ab\ncd" << At(1, 0) << At(1, 0) << "back"
                                                << "abcd" << At(0, 2);
    QTest::newRow("delete joins paragraphs") << "ab\ncd" << At(0, 2) << At(0, 2) << "delete"
                                             << "abcd" << At(0, 2);
    QTest::newRow("backspace takes a surrogate pair whole")
        << "a\U0001F600" << At(0, 3) << At(0, 3) << "back"
        << "a" << At(0, 1);
    QTest::newRow("backspace takes the mark typed last alone")
        << "ke\u0301" << At(0, 3) << At(0, 3) << "back"
        << "ke" << At(0, 2);
    QTest::newRow("delete takes a cluster whole") << "e\u0301x" << At(0, 0) << At(0, 0) << "delete"
                                                  << "x" << At(0, 0);
    QTest::newRow("backspace at the start changes nothing")
        << "ab" << At(0, 0) << At(0, 0) << "back"
        << "ab" << At(0, 0);
    QTest::newRow("delete at the end changes nothing")
        << "ab\ncd" << At(1, 2) << At(1, 2) << "delete"
        << "ab\ncd" << At(1, 2);
    QTest::newRow("backspace across a wrapped line's start")
        << "あいうえおかき" << At(0, 5) << At(0, 5) << "back"
        << "あいうえかき" << At(0, 4);
}

void TestTextEditing::edits()
{
    QFETCH(QString, text);
    QFETCH(TTextPos, anchor);
    QFETCH(TTextPos, cursor);
    QFETCH(QString, edit);
    TModelText model(text);
    TTextEditing editing(model);
    editing.MoveTo(anchor, false);
    editing.MoveTo(cursor, true);
    if (edit == u"back")
        editing.DeleteBackward();
    else if (edit == u"delete")
        editing.DeleteForward();
    else
        editing.Insert(edit);
    QTEST(editing.PlainText(), "result");
    QTEST(editing.Position(), "after");
    QVERIFY(!editing.HasSelection());
    QCOMPARE(editing.Modified(), editing.PlainText() != text);
    // The lines follow the edit as a fresh layout of the result would have them.
    TModelText fresh(editing.PlainText());
    QCOMPARE(model.Model.count(), fresh.Model.count());
    for (int i = 0; i < fresh.Model.count(); ++i)
        QCOMPARE(model.Model.line(i), fresh.Model.line(i));
    editing.Undo();
    QCOMPARE(editing.PlainText(), text);
    QVERIFY(!editing.Modified());
}

void TestTextEditing::moves_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<TTextPos>("from");
    QTest::addColumn<QString>("move");
    QTest::addColumn<TTextPos>("to");
    QTest::addColumn<int>("line"); // the display line the cursor shows on
    QTest::newRow("right over a surrogate pair")
        << "a\U0001F600b" << At(0, 1) << "right" << At(0, 3) << 0;
    QTest::newRow("right over a cluster") << "e\u0301x" << At(0, 0) << "right" << At(0, 2) << 0;
    QTest::newRow("right past a paragraph end") << "ab\ncd" << At(0, 2) << "right" << At(1, 0) << 1;
    QTest::newRow("left past a paragraph start") << "ab\ncd" << At(1, 0) << "left" << At(0, 2) << 0;
    QTest::newRow("left from a wrapped line's start")
        << "abcdefghijklmno" << At(0, 10) << "left" << At(0, 9) << 0;
    QTest::newRow("end keeps to the wrapped line")
        << "abcdefghijklmno" << At(0, 3) << "end" << At(0, 10) << 0;
    QTest::newRow("end of a paragraph's last line")
        << "abcdefghijklmno" << At(0, 12) << "end" << At(0, 15) << 1;
    QTest::newRow("home of a wrapped line")
        << "abcdefghijklmno" << At(0, 12) << "home" << At(0, 10) << 1;
    QTest::newRow("next word") << "hello world foo" << At(0, 1) << "word" << At(0, 6) << 1;
    QTest::newRow("previous word") << "hello world foo" << At(0, 8) << "back word" << At(0, 6) << 1;
    QTest::newRow("previous word from after blanks")
        << "hello world foo" << At(0, 6) << "back word" << At(0, 0) << 0;
    QTest::newRow("end of text") << "ab\ncd\nef" << At(0, 1) << "finish" << At(2, 2) << 2;
}

void TestTextEditing::moves()
{
    QFETCH(QString, text);
    QFETCH(TTextPos, from);
    QFETCH(QString, move);
    TModelText model(text);
    TTextEditing e(model);
    e.MoveTo(from, false);
    static const QHash<QString, TTextKey::TWhat> keys = {
        {"right", TTextKey::NextChar}, {"left", TTextKey::PrevChar},
        {"end", TTextKey::LineEnd},    {"home", TTextKey::LineStart},
        {"word", TTextKey::NextWord},  {"back word", TTextKey::PrevWord},
        {"finish", TTextKey::TextEnd}};
    QVERIFY(e.MoveBy({keys.value(move), false}));
    QTEST(e.Position(), "to");
    QTEST(e.CursorLine(), "line");
}

void TestTextEditing::typingIsUndoneAsOneStep()
{
    TModelText model(QStringLiteral("x"));
    TTextEditing e(model);
    for (const char* typed : {"a", "b", "c"})
        e.Insert(QString::fromLatin1(typed), TTextEditing::TMerge::Typing);
    e.Insert(QStringLiteral("\n"));
    e.Insert(QStringLiteral("d"), TTextEditing::TMerge::Typing);
    QCOMPARE(e.PlainText(), QStringLiteral("abc\nd"
                                           "x"));
    e.Undo();
    e.Undo();
    QCOMPARE(e.PlainText(), QStringLiteral("abcx"));
    e.Undo();
    QCOMPARE(e.PlainText(), QStringLiteral("x"));
    QVERIFY(!e.CanUndo());
    e.Redo();
    QCOMPARE(e.PlainText(), QStringLiteral("abcx"));
    QCOMPARE(e.Position(), At(0, 3));
}

void TestTextEditing::savePointSurvivesUndo()
{
    TModelText model(QString{});
    TTextEditing e(model);
    e.Insert(QStringLiteral("a"), TTextEditing::TMerge::Typing);
    e.SetModified(false); // saved
    e.Insert(QStringLiteral("b"), TTextEditing::TMerge::Typing);
    QVERIFY(e.Modified());
    e.Undo();
    QCOMPARE(e.PlainText(), QStringLiteral("a"));
    QVERIFY2(!e.Modified(), "typing after a save is a step of its own");
    e.Undo();
    QVERIFY(e.Modified());
    e.Redo();
    QVERIFY(!e.Modified());
    // A new edit after undoing past the save: the saved text is out of reach.
    e.Undo();
    e.Insert(QStringLiteral("c"));
    e.Undo();
    QCOMPARE(e.PlainText(), QString());
    QVERIFY(e.Modified());
}

void TestTextEditing::undoRestoresTheSelection()
{
    TModelText model(QStringLiteral("ab\ncd"));
    TTextEditing e(model);
    e.MoveTo(At(0, 1), false);
    e.MoveTo(At(1, 1), true);
    QCOMPARE(e.SelectedText(), QStringLiteral("b\nc"));
    e.Insert(QStringLiteral("X"));
    QCOMPARE(e.PlainText(), QStringLiteral("aXd"));
    e.Undo();
    QCOMPARE(e.PlainText(), QStringLiteral("ab\ncd"));
    QCOMPARE(e.SelectedText(), QStringLiteral("b\nc"));
    QCOMPARE(e.Position(), At(1, 1));
}

QTEST_APPLESS_MAIN(TestTextEditing)
#include "tst_textediting.moc"
