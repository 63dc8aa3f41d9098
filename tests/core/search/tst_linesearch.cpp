#include "common/StringFormats.h"
#include "platform/Cp932.h"
#include "search/ContentsEntry.h"
#include "search/ContentsSearch.h"
#include "search/LineSearch.h"
#include "tests/support/RandomText.h"
#include "tests/support/ScriptedDialogs.h"

#include <QTest>

namespace {

// Records what a routine reports; onYield(k) answers the k-th turn (0-based).
struct TRecorder
{
    QStringList Entries;
    QStringList Captions;
    QStringList ResearchCaptions;
    int Yields = 0;
    std::function<bool(int)> OnYield;

    TSearchTarget Target(const TLineSource& lines, bool lineForward = false)
    {
        TSearchTarget target;
        target.Lines = &lines;
        target.LineForward = lineForward;
        target.Yield = [this] { return OnYield ? OnYield(Yields++) : (++Yields, true); };
        target.AddEntry = [this](const QString& e) { Entries << e; };
        target.SetCaption = [this](const QString& c) { Captions << c; };
        target.SetResearchCaption = [this](const QString& c) { ResearchCaptions << c; };
        return target;
    }
};

// The lines grouped into paragraphs of groupSize lines each, as a wrapped text view holds them:
// a paragraph's text is its lines one after the other.
class TParagraphLines final : public TLineSource
{
public:
    TParagraphLines(const QStringList& lines, int groupSize) : Lines(lines), GroupSize(groupSize)
    {
        for (int first = 0; first < lines.size(); first += groupSize)
            Paragraphs << lines.mid(first, groupSize).join(QString());
    }
    int count() const override { return int(Lines.size()); }
    QString line(int i) const override { return Lines.at(i); }
    TParagraphSpan paragraphSpan(int i) const override
    {
        const int p = i / GroupSize;
        const int first = p * GroupSize;
        return {Paragraphs.at(p), first, int(std::min<qsizetype>(GroupSize, Lines.size() - first))};
    }

private:
    QStringList Lines;
    QStringList Paragraphs;
    int GroupSize;
};

QStringList numberedLines(int count, const QString& text)
{
    QStringList lines;
    for (int i = 0; i < count; ++i)
        lines << text + QString::number(i + 1);
    return lines;
}

const QStringList Digits = {"１", "２", "３", "４", "５", "６", "７", "８", "９", "０"};

enum Routine
{
    Letter,
    Contents
};

// The two marker tests written out plainly over MarkerBytePosition, to hold the routines to.
bool referenceQualifies(Routine routine, const QString& line, const QStringList& markers, int limit)
{
    int previous = 0;
    for (const QString& marker : markers) {
        const int p = MarkerBytePosition(line, marker);
        if (routine == Letter && p >= 1 && p <= limit)
            return true;
        if (routine == Contents && (p <= previous || p > limit))
            return false;
        previous = p;
    }
    return routine == Contents;
}

} // namespace

class TestLineSearch : public QObject
{
    Q_OBJECT

private slots:
    void findWord_data();
    void findWord();
    void findWordAgainstReference();
    void numberWidth_data();
    void numberWidth();
    void findWordRefusals();
    void remainingCount_data();
    void remainingCount();
    void cancel();
    void textShrinks_data();
    void textShrinks();
    void markerPosition_data();
    void markerPosition();
    void markers_data();
    void markers();
    void markersAgainstReference();
    void markerRefusalsAndCaptions();
    void badInput();
};

