#include "platform/Cp932.h"
#include "platform/TextDecoding.h"
#include "platform/TextEncoding.h"
#include "tests/support/EncodeText.h"

#include <QFile>
#include <QTest>

Q_DECLARE_METATYPE(TSourceEncoding)

namespace {

QString SampleProse()
{
    QFile file(QStringLiteral(QV_TESTDATA_DIR "/sample-prose.sjis.txt"));
    return file.open(QIODevice::ReadOnly) ? DecodeText(file.readAll()) : QString();
}

} // namespace

class TestTextEncoding : public QObject
{
    Q_OBJECT

private slots:
    void detect_data();
    void detect();
    void wholeTextsRoundTrip_data();
    void wholeTextsRoundTrip();
    void decodeAs_data();
    void decodeAs();
};

void TestTextEncoding::detect_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<TSourceEncoding>("encoding");
    using E = TSourceEncoding;

    // "あいう。" in each encoding.
    QTest::newRow("cp932 kana") << QByteArray("\x82\xa0\x82\xa2\x82\xa4\x81\x42") << E::ShiftJis;
    QTest::newRow("euc-jp kana") << QByteArray("\xa4\xa2\xa4\xa4\xa4\xa6\xa1\xa3") << E::EucJp;
    QTest::newRow("jis kana") << QByteArray("\x1b$B$\"$$$&!#\x1b(B") << E::Jis;
    QTest::newRow("jis, no return to ascii") << QByteArray("\x1b$B$\"$$") << E::Jis;
    QTest::newRow("utf-8 kana") << QByteArray("\xe3\x81\x82\xe3\x81\x84") << E::Utf8;
    QTest::newRow("utf-16le, no bom") << QByteArray("\x42\x30\x44\x30\r\0\n\0", 8) << E::Utf16Le;
    QTest::newRow("utf-16be, no bom") << QByteArray("\x30\x42\x30\x44\0\r\0\n", 8) << E::Utf16Be;
    QTest::newRow("utf-16le ascii, no bom") << QByteArray("a\0b\0", 4) << E::Utf16Le;
    QTest::newRow("utf-16be bom") << QByteArray("\xfe\xff\x30\x42", 4) << E::Utf16Be;
    QTest::newRow("utf-8 bom") << QByteArray("\xef\xbb\xbf"
                                             "a")
                               << E::Utf8;
    QTest::newRow("ascii") << QByteArray("plain text\r\n") << E::ShiftJis;
    QTest::newRow("empty") << QByteArray() << E::ShiftJis;
    QTest::newRow("ascii with a terminal escape") << QByteArray("a\x1b[0m") << E::ShiftJis;
    QTest::newRow("jis with a broken escape") << QByteArray("\x1b$B$\"\x1b$Z") << E::ShiftJis;
    // Valid in both: half-width katakana in CP932, a kanji in EUC-JP. In doubt, CP932.
    QTest::newRow("half-width katakana") << QByteArray("\xb1\xb2") << E::ShiftJis;
    QTest::newRow("half-width katakana line")
        << QByteArray("\xc3\xde\xa8\xbd\xb8\xa6\xc4\xd8\xc0\xde\xbd") << E::ShiftJis;
    // EUC-JP kanji only (院): valid in both, no kana to tell.
    QTest::newRow("euc-jp kanji only") << QByteArray("\xb1\xa1") << E::ShiftJis;
    QTest::newRow("euc-jp 3-byte jis x 0212") << QByteArray("\x8f\xb0\xa1\xa4\xa2") << E::EucJp;
    // A CP932 hiragana first, then EUC-JP: valid in neither, so CP932 as today.
    QTest::newRow("mixed cp932 and euc-jp")
        << QByteArray("\x82\xa0\xa4\xa2\xa4\xa4\xa4\xa6\r\n") << E::ShiftJis;
    QTest::newRow("nul in cp932") << QByteArray("\x82\xa0\0\x82\xa0\0", 6) << E::ShiftJis;
    QTest::newRow("binary with nul")
        << QByteArray("\x01\x02\0\x05\xff\xfe\x80\0", 8) << E::ShiftJis;
    // A line end and a lone surrogate: a damaged UTF-16 text, shown with U+FFFD.
    QTest::newRow("utf-16le, lone surrogate") << QByteArray("\r\0\n\0\0\xd8", 6) << E::Utf16Le;
    QTest::newRow("utf-16be, lone surrogate") << QByteArray("\0\r\0\n\xd8\0", 6) << E::Utf16Be;
    // UTF-16 with no NUL byte: no ASCII, no line end. "吾輩は猫である。"
    const QByteArray catLe("\x3e\x54\x29\x8f\x6f\x30\x2b\x73\x67\x30\x42\x30\x8b\x30\x02\x30");
    QTest::newRow("utf-16le, no nul") << catLe << E::Utf16Le;
    QTest::newRow("utf-16be, no nul")
        << QByteArray("\x54\x3e\x8f\x29\x30\x6f\x73\x2b\x30\x67\x30\x42\x30\x8b\x30\x02")
        << E::Utf16Be;
    // "𠮟", a surrogate pair, after it; a lone surrogate makes it no UTF-16.
    QTest::newRow("utf-16le, no nul, pair") << catLe + "\x42\xd8\x9f\xdf" << E::Utf16Le;
    QTest::newRow("utf-16le, no nul, lone surrogate") << catLe + "\x3d\xd8" << E::ShiftJis;
    // "日本語のテキスト" in UTF-16LE is also valid CP932 ("蠹e,g..."): its kana decide.
    QTest::newRow("utf-16le, no nul, valid cp932")
        << QByteArray("\xe5\x65\x2c\x67\x9e\x8a\x6e\x30\xc6\x30\xad\x30\xb9\x30\xc8\x30")
        << E::Utf16Le;
    // CP932 kanji "日本語" read as UTF-16BE are kanji too, but without a single kana.
    QTest::newRow("cp932 kanji, even length")
        << QByteArray("\x93\xfa\x96\x7b\x8c\xea") << E::ShiftJis;
    // Ambiguous, so CP932: UTF-16BE "日本" (no kana), valid CP932 "e" + kanji + ",".
    QTest::newRow("utf-16be kanji only, no nul") << QByteArray("\x65\xe5\x67\x2c") << E::ShiftJis;
    // The start alone decides nothing: UTF-16LE "あ" lines for 72 KB, CP932 "あい" lines after.
    const QByteArray utf16Start = QByteArray("\x42\x30\r\0\n\0", 6).repeated(12000);
    QTest::newRow("utf-16le start, cp932 after")
        << utf16Start + QByteArray("\x82\xa0\x82\xa2\r\n").repeated(20000) << E::ShiftJis;
    // UTF-16LE "あい" is the ASCII "B0D0": ASCII stays ASCII.
    QTest::newRow("utf-16le hiragana as ascii") << QByteArray("B0D0") << E::ShiftJis;
}

