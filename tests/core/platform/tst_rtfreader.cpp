#include "platform/RtfReader.h"
#include "platform/TextDecoding.h"

#include <QFile>
#include <QTest>

class TestRtfReader : public QObject
{
    Q_OBJECT

private slots:
    void isRtf_data();
    void isRtf();
    void text_data();
    void text();
    void codePages_data();
    void codePages();
    void unicode_data();
    void unicode();
    void destinations_data();
    void destinations();
    void malformed_data();
    void malformed();
    void deepNesting_data();
    void deepNesting();
    void longTokens_data();
    void longTokens();
    void sampleProse();
};

namespace {

void AddRows(const std::initializer_list<std::tuple<const char*, QByteArray, QString>>& rows)
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("text");
    for (const auto& [name, rtf, text] : rows)
        QTest::newRow(name) << rtf << text;
}

void CompareText()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, text);
    QCOMPARE(RtfToPlainText(rtf), text);
}

} // namespace

void TestRtfReader::isRtf_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("rtf");
    QTest::newRow("rtf") << QByteArray("{\\rtf1\\ansi x}") << true;
    QTest::newRow("header only") << QByteArray("{\\rtf") << true;
    QTest::newRow("cut header") << QByteArray("{\\rt") << false;
    QTest::newRow("leading blank") << QByteArray(" {\\rtf1 x}") << false;
    QTest::newRow("utf-8 bom first") << QByteArray("\xef\xbb\xbf{\\rtf1 x}") << false;
    QTest::newRow("plain text") << QByteArray("rtf") << false;
    QTest::newRow("empty") << QByteArray() << false;
}

void TestRtfReader::isRtf()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, rtf);
    QCOMPARE(IsRtf(bytes), rtf);
}

void TestRtfReader::text_data()
{
    AddRows({
        {"plain", "{\\rtf1\\ansi Hello}", "Hello"},
        {"word delimiter space eaten", "{\\rtf1 a\\b b\\b0 c}", "abc"},
        {"second space kept", "{\\rtf1 a\\b  b}", "a b"},
        {"paragraphs", "{\\rtf1 a\\par b\\par}", "a\nb"},
        {"empty paragraph", "{\\rtf1 a\\par\\par b\\par}", "a\n\nb"},
        {"line sect page", "{\\rtf1 a\\line b\\sect c\\page d}", "a\nb\nc\nd"},
        {"source line ends ignored", "{\\rtf1 ab\r\ncd\ne\rf}", "abcdef"},
        {"backslash before line end", "{\\rtf1 a\\\nb\\\r\nc}", "a\nb\nc"},
        {"tab", "{\\rtf1 a\\tab b}", "a\tb"},
        {"escaped symbols", "{\\rtf1 \\{x\\}\\\\}", "{x}\\"},
        {"no-break space and optional hyphen", "{\\rtf1 a\\~b\\-c\\_d}", "a\u00A0bc\u2011d"},
        {"typographic words", "{\\rtf1 \\emdash\\endash\\lquote\\rquote\\ldblquote x\\rdblquote}",
         "\u2014\u2013\u2018\u2019\u201Cx\u201D"},
        {"unknown word ignored", "{\\rtf1 a\\foo12 b\\bar-3 c}", "abc"},
        {"minus without digits is text", "{\\rtf1 a\\fs-b}", "a-b"},
        {"groups", "{\\rtf1 a{\\b b{\\i c}}d}", "abcd"},
        {"table row", "{\\rtf1 \\trowd\\cellx100\\cellx200 a\\cell b\\cell\\row}", "a\tb"},
        {"table rows and text",
         "{\\rtf1 x\\par\\trowd a\\cell b\\cell\\row\\trowd c\\cell\\cell\\row y}",
         "x\na\tb\nc\t\ny"},
        {"table cell with paragraphs", "{\\rtf1 \\trowd a\\par b\\cell c\\cell\\row}", "a\nb\tc"},
        {"field result kept", "{\\rtf1 {\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt link}}.}",
         "link."},
        {"field instruction without star", "{\\rtf1 p{\\field{\\fldinst PAGE}{\\fldrslt 3}}}",
         "p3"},
        {"binary data may hold braces", "{\\rtf1 a{\\pict\\bin4 {}}\\}b}", "ab"},
        {"binary data in the body", "{\\rtf1 a\\bin3 xyzb}", "ab"},
        {"hex 0d is a line end", "{\\rtf1 a\\'0d\\'0ab}", "a\nb"},
        {"empty document", "{\\rtf1}", ""},
        {"final paragraph mark dropped once", "{\\rtf1 a\\par\\par}", "a\n"},
    });
}

