#include "tests/support/WindowHarness.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

// The real main window started offscreen in a temporary folder, closed through its exit
// command, with the settings file it leaves behind checked byte for byte.
class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void firstStartWritesDefaults();
    void restartKeepsValuesAndForeignLines();
    void goneFoldersAreDropped();
    void outOfRangeIndexSelectsFirstEntry();
    void closingStopsReadingFirst_data();
    void closingStopsReadingFirst();
    void unwritableSettingsFileIsReportedOnce();
    void commands_data();
    void commands();
    void menus();

private:
    std::unique_ptr<TWindowHarness> H;
};

void TestMainWindow::init()
{
    H = std::make_unique<TWindowHarness>();
    QVERIFY(H->Dir.isValid());
}

void TestMainWindow::cleanup()
{
    QVERIFY2(H->Script().Unexpected().isEmpty(), qPrintable(H->Script().Unexpected().join(u'\n')));
    H.reset();
}

void TestMainWindow::firstStartWritesDefaults()
{
    TQuorvelaneForm* form = &H->Open();
    QCOMPARE(form->windowTitle(), QStringLiteral("Quorvelane"));
    QCOMPARE(form->pos(), QPoint(50, 30));
    QCOMPARE(form->size(), QSize(500, 400));
    QCOMPARE(form->ReadTimerComboBox->currentText(), QStringLiteral("   01000"));
    QCOMPARE(form->ReadTimer->interval(), 100); // the start-up tick is armed
    QCOMPARE(form->SlideState().TimerTag, 1000);
    QCOMPARE(form->LabelSpaceComboBox->currentText(), QStringLiteral("      02"));
    QCOMPARE(form->FontSizeComboBox->currentText(), QStringLiteral("      10"));
    QCOMPARE(form->TextFont().Size, 10);
    QCOMPARE(form->SettingsFileName(),
             QDir(H->Dir.path()).filePath(QStringLiteral("Quorvelane.ini")));
    H->Exit();

    const QString folder = QDir(H->Dir.path()).absolutePath();
    const QByteArray expected =
        "[Form]\r\nMaximized=0\r\nLeft=50\r\nTop=30\r\nWidth=500\r\nHeight=400\r\n"
        "[Panel]\r\nLeftPanelWidth=110\r\nLeftPanelOpenWidth=110\r\nDirectoryPanelHeight=150\r\n"
        "RightPanelWidth=96\r\n"
        "[FileFolder]\r\nAnyFilter=0\r\nNowFilter=*.txt\r\nAllFilter=*.txt/*.rtf/*.m3u\r\n"
        "SelFolder=\r\nFolder=" +
        folder.toUtf8() +
        "\r\nFileName=\r\n"
        "[BaseData]\r\nSlideInterval=7\r\nChangeReadTimes=100,250,500\r\nSlideLabelStep=0\r\n"
        "SlideRepeat=0\r\nListSlide=0\r\nLabelSpace=1\r\nBackColor=-2147483633\r\n"
        "ContentsLineForward=0\r\nFontSize=4\r\nFontColor=0\r\n"
        "FontName=\x82\x6c\x82\x72\x20\x82\x6f\x83\x53\x83\x56\x83\x62\x83\x4e\r\n"
        "FontStyle=0\r\nFormAllChange=0\r\nSearchType=1\r\nSearchLineString=\r\n"
        "SearchContents=()\r\n"
        "SearchSimplleContents=\x82\x50\x82\x51\x82\x52\x82\x53\x82\x54\x82\x55\x82\x56\x82\x57"
        "\x82\x58\x82\x4f\r\nSearchLength=0\r\nSearchOption=0\r\n"
        // The text formats' and the reading comfort's own sections follow the program's keys.
        "[Formats]\r\nAozoraFormat=1\r\nRubyStyle=0\r\n"
        "[Comfort]\r\nStatusStrip=0\r\nKeepPlaces=0\r\nTextPauses=0\r\n";
    QCOMPARE(H->SettingsBytes(), expected);
    QVERIFY(H->Script().Log().isEmpty());
}

