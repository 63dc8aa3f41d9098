#include "files/FileSearchAll.h"
#include "files/FileSearchAllThread.h"
#include "files/FolderControls.h"
#include "tests/support/WindowHarness.h"

#include <QMimeData>
#include <QPushButton>
#include <QUrl>
#include <sys/stat.h>

// Files coming in through the real main window: drops of files and folders, and the search
// over a folder tree on its worker thread.
class TestFilesIn : public QObject
{
    Q_OBJECT

private slots:
    void drops_data();
    void drops();
    void dragEnter_data();
    void dragEnter();
    void searchFillsTheLists();
    void searchStoppedInTheFolderPass();
    void transferReplacesTheLists();
    void closingWhileSearching();
};

namespace {

// "本文" in CP932, the text every dropped file starts with.
const QByteArray Honbun("\x96\x7b\x95\xb6");

// The five files the window starts with.
void WriteStartFiles(TWindowHarness& h)
{
    for (const char* name : {"1.txt", "2.txt", "3.txt", "4.txt", "5.txt"})
        QVERIFY(h.Write(QString::fromLatin1(name), "start\r\n"));
}

// The drop source: loose files, two folders with files in mixed case, hidden files, files
// without extension and a subfolder, a folder of subfolders only, and a pipe.
QString MakeDropSource(const QString& root)
{
    QDir dir(root);
    for (const char* folder : {"b/sub", "a", "onlysub/inner"})
        dir.mkpath(QString::fromLatin1(folder));
    for (const char* file :
         {"c.txt", "d.doc", "e.tx", "readme", "b/b2.txt", "b/B1.TXT", "b/.hid.txt", "b/noext",
          "b/x.rtf", "b/sub/deep.txt", "a/a1.txt", "onlysub/noext"}) {
        QFile out(dir.filePath(QString::fromLatin1(file)));
        if (out.open(QIODevice::WriteOnly))
            out.write(Honbun + ' ' + file + "\r\n");
    }
    ::mkfifo(QFile::encodeName(dir.filePath("pipe.txt")).constData(), 0644);
    return root;
}

QMimeData* UrlData(const QString& root, const QStringList& names)
{
    QList<QUrl> urls;
    for (const QString& name : names)
        urls << (name.contains(u':') ? QUrl(name) : QUrl::fromLocalFile(root + u'/' + name));
    auto* data = new QMimeData;
    data->setUrls(urls);
    return data;
}

QStringList Items(const TStringListBox* list, int from = 0)
{
    return list->texts().mid(from);
}

} // namespace

void TestFilesIn::drops_data()
{
    QTest::addColumn<bool>("anyFilter");
    QTest::addColumn<QStringList>("dropped");
    QTest::addColumn<QStringList>("appended");
    QTest::addColumn<QString>("folder");
    QTest::newRow("mask filters, extensions whole")
        << false << QStringList{"c.txt", "d.doc", "e.tx", "readme"} << QStringList{"c.txt"}
        << QString();
    QTest::newRow("all files") << true << QStringList{"readme", "d.doc", "c.txt"}
                               << QStringList{"readme", "d.doc", "c.txt"} << QString();
    // Folders sorted, each folder's files sorted and after the loose files; hidden files in,
    // subfolders and names without extension out.
    QTest::newRow("folders after files")
        << false << QStringList{"b", "c.txt", "a"}
        << QStringList{"c.txt", "a/a1.txt", "b/.hid.txt", "b/B1.TXT", "b/b2.txt"} << "a";
    QTest::newRow("folder of subfolders only")
        << false << QStringList{"onlysub"} << QStringList{} << "onlysub";
    QTest::newRow("gone, pipe, not a local file")
        << true << QStringList{"gone.txt", "pipe.txt", "http://example.com/x.txt"} << QStringList{}
        << QString();
}