void TestRtfReader::text()
{
    CompareText();
}

void TestRtfReader::codePages_data()
{
    const QByteArray fonts1252("{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0\\fcharset0 Times;}"
                               "{\\f1\\fcharset128 \\'82\\'6c\\'82\\'72 Mincho;}}");
    const QByteArray deff1(
        "{\\rtf1\\ansi\\ansicpg1252\\deff1{\\fonttbl{\\f0\\fcharset0 A;}{\\f1\\fcharset128 B;}}");
    AddRows({
        {"ansicpg932 hex", "{\\rtf1\\ansi\\ansicpg932 \\'82\\'a0\\'8a\\'bf}", "あ漢"},
        {"no code page named is cp932", "{\\rtf1\\ansi \\'82\\'a0}", "あ"},
        {"ansicpg1252", "{\\rtf1\\ansi\\ansicpg1252 caf\\'e9 \\'80\\'85}", "café €…"},
        {"1252 bytes left undefined", "{\\rtf1\\ansicpg1252 \\'81\\'9d}", "\u0081\u009D"},
        {"raw cp932 bytes", "{\\rtf1\\ansi\\ansicpg932 \x82\xa0\x82\xa2}", "あい"},
        {"backslash trail byte", "{\\rtf1\\ansicpg932 \\'95\\'5c\\'8e\\'a6}", "表示"},
        {"pair split between raw and hex", "{\\rtf1\\ansicpg932 \x82\\'a0}", "あ"},
        {"pair across a word", "{\\rtf1\\ansicpg932 \\'82\\b\\'a0}", "あ"},
        {"pair broken by a paragraph", "{\\rtf1\\ansicpg932 \\'82\\par\\'82\\'a0}", "\uFFFD\nあ"},
        {"lead byte cut by unicode", "{\\rtf1\\ansicpg932 \\'82\\u12354?}", "\uFFFDあ"},
        {"half-width katakana", "{\\rtf1\\ansicpg932 \\'b1\\'b2}", "ｱｲ"},
        {"fonts switch code page", fonts1252 + "\\f0 caf\\'e9 \\f1\\'82\\'a0\\f0\\'e9}",
         "café あé"},
        {"font names not in text", fonts1252 + "x}", "x"},
        {"default font's charset", deff1 + "\\'82\\'a0}", "あ"},
        {"plain returns to default font", deff1 + "\\f0\\'e9\\plain\\'82\\'a0}", "éあ"},
        {"font ends with its group", deff1 + "{\\f0\\'e9}\\'82\\'a0}", "éあ"},
        {"font without charset follows document",
         "{\\rtf1\\ansicpg932{\\fonttbl{\\f0 X;}}\\f0\\'82\\'a0}", "あ"},
        {"default charset follows document",
         "{\\rtf1\\ansicpg932{\\fonttbl{\\f0\\fcharset1 X;}}\\f0\\'82\\'a0}", "あ"},
        {"unknown font follows document", "{\\rtf1\\ansicpg932\\f9\\'82\\'a0}", "あ"},
        {"font code page wins over charset",
         "{\\rtf1{\\fonttbl{\\f0\\fcharset0\\cpg65001 X;}}\\f0\\'e3\\'81\\'82}", "あ"},
        {"font table without entry groups",
         "{\\rtf1\\ansicpg1252{\\fonttbl\\f0\\fcharset0 A;\\f1\\fcharset128 B;}\\f1\\'82\\'a0}",
         "あ"},
        {"font table entry with alternate name",
         "{\\rtf1\\ansicpg1252{\\fonttbl{\\f1\\fcharset128{\\*\\falt Gothic}M;}}\\f1\\'82\\'a0}",
         "あ"},
        {"double-byte run takes its associated font",
         "{\\rtf1\\ansi\\ansicpg932\\deff0{\\fonttbl{\\f0\\fcharset0 Century;}"
         "{\\f13\\fcharset128 M;}}\\loch\\af0\\hich\\af0\\dbch\\af13 \\'82\\'a0"
         "\\loch\\f0 caf\\'e9}",
         "あcafé"},
        {"associated font of other classes ignored",
         "{\\rtf1\\ansicpg1252{\\fonttbl{\\f0\\fcharset0 A;}{\\f1\\fcharset128 B;}}"
         "\\f0\\hich\\af1\\'e9\\loch\\af1\\'e9}",
         "éé"},
        {"double-byte default font",
         "{\\rtf1\\ansicpg1252\\deff0\\stshfdbch1{\\fonttbl{\\f0\\fcharset0 A;}"
         "{\\f1\\fcharset128 B;}}\\dbch\\'82\\'a0}",
         "あ"},
        {"double-byte font ends with plain",
         "{\\rtf1\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fcharset0 A;}{\\f1\\fcharset128 B;}}"
         "\\dbch\\af1\\'82\\'a0\\plain\\'e9}",
         "あé"},
        {"gbk font", "{\\rtf1{\\fonttbl{\\f0\\fcharset134 S;}}\\f0\\'c4\\'e3}", "你"},
        {"cyrillic font", "{\\rtf1{\\fonttbl{\\f0\\fcharset204 C;}}\\f0\\'c4\\'e0}", "Да"},
        {"mac document", "{\\rtf1\\mac \\'8e}", "é"},
        // These pages hold a letter back in case an accent follows it.
        {"hebrew last letter", "{\\rtf1\\ansi\\ansicpg1255 \\'f9\\'ec\\'e5\\'ed}", "שלום"},
        {"hebrew letter before a bad byte", "{\\rtf1\\ansicpg1255 \\'f9\\'ff}", "ש\uFFFD"},
        {"vietnamese letter alone", "{\\rtf1\\ansicpg1258 \\'c0}", "À"},
        {"vietnamese accent joins its letter", "{\\rtf1\\ansicpg1258 a\\'cc}", "à"},
        {"code page no one knows is 1252", "{\\rtf1\\ansicpg12345 \\'e9}", "é"},
    });
}

