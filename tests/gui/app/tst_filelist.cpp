#include "tests/support/Permissions.h"
#include "tests/support/WindowHarness.h"

#include "files/FolderControls.h"
#include "files/FolderListing.h"
#include "reader/MainRichEdit.h"

#include <QApplication>
#include <QMenu>
#include <QTemporaryDir>
#include <fcntl.h>
#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// CP932 texts: "吾輩は猫である。" / "名前はまだ無い。", "第二章" / "どこで生れたか", "資料".
const QByteArray CatText = "\x8c\xe1\x94\x79\x82\xcd\x94\x4c\x82\xc5\x82\xa0\x82\xe9\x81\x42\r\n"
                           "\x96\xbc\x91\x4f\x82\xcd\x82\xdc\x82\xbe\x96\xb3\x82\xa2\x81\x42\r\n";
const QByteArray ChapterText = "\x91\xe6\x93\xf1\x8f\xcd\r\n"
                               "\x82\xc7\x82\xb1\x82\xc5\x90\xb6\x82\xea\x82\xbd\x82\xa9\r\n";
const QByteArray MaterialsText = "\x8e\x91\x97\xbf\r\n";
const QString CatLine = QStringLiteral("吾輩は猫である。");
const QString ChapterLine = QStringLiteral("第二章");
const QString MaterialsLine = QStringLiteral("資料");

int RemoveEntry(const char* path, const struct stat*, int, struct FTW*)
{
    ::remove(path);
    return 0;
}

} // namespace

// The file list of the real main window over real folders: the start-up listing, the filter
// switch, moving between folders, the selected-folder menu, moving through the list, and odd
// trees. Dir holds a.txt, B.TXT, c.txt, d.doc, 0.dat, .hidden.txt, sub/{s1.txt, s2.txt} and
// empty/.
class TestFileList : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void startUpListsTextFiles();
    void savedFileNameReopened_data();
    void savedFileNameReopened();
    void anyFilterShowsEveryFile();
    void openSubfolder_data();
    void openSubfolder();
    void emptyFolder_data();
    void emptyFolder();
    void selectedFolderMenu();
    void moveThroughList_data();
    void moveThroughList();
    void listReadingGoesOnToNextFile();
    void restartReopensFolderAndFile();
    void unreadableFolderAndFile();
    void folderRemovedWhileShown();
    void symbolicLinkLoops();
    void namesNotUtf8();
    void savedFoldersGone_data();
    void savedFoldersGone();

private:
    QString path(const QString& name) const { return Top + u'/' + name; }
    void writeSettings(const QByteArray& fileFolder);
    QListWidgetItem* folderEntry(TQuorvelaneForm& form, const QString& folder) const;
    void checkLoaded(TQuorvelaneForm& form, const QString& file, const QString& firstLine);

    std::unique_ptr<QTemporaryDir> Dir;
    std::unique_ptr<TWindowHarness> H;
    QString Top;
    QString PreviousFolder;
};

void TestFileList::init()
{
    Dir = std::make_unique<QTemporaryDir>();
    QVERIFY(Dir->isValid());
    Top = QDir(Dir->path()).canonicalPath();
    PreviousFolder = QDir::currentPath();
    QVERIFY(QDir(Top).mkpath(QStringLiteral("sub")) && QDir(Top).mkpath(QStringLiteral("empty")));
    const std::pair<const char*, QByteArray> files[] = {
        {"a.txt", CatText},      {"B.TXT", ChapterText},      {"c.txt", MaterialsText},
        {"d.doc", "doc\r\n"},    {"0.dat", ChapterText},      {".hidden.txt", CatText},
        {"sub/s1.txt", CatText}, {"sub/s2.txt", ChapterText},
    };
    for (const auto& [name, bytes] : files)
        QVERIFY(WriteFile(path(QLatin1String(name)), bytes));
    H = std::make_unique<TWindowHarness>();
}

