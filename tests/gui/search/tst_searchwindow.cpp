#include "app/QuorvelaneMain.h"
#include "common/AppConstants.h"
#include "platform/AppUtils.h"
#include "platform/Cp932.h"
#include "reader/MainRichEdit.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/SearchDialogs.h"
#include "tests/support/WindowHarness.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

using namespace SearchDialogs;
#include <QTimer>

namespace {

// Seven short lines that fit the text view's width, CP932 with CR LF:
//   第1章 はじめに / 　本文です。 / 第2章 つづき / 　章の話は３つ。 /
//   Debian と debian と DEBIAN / ２　まとめ / 付録
const QByteArray Book = "\x91\xe6\x31\x8f\xcd\x20\x82\xcd\x82\xb6\x82\xdf\x82\xc9\r\n"
                        "\x81\x40\x96\x7b\x95\xb6\x82\xc5\x82\xb7\x81\x42\r\n"
                        "\x91\xe6\x32\x8f\xcd\x20\x82\xc2\x82\xc3\x82\xab\r\n"
                        "\x81\x40\x8f\xcd\x82\xcc\x98\x62\x82\xcd\x82\x52\x82\xc2\x81\x42\r\n"
                        "Debian \x82\xc6 debian \x82\xc6 DEBIAN\r\n"
                        "\x82\x51\x81\x40\x82\xdc\x82\xc6\x82\xdf\r\n"
                        "\x95\x74\x98\x5e\r\n";

// "   " / "　　" / "a b" / "　本文": lines of blanks only beside ordinary ones.
const QByteArray Blanks = "   \r\n\x81\x40\x81\x40\r\na b\r\n\x81\x40\x96\x7b\x95\xb6\r\n";

// x1 to x250: three blocks of 100 lines, so a search hands out three turns.
QByteArray manyLines()
{
    QByteArray bytes;
    for (int i = 1; i <= 250; ++i)
        bytes += "x" + QByteArray::number(i) + "\r\n";
    return bytes;
}

const QString DefaultDigits = QStringLiteral("１２３４５６７８９０");

QStringList entries(const TContentsListBox* list)
{
    return list->Entries();
}

// Runs Act once from inside a search's turn for pending events, in the first turn in which
// When holds. A zero-time timer looks in every turn; nothing else lets events through while
// a test runs a search, since the scripted dialogs answer at once.
class TInSearchTurn
{
public:
    TInSearchTurn(std::function<bool()> when, std::function<void()> act)
        : When(std::move(when)), Act(std::move(act))
    {
        Timer.setInterval(0);
        QObject::connect(&Timer, &QTimer::timeout, [this] {
            if (Done || !When())
                return;
            Done = true;
            Timer.stop();
            Act();
        });
        Timer.start();
    }
    bool Done = false;

private:
    std::function<bool()> When;
    std::function<void()> Act;
    QTimer Timer;
};

// The turn at line 100 of a 250-line text: the button still shows the count set at line 0.
std::function<bool()> secondTurn(TQuorvelaneForm* form)
{
    return [form] { return form->FindResearchButton->text() == QStringLiteral("残り= 3"); };
}

} // namespace

// The searches and the contents list through the real main window, started offscreen in a
// temporary folder whose first text file the start-up tick loads.
class TestSearchWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void searches_data();
    void searches();
    void paragraphsOfRealProse();
    void click_data();
    void click();
    void textChangedSinceSearch();
    void switchEntryForm();
    void researchButton();
    void cancelFromButton();
    void menuSearchRefusedWhileRunning();
    void storedFieldsSurviveRestart();
    void blankLines_data();
    void blankLines();
    void megabyteLine();
    void linesChangeDuringSearch_data();
    void linesChangeDuringSearch();
    void formSwitchedDuringSearch();
    void closeDuringSearch_data();
    void closeDuringSearch();
    void messagesFallBackToMessageWindow();

private:
    void writeFile(const QString& name, const QByteArray& bytes);
    TQuorvelaneForm* start();
    void clickEntry(TQuorvelaneForm* form, int row);

    std::unique_ptr<TWindowHarness> H;
};

void TestSearchWindow::init()
{
    H = std::make_unique<TWindowHarness>();
    QVERIFY(H->Dir.isValid());
}

void TestSearchWindow::cleanup()
{
    QVERIFY2(H->Script().Unexpected().isEmpty(), qPrintable(H->Script().Unexpected().join(u'\n')));
    H.reset();
}

void TestSearchWindow::writeFile(const QString& name, const QByteArray& bytes)
{
    QVERIFY(WriteFile(H->Dir.filePath(name), bytes));
}

