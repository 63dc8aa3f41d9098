#include "platform/StartPlace.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <unistd.h>

// The command line and the place of a start from the desktop menu, over real files and folders
// in a temporary folder and the real XDG environment variables.
class TestStartPlace : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void arguments_data();
    void arguments();
    void desktopPlace_data();
    void desktopPlace();

private:
    QString Path(const QString& name) const { return Dir.filePath(name); }

    QTemporaryDir Dir;
    QByteArray SavedHome = qgetenv("HOME");
    QByteArray SavedConfig = qgetenv("XDG_CONFIG_HOME");
};

void TestStartPlace::initTestCase()
{
    QVERIFY(Dir.isValid());
    QVERIFY(QDir(Dir.path()).mkpath(QStringLiteral("books/sub")));
    for (const char* name : {"books/a.txt", "books/b c.txt", "books/--desktop"}) {
        QFile file(Path(QString::fromUtf8(name)));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    // A name whose bytes are not UTF-8, as an old CP932 archive leaves behind: the program sees
    // it decoded with a replacement character and cannot name the file.
    const QByteArray raw = QFile::encodeName(Path(QStringLiteral("books/"))) + "\x8a\xbf.txt";
    const int fd = ::open(raw.constData(), O_CREAT | O_WRONLY, 0644);
    QVERIFY(fd >= 0);
    ::close(fd);
}

void TestStartPlace::cleanup()
{
    qputenv("HOME", SavedHome);
    if (SavedConfig.isNull())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", SavedConfig);
}

void TestStartPlace::arguments_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("desktop");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("skipped");

    QTest::newRow("names relative to the start folder, in order")
        << QStringList{"b c.txt", "./sub/../a.txt"} << false
        << QStringList{"books/b c.txt", "books/a.txt"} << QStringList{};
    QTest::newRow("the menu's option and a file")
        << QStringList{"--desktop", "a.txt"} << true << QStringList{"books/a.txt"} << QStringList{};
    QTest::newRow("after -- the option is a file name")
        << QStringList{"--", "--desktop"} << false << QStringList{"books/--desktop"}
        << QStringList{};
    QTest::newRow("missing, folder and undecodable names are skipped")
        << QStringList{"gone.txt", "sub", QFile::decodeName("\x8a\xbf.txt"), "a.txt"} << false
        << QStringList{"books/a.txt"}
        << QStringList{"ファイルがありません: gone.txt", "フォルダは開けません: sub",
                       QStringLiteral("ファイル名を読めません: ") +
                           QFile::decodeName("\x8a\xbf.txt")};
}

void TestStartPlace::arguments()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, desktop);
    QFETCH(QStringList, files);
    QFETCH(QStringList, skipped);

    const TStartArguments start = ParseStartArguments(arguments, Path(QStringLiteral("books")));
    QCOMPARE(start.Desktop, desktop);
    QStringList expected;
    for (const QString& file : files)
        expected << Path(file);
    QCOMPARE(start.Files, expected);
    QCOMPARE(start.Skipped, skipped);
}

void TestStartPlace::desktopPlace_data()
{
    QTest::addColumn<QString>("configHome");  // empty: unset, so ~/.config
    QTest::addColumn<QByteArray>("userDirs"); // user-dirs.dirs in the configuration folder
    QTest::addColumn<QString>("settings");
    QTest::addColumn<bool>("settingsMade");
    QTest::addColumn<QString>("start");

    QTest::newRow("home without .config or documents")
        << QString() << QByteArray() << "home/.config/quorvelane" << true << "home";
    QTest::newRow("configuration home and a Japanese documents folder")
        << "cfg" << QByteArray("XDG_DOCUMENTS_DIR=\"$HOME/\xe6\x96\x87\xe6\x9b\xb8\"\n")
        << "cfg/quorvelane" << true << "home/文書";
    QTest::newRow("configuration folder cannot be made")
        << "plainfile" << QByteArray() << "plainfile/quorvelane" << false << "home";
}

void TestStartPlace::desktopPlace()
{
    QFETCH(QString, configHome);
    QFETCH(QByteArray, userDirs);
    QFETCH(QString, settings);
    QFETCH(bool, settingsMade);
    QFETCH(QString, start);

    QTemporaryDir root;
    QVERIFY(QDir(root.path()).mkpath(QStringLiteral("home")));
    qputenv("HOME", QFile::encodeName(root.filePath(QStringLiteral("home"))));
    qunsetenv("XDG_CONFIG_HOME");
    if (configHome == QLatin1String("plainfile")) {
        // A file where the folder should be stops even root from making it.
        QFile file(root.filePath(configHome));
        QVERIFY(file.open(QIODevice::WriteOnly));
    } else if (!configHome.isEmpty()) {
        QVERIFY(QDir(root.path()).mkpath(configHome));
        QFile dirs(root.filePath(configHome + QStringLiteral("/user-dirs.dirs")));
        QVERIFY(dirs.open(QIODevice::WriteOnly));
        dirs.write(userDirs);
        QVERIFY(QDir(root.path()).mkpath(QStringLiteral("home/文書")));
    }
    if (!configHome.isEmpty())
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(root.filePath(configHome)));

    const TStartPlace place = DesktopStartPlace();
    QCOMPARE(place.SettingsFolder, root.filePath(settings));
    QCOMPARE(QFileInfo(place.SettingsFolder).isDir(), settingsMade);
    QCOMPARE(place.StartFolder, root.filePath(start));
}

QTEST_GUILESS_MAIN(TestStartPlace)
#include "tst_startplace.moc"
