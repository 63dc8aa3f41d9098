#include "common/SplitWX.h"
#include "common/StringFormats.h"
#include "common/StringToLetters.h"
#include "tests/support/ScriptedDialogs.h"

#include <QTest>

class TestStrings : public QObject
{
    Q_OBJECT

private slots:
    void split_data();
    void split();
    void letters_data();
    void letters();
    void padNumber_data();
    void padNumber();
    void trimLeft_data();
    void trimLeft();
};

void TestStrings::split_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("delimiters");
    QTest::addColumn<QStringList>("pieces");
    QTest::newRow("two masks") << "*.txt;*.rtf"
                               << ";" << QStringList{"*.txt", "*.rtf"};
    QTest::newRow("empty pieces kept") << ";a;;b;"
                                       << ";" << QStringList{"", "a", "", "b", ""};
    QTest::newRow("empty text") << ""
                                << ";" << QStringList{""};
    QTest::newRow("intervals") << "100,250,500"
                               << "," << QStringList{"100", "250", "500"};
    QTest::newRow("either delimiter") << "*.txt/*.rtf;*.doc"
                                      << "/;" << QStringList{"*.txt", "*.rtf", "*.doc"};
    QTest::newRow("no trimming") << " a , b "
                                 << "," << QStringList{" a ", " b "};
    QTest::newRow("japanese kept whole") << "表示;ソフト"
                                         << ";" << QStringList{"表示", "ソフト"};
    QTest::newRow("non-BMP kept whole") << "\U00020B9F;x"
                                        << ";" << QStringList{"\U00020B9F", "x"};
}

void TestStrings::split()
{
    QFETCH(QString, text);
    QFETCH(QString, delimiters);
    QFETCH(QStringList, pieces);
    TSplitWX splitter;
    QCOMPARE(splitter.Split(text, delimiters), pieces.size());
    QCOMPARE(splitter.Pieces, pieces);
    // A second split replaces the pieces of the first.
    QCOMPARE(splitter.Split(QStringLiteral("x"), delimiters), 1);
    QCOMPARE(splitter.Pieces, QStringList{"x"});
}

void TestStrings::letters_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("letters");
    QTest::newRow("ascii") << "ab0" << QStringList{"a", "b"};
    QTest::newRow("japanese") << "見出し0" << QStringList{"見", "出", "し"};
    QTest::newRow("one character") << "0" << QStringList{};
    QTest::newRow("empty") << "" << QStringList{};
    QTest::newRow("surrogate pair is one letter")
        << "\U00020B9Fa0" << QStringList{"\U00020B9F", "a"};
    QTest::newRow("full-width space") << "\u3000章0" << QStringList{"\u3000", "章"};
}

void TestStrings::letters()
{
    QFETCH(QString, text);
    QFETCH(QStringList, letters);
    QStringList result{"stale"};
    QCOMPARE(GetEach_Letter(text, result), letters.size());
    QCOMPARE(result, letters);
}

void TestStrings::padNumber_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("result");
    QTest::addColumn<QString>("message");
    const QString big = QStringLiteral("plain||オーバーフローしました(数が大)。");
    const QString small = QStringLiteral("plain||オーバーフローしました(数が小)。");
    QTest::newRow("padded") << 7 << 4 << "0007"
                            << "";
    QTest::newRow("exact") << 1234 << 4 << "1234"
                           << "";
    QTest::newRow("negative") << -7 << 3 << "-007"
                              << "";
    QTest::newRow("fits two") << 42 << 2 << "42"
                              << "";
    QTest::newRow("zero padded") << 0 << 3 << "000"
                                 << "";
    QTest::newRow("too long") << 12345 << 4 << "12345" << big;
    QTest::newRow("three digits in two") << 100 << 2 << "100" << big;
    QTest::newRow("zero in no width") << 0 << 0 << "0" << small;
    QTest::newRow("negative too long") << -123 << 2 << "123" << small;
    QTest::newRow("most negative") << std::numeric_limits<int>::min() << 10 << "-2147483648"
                                   << "";
}

void TestStrings::padNumber()
{
    QFETCH(int, value);
    QFETCH(int, width);
    QFETCH(QString, result);
    QFETCH(QString, message);
    TScopedDialogs dialogs;
    QCOMPARE(PadNumber(value, width), result);
    QCOMPARE(dialogs->LogLines(), message.isEmpty() ? QStringList{} : QStringList{message});
}

void TestStrings::trimLeft_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("result");
    QTest::newRow("mixed spaces") << "\u3000 \u3000本文 "
                                  << "本文 ";
    QTest::newRow("tab stays") << "\tx"
                               << "\tx";
    QTest::newRow("only spaces") << "\u3000\u3000"
                                 << "";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("inner space stays") << "a\u3000b"
                                       << "a\u3000b";
}

void TestStrings::trimLeft()
{
    QFETCH(QString, text);
    QFETCH(QString, result);
    QCOMPARE(TrimLeftString(text), result);
}

QTEST_APPLESS_MAIN(TestStrings)
#include "tst_strings.moc"