TQuorvelaneForm* TestSearchWindow::start()
{
    TQuorvelaneForm* form = &H->Open();
    // The start-up tick loads the folder's first file, unless it has come already.
    if (form->SlideState().TimerTag != 0)
        form->ReadTimerTimer();
    // The first relayout follows the window's appearance; a search must not meet it later.
    if (!QTest::qWaitFor(
            [&] { return form->RelayoutCount() > 0 && !form->ResizeTimer->isActive(); }))
        qWarning("no relayout");
    H->Script().ClearLog();
    return form;
}

void TestSearchWindow::clickEntry(TQuorvelaneForm* form, int row)
{
    TContentsListBox* list = form->ContentsListBox;
    const QModelIndex entry = list->model()->index(row, 0);
    QVERIFY(entry.isValid());
    list->scrollTo(entry);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(entry).center());
}

void TestSearchWindow::searches_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("lineForward");
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QStringList>("log");
    QTest::addColumn<QStringList>("contents");
    const QStringList old{"old= 1"};
    const QString contentsBox = ContentsBox + "|()";
    const QString simpleBox = SimpleBox + u'|' + DefaultDigits;

    QTest::newRow("contents, markers in order")
        << "FindContents" << false << QStringList{"in:第章", "in:0", "no"}
        << QStringList{contentsBox, WidthBox, IndentQuestion, found(2)}
        << QStringList{"第1章 はじめに= 1", "第2章 つづき= 3"};
    QTest::newRow("contents, line number first")
        << "FindContents" << true << QStringList{"in:第章", "in:0", "no"}
        << QStringList{contentsBox, WidthBox, IndentQuestion, found(2)}
        << QStringList{"1= 第1章 はじめに", "3= 第2章 つづき"};
    QTest::newRow("contents, markers out of order")
        << "FindContents" << false << QStringList{"in:章第", "in:0", "no"}
        << QStringList{contentsBox, WidthBox, IndentQuestion, NothingFound} << QStringList{};
    QTest::newRow("contents, indented lines")
        << "FindContents" << false << QStringList{"in:章", "in:0", "yes"}
        << QStringList{contentsBox, WidthBox, IndentQuestion, found(1)}
        << QStringList{"章の話は３つ。= 4"};
    QTest::newRow("contents, the marker must begin within the width")
        << "FindContents" << false << QStringList{"in:章", "in:4", "no"}
        << QStringList{contentsBox, WidthBox, IndentQuestion, found(3)}
        << QStringList{"第1章 はじめに= 1", "第2章 つづき= 3", "章の話は３つ。= 4"};
    QTest::newRow("contents, cancel runs with the stored markers")
        << "FindContents" << false << QStringList{"cancel", "cancel", "no"}
        << QStringList{contentsBox, WidthBox, IndentQuestion, NothingFound} << QStringList{};
    QTest::newRow("paragraph asks nothing")
        << "FindParagraph" << false << QStringList{} << QStringList{found(2)}
        << QStringList{"本文です。= 2", "章の話は３つ。= 4"};
    QTest::newRow("string in any letter case")
        << "FindLineString" << false << QStringList{"in:dEbIaN"}
        << QStringList{LineStringBox + "|", found(1)}
        << QStringList{"Debian と debian と DEBIAN= 5"};
    QTest::newRow("string, full-width letters are not folded")
        << "FindLineString" << false << QStringList{"in:ＤＥＢＩＡＮ"}
        << QStringList{LineStringBox + "|", NothingFound} << QStringList{};
    QTest::newRow("string, Cancel on an empty stored string ends silently")
        << "FindLineString" << false << QStringList{"cancel"} << QStringList{LineStringBox + "|"}
        << old;
    QTest::newRow("simple contents, width 2")
        << "FindSimpleContents" << false << QStringList{"cancel", "in:2", "no"}
        << QStringList{simpleBox, WidthBox, IndentQuestion, found(1)}
        << QStringList{"２　まとめ= 6"};
    QTest::newRow("simple contents, whole lines")
        << "FindSimpleContents" << false << QStringList{"cancel", "in:0", "no"}
        << QStringList{simpleBox, WidthBox, IndentQuestion, found(2)}
        << QStringList{"章の話は３つ。= 4", "２　まとめ= 6"};
    QTest::newRow("simple contents, indented lines only")
        << "FindSimpleContents" << false << QStringList{"cancel", "in:0", "yes"}
        << QStringList{simpleBox, WidthBox, IndentQuestion, found(1)}
        << QStringList{"章の話は３つ。= 4"};
    QTest::newRow("width abc ends silently")
        << "FindContents" << false << QStringList{"in:第章", "in:abc"}
        << QStringList{contentsBox, WidthBox} << old;
    QTest::newRow("width too large ends silently")
        << "FindContents" << false << QStringList{"in:第章", "in:99999999999"}
        << QStringList{contentsBox, WidthBox} << old;
    QTest::newRow("empty width ends silently")
        << "FindSimpleContents" << false << QStringList{"cancel", "in:"}
        << QStringList{simpleBox, WidthBox} << old;
    QTest::newRow("negative width finds nothing")
        << "FindContents" << false << QStringList{"in:第章", "in:-3", "no"}
        << QStringList{contentsBox, WidthBox, IndentQuestion, NothingFound} << QStringList{};
    const QString longString(10000, u'あ');
    QTest::newRow("string of 10000 characters")
        << "FindLineString" << false << QStringList{"in:" + longString}
        << QStringList{LineStringBox + "|", NothingFound} << QStringList{};
    const QString longMarkers = QString(9999, u'x') + u'付';
    QTest::newRow("10000 markers, any one")
        << "FindSimpleContents" << false << QStringList{"in:" + longMarkers, "in:0", "no"}
        << QStringList{simpleBox, WidthBox, IndentQuestion, found(1)} << QStringList{"付録= 7"};
    QTest::newRow("10000 markers, all in order")
        << "FindContents" << false << QStringList{"in:第" + longMarkers, "in:0", "no"}
        << QStringList{contentsBox, WidthBox, IndentQuestion, NothingFound} << QStringList{};
}

