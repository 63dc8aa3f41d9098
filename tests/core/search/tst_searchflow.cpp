#include "search/SearchFlow.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/SearchDialogs.h"

#include <QTest>

using namespace SearchDialogs;

namespace {

// The window as the search flow sees it; Calls logs what it was told, in order.
class TFakeWindow final : public TSearchPort
{
public:
    TLineListSource Source{QStringList{}};
    QStringList Contents{"old= 1"};
    QString WindowCaption = QStringLiteral("  1 / 3");
    QString ButtonCaption = QStringLiteral("再検索(R)");
    bool ButtonVisible = false;
    int Chosen = -1;
    int Updates = 0;
    QStringList Calls;
    std::function<void(int)> OnEvents;
    int EventTurns = 0;

    const TLineSource& Lines() const override { return Source; }
    void BeginContentsUpdate() override
    {
        ++Updates;
        Calls << "begin";
    }
    void EndContentsUpdate() override
    {
        --Updates;
        Calls << "end";
    }
    void ClearContents() override
    {
        Contents.clear();
        Calls << "clear";
    }
    void AddContentsEntry(const QString& entry) override { Contents << entry; }
    int ContentsCount() const override { return int(Contents.size()); }
    int ContentsCurrentRow() const override { return Chosen; }
    QString ContentsEntry(int row) const override { return Contents.at(row); }
    void SetContentsHint(const QString& hint) override { Calls << "hint " + hint; }
    QStringList ContentsEntries() override { return Contents; }
    void SetContentsEntries(const QStringList& entries) override { Contents = entries; }
    void ShowContentsLineForward(bool checked) override
    {
        Calls << QStringLiteral("check %1").arg(checked);
    }
    void ShowLine(int line) override { Calls << QStringLiteral("line %1").arg(line); }
    QString Caption() const override { return WindowCaption; }
    void SetCaption(const QString& caption) override
    {
        WindowCaption = caption;
        Calls << "caption " + caption;
    }
    bool ResearchButtonVisible() const override { return ButtonVisible; }
    void SetResearchButtonVisible(bool visible) override
    {
        ButtonVisible = visible;
        Calls << (visible ? "show" : "hide");
    }
    void SetResearchCaption(const QString& caption) override
    {
        ButtonCaption = caption;
        Calls << "button " + caption;
    }
    bool ProcessEvents() override
    {
        if (OnEvents)
            OnEvents(EventTurns);
        ++EventTurns;
        return true;
    }
    // The hooks below log only when a test asks for them, so the sequences above stay as they are.
    bool Hooks = false;
    int LinesStamp = 0;
    int MarkedStamp = 0;
    QStringList Messages;
    int MessageBox(const QString& text, const QString& caption, int flags) override
    {
        if (!Hooks)
            return TSearchPort::MessageBox(text, caption, flags);
        Messages << caption + u'|' + text;
        return 1;
    }
    void MarkLines() override { MarkedStamp = LinesStamp; }
    bool LinesChanged() const override { return LinesStamp != MarkedStamp; }
    void LinesRenumbered() override
    {
        if (Hooks)
            Calls << "renumbered";
    }
    void CloseWindow() override
    {
        if (Hooks)
            Calls << "close";
    }
};

const QString NoText = QStringLiteral("message|  確認|テキストがありません。");

const QStringList Text{"第1章 序(1)", "　本文", "(2) 結論", "３　補遺", "Debian"};

} // namespace

class TestSearchFlow : public QObject
{
    Q_OBJECT

private slots:
    void contentsList_data();
    void contentsList();
    void width_data();
    void width();
    void runSearch_data();
    void runSearch();
    void portSequence();
    void cancelDuringSearch();
    void refusedWhileRunning();
    void researchExecute_data();
    void researchExecute();
    void longInput();
    void portHooks_data();
    void portHooks();
};

