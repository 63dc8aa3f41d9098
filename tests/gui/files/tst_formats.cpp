#include "platform/Cp932.h"
#include "platform/IniFile.h"
#include "platform/TextDecoding.h"
#include "reader/ReaderLabel.h"
#include "tests/support/EncodeText.h"
#include "tests/support/WindowHarness.h"
#include "tests/support/ZipMaker.h"

#include <QTest>

namespace {

// The story in Aozora Bunko notation, as the archive ships it: CP932 with CR LF.
QByteArray AozoraSample()
{
    QFile file(QStringLiteral(QV_TESTDATA_DIR "/aozora-sample.sjis.txt"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList CheckedEncodings(const TQuorvelaneForm& form)
{
    QStringList checked;
    for (const char* name : {"EncodingAuto", "EncodingShiftJis", "EncodingEucJp", "EncodingJis",
                             "EncodingUtf8", "EncodingUtf16Le", "EncodingUtf16Be"}) {
        if (form.Action(QLatin1String(name))->isChecked())
            checked << QLatin1String(name);
    }
    return checked;
}

void Open(TQuorvelaneForm& form, int row)
{
    form.FileNameListBox->setCurrentRow(row);
    form.FileNameListBoxClick();
}

} // namespace

class TestFormats : public QObject
{
    Q_OBJECT

private slots:
    void encodingMenuReloadsAndRemembers();
    void zipOpensItsText();
    void zipFailures_data();
    void zipFailures();
    void aozoraZipReadsClean();
    void aozoraSameInEveryEncoding();
    void aozoraFormattingSwitches();
};

void TestFormats::encodingMenuReloadsAndRemembers()
{
    TWindowHarness h;
    // "あいう" in EUC-JP, and "あ" in CP932.
    QVERIFY(h.Write(QStringLiteral("a.txt"), "\xa4\xa2\xa4\xa4\xa4\xa6\r\n"));
    QVERIFY(h.Write(QStringLiteral("b.txt"), "\x82\xa0"));
    TQuorvelaneForm& form = h.Start();
    QCOMPARE(form.MainRichEdit->toPlainText(), QStringLiteral("あいう"));
    QCOMPARE(CheckedEncodings(form), (QStringList{"EncodingAuto", "EncodingEucJp"}));

    form.Action(QStringLiteral("EncodingShiftJis"))->trigger();
    QCOMPARE(form.MainRichEdit->toPlainText(), DecodeCp932("\xa4\xa2\xa4\xa4\xa4\xa6"));
    QCOMPARE(CheckedEncodings(form), QStringList{"EncodingShiftJis"});
    QCOMPARE(form.LineCount(), 1);

    // Another file is read in its own encoding; the choice stays with the first.
    form.FileNextExecute();
    QCOMPARE(form.MainRichEdit->toPlainText(), QStringLiteral("あ"));
    QCOMPARE(CheckedEncodings(form), (QStringList{"EncodingAuto", "EncodingShiftJis"}));
    form.FileBackExecute();
    QCOMPARE(CheckedEncodings(form), QStringList{"EncodingShiftJis"});
    QCOMPARE(form.MainRichEdit->toPlainText(), DecodeCp932("\xa4\xa2\xa4\xa4\xa4\xa6"));

    // The row the arrow keys moved to is not the file in view; the file in view is read again.
    form.FileNameListBox->setCurrentRow(1);
    form.Action(QStringLiteral("EncodingAuto"))->trigger();
    QCOMPARE(form.FileNameListBox->currentRow(), 0);
    QCOMPARE(form.MainRichEdit->toPlainText(), QStringLiteral("あいう"));
    QCOMPARE(CheckedEncodings(form), (QStringList{"EncodingAuto", "EncodingEucJp"}));
    QVERIFY(h.Script().Log().isEmpty());
}

void TestFormats::zipOpensItsText()
{
    TWindowHarness h;
    QVERIFY(h.Write(QStringLiteral("story.zip"),
                    MakeZip({{"b.txt", "\x82\xa2"}, {"a.txt", "\xa4\xa2\r\n\xa4\xa4"}})));
    TQuorvelaneForm& form = h.Start(true);
    QCOMPARE(form.FileNameListBox->text(form.FileNameListBox->currentRow()),
             QStringLiteral("story.zip"));
    QCOMPARE(form.MainRichEdit->toPlainText(), QStringLiteral("あ\nい"));
    QCOMPARE(CheckedEncodings(form), (QStringList{"EncodingAuto", "EncodingEucJp"}));
    QCOMPARE(h.LabelTexts().mid(0, 2), (QStringList{"あ", "い"}));
    QVERIFY(h.Script().Log().isEmpty());
}

void TestFormats::zipFailures_data()
{
    QTest::addColumn<QByteArray>("zip");
    QTest::addColumn<QString>("message");
    const QByteArray whole = MakeZip({{"a.txt", QByteArray(5000, 'x')}});
    QTest::newRow("truncated") << whole.left(whole.size() / 2)
                               << u"ZIPファイルが壊れているか、ZIPファイルではありません。"_qs;
    QTest::newRow("no text") << MakeZip({{"a.jpg", "x"}})
                             << u"ZIPファイルの中にテキストファイル（.txt）がありません。"_qs;
    const QByteArray encrypted = MakeZip({{"a.txt", "secret"}}, "password");
    if (!encrypted.isEmpty())
        QTest::newRow("encrypted") << encrypted << u"パスワード付きのZIPファイルは読めません。"_qs;
}

void TestFormats::zipFailures()
{
    QFETCH(QByteArray, zip);
    QFETCH(QString, message);
    TWindowHarness h;
    QVERIFY(h.Write(QStringLiteral("a.txt"), "\x82\xa0"));
    QVERIFY(h.Write(QStringLiteral("b.zip"), zip));
    TQuorvelaneForm& form = h.Start(true);
    Open(form, 1);
    QCOMPARE(h.Script().LogLines(), QStringList{u"message| Error|"_qs + message});
    QCOMPARE(form.MainRichEdit->toPlainText(), QString());
    QCOMPARE(form.LineCount(), 0);
    QCOMPARE(CheckedEncodings(form), QStringList{"EncodingAuto"});
}

// Every line the reader shows of the formatted story, from the first to the last slide.
QStringList SlideThrough(TWindowHarness& h)
{
    TQuorvelaneForm& form = h.Form.operator*();
    QStringList shown;
    const int labels = form.LabelCount();
    for (int guard = 0; guard < 1000 && form.SlideState().ReadingLine + labels <= form.LineCount();
         ++guard) {
        shown << h.LabelTexts();
        form.PageNextExecute();
    }
    shown << h.LabelTexts();
    return shown;
}

void TestFormats::aozoraZipReadsClean()
{
    TWindowHarness h;
    QVERIFY(h.Write(QStringLiteral("rain.zip"), MakeZip({{"rain.txt", AozoraSample()}})));
    TQuorvelaneForm& form = h.Start(true);
    h.FitLabels(6);
    QVERIFY(form.MainRichEdit->isReadOnly());
    const QString text = form.MainRichEdit->toPlainText();
    QVERIFY(text.contains(QStringLiteral("夕方の雨は")));
    for (const QString& line : SlideThrough(h)) {
        for (const QString& mark : {u"《"_qs, u"》"_qs, u"｜"_qs, u"［＃"_qs})
            QVERIFY2(!line.contains(mark), qPrintable(line));
    }

    // Ruby stands above its base.
    form.ReadingLineScrollBarScroll(int(text.left(text.indexOf(u"夕方")).count(u'\n')));
    bool found = false;
    for (QLabel* label : h.Labels()) {
        for (const TReaderLabel::TPlacedMark& placed :
             static_cast<TReaderLabel*>(label)->PlacedMarks()) {
            if (placed.Mark.Reading != u"ゆうがた")
                continue;
            found = true;
            QCOMPARE(label->text().mid(placed.Mark.Start, placed.Mark.Length), u"夕方"_qs);
            QVERIFY(placed.Box.bottom() <= placed.Base.top() + 0.5);
            QVERIFY(placed.Box.top() >= 0);
            QVERIFY(qAbs(placed.Box.center().x() - placed.Base.center().x()) < 1);
        }
    }
    QVERIFY(found);

    form.Action(QStringLiteral("FindHeadings"))->trigger();
    const QStringList entries = form.ContentsListBox->Entries();
    QCOMPARE(entries.size(), 3);
    QVERIFY(entries.at(0).startsWith(u"一= "_qs));
    QVERIFY(entries.at(2).startsWith(u"あとがき= "_qs));
    QCOMPARE(h.Script().LogLines(), QStringList{u"message|  確認|見出しが､3件見つかりました。"_qs});
    form.ContentsListBox->SetCurrentRow(1);
    form.ContentsListBoxClick();
    QCOMPARE(form.Line(form.SlideState().ReadingLine), u"二"_qs);
}

void TestFormats::aozoraSameInEveryEncoding()
{
    TWindowHarness h;
    const QString story = DecodeCp932(AozoraSample());
    QVERIFY(h.Write(QStringLiteral("a.zip"), MakeZip({{"a.txt", AozoraSample()}})));
    QVERIFY(h.Write(QStringLiteral("b.txt"), EncodeText(story, "EUC-JP-MS")));
    QVERIFY(h.Write(QStringLiteral("c.txt"), EncodeText(story, "UTF-16LE")));
    TQuorvelaneForm& form = h.Start(true);
    const QString zipped = form.MainRichEdit->toPlainText();
    const int lines = form.LineCount();
    for (int row : {1, 2}) {
        Open(form, row);
        QCOMPARE(form.MainRichEdit->toPlainText(), zipped);
        QCOMPARE(form.LineCount(), lines);
    }
    QCOMPARE(CheckedEncodings(form), (QStringList{"EncodingAuto", "EncodingUtf16Le"}));
}

void TestFormats::aozoraFormattingSwitches()
{
    TWindowHarness h;
    QVERIFY(h.Write(QStringLiteral("rain.txt"), AozoraSample()));
    TQuorvelaneForm& form = h.Start();
    const QString raw = DecodeText(AozoraSample());
    QVERIFY(form.Action(QStringLiteral("AozoraFormat"))->isChecked());
    // Saving writes the text as it was read, not the formatted one.
    const QString copy = h.Dir.filePath(QStringLiteral("copy.txt"));
    h.Script().AnswerSave(TDialogService::SaveAnswer{copy, 0});
    form.FileSaveExecute();
    QFile saved(copy);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll(), AozoraSample());

    form.Action(QStringLiteral("RubyParenthesised"))->trigger();
    QVERIFY(form.MainRichEdit->toPlainText().contains(u"夕方（ゆうがた）の雨"_qs));
    QVERIFY(!form.Action(QStringLiteral("RubyAbove"))->isChecked());

    form.Action(QStringLiteral("AozoraFormat"))->trigger();
    QCOMPARE(form.MainRichEdit->toPlainText(), raw);
    QVERIFY(!form.MainRichEdit->isReadOnly());
    form.Action(QStringLiteral("FindHeadings"))->trigger();
    QCOMPARE(form.ContentsListBox->Entries(), QStringList());

    form.close();
    const TIniFile ini(h.Dir.filePath(QStringLiteral("Quorvelane.ini")));
    QCOMPARE(ini.ReadString(u"Formats"_qs, u"AozoraFormat"_qs, {}), u"0"_qs);
    QCOMPARE(ini.ReadString(u"Formats"_qs, u"RubyStyle"_qs, {}), u"1"_qs);
}

QTEST_MAIN(TestFormats)
#include "tst_formats.moc"