void TestMainWindow::restartKeepsValuesAndForeignLines()
{
    const QString sub = H->Dir.filePath(QStringLiteral("novels"));
    QVERIFY(QDir().mkpath(sub));
    const QByteArray original =
        "; my own notes\r\n"
        "[Form]\r\nLeft=120\r\nTop=40\r\nWidth=640\r\nHeight=480\r\nColour=blue\r\n"
        "\r\n[Mine]\r\nkey=\x95\x5c\xff\r\n"
        "[FileFolder]\r\nNowFilter=*.txt;*.doc\r\nFolder=" +
        sub.toUtf8() +
        "\r\n"
        "FileName=" +
        sub.toUtf8() +
        "/a.txt\r\n"
        "[BaseData]\r\nSlideInterval=3\r\nSlideLabelStep=15\r\nLabelSpace=0\r\nFontSize=12\r\n"
        "FontStyle=1010\r\nSearchType=2\r\nSearchLineString=\x91\xe6\x31\x8f\xcd\r\n"
        "SlideRepeat=1\r\nFormAllChange=0\r\n";
    H->WriteSettings(original);
    TQuorvelaneForm* form = &H->Open();
    QCOMPARE(form->pos(), QPoint(120, 40));
    QCOMPARE(form->size(), QSize(640, 480));
    QCOMPARE(form->ReadTimerComboBox->currentIndex(), 3);
    QCOMPARE(form->LabelSpaceComboBox->currentIndex(), 0);
    QCOMPARE(form->FontSizeComboBox->currentText(), QStringLiteral("      24"));
    QCOMPARE(form->SlideState().SlideLabelStep, 15);
    QCOMPARE(form->Action(QStringLiteral("SlideRepeat"))->isChecked(), true);
    QCOMPARE(form->SearchState().SearchType, 2);
    QCOMPARE(form->SearchState().SearchLineString, QStringLiteral("第1章"));
    QVERIFY(form->TextFont().Bold && form->TextFont().Underline);
    const QVariantList before = form->CollectSettings();
    H->Exit();

    const QByteArray written = H->SettingsBytes();
    for (const QByteArray& line : {QByteArray("; my own notes\r\n"), QByteArray("Colour=blue\r\n"),
                                   QByteArray("\r\n[Mine]\r\nkey=\x95\x5c\xff\r\n")})
        QVERIFY2(written.contains(line), line.constData());
    QVERIFY(written.startsWith("; my own notes\r\n[Form]\r\nLeft=120\r\n"));
    QVERIFY(written.contains("SearchLineString=\x91\xe6\x31\x8f\xcd\r\n"));

    TQuorvelaneForm* again = &H->Open();
    QCOMPARE(again->CollectSettings(), before);
    H->Exit();
    QCOMPARE(H->SettingsBytes(), written);
}

void TestMainWindow::goneFoldersAreDropped()
{
    const QString a = H->Dir.filePath(QStringLiteral("a"));
    const QString c = H->Dir.filePath(QStringLiteral("c"));
    QVERIFY(QDir().mkpath(a) && QDir().mkpath(c));
    H->WriteSettings("[FileFolder]\r\nSelFolder=" + a.toUtf8() + ";" +
                     H->Dir.filePath("gone").toUtf8() + ";" + c.toUtf8() + "\r\nFolder=" +
                     H->Dir.filePath("gone").toUtf8() + "\r\n[BaseData]\r\nFontSize=6\r\n");
    TQuorvelaneForm* form = &H->Open();
    QCOMPARE(form->FileState().SelectedFolders, (QStringList{a, c}));
    QCOMPARE(form->SelectedFolderMenu->actions().size(), 2);
    QCOMPARE(form->SelectedFolderMenu->actions().at(1)->text(), QStringLiteral("c"));
    // The saved folder is gone: it is skipped and the keys after it still apply.
    QCOMPARE(form->FontSizeComboBox->currentIndex(), 6);
    H->Exit();
    QVERIFY(H->SettingsBytes().contains("SelFolder=" + a.toUtf8() + ";" + c.toUtf8() + "\r\n"));
    QVERIFY(H->SettingsBytes().contains("FontSize=6\r\n"));
}

