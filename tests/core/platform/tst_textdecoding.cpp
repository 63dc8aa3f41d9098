#include "platform/Cp932.h"
#include "platform/TextDecoding.h"

#include <QFile>
#include <QTest>

class TestTextDecoding : public QObject
{
    Q_OBJECT

private slots:
    void decode_data();
    void decode();
    void detection_data();
    void detection();
    void lineEnds_data();
    void lineEnds();
    void largeCp932KeepsEveryLine();
    void sampleProse();
};

void TestTextDecoding::decode_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");

    QTest::newRow("empty") << QByteArray() << QString();
    QTest::newRow("utf-8 bom") << QByteArray("\xef\xbb\xbf\xe3\x81\x82") << QStringLiteral("あ");
    QTest::newRow("utf-8 bom only") << QByteArray("\xef\xbb\xbf") << QString();
    QTest::newRow("utf-8 second bom is text") << QByteArray("\xef\xbb\xbf\xef\xbb\xbf"
                                                            "a")
                                              << QStringLiteral("\uFEFFa");
    QTest::newRow("utf-8 bom decides over cp932 bytes") << QByteArray("\xef\xbb\xbf"
                                                                      "a\x82\xa0"
                                                                      "b")
                                                        << QStringLiteral("a\uFFFD\uFFFDb");
    QTest::newRow("utf-8 bom, pure ascii") << QByteArray("\xef\xbb\xbf"
                                                         "abc")
                                           << QStringLiteral("abc");
    QTest::newRow("utf-16le bom") << QByteArray("\xff\xfe\x42\x30\x61\x00", 6)
                                  << QStringLiteral("あa");
    QTest::newRow("utf-16be bom") << QByteArray("\xfe\xff\x30\x42\x00\x61", 6)
                                  << QStringLiteral("あa");
    QTest::newRow("utf-16le surrogate pair")
        << QByteArray("\xff\xfe\x3d\xd8\x00\xde", 6) << QStringLiteral("\U0001F600");
    QTest::newRow("utf-16le lone high surrogate")
        << QByteArray("\xff\xfe\x3d\xd8\x61\x00", 6) << QStringLiteral("\uFFFDa");
    QTest::newRow("utf-16le lone low surrogate")
        << QByteArray("\xff\xfe\x61\x00\x00\xde", 6) << QStringLiteral("a\uFFFD");
    QTest::newRow("utf-16le cut in a unit")
        << QByteArray("\xff\xfe\x61\x00\x62", 5) << QStringLiteral("a\uFFFD");
    QTest::newRow("utf-16le bom only") << QByteArray("\xff\xfe") << QString();
    QTest::newRow("utf-8 without bom")
        << QByteArray("\xe6\x97\xa5\xe6\x9c\xac") << QStringLiteral("日本");
    // These bytes are also a CP932 kanji and a half-width katakana; valid UTF-8 wins.
    QTest::newRow("valid in both, utf-8 wins")
        << QByteArray("\xe6\x97\xa5") << QStringLiteral("日");
    QTest::newRow("cp932 kana and kanji")
        << QByteArray("\x82\xa0\x8a\xbf") << QStringLiteral("あ漢");
    QTest::newRow("cp932 backslash trail byte")
        << QByteArray("\x95\x5c\x8e\xa6") << QStringLiteral("表示");
    QTest::newRow("cp932 half-width katakana") << QByteArray("\xb1\xb2") << QStringLiteral("ｱｲ");
    QTest::newRow("ascii, backslash and tilde") << QByteArray("a\\b~c") << QStringLiteral("a\\b~c");
    QTest::newRow("cp932 lead byte at end")
        << QByteArray("\x82\xa0\x82") << QStringLiteral("あ\uFFFD");
    QTest::newRow("cp932 invalid trail keeps rest")
        << QByteArray("\x82\x20x\x82\xa0") << QStringLiteral("\uFFFD xあ");
    QTest::newRow("cp932 undefined byte")
        << QByteArray("\xff\x82\xa0") << QStringLiteral("\uFFFDあ");
    QTest::newRow("nul in ascii") << QByteArray("a\0b", 3) << QString::fromUtf16(u"a\0b", 3);
    QTest::newRow("nul in cp932") << QByteArray("\x82\xa0\0\x82\xa0", 5)
                                  << QString::fromUtf16(u"あ\0あ", 3);
    QTest::newRow("nul in utf-8") << QByteArray("\xe3\x81\x82\0", 4)
                                  << QString::fromUtf16(u"あ\0", 2);
}

void TestTextDecoding::decode()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(DecodeText(bytes), text);
}