void TestSearchFlow::width_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("width");
    QTest::newRow("zero") << "0" << 0;
    QTest::newRow("leading blank") << " 12" << 12;
    QTest::newRow("negative") << "-3" << -3;
    QTest::newRow("letters") << "abc" << int(INT_MIN);
    QTest::newRow("too large") << "99999999999" << int(INT_MIN);
    QTest::newRow("empty") << "" << int(INT_MIN);
    QTest::newRow("trailing blank") << "4 " << int(INT_MIN);
}

void TestSearchFlow::width()
{
    QFETCH(QString, text);
    QFETCH(int, width);
    QCOMPARE(ParseSearchWidth(text).value_or(INT_MIN), width);
}

void TestSearchFlow::runSearch_data()
{
    QTest::addColumn<int>("action");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("storedText");
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QStringList>("log");
    QTest::addColumn<QStringList>("contents");
    QTest::addColumn<int>("searchType");
    QTest::addColumn<QString>("storedAfter");
    QTest::addColumn<int>("searchLength");
    QTest::addColumn<bool>("searchOption");
    const int lineString = int(TSearchAction::FindLineString);
    const int paragraph = int(TSearchAction::FindParagraph);
    const int contents = int(TSearchAction::FindContents);
    const int simple = int(TSearchAction::FindSimpleContents);
    const QStringList old{"old= 1"};

    QTest::newRow("line string found") << lineString << Text << "" << QStringList{"in:debian"}
                                       << QStringList{LineStringBox + "|", found(1)}
                                       << QStringList{"Debian= 5"} << 0 << "debian" << 5 << true;
    QTest::newRow("line string, cancel keeps the stored text")
        << lineString << Text << "本文" << QStringList{"cancel"}
        << QStringList{LineStringBox + "|本文", found(1)} << QStringList{"本文= 2"} << 0 << "本文"
        << 5 << true;
    QTest::newRow("line string, cleared box ends silently")
        << lineString << Text << "本文" << QStringList{"in:"}
        << QStringList{LineStringBox + "|本文"} << old << 0 << "本文" << 5 << true;
    QTest::newRow("line string, nothing found") << lineString << Text << "" << QStringList{"in:zzz"}
                                                << QStringList{LineStringBox + "|", NothingFound}
                                                << QStringList{} << 0 << "zzz" << 5 << true;
    QTest::newRow("contents, brackets")
        << contents << Text << "()" << QStringList{"in:()", "in:0", "no"}
        << QStringList{ContentsBox + "|()", WidthBox, IndentQuestion, found(2)}
        << QStringList{"第1章 序(1)= 1", "(2) 結論= 3"} << 2 << "()" << 0 << false;
    QTest::newRow("contents, cancel in the first box runs with the stored markers")
        << contents << Text << "第章" << QStringList{"cancel", "cancel", "no"}
        << QStringList{ContentsBox + "|第章", WidthBox, IndentQuestion, found(1)}
        << QStringList{"第1章 序(1)= 1"} << 2 << "第章" << 0 << false;
    QTest::newRow("contents, width abc ends silently and keeps the markers")
        << contents << Text << "()" << QStringList{"in:第章", "in:abc"}
        << QStringList{ContentsBox + "|()", WidthBox} << old << 2 << "第章" << 5 << true;
    QTest::newRow("contents, width too large ends silently")
        << contents << Text << "()" << QStringList{"in:()", "in:99999999999"}
        << QStringList{ContentsBox + "|()", WidthBox} << old << 2 << "()" << 5 << true;
    QTest::newRow("contents, cleared width box ends silently")
        << contents << Text << "()" << QStringList{"in:()", "in:"}
        << QStringList{ContentsBox + "|()", WidthBox} << old << 2 << "()" << 5 << true;
    QTest::newRow("contents, negative width stored and finds nothing")
        << contents << Text << "()" << QStringList{"in:()", "in:-3", "no"}
        << QStringList{ContentsBox + "|()", WidthBox, IndentQuestion, NothingFound} << QStringList{}
        << 2 << "()" << -3 << false;
    QTest::newRow("simple contents, indented lines, width 4")
        << simple << Text << "１２３４５６７８９０" << QStringList{"in:３本", "in:4", "yes"}
        << QStringList{SimpleBox + "|１２３４５６７８９０", WidthBox, IndentQuestion, found(1)}
        << QStringList{"本文= 2"} << 3 << "３本" << 4 << true;
    QTest::newRow("simple contents, any line")
        << simple << Text << "１２３４５６７８９０" << QStringList{"cancel", "in:0", "no"}
        << QStringList{SimpleBox + "|１２３４５６７８９０", WidthBox, IndentQuestion, found(1)}
        << QStringList{"３　補遺= 4"} << 3 << "１２３４５６７８９０" << 0 << false;
    QTest::newRow("paragraph asks nothing")
        << paragraph << Text << "" << QStringList{} << QStringList{found(1)}
        << QStringList{"本文= 2"} << 1 << "" << 5 << true;
    QTest::newRow("paragraph on an empty text view")
        << paragraph << QStringList{} << "" << QStringList{} << QStringList{NoText, NothingFound}
        << QStringList{} << 1 << "" << 5 << true;
    QTest::newRow("contents on an empty text view")
        << contents << QStringList{} << "()" << QStringList{} << QStringList{NoText} << old << 2
        << "()" << 5 << true;
    QTest::newRow("line string on an empty text view")
        << lineString << QStringList{} << "" << QStringList{} << QStringList{NoText} << old << 0
        << "" << 5 << true;
    QTest::newRow("unknown action")
        << int(TSearchAction::Unknown) << Text << "" << QStringList{}
        << QStringList{"message| Error|予定外の呼び出しです。"} << old << 9 << "" << 5 << true;
}

