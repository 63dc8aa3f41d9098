#include "search/ContentsEntry.h"
#include "tests/support/ScriptedDialogs.h"

#include <QTest>

class TestContents : public QObject
{
    Q_OBJECT

private slots:
    void entryForm_data();
    void entryForm();
    void number_data();
    void number();
    void parseEntry_data();
    void parseEntry();
    void swap_data();
    void swap();
    void swapQuirk();
    void swapWithoutEquals();
};

void TestContents::entryForm_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("lineNumber");
    QTest::addColumn<int>("lineCount");
    QTest::addColumn<QString>("last");
    QTest::addColumn<QString>("first");
    QTest::newRow("300 lines") << "第一章" << 12 << 300 << "第一章= 012"
                               << "012= 第一章";
    QTest::newRow("1234 lines") << "x" << 7 << 1234 << "x= 0007"
                                << "0007= x";
    QTest::newRow("99 lines") << "x" << 7 << 99 << "x= 07"
                              << "07= x";
    QTest::newRow("100 lines") << "x" << 7 << 100 << "x= 007"
                               << "007= x";
    QTest::newRow("last line of 10") << "x" << 10 << 10 << "x= 10"
                                     << "10= x";
    QTest::newRow("empty text") << "" << 12 << 300 << "= 012"
                                << "012= ";
    QTest::newRow("text with =") << "a=b" << 12 << 300 << "a=b= 012"
                                 << "012= a=b";
}

void TestContents::entryForm()
{
    QFETCH(QString, text);
    QFETCH(int, lineNumber);
    QFETCH(int, lineCount);
    QFETCH(QString, last);
    QFETCH(QString, first);
    TScopedDialogs dialogs;
    const int width = ContentsNumberWidth(lineCount);
    QCOMPARE(MakeContentsEntry(text, lineNumber, width, false), last);
    QCOMPARE(MakeContentsEntry(text, lineNumber, width, true), first);
    // Both forms lead back to the line they were made for.
    QCOMPARE(ParseContentsEntry(last, false, lineCount).Line, lineNumber - 1);
    QCOMPARE(ParseContentsEntry(first, true, lineCount).Line, lineNumber - 1);
    QVERIFY(dialogs->Log().isEmpty());
}

void TestContents::number_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("value");
    QTest::newRow("padded") << "012" << true << 12;
    QTest::newRow("separator blank skipped") << " 012" << true << 12;
    QTest::newRow("several blanks") << "   7" << true << 7;
    QTest::newRow("negative") << "-3" << true << -3;
    QTest::newRow("plus sign") << "+5" << true << 5;
    QTest::newRow("int max") << "2147483647" << true << 2147483647;
    QTest::newRow("int min") << "-2147483648" << true << int(-2147483648LL);
    QTest::newRow("empty") << "" << false << 0;
    QTest::newRow("blank only") << " " << false << 0;
    QTest::newRow("sign only") << "-" << false << 0;
    QTest::newRow("trailing blank") << "12 " << false << 0;
    QTest::newRow("letters") << "abc" << false << 0;
    QTest::newRow("trailing text") << "12a" << false << 0;
    QTest::newRow("too large") << "99999999999" << false << 0;
    QTest::newRow("just over int max") << "2147483648" << false << 0;
    QTest::newRow("full-width digits") << "１２" << false << 0;
    QTest::newRow("tab is no blank here") << "\t12" << false << 0;
    QTest::newRow("full-width space is no blank here") << "　12" << false << 0;
    QTest::newRow("blank after sign") << "- 3" << false << 0;
}

void TestContents::number()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(int, value);
    const std::optional<int> parsed = ParseContentsNumber(text);
    QCOMPARE(parsed.has_value(), valid);
    if (valid)
        QCOMPARE(*parsed, value);
}

