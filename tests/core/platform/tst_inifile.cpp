#include "platform/IniFile.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <limits>
#include <memory>

namespace {

// A byte literal that may hold NUL bytes.
template <qsizetype N> QByteArray Bytes(const char (&s)[N])
{
    return QByteArray(s, N - 1);
}

// Permission bits do not stop root, so a path is made unwritable with the immutable flag, which
// stops root too. False where the file system or the process cannot set it.
bool SetImmutable(const QString& path, bool on)
{
    const int fd = open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK);
    if (fd < 0)
        return false;
    int flags = 0;
    bool done = ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (done) {
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        done = ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    close(fd);
    return done;
}

} // namespace

class TestIniFile : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void readString_data();
    void readString();
    void readInteger_data();
    void readInteger();
    void readBool_data();
    void readBool();
    void writePass_data();
    void writePass();
    void missingFileIsCreated();
    void readSeesOwnWrites();
    void outsideCp932RoundTrips_data();
    void outsideCp932RoundTrips();
    void unwritableTargetKeepsOldFile_data();
    void unwritableTargetKeepsOldFile();
    void binaryGarbageSurvives();
    void hugeLine();

private:
    QString PathOf(const QString& name) const { return Dir->filePath(name); }
    QString Fixture(const QByteArray& bytes)
    {
        const QString path = PathOf(QStringLiteral("Quorvelane.ini"));
        if (!WriteFile(path, bytes))
            qFatal("cannot write the fixture");
        return path;
    }

    void Unlock();

    std::unique_ptr<QTemporaryDir> Dir;
    QStringList LockedPaths; // made unwritable or unreadable; unlocked after each test
};

void TestIniFile::init()
{
    Dir = std::make_unique<QTemporaryDir>();
    QVERIFY(Dir->isValid());
}

void TestIniFile::cleanup()
{
    Unlock();
    Dir.reset();
}

void TestIniFile::Unlock()
{
    for (const QString& path : std::as_const(LockedPaths)) {
        SetImmutable(path, false);
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    LockedPaths.clear();
}

void TestIniFile::readString_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");

    const QString def = QStringLiteral("<default>");
    QTest::newRow("plain") << Bytes("[Form]\r\nLeft=50\r\n") << "Form"
                           << "Left" << QStringLiteral("50");
    QTest::newRow("names without regard to case") << Bytes("[fOrM]\r\nlEFT=7\r\n") << "FORM"
                                                  << "left" << QStringLiteral("7");
    QTest::newRow("blanks around names and value")
        << Bytes("  [ Form ]  \r\n \t Left \t=  a b \t\r\n") << "Form"
        << "Left" << QStringLiteral("a b");
    QTest::newRow("first of duplicate keys") << Bytes("[F]\r\nK=1\r\nk=2\r\n") << "F"
                                             << "K" << QStringLiteral("1");
    QTest::newRow("first of duplicate sections")
        << Bytes("[F]\r\nA=1\r\n[G]\r\n[f]\r\nA=2\r\nB=3\r\n") << "F"
        << "A" << QStringLiteral("1");
    QTest::newRow("key only in a later duplicate section")
        << Bytes("[F]\r\nA=1\r\n[f]\r\nB=3\r\n") << "F"
        << "B" << def;
    QTest::newRow("missing key") << Bytes("[F]\r\nA=1\r\n") << "F"
                                 << "B" << def;
    QTest::newRow("missing section") << Bytes("[F]\r\nA=1\r\n") << "G"
                                     << "A" << def;
    QTest::newRow("key of another section") << Bytes("[A]\r\nK=1\r\n[B]\r\n") << "B"
                                            << "K" << def;
    QTest::newRow("key before any section") << Bytes("K=1\r\n[A]\r\n") << "A"
                                            << "K" << def;
    QTest::newRow("comments are not keys") << Bytes("[A]\r\n;K=1\r\n  #K=2\r\n") << "A"
                                           << "K" << def;
    QTest::newRow("empty value is not the default") << Bytes("[A]\r\nK=\r\n") << "A"
                                                    << "K" << QString();
    QTest::newRow("later equals signs belong to the value") << Bytes("[A]\r\nK=a=b\r\n") << "A"
                                                            << "K" << QStringLiteral("a=b");
    QTest::newRow("text after the header") << Bytes("[A] ; note\r\nK=1\r\n") << "A"
                                           << "K" << QStringLiteral("1");
    QTest::newRow("header without closing bracket opens nothing")
        << Bytes("[A]\r\n[B\r\nK=1\r\n") << "A"
        << "K" << QStringLiteral("1");
    QTest::newRow("LF endings") << Bytes("[A]\nK=v\n") << "A"
                                << "K" << QStringLiteral("v");
    QTest::newRow("no final newline") << Bytes("[A]\r\nK=v") << "A"
                                      << "K" << QStringLiteral("v");
    QTest::newRow("CP932 names and value")
        << Bytes("[\x90\xdd\x92\xe8]\r\n\x96\xbc\x91\x4f=\x95\x5c\x8e\xa6\r\n")
        << QStringLiteral("設定") << QStringLiteral("名前") << QStringLiteral("表示");
    // 0x5D (']') is the trail byte of this katakana: the header must not end inside it.
    QTest::newRow("bracket as a trail byte")
        << Bytes("[\x83\x5d]\r\nK=1\r\n") << QStringLiteral("ゾ") << "K" << QStringLiteral("1");
    QTest::newRow("full-width letters keep their case")
        << Bytes("[\x82\x60]\r\nK=1\r\n") << QStringLiteral("ａ") << "K" << def;
    QTest::newRow("UTF-8 with BOM")
        << Bytes("\xEF\xBB\xBF[A]\r\nK=\xE8\xA1\xA8\xE7\xA4\xBA\r\n") << "A"
        << "K" << QStringLiteral("表示");
    QTest::newRow("long value is not cut") << Bytes("[A]\r\nK=") + QByteArray(5000, 'x') + "\r\n"
                                           << "A"
                                           << "K" << QString(5000, u'x');
}

