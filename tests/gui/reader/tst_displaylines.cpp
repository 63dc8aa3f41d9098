#include "platform/Cp932.h"
#include "reader/DisplayLineModel.h"
#include "reader/FontAdvances.h"

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QFontInfo>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>

namespace {

// The real prose and, beside it, the cases prose rarely has: long unbreakable strings, tabs,
// runs of blanks, mixed scripts.
QString Corpus()
{
    QFile file(QStringLiteral(QV_TESTDATA_DIR "/sample-prose.sjis.txt"));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    QString text =
        DecodeCp932(file.readAll()).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text += QStringLiteral(
        "\nThe quick brown fox jumps over the lazy dog; pack my box with five dozen liquor jugs, "
        "and then some more words so that the paragraph wraps over several lines at any width."
        "\nhttps://example.org/a/very/long/path/without/any/blank/in/it/that/must/be/cut/"
        "somewhere/because/it/does/not/fit/on/one/line/at/all/index.html"
        "\nAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA"
        "AA"
        "AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA"
        "\ncol1\tcol2\tcolumn three\t4\tfive\tsix\tseven\teight\tnine\tten\televen\ttwelve"
        "\n\t\tindented by two tabs, then a sentence long enough to wrap around the view."
        "\nwords          with          long          runs          of          blanks          "
        "between          them          and          at          the          end          "
        "\n                                                                                      "
        "                                                               leading blanks"
        "\n\n\n"
        "\n　全角スペースで始まる段落です。「かぎ括弧」、句読点。小さい「ぁぃぅぇぉっゃゅょ」や"
        "長音ー、そしてＡＢＣ全角英字とabc半角英字とｶﾀｶﾅ半角カナが混ざった文で、折り返しの規則を試"
        "します。"
        "\n漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字"
        "漢字"
        "漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢"
        "字"
        "\nmixed日本語and English text, 数字 12345 と記号 (括弧) [角括弧] {波括弧} が続きます。"
        "\nbefore a line separator\u2028after it, and a long enough tail to wrap around the view "
        "at least once at any width of the table\u2028"
        "\ncontrol characters \x0c\x1a\x01 inside a line, no-break\u00a0spaces\u00a0too, "
        "and combining marks: e\u0301e\u0301e\u0301e\u0301 か\u3099か\u3099か\u3099"
        "\n\U00020BB7野家の\U00020BB7、\U0002000B\U00020B9Fなど第二面の漢字が続く文です。"
        "\U0001F600\U0001F601\U0001F602\U0001F603\U0001F604\U0001F605\U0001F606\U0001F607"
        "\U0001D400\U0001D401\U0001D402\U0001D403\U0001D404\U0001D405\U0001D406\U0001D407"
        "\U0001D408\U0001D409\U0001D40A\U0001D40B\U0001D40C\U0001D40D\U0001D40E\U0001D40F");
    return text;
}

// The paragraphs of a document: the texts of its blocks.
QStringList ParagraphsOf(const QTextDocument& document)
{
    QStringList paragraphs;
    paragraphs.reserve(document.blockCount());
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        paragraphs.append(block.text());
    return paragraphs;
}

// Hands a change of the document (QTextDocument::contentsChange) to the model: the blocks it
// touched are laid out again. When the change does not fit the model's paragraphs, every
// paragraph is taken afresh and the result is false.
bool ApplyContentsChange(TDisplayLineModel& model, const QTextDocument& document, int position,
                         int /*charsRemoved*/, int charsAdded)
{
    // Everything before position is unchanged, so the first touched block is the same before
    // and after. The blocks from it to the end of the added text replace as many old ones as
    // the change of the block count leaves; what was removed need not be known.
    const QTextBlock first = document.findBlock(position);
    QTextBlock last = document.findBlock(position + charsAdded);
    if (!last.isValid())
        last = document.lastBlock();
    const int firstBlock = first.isValid() ? first.blockNumber() : 0;
    const int newCount = last.blockNumber() - firstBlock + 1;
    const int removedCount = newCount - (document.blockCount() - model.paragraphCount());
    if (!first.isValid() || removedCount < 1 ||
        firstBlock + removedCount > model.paragraphCount()) {
        model.SetParagraphs(ParagraphsOf(document));
        return false;
    }
    QStringList paragraphs;
    paragraphs.reserve(newCount);
    QTextBlock block = first;
    for (int k = 0; k < newCount && block.isValid(); ++k, block = block.next())
        paragraphs.append(block.text());
    model.ParagraphsChanged(firstBlock, removedCount, paragraphs);
    return true;
}

// The lines as the text view lays them out, per block.
QList<QStringList> WidgetLines(const QPlainTextEdit& edit)
{
    QList<QStringList> lines;
    QAbstractTextDocumentLayout* layout = edit.document()->documentLayout();
    for (QTextBlock block = edit.document()->begin(); block.isValid(); block = block.next()) {
        layout->blockBoundingRect(block); // lays the block out if the view has not yet
        QStringList blockLines;
        const QTextLayout* textLayout = block.layout();
        for (int i = 0; i < textLayout->lineCount(); ++i) {
            const QTextLine line = textLayout->lineAt(i);
            blockLines.append(block.text().mid(line.textStart(), line.textLength()));
        }
        lines.append(blockLines);
    }
    return lines;
}

QList<QStringList> ModelLines(const TDisplayLineModel& model)
{
    QList<QStringList> lines;
    for (int p = 0; p < model.paragraphCount(); ++p) {
        QStringList blockLines;
        const int end =
            p + 1 < model.paragraphCount() ? model.firstLineOfParagraph(p + 1) : model.count();
        for (int i = model.firstLineOfParagraph(p); i < end; ++i)
            blockLines.append(model.line(i));
        lines.append(blockLines);
    }
    return lines;
}

constexpr int End = -1;

struct TAgreement
{
    int Matching = 0;
    int Total = 0;
    QString FirstDifference;
    double Percent() const { return Total == 0 ? 100 : 100.0 * Matching / Total; }
};

// Lines compared paragraph by paragraph and place by place; a paragraph with one line more on
// one side counts that line as a difference.
TAgreement Compare(const QList<QStringList>& widget, const QList<QStringList>& model)
{
    TAgreement result;
    for (int p = 0; p < std::max(widget.size(), model.size()); ++p) {
        const QStringList w = p < widget.size() ? widget[p] : QStringList();
        const QStringList m = p < model.size() ? model[p] : QStringList();
        for (int i = 0; i < std::max(w.size(), m.size()); ++i) {
            ++result.Total;
            if (i < w.size() && i < m.size() && w[i] == m[i]) {
                ++result.Matching;
            } else if (result.FirstDifference.isEmpty()) {
                result.FirstDifference =
                    QStringLiteral("paragraph %1 line %2: view [%3] model [%4]")
                        .arg(p)
                        .arg(i)
                        .arg(i < w.size() ? w[i] : QStringLiteral("-"),
                             i < m.size() ? m[i] : QStringLiteral("-"));
            }
        }
    }
    return result;
}

// A text view of a fixed viewport width, shown, with the corpus in a given font.
std::unique_ptr<QPlainTextEdit> ShownEdit(const QString& family, int points, int viewportWidth)
{
    auto edit = std::make_unique<QPlainTextEdit>();
    QFont font(family);
    font.setPointSize(points);
    edit->setFont(font);
    edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    const int frame = edit->width() - edit->viewport()->width();
    edit->resize(viewportWidth + std::max(frame, 0), 400);
    edit->show();
    QCoreApplication::processEvents();
    edit->resize(edit->width() + viewportWidth - edit->viewport()->width(), 400);
    QCoreApplication::processEvents();
    return edit;
}

} // namespace

