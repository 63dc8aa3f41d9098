#include "files/FileFilters.h"
#include "tests/support/TestFiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestFilters : public QObject
{
    Q_OBJECT

private slots:
    void normalizeFilter_data();
    void normalizeFilter();
    void fileListMask();
    void maskMatches_data();
    void maskMatches();
    void folderFilePath_data();
    void folderFilePath();
    void fillFileLists_data();
    void fillFileLists();
    void fillFileListsLaterListings();
    void fillFileListsEmptyKeepsRestore();
};

void TestFilters::normalizeFilter_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("cleaned");
    QTest::newRow("blanks at both ends") << "  *.txt;*.rtf  "
                                         << "*.txt;*.rtf";
    QTest::newRow("piece starting with a blank") << "*.txt; *.rtf"
                                                 << "*.txt";
    QTest::newRow("no star") << "txt"
                             << "*.txt";
    QTest::newRow("too short") << "*."
                               << "*.txt";
    QTest::newRow("empty") << ""
                           << "*.txt";
    QTest::newRow("all files") << "*.*"
                               << "*.*";
    QTest::newRow("controls at the ends") << "\t*.rtf\r\n"
                                          << "*.rtf";
    QTest::newRow("empty pieces dropped") << ";*.txt;;*.rtf;"
                                          << "*.txt;*.rtf";
    QTest::newRow("pieces not trimmed") << "*.txt ;*.rtf"
                                        << "*.txt ;*.rtf";
    QTest::newRow("bad first piece") << "doc;*.rtf"
                                     << "*.rtf";
    QTest::newRow("three bytes are enough") << "*.a"
                                            << "*.a";
    QTest::newRow("double-byte extension") << "*.\u30c6"
                                           << "*.\u30c6";
    QTest::newRow("full-width blank is not padding") << "\u3000*.txt"
                                                     << "*.txt";
    QTest::newRow("two stars") << "**.txt"
                               << "*.txt";
    QTest::newRow("only blanks") << "   "
                                 << "*.txt";
    QTest::newRow("only separators") << ";;;"
                                     << "*.txt";
}

void TestFilters::normalizeFilter()
{
    QFETCH(QString, filter);
    QFETCH(QString, cleaned);
    NormalizeFilter(filter);
    QCOMPARE(filter, cleaned);
    // Cleaning is idempotent: a cleaned filter stays as it is.
    NormalizeFilter(filter);
    QCOMPARE(filter, cleaned);
}

void TestFilters::fileListMask()
{
    QString nowFilter = QStringLiteral(" *.txt; *.rtf ");
    QCOMPARE(FileListMask(true, nowFilter), QStringLiteral("*.*"));
    // While every file is wanted the active filter is left as the settings hold it.
    QCOMPARE(nowFilter, QStringLiteral(" *.txt; *.rtf "));
    QCOMPARE(FileListMask(false, nowFilter), QStringLiteral("*.txt"));
    QCOMPARE(nowFilter, QStringLiteral("*.txt"));
}

void TestFilters::maskMatches_data()
{
    QTest::addColumn<QString>("masks");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("matches");
    QTest::newRow("extension") << "*.txt"
                               << "a.txt" << true;
    QTest::newRow("upper-case name") << "*.txt"
                                     << "A.TXT" << true;
    QTest::newRow("upper-case mask") << "*.TXT"
                                     << "a.Txt" << true;
    QTest::newRow("other extension") << "*.txt"
                                     << "a.rtf" << false;
    QTest::newRow("extension must end the name") << "*.txt"
                                                 << "a.txt.bak" << false;
    QTest::newRow("no dot") << "*.txt"
                            << "txt" << false;
    QTest::newRow("second mask") << "*.txt;*.rtf"
                                 << "b.RTF" << true;
    QTest::newRow("neither mask") << "*.txt;*.rtf"
                                  << "b.doc" << false;
    QTest::newRow("star dot star") << "*.*"
                                   << "b.doc" << true;
    QTest::newRow("star dot star without dot") << "*.*"
                                               << "README" << true;
    QTest::newRow("star") << "*"
                          << "README" << true;
    QTest::newRow("stem with any extension") << "read*.*"
                                             << "readme" << true;
    QTest::newRow("stem with any extension 2") << "read*.*"
                                               << "Readme.md" << true;
    QTest::newRow("stem mismatch") << "read*.*"
                                   << "notes.md" << false;
    QTest::newRow("question mark") << "ch??.txt"
                                   << "ch01.txt" << true;
    QTest::newRow("question mark count") << "ch??.txt"
                                         << "ch1.txt" << false;
    QTest::newRow("question mark takes a pair") << "?.txt"
                                                << "\U00020B9F.txt" << true;
    QTest::newRow("star in the middle") << "a*z.txt"
                                        << "abcz.txt" << true;
    QTest::newRow("star backtracks") << "*a*b.txt"
                                     << "xaxaxb.txt" << true;
    QTest::newRow("exact name") << "notes.txt"
                                << "NOTES.TXT" << true;
    QTest::newRow("japanese extension") << "*.\u30c6"
                                        << "a.\u30c6" << true;
    QTest::newRow("full-width letters fold") << "*.\uff34\uff38\uff34"
                                             << "a.\uff54\uff58\uff54" << true;
    QTest::newRow("empty pieces ignored") << ";*.txt;"
                                          << "a.txt" << true;
    QTest::newRow("no masks") << ""
                              << "a.txt" << false;
    QTest::newRow("only separators") << ";;"
                                     << "a.txt" << false;
    QTest::newRow("trailing blank in mask") << "*.txt "
                                            << "a.txt" << false;
}

