#include "app/Startup.h"
#include "files/FolderControls.h"
#include "platform/QtDialogService.h"
#include "platform/QtTranslations.h"
#include "platform/StartPlace.h"
#include "tests/support/WindowHarness.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QTranslator>

// The program as the desktop starts it: Qt's own dialogs in Japanese, the settings in the
// configuration folder when started from the menu, and files named on the command line.
class TestDesktopStart : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void saveDialogSpeaksJapanese_data();
    void saveDialogSpeaksJapanese();
    void menuStartKeepsSettingsInConfigFolder();
    void unmakeableConfigFolderIsReportedAtClose();
    void namedFilesFollowTheList();

private:
    // A home folder in a temporary folder, with XDG_CONFIG_HOME unset or set below it.
    void UseHome(const QTemporaryDir& root, const QString& configHome = {});

    QByteArray SavedHome = qgetenv("HOME");
    QByteArray SavedConfig = qgetenv("XDG_CONFIG_HOME");
};

namespace {

const QByteArray CatText = "\x8c\xe1\x94\x79\x82\xcd\x94\x4c\x82\xc5\x82\xa0\x82\xe9\x81\x42\r\n";
const QString CatLine = QStringLiteral("吾輩は猫である。");

// The texts of a file dialog a user reads first: its buttons and the labels of its fields.
QStringList DialogTexts(const QFileDialog& dialog)
{
    QStringList texts;
    for (QAbstractButton* button : dialog.findChild<QDialogButtonBox*>()->buttons())
        texts << button->text();
    for (const char* name : {"lookInLabel", "fileNameLabel", "fileTypeLabel"})
        texts << dialog.findChild<QLabel*>(QLatin1String(name))->text();
    return texts;
}

} // namespace

void TestDesktopStart::cleanup()
{
    for (QTranslator* translator : qApp->findChildren<QTranslator*>()) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
    QLocale::setDefault(QLocale::system());
    qputenv("HOME", SavedHome);
    if (SavedConfig.isNull())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", SavedConfig);
}

void TestDesktopStart::UseHome(const QTemporaryDir& root, const QString& configHome)
{
    QVERIFY(QDir(root.path()).mkpath(QStringLiteral("home/Documents")));
    qputenv("HOME", QFile::encodeName(root.filePath(QStringLiteral("home"))));
    if (configHome.isEmpty())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(root.filePath(configHome)));
}

void TestDesktopStart::saveDialogSpeaksJapanese_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::newRow("English locale") << QLocale(QLocale::English, QLocale::UnitedStates);
    QTest::newRow("C locale") << QLocale::c();
}

void TestDesktopStart::saveDialogSpeaksJapanese()
{
    QFETCH(QLocale, locale);
    QLocale::setDefault(locale);
    QVERIFY(InstallQtTranslations(*qApp));
    QTemporaryDir dir;

    // The real dialog service shows the real dialog; it is read and cancelled once it is up.
    QStringList texts;
    QTimer poll;
    connect(&poll, &QTimer::timeout, [&] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<QFileDialog*>(widget);
            if (dialog && dialog->isVisible()) {
                texts = DialogTexts(*dialog);
                dialog->reject();
            }
        }
    });
    poll.start(10);
    std::unique_ptr<TDialogService> previous =
        InstallDialogService(std::make_unique<TQtDialogService>());
    const auto answer =
        Dialogs().SaveFile(QStringLiteral("名前を付けて保存"), dir.path(), QStringLiteral("a.txt"),
                           {QStringLiteral("テキスト (*.txt)")}, 0);
    InstallDialogService(std::move(previous));

    QVERIFY(!answer);
    QCOMPARE(texts, (QStringList{"保存(&S)", "キャンセル",
                                 "アドレス:", "ファイル名(&N):", "ファイルの種類:"}));
}