void TestTextEncoding::detect()
{
    QFETCH(QByteArray, bytes);
    QFETCH(TSourceEncoding, encoding);
    QCOMPARE(TextEncodingName(DetectTextEncoding(bytes)), TextEncodingName(encoding));
    // The text read is the text of the encoding named, whatever was decoded on the way.
    QCOMPARE(DecodeText(bytes), DecodeTextAs(bytes, encoding));
}

// Whole texts, with and without Japanese, written in each encoding come back as they were.
void TestTextEncoding::wholeTextsRoundTrip_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("iconvName");
    QTest::addColumn<TSourceEncoding>("encoding");
    using E = TSourceEncoding;

    const QString prose = SampleProse();
    QVERIFY(prose.size() > 1000);
    const QString english =
        QStringLiteral("The quick brown fox\njumps over the lazy dog.\n").repeated(40).chopped(1);
    const struct
    {
        const char* Iconv;
        E Encoding;
    } encodings[] = {{"CP932", E::ShiftJis}, {"EUC-JP-MS", E::EucJp},  {"ISO-2022-JP", E::Jis},
                     {"UTF-8", E::Utf8},     {"UTF-16LE", E::Utf16Le}, {"UTF-16BE", E::Utf16Be}};
    for (const auto& e : encodings) {
        QTest::addRow("prose %s", e.Iconv) << prose << QByteArray(e.Iconv) << e.Encoding;
        const E plain =
            e.Encoding == E::Utf16Le || e.Encoding == E::Utf16Be ? e.Encoding : E::ShiftJis;
        QTest::addRow("english %s", e.Iconv) << english << QByteArray(e.Iconv) << plain;
    }
    // Japanese alone, with no line end, ASCII or unit holding a NUL byte: UTF-16 is told by its
    // units, and CP932 (whose lead bytes read as UTF-16BE are kanji) is not taken for it.
    QString japanese;
    for (const QChar c : prose) {
        if (c.unicode() >= 0x3000 && (c.unicode() & 0xFF) != 0)
            japanese += c;
    }
    for (const auto& e : encodings) {
        if (e.Encoding != E::Jis && e.Encoding != E::Utf8)
            QTest::addRow("japanese only %s", e.Iconv)
                << japanese << QByteArray(e.Iconv) << e.Encoding;
    }
    // A single line without a line end: "数学ライブラリ".
    const QString line = prose.section(u'\n', 2, 2);
    QTest::addRow("one line euc-jp") << line << QByteArray("EUC-JP-MS") << E::EucJp;
}

