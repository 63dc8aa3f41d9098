#include "files/FolderListing.h"
#include "platform/Drives.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// "テキスト.txt" in CP932, as a name copied from an old archive arrives: not UTF-8.
const QByteArray Cp932Name("\x83\x65\x83\x4c\x83\x58\x83\x67.txt");
// Its lead bytes are invalid on their own; its trail bytes here are ASCII letters.
const QString Cp932Display = QStringLiteral("\uFFFDe\uFFFDL\uFFFDX\uFFFDg.txt");

bool WriteRaw(const QByteArray& path, const QByteArray& content)
{
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        return false;
    const bool written =
        ::write(fd, content.constData(), size_t(content.size())) == ssize_t(content.size());
    return ::close(fd) == 0 && written;
}

bool Touch(const QString& path)
{
    return WriteFile(path, "x");
}

} // namespace

class TestFolderListing : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void listFolder_data();
    void listFolder();
    void pathsPairWithNames();
    void invalidNameStaysOpenable();
    void fileNameRoundTrip_data();
    void fileNameRoundTrip();
    void byteOrderMarkInName_data();
    void byteOrderMarkInName();
    void unopenableFolders_data();
    void unopenableFolders();
    void unreadableByPermission();
    void folderRemovedAfterListing();
    void subfolders();
    void selectedFolderList();
    void selectedFolderListEmpty();
    void driveRoots();
    void driveOf_data();
    void driveOf();

private:
    QTemporaryDir Tree;
    QString Folder;
};

// The tree: plain files in mixed letter case, hidden files, a folder whose name matches the
// masks, links to a file, to a folder, to nothing and in a loop, a pipe, and a CP932 name.
void TestFolderListing::initTestCase()
{
    QVERIFY(Tree.isValid());
    Folder = Tree.path();
    QDir dir(Folder);
    for (const char* name : {"a.txt", "B.TXT", "c.Txt", "d.rtf", "e.doc", "noext", ".hidden.txt",
                             ".profile", "sub/inner.txt", "empty/.keep"}) {
        const QString path = dir.filePath(QString::fromLatin1(name));
        QVERIFY(dir.mkpath(QFileInfo(path).path()));
        QVERIFY(Touch(path));
    }
    QVERIFY(dir.mkdir("folder.txt"));
    QVERIFY(dir.mkdir(".hiddenfolder"));
    QVERIFY(QFile::link("a.txt", dir.filePath("link.txt")));
    QVERIFY(QFile::link("missing.txt", dir.filePath("broken.txt")));
    QVERIFY(QFile::link("loop2.txt", dir.filePath("loop1.txt")));
    QVERIFY(QFile::link("loop1.txt", dir.filePath("loop2.txt")));
    QVERIFY(QFile::link("sub", dir.filePath("dirlink.txt")));
    QVERIFY(QFile::link("folderloop", dir.filePath("folderloop")));
    QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath("pipe.txt")).constData(), 0644), 0);
    QVERIFY(WriteRaw(QFile::encodeName(Folder) + '/' + Cp932Name, "cp932 name"));
}

// QDir::removeRecursively cannot reach a name that is not UTF-8.
void TestFolderListing::cleanupTestCase()
{
    QCOMPARE(::unlink((QFile::encodeName(Folder) + '/' + Cp932Name).constData()), 0);
}

void TestFolderListing::listFolder_data()
{
    QTest::addColumn<QString>("masks");
    QTest::addColumn<QStringList>("names");
    const QStringList txt{"a.txt", "B.TXT", "c.Txt", "link.txt", Cp932Display};
    QTest::newRow("txt in any letter case") << "*.txt" << txt;
    QTest::newRow("upper-case mask") << "*.TXT" << txt;
    QTest::newRow("empty pieces") << ";*.txt;" << txt;
    QTest::newRow("two masks") << "*.RTF;*.doc" << QStringList{"d.rtf", "e.doc"};
    const QStringList all{"a.txt", "B.TXT",    "c.Txt", "d.rtf",
                          "e.doc", "link.txt", "noext", Cp932Display};
    QTest::newRow("star dot star") << "*.*" << all;
    QTest::newRow("star") << "*" << all;
    QTest::newRow("no mask") << "" << QStringList{};
    QTest::newRow("nothing matches") << "*.m3u" << QStringList{};
}

void TestFolderListing::listFolder()
{
    QFETCH(QString, masks);
    QFETCH(QStringList, names);
    const TFolderListing listing = ListFolder(Folder, masks);
    QVERIFY(listing.Readable);
    QCOMPARE(listing.Folder, Folder);
    QCOMPARE(listing.Names, names);
}

void TestFolderListing::pathsPairWithNames()
{
    const TFolderListing listing = ListFolder(Folder, QStringLiteral("*.*"));
    QCOMPARE(listing.Paths.size(), listing.Names.size());
    for (qsizetype i = 0; i < listing.Names.size(); ++i) {
        QVERIFY(ListedFileExists(listing.Paths[i]));
        QCOMPARE(DisplayFileName(listing.Paths[i].section(u'/', -1)), listing.Names[i]);
        QCOMPARE(listing.Paths[i].section(u'/', 0, -2), Folder);
    }
}