void TestIniFile::readString()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    const TIniFile ini(Fixture(file));
    QCOMPARE(ini.ReadString(section, key, QStringLiteral("<default>")), expected);
}

void TestIniFile::readInteger_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<int>("expected");

    constexpr int def = 777;
    constexpr int min = std::numeric_limits<int>::min();
    constexpr int max = std::numeric_limits<int>::max();
    QTest::newRow("decimal") << Bytes("1000") << 1000;
    QTest::newRow("negative") << Bytes("-5") << -5;
    QTest::newRow("plus sign") << Bytes("+7") << 7;
    QTest::newRow("leading blank") << Bytes(" 42") << 42;
    QTest::newRow("system colour") << Bytes("-2147483633") << -2147483633;
    QTest::newRow("largest") << Bytes("2147483647") << max;
    QTest::newRow("smallest") << Bytes("-2147483648") << min;
    QTest::newRow("hex") << Bytes("0x3E8") << 1000;
    QTest::newRow("hex capital X") << Bytes("0X10") << 16;
    QTest::newRow("hex all bits") << Bytes("0xFFFFFFFF") << -1;
    QTest::newRow("hex high bit") << Bytes("0x8000000F") << -2147483633;
    QTest::newRow("dollar hex") << Bytes("$ff") << 255;
    QTest::newRow("0x alone") << Bytes("0x") << def;
    QTest::newRow("hex too long") << Bytes("0x123456789") << def;
    QTest::newRow("hex bad digit") << Bytes("0x1G") << def;
    QTest::newRow("dollar alone") << Bytes("$") << def;
    QTest::newRow("word") << Bytes("yes") << def;
    QTest::newRow("trailing garbage") << Bytes("12abc") << def;
    QTest::newRow("empty") << Bytes("") << def;
    QTest::newRow("too big") << Bytes("99999999999") << def;
    QTest::newRow("one above largest") << Bytes("2147483648") << def;
    QTest::newRow("one below smallest") << Bytes("-2147483649") << def;
    QTest::newRow("very long digits") << QByteArray(400, '9') << def;
    QTest::newRow("sign alone") << Bytes("-") << def;
    QTest::newRow("double sign") << Bytes("--1") << def;
    QTest::newRow("inner blank") << Bytes("1 2") << def;
    QTest::newRow("full-width digit") << Bytes("\x82\x50") << def;
    QTest::newRow("decimal point") << Bytes("1.5") << def;
}

