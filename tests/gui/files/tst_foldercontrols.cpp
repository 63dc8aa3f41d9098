#include "files/FolderControls.h"
#include "platform/Drives.h"
#include "tests/support/TestFiles.h"

#include <QApplication>
#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool Touch(const QString& path)
{
    return WriteFile(path, {});
}

QStringList Texts(const QListWidget& list)
{
    QStringList texts;
    for (int i = 0; i < list.count(); ++i)
        texts.append(list.item(i)->text());
    return texts;
}

QListWidgetItem* EntryFor(const TDirectoryListBox& list, const QString& path)
{
    for (int i = 0; i < list.count(); ++i) {
        if (list.item(i)->data(TDirectoryListBox::PathRole).toString() == path)
            return list.item(i);
    }
    return nullptr;
}

} // namespace

class TestFolderControls : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void chainFromTheRoot();
    void doubleClickOpensSubfolder();
    void enterOpensParent();
    void emptyFolderStillSignals();
    void missingFolderChangesNothing_data();
    void missingFolderChangesNothing();
    void removedEntryReportsFailure();
    void maskRereadsOnlyWhenChanged();
    void driveOpensItsRoot();
    void folderNameNotUtf8();

private:
    // Three linked controls over a tree: top/{a.txt, b.TXT, c.rtf, sub/{d.txt}, empty/}.
    std::unique_ptr<QTemporaryDir> Tree;
    QString Top;
    QString StartFolder;
    std::unique_ptr<QWidget> Window;
    TDriveComboBox* Drives = nullptr;
    TDirectoryListBox* Folders = nullptr;
    TFileListBox* Files = nullptr;
};

void TestFolderControls::init()
{
    StartFolder = QDir::currentPath();
    Tree = std::make_unique<QTemporaryDir>();
    QVERIFY(Tree->isValid());
    Top = QDir::cleanPath(Tree->path() + QStringLiteral("/top"));
    QDir dir(Tree->path());
    QVERIFY(dir.mkpath("top/sub") && dir.mkpath("top/empty"));
    for (const char* name : {"top/a.txt", "top/b.TXT", "top/c.rtf", "top/sub/d.txt"})
        QVERIFY(Touch(dir.filePath(QString::fromLatin1(name))));
    Window = std::make_unique<QWidget>();
    Drives = new TDriveComboBox(Window.get());
    Folders = new TDirectoryListBox(Window.get());
    Files = new TFileListBox(Window.get());
    Folders->resize(300, 400);
    LinkFolderControls(Drives, Folders, Files);
    Files->SetMask(QStringLiteral("*.txt"));
    QVERIFY(Folders->SetDirectory(Top));
    Window->show();
    QVERIFY(QTest::qWaitForWindowExposed(Window.get()));
}

void TestFolderControls::cleanup()
{
    Window.reset();
    QDir::setCurrent(StartFolder);
    Tree.reset();
}

void TestFolderControls::chainFromTheRoot()
{
    const QStringList parts = Top.split(u'/', Qt::SkipEmptyParts);
    QCOMPARE(Folders->Directory(), Top);
    QCOMPARE(Folders->ChainLength(), parts.size() + 1);
    QCOMPARE(Texts(*Folders), (QStringList{"/"} + parts + QStringList{"empty", "sub"}));
    QCOMPARE(Folders->currentRow(), Folders->ChainLength() - 1);
    for (int i = 0; i < Folders->count(); ++i) {
        const int depth = qMin(i, Folders->ChainLength());
        QCOMPARE(Folders->item(i)->data(TDirectoryListBox::DepthRole).toInt(), depth);
    }
    QCOMPARE(Folders->item(0)->data(TDirectoryListBox::PathRole).toString(), QStringLiteral("/"));
    QCOMPARE(QDir::currentPath(), Top);
    QCOMPARE(Files->Directory(), Top);
    QCOMPARE(Files->Items(), (QStringList{"a.txt", "b.TXT"}));
    QCOMPARE(Files->Paths(),
             (QStringList{Top + QStringLiteral("/a.txt"), Top + QStringLiteral("/b.TXT")}));
}

void TestFolderControls::doubleClickOpensSubfolder()
{
    QSignalSpy changed(Files, &TFileListBox::Changed);
    QSignalSpy moved(Folders, &TDirectoryListBox::DirectoryChanged);
    QListWidgetItem* sub = EntryFor(*Folders, Top + QStringLiteral("/sub"));
    QVERIFY(sub);
    const QPoint centre = Folders->visualItemRect(sub).center();
    // As a user does: the first click of a double-click comes on its own.
    QTest::mouseClick(Folders->viewport(), Qt::LeftButton, {}, centre);
    QCOMPARE(moved.count(), 0);
    QTest::mouseDClick(Folders->viewport(), Qt::LeftButton, {}, centre);
    QCOMPARE(moved.count(), 1);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(Folders->Directory(), Top + QStringLiteral("/sub"));
    QCOMPARE(QDir::currentPath(), Top + QStringLiteral("/sub"));
    QCOMPARE(Files->Items(), QStringList{"d.txt"});
    QCOMPARE(Files->Paths(), QStringList{Top + QStringLiteral("/sub/d.txt")});
}

void TestFolderControls::enterOpensParent()
{
    QVERIFY(Folders->SetDirectory(Top + QStringLiteral("/sub")));
    QSignalSpy changed(Files, &TFileListBox::Changed);
    Folders->setFocus();
    Folders->setCurrentItem(EntryFor(*Folders, Top));
    QTest::keyClick(Folders, Qt::Key_Return);
    QCOMPARE(Folders->Directory(), Top);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(Files->Items(), (QStringList{"a.txt", "b.TXT"}));
}