void TestFileList::cleanup()
{
    QVERIFY2(H->Script().Unexpected().isEmpty(), qPrintable(H->Script().Unexpected().join(u'\n')));
    H.reset();
    QDir::setCurrent(PreviousFolder);
    // QTemporaryDir cannot remove names that are not UTF-8, nor enter a locked folder's
    // without the permission override.
    ::nftw(QFile::encodeName(Top).constData(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS);
    Dir.reset();
}

void TestFileList::writeSettings(const QByteArray& fileFolder)
{
    QVERIFY(WriteFile(path(QStringLiteral("Quorvelane.ini")), "[FileFolder]\r\n" + fileFolder));
}

QListWidgetItem* TestFileList::folderEntry(TQuorvelaneForm& form, const QString& folder) const
{
    for (int i = 0; i < form.DirectoryListBox1->count(); ++i) {
        QListWidgetItem* item = form.DirectoryListBox1->item(i);
        if (item->data(TDirectoryListBox::PathRole).toString() == folder)
            return item;
    }
    return nullptr;
}

// The file is the selected entry, its path is the loaded file's, its text is in the text view
// and the caption shows the reader's position.
void TestFileList::checkLoaded(TQuorvelaneForm& form, const QString& file, const QString& firstLine)
{
    const int row = form.FileNameListBox->currentRow();
    QVERIFY(row >= 0);
    QCOMPARE(form.FilePathListBox->count(), form.FileNameListBox->count());
    QCOMPARE(form.FilePathListBox->text(row), file);
    QCOMPARE(form.FileState().CurrentFileName, file);
    QVERIFY(form.LineCount() > 0);
    QCOMPARE(form.Line(0), firstLine);
    QCOMPARE(form.windowTitle(), QStringLiteral("  1 / %1").arg(form.LineCount()));
}

void TestFileList::startUpListsTextFiles()
{
    TQuorvelaneForm* form = &H->Open(Top);
    // Nothing is listed before the start-up tick.
    QCOMPARE(form->FileNameListBox->count(), 0);
    H->StartUpTick();
    H->Settle();
    QCOMPARE(TWindowHarness::ListTexts(form->FileNameListBox),
             (QStringList{"a.txt", "B.TXT", "c.txt"}));
    QCOMPARE(TWindowHarness::ListTexts(form->FilePathListBox),
             (QStringList{path("a.txt"), path("B.TXT"), path("c.txt")}));
    QCOMPARE(form->FileNameListBox->currentRow(), 0);
    checkLoaded(*form, path("a.txt"), CatLine);
    QCOMPARE(form->LineCount(), 2);
    QCOMPARE(form->MainRichEdit->toPlainText().left(CatLine.size()), CatLine);
    H->Exit();
    QVERIFY(H->Script().Log().isEmpty());
}

void TestFileList::savedFileNameReopened_data()
{
    // "twin": a file C.txt beside c.txt, holding the first file's text.
    QTest::addColumn<QString>("saved");
    QTest::addColumn<bool>("twin");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("firstLine");
    QTest::newRow("the second file") << "B.TXT" << false << 1 << ChapterLine;
    QTest::newRow("the third file") << "c.txt" << false << 2 << MaterialsLine;
    QTest::newRow("name in other letter case") << "b.txt" << false << 0 << CatLine;
    QTest::newRow("folder in other letter case")
        << "../" + QFileInfo(Top).fileName().toUpper() + "/c.txt" << false << 0 << CatLine;
    QTest::newRow("twins, lower case") << "c.txt" << true << 3 << MaterialsLine;
    QTest::newRow("twins, upper case") << "C.txt" << true << 2 << CatLine;
    QTest::newRow("file that is gone") << "gone.txt" << false << 0 << CatLine;
    QTest::newRow("hidden file") << ".hidden.txt" << false << 0 << CatLine;
    QTest::newRow("a folder") << "sub" << false << 0 << CatLine;
    QTest::newRow("nothing saved") << QString() << false << 0 << CatLine;
}

void TestFileList::savedFileNameReopened()
{
    QFETCH(QString, saved);
    QFETCH(bool, twin);
    QFETCH(int, row);
    QFETCH(QString, firstLine);
    if (twin)
        QVERIFY(WriteFile(path("C.txt"), CatText));
    const QString file = saved.isEmpty() ? QString() : QDir::cleanPath(path(saved));
    writeSettings("FileName=" + file.toUtf8() + "\r\n");
    TQuorvelaneForm* form = &H->OpenSettled(Top);
    QCOMPARE(form->FileNameListBox->count(), twin ? 4 : 3);
    QCOMPARE(form->FileNameListBox->currentRow(), row);
    checkLoaded(*form, form->FilePathListBox->text(row), firstLine);
    // Later listings select their first entry whatever was loaded.
    form->DirectoryListBox1->SetDirectory(path("sub"));
    form->DirectoryListBox1->SetDirectory(Top);
    QCOMPARE(form->FileNameListBox->currentRow(), 0);
    H->Exit();
}

void TestFileList::anyFilterShowsEveryFile()
{
    TQuorvelaneForm* form = &H->OpenSettled(Top);
    QAction* any = form->Action(QStringLiteral("SetAnyFilter"));
    any->trigger();
    QVERIFY(any->isChecked());
    QCOMPARE(TWindowHarness::ListTexts(form->FileNameListBox),
             (QStringList{"0.dat", "a.txt", "B.TXT", "c.txt", "d.doc"}));
    QCOMPARE(
        TWindowHarness::ListTexts(form->FilePathListBox),
        (QStringList{path("0.dat"), path("a.txt"), path("B.TXT"), path("c.txt"), path("d.doc")}));
    checkLoaded(*form, path("0.dat"), ChapterLine);
    any->trigger();
    QVERIFY(!any->isChecked());
    QCOMPARE(TWindowHarness::ListTexts(form->FileNameListBox),
             (QStringList{"a.txt", "B.TXT", "c.txt"}));
    checkLoaded(*form, path("a.txt"), CatLine);
    any->trigger();
    H->Exit();
    // The switch is kept, and the next start lists every file at once.
    form = &H->OpenSettled(Top);
    QVERIFY(form->Action(QStringLiteral("SetAnyFilter"))->isChecked());
    QCOMPARE(form->FileNameListBox->count(), 6); // the settings file is listed as well
    H->Exit();
}

void TestFileList::openSubfolder_data()
{
    QTest::addColumn<bool>("byKey");
    QTest::newRow("double-click") << false;
    QTest::newRow("Enter") << true;
}

void TestFileList::openSubfolder()
{
    QFETCH(bool, byKey);
    TQuorvelaneForm* form = &H->OpenSettled(Top);
    TDirectoryListBox* folders = form->DirectoryListBox1;
    QListWidgetItem* sub = folderEntry(*form, path("sub"));
    QVERIFY(sub);
    if (byKey) {
        folders->setCurrentItem(sub);
        QTest::keyClick(folders, Qt::Key_Return);
    } else {
        const QPoint centre = folders->visualItemRect(sub).center();
        QTest::mouseClick(folders->viewport(), Qt::LeftButton, {}, centre);
        QTest::mouseDClick(folders->viewport(), Qt::LeftButton, {}, centre);
    }
    QCOMPARE(folders->Directory(), path("sub"));
    QCOMPARE(TWindowHarness::ListTexts(form->FileNameListBox), (QStringList{"s1.txt", "s2.txt"}));
    QCOMPARE(TWindowHarness::ListTexts(form->FilePathListBox),
             (QStringList{path("sub/s1.txt"), path("sub/s2.txt")}));
    QCOMPARE(form->FileNameListBox->currentRow(), 0);
    checkLoaded(*form, path("sub/s1.txt"), CatLine);
    // And back up to the parent, whose first file loads again.
    QListWidgetItem* parent = folderEntry(*form, Top);
    QVERIFY(parent);
    folders->setCurrentItem(parent);
    QTest::keyClick(folders, Qt::Key_Return);
    checkLoaded(*form, path("a.txt"), CatLine);
    H->Exit();
}

void TestFileList::emptyFolder_data()
{
    QTest::addColumn<bool>("startThere");
    QTest::newRow("start in an empty folder") << true;
    QTest::newRow("open an empty folder") << false;
}

void TestFileList::emptyFolder()
{
    QFETCH(bool, startThere);
    TQuorvelaneForm* form = &H->OpenSettled(startThere ? path("empty") : Top);
    if (!startThere) {
        QVERIFY(form->LineCount() > 0);
        QVERIFY(form->DirectoryListBox1->SetDirectory(path("empty")));
    }
    QCOMPARE(form->FileNameListBox->count(), 0);
    QCOMPARE(form->FilePathListBox->count(), 0);
    QCOMPARE(form->FileNameListBox->currentRow(), -1);
    QVERIFY(form->MainRichEdit->toPlainText().isEmpty());
    QCOMPARE(form->LineCount(), 0);
    QCOMPARE(form->windowTitle(), QStringLiteral("Quorvelane"));
    // Moving through an empty list does nothing.
    form->Action(QStringLiteral("FileNext"))->trigger();
    form->Action(QStringLiteral("FileBack"))->trigger();
    QCOMPARE(form->windowTitle(), QStringLiteral("Quorvelane"));
    H->Exit();
    QVERIFY(H->Script().Log().isEmpty());
}

void TestFileList::selectedFolderMenu()
{
    QVERIFY(QDir(Top).mkpath(QStringLiteral("other")));
    QVERIFY(WriteFile(path("other/o.txt"), MaterialsText));
    writeSettings("SelFolder=" + path("sub").toUtf8() + ";" + path("gone").toUtf8() + ";;" +
                  path("other").toUtf8() + "\r\n");
    TQuorvelaneForm* form = &H->OpenSettled(Top);
    const QList<QAction*> items = form->SelectedFolderMenu->actions();
    QCOMPARE(items.size(), 2);
    QCOMPARE(items.at(0)->text(), QStringLiteral("sub"));
    QCOMPARE(items.at(1)->text(), QStringLiteral("other"));
    QCOMPARE(form->FileState().SelectedFolders, (QStringList{path("sub"), path("other")}));

    items.at(1)->trigger();
    QCOMPARE(form->DirectoryListBox1->Directory(), path("other"));
    QCOMPARE(TWindowHarness::ListTexts(form->FileNameListBox), QStringList{"o.txt"});
    checkLoaded(*form, path("other/o.txt"), MaterialsLine);
    items.at(0)->trigger();
    checkLoaded(*form, path("sub/s1.txt"), CatLine);
    QVERIFY(H->Script().Log().isEmpty());

    // A folder removed after the menu was built: a message, and nothing else changes.
    QVERIFY(QDir(path("other")).removeRecursively());
    items.at(1)->trigger();
    QCOMPARE(H->Script().LogLines(),
             QStringList{QStringLiteral("message| Error|フォルダ設定エラー(例外1)。")});
    QCOMPARE(form->DirectoryListBox1->Directory(), path("sub"));
    QCOMPARE(TWindowHarness::ListTexts(form->FileNameListBox), (QStringList{"s1.txt", "s2.txt"}));
    checkLoaded(*form, path("sub/s1.txt"), CatLine);

    H->Script().ClearLog();
    QObject notAnItem;
    form->SelectedFolderClick(&notAnItem);
    QCOMPARE(H->Script().LogLines(),
             QStringList{QStringLiteral("message| Error|フォルダ設定エラー(例外2)。")});
    QCOMPARE(form->DirectoryListBox1->Directory(), path("sub"));
    H->Exit();
    // The removed folder was in the menu when it was built, so it is still written back.
    QFile ini(path("Quorvelane.ini"));
    QVERIFY(ini.open(QIODevice::ReadOnly));
    QVERIFY(ini.readAll().contains("SelFolder=" + path("sub").toUtf8() + ";" +
                                   path("other").toUtf8() + "\r\n"));
}

void TestFileList::moveThroughList_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<int>("row");
    QTest::newRow("F2") << "2" << 1;
    QTest::newRow("F2 F2") << "22" << 2;
    QTest::newRow("F2 past the end") << "2222" << 2;
    QTest::newRow("F1 at the start") << "1" << 0;
    QTest::newRow("F2 F2 F1") << "221" << 1;
    QTest::newRow("there and back") << "2211" << 0;
}

