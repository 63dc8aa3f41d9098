#include "reader/ReaderLayout.h"

#include <QTest>

class TestReaderLayout : public QObject
{
    Q_OBJECT

private slots:
    void labelCount_data();
    void labelCount();
    void labelTops();
    void settingsLists_data();
    void settingsLists();
    void itemNumber_data();
    void itemNumber();
    void snapFontSize_data();
    void snapFontSize();
    void stepRule_data();
    void stepRule();
};

void TestReaderLayout::labelCount_data()
{
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("lineHeight");
    QTest::addColumn<int>("spacing");
    QTest::addColumn<int>("count");
    QTest::newRow("200/24/2") << 200 << 24 << 2 << 7;
    QTest::newRow("exactly three") << 12 + 3 * 24 << 20 << 4 << 3;
    QTest::newRow("one pixel short of three") << 12 + 3 * 24 - 1 << 20 << 4 << 2;
    QTest::newRow("exactly two") << 12 + 2 * 30 << 30 << 0 << 2;
    QTest::newRow("one pixel short of two") << 12 + 2 * 30 - 1 << 30 << 0 << 1;
    QTest::newRow("huge font") << 150 << 160 << 0 << 1;
    QTest::newRow("lower than margins") << 8 << 16 << 2 << 1;
    QTest::newRow("spacing 20") << 12 + 4 * 36 << 16 << 20 << 4;
    QTest::newRow("no line height") << 200 << 0 << 0 << 1;
    QTest::newRow("negative pitch") << 200 << 10 << -12 << 1;
}

void TestReaderLayout::labelCount()
{
    QFETCH(int, height);
    QFETCH(int, lineHeight);
    QFETCH(int, spacing);
    QFETCH(int, count);
    QCOMPARE(ReaderLabelCount(height, lineHeight, spacing), count);
}

void TestReaderLayout::labelTops()
{
    QList<int> tops;
    for (int i = 0; i < ReaderLabelCount(200, 24, 2); ++i)
        tops << ReaderLabelTop(i, 24, 2);
    QCOMPARE(tops, (QList<int>{6, 32, 58, 84, 110, 136, 162}));
    // Spacing 0: each label starts where the one above ends.
    QCOMPARE(ReaderLabelTop(3, 18, 0), 6 + 3 * 18);
}

void TestReaderLayout::settingsLists_data()
{
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QList<int>>("numbers");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");
    QTest::newRow("intervals") << ReadTimerItems()
                               << QList<int>{50,   100,  150,  200,   250,   500,   750,  1000,
                                             1250, 1500, 1750, 2000,  2500,  3000,  3500, 4000,
                                             4500, 5000, 7500, 10000, 20000, 30000, 60000}
                               << "   00050"
                               << "   60000";
    QTest::newRow("font sizes") << FontSizeItems()
                                << QList<int>{4,  6,  8,  9,  10, 11, 12, 14,  16,
                                              18, 20, 22, 24, 26, 28, 36, 40,  44,
                                              48, 56, 64, 72, 80, 88, 96, 100, 120}
                                << "      04"
                                << "     120";
    QTest::newRow("spacings") << LabelSpaceItems()
                              << QList<int>{0, 2, 4, 6, 8, 10, 12, 14, 16, 18, 20} << "      00"
                              << "      20";
    QTest::newRow("steps") << LabelStepItems()
                           << QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 20, 25, 30, 40, 50, 0}
                           << "      01"
                           << "  1ﾍﾟｰｼﾞ毎";
}

void TestReaderLayout::settingsLists()
{
    QFETCH(QStringList, items);
    QFETCH(QList<int>, numbers);
    QFETCH(QString, first);
    QFETCH(QString, last);
    QCOMPARE(items.first(), first);
    QCOMPARE(items.last(), last);
    QCOMPARE(ItemNumbers(items), numbers);
    for (const QString& item : items) {
        if (item == LabelStepOnePageItem())
            continue;
        QCOMPARE(item.size(), 8);
        QVERIFY2(item.at(6).isDigit() && item.at(7).isDigit(), qPrintable(item));
    }
}

