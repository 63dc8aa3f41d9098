#include "common/AppConstants.h"
#include "tests/support/WindowHarness.h"

// Saving the text through the real window, with the save dialog and the questions scripted.
class TestSaving : public QObject
{
    Q_OBJECT

private slots:
    void defaultExtensions_data();
    void defaultExtensions();
    void overwriteQuestion_data();
    void overwriteQuestion();
    void bytesWritten_data();
    void bytesWritten();
    void savingOverTheOpenFile();
    void proposedNameAndEmptyText();
    void textCp932CannotHold_data();
    void textCp932CannotHold();
    void writeFailureKeepsText();
    void editsAreNotThrownAway_data();
    void editsAreNotThrownAway();
    void closingAsksAboutEdits();
};

namespace {

using TAnswer = TDialogService::SaveAnswer;

const QString Edited = QStringLiteral("テキストが変更されています。\r\n\r\n変更を保存しますか?");

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void append(TQuorvelaneForm& form, const QString& text)
{
    const TTextPos end = form.MainRichEdit->Cursor().End();
    form.MainRichEdit->SetCursor(end, end);
    form.MainRichEdit->insertPlainText(text);
}

void save(TQuorvelaneForm& form)
{
    form.Action(QStringLiteral("FileSave"))->trigger();
}

} // namespace

void TestSaving::defaultExtensions_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("entry");
    QTest::addColumn<QString>("written");
    QTest::newRow("first entry") << "memo" << 0 << "memo.txt";
    QTest::newRow("second entry") << "memo" << 1 << "memo.rtf";
    QTest::newRow("all files") << "memo" << 2 << "memo";
    QTest::newRow("own extension") << "memo.log" << 1 << "memo.log";
}

void TestSaving::defaultExtensions()
{
    QFETCH(QString, typed);
    QFETCH(int, entry);
    QFETCH(QString, written);
    TWindowHarness h;
    QVERIFY(h.Write(QStringLiteral("a.txt"), "abc\r\n"));
    TQuorvelaneForm& form = h.Start(false, {}, "AllFilter=*.txt/*.rtf;*.doc\r\n");
    h.Script().AnswerSave(TAnswer{h.Dir.filePath(typed), entry});
    save(form);
    QCOMPARE(h.Script().LogLines(),
             QStringList{"save||" + QStringLiteral("|a.txt|*.txt (*.txt);*.rtf;*.doc (*.rtf *.doc);"
                                                   "すべてのファイル(*.*) (*)")});
    QCOMPARE(h.Script().Log().constFirst().Flags, 0);
    QCOMPARE(readAll(h.Dir.filePath(written)), QByteArray("abc\r\n"));
    // The chosen entry is selected at the next save.
    h.Script().AnswerSave(std::nullopt);
    save(form);
    QCOMPARE(h.Script().Log().constLast().Flags, entry);
}

void TestSaving::overwriteQuestion_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("yes overwrites") << AnswerYes << QByteArray("abc\r\n");
    QTest::newRow("no keeps the file") << AnswerNo << QByteArray("old");
}

void TestSaving::overwriteQuestion()
{
    QFETCH(int, answer);
    QFETCH(QByteArray, bytes);
    TWindowHarness h;
    QVERIFY(h.Write(QStringLiteral("a.txt"), "abc\r\n"));
    QVERIFY(h.Write(QStringLiteral("memo.txt"), "old"));
    TQuorvelaneForm& form = h.Start();
    // Asked about the name with the extension the entry gives, naming only the file.
    h.Script().AnswerSave(TAnswer{h.Path(QStringLiteral("memo")), 0}).AnswerButton(answer);
    save(form);
    const auto& question = h.Script().Log().constLast();
    QCOMPARE(question.Text,
             QStringLiteral("memo.txt は既に存在します。\r\n\r\n上書きしてもよいですか?"));
    QCOMPARE(question.Caption, QStringLiteral("  確認"));
    QCOMPARE(question.Flags, 68);
    QCOMPARE(readAll(h.Path(QStringLiteral("memo.txt"))), bytes);
    QVERIFY(!QFileInfo::exists(h.Path(QStringLiteral("memo"))));
}