class TestDisplayLines : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void wrapWidth_data();
    void wrapWidth();
    void agreement_data();
    void agreement();
    void fontAndWidthChange();
    void edits_data();
    void edits();
    void loadedText_data();
    void loadedText();

private:
    QString Text;
};

void TestDisplayLines::initTestCase()
{
    Text = Corpus();
    QVERIFY(Text.size() > 5000);
    for (const QString& family :
         {QStringLiteral("IPAGothic"), QStringLiteral("IPAPGothic"), QStringLiteral("IPAPMincho")})
        QCOMPARE(QFontInfo(QFont(family)).family(), family);
}

void TestDisplayLines::wrapWidth_data()
{
    QTest::addColumn<int>("viewportWidth");
    QTest::addColumn<int>("points");
    QTest::newRow("300 px") << 300 << 10;
    QTest::newRow("800 px") << 800 << 24;
    QTest::newRow("narrow") << 61 << 48;
}

void TestDisplayLines::wrapWidth()
{
    QFETCH(int, viewportWidth);
    QFETCH(int, points);
    const auto edit = ShownEdit(QStringLiteral("IPAGothic"), points, viewportWidth);
    QCOMPARE(edit->viewport()->width(), viewportWidth);
    edit->setPlainText(Text);
    const QTextBlock block = edit->document()->begin();
    edit->document()->documentLayout()->blockBoundingRect(block);
    QVERIFY(block.layout()->lineCount() > 0);
    QCOMPARE(WrapWidthOf(*edit), block.layout()->lineAt(0).width());
}