void TestSearchWindow::searches()
{
    QFETCH(QString, action);
    QFETCH(bool, lineForward);
    QFETCH(QStringList, answers);
    QFETCH(QStringList, log);
    QFETCH(QStringList, contents);
    writeFile(QStringLiteral("book.txt"), Book);
    TQuorvelaneForm* form = start();
    QCOMPARE(form->LineCount(), 7);
    QCOMPARE(form->windowTitle(), QStringLiteral("  1 / 7"));
    form->Action(QStringLiteral("SetContentsLineForward"))->setChecked(lineForward);
    form->ContentsListBox->AddEntry(QStringLiteral("old= 1"));
    script(H->Script(), answers);

    form->Action(action)->trigger();

    QCOMPARE(H->Script().LogLines(), log);
    QCOMPARE(H->Script().PendingAnswers(), 0);
    QCOMPARE(entries(form->ContentsListBox), contents);
    QVERIFY(!form->SearchState().Searching);
    QVERIFY(form->FindResearchButton->isHidden());
    QCOMPARE(form->FindResearchButton->text(), QStringLiteral("再検索(R)"));
    QCOMPARE(form->windowTitle(), QStringLiteral("  1 / 7"));
    QVERIFY(form->ContentsListBox->updatesEnabled());
    H->Exit();
}

void TestSearchWindow::paragraphsOfRealProse()
{
    QFile prose(QStringLiteral(QV_TESTDATA_DIR "/sample-prose.sjis.txt"));
    QVERIFY(prose.open(QIODevice::ReadOnly));
    const QByteArray bytes = prose.readAll();
    writeFile(QStringLiteral("prose.txt"), bytes);
    // The paragraphs that begin with a full-width space (0x81 0x40) and hold text.
    QList<QByteArray> indented;
    for (const QByteArray& line : bytes.split('\n')) {
        const QByteArray text = line.endsWith('\r') ? line.chopped(1) : line;
        if (text.startsWith("\x81\x40") && text.size() > 2)
            indented << text;
    }
    QVERIFY(indented.size() > 20);
    TQuorvelaneForm* form = start();
    const int n = form->LineCount();
    QVERIFY(n > bytes.count('\n')); // long paragraphs wrap

    form->Action(QStringLiteral("FindParagraph"))->trigger();

    QCOMPARE(H->Script().LogLines(), QStringList{found(int(indented.size()))});
    const QStringList list = entries(form->ContentsListBox);
    QCOMPARE(list.size(), indented.size());
    const int digits = int(QString::number(n).size());
    for (int k = 0; k < list.size(); ++k) {
        // Each entry names the first display line of its paragraph and shows it less the indent.
        const QString& entry = list.at(k);
        const int line = entry.right(digits).toInt();
        const QString text = entry.chopped(digits + 2);
        QCOMPARE(entry.mid(text.size(), 2), QStringLiteral("= "));
        QCOMPARE(u'　' + text, form->Line(line - 1));
        QVERIFY(DecodeCp932(indented.at(k)).startsWith(u'　' + text));
    }
    clickEntry(form, int(list.size()) - 1);
    const int last = list.last().right(digits).toInt();
    QCOMPARE(form->SlideState().ReadingLine, last - 1);
    QCOMPARE(form->windowTitle(), QStringLiteral("  %1 / %2").arg(last).arg(n));
    H->Exit();
}