void TestFileList::moveThroughList()
{
    QFETCH(QString, keys);
    QFETCH(int, row);
    TQuorvelaneForm* form = &H->OpenSettled(Top);
    QApplication::setActiveWindow(form);
    for (QChar key : keys)
        QTest::keyClick(form, key == u'2' ? Qt::Key_F2 : Qt::Key_F1);
    QCOMPARE(form->FileNameListBox->currentRow(), row);
    const QString lines[] = {CatLine, ChapterLine, MaterialsLine};
    checkLoaded(*form, form->FilePathListBox->text(row), lines[row]);
    H->Exit();
}

void TestFileList::listReadingGoesOnToNextFile()
{
    TQuorvelaneForm* form = &H->OpenSettled(Top);
    QApplication::setActiveWindow(form);
    QTest::keyClick(form, Qt::Key_F6);
    QTest::keyClick(form, Qt::Key_F3);
    QVERIFY(form->Action(QStringLiteral("ListSlideRead"))->isChecked());
    QVERIFY(form->ReadTimer->isActive());
    const QString first = form->FileState().CurrentFileName;
    int ticks = 0;
    while (form->FileState().CurrentFileName == first && ticks < 20) {
        form->ReadTimerTimer();
        ++ticks;
    }
    // One tick per line of the two-line text, and the next one leaves it.
    QCOMPARE(ticks, 2);
    QCOMPARE(form->FileNameListBox->currentRow(), 1);
    checkLoaded(*form, path("B.TXT"), ChapterLine);
    QVERIFY(form->ReadTimer->isActive());
    QCOMPARE(form->SlideState().ReadingLine, 0);
    H->Exit();
}