void TestSearchFlow::runSearch()
{
    QFETCH(int, action);
    QFETCH(QStringList, lines);
    QFETCH(QString, storedText);
    QFETCH(QStringList, answers);
    QFETCH(QStringList, log);
    QFETCH(QStringList, contents);
    QFETCH(int, searchType);
    QFETCH(QString, storedAfter);
    QFETCH(int, searchLength);
    QFETCH(bool, searchOption);
    TScopedDialogs dialogs;
    script(*dialogs, answers);
    TSearchState state;
    state.SearchType = 9;
    state.SearchLength = 5;
    state.SearchOption = true;
    QString* stored = action == 0   ? &state.SearchLineString
                      : action == 2 ? &state.SearchContents
                      : action == 3 ? &state.SearchSimplleContents
                                    : nullptr;
    if (stored)
        *stored = storedText;
    TFakeWindow window;
    window.Source.Lines = lines;
    TSearchFlow flow(state, window);
    flow.FindLineStringExecute(TSearchAction(action));

    QCOMPARE(dialogs->LogLines(), log);
    QCOMPARE(dialogs->PendingAnswers(), 0);
    QCOMPARE(window.Contents, contents);
    QCOMPARE(state.SearchType, searchType);
    if (stored)
        QCOMPARE(*stored, storedAfter);
    QCOMPARE(state.SearchLength, searchLength);
    QCOMPARE(state.SearchOption, searchOption);
    // Every way out leaves the same state behind.
    QVERIFY(!state.Searching);
    QVERIFY(!window.ButtonVisible);
    QCOMPARE(window.ButtonCaption, QStringLiteral("再検索(R)"));
    QCOMPARE(window.WindowCaption, QStringLiteral("  1 / 3"));
    QCOMPARE(window.Updates, 0);
}