void TestFilesIn::drops()
{
    QFETCH(bool, anyFilter);
    QFETCH(QStringList, dropped);
    QFETCH(QStringList, appended);
    QFETCH(QString, folder);
    TWindowHarness h;
    WriteStartFiles(h);
    const QString source = MakeDropSource(h.Dir.filePath(QStringLiteral("source")));
    TQuorvelaneForm& form = h.Start(anyFilter);
    QCOMPARE(form.FileNameListBox->count(), 5);
    const QString text = form.MainRichEdit->toPlainText();

    // A drop reaches only a window that took the drag when it entered.
    const std::unique_ptr<QMimeData> data(UrlData(source, dropped));
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, data.get(), Qt::LeftButton,
                          Qt::NoModifier);
    QCoreApplication::sendEvent(&form, &enter);
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&form, &drop);

    QStringList paths;
    QStringList names;
    for (const QString& name : appended) {
        paths << source + u'/' + name;
        names << name.section(u'/', -1);
    }
    QCOMPARE(Items(form.FilePathListBox, 5), paths);
    QCOMPARE(Items(form.FileNameListBox, 5), names);
    QCOMPARE(Items(form.FileNameListBox, 0).mid(0, 5),
             QStringList({"1.txt", "2.txt", "3.txt", "4.txt", "5.txt"}));
    QCOMPARE(form.DirectoryListBox1->Directory(),
             folder.isEmpty() ? h.Texts : source + u'/' + folder);
    if (appended.isEmpty()) {
        QCOMPARE(form.MainRichEdit->toPlainText(), text);
    } else {
        QCOMPARE(form.FileNameListBox->currentRow(), 5);
        QCOMPARE(form.FileState().CurrentFileName, paths.first());
        QVERIFY(form.MainRichEdit->toPlainText().startsWith(QStringLiteral("本文 ")));
    }
    QCOMPARE(h.Script().LogLines(), QStringList());
    QVERIFY(!form.FormState().DropInProgress);
}

void TestFilesIn::dragEnter_data()
{
    QTest::addColumn<QStringList>("urls");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("local file") << QStringList{"file:///tmp/a.txt"} << true;
    QTest::newRow("local among others")
        << QStringList{"https://example.com/a.txt", "file:///tmp"} << true;
    QTest::newRow("web address") << QStringList{"https://example.com/a.txt"} << false;
    QTest::newRow("file on another host") << QStringList{"file://server/share/a.txt"} << false;
    QTest::newRow("no address") << QStringList{} << false;
}

void TestFilesIn::dragEnter()
{
    QFETCH(QStringList, urls);
    QFETCH(bool, accepted);
    TWindowHarness h;
    TQuorvelaneForm& form = h.Start();
    QMimeData data;
    QList<QUrl> list;
    for (const QString& url : urls)
        list << QUrl(url);
    data.setUrls(list);
    data.setText(QStringLiteral("some text"));
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&form, &enter);
    QCOMPARE(enter.isAccepted(), accepted);
}

// Ctrl+A: the button covers the folder list, a second Ctrl+A is refused, the lists are
// replaced by the tree's files in order and F2 goes through them.
void TestFilesIn::searchFillsTheLists()
{
    TWindowHarness h;
    WriteStartFiles(h);
    QVERIFY(QDir(h.Texts).mkpath(QStringLiteral("Sub/.hidden")));
    QVERIFY(h.Write(QStringLiteral("Sub/b.TXT"), Honbun));
    QVERIFY(h.Write(QStringLiteral("Sub/a.txt"), Honbun));
    QVERIFY(h.Write(QStringLiteral("Sub/.hidden/c.txt"), Honbun));
    QVERIFY(h.Write(QStringLiteral("Sub/skip.rtf"), Honbun));
    TQuorvelaneForm& form = h.Start();
    QAction* searchAll = form.Action(QStringLiteral("FileSearchAll"));
    QCOMPARE(searchAll->shortcut(), QKeySequence(QStringLiteral("Ctrl+A")));

    searchAll->trigger();
    QVERIFY(form.SearchingButton->isVisible());
    QCOMPARE(form.SearchingButton->geometry(), form.DirectoryListBox1->geometry());
    searchAll->trigger();
    QTRY_VERIFY(!form.FileSearchAll().SearchAllThread());

    QCOMPARE(h.Script().LogLines(), QStringList({"message| Error|検索中",
                                                 "message|  確認|8個のファイルを抽出しました。"}));
    QVERIFY(!form.SearchingButton->isVisible());
    QCOMPARE(form.SearchingButton->text(), QStringLiteral("転送"));
    QCOMPARE(Items(form.FileNameListBox),
             QStringList({"1.txt", "2.txt", "3.txt", "4.txt", "5.txt", "a.txt", "b.TXT", "c.txt"}));
    QCOMPARE(form.FilePathListBox->text(7), h.Path(QStringLiteral("Sub/.hidden/c.txt")));
    form.FileNameListBox->setCurrentRow(4);
    form.Action(QStringLiteral("FileNext"))->trigger();
    QCOMPARE(form.FileState().CurrentFileName, h.Path(QStringLiteral("Sub/a.txt")));
    QCOMPARE(form.MainRichEdit->toPlainText(), QStringLiteral("本文"));
}

