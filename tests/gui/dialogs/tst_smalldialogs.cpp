#include "common/AppConstants.h"
#include "dialogs/GetFolderName.h"
#include "dialogs/HelpWindow.h"
#include "files/FolderControls.h"
#include "tests/support/WindowHarness.h"

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTreeWidget>

// The edit commands, the version box, the help window and the folder chooser.
class TestSmallDialogs : public QObject
{
    Q_OBJECT

private slots:
    void pasteFollowsClipboard_data();
    void pasteFollowsClipboard();
    void editCommands();
    void versionBox();
    void helpOpensAtContents();
    void helpFileMissing();
    void chooserButtonsCentred_data();
    void chooserButtonsCentred();
    void chooserResult();
};

void TestSmallDialogs::pasteFollowsClipboard_data()
{
    QTest::addColumn<QString>("content");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("text") << "text" << true;
    QTest::newRow("an image") << "image" << false;
    QTest::newRow("nothing") << "nothing" << false;
}

void TestSmallDialogs::pasteFollowsClipboard()
{
    QFETCH(QString, content);
    QFETCH(bool, enabled);
    TWindowHarness h;
    TQuorvelaneForm& form = h.Start();
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (content == u"text") {
        clipboard->setText(QStringLiteral("abc"));
    } else if (content == u"image") {
        QImage image(4, 4, QImage::Format_RGB32);
        image.fill(Qt::red);
        clipboard->setImage(image);
    } else {
        clipboard->clear();
    }
    QAction* paste = form.Action(QStringLiteral("TextPaste"));
    auto* editMenu = form.menuBar()->findChild<QMenu*>(QStringLiteral("MenuEdit"));
    QVERIFY(editMenu);
    for (QMenu* menu : {editMenu, form.MainRichEditPopupMenu}) {
        paste->setEnabled(!enabled);
        emit menu->aboutToShow();
        QCOMPARE(paste->isEnabled(), enabled);
    }
    // The pop-up menu offers the same actions in its Edit submenu.
    const QList<QAction*> items = form.MainRichEditPopupMenu->actions();
    QCOMPARE(items.size(), 1);
    QCOMPARE(items.constFirst()->text(), QStringLiteral("編集(&E)"));
    QVERIFY(items.constFirst()->menu()->actions().contains(paste));
}

void TestSmallDialogs::editCommands()
{
    TWindowHarness h;
    QVERIFY(h.Write(QStringLiteral("a.txt"), "line 1\r\nline 2\r\n"));
    TQuorvelaneForm& form = h.Start();
    QCOMPARE(form.LineCount(), 2);
    form.Action(QStringLiteral("TextAllSelect"))->trigger();
    form.Action(QStringLiteral("TextCut"))->trigger();
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("line 1\nline 2"));
    // A cut is an edit: the reader follows it and the text counts as changed.
    QCOMPARE(form.LineCount(), 0);
    QVERIFY(form.MainRichEdit->IsModified());
    form.Action(QStringLiteral("TextPaste"))->trigger();
    form.Action(QStringLiteral("TextPaste"))->trigger();
    QCOMPARE(form.LineCount(), 3);
    QCOMPARE(form.Line(1), QStringLiteral("line 2line 1"));
    form.Action(QStringLiteral("TextAllSelect"))->trigger();
    form.Action(QStringLiteral("TextCopy"))->trigger();
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("line 1\nline 2line 1\nline 2"));
    QVERIFY(h.Script().Log().isEmpty());
}

void TestSmallDialogs::versionBox()
{
    TWindowHarness h;
    TQuorvelaneForm& form = h.Start();
    form.Action(QStringLiteral("AppVersion"))->trigger();
    QCOMPARE(h.Script().LogLines(),
             QStringList{QStringLiteral("message|  Quorvelane|Quorvelane Version 01.01.00\r\n\r\n"
                                        "Copyright (C) 2026 The Quorvelane developers")});
    QCOMPARE(h.Script().Log().constFirst().Flags, 0);
}