void TestIniFile::readInteger()
{
    QFETCH(QByteArray, value);
    QFETCH(int, expected);
    const TIniFile ini(Fixture("[N]\r\nV=" + value + "\r\n"));
    QCOMPARE(ini.ReadInteger(QStringLiteral("N"), QStringLiteral("V"), 777), expected);
}

void TestIniFile::readBool_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("def");
    QTest::addColumn<bool>("expected");
    QTest::newRow("two is true") << Bytes("[B]\r\nV=2\r\n") << false << true;
    QTest::newRow("minus one is true") << Bytes("[B]\r\nV=-1\r\n") << false << true;
    QTest::newRow("zero over true default") << Bytes("[B]\r\nV=0\r\n") << true << false;
    QTest::newRow("yes gives false default") << Bytes("[B]\r\nV=yes\r\n") << false << false;
    QTest::newRow("yes gives true default") << Bytes("[B]\r\nV=yes\r\n") << true << true;
    QTest::newRow("missing gives default") << Bytes("[B]\r\n") << true << true;
}

void TestIniFile::readBool()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, def);
    QFETCH(bool, expected);
    const TIniFile ini(Fixture(file));
    QCOMPARE(ini.ReadBool(QStringLiteral("B"), QStringLiteral("V"), def), expected);
}