void TestTextEncoding::wholeTextsRoundTrip()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, iconvName);
    QFETCH(TSourceEncoding, encoding);
    QString crlf = text;
    crlf.replace(u'\n', QStringLiteral("\r\n"));
    const QByteArray bytes = EncodeText(crlf, iconvName.constData());
    QVERIFY2(!bytes.isEmpty(), iconvName.constData());
    QCOMPARE(TextEncodingName(DetectTextEncoding(bytes)), TextEncodingName(encoding));
    QCOMPARE(DecodeText(bytes), text);
}

void TestTextEncoding::decodeAs_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<TSourceEncoding>("encoding");
    QTest::addColumn<QString>("text");
    using E = TSourceEncoding;

    QTest::newRow("utf-16le bom removed")
        << QByteArray("\xff\xfe\x42\x30", 4) << E::Utf16Le << QStringLiteral("あ");
    QTest::newRow("utf-16be odd byte")
        << QByteArray("\x30\x42\x30", 3) << E::Utf16Be << QStringLiteral("あ\uFFFD");
    QTest::newRow("utf-8 bom removed")
        << QByteArray("\xef\xbb\xbf\xe3\x81\x82") << E::Utf8 << QStringLiteral("あ");
    QTest::newRow("euc-jp nec symbol and wave dash")
        << QByteArray("\xad\xa1\xa1\xc1") << E::EucJp << QStringLiteral("①～");
    QTest::newRow("euc-jp half-width katakana")
        << QByteArray("\x8e\xb1") << E::EucJp << QStringLiteral("ｱ");
    QTest::newRow("euc-jp invalid byte kept apart")
        << QByteArray("\xa4\xa2\xff\xa4\xa2\r\n") << E::EucJp << QStringLiteral("あ\uFFFDあ");
    QTest::newRow("jis half-width katakana and jis x 0212")
        << QByteArray("\x1b(I1\x1b$(D0!\x1b(Ba") << E::Jis << QStringLiteral("ｱ丂a");
    QTest::newRow("jis line ends inside kanji mode")
        << QByteArray("\x1b$B$\"\r\n$\"\x1b(B") << E::Jis << QStringLiteral("あ\nあ");
    QTest::newRow("jis eight-bit byte")
        << QByteArray("a\xa4z") << E::Jis << QStringLiteral("a\uFFFDz");
    // Read as the user asked: the decoder's own idea of bytes that are no EUC-JP.
    QTest::newRow("cp932 read as euc-jp")
        << QByteArray("\x82\xa0") << E::EucJp << QStringLiteral("\u0082\uFFFD");
}

void TestTextEncoding::decodeAs()
{
    QFETCH(QByteArray, bytes);
    QFETCH(TSourceEncoding, encoding);
    QFETCH(QString, text);
    QCOMPARE(DecodeTextAs(bytes, encoding), text);
}

QTEST_APPLESS_MAIN(TestTextEncoding)
#include "tst_textencoding.moc"
