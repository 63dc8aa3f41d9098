#include "files/TextFileWriter.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <unistd.h>

namespace {

class TLines final : public TParagraphSource
{
public:
    explicit TLines(QStringList lines) : Lines(std::move(lines)) {}
    int ParagraphCount() const override { return int(Lines.size()); }
    QStringView Paragraph(int i) const override { return Lines.at(i); }

private:
    QStringList Lines;
};

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

bool run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished() && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

// A small file system of its own, mounted while the object lives (only root may mount).
class TMount
{
public:
    TMount(const QString& folder, const QString& options) : Folder(folder)
    {
        Mounted = geteuid() == 0 &&
                  run(QStringLiteral("mount"), {"-t", "tmpfs", "-o", options, "tmpfs", folder});
    }
    ~TMount()
    {
        if (Mounted)
            run(QStringLiteral("umount"), {Folder});
    }
    bool Mounted = false;

private:
    QString Folder;
};

} // namespace

class TestTextWriter : public QObject
{
    Q_OBJECT

private slots:
    void findNonCp932();
    void failures_data();
    void failures();
};

void TestTextWriter::findNonCp932()
{
    QVERIFY(!FindNonCp932(TLines({"abc", "\u8868"})));
    const auto found = FindNonCp932(TLines({"abc", "\u8868", "x\U00020BB7\u00e9"}));
    QVERIFY(found);
    QCOMPARE(found->Line, 2);
    QCOMPARE(found->Character, char32_t(0x20BB7));
}

void TestTextWriter::failures_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("mountOptions");
    QTest::addColumn<QStringList>("lines");
    const QStringList lines{"\u8868\u793a", "abc"};
    QTest::newRow("a folder") << "folder" << QString() << lines;
    QTest::newRow("a missing folder") << "missing/out.txt" << QString() << lines;
    QTest::newRow("a name of 300 bytes") << QString(300, u'a') << QString() << lines;
    QTest::newRow("a character cp932 cannot hold")
        << "old.txt" << QString() << QStringList{"abc", "\u00e9"};
    QTest::newRow("a read-only file system") << "mnt/old.txt"
                                             << "ro" << lines;
    QTest::newRow("a full disk") << "mnt/old.txt"
                                 << "size=64k" << QStringList(2000, QString(100, u'x'));
}

void TestTextWriter::failures()
{
    QFETCH(QString, target);
    QFETCH(QString, mountOptions);
    QFETCH(QStringList, lines);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("folder")));
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("mnt")));
    std::unique_ptr<TMount> mount;
    const QString path = dir.filePath(target);
    const QByteArray old("old text\r\n");
    if (!mountOptions.isEmpty()) {
        const QString mnt = dir.filePath(QStringLiteral("mnt"));
        mount = std::make_unique<TMount>(mnt, QStringLiteral("size=64k"));
        if (!mount->Mounted)
            QSKIP("mounting a small file system needs root; not tested");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(old), old.size());
        file.close();
        if (mountOptions != u"size=64k")
            QVERIFY(run(QStringLiteral("mount"), {"-o", "remount," + mountOptions, mnt}));
    } else if (target == u"old.txt") {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(old), old.size());
    }
    const QString failure = WriteTextFile(path, TLines(lines), TTextEncoding::Cp932);
    QVERIFY(!failure.isEmpty());
    QVERIFY2(failure.startsWith(QDir::toNativeSeparators(path)), qPrintable(failure));
    // Whatever was there before is there as it was, and no half-written file is left.
    if (target == u"folder")
        QVERIFY(QFileInfo(path).isDir());
    else if (target.endsWith(QStringLiteral("old.txt")))
        QCOMPARE(readAll(path), old);
    else
        QVERIFY(!QFileInfo::exists(path));
    const QString folder = QFileInfo(path).absolutePath();
    if (QFileInfo(folder).isDir())
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(),
                 target.endsWith(QStringLiteral("old.txt")) ? 1 : 0);
}

QTEST_GUILESS_MAIN(TestTextWriter)
#include "tst_textwriter.moc"