void TestLineSearch::findWord_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("word");
    QTest::addColumn<bool>("lineForward");
    QTest::addColumn<QStringList>("entries");
    QTest::newRow("ascii letters fold")
        << QStringList{"xABCx", "Abc", "abc", "ａｂｃ", "ab c"} << "abc" << false
        << QStringList{"xABCx= 1", "Abc= 2", "abc= 3"};
    QTest::newRow("capitals in the word fold too")
        << QStringList{"debian", "Debian", "DEBIAN", "Ｄｅｂｉａｎ"} << "DeBiAn" << false
        << QStringList{"debian= 1", "Debian= 2", "DEBIAN= 3"};
    QTest::newRow("debian") << QStringList{"Debian 12", "DEBIAN", "deb"} << "debian" << false
                            << QStringList{"Debian 12= 1", "DEBIAN= 2"};
    QTest::newRow("full-width letters do not fold")
        << QStringList{"Ａ", "ａ", "a"} << "ａ" << false << QStringList{"ａ= 2"};
    QTest::newRow("only ascii folds beside ascii capitals")
        << QStringList{"XＡ", "XÄ", "Xａ"} << "xａ" << false << QStringList{"Xａ= 3"};
    QTest::newRow("only ascii folds in the word")
        << QStringList{"ä", "Ä"} << "Ä" << false << QStringList{"Ä= 2"};
    QTest::newRow("katakana a does not find di")
        << QStringList{"ヂ", "ア", "アヂ"} << "ア" << false << QStringList{"ア= 2", "アヂ= 3"};
    QTest::newRow("katakana di does not find a")
        << QStringList{"ア", "ヂ"} << "ヂ" << false << QStringList{"ヂ= 2"};
    QTest::newRow("leading spaces go, number first")
        << QStringList{"　 第一章", "本文"} << "第一章" << true << QStringList{"1= 第一章"};
    QTest::newRow("a single space finds lines of spaces")
        << QStringList{"a b", "   ", "ab", "　"} << " " << false << QStringList{"a b= 1", "= 2"};
    QTest::newRow("a single space, number first")
        << QStringList{"a b", "   "} << " " << true << QStringList{"1= a b", "2= "};
    QTest::newRow("three occurrences, one entry")
        << QStringList{"ab ab ab"} << "ab" << false << QStringList{"ab ab ab= 1"};
    QTest::newRow("text with = kept")
        << QStringList{"x=1"} << "=" << false << QStringList{"x=1= 1"};
    QTest::newRow("no match inside a surrogate pair")
        << QStringList{QStringLiteral("\U00020B9F"), QStringLiteral("\U00020B9F\U00020B9F")}
        << QString(QChar(0xDF9F)) << false << QStringList{};
    QTest::newRow("a word across a line break is in no line")
        << QStringList{"ab", "cd", "xbcx"} << "bc" << false << QStringList{"xbcx= 3"};
    QTest::newRow("a capital across a line break")
        << QStringList{"xD", "ebian", "DEBIAN"} << "debian" << false << QStringList{"DEBIAN= 3"};
    QTest::newRow("repeated characters in the word")
        << QStringList{"ああい", "あああい", "あいあい"} << "ああい" << false
        << QStringList{"ああい= 1", "あああい= 2"};
    QTest::newRow("word longer than each line")
        << QStringList{"パッ", "ケージ", "パッケージ"} << "パッケージ" << false
        << QStringList{"パッケージ= 3"};
    QTest::newRow("whole surrogate pair matches")
        << QStringList{"x", QStringLiteral("a\U00020B9F")} << QStringLiteral("\U00020B9F") << false
        << QStringList{QStringLiteral("a\U00020B9F= 2")};
}

void TestLineSearch::findWord()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, word);
    QFETCH(bool, lineForward);
    QFETCH(QStringList, entries);
    TScopedDialogs dialogs;
    TLineListSource source(lines);
    TRecorder recorder;
    QCOMPARE(Find_Word(word, recorder.Target(source, lineForward)), TSearchEnd::Finished);
    QCOMPARE(recorder.Entries, entries);
    QCOMPARE(recorder.Captions, QStringList{"文字列検索中"});
    QVERIFY(dialogs->Log().isEmpty());
    // The same lines as parts of longer paragraphs: the paragraphs that hold the word are only
    // where to look, the lines decide.
    for (const int groupSize : {2, 3, int(lines.size())}) {
        TParagraphLines paragraphs(lines, std::max(1, groupSize));
        TRecorder grouped;
        QCOMPARE(Find_Word(word, grouped.Target(paragraphs, lineForward)), TSearchEnd::Finished);
        QCOMPARE(grouped.Entries, entries);
    }
}