void TestRtfReader::codePages()
{
    CompareText();
}

void TestRtfReader::unicode_data()
{
    AddRows({
        {"default skips one", "{\\rtf1 \\u12354?x}", "あx"},
        {"negative value", "{\\rtf1 \\u-243?}", "\uFF0D"},
        {"uc2 with hex pair", "{\\rtf1\\ansicpg932\\uc2 \\u24207\\'8f\\'98\\u12354\\'82\\'a0}",
         "序あ"},
        {"uc0", "{\\rtf1 \\uc0\\u12354 x}", "あx"},
        {"fallback in a plain run", "{\\rtf1 \\uc2\\u12354 abc}", "あc"},
        {"fallback counts a control word", "{\\rtf1 \\u12354\\par x}", "あx"},
        {"fallback counts an escaped symbol", "{\\rtf1 \\uc2\\u12354\\{\\}x}", "あx"},
        {"fallback ends at a group end", "{\\rtf1 {\\uc3\\u12354 a}bc}", "あbc"},
        {"fallback ends at a group start", "{\\rtf1 \\uc3\\u12354{a}bc}", "あabc"},
        {"uc ends with its group", "{\\rtf1 {\\uc2 \\u12354\\'82\\'a0}\\u12354?}", "ああ"},
        {"surrogate pair", "{\\rtf1 \\u-10179?\\u-8704?}", "\U0001F600"},
        {"lone surrogate", "{\\rtf1 \\u-10179?x}", "\uFFFDx"},
        {"code point above the basic plane", "{\\rtf1 \\u128512?}", "\U0001F600"},
        {"value beyond unicode", "{\\rtf1 \\u99999999999999?x}", "\uFFFDx"},
        {"huge negative value", "{\\rtf1 \\u-99999999999?x}", "\uFFFDx"},
        {"zero gives nothing", "{\\rtf1 a\\u0?b}", "ab"},
        {"huge skip count", "{\\rtf1 \\uc99999999999\\u12354 abc}x}", "あ"},
        {"negative skip count", "{\\rtf1 \\uc-5\\u12354 x}", "あx"},
        {"u without number", "{\\rtf1 a\\u b}", "ab"},
        {"underline is not u", "{\\rtf1 \\ul a\\ulnone}", "a"},
    });
}