void TestSearchWindow::click_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<bool>("lineForward");
    QTest::addColumn<int>("line");
    QTest::addColumn<QStringList>("log");
    const QStringList none;
    QTest::newRow("number last") << "第2章 つづき= 3" << false << 2 << none;
    QTest::newRow("number first") << "3= 第2章 つづき" << true << 2 << none;
    QTest::newRow("zero-padded") << "付録= 007" << false << 6 << none;
    QTest::newRow("text holding =, number after the last") << "a=b= 7" << false << 6 << none;
    QTest::newRow("empty text") << "= 1" << false << 0 << none;
    const QStringList outside{"message|  確認|インデックスエラー(3)"};
    QTest::newRow("past the last line") << "付録= 8" << false << -1 << outside;
    QTest::newRow("line zero") << "x= 0" << false << -1 << outside;
    QTest::newRow("negative") << "x= -2" << false << -1 << outside;
    QTest::newRow("number first, past the last line") << "8= 付録" << true << -1 << outside;
    QTest::newRow("no =") << "付録" << false << -1
                          << QStringList{"message|  確認|インデックスエラー(1)"};
    QTest::newRow("no number after =")
        << "付録= x" << false << -1 << QStringList{"message| Error|インデックスエラー(2)"};
    QTest::newRow("number too large") << "付録= 99999999999" << false << -1
                                      << QStringList{"message| Error|インデックスエラー(2)"};
    QTest::newRow("number first, read as number last")
        << "付録= 7" << true << -1 << QStringList{"message| Error|インデックスエラー"};
    QTest::newRow("number first, no =")
        << "7" << true << -1 << QStringList{"message| Error|インデックスエラー"};
}

void TestSearchWindow::click()
{
    QFETCH(QString, entry);
    QFETCH(bool, lineForward);
    QFETCH(int, line);
    QFETCH(QStringList, log);
    writeFile(QStringLiteral("book.txt"), Book);
    TQuorvelaneForm* form = start();
    // A search leaves the list as the user meets it: the re-search button hidden.
    form->Action(QStringLiteral("FindParagraph"))->trigger();
    QVERIFY(form->FindResearchButton->isHidden());
    form->Action(QStringLiteral("SetContentsLineForward"))->setChecked(lineForward);
    for (const bool mouse : {true, false}) {
        form->ReadingLineScrollBar->setValue(3);
        form->ReadingLineScrollBarScroll(3);
        QCOMPARE(form->SlideState().ReadingLine, 3);
        form->ContentsListBox->Clear();
        form->ContentsListBox->SetEntries({QStringLiteral("本文です。= 2"), entry});
        H->Script().ClearLog();
        if (mouse) {
            clickEntry(form, 1);
        } else {
            form->ContentsListBox->SetCurrentRow(1);
            form->ContentsListBoxClick();
        }
        QCOMPARE(H->Script().LogLines(), log);
        QCOMPARE(form->ContentsListBox->toolTip(), entry);
        const int expected = line < 0 ? 3 : line;
        QCOMPARE(form->SlideState().ReadingLine, expected);
        QCOMPARE(form->ReadingLineScrollBar->value(), expected);
        QCOMPARE(form->windowTitle(), QStringLiteral("  %1 / 7").arg(expected + 1));
    }
    H->Exit();
}

void TestSearchWindow::textChangedSinceSearch()
{
    writeFile(QStringLiteral("book.txt"), Book);
    TQuorvelaneForm* form = start();
    script(H->Script(), {"in:付録"});
    form->Action(QStringLiteral("FindLineString"))->trigger();
    QCOMPARE(entries(form->ContentsListBox), QStringList{"付録= 7"});
    // An edit renumbers the lines but keeps the list.
    form->MainRichEdit->setPlainText(QStringLiteral("a\nb"));
    QCOMPARE(form->LineCount(), 2);
    QCOMPARE(form->ContentsListBox->count(), 1);
    form->ReadingLineScrollBarScroll(1);
    H->Script().ClearLog();
    clickEntry(form, 0);
    QCOMPARE(H->Script().LogLines(), QStringList{"message|  確認|インデックスエラー(3)"});
    QCOMPARE(form->SlideState().ReadingLine, 1);
    H->Exit();
}