void TestLineSearch::findWordAgainstReference()
{
    // Random lines long enough for the matcher's blocks of places and its tail, over letters of
    // both cases, kana that share their low bytes, and a surrogate pair.
    const QStringList alphabet{"a",  "A",  "b",  "B",  " ",
                               "パ", "ッ", "ジ", "ア", QStringLiteral("\U00020B9F")};
    QRandomGenerator random(1913);
    const auto text = [&](int longest) { return RandomText(random, alphabet, longest); };
    QStringList lines;
    for (int i = 0; i < 300; ++i)
        lines << text(40);
    TLineListSource source(lines);
    TParagraphLines paragraphs(lines, 7);
    for (int round = 0; round < 80; ++round) {
        QString word = text(5);
        if (word.isEmpty())
            word = "a";
        QStringList expected;
        for (int i = 0; i < lines.size(); ++i) {
            if (IndexOfOnBoundary(FoldSearchLetters(lines[i]), FoldSearchLetters(word)) >= 0)
                expected << MakeContentsEntry(TrimLeftString(lines[i]), i + 1, 3, false);
        }
        for (const TLineSource* lineSource : {static_cast<const TLineSource*>(&source),
                                              static_cast<const TLineSource*>(&paragraphs)}) {
            TRecorder recorder;
            Find_Word(word, recorder.Target(*lineSource));
            QVERIFY2(recorder.Entries == expected, qPrintable(word));
        }
    }
}

void TestLineSearch::numberWidth_data()
{
    QTest::addColumn<int>("lineCount");
    QTest::addColumn<int>("hit");
    QTest::addColumn<QString>("entry");
    QTest::newRow("1234 lines") << 1234 << 7 << "hit= 0007";
    QTest::newRow("99 lines") << 99 << 7 << "hit= 07";
    QTest::newRow("100 lines") << 100 << 7 << "hit= 007";
    QTest::newRow("last of 100") << 100 << 100 << "hit= 100";
    QTest::newRow("one line") << 1 << 1 << "hit= 1";
}

void TestLineSearch::numberWidth()
{
    QFETCH(int, lineCount);
    QFETCH(int, hit);
    QFETCH(QString, entry);
    QStringList lines(lineCount, QStringLiteral("line"));
    lines[hit - 1] = QStringLiteral("hit");
    TLineListSource source(lines);
    TRecorder recorder;
    Find_Word(QStringLiteral("HIT"), recorder.Target(source));
    QCOMPARE(recorder.Entries, QStringList{entry});
}

void TestLineSearch::findWordRefusals()
{
    TScopedDialogs dialogs;
    TLineListSource empty(QStringList{});
    TLineListSource some(QStringList{"a"});
    TRecorder recorder;
    QCOMPARE(Find_Word(QString(), recorder.Target(empty)), TSearchEnd::NothingToSearch);
    QCOMPARE(Find_Word(QString(), recorder.Target(some)), TSearchEnd::NothingToSearch);
    QCOMPARE(Find_Word(QStringLiteral("a"), recorder.Target(empty)), TSearchEnd::NothingToSearch);
    QCOMPARE(dialogs->LogLines(), (QStringList{"message|  確認|検索する文字列がありません。",
                                               "message|  確認|検索する文字列がありません。",
                                               "message|  確認|テキストがありません。"}));
    QVERIFY(recorder.Entries.isEmpty());
    QVERIFY(recorder.Captions.isEmpty());
    QCOMPARE(recorder.Yields, 0);
}

void TestLineSearch::remainingCount_data()
{
    QTest::addColumn<int>("lineCount");
    QTest::addColumn<QStringList>("captions");
    QTest::newRow("250 lines") << 250 << QStringList{"残り= 3", "残り= 2", "残り= 1"};
    QTest::newRow("100 lines") << 100 << QStringList{"残り= 2"};
    QTest::newRow("101 lines") << 101 << QStringList{"残り= 2", "残り= 1"};
    QTest::newRow("1 line") << 1 << QStringList{"残り= 1"};
}

