#include "common/AppConstants.h"
#include "files/ExtensionFilter.h"
#include "files/FolderListing.h"
#include "files/FolderTreeSearch.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The window as the search sees it, logging every effect in order.
class TLoggingWindow final : public TSearchAllPort
{
public:
    QStringList Log;
    QStringList Paths;
    QStringList Names;

    void SetStatus(const QString& caption) override { Log << "status|" + caption; }
    void Message(const QString& text, const QString& caption) override
    {
        Log << "message|" + caption + u'|' + text;
    }
    void ErrorReport(const QString&) override { Log << QStringLiteral("error report"); }
    bool Transfer(const QStringList& paths, const QStringList& names) override
    {
        Paths = paths;
        Names = names;
        Log << QStringLiteral("transfer|%1").arg(paths.size());
        return true;
    }
};

bool Touch(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly);
}

// A search with a stop hook: the test decides from the search's pass and folder when to stop
// (or to change the tree), instead of racing a thread.
struct TSearchRun
{
    TLoggingWindow Window;
    std::function<bool(TFolderTreeSearch&)> Hook;
    TFolderTreeSearch Search{Window, [this] { return Hook ? Hook(Search) : false; }};
};

} // namespace

class TestFolderTree : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void filterText_data();
    void filterText();
    void passesFilter_data();
    void passesFilter();
    void searchesTheWholeTree_data();
    void searchesTheWholeTree();
    void stopRequested_data();
    void stopRequested();
    void limitNamesTheFolder_data();
    void limitNamesTheFolder();
    void unreadableFolder_data();
    void unreadableFolder();
    void missingStartFolder();
    void folderChangedDuringSearch_data();
    void folderChangedDuringSearch();
    void nameNotInUtf8();

private:
    QString At(const QString& relative) const { return Root + relative; }
    std::unique_ptr<QTemporaryDir> Tree;
    QString Root;
};

// Files in mixed letter case, hidden files and folders, a pipe, an extension that is only a
// tail of ".TXT", links to a file and to the tree's own root, an empty folder.
void TestFolderTree::init()
{
    Tree = std::make_unique<QTemporaryDir>();
    QVERIFY(Tree->isValid());
    Root = Tree->path() + u'/';
    QDir dir(Root);
    for (const char* folder : {"sub", ".hiddendir", "Beta/deep", "alpha", "empty"})
        QVERIFY(dir.mkpath(QString::fromLatin1(folder)));
    for (const char* file : {"b.txt", "A.TXT", "c.TxT", "d.rtf", "noext", ".hidden.txt", "e.xt",
                             "sub/x.txt", ".hiddendir/h.txt", "Beta/deep/y.txt", "alpha/z.Txt"})
        QVERIFY(Touch(At(QString::fromLatin1(file))));
    QVERIFY(QFile::link(At("b.txt"), At("link.txt")));
    QVERIFY(QFile::link(Root, At("sub/loop")));
    QCOMPARE(::mkfifo(QFile::encodeName(At("pipe.txt")).constData(), 0644), 0);
}

void TestFolderTree::filterText_data()
{
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("search");
    QTest::addColumn<QString>("drop");
    QTest::newRow("one mask") << "*.txt"
                              << ".TXT;"
                              << ".TXT;";
    QTest::newRow("two masks") << "*.txt;*.Rtf"
                               << ".TXT;.RTF;"
                               << ".TXT;.RTF;";
    QTest::newRow("every file") << "*.*"
                                << "*.*"
                                << "";
    QTest::newRow("every file among others") << "*.txt;*.*"
                                             << "*.*"
                                             << ".TXT;.;";
    QTest::newRow("full-width letters stay") << "*.ｔｘｔ"
                                             << ".ｔｘｔ;"
                                             << ".ｔｘｔ;";
}

void TestFolderTree::filterText()
{
    QFETCH(QString, mask);
    QFETCH(QString, search);
    QFETCH(QString, drop);
    QCOMPARE(SearchFilterText(mask), search);
    QCOMPARE(DropExtensionFilter(mask), drop);
}

void TestFolderTree::passesFilter_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<bool>("passes");
    QTest::newRow("mixed case") << "/t/A.TxT"
                                << ".TXT;.RTF;" << true;
    QTest::newRow("second entry") << "/t/a.rtf"
                                  << ".TXT;.RTF;" << true;
    QTest::newRow("shorter extension") << "/t/a.tx"
                                       << ".TXT;" << false;
    QTest::newRow("tail of an entry") << "/t/a.xt"
                                      << ".TXT;" << false;
    QTest::newRow("last dot counts") << "/t/a.txt.bak"
                                     << ".TXT;" << false;
    QTest::newRow("no extension") << "/t/readme"
                                  << ".TXT;" << false;
    QTest::newRow("dot only in the folder") << "/t.txt/readme"
                                            << ".TXT;" << false;
    QTest::newRow("no extension, no filter") << "/t/readme"
                                             << "" << true;
    QTest::newRow("colon is part of the name") << "/t/a:b.txt"
                                               << ".TXT;" << true;
}