void TestRtfReader::unicode()
{
    CompareText();
}

void TestRtfReader::destinations_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("text");
    const QByteArrayList words =
        QByteArray("fonttbl colortbl stylesheet info pict object header footer headerl headerr "
                   "footerl footerr headerf footerf listtable listoverridetable rsidtbl generator "
                   "xmlnstbl themedata colorschememapping latentstyles datastore fldinst "
                   "nonshppict annotation atnid filetbl revtbl pn")
            .split(' ');
    for (const QByteArray& word : words) {
        QTest::newRow(word.constData())
            << QByteArray("{\\rtf1 a{\\") + word + " hidden{\\b nested}\\'82\\'a0\\u12354 ?}b}"
            << QStringLiteral("ab");
    }
    QTest::newRow("unknown starred")
        << QByteArray("{\\rtf1 a{\\*\\whatever x{y}}b}") << QStringLiteral("ab");
    QTest::newRow("starred known word")
        << QByteArray("{\\rtf1 a{\\*\\par x}b}") << QStringLiteral("ab");
    QTest::newRow("destination word at top level hides nothing")
        << QByteArray("{\\rtf1 \\info a\\*b}") << QStringLiteral("ab");
    QTest::newRow("text after the destination")
        << QByteArray("{\\rtf1 {\\info x}{\\b a}}") << QStringLiteral("a");
}

void TestRtfReader::destinations()
{
    CompareText();
}

void TestRtfReader::malformed_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("text");
    QTest::newRow("truncated in text") << QByteArray("{\\rtf1 abc") << QStringLiteral("abc");
    QTest::newRow("truncated in a group") << QByteArray("{\\rtf1 {\\b a") << QStringLiteral("a");
    QTest::newRow("truncated in a destination")
        << QByteArray("{\\rtf1 a{\\info x") << QStringLiteral("a");
    QTest::newRow("truncated hex") << QByteArray("{\\rtf1 a\\'8") << QStringLiteral("a");
    QTest::newRow("hex with one digit") << QByteArray("{\\rtf1 a\\'4x}") << QStringLiteral("ax");
    QTest::newRow("truncated after lead byte")
        << QByteArray("{\\rtf1\\ansicpg932 a\\'82") << QStringLiteral("a\uFFFD");
    QTest::newRow("lone backslash at end") << QByteArray("{\\rtf1 a\\") << QStringLiteral("a");
    QTest::newRow("truncated word") << QByteArray("{\\rtf1 a\\pa") << QStringLiteral("a");
    QTest::newRow("truncated after a word") << QByteArray("{\\rtf1 a\\uc") << QStringLiteral("a");
    QTest::newRow("extra close ends the document")
        << QByteArray("{\\rtf1 a}}b}") << QStringLiteral("a");
    QTest::newRow("text after the document")
        << QByteArray("{\\rtf1 a}\r\nb") << QStringLiteral("a");
    QTest::newRow("close before the document") << QByteArray("}}{\\rtf1 a}") << QStringLiteral("a");
    QTest::newRow("nul bytes") << QByteArray("{\\rtf1 a\0b\\'00c\0}", 18) << QStringLiteral("abc");
    QTest::newRow("nul ends a word")
        << QByteArray("{\\rtf1 \\pa\0r x}", 15) << QStringLiteral("r x");
    QTest::newRow("huge bin") << QByteArray("{\\rtf1 a\\bin99999999999 xyz}")
                              << QStringLiteral("a");
    QTest::newRow("bin longer than the file")
        << QByteArray("{\\rtf1 a\\bin100 xyz}") << QStringLiteral("a");
    QTest::newRow("negative bin") << QByteArray("{\\rtf1 a\\bin-5 b}") << QStringLiteral("ab");
    QTest::newRow("huge parameters") << QByteArray("{\\rtf1 \\fs99999999999999999999 a"
                                                   "\\f-99999999999999999999 b\\ansicpg-1 c}")
                                     << QStringLiteral("abc");
    QTest::newRow("no document group") << QByteArray("plain") << QStringLiteral("plain");
}

