#include "platform/TextDecoding.h"
#include "reader/DisplayLineModel.h"
#include "reader/LineBreaks.h"
#include "search/WordMatcher.h"
#include "tests/support/RandomText.h"

#include <QFile>
#include <QRegularExpression>
#include <QTest>

namespace {

// Round numbers instead of a font: 10 px for ASCII, 20 px for wide and astral characters.
// 'f' reaches 3 px past its advance, as italic-like glyphs do.
class TFixedAdvances : public TAdvanceSource
{
public:
    qreal MinimumBearing = -5;
    qreal TabStop = 80;

    qreal Advance(char32_t c) const override { return c < 0x2E80 ? 10 : 20; }
    qreal RightBearing(char32_t c) const override { return c == U'f' ? -3 : 1; }
    qreal MinimumRightBearing() const override { return MinimumBearing; }
    qreal TabStopDistance() const override { return TabStop; }
    // A character with its marks is drawn as one composed glyph, 25 px wide.
    qreal ClusterAdvance(QStringView) const override { return 25; }
};

QStringList LinesOf(const TDisplayLineModel& model)
{
    QStringList lines;
    for (int i = 0; i < model.count(); ++i)
        lines.append(model.line(i));
    return lines;
}

QStringList Paragraphs(int count)
{
    QStringList paragraphs;
    for (int p = 0; p < count; ++p) {
        QString text;
        for (int k = 0; k < p % 7; ++k)
            text += QStringLiteral("word%1 ").arg(p) + QStringLiteral("日本語の文です。");
        paragraphs.append(text);
    }
    return paragraphs;
}

// The model after an edit holds what a model laid out afresh over the same paragraphs holds.
void CompareWithFresh(const TDisplayLineModel& model, const TAdvanceSource& advances, qreal width)
{
    TDisplayLineModel fresh(advances);
    fresh.SetWidth(width);
    QStringList paragraphs;
    for (int p = 0; p < model.paragraphCount(); ++p)
        paragraphs.append(model.paragraph(p).toString());
    fresh.SetParagraphs(paragraphs);
    QCOMPARE(model.count(), fresh.count());
    QCOMPARE(LinesOf(model), LinesOf(fresh));
    for (int p = 0; p < fresh.paragraphCount(); ++p)
        QCOMPARE(model.firstLineOfParagraph(p), fresh.firstLineOfParagraph(p));
    for (int i = 0; i < fresh.count(); ++i)
        QCOMPARE(model.paragraphOfLine(i), fresh.paragraphOfLine(i));
}

} // namespace

class TestLineModel : public QObject
{
    Q_OBJECT

private slots:
    void wrap_data();
    void wrap();
    void numbering();
    void relayout();
    void edits_data();
    void edits();
    void wordInLoadedText();
    void stoppedOnTheWay();
    void lineBreakClasses();
    void lineBreaksAsFinder();
    void longParagraphInPieces();
};