void TestFilters::maskMatches()
{
    QFETCH(QString, masks);
    QFETCH(QString, name);
    QFETCH(bool, matches);
    QCOMPARE(TFileMask(masks).Matches(name), matches);
}

void TestFilters::folderFilePath_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("path");
    QTest::newRow("folder") << "/home/me/texts"
                            << "a.txt"
                            << "/home/me/texts/a.txt";
    QTest::newRow("root") << "/"
                          << "a.txt"
                          << "/a.txt";
    QTest::newRow("trailing separator") << "/media/usb/"
                                        << "a.txt"
                                        << "/media/usb/a.txt";
}

void TestFilters::folderFilePath()
{
    QFETCH(QString, folder);
    QFETCH(QString, name);
    QFETCH(QString, path);
    QCOMPARE(FolderFilePath(folder, name), path);
}

void TestFilters::fillFileLists_data()
{
    QTest::addColumn<QString>("current");
    QTest::addColumn<int>("selected");
    // Paths relative to the test folder, which holds a.txt, b.txt, B.txt and other/b.txt; the
    // listing holds a.txt and b.txt.
    QTest::newRow("saved file reopened") << "b.txt" << 1;
    QTest::newRow("other letter case, no such file") << "B.TXT" << 0;
    QTest::newRow("other letter case, another file") << "B.txt" << 0;
    QTest::newRow("same file spelt otherwise") << "other/../b.txt" << 0;
    QTest::newRow("saved file no longer there") << "gone.txt" << 0;
    QTest::newRow("saved file in another folder") << "other/b.txt" << 0;
    QTest::newRow("nothing saved") << "" << 0;
}

void TestFilters::fillFileLists()
{
    QFETCH(QString, current);
    QFETCH(int, selected);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("other")));
    for (const char* name : {"a.txt", "b.txt", "B.txt", "other/b.txt"}) {
        QVERIFY(WriteFile(dir.filePath(QString::fromLatin1(name)), {}));
    }
    const QStringList names{"a.txt", "b.txt"};
    const QStringList paths{dir.filePath("a.txt"), dir.filePath("b.txt")};
    const QString currentFileName = current.isEmpty() ? QString() : dir.filePath(current);

    bool restored = false;
    const TFileListFill fill = FillFileLists(names, paths, restored, currentFileName);
    QCOMPARE(fill.FileNameListBox, names);
    QCOMPARE(fill.FilePathListBox, paths);
    QCOMPARE(fill.Selected, selected);
    QVERIFY(restored);
}

void TestFilters::fillFileListsLaterListings()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString b = dir.filePath("b.txt");
    QVERIFY(WriteFile(b, {}));
    bool restored = true;
    const TFileListFill fill =
        FillFileLists({"a.txt", "b.txt"}, {dir.filePath("a.txt"), b}, restored, b);
    QCOMPARE(fill.Selected, 0);
    QVERIFY(restored);
}

void TestFilters::fillFileListsEmptyKeepsRestore()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString b = dir.filePath("b.txt");
    QVERIFY(WriteFile(b, {}));
    bool restored = false;
    TFileListFill fill = FillFileLists({}, {}, restored, b);
    QCOMPARE(fill.Selected, -1);
    QVERIFY(fill.FileNameListBox.isEmpty() && fill.FilePathListBox.isEmpty());
    QVERIFY(!restored);
    // The first listing with entries still reopens the saved file.
    fill = FillFileLists({"a.txt", "b.txt"}, {dir.filePath("a.txt"), b}, restored, b);
    QCOMPARE(fill.Selected, 1);
    QVERIFY(restored);
    // Lists handed over with different lengths are cut to a common length, never misaligned.
    fill = FillFileLists({"a.txt", "b.txt"}, {dir.filePath("a.txt")}, restored, b);
    QCOMPARE(fill.FileNameListBox, QStringList{"a.txt"});
    QCOMPARE(fill.FilePathListBox.size(), 1);
}

QTEST_GUILESS_MAIN(TestFilters)
#include "tst_filters.moc"