void TestSearchWindow::switchEntryForm()
{
    writeFile(QStringLiteral("book.txt"), Book);
    TQuorvelaneForm* form = start();
    QAction* forward = form->Action(QStringLiteral("SetContentsLineForward"));
    script(H->Script(), {"in:第章", "in:0", "no"});
    form->Action(QStringLiteral("FindContents"))->trigger();
    const QStringList numberLast{"第1章 はじめに= 1", "第2章 つづき= 3"};
    QCOMPARE(entries(form->ContentsListBox), numberLast);

    forward->trigger();
    QVERIFY(forward->isChecked());
    QCOMPARE(entries(form->ContentsListBox), (QStringList{"1= 第1章 はじめに", "3= 第2章 つづき"}));
    clickEntry(form, 1);
    QCOMPARE(form->SlideState().ReadingLine, 2);
    QCOMPARE(form->windowTitle(), QStringLiteral("  3 / 7"));

    forward->trigger();
    QVERIFY(!forward->isChecked());
    QCOMPARE(entries(form->ContentsListBox), numberLast);

    // An entry without "=" cannot be switched: the list and the check stay.
    form->ContentsListBox->AddEntry(QStringLiteral("付録"));
    H->Script().ClearLog();
    forward->trigger();
    QCOMPARE(H->Script().LogLines(), QStringList{"message| Error|リスト変更に失敗しました。"});
    QVERIFY(!forward->isChecked());
    QCOMPARE(entries(form->ContentsListBox), numberLast + QStringList{"付録"});

    // An empty list only switches the form of the entries to come.
    form->ContentsListBox->Clear();
    forward->trigger();
    QVERIFY(forward->isChecked());
    QCOMPARE(form->ContentsListBox->count(), 0);
    H->Exit();
    QVERIFY(H->SettingsBytes().contains("ContentsLineForward=1\r\n"));
}

void TestSearchWindow::researchButton()
{
    writeFile(QStringLiteral("book.txt"), Book);
    TQuorvelaneForm* form = start();
    QPushButton* button = form->FindResearchButton;
    // A loaded text can be searched again at once.
    QVERIFY(button->isVisible());
    form->Action(QStringLiteral("FindParagraph"))->trigger();
    QVERIFY(button->isHidden());
    const QStringList paragraphs{"本文です。= 2", "章の話は３つ。= 4"};
    QCOMPARE(entries(form->ContentsListBox), paragraphs);

    // A new font size numbers the lines anew: the list is emptied and the button offered.
    form->FontSizeComboBox->setCurrentIndex(6);
    form->FontSizeComboBoxChange();
    QCOMPARE(form->ContentsListBox->count(), 0);
    QVERIFY(button->isVisible());
    QCOMPARE(button->text(), QStringLiteral("再検索(R)"));
    H->Script().ClearLog();
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(entries(form->ContentsListBox), paragraphs);
    QVERIFY(H->Script().Log().isEmpty()); // no questions, no result
    QVERIFY(button->isHidden());

    // So does the relayout after a resize.
    const int relayouts = form->RelayoutCount();
    form->resize(form->width() + 40, form->height() + 20);
    QTRY_VERIFY(form->RelayoutCount() > relayouts && !form->ResizeTimer->isActive());
    QCOMPARE(form->ContentsListBox->count(), 0);
    QVERIFY(button->isVisible());

    // The contents search repeats with its stored markers, width and indented flag.
    script(H->Script(), {"in:章", "in:4", "no"});
    form->Action(QStringLiteral("FindContents"))->trigger();
    QCOMPARE(form->ContentsListBox->count(), 3);
    form->RelayoutReader();
    QCOMPARE(form->ContentsListBox->count(), 0);
    H->Script().ClearLog();
    form->Action(QStringLiteral("FindResearch"))->trigger();
    QVERIFY(H->Script().Log().isEmpty());
    QCOMPARE(entries(form->ContentsListBox),
             (QStringList{"第1章 はじめに= 1", "第2章 つづき= 3", "章の話は３つ。= 4"}));

    // Without text there is nothing to repeat: the button stays hidden.
    form->MainRichEdit->setPlainText(QString());
    form->RelayoutReader();
    QVERIFY(button->isHidden());
    H->Exit();
}

void TestSearchWindow::cancelFromButton()
{
    writeFile(QStringLiteral("many.txt"), manyLines());
    TQuorvelaneForm* form = start();
    QCOMPARE(form->LineCount(), 250);
    for (const bool research : {false, true}) {
        H->Script().ClearLog();
        if (!research)
            script(H->Script(), {"in:x"});
        TInSearchTurn click(secondTurn(form), [&] {
            QVERIFY(form->FindResearchButton->isVisible());
            QTest::mouseClick(form->FindResearchButton, Qt::LeftButton);
        });
        form->Action(research ? QStringLiteral("FindResearch") : QStringLiteral("FindLineString"))
            ->trigger();
        QVERIFY(click.Done);
        QCOMPARE(H->Script().LogLines(),
                 research ? QStringList{Interrupted}
                          : (QStringList{LineStringBox + "|", found(100), Interrupted}));
        const QStringList list = entries(form->ContentsListBox);
        QCOMPARE(list.size(), 100);
        QCOMPARE(list.first(), QStringLiteral("x1= 001"));
        QCOMPARE(list.last(), QStringLiteral("x100= 100"));
        QVERIFY(!form->SearchState().Searching);
        QVERIFY(form->FindResearchButton->isHidden());
        QCOMPARE(form->FindResearchButton->text(), QStringLiteral("再検索(R)"));
        QCOMPARE(form->windowTitle(), QStringLiteral("  1 / 250"));
    }
    H->Exit();
}