void TestIniFile::writePass_data()
{
    QTest::addColumn<QByteArray>("before");
    // Writes as section, key, value triples.
    QTest::addColumn<QStringList>("writes");
    QTest::addColumn<QByteArray>("after");

    const QByteArray messy = Bytes("; settings\r\n"
                                   "\r\n"
                                   "junk before sections\r\n"
                                   "[Other]\r\n"
                                   "  Kept = as is  \r\n"
                                   "[form]\r\n"
                                   "LEFT=5\r\n"
                                   "j\xFF\x82\r\n"
                                   "n\0ul=\x82\r\n"
                                   "\x81\n"
                                   "left=6\r\n"
                                   "\t\r\n"
                                   "# trailing comment\r\n");
    QTest::newRow("no writes") << messy << QStringList() << messy;
    QTest::newRow("foreign lines kept byte for byte")
        << messy << QStringList{"Form", "Left", "10", "Form", "Top", "20"}
        << Bytes("; settings\r\n"
                 "\r\n"
                 "junk before sections\r\n"
                 "[Other]\r\n"
                 "  Kept = as is  \r\n"
                 "[form]\r\n"
                 "LEFT=10\r\n"
                 "j\xFF\x82\r\n"
                 "n\0ul=\x82\r\n"
                 "\x81\n"
                 "left=6\r\n"
                 "Top=20\r\n"
                 "\t\r\n"
                 "# trailing comment\r\n");
    QTest::newRow("unchanged value keeps the line")
        << Bytes("[F]\r\n  K = 5 \r\n") << QStringList{"F", "K", "5"}
        << Bytes("[F]\r\n  K = 5 \r\n");
    QTest::newRow("rewrite keeps the key's spelling")
        << Bytes("[F]\r\n  kEy = 5 \r\n") << QStringList{"f", "KEY", "6"}
        << Bytes("[F]\r\nkEy=6\r\n");
    QTest::newRow("only the first duplicate rewritten")
        << Bytes("[F]\r\nK=1\r\nK=2\r\n[F]\r\nK=3\r\n") << QStringList{"F", "K", "9"}
        << Bytes("[F]\r\nK=9\r\nK=2\r\n[F]\r\nK=3\r\n");
    QTest::newRow("new key before trailing blank and comment")
        << Bytes("[A]\r\nX=1\r\n\r\n; about B\r\n[B]\r\nY=2\r\n") << QStringList{"A", "Z", "3"}
        << Bytes("[A]\r\nX=1\r\nZ=3\r\n\r\n; about B\r\n[B]\r\nY=2\r\n");
    QTest::newRow("new keys in written order")
        << Bytes("[A]\r\n") << QStringList{"A", "P", "1", "A", "Q", "2", "A", "p", "3"}
        << Bytes("[A]\r\nP=3\r\nQ=2\r\n");
    QTest::newRow("new key right after a bare header")
        << Bytes("[A]\r\n\r\n[B]\r\n") << QStringList{"A", "K", "v"}
        << Bytes("[A]\r\nK=v\r\n\r\n[B]\r\n");
    QTest::newRow("new key after a foreign line")
        << Bytes("[A]\r\nnot a key\r\n\r\n") << QStringList{"A", "K", "v"}
        << Bytes("[A]\r\nnot a key\r\nK=v\r\n\r\n");
    QTest::newRow("new section at the end")
        << Bytes("[A]\r\nX=1\r\n\r\n") << QStringList{"B", "K", "v"}
        << Bytes("[A]\r\nX=1\r\n\r\n[B]\r\nK=v\r\n");
    QTest::newRow("new section after a missing final newline")
        << Bytes("[A]\r\nX=1") << QStringList{"B", "K", "v"}
        << Bytes("[A]\r\nX=1\r\n[B]\r\nK=v\r\n");
    QTest::newRow("rewritten last line still without newline")
        << Bytes("[A]\r\nX=1") << QStringList{"A", "X", "2"} << Bytes("[A]\r\nX=2");
    QTest::newRow("new key after a missing final newline")
        << Bytes("[A]\r\nX=1") << QStringList{"A", "Y", "2"} << Bytes("[A]\r\nX=1\r\nY=2\r\n");
    QTest::newRow("LF file gets LF lines")
        << Bytes("[A]\nX=1\n") << QStringList{"A", "X", "2", "A", "Y", "3", "B", "Z", "4"}
        << Bytes("[A]\nX=2\nY=3\n[B]\nZ=4\n");
    QTest::newRow("line break in a value stays one line")
        << Bytes("[A]\r\n") << QStringList{"A", "K", "a\r\nb"} << Bytes("[A]\r\nK=a  b\r\n");
    QTest::newRow("CP932 names and value")
        << Bytes("[\x90\xdd\x92\xe8]\r\n\x96\xbc\x91\x4f=a\r\n")
        << QStringList{QStringLiteral("設定"), QStringLiteral("名前"), QStringLiteral("表示")}
        << Bytes("[\x90\xdd\x92\xe8]\r\n\x96\xbc\x91\x4f=\x95\x5c\x8e\xa6\r\n");
    QTest::newRow("UTF-8 file stays UTF-8")
        << Bytes("\xEF\xBB\xBF[A]\r\nbad=\xC3\r\n") << QStringList{"A", "Y", QStringLiteral("表示")}
        << Bytes("\xEF\xBB\xBF[A]\r\nbad=\xC3\r\nY=\xE8\xA1\xA8\xE7\xA4\xBA\r\n");
    QTest::newRow("outside CP932 turns the file into UTF-8")
        << Bytes(
               "; \x95\x5c\r\n[A]\r\nX=1\r\nJ=\x82\xa0\r\n\r\n; \x8e\xa6\r\n[B]\r\nL=\x82\xa0\r\n")
        << QStringList{"A", "X", QStringLiteral("\U0001F600"), "A", "K", "2"}
        << Bytes("\xEF\xBB\xBF; \xE8\xA1\xA8\r\n[A]\r\nX=\xF0\x9F\x98\x80\r\nJ=\xE3\x81\x82\r\n"
                 "K=2\r\n\r\n; \xE7\xA4\xBA\r\n[B]\r\nL=\xE3\x81\x82\r\n");
}

