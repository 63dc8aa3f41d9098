#include "platform/Cp932.h"

#include <QRandomGenerator>
#include <QTest>

class TestCp932 : public QObject
{
    Q_OBJECT

private slots:
    void decode_data();
    void decode();
    void encode_data();
    void encode();
    void encodeTableAgreesWithIconv();
    void tablesAgreeWithIconv_data();
    void tablesAgreeWithIconv();
    void width_data();
    void width();
};

void TestCp932::decode_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("ascii") << QByteArray("abc") << QStringLiteral("abc");
    QTest::newRow("kana and kanji") << QByteArray("\x82\xa0\x8a\xbf") << QStringLiteral("あ漢");
    QTest::newRow("half-width katakana") << QByteArray("\xb1") << QString(QChar(0xFF71));
    QTest::newRow("control bytes kept")
        << QByteArray("\x1a\x1c\x7f") << QStringLiteral("\x1a\x1c\x7f");
    QTest::newRow("backslash trail byte") << QByteArray("\x95\x5c") << QStringLiteral("表");
    QTest::newRow("nul kept") << QByteArray("a\0b", 3) << QString::fromUtf16(u"a\0b", 3);
    QTest::newRow("lead byte at end") << QByteArray("a\x82") << QStringLiteral("a\uFFFD");
    QTest::newRow("invalid trail keeps ascii")
        << QByteArray("\x82\x20x") << QStringLiteral("\uFFFD x");
    QTest::newRow("undefined byte") << QByteArray("\xff"
                                                  "a")
                                    << QStringLiteral("\uFFFDa");
    QTest::newRow("empty") << QByteArray() << QString();
}

void TestCp932::decode()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(DecodeCp932(bytes), text);
}

void TestCp932::encode_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("encodable");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("kanji") << QStringLiteral("表示") << true << QByteArray("\x95\x5c\x8e\xa6");
    QTest::newRow("full-width space") << QStringLiteral("\u3000") << true << QByteArray("\x81\x40");
    QTest::newRow("emoji") << QStringLiteral("a\U0001F600") << false << QByteArray();
    QTest::newRow("hangul") << QStringLiteral("한") << false << QByteArray();
    QTest::newRow("empty") << QString() << true << QByteArray();
    // Characters with two CP932 forms get the one iconv chooses.
    QTest::newRow("duplicate form")
        << QStringLiteral("\u2252\u2235") << true << QByteArray("\x81\xe0\x81\xe6");
    QTest::newRow("replacement character") << QStringLiteral("a\uFFFD") << false << QByteArray();
    QTest::newRow("lone surrogate") << QString(QChar(0xD800)) << false << QByteArray();
}

void TestCp932::encode()
{
    QFETCH(QString, text);
    QFETCH(bool, encodable);
    QFETCH(QByteArray, bytes);
    const auto result = EncodeCp932(text);
    QCOMPARE(result.has_value(), encodable);
    if (encodable) {
        QCOMPARE(*result, bytes);
        QCOMPARE(DecodeCp932(*result), text);
    }
    QCOMPARE(FirstNonCp932(text) < 0, encodable);
    QByteArray appended("x");
    QCOMPARE(AppendCp932(text, appended), encodable);
    QCOMPARE(appended, encodable ? "x" + bytes : QByteArray("x"));
}

// Every character that some CP932 bytes decode to, encoded by the table and by iconv.
void TestCp932::encodeTableAgreesWithIconv()
{
    QByteArray pairs;
    for (int b = 0x81; b < 256; ++b)
        for (int t = 0x40; t < 256; ++t)
            pairs.append(char(b)).append(char(t));
    QString text = DecodeCp932(pairs);
    text.remove(QChar(0xFFFD));
    QVERIFY(text.size() > 7000);
    const auto reference = EncodeCp932(text);
    QVERIFY(reference.has_value());
    QByteArray ours;
    QVERIFY(AppendCp932(text, ours));
    QCOMPARE(ours, *reference);
    QCOMPARE(FirstNonCp932(text), qsizetype(-1));
}

void TestCp932::tablesAgreeWithIconv_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QByteArray pairs;
    for (int b = 0; b < 256; ++b)
        for (int t = 0; t < 256; ++t)
            pairs.append(char(b)).append(char(t));
    QTest::newRow("every byte pair") << pairs;
    QTest::newRow("every pair shifted by one") << pairs.mid(1);
    QTest::newRow("lead byte at the end") << QByteArray("abc\x88");
    for (quint32 seed : {1u, 2u, 3u}) {
        QRandomGenerator random(seed);
        QByteArray noise(100000, Qt::Uninitialized);
        for (char& c : noise)
            c = char(random.bounded(256));
        QTest::newRow(qPrintable(QStringLiteral("random %1").arg(seed))) << noise;
    }
}

// The decoder's tables are read from iconv; whatever the bytes, both give the same text.
void TestCp932::tablesAgreeWithIconv()
{
    QFETCH(QByteArray, bytes);
    QCOMPARE(DecodeCp932(bytes), DecodeCp932WithIconv(bytes));
}

void TestCp932::width_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("width");
    QTest::newRow("ascii") << QStringLiteral("ab") << 2;
    QTest::newRow("kanji") << QStringLiteral("第1章") << 5;
    QTest::newRow("half-width katakana") << QStringLiteral("ﾍﾟｰｼﾞ") << 5;
    QTest::newRow("surrogate pair") << QStringLiteral("\U00020B9F") << 2;
}

void TestCp932::width()
{
    QFETCH(QString, text);
    QFETCH(int, width);
    QCOMPARE(Cp932Width(text), width);
}

QTEST_APPLESS_MAIN(TestCp932)
#include "tst_cp932.moc"