void TestLineModel::wrap_data()
{
    QTest::addColumn<qreal>("width");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<qreal>("minimumBearing");
    QTest::addColumn<qreal>("tabStop");
    const auto row = [](const char* name, qreal width, const QString& text,
                        const QStringList& lines, qreal minimumBearing = -5, qreal tabStop = 80) {
        QTest::newRow(name) << width << text << lines << minimumBearing << tabStop;
    };
    const QString emoji = QString::fromUcs4(U"\U0001F600");
    const QString bold = QString::fromUcs4(U"\U0001D400\U0001D401\U0001D402");

    row("exact fit", 50.0, "abcde", QStringList{"abcde"});
    row("one over", 50.0, "abcdef", QStringList{"abcde", "f"});
    row("two words fit exactly", 50.0, "ab cd", QStringList{"ab cd"});
    row("word moves down", 50.0, "ab cde", QStringList{"ab ", "cde"});
    row("trailing blanks hang", 50.0, "abcde   fg", QStringList{"abcde   ", "fg"});
    row("blank run wider than the line", 50.0, "ab          cd", QStringList{"ab          ", "cd"});
    row("opening blanks wider than the line", 50.0, "        ab", QStringList{"        ", "ab"});
    row("opening blanks then a long word", 50.0, " abcdefg", QStringList{" abcd", "efg"});
    row("long word after a short one", 50.0, "ab cdefghij", QStringList{"ab ", "cdefg", "hij"});
    row("long word first", 50.0, "abcdefghijkl mn", QStringList{"abcde", "fghij", "kl mn"});
    row("japanese between characters", 50.0, "あいうえお", QStringList{"あい", "うえ", "お"});
    row("no line starts with a full stop", 50.0, "あい。うえ", QStringList{"あ", "い。", "うえ"});
    row("ideographic space hangs", 40.0, "あい　　う", QStringList{"あい　　", "う"});
    row("no-break space keeps its words together", 40.0, "a b\u00a0cd",
        QStringList{"a ", "b\u00a0cd"});
    row("composed glyphs stay whole", 50.0, "か\u3099か\u3099か\u3099",
        QStringList{"か\u3099か\u3099", "か\u3099"});
    row("empty paragraph", 50.0, "", QStringList{""});
    row("empty paragraphs between", 50.0, "a\n\n\nb", QStringList{"a", "", "", "b"});
    row("tab to the next stop", 200.0, "ab\tcd", QStringList{"ab\tcd"});
    row("tab does not hang", 100.0, "abc\tdefgh", QStringList{"abc\t", "defgh"});
    row("tab stops count from the line start", 100.0, "abcdefgh ij\tk",
        QStringList{"abcdefgh ", "ij\tk"});
    // 30 px of text lies less than 1/128 of a stop before the stop at 30.2 px.
    row("tab just before a stop goes on to the next", 65.0, "abc\tx", QStringList{"abc\t", "x"},
        -5.0, 30.2);
    row("surrogate pair kept whole", 30.0, "a" + emoji + "b", QStringList{"a" + emoji, "b"});
    row("long word cut between surrogate pairs", 40.0, "abc" + bold,
        QStringList{"abc", bold.mid(0, 4), bold.mid(4)});
    row("overhang of the last glyph", 60.0, "ab cdf", QStringList{"ab ", "cdf"});
    row("overhang the font does not admit", 60.0, "ab cdf", QStringList{"ab cdf"}, 0.0);
    row("no overhang before hanging blanks", 50.0, "abcdf gh", QStringList{"abcdf ", "gh"});
    row("no width to speak of", 0.0, "ab cd", QStringList{"a", "b ", "c", "d"});
    // 300 composed glyphs of 25 px: 240 to a line, each two units long, so that a line reaches
    // past the first stretch whose clusters are known.
    const QString composed = QString(QStringLiteral("e\u0301")).repeated(300);
    row("long word of composed glyphs", 6000.0, composed,
        QStringList{composed.left(480), composed.mid(480)});
}

void TestLineModel::wrap()
{
    QFETCH(qreal, width);
    QFETCH(QString, text);
    QFETCH(QStringList, lines);
    QFETCH(qreal, minimumBearing);
    QFETCH(qreal, tabStop);
    TFixedAdvances advances;
    advances.MinimumBearing = minimumBearing;
    advances.TabStop = tabStop;
    TDisplayLineModel model(advances);
    model.SetWidth(width);
    model.SetText(text);
    QCOMPARE(LinesOf(model), lines);
    QCOMPARE(LinesOf(model).join(QString()), QString(text).remove(u'\n'));
}

void TestLineModel::numbering()
{
    TFixedAdvances advances;
    TDisplayLineModel model(advances);
    QCOMPARE(model.count(), 1); // an empty text view shows one empty line
    QCOMPARE(model.line(0), QString());
    model.SetWidth(50);
    model.SetText(QStringLiteral("abcdefghij\n\nab cd ef"));
    QCOMPARE(LinesOf(model), (QStringList{"abcde", "fghij", "", "ab cd ", "ef"}));
    QCOMPARE(model.paragraphOfLine(0), 0);
    QCOMPARE(model.paragraphOfLine(1), 0);
    QCOMPARE(model.paragraphOfLine(2), 1);
    QCOMPARE(model.paragraphOfLine(4), 2);
    QCOMPARE(model.firstLineOfParagraph(2), 3);
    QCOMPARE(model.lineStartInParagraph(4), 6);
    QCOMPARE(model.paragraphOfLine(5), -1);
    QCOMPARE(model.paragraphOfLine(-1), -1);
    QCOMPARE(model.firstLineOfParagraph(3), -1);
    QCOMPARE(model.line(5), QString());
}