void TestDesktopStart::menuStartKeepsSettingsInConfigFolder()
{
    QTemporaryDir root;
    UseHome(root);
    const QString documents = root.filePath(QStringLiteral("home/Documents"));
    QFile text(documents + QStringLiteral("/neko.txt"));
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write(CatText);
    text.close();

    // A first start from the menu: no .config folder yet, no settings file.
    const TStartPlace place = DesktopStartPlace();
    TWindowHarness h;
    TQuorvelaneForm& form = h.OpenSettled(place.StartFolder, place.SettingsFolder);
    QCOMPARE(form.DirectoryListBox1->Directory(), documents);
    QCOMPARE(form.Line(0), CatLine);
    form.Action(QStringLiteral("AppExit"))->trigger();

    QVERIFY(h.Script().Log().isEmpty());
    QFile settings(root.filePath(QStringLiteral("home/.config/quorvelane/Quorvelane.ini")));
    QVERIFY(settings.open(QIODevice::ReadOnly));
    const QByteArray bytes = settings.readAll();
    QVERIFY(bytes.contains("\r\nFolder=" + QFile::encodeName(documents) + "\r\n"));
    QVERIFY(bytes.contains("\r\nFileName=" + QFile::encodeName(text.fileName()) + "\r\n"));
    QVERIFY(!QFile::exists(documents + QStringLiteral("/Quorvelane.ini")));
}

void TestDesktopStart::unmakeableConfigFolderIsReportedAtClose()
{
    QTemporaryDir root;
    // A file where the configuration folder should be: no user, root included, can make it.
    QFile blocker(root.filePath(QStringLiteral("config")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    UseHome(root, QStringLiteral("config"));

    const TStartPlace place = DesktopStartPlace();
    TWindowHarness h;
    TQuorvelaneForm& form = h.OpenSettled(place.StartFolder, place.SettingsFolder);
    QVERIFY(form.isVisible());
    form.Action(QStringLiteral("AppExit"))->trigger();

    QCOMPARE(h.Script().LogLines(), QStringList{"plain||初期化ファイルを作成できませんでした。"});
    // Nothing went to a folder the user did not choose.
    QVERIFY(!QFile::exists(place.StartFolder + QStringLiteral("/Quorvelane.ini")));
    QVERIFY(!QFile::exists(root.filePath(QStringLiteral("home/Quorvelane.ini"))));
}

void TestDesktopStart::namedFilesFollowTheList()
{
    TWindowHarness h;
    QVERIFY(h.Write(QStringLiteral("a.txt"), "a\r\n"));
    QVERIFY(h.Write(QStringLiteral("b.txt"), "b\r\n"));
    // Named files from elsewhere, one without the listed extension: the filter does not apply.
    const QString elsewhere = h.Dir.filePath(QStringLiteral("elsewhere"));
    QVERIFY(QDir().mkpath(elsewhere));
    for (const char* name : {"neko.txt", "notes.log"}) {
        QFile file(elsewhere + u'/' + QLatin1String(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(CatText);
    }
    TQuorvelaneForm& form = h.Start();
    QCOMPARE(form.FileNameListBox->count(), 2);

    // A file the list holds already, and a file named twice, are listed once.
    OpenStartFiles(form, {elsewhere + QStringLiteral("/neko.txt"), h.Path(QStringLiteral("b.txt")),
                          elsewhere + QStringLiteral("/notes.log"),
                          elsewhere + QStringLiteral("/neko.txt")});

    QStringList names;
    QStringList paths;
    for (int i = 0; i < form.FileNameListBox->count(); ++i) {
        names << form.FileNameListBox->text(i);
        paths << form.FilePathListBox->text(i);
    }
    QCOMPARE(names, (QStringList{"a.txt", "b.txt", "neko.txt", "notes.log"}));
    QCOMPARE(paths.mid(2), (QStringList{elsewhere + QStringLiteral("/neko.txt"),
                                        elsewhere + QStringLiteral("/notes.log")}));
    QCOMPARE(form.FileNameListBox->currentRow(), 2);
    QCOMPARE(form.Line(0), CatLine);
    QCOMPARE(form.FileState().CurrentFileName, elsewhere + QStringLiteral("/neko.txt"));
    QVERIFY(h.Script().Log().isEmpty());

    // Named first, a listed file is opened at its own row.
    OpenStartFiles(form, {h.Path(QStringLiteral("b.txt"))});
    QCOMPARE(form.FileNameListBox->count(), 4);
    QCOMPARE(form.FileNameListBox->currentRow(), 1);
    QCOMPARE(form.FileState().CurrentFileName, h.Path(QStringLiteral("b.txt")));
}

QTEST_MAIN(TestDesktopStart)
#include "tst_desktopstart.moc"