void TestLineSearch::remainingCount()
{
    QFETCH(int, lineCount);
    QFETCH(QStringList, captions);
    TLineListSource source(numberedLines(lineCount, "x"));
    for (int routine = 0; routine < 3; ++routine) {
        TRecorder recorder;
        const TSearchTarget target = recorder.Target(source);
        if (routine == 0)
            Find_Word(QStringLiteral("x"), target);
        else if (routine == 1)
            Find_Letter({"x"}, false, 0, 3, target);
        else
            Find_Contents({"x"}, false, 0, target);
        QCOMPARE(recorder.ResearchCaptions, captions);
        QCOMPARE(recorder.Yields, captions.size());
        QCOMPARE(recorder.Entries.size(), lineCount);
    }
}

void TestLineSearch::cancel()
{
    TScopedDialogs dialogs;
    TLineListSource source(numberedLines(250, "x"));
    for (int routine = 0; routine < 3; ++routine) {
        TRecorder recorder;
        recorder.OnYield = [](int turn) { return turn < 1; };
        const TSearchTarget target = recorder.Target(source);
        TSearchEnd end;
        if (routine == 0)
            end = Find_Word(QStringLiteral("x"), target);
        else if (routine == 1)
            end = Find_Letter({"x"}, false, 0, 3, target);
        else
            end = Find_Contents({"x"}, false, 0, target);
        QCOMPARE(end, TSearchEnd::Cancelled);
        // The first block of 100 lines was searched; the search stopped at the next turn.
        QCOMPARE(recorder.Entries.size(), 100);
        QCOMPARE(recorder.Entries.last(), QStringLiteral("x100= 100"));
        QCOMPARE(recorder.ResearchCaptions, QStringList{"残り= 3"});
    }
    QVERIFY(dialogs->Log().isEmpty());
}

void TestLineSearch::textShrinks_data()
{
    QTest::addColumn<int>("routine");
    QTest::addColumn<QString>("message");
    QTest::newRow("Find_Word") << 0 << "message| Error|Find_Word Error";
    QTest::newRow("Find_Letter") << 1 << "message| Error|Find_Letter Error";
    QTest::newRow("Find_Contents") << 2 << "message| Error|目次の作成に失敗しました。";
}

void TestLineSearch::textShrinks()
{
    QFETCH(int, routine);
    QFETCH(QString, message);
    TScopedDialogs dialogs;
    // Another text is loaded while the search lets events through.
    TLineListSource source(numberedLines(250, "x"));
    TRecorder recorder;
    recorder.OnYield = [&source](int turn) {
        if (turn == 1)
            source.Lines = source.Lines.mid(0, 150);
        return true;
    };
    const TSearchTarget target = recorder.Target(source);
    TSearchEnd end;
    if (routine == 0)
        end = Find_Word(QStringLiteral("x"), target);
    else if (routine == 1)
        end = Find_Letter({"x"}, false, 0, 3, target);
    else
        end = Find_Contents({"x"}, false, 0, target);
    QCOMPARE(end, TSearchEnd::Failed);
    QCOMPARE(recorder.Entries.size(), 150);
    QCOMPARE(dialogs->LogLines(), QStringList{message});
}

void TestLineSearch::markerPosition_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("marker");
    QTest::addColumn<int>("position");
    QTest::newRow("first byte") << "(1)"
                                << "(" << 1;
    QTest::newRow("after a full-width space") << "　第1章"
                                              << "第" << 3;
    QTest::newRow("after full-width and ascii") << "　第1章"
                                                << "章" << 6;
    QTest::newRow("half-width katakana are one byte") << "ｱｲ第"
                                                      << "第" << 3;
    QTest::newRow("full-width katakana are two") << "アイ第"
                                                 << "第" << 5;
    QTest::newRow("first occurrence") << "章第章"
                                      << "章" << 1;
    QTest::newRow("absent") << "abc"
                            << ")" << 0;
    QTest::newRow("no folding") << "ABC"
                                << "a" << 0;
    QTest::newRow("surrogate pair is two bytes") << QStringLiteral("\U00020B9Fx") << "x" << 3;
    QTest::newRow("empty marker") << "abc"
                                  << "" << 0;
}