void TestLineModel::relayout()
{
    TFixedAdvances advances;
    TDisplayLineModel model(advances);
    model.SetWidth(120);
    model.SetParagraphs(Paragraphs(40));
    const int narrowCount = model.count();
    QList<std::pair<int, int>> places; // paragraph and offset where each narrow line starts
    for (int i = 0; i < narrowCount; ++i)
        places.append({model.paragraphOfLine(i), model.lineStartInParagraph(i)});
    model.SetWidth(400);
    QCOMPARE(model.count(), narrowCount); // a new width waits for the relayout
    model.Relayout();
    QVERIFY(model.count() < narrowCount);
    CompareWithFresh(model, advances, 400);
    // Each place is found in the wide line of its paragraph that holds its character.
    for (const auto& [paragraph, offset] : places) {
        const int line = model.lineAt(paragraph, offset);
        QCOMPARE(model.paragraphOfLine(line), paragraph);
        QVERIFY(model.lineStartInParagraph(line) <= offset);
        QVERIFY(offset <
                model.lineStartInParagraph(line) + qMax(1, int(model.lineView(line).size())));
    }
    QCOMPARE(model.lineAt(1000, 0), model.count() - 1);
}

void TestLineModel::edits_data()
{
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("removed");
    QTest::addColumn<QStringList>("added");
    const QString longText = QStringLiteral("新しい段落の文です。").repeated(6);
    QTest::newRow("one paragraph grows") << 5 << 1 << QStringList{longText};
    QTest::newRow("one paragraph shrinks") << 6 << 1 << QStringList{"短い"};
    QTest::newRow("split") << 6 << 1 << QStringList{"word6 日本語", "の文です。"};
    QTest::newRow("merge") << 3 << 2 << QStringList{"merged " + longText};
    QTest::newRow("paragraphs added") << 10 << 0 << QStringList{"", longText, "x"};
    QTest::newRow("paragraphs removed") << 2 << 9 << QStringList{};
    QTest::newRow("replaced by more") << 0 << 2 << QStringList{longText, "", longText};
    QTest::newRow("appended") << 30 << 0 << QStringList{longText};
    QTest::newRow("last one replaced") << 29 << 1 << QStringList{"end"};
    QTest::newRow("all removed") << 0 << 30 << QStringList{};
    QTest::newRow("all replaced") << 0 << 30 << QStringList{"a", "b"};
    QTest::newRow("range beyond the end") << 28 << 10 << QStringList{"tail"};
}

void TestLineModel::edits()
{
    QFETCH(int, first);
    QFETCH(int, removed);
    QFETCH(QStringList, added);
    TFixedAdvances advances;
    TDisplayLineModel model(advances);
    model.SetWidth(130);
    QStringList paragraphs = Paragraphs(30);
    model.SetParagraphs(paragraphs);

    model.ParagraphsChanged(first, removed, added);

    paragraphs.remove(first, std::min(removed, int(paragraphs.size()) - first));
    for (int k = 0; k < added.size(); ++k)
        paragraphs.insert(first + k, added[k]);
    if (paragraphs.isEmpty())
        paragraphs.append(QString());
    QCOMPARE(model.paragraphCount(), paragraphs.size());
    for (int p = 0; p < paragraphs.size(); ++p)
        QCOMPARE(model.paragraph(p), paragraphs[p]);
    CompareWithFresh(model, advances, 130);
}