void TestDisplayLines::agreement_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<int>("points");
    QTest::addColumn<int>("viewportWidth");
    // The faces the stored Windows fonts are shown in, the smallest and largest sizes of the
    // size list and a few between; an odd width and a wide one.
    for (const QString& family : {QStringLiteral("IPAGothic"), QStringLiteral("IPAPGothic"),
                                  QStringLiteral("IPAPMincho"), QStringLiteral("DejaVu Sans")}) {
        for (const int points : {4, 10, 24, 48, 120}) {
            for (const int width : {257, 800}) {
                QTest::addRow("%s %d pt %d px", qPrintable(family), points, width)
                    << family << points << width;
            }
        }
    }
}

void TestDisplayLines::agreement()
{
    QFETCH(QString, family);
    QFETCH(int, points);
    QFETCH(int, viewportWidth);
    const auto edit = ShownEdit(family, points, viewportWidth);
    edit->setPlainText(Text);

    const auto advances = AdvancesOf(*edit);
    TDisplayLineModel model(*advances);
    model.SetWidth(WrapWidthOf(*edit));
    model.SetParagraphs(ParagraphsOf(*edit->document()));

    const TAgreement agreement = Compare(WidgetLines(*edit), ModelLines(model));
    qInfo("%s: %d of %d lines agree (%.2f %%)", QTest::currentDataTag(), agreement.Matching,
          agreement.Total, agreement.Percent());
    if (!agreement.FirstDifference.isEmpty())
        qInfo("first difference: %s", qPrintable(agreement.FirstDifference));
    QVERIFY2(agreement.Percent() >= 99.0, qPrintable(agreement.FirstDifference));
}

// A new font and a new width reach the model through a new source and one relayout.
void TestDisplayLines::fontAndWidthChange()
{
    const auto edit = ShownEdit(QStringLiteral("IPAPGothic"), 10, 700);
    edit->setPlainText(Text);
    auto advances = AdvancesOf(*edit);
    TDisplayLineModel model(*advances);
    model.SetWidth(WrapWidthOf(*edit));
    model.SetParagraphs(ParagraphsOf(*edit->document()));
    const int before = model.count();

    QFont font = edit->font();
    font.setPointSize(28);
    edit->setFont(font);
    edit->resize(edit->width() - 250, edit->height());
    QCoreApplication::processEvents();
    auto newAdvances = AdvancesOf(*edit);
    model.SetAdvances(*newAdvances);
    model.SetWidth(WrapWidthOf(*edit));
    model.Relayout();
    advances = std::move(newAdvances);

    QVERIFY(model.count() > 2 * before);
    const TAgreement agreement = Compare(WidgetLines(*edit), ModelLines(model));
    QVERIFY2(agreement.Percent() >= 99.0, qPrintable(agreement.FirstDifference));
}

void TestDisplayLines::edits_data()
{
    // End = the end of the text; removed = End: up to the end.
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("removed");
    QTest::addColumn<QString>("inserted");
    QTest::addColumn<bool>("undone");
    const QString none;
    QTest::newRow("type into a paragraph")
        << 40 << 0 << QStringLiteral("追加の文字列です") << false;
    QTest::newRow("split a paragraph") << 60 << 0 << QStringLiteral("\n") << false;
    QTest::newRow("merge two paragraphs") << -2 << 1 << none << false;
    QTest::newRow("add paragraphs")
        << 120 << 0 << QStringLiteral("一\n\n二つ目の段落\n三") << false;
    QTest::newRow("remove across paragraphs") << 30 << 900 << none << false;
    QTest::newRow("replace across paragraphs") << 500 << 700 << QStringLiteral("置換\n後") << false;
    QTest::newRow("at the very end") << End << 0 << QStringLiteral("\n最後の行") << false;
    QTest::newRow("everything removed") << 0 << End << none << false;
    QTest::newRow("undo of a removal across paragraphs") << 30 << 900 << none << true;
    QTest::newRow("undo of a split") << 60 << 0 << QStringLiteral("\n") << true;
}

