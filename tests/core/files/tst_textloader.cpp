#include "files/FileState.h"
#include "files/TextLoader.h"
#include "tests/support/TestFiles.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

// The window's lists and text view as plain data; every effect is logged in order.
class TFakeWindow final : public TLoaderPort
{
public:
    QStringList Names;
    QStringList Paths;
    int Selected = -1;
    QString ViewText;
    QStringList Log;

    int FileCount() const override { return int(Names.size()); }
    int SelectedFile() const override { return Selected; }
    void SelectFile(int row) override { Selected = row; }
    int PathCount() const override { return int(Paths.size()); }
    QString PathAt(int row) const override { return Paths.at(row); }
    void SetFileHint(const QString& hint) override { Log << "hint " + hint; }
    bool TextEmpty() const override { return ViewText.isEmpty(); }
    void LoadText(const QString& text) override
    {
        ViewText = text;
        Log << "text " + text;
    }
    int LineCount() const override
    {
        return ViewText.isEmpty() ? 0 : int(ViewText.count(u'\n')) + 1;
    }
    void ResetReadingLine() override { Log << "top"; }
    void ClearContents() override { Log << "contents cleared"; }
    void SetResearchVisible(bool visible) override
    {
        Log << (visible ? "research" : "no research");
    }
    void RebuildReader() override { Log << "rebuild"; }
    void SetCaption(const QString& caption) override { Log << "caption" + caption; }
    int MessageBox(const QString& text, const QString& caption, int) override
    {
        Log << "message" + caption + u'|' + text;
        return 1;
    }
    QString Text() const override { return ViewText; }
    void SetTextReadOnly(bool) override {}
    void ShowEncoding(std::optional<TSourceEncoding>, bool) override {}
    void ShowAnnotations(const TAozoraDisplay&) override {}
    bool TextModified() const override { return false; }
    bool SaveText() override { return true; }
};

} // namespace

// Which file a click loads, what the window is told, and the messages of the failures, over
// real files.
class TestTextLoader : public QObject
{
    Q_OBJECT

private slots:
    void click_data();
    void click();
    void moveThroughList_data();
    void moveThroughList();
    void ownTextChangeIsIgnoredOnce();
};

void TestTextLoader::click_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<int>("selected");
    QTest::addColumn<QStringList>("log");
    const QString loading = QStringLiteral("caption  テキスト読込み中");
    QTest::newRow("empty list") << QStringList{} << -1
                                << QStringList{loading, "hint ", "no research", "rebuild",
                                               "captionQuorvelane"};
    QTest::newRow("a text") << QStringList{"a.txt"} << 0
                            << QStringList{
                                   loading,         "top",      "hint @/a.txt", "contents cleared",
                                   "text 吾輩\n猫", "research", "rebuild"};
    QTest::newRow("no selection takes the first")
        << QStringList{"a.txt", "gone.txt"} << -1
        << QStringList{loading,         "top",      "hint @/a.txt", "contents cleared",
                       "text 吾輩\n猫", "research", "rebuild"};
    QTest::newRow("an empty file")
        << QStringList{"empty.txt"} << 0
        << QStringList{loading,       "top",     "hint @/empty.txt", "contents cleared",
                       "no research", "rebuild", "captionQuorvelane"};
    QTest::newRow("a file gone since the listing")
        << QStringList{"a.txt", "gone.txt"} << 1
        << QStringList{loading,
                       "top",
                       "hint @/gone.txt",
                       "contents cleared",
                       "no research",
                       "rebuild",
                       "message  確認|ファイルが見つかりませんでした。",
                       "captionQuorvelane"};
    QTest::newRow("a folder in the file's place")
        << QStringList{"folder.txt"} << 0
        << QStringList{loading,
                       "top",
                       "hint @/folder.txt",
                       "contents cleared",
                       "no research",
                       "rebuild",
                       "message Error|ファイル読込みに失敗しました。",
                       "captionQuorvelane"};
}

void TestTextLoader::click()
{
    QFETCH(QStringList, names);
    QFETCH(int, selected);
    QFETCH(QStringList, log);
    QTemporaryDir dir;
    // CP932 "吾輩" CR LF "猫".
    QVERIFY(WriteFile(dir.filePath("a.txt"), "\x8c\xe1\x94\x79\r\n\x94\x4c"));
    QVERIFY(WriteFile(dir.filePath("empty.txt"), {}));
    QVERIFY(QDir(dir.path()).mkdir("folder.txt"));
    TFakeWindow window;
    window.Names = names;
    for (const QString& name : names)
        window.Paths << dir.filePath(name);
    window.Selected = selected;
    TFileState files;
    TTextLoader loader(files, window);
    loader.FileNameListBoxClick();
    QCOMPARE(window.Log.replaceInStrings(dir.path(), QStringLiteral("@")), log);
    const int loaded = qMax(0, selected);
    QCOMPARE(files.CurrentFileName, names.isEmpty() ? QString() : window.Paths.at(loaded));
}

void TestTextLoader::moveThroughList_data()
{
    QTest::addColumn<int>("selected");
    QTest::addColumn<bool>("next");
    QTest::addColumn<int>("after"); // -2: nothing loaded
    QTest::newRow("next from the first") << 0 << true << 1;
    QTest::newRow("next from the last") << 2 << true << -2;
    QTest::newRow("next without selection") << -1 << true << 0;
    QTest::newRow("back from the last") << 2 << false << 1;
    QTest::newRow("back from the first") << 0 << false << -2;
    QTest::newRow("back without selection") << -1 << false << -2;
}

void TestTextLoader::moveThroughList()
{
    QFETCH(int, selected);
    QFETCH(bool, next);
    QFETCH(int, after);
    QTemporaryDir dir;
    TFakeWindow window;
    for (const char* name : {"a.txt", "b.txt", "c.txt"}) {
        QVERIFY(WriteFile(dir.filePath(name), name));
        window.Names << name;
        window.Paths << dir.filePath(name);
    }
    window.Selected = selected;
    TFileState files;
    TTextLoader loader(files, window);
    next ? loader.FileNextExecute() : loader.FileBackExecute();
    if (after == -2) {
        QVERIFY(window.Log.isEmpty());
        QCOMPARE(window.Selected, selected);
    } else {
        QCOMPARE(window.Selected, after);
        QCOMPARE(window.ViewText, window.Names.at(after));
    }
}

void TestTextLoader::ownTextChangeIsIgnoredOnce()
{
    TFakeWindow window;
    TFileState files;
    files.IgnoreTextChange = true;
    TTextLoader loader(files, window);
    loader.MainRichEditChange();
    QVERIFY(window.Log.isEmpty());
    loader.MainRichEditChange();
    QCOMPARE(window.Log, QStringList{"rebuild"});
}

QTEST_GUILESS_MAIN(TestTextLoader)
#include "tst_textloader.moc"