// The paragraphs of a loaded text are searched in one piece, their breaks between them: what
// is found must be what searching each paragraph by itself finds, before and after edits.
void TestLineModel::wordInLoadedText()
{
    const QStringList alphabet{"a",    "b",  "ab",     " ",  "\n",
                               "\r\n", "\r", "\u2029", "パ", QStringLiteral("\U00020B9F")};
    QRandomGenerator random(2718);
    const auto text = [&](int longest) { return RandomText(random, alphabet, longest); };
    const auto naive = [](const TDisplayLineModel& model, const TWordMatcher& word, int first,
                          int last) {
        for (int p = first; p <= last; ++p) {
            if (IndexOfOnBoundary(model.paragraph(p), word) >= 0)
                return p;
        }
        return -1;
    };
    TFixedAdvances advances;
    for (int round = 0; round < 40; ++round) {
        TDisplayLineModel model(advances);
        model.SetWidth(200);
        const QString loaded = text(120);
        int expected = 1;
        for (qsizetype i = 0; i < loaded.size(); ++i)
            expected += QStringLiteral("\n\r\u2029").contains(loaded[i]) &&
                        !(loaded[i] == u'\n' && i > 0 && loaded[i - 1] == u'\r');
        QVERIFY(model.SetLoadedText(loaded, expected));
        const QStringList blocks =
            loaded.split(QRegularExpression(QStringLiteral("\r\n|[\r\n\u2029]")));
        for (int p = 0; p < blocks.size(); ++p)
            QCOMPARE(model.paragraph(p), blocks[p]);
        // "b" + "a" across a break, a lone half of the surrogate pair, and words of the text.
        for (const QString& wordText : {QStringLiteral("ba"), QString(QChar(0xDF9F)),
                                        QStringLiteral("\r\n"), text(3), text(4)}) {
            const TWordMatcher word(wordText);
            const int last = model.paragraphCount() - 1;
            for (int first = 0; first <= last; first += 1 + random.bounded(4)) {
                const int end = std::min(last, first + random.bounded(6));
                QVERIFY2(model.firstParagraphWith(word, first, end) ==
                             naive(model, word, first, end),
                         qPrintable(loaded.toUtf8().toPercentEncoding() + " / " + wordText));
            }
        }
        // An edit ends the search in one piece: a paragraph that now holds the word is found.
        const int middle = model.paragraphCount() / 2;
        model.ParagraphsChanged(middle, 1, {QStringLiteral("xyzzy")});
        QCOMPARE(model.firstParagraphWith(TWordMatcher(QStringLiteral("xyzzy")), 0,
                                          model.paragraphCount() - 1),
                 middle);
    }
}

// A layout no longer wanted stops at the next look, between paragraphs or between the lines of
// one long paragraph, and says so.
void TestLineModel::stoppedOnTheWay()
{
    TFixedAdvances advances;
    for (const QString& text :
         {QStringLiteral("ab\n").repeated(5000), QStringLiteral("あ").repeated(20000)}) {
        TDisplayLineModel model(advances);
        model.SetWidth(20);
        int looks = 0;
        model.SetProgress([&looks] { return ++looks < 2; });
        QVERIFY(model.SetLoadedText(text, -1));
        QVERIFY(model.StoppedEarly());
        QCOMPARE(looks, 2);
        model.SetProgress({});
        model.Relayout();
        QVERIFY(!model.StoppedEarly());
        QCOMPARE(model.count(), text.startsWith(u'a') ? 5001 : 20000);
    }
}

// Every character the table classes breaks next to every class, and across a blank from it, as
// its class's representative does, so that the representatives may answer for it.
void TestLineModel::lineBreakClasses()
{
    using namespace LineBreakClasses;
    const auto signature = [](char16_t c) {
        std::vector<unsigned char> found;
        QList<unsigned char> breaks;
        for (int k = 1; k < Count; ++k) {
            const char16_t other = Representative(TClass(k));
            const QChar x(c);
            const QChar y(other);
            const QChar blank(u' ');
            const QString texts[] = {QString(x) + y, QString(y) + x, QString(x) + blank + y,
                                     QString(y) + blank + x};
            for (const QString& text : texts) {
                FindLineBreaksSlowly(text, found);
                breaks.append(found[size_t(text.size()) - 1]);
            }
        }
        return breaks;
    };
    QList<QList<unsigned char>> expected(Count);
    for (int k = 1; k < Count; ++k)
        expected[k] = signature(Representative(TClass(k)));
    int classed = 0;
    for (int c = 0; c < 0x10000; ++c) {
        const TClass own = ClassOf(char16_t(c));
        if (own == Other)
            continue;
        ++classed;
        if (signature(char16_t(c)) != expected[own])
            QFAIL(qPrintable(QStringLiteral("U+%1 is not like %2")
                                 .arg(c, 4, 16, QLatin1Char('0'))
                                 .arg(QChar(Representative(own)))));
    }
    QVERIFY(classed > 20000);
    QCOMPARE(ClassOf(u' '), Space);
}