void TestSearchWindow::menuSearchRefusedWhileRunning()
{
    writeFile(QStringLiteral("many.txt"), manyLines());
    TQuorvelaneForm* form = start();
    script(H->Script(), {"in:x"});
    // A second search from the menu would ask for its markers: an unexpected dialog.
    TInSearchTurn menu(secondTurn(form),
                       [&] { form->Action(QStringLiteral("FindContents"))->trigger(); });
    form->Action(QStringLiteral("FindLineString"))->trigger();
    QVERIFY(menu.Done);
    QCOMPARE(H->Script().LogLines(), (QStringList{LineStringBox + "|", found(250)}));
    QCOMPARE(form->SearchState().SearchType, 0);
    H->Exit();
}

void TestSearchWindow::storedFieldsSurviveRestart()
{
    writeFile(QStringLiteral("book.txt"), Book);
    TQuorvelaneForm* form = start();
    script(H->Script(), {"in:第章", "in:0", "no", "in:DEBIAN", "in:２３", "in:12", "yes"});
    form->Action(QStringLiteral("FindContents"))->trigger();
    form->Action(QStringLiteral("FindLineString"))->trigger();
    form->Action(QStringLiteral("FindSimpleContents"))->trigger();
    QCOMPARE(entries(form->ContentsListBox), QStringList{"章の話は３つ。= 4"});
    H->Exit();
    const QByteArray ini = H->SettingsBytes();
    for (const QByteArray& line :
         {QByteArray("SearchType=3\r\n"), QByteArray("SearchLineString=DEBIAN\r\n"),
          QByteArray("SearchContents=\x91\xe6\x8f\xcd\r\n"),
          QByteArray("SearchSimplleContents=\x82\x51\x82\x52\r\n"),
          QByteArray("SearchLength=12\r\n"), QByteArray("SearchOption=1\r\n")})
        QVERIFY2(ini.contains(line), line.constData());

    TQuorvelaneForm* again = start();
    const TSearchState& state = again->SearchState();
    QCOMPARE(state.SearchType, 3);
    QCOMPARE(state.SearchLineString, QStringLiteral("DEBIAN"));
    QCOMPARE(state.SearchContents, QStringLiteral("第章"));
    QCOMPARE(state.SearchSimplleContents, QStringLiteral("２３"));
    QCOMPARE(state.SearchLength, 12);
    QCOMPARE(state.SearchOption, true);
    // The re-search after the restart runs with them, asking nothing.
    again->Action(QStringLiteral("FindResearch"))->trigger();
    QVERIFY(H->Script().Log().isEmpty());
    QCOMPARE(entries(again->ContentsListBox), QStringList{"章の話は３つ。= 4"});
    H->Exit();
    QCOMPARE(H->SettingsBytes(), ini);
}

void TestSearchWindow::blankLines_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QStringList>("log");
    QTest::addColumn<QStringList>("contents");
    QTest::newRow("string of one blank: empty text part")
        << "FindLineString" << QStringList{"in: "} << QStringList{LineStringBox + "|", found(2)}
        << QStringList{"= 1", "a b= 3"};
    QTest::newRow("paragraph passes over blank lines")
        << "FindParagraph" << QStringList{} << QStringList{found(1)} << QStringList{"本文= 4"};
    QTest::newRow("simple contents passes over blank lines")
        << "FindSimpleContents" << QStringList{"in:　", "in:0", "no"}
        << QStringList{SimpleBox + u'|' + DefaultDigits, WidthBox, IndentQuestion, found(1)}
        << QStringList{"本文= 4"};
    QTest::newRow("contents ends at the first blank line")
        << "FindContents" << QStringList{"in:　", "in:0", "no"}
        << QStringList{ContentsBox + "|()", WidthBox, IndentQuestion, NothingFound}
        << QStringList{};
    QTest::newRow("contents of half-width blanks ends at once")
        << "FindContents" << QStringList{"in: ", "in:0", "no"}
        << QStringList{ContentsBox + "|()", WidthBox, IndentQuestion, NothingFound}
        << QStringList{};
}