void TestIniFile::writePass()
{
    QFETCH(QByteArray, before);
    QFETCH(QStringList, writes);
    QFETCH(QByteArray, after);
    const QString path = Fixture(before);
    TIniFile ini(path);
    for (qsizetype i = 0; i + 2 < writes.size(); i += 3)
        ini.WriteString(writes[i], writes[i + 1], writes[i + 2]);
    QVERIFY(ini.UpdateFile());
    QCOMPARE(ReadFile(path), after);
}

void TestIniFile::missingFileIsCreated()
{
    const QString path = PathOf(QStringLiteral("new.ini"));
    TIniFile ini(path);
    QCOMPARE(ini.ReadInteger(QStringLiteral("Form"), QStringLiteral("Left"), 50), 50);
    QCOMPARE(ini.ReadString(QStringLiteral("Form"), QStringLiteral("Left"), QStringLiteral("d")),
             QStringLiteral("d"));
    ini.WriteBool(QStringLiteral("Form"), QStringLiteral("Maximized"), true);
    ini.WriteInteger(QStringLiteral("Form"), QStringLiteral("Left"), -12);
    ini.WriteInteger(QStringLiteral("BaseData"), QStringLiteral("BackColor"), -2147483633);
    ini.WriteBool(QStringLiteral("BaseData"), QStringLiteral("SlideRepeat"), false);
    QVERIFY(!QFile::exists(path));
    QVERIFY(ini.UpdateFile());
    QCOMPARE(ReadFile(path), Bytes("[Form]\r\nMaximized=1\r\nLeft=-12\r\n"
                                   "[BaseData]\r\nBackColor=-2147483633\r\nSlideRepeat=0\r\n"));
}

void TestIniFile::readSeesOwnWrites()
{
    TIniFile ini(Fixture(Bytes("[A]\r\nK=1\r\n")));
    ini.WriteInteger(QStringLiteral("a"), QStringLiteral("k"), 2);
    ini.WriteString(QStringLiteral("New"), QStringLiteral("S"), QStringLiteral("  x  "));
    QCOMPARE(ini.ReadInteger(QStringLiteral("A"), QStringLiteral("K"), 0), 2);
    QCOMPARE(ini.ReadString(QStringLiteral("NEW"), QStringLiteral("s"), QString()),
             QStringLiteral("x"));
}

void TestIniFile::outsideCp932RoundTrips_data()
{
    QTest::addColumn<QString>("value");
    QTest::newRow("emoji") << QStringLiteral("a\U0001F600b");
    QTest::newRow("hangul") << QStringLiteral("한국어");
}

void TestIniFile::outsideCp932RoundTrips()
{
    QFETCH(QString, value);
    const QString path = Fixture(Bytes("[A]\r\nJ=\x95\x5c\x8e\xa6\r\n"));
    {
        TIniFile ini(path);
        ini.WriteString(QStringLiteral("A"), QStringLiteral("K"), value);
        QVERIFY(ini.UpdateFile());
    }
    const QByteArray written = ReadFile(path);
    QVERIFY(written.startsWith("\xEF\xBB\xBF"));
    TIniFile again(path);
    QCOMPARE(again.ReadString(QStringLiteral("A"), QStringLiteral("K"), QString()), value);
    QCOMPARE(again.ReadString(QStringLiteral("A"), QStringLiteral("J"), QString()),
             QStringLiteral("表示"));
    QVERIFY(again.UpdateFile());
    QCOMPARE(ReadFile(path), written);
}

void TestIniFile::unwritableTargetKeepsOldFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("path is a folder") << "folder";
    QTest::newRow("folder does not exist") << "nofolder";
    // A read-only folder alone does not stop a writable file being rewritten in place.
    QTest::newRow("read-only folder and file") << "rofolder";
    QTest::newRow("read-only file") << "rofile";
    QTest::newRow("write-only file") << "unreadable";
}