void TestSearchFlow::portSequence()
{
    TScopedDialogs dialogs;
    dialogs->AnswerInput(QStringLiteral("x"));
    TSearchState state;
    TFakeWindow window;
    window.Source.Lines = QStringList(250, QStringLiteral("x"));
    TSearchFlow flow(state, window);
    flow.FindLineStringExecute(TSearchAction::FindLineString);
    QCOMPARE(window.Calls, (QStringList{"show", "begin", "clear", "caption 文字列検索中",
                                        "button 残り= 3", "button 残り= 2", "button 残り= 1",
                                        "button 再検索(R)", "hide", "end", "caption   1 / 3"}));
    QCOMPARE(window.EventTurns, 3);
    QCOMPARE(dialogs->LogLines(), (QStringList{LineStringBox + "|", found(250)}));
}

void TestSearchFlow::cancelDuringSearch()
{
    for (const bool research : {false, true}) {
        TScopedDialogs dialogs;
        TSearchState state;
        state.SearchType = 0;
        state.SearchLineString = QStringLiteral("x");
        TFakeWindow window;
        window.Source.Lines = QStringList(250, QStringLiteral("x"));
        TSearchFlow flow(state, window);
        // The re-search button is pressed while the second block waits its turn.
        window.OnEvents = [&](int turn) {
            if (turn == 1)
                flow.FindResearchExecute();
        };
        if (research) {
            flow.FindResearchExecute();
            QCOMPARE(dialogs->LogLines(), QStringList{Interrupted});
        } else {
            dialogs->AnswerInput(std::nullopt);
            flow.FindLineStringExecute(TSearchAction::FindLineString);
            QCOMPARE(dialogs->LogLines(),
                     (QStringList{LineStringBox + "|x", found(100), Interrupted}));
        }
        QCOMPARE(window.Contents.size(), 100);
        QCOMPARE(window.EventTurns, 2);
        QVERIFY(!state.Searching);
        QVERIFY(!window.ButtonVisible);
        QCOMPARE(window.ButtonCaption, QStringLiteral("再検索(R)"));
        QCOMPARE(window.WindowCaption, QStringLiteral("  1 / 3"));
    }
}

void TestSearchFlow::refusedWhileRunning()
{
    TScopedDialogs dialogs;
    TSearchState state;
    TFakeWindow window;
    window.Source.Lines = QStringList(250, QStringLiteral("x"));
    TSearchFlow flow(state, window);
    window.OnEvents = [&](int turn) {
        // A menu command while the search runs: nothing happens.
        if (turn == 0)
            flow.FindLineStringExecute(TSearchAction::FindContents);
        // A cancel and a new search in the same turn: the new one waits for the old to return.
        if (turn == 1) {
            flow.FindResearchExecute();
            flow.FindLineStringExecute(TSearchAction::FindContents);
            flow.FindResearchExecute();
        }
    };
    flow.FindLineStringExecute(TSearchAction::FindParagraph);
    QCOMPARE(dialogs->LogLines(), (QStringList{NothingFound, Interrupted}));
    QCOMPARE(state.SearchType, 1);
    QCOMPARE(window.EventTurns, 2);
    QVERIFY(!state.Searching);
}

void TestSearchFlow::researchExecute_data()
{
    QTest::addColumn<int>("searchType");
    QTest::addColumn<QString>("storedText");
    QTest::addColumn<int>("searchLength");
    QTest::addColumn<bool>("searchOption");
    QTest::addColumn<QStringList>("contents");
    QTest::addColumn<int>("searchLengthAfter");
    QTest::addColumn<QStringList>("calls");
    const QStringList old{"old= 1"};
    QTest::newRow("contents, negative width becomes 0")
        << 2 << "()" << -3 << false << QStringList{"第1章 序(1)= 1", "(2) 結論= 3"} << 0
        << QStringList{};
    QTest::newRow("contents, stored width and indented flag")
        << 2 << "本" << 4 << true << QStringList{"本文= 2"} << 4 << QStringList{};
    QTest::newRow("simple contents")
        << 3 << "結" << 0 << false << QStringList{"(2) 結論= 3"} << 0 << QStringList{};
    QTest::newRow("line string, nothing found, no message")
        << 0 << "zzz" << 0 << false << QStringList{} << 0 << QStringList{};
    QTest::newRow("paragraph") << 1 << "" << 0 << false << QStringList{"本文= 2"} << 0
                               << QStringList{};
    QTest::newRow("empty stored text ends silently")
        << 0 << "" << 0 << false << old << 0 << QStringList{"show", "button 再検索(R)", "hide"};
    QTest::newRow("unknown kind does nothing")
        << 7 << "x" << 0 << false << old << 0 << QStringList{};
}