void TestLineSearch::markerPosition()
{
    QFETCH(QString, line);
    QFETCH(QString, marker);
    QFETCH(int, position);
    QCOMPARE(MarkerBytePosition(line, marker), position);
}

void TestLineSearch::markers_data()
{
    QTest::addColumn<int>("routine");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("markers");
    QTest::addColumn<bool>("indented");
    QTest::addColumn<int>("width");
    QTest::addColumn<QStringList>("entries");
    const QStringList spaces{" ", "　"};
    QTest::newRow("paragraphs") << int(Letter)
                                << QStringList{"　本文です", "本文", "　　", " 次", "続き　"}
                                << spaces << true << 1 << QStringList{"本文です= 1", "次= 4"};
    QTest::newRow("simple contents, width 2") << int(Letter) << QStringList{"３　結論", "は３つ"}
                                              << Digits << false << 2 << QStringList{"３　結論= 1"};
    QTest::newRow("simple contents, width 0")
        << int(Letter) << QStringList{"３　結論", "は３つ"} << Digits << false << 0
        << QStringList{"３　結論= 1", "は３つ= 2"};
    QTest::newRow("simple contents, indented only")
        << int(Letter) << QStringList{"１章", "　２節", " ３項", "本文"} << Digits << true << 0
        << QStringList{"２節= 2", "３項= 3"};
    QTest::newRow("any marker, order of no account")
        << int(Letter) << QStringList{"b a", "a b", "c"} << QStringList{"b", "a"} << false << 1
        << QStringList{"b a= 1", "a b= 2"};
    QTest::newRow("contents, brackets")
        << int(Contents) << QStringList{"(1) 序章", "a) b(", "abc(", "()"} << QStringList{"(", ")"}
        << false << 0 << QStringList{"(1) 序章= 1", "()= 4"};
    QTest::newRow("contents, repeated marker never found")
        << int(Contents) << QStringList{"((a))", "((", "("} << QStringList{"(", "("} << false << 0
        << QStringList{};
    QTest::newRow("contents, first occurrences in order")
        << int(Contents) << QStringList{"章第章", "第1章"} << QStringList{"第", "章"} << false << 0
        << QStringList{"第1章= 2"};
    QTest::newRow("contents, last marker within the width")
        << int(Contents) << QStringList{"(1) x", "(12) y"} << QStringList{"(", ")"} << false << 3
        << QStringList{"(1) x= 1"};
    QTest::newRow("letter, width counts the untrimmed line")
        << int(Letter) << QStringList{"　第1章"} << QStringList{"第"} << true << 4
        << QStringList{"第1章= 1"};
    QTest::newRow("letter, marker beyond the width")
        << int(Letter) << QStringList{"　第1章"} << QStringList{"章"} << true << 4 << QStringList{};
    QTest::newRow("contents, width counts the untrimmed line")
        << int(Contents) << QStringList{"　第1章"} << QStringList{"第"} << true << 4
        << QStringList{"第1章= 1"};
    QTest::newRow("contents, marker beyond the width")
        << int(Contents) << QStringList{"　第1章"} << QStringList{"章"} << true << 4
        << QStringList{};
    QTest::newRow("half-width katakana count one byte")
        << int(Letter) << QStringList{"ｱｲ第", "アイ第"} << QStringList{"第"} << false << 3
        << QStringList{"ｱｲ第= 1"};
    QTest::newRow("surrogate pair counts two bytes")
        << int(Letter) << QStringList{QStringLiteral("\U00020B9Fx"), "ax"} << QStringList{"x"}
        << false << 2 << QStringList{"ax= 2"};
    QTest::newRow("surrogate pair marker")
        << int(Contents) << QStringList{QStringLiteral("a\U00020B9F"), "b"}
        << QStringList{QStringLiteral("\U00020B9F")} << false << 2
        << QStringList{QStringLiteral("a\U00020B9F= 1")};
    QTest::newRow("letters are not folded")
        << int(Letter) << QStringList{"Abc", "abc"} << QStringList{"a"} << false << 0
        << QStringList{"abc= 2"};
    QTest::newRow("letter, negative width")
        << int(Letter) << QStringList{"(1)", "　a"} << QStringList{"(", "　"} << false << -1
        << QStringList{};
    QTest::newRow("contents, negative width")
        << int(Contents) << QStringList{"(1)", "()"} << QStringList{"(", ")"} << false << -1
        << QStringList{};
    QTest::newRow("letter, lines of spaces passed over")
        << int(Letter) << QStringList{"a b", " ", "　　", "c d"} << spaces << false << 0
        << QStringList{"a b= 1", "c d= 4"};
    QTest::newRow("contents, a line of spaces ends the search")
        << int(Contents) << QStringList{"a b", " ", "c d"} << QStringList{" "} << false << 0
        << QStringList{"a b= 1"};
    QTest::newRow("contents, a non-qualifying line of spaces does not end it")
        << int(Contents) << QStringList{"a(b)", "   ", "(c)"} << QStringList{"(", ")"} << false << 0
        << QStringList{"a(b)= 1", "(c)= 3"};
    QTest::newRow("empty lines") << int(Letter) << QStringList{"", "x", ""} << QStringList{"x"}
                                 << true << 0 << QStringList{};
}