// The stop is requested before the worker can finish its first folder: the lists stay.
void TestFilesIn::searchStoppedInTheFolderPass()
{
    TWindowHarness h;
    WriteStartFiles(h);
    QVERIFY(QDir(h.Texts).mkpath(QStringLiteral("Sub")));
    QVERIFY(h.Write(QStringLiteral("Sub/6.txt"), Honbun));
    TQuorvelaneForm& form = h.Start();
    form.FileSearchAllExecute();
    form.SearchingButton->click();
    QTRY_VERIFY(!form.FileSearchAll().SearchAllThread());
    QCOMPARE(h.Script().LogLines(), QStringList{"message|  確認|検索は中断されました。"});
    QCOMPARE(form.FileNameListBox->count(), 5);
    QCOMPARE(form.FilePathListBox->count(), 5);
    QVERIFY(!form.SearchingButton->isVisible());
}

// The results replace whatever the lists held, a picked entry and dropped files included; no
// entry is picked afterwards, and a drop that follows appends to the results, still paired.
void TestFilesIn::transferReplacesTheLists()
{
    TWindowHarness h;
    WriteStartFiles(h);
    TQuorvelaneForm& form = h.Start();
    form.AddDroppedFiles({h.Path(QStringLiteral("1.txt"))});
    QCOMPARE(form.FileNameListBox->currentRow(), 5);
    const QStringList names{"b.txt", "a.txt"};
    const QStringList paths{"/tree/b.txt", "/tree/x/a.txt"};
    form.SearchingButton->show();
    QVERIFY(form.FileSearchAll().Transfer(paths, names));
    QVERIFY(form.SearchingButton->isHidden());
    QCOMPARE(Items(form.FilePathListBox), paths);
    QCOMPARE(Items(form.FileNameListBox), names);
    QCOMPARE(form.FileNameListBox->currentRow(), -1);
    form.AddDroppedFiles({h.Path(QStringLiteral("1.txt"))});
    QCOMPARE(Items(form.FilePathListBox, 2), QStringList{h.Path(QStringLiteral("1.txt"))});
    QCOMPARE(Items(form.FileNameListBox, 2), QStringList{"1.txt"});
    QCOMPARE(form.FileNameListBox->currentRow(), 2);
}

// Closing the window while the worker runs ends the worker without a message and writes the
// settings as usual.
void TestFilesIn::closingWhileSearching()
{
    TWindowHarness h;
    QVERIFY(QDir(h.Texts).mkpath(QStringLiteral("x/y/z")));
    TQuorvelaneForm& form = h.Start();
    form.FileSearchAllExecute();
    QPointer<TFileSearchAllThread> thread = form.FileSearchAll().SearchAllThread();
    QVERIFY(thread);
    QVERIFY(form.close());
    QVERIFY(!thread);
    QCOMPARE(h.Script().LogLines(), QStringList());
    QFile ini(h.Dir.filePath(QStringLiteral("Quorvelane.ini")));
    QVERIFY(ini.open(QIODevice::ReadOnly));
    QVERIFY(ini.readAll().contains("\r\nWidth="));
}

QTEST_MAIN(TestFilesIn)
#include "tst_filesin.moc"