void TestSearchFlow::researchExecute()
{
    QFETCH(int, searchType);
    QFETCH(QString, storedText);
    QFETCH(int, searchLength);
    QFETCH(bool, searchOption);
    QFETCH(QStringList, contents);
    QFETCH(int, searchLengthAfter);
    QFETCH(QStringList, calls);
    TScopedDialogs dialogs;
    TSearchState state;
    state.SearchType = searchType;
    state.SearchLineString = state.SearchContents = state.SearchSimplleContents = storedText;
    state.SearchLength = searchLength;
    state.SearchOption = searchOption;
    TFakeWindow window;
    window.Source.Lines = Text;
    TSearchFlow flow(state, window);
    flow.FindResearchExecute();
    // A re-search asks nothing and reports no result.
    QVERIFY(dialogs->Log().isEmpty());
    QCOMPARE(window.Contents, contents);
    QCOMPARE(state.SearchLength, searchLengthAfter);
    QCOMPARE(state.SearchType, searchType);
    QVERIFY(!state.Searching);
    QVERIFY(!window.ButtonVisible);
    // The rows that search leave the calls to portSequence; the others name every call.
    if (!calls.isEmpty() || contents == QStringList{"old= 1"})
        QCOMPARE(window.Calls, calls);
}

void TestSearchFlow::longInput()
{
    TScopedDialogs dialogs;
    QString markers;
    for (int i = 0; i < 10000; ++i)
        markers += QChar(0x4E00 + i % 20000);
    dialogs->AnswerInput(markers).AnswerInput(QStringLiteral("0")).AnswerButton(7);
    dialogs->AnswerInput(QString(10000, u'x'));
    TSearchState state;
    TFakeWindow window;
    window.Source.Lines = {QString(1 << 20, u'x'), QString(3000, u' '), QStringLiteral("一")};
    TSearchFlow flow(state, window);
    flow.FindLineStringExecute(TSearchAction::FindContents);
    QCOMPARE(state.SearchContents, markers);
    flow.FindLineStringExecute(TSearchAction::FindLineString);
    QCOMPARE(window.Contents.size(), 1);
    QCOMPARE(dialogs->LogLines().mid(3),
             (QStringList{NothingFound, LineStringBox + "|", found(1)}));
}

void TestSearchFlow::portHooks_data()
{
    QTest::addColumn<QString>("inTurn");
    QTest::addColumn<int>("entries");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QStringList>("lastCalls");
    const QString result = QStringLiteral("  確認|該当する行が､100行見つかりました。");
    const QString interrupted = QStringLiteral("  確認|検索は中断されました。");
    QTest::newRow("lines renumbered")
        << "renumber" << 100 << QStringList{result, interrupted}
        << QStringList{"hide", "end", "caption   1 / 3", "renumbered"};
    QTest::newRow("window closing") << "close" << 100 << QStringList{}
                                    << QStringList{"hide", "end", "caption   1 / 3", "close"};
    QTest::newRow("form switched")
        << "switch" << 250 << QStringList{"  確認|該当する行が､250行見つかりました。"}
        << QStringList{"hide", "end", "caption   1 / 3"};
}