void TestContents::parseEntry_data()
{
    const QString error = QStringLiteral(" Error");
    const QString confirm = QStringLiteral("  確認");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<bool>("lineForward");
    QTest::addColumn<int>("lineCount");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("caption");
    QTest::newRow("number last") << "第一章= 012" << false << 300 << 11 << ""
                                 << "";
    QTest::newRow("number first") << "012= 第一章" << true << 300 << 11 << ""
                                  << "";
    QTest::newRow("last line") << "x= 300" << false << 300 << 299 << ""
                               << "";
    QTest::newRow("empty text, number last") << "= 012" << false << 300 << 11 << ""
                                             << "";
    QTest::newRow("empty text, number first") << "012= " << true << 300 << 11 << ""
                                              << "";
    QTest::newRow("text with =, falls back to the last =") << "a=b= 012" << false << 300 << 11 << ""
                                                           << "";
    QTest::newRow("no = at all") << "abc" << false << 300 << -1 << "インデックスエラー(1)"
                                 << confirm;
    QTest::newRow("no number after the last =")
        << "a=b" << false << 300 << -1 << "インデックスエラー(2)" << error;
    QTest::newRow("number too large for an int")
        << "x= 99999999999" << false << 300 << -1 << "インデックスエラー(2)" << error;
    QTest::newRow("number first, text before =")
        << "第一章= 012" << true << 300 << -1 << "インデックスエラー" << error;
    QTest::newRow("number first, no =")
        << "012" << true << 300 << -1 << "インデックスエラー" << error;
    QTest::newRow("number first, switched quirk entry")
        << "= 012= a" << true << 300 << -1 << "インデックスエラー" << error;
    QTest::newRow("beyond the text")
        << "x= 301" << false << 300 << -1 << "インデックスエラー(3)" << confirm;
    QTest::newRow("line number 0")
        << "x= 000" << false << 300 << -1 << "インデックスエラー(3)" << confirm;
    QTest::newRow("negative number")
        << "-5= x" << true << 300 << -1 << "インデックスエラー(3)" << confirm;
    QTest::newRow("empty text view")
        << "x= 1" << false << 0 << -1 << "インデックスエラー(3)" << confirm;
}

void TestContents::parseEntry()
{
    QFETCH(QString, entry);
    QFETCH(bool, lineForward);
    QFETCH(int, lineCount);
    QFETCH(int, line);
    QFETCH(QString, message);
    QFETCH(QString, caption);
    const TContentsTarget target = ParseContentsEntry(entry, lineForward, lineCount);
    QCOMPARE(target.Line.value_or(-1), line);
    QCOMPARE(target.Message, message);
    QCOMPARE(target.Caption, caption);
}

void TestContents::swap_data()
{
    QTest::addColumn<QStringList>("numberLast");
    QTest::addColumn<QStringList>("numberFirst");
    QTest::newRow("empty list") << QStringList{} << QStringList{};
    QTest::newRow("headings") << QStringList{"第一章= 012", "第二章= 120", "x y= 299"}
                              << QStringList{"012= 第一章", "120= 第二章", "299= x y"};
    QTest::newRow("empty text") << QStringList{"= 007"} << QStringList{"007= "};
    QTest::newRow("text with trailing blank") << QStringList{"a = 1"} << QStringList{"1= a "};
}

void TestContents::swap()
{
    QFETCH(QStringList, numberLast);
    QFETCH(QStringList, numberFirst);
    const std::optional<QStringList> first = SwapContentsEntries(numberLast);
    QVERIFY(first);
    QCOMPARE(*first, numberFirst);
    const std::optional<QStringList> back = SwapContentsEntries(*first);
    QVERIFY(back);
    QCOMPARE(*back, numberLast);
    for (qsizetype i = 0; i < numberLast.size(); ++i)
        QCOMPARE(ParseContentsEntry(numberFirst[i], true, 300).Line,
                 ParseContentsEntry(numberLast[i], false, 300).Line);
}

void TestContents::swapQuirk()
{
    // Only the first "=" is exchanged, so a text holding "=" does not come back; lists kept
    // from earlier switches look exactly like this.
    const std::optional<QStringList> once = SwapContentsEntries({"a=b= 012"});
    QVERIFY(once);
    QCOMPARE(*once, QStringList{"= 012= a"});
    QCOMPARE(ParseContentsEntry(once->first(), true, 300).Message,
             QStringLiteral("インデックスエラー"));
    const std::optional<QStringList> twice = SwapContentsEntries(*once);
    QVERIFY(twice);
    QCOMPARE(*twice, QStringList{"012= a= "});
    // "=" followed by no blank: the character after it goes all the same, a surrogate pair whole.
    QCOMPARE(SwapContentsEntries({"x=y1"}), QStringList{"1= x"});
    QCOMPARE(SwapContentsEntries({QStringLiteral("x=\U00020B9Fy")}), QStringList{"y= x"});
    QCOMPARE(SwapContentsEntries({"x="}), QStringList{"= x"});
}

void TestContents::swapWithoutEquals()
{
    // Switching such an entry would only lose its first character: the list stays.
    QCOMPARE(SwapContentsEntries({"a= 1", "no separator"}), std::nullopt);
}

QTEST_GUILESS_MAIN(TestContents)
#include "tst_contents.moc"
