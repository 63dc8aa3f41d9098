#include "platform/AozoraNotation.h"

#include <QTest>

Q_DECLARE_METATYPE(TRubyStyle)

namespace {

QString Span(const TAozoraSpan& s)
{
    return QStringLiteral("%1:%2+%3").arg(s.Paragraph).arg(s.Start).arg(s.Length);
}

// What the notes said, one item per ruby, emphasis and heading, in that order.
QStringList Annotations(const TAozoraText& t)
{
    QStringList items;
    for (const TAozoraRuby& r : t.Rubies)
        items << QStringLiteral("ruby ") + Span(r.Base) + u' ' + r.Reading;
    for (const TAozoraEmphasis& e : t.Emphases)
        items << (e.Kind == TAozoraEmphasis::TKind::Dots ? QStringLiteral("dots ")
                                                         : QStringLiteral("line ")) +
                     Span(e.Span);
    for (const TAozoraHeading& h : t.Headings)
        items << QStringLiteral("heading%1 ").arg(h.Level) + Span(h.Span) + u' ' + h.Text;
    return items;
}

} // namespace

class TestAozoraNotation : public QObject
{
    Q_OBJECT

private slots:
    void format_data();
    void format();
    void recognised_data();
    void recognised();
};

void TestAozoraNotation::format_data()
{
    QTest::addColumn<QString>("raw");
    QTest::addColumn<TRubyStyle>("style");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("notes");
    const auto P = TRubyStyle::Parenthesised;
    const auto H = TRubyStyle::Hidden;

    QTest::newRow("ruby in brackets")
        << u"彼《かれ》は｜東京《とうきょう》へ"_qs << P << u"彼（かれ）は東京（とうきょう）へ"_qs
        << QStringList{u"ruby 0:0+1 かれ"_qs, u"ruby 0:6+2 とうきょう"_qs};
    QTest::newRow("ruby hidden") << u"彼《かれ》は｜東京《とうきょう》へ"_qs << H
                                 << u"彼は東京へ"_qs
                                 << QStringList{u"ruby 0:0+1 かれ"_qs, u"ruby 0:2+2 とうきょう"_qs};
    QTest::newRow("ruby above keeps the base alone")
        << u"一《いち》"_qs << TRubyStyle::Above << u"一"_qs << QStringList{u"ruby 0:0+1 いち"_qs};
    QTest::newRow("implicit base: the kanji run")
        << u"私は日本語《にほんご》を"_qs << H << u"私は日本語を"_qs
        << QStringList{u"ruby 0:2+3 にほんご"_qs};
    QTest::newRow("implicit base: a katakana run")
        << u"あのカタカナ《かたかな》"_qs << H << u"あのカタカナ"_qs
        << QStringList{u"ruby 0:2+4 かたかな"_qs};
    QTest::newRow("implicit base: latin letters")
        << u"はＡＢＣ《えーびーしー》"_qs << H << u"はＡＢＣ"_qs
        << QStringList{u"ruby 0:1+3 えーびーしー"_qs};
    QTest::newRow("implicit base stops at the ruby before")
        << u"東京《とうきょう》大阪《おおさか》"_qs << H << u"東京大阪"_qs
        << QStringList{u"ruby 0:0+2 とうきょう"_qs, u"ruby 0:2+2 おおさか"_qs};
    QTest::newRow("iteration mark")
        << u"人々《ひとびと》"_qs << H << u"人々"_qs << QStringList{u"ruby 0:0+2 ひとびと"_qs};
    QTest::newRow("bar marks a mixed base")
        << u"｜お茶《おちゃ》"_qs << H << u"お茶"_qs << QStringList{u"ruby 0:0+2 おちゃ"_qs};
    QTest::newRow("reading without base")
        << u"《よみ》だけ"_qs << P << u"（よみ）だけ"_qs << QStringList{};
    QTest::newRow("ruby of 10000 characters")
        << u"｜漢《"_qs + QString(10000, u'あ') + u"》字"_qs << H << u"漢字"_qs
        << QStringList{u"ruby 0:0+1 "_qs + QString(10000, u'あ')};
    QTest::newRow("unbalanced ruby open")
        << u"a《b\nc》"_qs << H << u"a《b\nc》"_qs << QStringList{};
    QTest::newRow("bar before no ruby") << u"a｜b"_qs << H << u"a｜b"_qs << QStringList{};
    QTest::newRow("note dropped, emphasis kept") << u"本文［＃「本文」に傍点］です"_qs << H
                                                 << u"本文です"_qs << QStringList{u"dots 0:0+2"_qs};
    QTest::newRow("emphasis range") << u"とても［＃傍線］強く［＃傍線終わり］言う"_qs << H
                                    << u"とても強く言う"_qs << QStringList{u"line 0:3+2"_qs};
    QTest::newRow("emphasis over a ruby base, brackets")
        << u"強《つよ》い［＃「強い」に白ゴマ傍点］"_qs << P << u"強（つよ）い"_qs
        << QStringList{u"ruby 0:0+1 つよ"_qs, u"dots 0:0+6"_qs};
    QTest::newRow("heading by quotation")
        << u"［＃３字下げ］第一章［＃「第一章」は中見出し］"_qs << H << u"第一章"_qs
        << QStringList{u"heading2 0:0+3 第一章"_qs};
    QTest::newRow("heading range on the second line")
        << u"題\n［＃大見出し］序《じょ》［＃大見出し終わり］"_qs << H << u"題\n序"_qs
        << QStringList{u"ruby 1:0+1 じょ"_qs, u"heading1 1:0+1 序"_qs};
    QTest::newRow("small heading")
        << u"一［＃「一」は小見出し］"_qs << H << u"一"_qs << QStringList{u"heading3 0:0+1 一"_qs};
    const QString rule(20, u'-');
    QTest::newRow("legend left out")
        << u"題\n"_qs + rule + u"\n【テキスト中に現れる記号について】\n｜：ルビ\n"_qs + rule +
               u"\n本文"_qs
        << H << u"題\n本文"_qs << QStringList{};
    QTest::newRow("rules without a legend stay")
        << rule + u"\n｜a\n"_qs + rule << H << rule + u"\n｜a\n"_qs + rule << QStringList{};
    QTest::newRow("line of notes alone is left out")
        << u"a\n［＃ここから２字下げ］\nb\n\nc"_qs << H << u"a\nb\n\nc"_qs << QStringList{};
    QTest::newRow("page break alone leaves an empty line")
        << u"a\n［＃改ページ］\nb"_qs << H << u"a\n\nb"_qs << QStringList{};
    QTest::newRow("page break inside a line")
        << u"a［＃改丁］b"_qs << H << u"a\nb"_qs << QStringList{};
    QTest::newRow("third level character")
        << u"※［＃「日＋向」、第3水準1-85-25］午"_qs << H << u"晌午"_qs << QStringList{};
    QTest::newRow("fourth level character, outside the first plane")
        << u"※［＃「龜＋龜」、第4水準2-94-86］"_qs << H << u"𪚲"_qs << QStringList{};
    QTest::newRow("full-width digits")
        << u"※［＃「x」、第4水準２－１－２］"_qs << H << u"丂"_qs << QStringList{};
    QTest::newRow("code out of range keeps the mark")
        << u"※［＃「x」、第3水準1-95-1］と※［＃「y」、第3水準1-0-3］"_qs << H << u"※と※"_qs
        << QStringList{};
    QTest::newRow("unicode note") << u"※［＃「口＋七」、U+20B9F、123-4］る"_qs << H << u"𠮟る"_qs
                                  << QStringList{};
    QTest::newRow("unicode note out of range")
        << u"※［＃「x」、U+D800］"_qs << H << u"※"_qs << QStringList{};
    // A NUL or a line end named would split the paragraph the heading counts on.
    QTest::newRow("unicode note naming a control or separator")
        << u"※［＃「x」、U+0000］※［＃「x」、U+000A］※［＃「x」、U+2029］※［＃「x」、U+FFFF］見出し"
           u"［＃「見出し」は小見出し］"_qs
        << H << u"※※※※見出し"_qs << QStringList{u"heading3 0:4+3 見出し"_qs};
    QTest::newRow("gaiji as a ruby base and in a reading")
        << u"※［＃「x」、U+5F45］《※［＃「y」、U+3042］》"_qs << H << u"彅"_qs
        << QStringList{u"ruby 0:0+1 あ"_qs};
    QTest::newRow("page break inside a reading, brackets")
        << u"漢《か［＃改丁］な》字［＃「字」に傍点］"_qs << P << u"漢（かな）字"_qs
        << QStringList{u"ruby 0:0+1 かな"_qs, u"dots 0:5+1"_qs};
    QTest::newRow("note nested in a note")
        << u"a［＃「［＃b］」は大見出し］c"_qs << H << u"ac"_qs << QStringList{};
    QTest::newRow("unbalanced note") << u"a［＃b"_qs << H << u"a［＃b"_qs << QStringList{};
    QTest::newRow("many unbalanced notes")
        << QString(3000, u'［') + u"＃"_qs << H << QString(3000, u'［') + u"＃"_qs << QStringList{};
}

void TestAozoraNotation::format()
{
    QFETCH(QString, raw);
    QFETCH(TRubyStyle, style);
    QFETCH(QString, text);
    QFETCH(QStringList, notes);
    const TAozoraText formatted = FormatAozoraText(raw, style);
    QCOMPARE(formatted.Text, text);
    QCOMPARE(Annotations(formatted), notes);
}

void TestAozoraNotation::recognised_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("aozora");
    QTest::newRow("ruby and notes") << u"彼《かれ》\n［＃改ページ］"_qs << true;
    QTest::newRow("colophon") << u"本文\n\n底本：「某」某社"_qs << true;
    QTest::newRow("colophon first") << u"底本：「某」"_qs << true;
    QTest::newRow("colophon inside a line") << u"本文の底本：「某」"_qs << false;
    QTest::newRow("ruby marks only") << u"《引用》"_qs << false;
    QTest::newRow("plain") << u"本文"_qs << false;
}

void TestAozoraNotation::recognised()
{
    QFETCH(QString, text);
    QFETCH(bool, aozora);
    QCOMPARE(HasAozoraNotation(text), aozora);
}

QTEST_APPLESS_MAIN(TestAozoraNotation)
#include "tst_aozoranotation.moc"