void TestLineSearch::markers()
{
    QFETCH(int, routine);
    QFETCH(QStringList, lines);
    QFETCH(QStringList, markers);
    QFETCH(bool, indented);
    QFETCH(int, width);
    QFETCH(QStringList, entries);
    TScopedDialogs dialogs;
    TLineListSource source(lines);
    TRecorder recorder;
    const TSearchTarget target = recorder.Target(source);
    const TSearchEnd end = routine == Letter ? Find_Letter(markers, indented, width, 3, target)
                                             : Find_Contents(markers, indented, width, target);
    QCOMPARE(end, TSearchEnd::Finished);
    QCOMPARE(recorder.Entries, entries);
    QVERIFY(dialogs->Log().isEmpty());
    // The other form of the same entries.
    TRecorder forward;
    const TSearchTarget forwardTarget = forward.Target(source, true);
    if (routine == Letter)
        Find_Letter(markers, indented, width, 3, forwardTarget);
    else
        Find_Contents(markers, indented, width, forwardTarget);
    QCOMPARE(SwapContentsEntries(recorder.Entries), forward.Entries);
}

void TestLineSearch::markersAgainstReference()
{
    // Random short lines over an alphabet of one- and two-byte characters, markers among them.
    const QStringList alphabet{"a",  "(",  ")", " ",  "　",
                               "第", "章", "ｱ", "１", QStringLiteral("\U00020B9F")};
    QRandomGenerator random(4711);
    const auto pick = [&] { return alphabet[random.bounded(int(alphabet.size()))]; };
    QStringList lines;
    for (int i = 0; i < 400; ++i) {
        QString line;
        const int length = random.bounded(8);
        for (int k = 0; k < length; ++k)
            line += pick();
        lines << line;
    }
    TLineListSource source(lines);
    for (int round = 0; round < 60; ++round) {
        QStringList markers;
        const int count = 1 + random.bounded(3);
        for (int k = 0; k < count; ++k)
            markers << pick();
        const int width = random.bounded(-1, 9);
        const bool indented = random.bounded(2) == 1;
        for (const Routine routine : {Letter, Contents}) {
            QStringList expected;
            for (int i = 0; i < lines.size(); ++i) {
                const QString text = TrimLeftString(lines[i]);
                if (indented && text.size() == lines[i].size())
                    continue;
                const int limit = width == 0 ? Cp932Width(lines[i]) : width;
                if (!referenceQualifies(routine, lines[i], markers, limit))
                    continue;
                if (text.isEmpty() && routine == Contents)
                    break;
                if (!text.isEmpty())
                    expected << MakeContentsEntry(text, i + 1, 3, false);
            }
            TRecorder recorder;
            const TSearchTarget target = recorder.Target(source);
            if (routine == Letter)
                Find_Letter(markers, indented, width, 3, target);
            else
                Find_Contents(markers, indented, width, target);
            QVERIFY2(recorder.Entries == expected,
                     qPrintable(markers.join(u'|') + " width " + QString::number(width)));
        }
    }
}