void TestSmallDialogs::helpOpensAtContents()
{
    TWindowHarness h;
    TQuorvelaneForm& form = h.Start();
    qApp->setProperty("HelpFile", QStringLiteral(QV_SOURCE_DIR "/docs/Quorvelane.hlp"));
    form.Action(QStringLiteral("AppHelp"))->trigger();
    QVERIFY(h.Script().Log().isEmpty());
    auto* help = form.findChild<THelpWindow*>();
    QVERIFY(help);
    QVERIFY(help->isVisible());
    QCOMPARE(help->HelpTabs->currentIndex(), 0);
    QCOMPARE(help->ContentsTree->topLevelItem(0)->text(0),
             QStringLiteral("Quorvelane ユーザーガイド"));
    QVERIFY(help->ContentsTree->topLevelItem(0)->childCount() >= 8);
    QCOMPARE(help->HelpPage->verticalScrollBar()->value(), 0);
    // Every command of the menus can be looked up in the index.
    for (const char* keyword : {"Ctrl+S", "F1", "F3", "F6", "Ctrl+B", "貼り付け", "文字列検索",
                                "変更の確認", "フォントサイズ", "Quorvelane.ini"})
        QVERIFY2(help->ShowKeyword(QString::fromUtf8(keyword)), keyword);
    QVERIFY(help->ShowKeyword(QStringLiteral("ctrl+s")));
    QCOMPARE(help->IndexList->currentItem()->text(), QStringLiteral("Ctrl+S"));
    QCOMPARE(help->HelpPage->textCursor().block().text(), QStringLiteral("テキストの保存"));
    QVERIFY(help->HelpPage->verticalScrollBar()->value() > 0);
    QVERIFY(!help->ShowKeyword(QStringLiteral("存在しない語")));
    QVERIFY(help->FindText(QStringLiteral("BOM 付きの UTF-8")));
    QCOMPARE(help->HelpPage->textCursor().selectedText(), QStringLiteral("BOM 付きの UTF-8"));
    QVERIFY(!help->FindText(QStringLiteral("存在しない語")));
    QCOMPARE(help->FindStatus->text(), QStringLiteral("見つかりません"));
    // Asked again, the one window comes back at its contents.
    form.Action(QStringLiteral("AppHelp"))->trigger();
    QCOMPARE(form.findChildren<THelpWindow*>().size(), 1);
    QCOMPARE(help->HelpTabs->currentIndex(), 0);
}

void TestSmallDialogs::helpFileMissing()
{
    TWindowHarness h;
    TQuorvelaneForm& form = h.Start();
    qApp->setProperty("HelpFile", h.Dir.filePath(QStringLiteral("Quorvelane.hlp")));
    form.Action(QStringLiteral("AppHelp"))->trigger();
    QCOMPARE(h.Script().Log().size(), 1);
    QCOMPARE(h.Script().Log().constFirst().Caption, QStringLiteral(" Error"));
    QVERIFY(h.Script().Log().constFirst().Text.startsWith(
        QStringLiteral("ヘルプファイル %1 を開けませんでした。")
            .arg(h.Dir.filePath(QStringLiteral("Quorvelane.hlp")))));
    QVERIFY(!form.findChild<THelpWindow*>());
}

void TestSmallDialogs::chooserButtonsCentred_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<QSize>("size");
    QTest::newRow("designed") << 200 << 250 << QSize(200, 250);
    QTest::newRow("wide") << 501 << 400 << QSize(501, 400);
    QTest::newRow("below the smallest") << 100 << 100 << QSize(188, 250);
}

void TestSmallDialogs::chooserButtonsCentred()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(QSize, size);
    TGetFolderNameForm chooser;
    QCOMPARE(chooser.windowTitle(), QStringLiteral(" フォルダの選択"));
    QCOMPARE(chooser.minimumSize(), QSize(188, 250));
    chooser.show();
    chooser.resize(width, height);
    QCOMPARE(chooser.size(), size);
    QCOMPARE(chooser.ButtonPanel->height(), 41);
    QCOMPARE(chooser.ButtonPanel->width(), size.width());
    QCOMPARE(chooser.OKButton->size(), QSize(80, 25));
    QCOMPARE(chooser.OKButton->x(), (size.width() - 160) / 2);
    QCOMPARE(chooser.CancelButton->x(), chooser.OKButton->x() + 80);
}

void TestSmallDialogs::chooserResult()
{
    TWindowHarness h;
    QVERIFY(QDir(h.Texts).mkpath(QStringLiteral("sub")));
    h.Start(); // the window opens the text folder, which becomes the current folder
    QString opened;
    h.Script().AnswerForm([&](QObject* form) {
        auto* chooser = qobject_cast<TGetFolderNameForm*>(form);
        opened = chooser->DirectoryListBox1->Directory();
        chooser->DirectoryListBox1->SetDirectory(h.Path(QStringLiteral("sub")));
        return int(QDialog::Accepted);
    });
    QCOMPARE(GetFolderName(h.Form.get()), std::optional<QString>(h.Path(QStringLiteral("sub"))));
    QCOMPARE(opened, h.Texts);
    h.Script().AnswerForm([](QObject*) { return int(QDialog::Rejected); });
    QCOMPARE(GetFolderName(h.Form.get()), std::nullopt);
    QCOMPARE(h.Script().LogLines(),
             QStringList({"form|GetFolderNameForm|", "form|GetFolderNameForm|"}));
}

QTEST_MAIN(TestSmallDialogs)
#include "tst_smalldialogs.moc"