void TestReaderLayout::itemNumber_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<int>("number"); // -1: no number
    QTest::newRow("size") << "     100" << 100;
    QTest::newRow("zero padded") << "   01000" << 1000;
    QTest::newRow("zero") << "      00" << 0;
    QTest::newRow("one page") << "  1ﾍﾟｰｼﾞ毎" << -1;
    QTest::newRow("nothing selected") << "" << -1;
}

void TestReaderLayout::itemNumber()
{
    QFETCH(QString, item);
    QFETCH(int, number);
    QCOMPARE(ItemNumber(item).value_or(-1), number);
}

void TestReaderLayout::snapFontSize_data()
{
    QTest::addColumn<int>("chosen");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("size");
    QTest::newRow("13 to 14") << 13 << 7 << 14;
    QTest::newRow("7 to 8") << 7 << 2 << 8;
    QTest::newRow("130 to 120") << 130 << 26 << 120;
    QTest::newRow("exact 36") << 36 << 15 << 36;
    QTest::newRow("101 to 120") << 101 << 26 << 120;
    QTest::newRow("below the list") << 1 << 0 << 4;
}

void TestReaderLayout::snapFontSize()
{
    QFETCH(int, chosen);
    QFETCH(int, index);
    QFETCH(int, size);
    QCOMPARE(SnapFontSize(chosen), std::optional(TFontSizeChoice{index, size}));
    QCOMPARE(SnapFontSize(chosen, {}), std::nullopt);
}

void TestReaderLayout::stepRule_data()
{
    const QList<int> numbers = ItemNumbers(LabelStepItems());
    const int last = int(numbers.size()) - 1;
    QTest::addColumn<QList<int>>("numbers");
    QTest::addColumn<int>("selected");
    QTest::addColumn<int>("labelCount");
    QTest::addColumn<int>("slideStep");
    QTest::addColumn<bool>("changes");
    QTest::addColumn<int>("newStep");
    QTest::addColumn<int>("newIndex");
    QTest::newRow("50 with 7 labels is one page") << numbers << 14 << 7 << 1 << true << 7 << last;
    QTest::newRow("7 with 7 labels") << numbers << 6 << 7 << 1 << true << 7 << 6;
    QTest::newRow("same step changes nothing") << numbers << 2 << 7 << 3 << false << 0 << 0;
    QTest::newRow("one page follows the labels") << numbers << last << 9 << 7 << true << 9 << last;
    QTest::newRow("one page, same size") << numbers << last << 7 << 7 << false << 0 << 0;
    QTest::newRow("one page without labels is one line")
        << numbers << last << 0 << 5 << true << 1 << 0;
    QTest::newRow("zero step is one line") << QList<int>{0, 2, 0} << 0 << 7 << 3 << true << 1 << 0;
    QTest::newRow("negative step is one line")
        << QList<int>{2, -4, 0} << 1 << 7 << 3 << true << 1 << 0;
    QTest::newRow("nothing selected") << numbers << -1 << 7 << 3 << true << 1 << 0;
}

void TestReaderLayout::stepRule()
{
    QFETCH(QList<int>, numbers);
    QFETCH(int, selected);
    QFETCH(int, labelCount);
    QFETCH(int, slideStep);
    QFETCH(bool, changes);
    QFETCH(int, newStep);
    QFETCH(int, newIndex);
    const auto choice =
        LabelStepRule(selected, numbers, int(numbers.size()) - 1, labelCount, slideStep);
    QCOMPARE(choice.has_value(), changes);
    if (changes)
        QCOMPARE(*choice, (TLabelStepChoice{newStep, newIndex}));
}

QTEST_APPLESS_MAIN(TestReaderLayout)
#include "tst_readerlayout.moc"