void TestLineSearch::markerRefusalsAndCaptions()
{
    TScopedDialogs dialogs;
    TLineListSource empty(QStringList{});
    TLineListSource some(QStringList{" a"});
    TRecorder recorder;
    QCOMPARE(Find_Letter({}, false, 0, 3, recorder.Target(some)), TSearchEnd::NothingToSearch);
    QCOMPARE(Find_Contents({}, false, 0, recorder.Target(empty)), TSearchEnd::NothingToSearch);
    QCOMPARE(Find_Letter({" "}, true, 1, 1, recorder.Target(empty)), TSearchEnd::NothingToSearch);
    QCOMPARE(dialogs->LogLines(), (QStringList{"message|  確認|検索する文字がありません。",
                                               "message|  確認|検索する文字がありません。",
                                               "message|  確認|テキストがありません。"}));
    QVERIFY(recorder.Captions.isEmpty());
    Find_Letter({" "}, true, 1, 1, recorder.Target(some));
    Find_Letter({" "}, true, 1, 3, recorder.Target(some));
    Find_Letter({" "}, true, 1, 0, recorder.Target(some));
    Find_Contents({" "}, true, 1, recorder.Target(some));
    QCOMPARE(recorder.Captions,
             (QStringList{"段落検索中", "簡易目次検索中", "簡易目次検索中", "目次検索中"}));
}

void TestLineSearch::badInput()
{
    TScopedDialogs dialogs;
    const QString longWord = QString(9999, u'x') + u'!';
    const QString megaLine = QString(1 << 20, u'x') + longWord;
    TLineListSource source(QStringList{QString(5000, u' '), megaLine, QString(2000, u'\u3000'),
                                       QString(), longWord.toUpper()});
    TRecorder recorder;
    QCOMPARE(Find_Word(longWord, recorder.Target(source)), TSearchEnd::Finished);
    QCOMPARE(recorder.Entries.size(), 2);
    QVERIFY(recorder.Entries[0].endsWith(QStringLiteral("!= 2")));

    QStringList markers;
    for (int i = 0; i < 10000; ++i)
        markers << QString(QChar(0x4E00 + i));
    markers << QStringLiteral("!");
    recorder.Entries.clear();
    QCOMPARE(Find_Letter(markers, false, 0, 3, recorder.Target(source)), TSearchEnd::Finished);
    QCOMPARE(recorder.Entries.size(), 2);
    recorder.Entries.clear();
    QCOMPARE(Find_Contents(markers, false, 0, recorder.Target(source)), TSearchEnd::Finished);
    QVERIFY(recorder.Entries.isEmpty());
    recorder.Entries.clear();
    // Unfolded: the capitals of the last line are no "x".
    QCOMPARE(Find_Contents({"x", "!"}, false, 0, recorder.Target(source)), TSearchEnd::Finished);
    QCOMPARE(recorder.Entries.size(), 1);
    recorder.Entries.clear();
    QCOMPARE(Find_Letter({" ", "　"}, true, 0, 1, recorder.Target(source)), TSearchEnd::Finished);
    QVERIFY(recorder.Entries.isEmpty());
    QVERIFY(dialogs->Log().isEmpty());
}

QTEST_GUILESS_MAIN(TestLineSearch)
#include "tst_linesearch.moc"