void TestFolderTree::passesFilter()
{
    QFETCH(QString, path);
    QFETCH(QString, filter);
    QFETCH(bool, passes);
    QCOMPARE(PassesExtensionFilter(path, filter), passes);
}

void TestFolderTree::searchesTheWholeTree_data()
{
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QStringList>("found");
    QTest::newRow("txt") << "*.txt"
                         << QStringList{".hidden.txt", "A.TXT",           "b.txt",
                                        "c.TxT",       "link.txt",        ".hiddendir/h.txt",
                                        "alpha/z.Txt", "Beta/deep/y.txt", "sub/x.txt"};
    QTest::newRow("every file") << "*.*"
                                << QStringList{".hidden.txt", "A.TXT",           "b.txt",
                                               "c.TxT",       "d.rtf",           "e.xt",
                                               "link.txt",    "noext",           ".hiddendir/h.txt",
                                               "alpha/z.Txt", "Beta/deep/y.txt", "sub/x.txt"};
}

// Folders in sorted order, files sorted within each; no folder entered through a link, no
// pipe, the status after the last folder and the count at the end.
void TestFolderTree::searchesTheWholeTree()
{
    QFETCH(QString, mask);
    QFETCH(QStringList, found);
    TSearchRun run;
    run.Search.SetSearch(Tree->path(), mask);
    run.Search.SearchAll();
    QStringList expected;
    for (const QString& name : found)
        expected << At(name);
    QCOMPARE(run.Window.Paths, expected);
    QCOMPARE(run.Window.Names.size(), found.size());
    QCOMPARE(run.Window.Names.at(found.size() - 1), QStringLiteral("x.txt"));
    QCOMPARE(run.Search.Folders, QStringList({Root, At(".hiddendir/"), At("alpha/"), At("Beta/"),
                                              At("Beta/deep/"), At("empty/"), At("sub/")}));
    QCOMPARE(
        run.Window.Log,
        QStringList(
            {"status|検索中", "status|残り数 = 0", "status|転送",
             QStringLiteral("transfer|%1").arg(found.size()),
             QStringLiteral("message|  確認|%1個のファイルを抽出しました。").arg(found.size())}));
}

void TestFolderTree::stopRequested_data()
{
    QTest::addColumn<int>("pass");
    QTest::addColumn<int>("folder");
    QTest::addColumn<QStringList>("log");
    const int folders = int(TFolderTreeSearch::TPass::Folders);
    const int files = int(TFolderTreeSearch::TPass::Files);
    const QStringList untouched{"status|検索中", "message|  確認|検索は中断されました。"};
    QTest::newRow("folder pass, start folder") << folders << 0 << untouched;
    QTest::newRow("folder pass, later folder") << folders << 1 << untouched;
    // alpha/ is the third folder and holds one file: the results of the finished folders and
    // what alpha gave before the stop are transferred.
    QTest::newRow("file pass")
        << files << 2
        << QStringList{
               "status|検索中", "status|転送", "transfer|7",
               "message|  確認|検索は中断されました。\r\n\r\n7個のファイルを抽出しました。"};
}

void TestFolderTree::stopRequested()
{
    QFETCH(int, pass);
    QFETCH(int, folder);
    QFETCH(QStringList, log);
    TSearchRun run;
    bool stop = false;
    run.Hook = [&](TFolderTreeSearch& search) {
        stop = stop || (int(search.Pass) == pass && search.FolderIndex >= folder);
        return stop;
    };
    run.Search.SetSearch(Tree->path(), QStringLiteral("*.txt"));
    run.Search.SearchAll();
    QCOMPARE(run.Window.Log, log);
}

// Only finished folders count: the start folder's five matches all join although the limit may
// be lower, and the first match after the finished folders reached the limit stops the search.
void TestFolderTree::limitNamesTheFolder_data()
{
    QTest::addColumn<int>("limit");
    QTest::addColumn<int>("transferred");
    QTest::addColumn<QString>("folder");
    QTest::newRow("below the start folder's matches") << 3 << 5 << ".hiddendir/";
    QTest::newRow("reached exactly") << 5 << 5 << ".hiddendir/";
    QTest::newRow("one more allowed") << 6 << 6 << "alpha/";
}

void TestFolderTree::limitNamesTheFolder()
{
    QFETCH(int, limit);
    QFETCH(int, transferred);
    QFETCH(QString, folder);
    TSearchRun run;
    QCOMPARE(run.Search.Limit, MaxListEntries);
    run.Search.Limit = limit;
    run.Search.SetSearch(Tree->path(), QStringLiteral("*.txt"));
    run.Search.SearchAll();
    QCOMPARE(run.Window.Paths.size(), transferred);
    QCOMPARE(run.Window.Log.size(), 4);
    QCOMPARE(run.Window.Log.at(2), QStringLiteral("transfer|%1").arg(transferred));
    const QString message = run.Window.Log.at(3);
    QVERIFY2(
        message.startsWith(QStringLiteral("message| Error|検索ファイル数が許容数(32736)を超え")),
        qPrintable(message));
    QVERIFY2(message.endsWith(QStringLiteral("\r\n(検索中止フォルダ = \r\n '") + At(folder) +
                              QStringLiteral("')")),
             qPrintable(message));
}