void TestRtfReader::malformed()
{
    CompareText();
}

void TestRtfReader::deepNesting_data()
{
    QTest::addColumn<int>("depth");
    QTest::addColumn<bool>("closed");
    QTest::newRow("balanced") << 100000 << true;
    QTest::newRow("never closed") << 100000 << false;
    QTest::newRow("just below the kept depth") << 1022 << true;
    QTest::newRow("just above the kept depth") << 1026 << true;
}

// Nesting far deeper than any word processor writes: no recursion, no unbounded stack, and the
// groups still balance, so the document ends where it should and skipped groups stay skipped.
void TestRtfReader::deepNesting()
{
    QFETCH(int, depth);
    QFETCH(bool, closed);
    QByteArray rtf("{\\rtf1 a");
    rtf += QByteArray(depth, '{');
    rtf += "b{\\*\\hidden x}c";
    if (closed) {
        rtf += QByteArray(depth, '}');
        rtf += "d{\\info y}e}after";
    }
    QCOMPARE(RtfToPlainText(rtf), closed ? QStringLiteral("abcde") : QStringLiteral("abc"));
}

void TestRtfReader::longTokens_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("text");
    QTest::newRow("long word") << QByteArray("{\\rtf1 a\\") + QByteArray(100000, 'x') + " b}"
                               << QStringLiteral("ab");
    QTest::newRow("long parameter")
        << QByteArray("{\\rtf1 a\\fs") + QByteArray(100000, '9') + " b}" << QStringLiteral("ab");
    QTest::newRow("long hex run") << QByteArray("{\\rtf1\\ansicpg932 ") +
                                         QByteArray("\\'82\\'a0").repeated(50000) + "}"
                                  << QString(50000, QChar(0x3042));
}

void TestRtfReader::longTokens()
{
    CompareText();
}

// A document written by a word processor: long font and style tables, \uc2 with CP932
// fallback pairs, one paragraph per line. It holds the same text as the CP932 sample.
void TestRtfReader::sampleProse()
{
    QFile rtfFile(QStringLiteral(QV_TESTDATA_DIR "/sample-prose.rtf"));
    QFile textFile(QStringLiteral(QV_TESTDATA_DIR "/sample-prose.sjis.txt"));
    QVERIFY(rtfFile.open(QIODevice::ReadOnly));
    QVERIFY(textFile.open(QIODevice::ReadOnly));
    const QByteArray rtf = rtfFile.readAll();
    QVERIFY(IsRtf(rtf));
    const QString text = RtfToPlainText(rtf);

    const QStringList lines = text.split(u'\n');
    QVERIFY(lines.size() > 100);
    QCOMPARE(lines.first().left(8), QStringLiteral("　拡張機能ですが"));
    QVERIFY(lines.contains(QStringLiteral("数学ライブラリ")));
    QVERIFY(lines.contains(QStringLiteral("　整数 n 次のベッセル関数")));
    QCOMPARE(lines.last(), QStringLiteral("説明"));
    for (const char* name : {"Times New Roman", "DejaVu", "Symbol", "Heading", "Text Body",
                             "Preformatted", "LibreOffice", "Default Page Style", "ＭＳ"})
        QVERIFY2(!text.contains(QString::fromUtf8(name)), name);
    QVERIFY(!text.contains(u'\\'));
    QVERIFY(!text.contains(u'{'));
    QVERIFY(!text.contains(QChar(0xFFFD)));

    QCOMPARE(text, DecodeText(textFile.readAll()));
}

QTEST_APPLESS_MAIN(TestRtfReader)
#include "tst_rtfreader.moc"