// The fast way gives the finder's answers at every place: around digits, Latin words, blanks,
// marks, joiners, line separators, astral and Thai characters, and in real texts.
void TestLineModel::lineBreaksAsFinder()
{
    const QString singles = QStringLiteral(
        "漢字かアっー。、「」（）々！…・１Ａ12aZ \u3000-()$%.,\"'\u3099\u0301\u200D\u2028"
        "\u201C\u201D\u0E01\u0E32\t");
    QStringList alphabet{QStringLiteral("\U0001F600"), QStringLiteral("\U00020B9F")};
    for (const QChar c : singles)
        alphabet.append(QString(c));
    // Characters without a script of their own after Thai belong to its run. Kanji that each
    // follow a digit start no stretch: a long run of them must not be looked at again and again.
    QStringList texts{QStringLiteral("\u0E0E\u30FB\uFAFA\uFAFA\uFAFA\u30FB\u30FB"),
                      QStringLiteral("1年").repeated(100000)};
    QRandomGenerator random(1414);
    for (int round = 0; round < 4000; ++round)
        texts.append(RandomText(random, alphabet, 40));
    for (const char* name : {"sample-prose.sjis.txt", "aozora-sample.sjis.txt"}) {
        QFile file(QStringLiteral(QV_TESTDATA_DIR "/") + QLatin1String(name));
        QVERIFY(file.open(QIODevice::ReadOnly));
        texts += DecodeText(file.readAll()).split(u'\n');
    }
    std::vector<unsigned char> fast;
    std::vector<unsigned char> slow;
    for (const QString& text : texts) {
        FindLineBreaks(text, fast);
        FindLineBreaksSlowly(text, slow);
        if (fast != slow) {
            const auto at = std::mismatch(fast.begin(), fast.end(), slow.begin()).first;
            QFAIL(qPrintable(QStringLiteral("differs at %1 in ").arg(at - fast.begin()) + text));
        }
    }
}

// A very long paragraph is laid out a piece at a time: its lines are those of the paragraph laid
// out whole, whatever the pieces, the width and the text (pieces of one unit here).
void TestLineModel::longParagraphInPieces()
{
    const QString singles = QStringLiteral(
        "漢字かアっー。、「」（）々！…・１Ａ12aZfff    \u3000-()$.,\"\u3099\u0301\u200D\u2028"
        "\u0E01\u0E32\t");
    QStringList alphabet{QStringLiteral("\U00020B9F"), QStringLiteral("ffffffffffff"),
                         QStringLiteral("          ")};
    for (const QChar c : singles)
        alphabet.append(QString(c));
    QRandomGenerator random(1732);
    // Places where no line may break lie at every distance from the pieces' ends.
    QStringList texts{QStringLiteral("「漢字」と「かな」。").repeated(100),
                      QStringLiteral("漢字かな、ab cd。").repeated(100)};
    for (int round = 0; round < 300; ++round)
        texts.append(RandomText(random, alphabet, 300));
    QFile file(QStringLiteral(QV_TESTDATA_DIR "/aozora-sample.sjis.txt"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    texts.append(DecodeText(file.readAll()).remove(u'\n'));
    TFixedAdvances advances;
    for (const qreal width : {35.0, 130.0, 5000.0}) {
        TDisplayLineModel whole(advances);
        TDisplayLineModel pieces(advances);
        pieces.SetPieceUnits(1);
        for (TDisplayLineModel* model : {&whole, &pieces}) {
            model->SetWidth(width);
            model->SetParagraphs(texts);
        }
        QCOMPARE(LinesOf(pieces), LinesOf(whole));
    }
}

QTEST_APPLESS_MAIN(TestLineModel)
#include "tst_linemodel.moc"