void TestSaving::bytesWritten_data()
{
    QTest::addColumn<QByteArray>("original");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArray>("written");
    QFile sample(QStringLiteral(QV_TESTDATA_DIR "/sample-prose.sjis.txt"));
    QVERIFY(sample.open(QIODevice::ReadOnly));
    const QByteArray prose = sample.readAll();
    QTest::newRow("unedited prose, wrapped paragraphs") << prose << QString() << prose;
    QTest::newRow("edited") << QByteArray("line 01\r\nline 02\r\n") << QStringLiteral("\n表示")
                            << QByteArray("line 01\r\nline 02\r\n\x95\x5c\x8e\xa6\r\n");
    const QByteArray longLine = QByteArray("\x82\xa0").repeated(400);
    QTest::newRow("one long paragraph") << longLine << QString() << longLine + "\r\n";
    QTest::newRow("other line ends")
        << QByteArray("a\nb\rc") << QString() << QByteArray("a\r\nb\r\nc\r\n");
}

void TestSaving::bytesWritten()
{
    QFETCH(QByteArray, original);
    QFETCH(QString, typed);
    QFETCH(QByteArray, written);
    TWindowHarness h;
    QVERIFY(h.Write(QStringLiteral("a.txt"), original));
    TQuorvelaneForm& form = h.Start();
    if (!typed.isEmpty())
        append(form, typed);
    if (original.size() > 700)
        QVERIFY(form.LineCount() > form.MainRichEdit->ParagraphCount());
    h.Script().AnswerSave(TAnswer{h.Dir.filePath(QStringLiteral("out.txt")), 0});
    save(form);
    QCOMPARE(readAll(h.Dir.filePath(QStringLiteral("out.txt"))), written);
    QVERIFY(!form.MainRichEdit->IsModified());
}

void TestSaving::savingOverTheOpenFile()
{
    TWindowHarness h;
    QVERIFY(h.Write(QStringLiteral("a.txt"), "abc\r\n"));
    TQuorvelaneForm& form = h.Start();
    append(form, QStringLiteral("\ndef"));
    h.Script().AnswerSave(TAnswer{h.Path(QStringLiteral("a.txt")), 0}).AnswerButton(AnswerYes);
    save(form);
    QCOMPARE(readAll(h.Path(QStringLiteral("a.txt"))), QByteArray("abc\r\ndef\r\n"));
    QCOMPARE(form.MainRichEdit->toPlainText(), QStringLiteral("abc\ndef"));
    QCOMPARE(QDir(h.Texts).entryList(QDir::Files | QDir::Hidden), QStringList{"a.txt"});
}

void TestSaving::proposedNameAndEmptyText()
{
    TWindowHarness h;
    TQuorvelaneForm& form = h.Start();
    save(form); // nothing to save: no dialog
    QVERIFY(h.Script().Log().isEmpty());
    append(form, QStringLiteral("abc"));
    h.Script().AnswerSave(std::nullopt);
    save(form);
    QCOMPARE(h.Script().LogLines().value(0).section(u'|', 0, 3), QStringLiteral("save|||File01"));
}

void TestSaving::textCp932CannotHold_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<QByteArray>("written");
    QTest::newRow("yes writes utf-8") << AnswerYes
                                      << QByteArray("\xef\xbb\xbf"
                                                    "abc\r\nx\xc3\xa9\r\n");
    QTest::newRow("no writes nothing") << AnswerNo << QByteArray("<missing>");
}

void TestSaving::textCp932CannotHold()
{
    QFETCH(int, answer);
    QFETCH(QByteArray, written);
    TWindowHarness h;
    QVERIFY(h.Write(QStringLiteral("a.txt"), "abc\r\n"));
    TQuorvelaneForm& form = h.Start();
    append(form, QStringLiteral("\nx\u00e9"));
    h.Script()
        .AnswerSave(TAnswer{h.Dir.filePath(QStringLiteral("out.txt")), 0})
        .AnswerButton(answer);
    save(form);
    const auto& question = h.Script().Log().constLast();
    QCOMPARE(question.Text,
             QStringLiteral("2 行目の文字 「é」(U+00E9) は Shift-JIS で保存できません。"
                            "\r\n\r\nUTF-8 で保存しますか?"));
    QCOMPARE(question.Flags, 4);
    QCOMPARE(readAll(h.Dir.filePath(QStringLiteral("out.txt"))), written);
    QCOMPARE(form.MainRichEdit->IsModified(), answer != AnswerYes);
}