void TestIniFile::unwritableTargetKeepsOldFile()
{
    QFETCH(QString, kind);
    const QByteArray old = Bytes("[Form]\r\nLeft=5\r\n");
    const QString folder = PathOf(QStringLiteral("settings"));
    QString path = folder + QStringLiteral("/Quorvelane.ini");
    if (kind == "folder") {
        QVERIFY(QDir().mkpath(path));
    } else if (kind != "nofolder") {
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(WriteFile(path, old));
        const QStringList locked =
            kind == "rofolder" ? QStringList{path, folder} : QStringList{path};
        LockedPaths += locked;
        if (kind == "unreadable") {
            if (geteuid() == 0)
                QSKIP("root reads a file whatever its permission bits say");
            // Writable but not readable: replacing it would lose what it holds.
            QFile::setPermissions(path, QFile::WriteOwner);
        } else {
            for (const QString& lockedPath : locked) {
                if (SetImmutable(lockedPath, true))
                    continue;
                if (geteuid() == 0)
                    QSKIP("the immutable flag is not available here");
                QFile::setPermissions(lockedPath, lockedPath == folder
                                                      ? QFile::ReadOwner | QFile::ExeOwner
                                                      : QFile::ReadOwner);
            }
        }
    }

    TIniFile ini(path);
    // A file that can be read but not replaced still gives its values.
    QCOMPARE(ini.ReadInteger(QStringLiteral("Form"), QStringLiteral("Left"), 0),
             kind.startsWith("ro") ? 5 : 0);
    ini.WriteInteger(QStringLiteral("Form"), QStringLiteral("Left"), 99);
    QVERIFY(!ini.UpdateFile());

    if (kind == "folder") {
        QVERIFY(QFileInfo(path).isDir());
    } else if (kind == "nofolder") {
        QVERIFY(!QFileInfo::exists(folder));
    } else {
        Unlock();
        QCOMPARE(ReadFile(path), old);
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("Quorvelane.ini")});
    }
}

void TestIniFile::binaryGarbageSurvives()
{
    QRandomGenerator random(1234);
    QByteArray garbage(256 * 1024, Qt::Uninitialized);
    for (char& c : garbage)
        c = static_cast<char>(random.bounded(256));
    // Something that looks like a section with a number in the middle of the noise.
    garbage.insert(1000, "\r\n[Noise]\r\nN=99999999999999999999\r\nM=-3\r\n");
    const QString path = Fixture(garbage);

    TIniFile ini(path);
    QCOMPARE(ini.ReadInteger(QStringLiteral("Noise"), QStringLiteral("N"), 4), 4);
    QCOMPARE(ini.ReadInteger(QStringLiteral("Noise"), QStringLiteral("M"), 4), -3);
    QVERIFY(ini.UpdateFile());
    QCOMPARE(ReadFile(path), garbage);

    ini.WriteInteger(QStringLiteral("Quorvelane"), QStringLiteral("K"), 1);
    QVERIFY(ini.UpdateFile());
    QVERIFY(ReadFile(path).startsWith(garbage));
    QCOMPARE(TIniFile(path).ReadInteger(QStringLiteral("Quorvelane"), QStringLiteral("K"), 0), 1);
}

void TestIniFile::hugeLine()
{
    const QByteArray value(10 * 1024 * 1024, 'x');
    const QString path = Fixture("[A]\r\nK=" + value + "\r\nN=5\r\n");
    TIniFile ini(path);
    QCOMPARE(ini.ReadString(QStringLiteral("A"), QStringLiteral("K"), QString()).size(),
             value.size());
    QCOMPARE(ini.ReadInteger(QStringLiteral("A"), QStringLiteral("K"), 3), 3);
    ini.WriteInteger(QStringLiteral("A"), QStringLiteral("N"), 6);
    QVERIFY(ini.UpdateFile());
    QCOMPARE(ReadFile(path), "[A]\r\nK=" + value + "\r\nN=6\r\n");
}

QTEST_GUILESS_MAIN(TestIniFile)
#include "tst_inifile.moc"