void TestFileList::restartReopensFolderAndFile()
{
    TQuorvelaneForm* form = &H->OpenSettled(Top);
    QVERIFY(form->DirectoryListBox1->SetDirectory(path("sub")));
    form->Action(QStringLiteral("FileNext"))->trigger();
    checkLoaded(*form, path("sub/s2.txt"), ChapterLine);
    H->Exit();
    QFile ini(path("Quorvelane.ini"));
    QVERIFY(ini.open(QIODevice::ReadOnly));
    const QByteArray bytes = ini.readAll();
    QVERIFY(bytes.contains("\r\nFolder=" + path("sub").toUtf8() + "\r\n"));
    QVERIFY(bytes.contains("\r\nFileName=" + path("sub/s2.txt").toUtf8() + "\r\n"));
    ini.close();

    form = &H->OpenSettled(Top);
    QCOMPARE(form->DirectoryListBox1->Directory(), path("sub"));
    QCOMPARE(form->FileNameListBox->currentRow(), 1);
    checkLoaded(*form, path("sub/s2.txt"), ChapterLine);
    H->Exit();
}

void TestFileList::unreadableFolderAndFile()
{
    QVERIFY(QDir(Top).mkpath(QStringLiteral("locked")));
    QVERIFY(WriteFile(path("locked/l.txt"), CatText));
    QVERIFY(WriteFile(path("a2.txt"), CatText));
    QCOMPARE(::chmod(QFile::encodeName(path("locked")).constData(), 0), 0);
    QCOMPARE(::chmod(QFile::encodeName(path("a2.txt")).constData(), 0), 0);
    const TNoPermissionOverride noOverride;
    if (!noOverride.Works()) {
        ::chmod(QFile::encodeName(path("locked")).constData(), 0755);
        QSKIP("permissions cannot be made to apply to this process");
    }
    writeSettings("Folder=" + path("locked").toUtf8() + "\r\n");
    TQuorvelaneForm* form = &H->OpenSettled(Top);
    // The saved folder cannot be read: the start folder is shown.
    QCOMPARE(form->DirectoryListBox1->Directory(), Top);
    checkLoaded(*form, path("a.txt"), CatLine);
    QCOMPARE(TWindowHarness::ListTexts(form->FileNameListBox),
             (QStringList{"a.txt", "a2.txt", "B.TXT", "c.txt"}));

    // Opening it from the folder list changes nothing.
    QListWidgetItem* locked = folderEntry(*form, path("locked"));
    QVERIFY(locked);
    emit form->DirectoryListBox1->itemActivated(locked);
    QCOMPARE(form->DirectoryListBox1->Directory(), Top);
    QCOMPARE(form->FileNameListBox->count(), 4);
    checkLoaded(*form, path("a.txt"), CatLine);
    QVERIFY(H->Script().Log().isEmpty());

    // A listed file that cannot be read gives the reading failure.
    form->Action(QStringLiteral("FileNext"))->trigger();
    QCOMPARE(H->Script().LogLines(),
             QStringList{QStringLiteral("message| Error|ファイル読込みに失敗しました。")});
    QCOMPARE(form->LineCount(), 0);
    QCOMPARE(form->windowTitle(), QStringLiteral("Quorvelane"));
    form->Action(QStringLiteral("FileNext"))->trigger();
    checkLoaded(*form, path("B.TXT"), ChapterLine);
    H->Exit();
    ::chmod(QFile::encodeName(path("locked")).constData(), 0755);
}