void TestSearchWindow::blankLines()
{
    QFETCH(QString, action);
    QFETCH(QStringList, answers);
    QFETCH(QStringList, log);
    QFETCH(QStringList, contents);
    writeFile(QStringLiteral("blanks.txt"), Blanks);
    TQuorvelaneForm* form = start();
    QCOMPARE(form->LineCount(), 4);
    QCOMPARE(form->Line(0), QStringLiteral("   "));
    script(H->Script(), answers);
    form->Action(action)->trigger();
    QCOMPARE(H->Script().LogLines(), log);
    QCOMPARE(entries(form->ContentsListBox), contents);
    if (!contents.isEmpty()) {
        clickEntry(form, 0);
        QCOMPARE(form->windowTitle(),
                 QStringLiteral("  %1 / 4").arg(form->SlideState().ReadingLine + 1));
        QCOMPARE(form->SlideState().ReadingLine, contents.first().right(1).toInt() - 1);
    }
    H->Exit();
}

void TestSearchWindow::megabyteLine()
{
    QByteArray bytes = "\x91\xe6\x31\x8f\xcd\r\n"; // 第1章
    const QByteArray half = QByteArray("debian ").repeated(512 * 1024 / 7 + 1);
    bytes += half + "Hinoki " + half;
    bytes += "\r\n\x95\x74\x98\x5e\r\n"; // 付録
    writeFile(QStringLiteral("huge.txt"), bytes);
    TQuorvelaneForm* form = start();
    // A file of a megabyte is read on a worker thread.
    QVERIFY(H->WaitForText());
    const int n = form->LineCount();
    QVERIFY(n > 1000);
    QCOMPARE(form->Line(n - 1), QStringLiteral("付録"));
    const int digits = int(QString::number(n).size());
    int hinoki = -1;
    for (int i = 0; i < n && hinoki < 0; ++i)
        if (form->Line(i).contains(QStringLiteral("Hinoki")))
            hinoki = i;
    QVERIFY(hinoki > 1);

    // The one word in the middle of the long line, letters folded.
    script(H->Script(), {"in:hINOKI"});
    form->Action(QStringLiteral("FindLineString"))->trigger();
    QCOMPARE(H->Script().LogLines(), (QStringList{LineStringBox + "|", found(1)}));
    QCOMPARE(entries(form->ContentsListBox),
             QStringList{form->Line(hinoki) + "= " +
                         QString::number(hinoki + 1).rightJustified(digits, u'0')});
    clickEntry(form, 0);
    QCOMPARE(form->SlideState().ReadingLine, hinoki);
    QCOMPARE(form->windowTitle(), QStringLiteral("  %1 / %2").arg(hinoki + 1).arg(n));

    // 10 000 markers over the same lines.
    H->Script().ClearLog();
    const QString markers = QString(9999, u'y') + u'付';
    script(H->Script(), {"in:" + markers, "in:0", "no"});
    form->Action(QStringLiteral("FindSimpleContents"))->trigger();
    QCOMPARE(H->Script().LogLines().last(), found(1));
    QCOMPARE(entries(form->ContentsListBox),
             QStringList{"付録= " + QString::number(n).rightJustified(digits, u'0')});
    H->Exit();
}

void TestSearchWindow::linesChangeDuringSearch_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<int>("linesAfter");
    QTest::addColumn<int>("entriesAfter");
    // The loader and a new font size empty the list themselves; an edit keeps it.
    QTest::newRow("next file") << "FileNext" << 7 << 0;
    QTest::newRow("font size") << "FontSize" << 250 << 0;
    QTest::newRow("edit") << "Edit" << 251 << 100;
}