void TestSaving::writeFailureKeepsText()
{
    TWindowHarness h;
    QVERIFY(h.Write(QStringLiteral("a.txt"), "abc\r\n"));
    TQuorvelaneForm& form = h.Start();
    append(form, QStringLiteral("def"));
    const QString folder = h.Dir.filePath(QStringLiteral("folder"));
    QVERIFY(QDir().mkpath(folder));
    h.Script().AnswerSave(TAnswer{folder, 3}); // all files: no extension added
    save(form);
    const auto& report = h.Script().Log().constLast();
    QCOMPARE(KindName(report.DialogKind), QStringLiteral("error"));
    QCOMPARE(report.Text,
             QDir::toNativeSeparators(folder) + QStringLiteral("\r\n\r\nIs a directory"));
    QCOMPARE(form.MainRichEdit->toPlainText(), QStringLiteral("abcdef"));
    QVERIFY(form.MainRichEdit->IsModified());
    QVERIFY(QFileInfo(folder).isDir());
}

void TestSaving::editsAreNotThrownAway_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("saveChosen");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QByteArray>("saved");
    QTest::newRow("cancel stays") << AnswerCancel << false << "a.txt" << QByteArray("<missing>");
    QTest::newRow("no discards") << AnswerNo << false << "b.txt" << QByteArray("<missing>");
    QTest::newRow("yes saves, then goes on")
        << AnswerYes << true << "b.txt" << QByteArray("a\r\nedit\r\n");
    QTest::newRow("yes with the save cancelled stays")
        << AnswerYes << false << "a.txt" << QByteArray("<missing>");
}

void TestSaving::editsAreNotThrownAway()
{
    QFETCH(int, answer);
    QFETCH(bool, saveChosen);
    QFETCH(QString, shown);
    QFETCH(QByteArray, saved);
    TWindowHarness h;
    QVERIFY(h.Write(QStringLiteral("a.txt"), "a\r\n"));
    QVERIFY(h.Write(QStringLiteral("b.txt"), "b\r\n"));
    TQuorvelaneForm& form = h.Start();
    append(form, QStringLiteral("\nedit"));
    h.Script().AnswerButton(answer);
    if (answer == AnswerYes)
        h.Script().AnswerSave(saveChosen ? std::optional<TAnswer>(TAnswer{
                                               h.Dir.filePath(QStringLiteral("out.txt")), 0})
                                         : std::nullopt);
    form.Action(QStringLiteral("FileNext"))->trigger();
    QCOMPARE(h.Script().LogLines().value(0), "message|  確認|" + Edited);
    QCOMPARE(h.Script().Log().value(0).Flags, 3);
    QCOMPARE(h.Script().PendingAnswers(), 0);
    QCOMPARE(QFileInfo(form.FileState().CurrentFileName).fileName(), shown);
    QCOMPARE(form.FileNameListBox->text(form.FileNameListBox->currentRow()), shown);
    const bool stayed = shown == u"a.txt";
    QCOMPARE(form.MainRichEdit->toPlainText(), stayed ? QStringLiteral("a\nedit") : u"b"_qs);
    QCOMPARE(form.MainRichEdit->IsModified(), stayed);
    QCOMPARE(readAll(h.Dir.filePath(QStringLiteral("out.txt"))), saved);
    // An unedited text is let go without a question.
    h.Script().ClearLog();
    form.MainRichEdit->SetModified(false);
    form.Action(QStringLiteral("FileBack"))->trigger();
    form.Action(QStringLiteral("FileNext"))->trigger();
    QVERIFY(h.Script().Log().isEmpty());
}

void TestSaving::closingAsksAboutEdits()
{
    TWindowHarness h;
    QVERIFY(h.Write(QStringLiteral("a.txt"), "a\r\n"));
    TQuorvelaneForm& form = h.Start();
    append(form, QStringLiteral("b"));
    h.Script().AnswerButton(AnswerCancel);
    QVERIFY(!form.close());
    QVERIFY(form.isVisible());
    h.Script().AnswerButton(AnswerNo);
    QVERIFY(form.close());
    QCOMPARE(h.Script().LogLines(),
             QStringList({"message|  確認|" + Edited, "message|  確認|" + Edited}));
}

QTEST_MAIN(TestSaving)
#include "tst_saving.moc"