// Each change of the document reaches the model through contentsChange; the model then holds
// what a model laid out afresh holds, and what the view shows.
void TestDisplayLines::edits()
{
    QFETCH(int, position);
    QFETCH(int, removed);
    QFETCH(QString, inserted);
    QFETCH(bool, undone);
    const auto edit = ShownEdit(QStringLiteral("IPAPGothic"), 12, 500);
    QTextDocument& document = *edit->document();
    const auto advances = AdvancesOf(*edit);
    TDisplayLineModel model(*advances);
    model.SetWidth(WrapWidthOf(*edit));
    model.SetParagraphs(ParagraphsOf(document));
    bool incremental = false;
    connect(&document, &QTextDocument::contentsChange, this, [&](int at, int gone, int added) {
        incremental = ApplyContentsChange(model, document, at, gone, added);
    });
    edit->setPlainText(Text); // the whole text replaced: one change too
    // Every paragraph that breaks at the narrower width used below keeps its break
    // opportunities from here on.
    model.SetWidth(WrapWidthOf(*edit) * 0.6);
    model.Relayout();
    model.SetWidth(WrapWidthOf(*edit));
    model.Relayout();

    const int length = document.characterCount() - 1;
    QTextCursor cursor(&document);
    // -2: the end of the first paragraph, whose separator goes.
    const int at = position == End  ? length
                   : position == -2 ? document.begin().length() - 1
                                    : position;
    cursor.setPosition(at);
    cursor.setPosition(removed == End ? length : std::min(at + removed, length),
                       QTextCursor::KeepAnchor);
    cursor.insertText(inserted);
    if (undone)
        document.undo();
    QVERIFY(incremental);

    QCOMPARE(model.paragraphCount(), document.blockCount());
    TDisplayLineModel fresh(*advances);
    fresh.SetWidth(WrapWidthOf(*edit));
    fresh.SetParagraphs(ParagraphsOf(document));
    QCOMPARE(model.count(), fresh.count());
    QCOMPARE(ModelLines(model), ModelLines(fresh));
    const TAgreement agreement = Compare(WidgetLines(*edit), ModelLines(model));
    QVERIFY2(agreement.Percent() >= 99.0, qPrintable(agreement.FirstDifference));

    // The narrower width again reuses the kept opportunities: those of the edited paragraphs
    // must be the new ones.
    for (TDisplayLineModel* m : {&model, &fresh}) {
        m->SetWidth(WrapWidthOf(*edit) * 0.6);
        m->Relayout();
    }
    QCOMPARE(ModelLines(model), ModelLines(fresh));
}

void TestDisplayLines::loadedText_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("line feeds, last one ending an empty block") << QStringLiteral("一\n二\n\n三\n");
    QTest::newRow("CR LF and lone CR") << QStringLiteral("a\r\nb\rc\r\r\nd\r");
    QTest::newRow("paragraph separator, line separator kept")
        << QStringLiteral("あ\u2029い\u2028う");
    QTest::newRow("frame marks") << QStringLiteral("x\uFDD0y\uFDD1z");
    QTest::newRow("no separator") << QStringLiteral("ひとつだけ");
}

// The model splits a loaded text where Qt's own document starts its blocks.
void TestDisplayLines::loadedText()
{
    QFETCH(QString, text);
    QPlainTextEdit reference;
    reference.setPlainText(text);
    const auto advances = AdvancesOf(reference);
    TDisplayLineModel model(*advances);
    const QStringList blocks = ParagraphsOf(*reference.document());
    QVERIFY(!model.SetLoadedText(text, int(blocks.size()) + 1));
    QCOMPARE(model.paragraphCount(), 1);
    QVERIFY(model.SetLoadedText(text, int(blocks.size())));
    QStringList paragraphs;
    for (int p = 0; p < model.paragraphCount(); ++p)
        paragraphs << model.paragraph(p).toString();
    QCOMPARE(paragraphs, blocks);
}

QTEST_MAIN(TestDisplayLines)
#include "tst_displaylines.moc"