// Which of the two decoders a file without a byte-order mark goes through.
void TestTextDecoding::detection_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("utf8");

    const QByteArray asciiRun(37, 'x');
    QTest::newRow("two-byte") << QByteArray("\xc3\xa9") << true;
    QTest::newRow("three-byte") << QByteArray("\xe3\x81\x82") << true;
    QTest::newRow("four-byte") << QByteArray("\xf0\x9f\x98\x80") << true;
    QTest::newRow("highest code point") << QByteArray("\xf4\x8f\xbf\xbf") << true;
    QTest::newRow("after a long ascii run") << asciiRun + "\xe3\x81\x82" + asciiRun << true;
    QTest::newRow("cp932 after a long ascii run") << asciiRun + "\x82\xa0" + asciiRun << false;
    QTest::newRow("utf-8 then cp932 later")
        << QByteArray("\xe3\x81\x82") + asciiRun + "\x82\xa0" << false;
    QTest::newRow("overlong two-byte") << QByteArray("\xc0\xaf") << false;
    QTest::newRow("overlong three-byte") << QByteArray("\xe0\x80\xaf") << false;
    QTest::newRow("overlong four-byte") << QByteArray("\xf0\x80\x80\xaf") << false;
    QTest::newRow("encoded surrogate") << QByteArray("\xed\xa0\x80") << false;
    QTest::newRow("above U+10FFFF") << QByteArray("\xf4\x90\x80\x80") << false;
    QTest::newRow("five-byte form") << QByteArray("\xf8\x88\x80\x80\x80") << false;
    QTest::newRow("lone continuation") << QByteArray("a\x80") << false;
    QTest::newRow("truncated at end") << QByteArray("\xe3\x81\x82\xe3\x81") << false;
    QTest::newRow("truncated before ascii") << QByteArray("\xe3\x81"
                                                          "abc")
                                            << false;
}

void TestTextDecoding::detection()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, utf8);
    const QString expected = utf8 ? QString::fromUtf8(bytes) : DecodeCp932(bytes);
    QCOMPARE(DecodeText(bytes), expected);
}

void TestTextDecoding::lineEnds_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");

    QTest::newRow("cr lf") << QByteArray("a\r\nb") << QStringLiteral("a\nb");
    QTest::newRow("lf") << QByteArray("a\nb") << QStringLiteral("a\nb");
    QTest::newRow("cr") << QByteArray("a\rb") << QStringLiteral("a\nb");
    QTest::newRow("lf cr is two") << QByteArray("a\n\rb") << QStringLiteral("a\n\nb");
    QTest::newRow("cr cr lf is two") << QByteArray("a\r\r\nb") << QStringLiteral("a\n\nb");
    QTest::newRow("mixed") << QByteArray("1\r\n2\n3\r4\r\n\r\n5")
                           << QStringLiteral("1\n2\n3\n4\n\n5");
    QTest::newRow("last line end dropped") << QByteArray("a\r\nb\r\n") << QStringLiteral("a\nb");
    QTest::newRow("only one dropped") << QByteArray("a\r\n\r\n") << QStringLiteral("a\n");
    QTest::newRow("final cr") << QByteArray("a\r") << QStringLiteral("a");
    QTest::newRow("one empty line") << QByteArray("\r\n") << QString();
    QTest::newRow("two empty lines") << QByteArray("\n\n") << QStringLiteral("\n");
    QTest::newRow("leading blank line") << QByteArray("\r\na") << QStringLiteral("\na");
    QTest::newRow("cp932") << QByteArray("\x82\xa0\r\n\x8a\xbf\r\x95\x5c\r\n")
                           << QStringLiteral("あ\n漢\n表");
    QTest::newRow("utf-8") << QByteArray("\xe3\x81\x82\r\n\xe3\x81\x84\r")
                           << QStringLiteral("あ\nい");
    QTest::newRow("utf-16le") << QByteArray("\xff\xfe"
                                            "a\0\r\0\n\0b\0\r\0c\0",
                                            14)
                              << QStringLiteral("a\nb\nc");
    QTest::newRow("utf-8 bom") << QByteArray("\xef\xbb\xbf"
                                             "a\rb\r\n")
                               << QStringLiteral("a\nb");
}

void TestTextDecoding::lineEnds()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(DecodeText(bytes), text);
}

// A file far larger than any buffer: every line arrives, in order, with nothing between.
void TestTextDecoding::largeCp932KeepsEveryLine()
{
    const QByteArray line("\x82\xa0\x82\xa2 \x8a\xbf\x8e\x9a\r\n");
    const int count = 200000;
    QByteArray bytes;
    bytes.reserve(line.size() * count);
    for (int i = 0; i < count; ++i)
        bytes += line;
    const QString text = DecodeText(bytes);
    const QStringList lines = text.split(u'\n');
    QCOMPARE(lines.size(), count);
    QVERIFY(std::all_of(lines.begin(), lines.end(),
                        [](const QString& l) { return l == QStringLiteral("あい 漢字"); }));
}

void TestTextDecoding::sampleProse()
{
    QFile file(QStringLiteral(QV_TESTDATA_DIR "/sample-prose.sjis.txt"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const QString text = DecodeText(bytes);
    QVERIFY(!text.contains(u'\r'));
    QVERIFY(!text.contains(QChar(0xFFFD)));
    QCOMPARE(text.count(u'\n') + 1, bytes.count("\r\n"));
    const QStringList lines = text.split(u'\n');
    QVERIFY(lines.contains(QStringLiteral("数学ライブラリ")));
    QVERIFY(lines.contains(QStringLiteral("相違点")));
}

QTEST_APPLESS_MAIN(TestTextDecoding)
#include "tst_textdecoding.moc"