void TestFileList::folderRemovedWhileShown()
{
    TQuorvelaneForm* form = &H->OpenSettled(Top);
    QVERIFY(form->DirectoryListBox1->SetDirectory(path("sub")));
    checkLoaded(*form, path("sub/s1.txt"), CatLine);
    QVERIFY(QDir(path("sub")).removeRecursively());

    // The list still shows the files; the next one is gone.
    form->Action(QStringLiteral("FileNext"))->trigger();
    QCOMPARE(H->Script().LogLines(),
             QStringList{QStringLiteral("message|  確認|ファイルが見つかりませんでした。")});
    QCOMPARE(form->LineCount(), 0);
    QCOMPARE(form->windowTitle(), QStringLiteral("Quorvelane"));

    // Opening the removed folder's entry takes the folder list up to the nearest folder that
    // is still there, and its files are listed.
    QListWidgetItem* open = folderEntry(*form, path("sub"));
    QVERIFY(open);
    emit form->DirectoryListBox1->itemActivated(open);
    QCOMPARE(form->DirectoryListBox1->Directory(), Top);
    QVERIFY(!folderEntry(*form, path("sub")));
    QCOMPARE(TWindowHarness::ListTexts(form->FileNameListBox),
             (QStringList{"a.txt", "B.TXT", "c.txt"}));
    checkLoaded(*form, path("a.txt"), CatLine);

    // A subfolder removed after it was listed: its entry goes, nothing else changes.
    QListWidgetItem* empty = folderEntry(*form, path("empty"));
    QVERIFY(empty);
    QVERIFY(QDir(Top).rmdir(QStringLiteral("empty")));
    emit form->DirectoryListBox1->itemActivated(empty);
    QCOMPARE(form->DirectoryListBox1->Directory(), Top);
    QVERIFY(!folderEntry(*form, path("empty")));
    checkLoaded(*form, path("a.txt"), CatLine);
    QCOMPARE(H->Script().Log().size(), 1);
    H->Exit();
}