void TestFolderListing::invalidNameStaysOpenable()
{
    const TFolderListing listing = ListFolder(Folder, QStringLiteral("*.txt"));
    const qsizetype at = listing.Names.indexOf(Cp932Display);
    QVERIFY(at >= 0);
    const QString path = listing.Paths[at];
    QCOMPARE(EncodeFileName(path), QFile::encodeName(Folder) + '/' + Cp932Name);
    QFile file;
    QVERIFY(OpenListedFile(file, path, QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("cp932 name"));
    // The name QFile::decodeName gives names another file; this is why the escapes exist.
    QVERIFY(!QFile::exists(Folder + u'/' + QFile::decodeName(Cp932Name)));
}

void TestFolderListing::fileNameRoundTrip_data()
{
    QTest::addColumn<QByteArray>("raw");
    QTest::addColumn<bool>("valid");
    QTest::newRow("ascii") << QByteArray("notes.txt") << true;
    QTest::newRow("utf-8 japanese") << QByteArray("\xe3\x83\x86\xe3\x82\xad.txt") << true;
    QTest::newRow("utf-8 four bytes") << QByteArray("\xf0\xa0\xae\x9f.txt") << true;
    // Characters whose low surrogate lies where the escapes of bytes 80..FF do.
    QTest::newRow("folder emoji U+1F4C1") << QByteArray("\xf0\x9f\x93\x81.txt") << true;
    QTest::newRow("extension b U+20080") << QByteArray("\xf0\xa0\x82\x80") << true;
    QTest::newRow("emoji then bad byte") << QByteArray("\xf0\x9f\x92\xa9\xff") << false;
    QTest::newRow("cp932") << Cp932Name << false;
    QTest::newRow("overlong slash") << QByteArray("a\xc0\xaf") << false;
    QTest::newRow("encoded surrogate") << QByteArray("\xed\xa0\x80z") << false;
    QTest::newRow("truncated at the end") << QByteArray("ab\xe3\x81") << false;
    QTest::newRow("past U+10FFFF") << QByteArray("\xf4\x90\x80\x80") << false;
    QTest::newRow("lone continuation") << QByteArray("\x80\xbf") << false;
    QTest::newRow("latin-1") << QByteArray("caf\xe9.txt") << false;
}

// A U+FEFF in a name is a character like any other: dropping it names another file.
void TestFolderListing::byteOrderMarkInName_data()
{
    QTest::addColumn<QByteArray>("raw");
    QTest::newRow("inside") << QByteArray("a\xef\xbb\xbf"
                                          "b.txt");
    QTest::newRow("first") << QByteArray("\xef\xbb\xbf"
                                         "ab.txt");
}

void TestFolderListing::byteOrderMarkInName()
{
    QFETCH(QByteArray, raw);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QByteArray folder = QFile::encodeName(dir.path());
    QVERIFY(WriteRaw(folder + '/' + raw, "marked"));
    QVERIFY(WriteRaw(folder + "/ab.txt", "plain"));
    const TFolderListing listing = ListFolder(dir.path(), QStringLiteral("*.txt"));
    QCOMPARE(listing.Names.size(), 2);
    const qsizetype at = listing.Names.indexOf(QStringLiteral("ab.txt")) == 0 ? 1 : 0;
    QCOMPARE(listing.Names[at].size(), 7);
    QFile file;
    QVERIFY(OpenListedFile(file, listing.Paths[at], QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("marked"));
}

void TestFolderListing::fileNameRoundTrip()
{
    QFETCH(QByteArray, raw);
    QFETCH(bool, valid);
    const QString name = DecodeFileName(raw);
    QCOMPARE(EncodeFileName(name), raw);
    if (valid) {
        QCOMPARE(name, QFile::decodeName(raw));
        QCOMPARE(DisplayFileName(name), name);
    } else {
        QVERIFY(DisplayFileName(name).contains(QChar::ReplacementCharacter));
    }
}

void TestFolderListing::unopenableFolders_data()
{
    QTest::addColumn<QString>("folder");
    QTest::newRow("a file") << QStringLiteral("a.txt");
    QTest::newRow("missing") << QStringLiteral("gone");
    QTest::newRow("link to itself") << QStringLiteral("folderloop");
    QTest::newRow("broken link") << QStringLiteral("broken.txt");
    QTest::newRow("empty path") << QString();
}

void TestFolderListing::unopenableFolders()
{
    QFETCH(QString, folder);
    const QString path = folder.isEmpty() ? folder : Folder + u'/' + folder;
    const TFolderListing listing = ListFolder(path, QStringLiteral("*.*"));
    QVERIFY(!listing.Readable);
    QVERIFY(listing.Names.isEmpty() && listing.Paths.isEmpty());
    bool readable = true;
    QVERIFY(ListSubfolders(path, &readable).isEmpty());
    QVERIFY(!readable);
    QVERIFY(!ListedFolderReadable(path));
}

void TestFolderListing::unreadableByPermission()
{
    if (::geteuid() == 0)
        QSKIP("permission bits do not stop root from reading a folder");
    QTemporaryDir dir;
    QVERIFY(Touch(dir.filePath("a.txt")));
    QVERIFY(QFile::setPermissions(dir.path(), QFileDevice::WriteOwner));
    const TFolderListing listing = ListFolder(dir.path(), QStringLiteral("*.*"));
    QVERIFY(QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                  QFileDevice::ExeOwner));
    QVERIFY(!listing.Readable);
    QVERIFY(listing.Names.isEmpty());
}

void TestFolderListing::folderRemovedAfterListing()
{
    QTemporaryDir dir;
    QVERIFY(Touch(dir.filePath("a.txt")));
    QCOMPARE(ListFolder(dir.path(), QStringLiteral("*.txt")).Names, QStringList{"a.txt"});
    QVERIFY(dir.remove());
    const TFolderListing listing = ListFolder(dir.path(), QStringLiteral("*.txt"));
    QVERIFY(!listing.Readable);
    QVERIFY(listing.Names.isEmpty());
}

void TestFolderListing::subfolders()
{
    bool readable = false;
    QCOMPARE(ListSubfolders(Folder, &readable),
             (QStringList{"dirlink.txt", "empty", "folder.txt", "sub"}));
    QVERIFY(readable);
    QVERIFY(ListSubfolders(Folder + QStringLiteral("/empty")).isEmpty());
}

void TestFolderListing::selectedFolderList()
{
    const QString texts = Folder + QStringLiteral("/sub");
    const QString gone = Folder + QStringLiteral("/gone");
    const QString file = Folder + QStringLiteral("/a.txt");
    const TSelectedFolderList list =
        SelectedFolderList(QStringList{"/", gone, texts, "", file, texts + u'/'}.join(u';'));
    QCOMPARE(list.SelectedFolders, (QStringList{"/", texts, texts + u'/'}));
    QCOMPARE(list.Items.size(), 3);
    QCOMPARE(list.Items[0].Caption, QStringLiteral("/"));
    QCOMPARE(list.Items[1].Caption, QStringLiteral("sub"));
    QCOMPARE(list.Items[2].Caption, QStringLiteral("sub"));
    for (int k = 0; k < list.Items.size(); ++k)
        QCOMPARE(list.Items[k].Tag, k);
}

void TestFolderListing::selectedFolderListEmpty()
{
    QVERIFY(SelectedFolderList(QString()).Items.isEmpty());
    QVERIFY(SelectedFolderList(QString()).SelectedFolders.isEmpty());
    QVERIFY(SelectedFolderList(QStringLiteral(";;")).SelectedFolders.isEmpty());
}

void TestFolderListing::driveRoots()
{
    const QList<TVolume> volumes{
        {"/home", "/dev/sda3", "ext4", true},
        {"/", "overlay", "overlay", true},
        {"/proc", "proc", "proc", true},
        {"/sys", "sysfs", "sysfs", true},
        {"/run", "tmpfs", "tmpfs", true},
        {"/media/me/USB", "/dev/sdb1", "vfat", true},
        {"/media/me/CD", "/dev/sr0", "iso9660", false},
        {"/snap/core/1", "/dev/loop0", "squashfs", true},
        {"/etc/hosts", "/dev/sda1", "ext4", true},
        {"/mnt/share", "server:/export", "nfs4", true},
        {"/home", "/dev/sda3", "ext4", true},
    };
    const auto isFolder = [](const QString& path) { return path != QLatin1String("/etc/hosts"); };
    QCOMPARE(DriveRoots(volumes, isFolder),
             (QStringList{"/", "/home", "/media/me/USB", "/mnt/share"}));
}

void TestFolderListing::driveOf_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("drive");
    QTest::newRow("root") << "/"
                          << "/";
    QTest::newRow("below the root") << "/usr/share"
                                    << "/";
    QTest::newRow("drive itself") << "/home"
                                  << "/home";
    QTest::newRow("below a drive") << "/home/me/texts"
                                   << "/home";
    QTest::newRow("name sharing a prefix") << "/homework"
                                           << "/";
    QTest::newRow("unclean path") << "/tmp/../home/me/"
                                  << "/home";
}

void TestFolderListing::driveOf()
{
    QFETCH(QString, path);
    QFETCH(QString, drive);
    QCOMPARE(DriveOf({"/", "/home", "/media/me/USB"}, path), drive);
    QCOMPARE(DriveOf({"/home"}, QStringLiteral("/usr")), QString());
}

QTEST_GUILESS_MAIN(TestFolderListing)
#include "tst_folderlisting.moc"
