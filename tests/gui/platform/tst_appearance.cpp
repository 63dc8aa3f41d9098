#include "platform/Colors.h"
#include "platform/Fonts.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QPalette>
#include <QTest>

// Stored colours and font names as the settings file keeps them, and what they show as here.
class TestAppearance : public QObject
{
    Q_OBJECT

private slots:
    void colors_data();
    void colors();
    void colorRoundTrip();
    void displayFamily_data();
    void displayFamily();
    void storedNameKept();
};

void TestAppearance::colors_data()
{
    QTest::addColumn<int>("stored");
    QTest::addColumn<QColor>("shown");
    const QPalette p = QGuiApplication::palette();
    QTest::newRow("black") << 0 << QColor(0, 0, 0);
    QTest::newRow("red is the low byte") << 0x0000FF << QColor(255, 0, 0);
    QTest::newRow("blue is the third byte") << 0xFF0000 << QColor(0, 0, 255);
    QTest::newRow("mixed") << 0x123456 << QColor(0x56, 0x34, 0x12);
    QTest::newRow("button face") << int(0x8000000Fu) << p.color(QPalette::Button);
    QTest::newRow("window") << int(0x80000005u) << p.color(QPalette::Base);
    QTest::newRow("window text") << int(0x80000008u) << p.color(QPalette::Text);
    QTest::newRow("unknown system colour") << int(0x800000FEu) << p.color(QPalette::Window);
}

void TestAppearance::colors()
{
    QFETCH(int, stored);
    QFETCH(QColor, shown);
    QCOMPARE(ColorFromTColor(stored), shown);
}

void TestAppearance::colorRoundTrip()
{
    for (int value : {0, 0x0000FF, 0x00FF00, 0xFF0000, 0x123456, 0xFFFFFF})
        QCOMPARE(TColorFromColor(ColorFromTColor(value)), value);
    QCOMPARE(TColorFromColor(QColor(Qt::red)), 0x0000FF);
}

void TestAppearance::displayFamily_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("family");
    QTest::newRow("proportional gothic") << "ＭＳ Ｐゴシック"
                                         << "IPAPGothic";
    QTest::newRow("fixed gothic") << "ＭＳ ゴシック"
                                  << "IPAGothic";
    QTest::newRow("proportional mincho") << "ＭＳ Ｐ明朝"
                                         << "IPAPMincho";
    QTest::newRow("fixed mincho") << "ＭＳ 明朝"
                                  << "IPAMincho";
    QTest::newRow("latin spelling") << "MS PGothic"
                                    << "IPAPGothic";
    QTest::newRow("ui gothic") << "MS UI Gothic"
                               << "IPAPGothic";
    QTest::newRow("an installed face stays") << "IPAMincho"
                                             << "IPAMincho";
}

void TestAppearance::displayFamily()
{
    QFETCH(QString, stored);
    QFETCH(QString, family);
    QCOMPARE(DisplayFamilyFor(stored), family);
    if (!QFontDatabase::hasFamily(family))
        QSKIP("the IPA fonts are not installed");
    QCOMPARE(QFontInfo(FontFromSpec({stored, 12})).family(), family);
}

void TestAppearance::storedNameKept()
{
    const TFontSpec stored{
        QStringLiteral("ＭＳ Ｐゴシック"), 12, true, false, true, false, 0x123456};
    const QFont shown = FontFromSpec(stored);
    QCOMPARE(shown.pointSize(), 12);
    QVERIFY(shown.bold() && shown.underline() && !shown.italic());
    // The user keeps the face: the stored Windows name comes back, not the stand-in.
    QCOMPARE(SpecFromFont(shown, stored.Color, stored.Name), stored);
    // The user picks another face: that one is stored.
    QFont other = shown;
    other.setFamily(QStringLiteral("IPAMincho"));
    QCOMPARE(SpecFromFont(other, 0, stored.Name).Name, QStringLiteral("IPAMincho"));
}

QTEST_MAIN(TestAppearance)
#include "tst_appearance.moc"