// A folder that may not be read is passed over deep in the tree; the start folder is the one
// the user asked for, so there it ends the search. The file system's answer is stood in for,
// as permission bits do not stop the root user the tests run as.
void TestFolderTree::unreadableFolder_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QStringList>("log");
    QTest::newRow("deep in the tree")
        << "Beta/deep/"
        << QStringList{"status|検索中", "status|残り数 = 0", "status|転送", "transfer|8",
                       "message|  確認|8個のファイルを抽出しました。"};
    QTest::newRow("start folder") << ""
                                  << QStringList{"status|検索中", "status|* 検索エラーです。",
                                                 "error report",
                                                 "message|  確認|検索は中断されました。"};
}

void TestFolderTree::unreadableFolder()
{
    QFETCH(QString, folder);
    QFETCH(QStringList, log);
    TSearchRun run;
    run.Search.OpenFault = [&](const QString& path) { return path == At(folder) ? EACCES : 0; };
    run.Search.SetSearch(Tree->path(), QStringLiteral("*.txt"));
    run.Search.SearchAll();
    QCOMPARE(run.Window.Log, log);
    QVERIFY(!run.Window.Paths.contains(At("Beta/deep/y.txt")));
}

void TestFolderTree::missingStartFolder()
{
    TSearchRun run;
    run.Search.SetSearch(At("gone"), QStringLiteral("*.txt"));
    run.Search.SearchAll();
    QCOMPARE(run.Window.Log, QStringList{"message| Error|No Exists"});
}

// A folder that goes away while the search runs is passed over; one that turns into a file
// cannot be listed, which is an error of the pass it happens in.
void TestFolderTree::folderChangedDuringSearch_data()
{
    QTest::addColumn<int>("pass");
    QTest::addColumn<bool>("intoFile");
    QTest::addColumn<QStringList>("log");
    const int folders = int(TFolderTreeSearch::TPass::Folders);
    const int files = int(TFolderTreeSearch::TPass::Files);
    QTest::newRow("removed, folder pass")
        << folders << false
        << QStringList{"status|検索中", "status|残り数 = 0", "status|転送", "transfer|8",
                       "message|  確認|8個のファイルを抽出しました。"};
    QTest::newRow("removed, file pass")
        << files << false
        << QStringList{"status|検索中", "status|残り数 = 0", "status|転送", "transfer|8",
                       "message|  確認|8個のファイルを抽出しました。"};
    QTest::newRow("became a file, folder pass")
        << folders << true
        << QStringList{"status|検索中", "status|** 検索エラーです(例外)。", "error report",
                       "message|  確認|検索は中断されました。"};
    QTest::newRow("became a file, file pass")
        << files << true
        << QStringList{"status|検索中", "error report", "status|転送", "transfer|8",
                       "message|  確認|8個のファイルを抽出しました。"};
}

void TestFolderTree::folderChangedDuringSearch()
{
    QFETCH(int, pass);
    QFETCH(bool, intoFile);
    QFETCH(QStringList, log);
    TSearchRun run;
    const QString sub = At("sub/");
    // sub/ is listed last in both passes; it changes once it has been seen as a folder.
    run.Hook = [&](TFolderTreeSearch& search) {
        if (int(search.Pass) == pass && search.Folders.contains(sub) && QFileInfo(sub).isDir() &&
            search.Folders.indexOf(sub) > search.FolderIndex) {
            QDir(sub).removeRecursively();
            if (intoFile)
                Touch(At("sub"));
        }
        return false;
    };
    run.Search.SetSearch(Tree->path(), QStringLiteral("*.txt"));
    run.Search.SearchAll();
    QCOMPARE(run.Window.Log, log);
    QVERIFY(!run.Window.Paths.contains(At("sub/x.txt")));
}

// "テキスト.txt" in CP932, as a name copied from an old archive arrives: the path in the list
// must still open that file, and the name shows the bytes it cannot show as U+FFFD.
void TestFolderTree::nameNotInUtf8()
{
    const QByteArray raw = QFile::encodeName(At("sub/")) + "\x83\x65\x83\x4c\x83\x58\x83\x67.txt";
    const int fd = ::open(raw.constData(), O_WRONLY | O_CREAT, 0644);
    QVERIFY(fd >= 0);
    ::close(fd);
    TSearchRun run;
    run.Search.SetSearch(Tree->path(), QStringLiteral("*.txt"));
    run.Search.SearchAll();
    const qsizetype at =
        run.Window.Names.indexOf(QStringLiteral("\uFFFDe\uFFFDL\uFFFDX\uFFFDg.txt"));
    QVERIFY(at >= 0);
    QCOMPARE(EncodeFileName(run.Window.Paths.at(at)), raw);
    QVERIFY(ListedFileExists(run.Window.Paths.at(at)));
    QCOMPARE(::unlink(raw.constData()), 0);
}

QTEST_GUILESS_MAIN(TestFolderTree)
#include "tst_foldertree.moc"