void TestFolderControls::emptyFolderStillSignals()
{
    QSignalSpy changed(Files, &TFileListBox::Changed);
    QVERIFY(Folders->SetDirectory(Top + QStringLiteral("/empty")));
    QCOMPARE(changed.count(), 1);
    QVERIFY(Files->Items().isEmpty());
    QVERIFY(Files->Paths().isEmpty());
    QVERIFY(Files->Readable());
    // Opening the open folder again re-reads the subfolders but moves nothing.
    QVERIFY(Folders->SetDirectory(Top + QStringLiteral("/empty")));
    QCOMPARE(changed.count(), 1);
}

void TestFolderControls::missingFolderChangesNothing_data()
{
    QTest::addColumn<QString>("target");
    QTest::newRow("missing") << QStringLiteral("gone");
    QTest::newRow("a file") << QStringLiteral("a.txt");
    QTest::newRow("empty") << QString();
}

void TestFolderControls::missingFolderChangesNothing()
{
    QFETCH(QString, target);
    const QStringList before = Texts(*Folders);
    QSignalSpy moved(Folders, &TDirectoryListBox::DirectoryChanged);
    QSignalSpy changed(Files, &TFileListBox::Changed);
    QVERIFY(!Folders->SetDirectory(target.isEmpty() ? target : Top + u'/' + target));
    QCOMPARE(Folders->Directory(), Top);
    QCOMPARE(Texts(*Folders), before);
    QCOMPARE(QDir::currentPath(), Top);
    QCOMPARE(moved.count(), 0);
    QCOMPARE(changed.count(), 0);
    QCOMPARE(Files->Items(), (QStringList{"a.txt", "b.TXT"}));
}

void TestFolderControls::removedEntryReportsFailure()
{
    const QString sub = Top + QStringLiteral("/sub");
    QVERIFY(QDir(sub).removeRecursively());
    QSignalSpy failed(Folders, &TDirectoryListBox::OpenFailed);
    QSignalSpy changed(Files, &TFileListBox::Changed);
    emit Folders->itemActivated(EntryFor(*Folders, sub));
    QCOMPARE(failed.count(), 1);
    QCOMPARE(failed.at(0).at(0).toString(), sub);
    QCOMPARE(changed.count(), 0);
    QCOMPARE(Folders->Directory(), Top);
}

void TestFolderControls::maskRereadsOnlyWhenChanged()
{
    QSignalSpy changed(Files, &TFileListBox::Changed);
    Files->SetMask(QStringLiteral("*.txt"));
    QCOMPARE(changed.count(), 0);
    Files->SetMask(QStringLiteral("*.*"));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(Files->Items(), (QStringList{"a.txt", "b.TXT", "c.rtf"}));
    Files->SetMask(QStringLiteral("*.m3u"));
    QCOMPARE(changed.count(), 2);
    QCOMPARE(Files->Count(), 0);
    // A new file shows once the folder is read again.
    QVERIFY(Touch(Top + QStringLiteral("/list.m3u")));
    Files->Update();
    QCOMPARE(changed.count(), 3);
    QCOMPARE(Files->Items(), QStringList{"list.m3u"});
}

void TestFolderControls::driveOpensItsRoot()
{
    QVERIFY(Drives->count() > 0);
    QCOMPARE(Drives->Drives().value(0), QStringLiteral("/"));
    QCOMPARE(Drives->Drive(), DriveOf(Drives->Drives(), Top));
    QSignalSpy moved(Folders, &TDirectoryListBox::DirectoryChanged);
    const QString root = Drives->Drive();
    QVERIFY(Folders->SetDirectory(Top + QStringLiteral("/sub")));
    moved.clear();
    emit Drives->activated(Drives->findData(root));
    QCOMPARE(Folders->Directory(), QDir::cleanPath(root));
    QCOMPARE(moved.count(), 1);
    QCOMPARE(Files->Directory(), QDir::cleanPath(root));
    QCOMPARE(Folders->ChainLength(), QDir::cleanPath(root).count(u'/') + (root == "/" ? 0 : 1));
}

// A folder named in CP932 ("資料"), as unpacked from an old archive: shown with replacement
// characters, opened through its original bytes, and its files listed with openable paths.
void TestFolderControls::folderNameNotUtf8()
{
    const QByteArray raw = QFile::encodeName(Top) + "/\x8e\x91\x97\xbf";
    QCOMPARE(::mkdir(raw.constData(), 0755), 0);
    const int fd = ::open((raw + "/e.txt").constData(), O_WRONLY | O_CREAT, 0644);
    QVERIFY(fd >= 0);
    ::close(fd);
    QVERIFY(Folders->SetDirectory(Top));
    const QString path = DecodeFileName(raw);
    QListWidgetItem* entry = EntryFor(*Folders, path);
    QVERIFY(entry);
    QCOMPARE(entry->text(), QString(4, QChar::ReplacementCharacter));
    emit Folders->itemActivated(entry);
    QCOMPARE(Folders->Directory(), path);
    char current[4096];
    QVERIFY(::getcwd(current, sizeof current));
    QCOMPARE(QByteArray(current), raw);
    QCOMPARE(Files->Items(), QStringList{"e.txt"});
    QFile file;
    QVERIFY(OpenListedFile(file, Files->Paths().value(0), QIODevice::ReadOnly));
    file.close();
    QVERIFY(Folders->SetDirectory(Top));
    QCOMPARE(::unlink((raw + "/e.txt").constData()), 0);
    QCOMPARE(::rmdir(raw.constData()), 0);
}

QTEST_MAIN(TestFolderControls)
#include "tst_foldercontrols.moc"
