#include "common/StrToInt.h"

#include <QTest>

class TestStrToInt : public QObject
{
    Q_OBJECT

private slots:
    void convert_data();
    void convert();
};

void TestStrToInt::convert_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("value");
    QTest::newRow("decimal") << "250" << true << 250;
    QTest::newRow("leading zeros") << "00050" << true << 50;
    QTest::newRow("leading spaces") << "      04" << true << 4;
    QTest::newRow("plus") << "+7" << true << 7;
    QTest::newRow("minus") << "-5" << true << -5;
    QTest::newRow("spaces then sign") << "  -12" << true << -12;
    QTest::newRow("dollar hex") << "$20" << true << 32;
    QTest::newRow("0x hex") << "0x10" << true << 16;
    QTest::newRow("0X hex, mixed case digits") << "0XaF" << true << 175;
    QTest::newRow("negative hex") << "-$10" << true << -16;
    QTest::newRow("hex leading zeros beyond eight digits") << "$000000001" << true << 1;
    QTest::newRow("hex all bits is -1") << "$FFFFFFFF" << true << -1;
    QTest::newRow("hex high bit") << "$80000000" << true << int(0x80000000u);
    QTest::newRow("largest") << "2147483647" << true << 2147483647;
    QTest::newRow("smallest") << "-2147483648" << true << int(-2147483647 - 1);
    QTest::newRow("zero") << "0" << true << 0;

    QTest::newRow("empty") << "" << false << 0;
    QTest::newRow("only spaces") << "   " << false << 0;
    QTest::newRow("trailing space") << "100 " << false << 0;
    QTest::newRow("tab before") << "\t100" << false << 0;
    QTest::newRow("full-width space before") << "\u3000100" << false << 0;
    QTest::newRow("space after sign") << "- 5" << false << 0;
    QTest::newRow("sign alone") << "-" << false << 0;
    QTest::newRow("two signs") << "+-5" << false << 0;
    QTest::newRow("letters") << "abc" << false << 0;
    QTest::newRow("digits then letter") << "12a" << false << 0;
    QTest::newRow("decimal point") << "1.5" << false << 0;
    QTest::newRow("dollar alone") << "$" << false << 0;
    QTest::newRow("0x alone") << "0x" << false << 0;
    QTest::newRow("bad hex digit") << "$1G" << false << 0;
    QTest::newRow("one past largest") << "2147483648" << false << 0;
    QTest::newRow("one below smallest") << "-2147483649" << false << 0;
    QTest::newRow("hex beyond 32 bits") << "$100000000" << false << 0;
    QTest::newRow("full-width digits") << "\uFF11\uFF12" << false << 0;
    QTest::newRow("C octal is decimal") << "010" << true << 10;
}

void TestStrToInt::convert()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(int, value);
    const std::optional<int> result = StrToInt(text);
    QCOMPARE(result.has_value(), valid);
    if (valid)
        QCOMPARE(*result, value);
}

QTEST_APPLESS_MAIN(TestStrToInt)
#include "tst_strtoint.moc"