void TestFileList::symbolicLinkLoops()
{
    const QByteArray top = QFile::encodeName(Top);
    QCOMPARE(::symlink("loop", (top + "/loop").constData()), 0);
    QCOMPARE(::symlink("x.txt", (top + "/x.txt").constData()), 0);
    QCOMPARE(::symlink("a.txt", (top + "/link.txt").constData()), 0);
    QCOMPARE(::symlink("..", (top + "/sub/up").constData()), 0);
    TQuorvelaneForm* form = &H->OpenSettled(Top);
    QCOMPARE(TWindowHarness::ListTexts(form->FileNameListBox),
             (QStringList{"a.txt", "B.TXT", "c.txt", "link.txt"}));
    QVERIFY(!folderEntry(*form, path("loop")));
    // The way round the cycle can be walked as far as the user likes.
    QVERIFY(form->DirectoryListBox1->SetDirectory(path("sub")));
    QString folder = path("sub");
    for (int i = 0; i < 3; ++i) {
        QListWidgetItem* up = folderEntry(*form, folder + QStringLiteral("/up"));
        QVERIFY(up);
        emit form->DirectoryListBox1->itemActivated(up);
        folder += QStringLiteral("/up");
        QCOMPARE(form->DirectoryListBox1->Directory(), folder);
        QCOMPARE(form->FileNameListBox->count(), 4);
        QVERIFY(form->DirectoryListBox1->SetDirectory(folder + QStringLiteral("/sub")));
        folder += QStringLiteral("/sub");
        QCOMPARE(TWindowHarness::ListTexts(form->FileNameListBox),
                 (QStringList{"s1.txt", "s2.txt"}));
    }
    form->Action(QStringLiteral("FileNext"))->trigger();
    checkLoaded(*form, folder + QStringLiteral("/s2.txt"), ChapterLine);
    H->Exit();
    QVERIFY(H->Script().Log().isEmpty());
}

