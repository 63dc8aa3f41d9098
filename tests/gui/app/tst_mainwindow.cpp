#include "app/QuorvelaneMain.h"
#include "tests/support/ScriptedDialogs.h"

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
    void closingStopsReadingFirst();
    void unwritableSettingsFileIsReportedOnce();
    void commands_data();
    void commands();
    void menus();

private:
    std::unique_ptr<TQuorvelaneForm> start();
    void exit(std::unique_ptr<TQuorvelaneForm>& form);
    QByteArray settingsBytes() const;
    void writeSettings(const QByteArray& bytes);

    std::unique_ptr<QTemporaryDir> Dir;
    std::unique_ptr<TScopedDialogs> Dialogs;
    QString PreviousFolder;
};

void TestMainWindow::init()
{
    Dir = std::make_unique<QTemporaryDir>();
    QVERIFY(Dir->isValid());
    PreviousFolder = QDir::currentPath();
    QVERIFY(QDir::setCurrent(Dir->path()));
    Dialogs = std::make_unique<TScopedDialogs>();
}

void TestMainWindow::cleanup()
{
    QVERIFY2((*Dialogs)->Unexpected().isEmpty(), qPrintable((*Dialogs)->Unexpected().join(u'\n')));
    Dialogs.reset();
    QDir::setCurrent(PreviousFolder);
    Dir.reset();
}

std::unique_ptr<TQuorvelaneForm> TestMainWindow::start()
{
    // Opening a folder makes it the process's current folder; every start is from the test's.
    QDir::setCurrent(Dir->path());
    auto form = std::make_unique<TQuorvelaneForm>();
    form->show();
    if (!QTest::qWaitForWindowExposed(form.get()))
        qWarning("window not exposed");
    return form;
}

void TestMainWindow::exit(std::unique_ptr<TQuorvelaneForm>& form)
{
    QAction* exitAction = form->Action(QStringLiteral("AppExit"));
    QVERIFY(exitAction && exitAction->isEnabled());
    exitAction->trigger();
    QVERIFY(!form->isVisible());
    form.reset();
}