void TestSearchFlow::portHooks()
{
    QFETCH(QString, inTurn);
    QFETCH(int, entries);
    QFETCH(QStringList, messages);
    QFETCH(QStringList, lastCalls);
    TScopedDialogs dialogs;
    TSearchState state;
    state.SearchType = 0;
    state.SearchLineString = QStringLiteral("x");
    TFakeWindow window;
    window.Hooks = true;
    window.Source.Lines = QStringList(250, QStringLiteral("x"));
    TSearchFlow flow(state, window);
    bool closing = false;
    window.OnEvents = [&](int turn) {
        if (turn != 1)
            return;
        if (inTurn == u"renumber")
            ++window.LinesStamp;
        else if (inTurn == u"close")
            closing = flow.CancelForClose();
        else
            state.ContentsLineForward = true;
    };
    QVERIFY(!flow.CancelForClose()); // nothing runs yet
    dialogs->AnswerInput(std::nullopt);
    flow.FindLineStringExecute(TSearchAction::FindLineString);
    QCOMPARE(closing, inTurn == u"close");
    QCOMPARE(window.Contents.size(), entries);
    // The messages go to the window's message box, none to the dialog service directly.
    QCOMPARE(window.Messages, messages);
    QCOMPARE(dialogs->LogLines(), QStringList{LineStringBox + "|x"});
    QCOMPARE(window.Calls.mid(window.Calls.size() - lastCalls.size()), lastCalls);
    if (inTurn == u"switch") {
        QCOMPARE(window.Contents.at(99), QStringLiteral("x= 100"));
        QCOMPARE(window.Contents.at(100), QStringLiteral("101= x"));
    }
    QVERIFY(!state.Searching);
}

void TestSearchFlow::contentsList_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<bool>("lineForward");
    QTest::addColumn<int>("chosen"); // -2: switch the form instead of choosing
    QTest::addColumn<QStringList>("calls");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<bool>("forwardAfter");
    const QStringList named{"第一章= 02", "第二章= 04"};
    const QStringList forward{"02= 第一章", "04= 第二章"};
    QTest::newRow("an entry moves the reader")
        << named << false << 1 << QStringList{"hint 第二章= 04", "line 3"} << named << false;
    QTest::newRow("line first") << forward << true << 0 << QStringList{"hint 02= 第一章", "line 1"}
                                << forward << true;
    QTest::newRow("no entry chosen") << named << false << -1 << QStringList{} << named << false;
    QTest::newRow("switch to line first")
        << named << true << -2 << QStringList{} << forward << true;
    QTest::newRow("switch back") << forward << false << -2 << QStringList{} << named << false;
    QTest::newRow("an entry without = cannot switch")
        << QStringList{"x"} << true << -2 << QStringList{"check 0"} << QStringList{"x"} << false;
}

void TestSearchFlow::contentsList()
{
    QFETCH(QStringList, entries);
    QFETCH(bool, lineForward);
    QFETCH(int, chosen);
    QFETCH(QStringList, calls);
    QFETCH(QStringList, after);
    QFETCH(bool, forwardAfter);
    TSearchState state;
    state.ContentsLineForward = lineForward; // as the check mark has just set it
    TFakeWindow window;
    window.Hooks = true;
    window.Source.Lines = QStringList(9, QStringLiteral("x"));
    window.Contents = entries;
    window.Chosen = chosen;
    TSearchFlow flow(state, window);
    if (chosen == -2)
        flow.SetContentsLineForwardExecute();
    else
        flow.ContentsListBoxClick();
    QCOMPARE(window.Calls, calls);
    QCOMPARE(window.Contents, after);
    QCOMPARE(state.ContentsLineForward, forwardAfter);
    QCOMPARE(window.Messages, entries == QStringList{"x"}
                                  ? QStringList{" Error|リスト変更に失敗しました。"}
                                  : QStringList{});
}

QTEST_GUILESS_MAIN(TestSearchFlow)
#include "tst_searchflow.moc"