void TestMainWindow::outOfRangeIndexSelectsFirstEntry()
{
    H->WriteSettings("[BaseData]\r\nSlideInterval=99\r\nLabelSpace=-1\r\nFontSize=27\r\n");
    TQuorvelaneForm* form = &H->Open();
    QCOMPARE(form->ReadTimerComboBox->currentIndex(), 0);
    QCOMPARE(form->SlideState().SlideIntervalMs, 50);
    QCOMPARE(form->SlideState().TimerTag, 50);
    QCOMPARE(form->LabelSpaceComboBox->currentIndex(), 0);
    QCOMPARE(form->LabelSpacing(), 0);
    QCOMPARE(form->FontSizeComboBox->currentIndex(), 0);
    QCOMPARE(form->TextFont().Size, 4);
    H->Exit();
}

void TestMainWindow::closingStopsReadingFirst_data()
{
    QTest::addColumn<QString>("mode");
    QTest::newRow("plain") << "SlideRead";
    QTest::newRow("variable speed") << "CanChangeSlideRead";
}

void TestMainWindow::closingStopsReadingFirst()
{
    QFETCH(QString, mode);
    QVERIFY(H->Write(QStringLiteral("a.txt"), NumberedLines(40)));
    TQuorvelaneForm& form = H->Start();
    H->Settle();
    form.Action(mode)->trigger();
    QVERIFY(form.ReadTimer->isActive());
    QVERIFY(form.Action(mode)->isChecked());
    QVERIFY(form.close());
    // The reading stopped before the window went: no tick comes to a closed window, and the
    // check mark is off.
    QVERIFY(!form.ReadTimer->isActive());
    QVERIFY(!form.Action(mode)->isChecked());
    QVERIFY(!form.SlideState().SlideRead && !form.SlideState().CanChangeSlideRead);
    QVERIFY(H->SettingsBytes().contains("SlideInterval=7\r\n"));
}

void TestMainWindow::unwritableSettingsFileIsReportedOnce()
{
    // A folder in the file's place cannot be replaced by a file, even by root.
    QVERIFY(QDir().mkpath(H->Dir.filePath(QStringLiteral("Quorvelane.ini"))));
    H->Open();
    H->Exit();
    QCOMPARE(H->Script().LogLines(),
             QStringList{QStringLiteral("plain||初期化ファイルを作成できませんでした。")});
    QVERIFY(QFileInfo(H->Dir.filePath(QStringLiteral("Quorvelane.ini"))).isDir());
}

void TestMainWindow::commands_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("shortcut");
    QTest::addColumn<bool>("checkable");
    QTest::newRow("FileSave") << "FileSave"
                              << "保存(&S)"
                              << "Ctrl+S" << false;
    QTest::newRow("FileBack") << "FileBack"
                              << "前へ(&B)"
                              << "F1" << false;
    QTest::newRow("FileNext") << "FileNext"
                              << "次へ(&N)"
                              << "F2" << false;
    QTest::newRow("FileSearchAll") << "FileSearchAll"
                                   << "全検索(&A)"
                                   << "Ctrl+A" << false;
    QTest::newRow("AppExit") << "AppExit"
                             << "終了(&X)"
                             << "Ctrl+X" << false;
    QTest::newRow("SlideRead") << "SlideRead"
                               << "スライドリード（&S)"
                               << "F3" << true;
    QTest::newRow("CanChangeSlideRead") << "CanChangeSlideRead"
                                        << "変速スライド(&C)"
                                        << "F4" << true;
    QTest::newRow("SlideRepeat") << "SlideRepeat"
                                 << "繰り返す(&R)"
                                 << "F5" << true;
    QTest::newRow("ListSlideRead") << "ListSlideRead"
                                   << "リストのファイル(&A)"
                                   << "F6" << true;
    QTest::newRow("PageBack") << "PageBack"
                              << "PageBack"
                              << "Ctrl+B" << false;
    QTest::newRow("PageNext") << "PageNext"
                              << "PageNext"
                              << "Ctrl+N" << false;
    QTest::newRow("SetCanChangeSlideRead") << "SetCanChangeSlideRead"
                                           << "変速スライドの設定(&L)"
                                           << "" << false;
    QTest::newRow("FindSimpleContents") << "FindSimpleContents"
                                        << "簡易目次検索(&S)"
                                        << "" << false;
    QTest::newRow("FindResearch") << "FindResearch"
                                  << "再検索(&R)"
                                  << "" << false;
    QTest::newRow("ReflectFormAll") << "ReflectFormAll"
                                    << "すべてに反映(&R)"
                                    << "" << true;
    QTest::newRow("SetAnyFilter") << "SetAnyFilter"
                                  << "すべてのファイル(&A)"
                                  << "" << true;
    QTest::newRow("SetContentsLineForward") << "SetContentsLineForward"
                                            << "行数が前(&L)"
                                            << "" << true;
    QTest::newRow("AppVersion") << "AppVersion"
                                << "バージョン情報(&A)"
                                << "" << false;
}