QByteArray TestMainWindow::settingsBytes() const
{
    QFile file(Dir->filePath(QStringLiteral("Quorvelane.ini")));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void TestMainWindow::writeSettings(const QByteArray& bytes)
{
    QFile file(Dir->filePath(QStringLiteral("Quorvelane.ini")));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

void TestMainWindow::firstStartWritesDefaults()
{
    auto form = start();
    QCOMPARE(form->windowTitle(), QStringLiteral("Quorvelane"));
    QCOMPARE(form->pos(), QPoint(50, 30));
    QCOMPARE(form->size(), QSize(500, 400));
    QCOMPARE(form->ReadTimerComboBox->currentText(), QStringLiteral("   01000"));
    QCOMPARE(form->ReadTimer->interval(), 100); // the start-up tick is armed
    QCOMPARE(form->ReadTimer->property("Tag").toInt(), 1000);
    QCOMPARE(form->LabelSpaceComboBox->currentText(), QStringLiteral("      02"));
    QCOMPARE(form->FontSizeComboBox->currentText(), QStringLiteral("      10"));
    QCOMPARE(form->TextFont().Size, 10);
    QCOMPARE(form->SettingsFileName(),
             QDir(Dir->path()).filePath(QStringLiteral("Quorvelane.ini")));
    exit(form);

    const QString folder = QDir(Dir->path()).absolutePath();
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
        "\x82\x58\x82\x4f\r\nSearchLength=0\r\nSearchOption=0\r\n";
    QCOMPARE(settingsBytes(), expected);
    QVERIFY((*Dialogs)->Log().isEmpty());
}

void TestMainWindow::restartKeepsValuesAndForeignLines()
{
    const QString sub = Dir->filePath(QStringLiteral("novels"));
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
    writeSettings(original);
    auto form = start();
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
    exit(form);

    const QByteArray written = settingsBytes();
    for (const QByteArray& line : {QByteArray("; my own notes\r\n"), QByteArray("Colour=blue\r\n"),
                                   QByteArray("\r\n[Mine]\r\nkey=\x95\x5c\xff\r\n")})
        QVERIFY2(written.contains(line), line.constData());
    QVERIFY(written.startsWith("; my own notes\r\n[Form]\r\nLeft=120\r\n"));
    QVERIFY(written.contains("SearchLineString=\x91\xe6\x31\x8f\xcd\r\n"));

    auto again = start();
    QCOMPARE(again->CollectSettings(), before);
    exit(again);
    QCOMPARE(settingsBytes(), written);
}

void TestMainWindow::goneFoldersAreDropped()
{
    const QString a = Dir->filePath(QStringLiteral("a"));
    const QString c = Dir->filePath(QStringLiteral("c"));
    QVERIFY(QDir().mkpath(a) && QDir().mkpath(c));
    writeSettings("[FileFolder]\r\nSelFolder=" + a.toUtf8() + ";" + Dir->filePath("gone").toUtf8() +
                  ";" + c.toUtf8() + "\r\nFolder=" + Dir->filePath("gone").toUtf8() +
                  "\r\n[BaseData]\r\nFontSize=6\r\n");
    auto form = start();
    QCOMPARE(form->FileState().SelectedFolders, (QStringList{a, c}));
    QCOMPARE(form->SelectedFolderMenu->actions().size(), 2);
    QCOMPARE(form->SelectedFolderMenu->actions().at(1)->text(), QStringLiteral("c"));
    // The saved folder is gone: it is skipped and the keys after it still apply.
    QCOMPARE(form->FontSizeComboBox->currentIndex(), 6);
    exit(form);
    QVERIFY(settingsBytes().contains("SelFolder=" + a.toUtf8() + ";" + c.toUtf8() + "\r\n"));
    QVERIFY(settingsBytes().contains("FontSize=6\r\n"));
}

void TestMainWindow::outOfRangeIndexSelectsFirstEntry()
{
    writeSettings("[BaseData]\r\nSlideInterval=99\r\nLabelSpace=-1\r\nFontSize=27\r\n");
    auto form = start();
    QCOMPARE(form->ReadTimerComboBox->currentIndex(), 0);
    QCOMPARE(form->SlideState().SlideIntervalMs, 50);
    QCOMPARE(form->ReadTimer->property("Tag").toInt(), 50);
    QCOMPARE(form->LabelSpaceComboBox->currentIndex(), 0);
    QCOMPARE(form->LabelSpacing(), 0);
    QCOMPARE(form->FontSizeComboBox->currentIndex(), 0);
    QCOMPARE(form->TextFont().Size, 4);
    exit(form);
}

void TestMainWindow::closingStopsReadingFirst()
{
    auto form = start();
    form->ReadTimer->setProperty("Tag", 0);
    form->ReadTimer->setInterval(1000);
    form->Action(QStringLiteral("SlideRead"))->setChecked(true);
    form->ReadTimer->start();
    exit(form);
    QVERIFY(settingsBytes().contains("SlideInterval=7\r\n"));
}

void TestMainWindow::unwritableSettingsFileIsReportedOnce()
{
    // A folder in the file's place cannot be replaced by a file, even by root.
    QVERIFY(QDir().mkpath(Dir->filePath(QStringLiteral("Quorvelane.ini"))));
    auto form = start();
    exit(form);
    QCOMPARE((*Dialogs)->LogLines(),
             QStringList{QStringLiteral("plain||初期化ファイルを作成できませんでした。")});
    QVERIFY(QFileInfo(Dir->filePath(QStringLiteral("Quorvelane.ini"))).isDir());
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
    auto form = start();
    QAction* action = form->Action(name);
    QVERIFY(action);
    QCOMPARE(action->text(), caption);
    QCOMPARE(action->shortcut().toString(), shortcut);
    QCOMPARE(action->isCheckable(), checkable);
    QCOMPARE(action->isChecked(), false);
    exit(form);
}

void TestMainWindow::menus()
{
    auto form = start();
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
    exit(form);
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