void TestSearchWindow::linesChangeDuringSearch()
{
    QFETCH(QString, change);
    QFETCH(int, linesAfter);
    QFETCH(int, entriesAfter);
    writeFile(QStringLiteral("a.txt"), manyLines());
    writeFile(QStringLiteral("b.txt"), Book);
    TQuorvelaneForm* form = start();
    QCOMPARE(form->LineCount(), 250);
    script(H->Script(), {"in:x"});
    TInSearchTurn changeLines(secondTurn(form), [&] {
        if (change == u"FileNext") {
            form->Action(QStringLiteral("FileNext"))->trigger();
        } else if (change == u"FontSize") {
            form->FontSizeComboBox->setCurrentIndex(form->FontSizeComboBox->currentIndex() + 1);
            form->FontSizeComboBoxChange();
        } else {
            const TTextPos end = form->MainRichEdit->Cursor().End();
            form->MainRichEdit->SetCursor(end, end);
            form->MainRichEdit->insertPlainText(QStringLiteral("\nx251"));
        }
    });
    form->Action(QStringLiteral("FindLineString"))->trigger();
    QVERIFY(changeLines.Done);

    // The lines the search would go on with are not the ones it began with: it stops there.
    QCOMPARE(H->Script().LogLines(),
             (QStringList{LineStringBox + "|", entriesAfter ? found(entriesAfter) : NothingFound,
                          Interrupted}));
    QCOMPARE(form->LineCount(), linesAfter);
    QCOMPARE(form->ContentsListBox->count(), entriesAfter);
    QVERIFY(!form->SearchState().Searching);
    // The window shows the new lines, and the search can be repeated on them.
    QCOMPARE(form->windowTitle(), QStringLiteral("  1 / %1").arg(linesAfter));
    QVERIFY(form->FindResearchButton->isVisible());
    QCOMPARE(form->FindResearchButton->text(), QStringLiteral("再検索(R)"));
    QVERIFY(form->ContentsListBox->updatesEnabled());
    if (change == u"FileNext")
        QVERIFY(form->FileState().CurrentFileName.endsWith(QStringLiteral("b.txt")));
    H->Script().ClearLog();
    form->Action(QStringLiteral("FindResearch"))->trigger();
    QVERIFY(H->Script().Log().isEmpty());
    QCOMPARE(form->ContentsListBox->count(), change == u"FileNext" ? 0 : linesAfter);
    // Closing asks about edited text; No lets it go.
    if (form->MainRichEdit->IsModified())
        H->Script().AnswerButton(AnswerNo);
    H->Exit();
}

void TestSearchWindow::formSwitchedDuringSearch()
{
    writeFile(QStringLiteral("many.txt"), manyLines());
    TQuorvelaneForm* form = start();
    script(H->Script(), {"in:x"});
    TInSearchTurn toggle(secondTurn(form), [&] {
        form->Action(QStringLiteral("SetContentsLineForward"))->trigger();
    });
    form->Action(QStringLiteral("FindLineString"))->trigger();
    QVERIFY(toggle.Done);
    // The entries switched during the search and the ones found after it share one form.
    const QStringList list = entries(form->ContentsListBox);
    QCOMPARE(list.size(), 250);
    QCOMPARE(list.at(99), QStringLiteral("100= x100"));
    QCOMPARE(list.at(100), QStringLiteral("101= x101"));
    QCOMPARE(list.last(), QStringLiteral("250= x250"));
    clickEntry(form, 100);
    QCOMPARE(form->SlideState().ReadingLine, 100);
    H->Exit();
}

void TestSearchWindow::closeDuringSearch_data()
{
    QTest::addColumn<bool>("exitCommand");
    QTest::newRow("exit command") << true;
    QTest::newRow("window closed") << false;
}

void TestSearchWindow::closeDuringSearch()
{
    QFETCH(bool, exitCommand);
    writeFile(QStringLiteral("many.txt"), manyLines());
    TQuorvelaneForm* form = start();
    script(H->Script(), {"in:x"});
    TInSearchTurn closing(secondTurn(form), [&] {
        if (exitCommand)
            form->Action(QStringLiteral("AppExit"))->trigger();
        else
            form->close();
    });
    form->Action(QStringLiteral("FindLineString"))->trigger();
    QVERIFY(closing.Done);
    // The search stopped without its messages and the window closed once it had returned.
    QCOMPARE(H->Script().LogLines(), QStringList{LineStringBox + "|"});
    QVERIFY(!form->isVisible());
    QVERIFY(!form->SearchState().Searching);
    QVERIFY(H->SettingsBytes().contains("SearchType=0\r\nSearchLineString=x\r\n"));
    H->Form.reset();
}

void TestSearchWindow::messagesFallBackToMessageWindow()
{
    writeFile(QStringLiteral("book.txt"), Book);
    const std::unique_ptr<TApU> messageWindow = CreateApU();
    TQuorvelaneForm* form = start();
    H->Script().SetUnavailable(true);
    form->Action(QStringLiteral("FindParagraph"))->trigger();
    H->Script().SetUnavailable(false);
    QCOMPARE(entries(form->ContentsListBox), (QStringList{"本文です。= 2", "章の話は３つ。= 4"}));
    // No box could be shown: the result waits in the message window instead of being lost.
    QVERIFY(messageWindow->isVisible());
    QCOMPARE(messageWindow->MessageLabel->text(),
             QStringLiteral("該当する行が､2行見つかりました。"));
    QCOMPARE(messageWindow->windowTitle(), QStringLiteral("  確認 (予定外のエラーです。)"));
    messageWindow->hide();
    H->Exit();
}

QTEST_MAIN(TestSearchWindow)
#include "tst_searchwindow.moc"