void TestMainWindow::commands()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, shortcut);
    QFETCH(bool, checkable);
    TQuorvelaneForm* form = &H->Open();
    QAction* action = form->Action(name);
    QVERIFY(action);
    QCOMPARE(action->text(), caption);
    QCOMPARE(action->shortcut().toString(), shortcut);
    QCOMPARE(action->isCheckable(), checkable);
    QCOMPARE(action->isChecked(), false);
    H->Exit();
}

void TestMainWindow::menus()
{
    TQuorvelaneForm* form = &H->Open();
    QStringList captions;
    for (QAction* menu : form->menuBar()->actions())
        captions << menu->text();
    QCOMPARE(captions, (QStringList{"ファイル(&F)", "編集(&E)", "リーディング(&R)", "設定(&S)",
                                    "ヘルプ(&H)"}));
    QStringList fileItems;
    for (QAction* item : form->menuBar()->actions().at(0)->menu()->actions())
        fileItems << (item->isSeparator() ? QStringLiteral("-") : item->objectName());
    QCOMPARE(fileItems, (QStringList{"FileSave", "-", "FileBack", "FileNext", "-", "FileSearchAll",
                                     "-", "AppExit"}));
    QCOMPARE(form->DirectoryPopupMenu->actions().at(0)->text(), QStringLiteral("指定フォルダ(&F)"));
    QVERIFY(!form->Action(QStringLiteral("PageNext"))->isVisible());
    for (const char* name : {"LeftPanel",
                             "DirectoryPanel",
                             "DrivePanel",
                             "DriveComboBox1",
                             "DirectoryListBox1",
                             "SearchingButton",
                             "FileNameListBox",
                             "FilePathListBox",
                             "CenterPanel",
                             "TextPanel",
                             "MainRichEdit",
                             "ReaderPanel",
                             "ReadingLineScrollBar",
                             "RightPanel",
                             "SettingPanel",
                             "ReadTimerComboBox",
                             "LabelStepComboBox",
                             "FontSizeComboBox",
                             "LabelSpaceComboBox",
                             "ContentsPanel",
                             "ContentsListBox",
                             "FindResearchButton",
                             "LeftSplitter",
                             "RightSplitter",
                             "DirectorySplitter",
                             "TextSplitter",
                             "SettingSplitter"})
        QVERIFY2(form->findChild<QWidget*>(QLatin1String(name)), name);
    QCOMPARE(form->LabelStepComboBox->count(), 16);
    QCOMPARE(form->LabelStepComboBox->itemText(15), QStringLiteral("  1ﾍﾟｰｼﾞ毎"));
    QCOMPARE(form->ReadTimerComboBox->itemText(22), QStringLiteral("   60000"));
    QCOMPARE(form->FontSizeComboBox->itemText(26), QStringLiteral("     120"));
    H->Exit();
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