// Names unpacked from old archives are CP932 bytes, not UTF-8: "あ.txt" in a folder, and a
// folder "資料". Both are listed with replacement characters and their files load.
void TestFileList::namesNotUtf8()
{
    const QByteArray odd = QFile::encodeName(path("odd"));
    QCOMPARE(::mkdir(odd.constData(), 0755), 0);
    QVERIFY(WriteFile(path("odd/b.txt"), CatText));
    const int fd = ::open((odd + "/\x82\xa0.txt").constData(), O_WRONLY | O_CREAT, 0644);
    QVERIFY(fd >= 0);
    QCOMPARE(::write(fd, MaterialsText.constData(), size_t(MaterialsText.size())),
             ssize_t(MaterialsText.size()));
    ::close(fd);
    const QByteArray materials = odd + "/\x8e\x91\x97\xbf";
    QCOMPARE(::mkdir(materials.constData(), 0755), 0);
    const int inner = ::open((materials + "/m.txt").constData(), O_WRONLY | O_CREAT, 0644);
    QVERIFY(inner >= 0);
    QCOMPARE(::write(inner, ChapterText.constData(), size_t(ChapterText.size())),
             ssize_t(ChapterText.size()));
    ::close(inner);

    TQuorvelaneForm* form = &H->OpenSettled(Top);
    QVERIFY(form->DirectoryListBox1->SetDirectory(path("odd")));
    const QString shown = QString(2, QChar::ReplacementCharacter) + QStringLiteral(".txt");
    QCOMPARE(TWindowHarness::ListTexts(form->FileNameListBox), (QStringList{"b.txt", shown}));
    const QString oddFile = DecodeFileName(odd + "/\x82\xa0.txt");
    QCOMPARE(form->FilePathListBox->text(1), oddFile);
    form->Action(QStringLiteral("FileNext"))->trigger();
    checkLoaded(*form, oddFile, MaterialsLine);
    QVERIFY(H->Script().Log().isEmpty());

    QListWidgetItem* folder = folderEntry(*form, DecodeFileName(materials));
    QVERIFY(folder);
    QCOMPARE(folder->text(), QString(4, QChar::ReplacementCharacter));
    emit form->DirectoryListBox1->itemActivated(folder);
    QCOMPARE(TWindowHarness::ListTexts(form->FileNameListBox), QStringList{"m.txt"});
    checkLoaded(*form, DecodeFileName(materials + "/m.txt"), ChapterLine);
    H->Exit();
    QVERIFY(H->Script().Log().isEmpty());

    // The next start should come back to the same folder and file.
    form = &H->OpenSettled(Top);
    QCOMPARE(form->DirectoryListBox1->Directory(), DecodeFileName(materials));
    checkLoaded(*form, DecodeFileName(materials + "/m.txt"), ChapterLine);
    H->Exit();
    QVERIFY(H->Script().Log().isEmpty());
}

void TestFileList::savedFoldersGone_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("selFolder");
    QTest::addColumn<QStringList>("selected");
    QTest::newRow("folder gone") << "gone"
                                 << "gone/a.txt"
                                 << "" << QStringList();
    QTest::newRow("folder is a file") << "a.txt"
                                      << "B.TXT"
                                      << "" << QStringList();
    QTest::newRow("selected folders gone") << ""
                                           << ""
                                           << "gone;also-gone" << QStringList();
    QTest::newRow("selected folder is a file") << ""
                                               << ""
                                               << "a.txt;sub" << QStringList{"sub"};
}

void TestFileList::savedFoldersGone()
{
    QFETCH(QString, folder);
    QFETCH(QString, fileName);
    QFETCH(QString, selFolder);
    QFETCH(QStringList, selected);
    auto full = [this](const QString& list) {
        QStringList paths;
        for (const QString& piece : list.split(u';', Qt::SkipEmptyParts))
            paths << path(piece);
        return paths;
    };
    QByteArray settings;
    if (!folder.isEmpty())
        settings += "Folder=" + path(folder).toUtf8() + "\r\n";
    if (!fileName.isEmpty())
        settings += "FileName=" + path(fileName).toUtf8() + "\r\n";
    if (!selFolder.isEmpty())
        settings += "SelFolder=" + full(selFolder).join(u';').toUtf8() + "\r\n";
    writeSettings(settings);
    TQuorvelaneForm* form = &H->OpenSettled(Top);
    QCOMPARE(form->DirectoryListBox1->Directory(), Top);
    QCOMPARE(form->FileState().SelectedFolders, full(selected.join(u';')));
    QCOMPARE(form->SelectedFolderMenu->actions().size(), selected.size());
    // A saved file that is still there is reopened even when its folder entry failed.
    const QString loaded = fileName == QStringLiteral("B.TXT") ? path("B.TXT") : path("a.txt");
    checkLoaded(*form, loaded, loaded == path("B.TXT") ? ChapterLine : CatLine);
    H->Exit();
    QVERIFY(H->Script().Log().isEmpty());
}

QTEST_MAIN(TestFileList)
#include "tst_filelist.moc"
