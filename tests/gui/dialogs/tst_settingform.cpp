#include "common/AppConstants.h"
#include "common/CentredPosition.h"
#include "dialogs/SettingFrm.h"
#include "tests/support/WindowHarness.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>

namespace {

// Shift-JIS text: "吾輩は猫である。"
const QByteArray CatText = "\x8c\xe1\x94\x79\x82\xcd\x94\x4c\x82\xc5\x82\xa0\x82\xe9\x81\x42\r\n";

QString confirm(const QString& text)
{
    return QStringLiteral("message|  確認|") + text;
}

QStringList texts(const QListWidget* list)
{
    QStringList rows;
    for (int i = 0; i < list->count(); ++i)
        rows << list->item(i)->text();
    return rows;
}

// "[x] *.txt" for a checked row.
QStringList checkedTexts(const QListWidget* list)
{
    QStringList rows;
    for (int i = 0; i < list->count(); ++i)
        rows << (list->item(i)->checkState() == Qt::Checked ? QStringLiteral("[x] ")
                                                            : QStringLiteral("[ ] ")) +
                    list->item(i)->text();
    return rows;
}

QStringList menuCaptions(const QMenu* menu)
{
    QStringList captions;
    for (const QAction* action : menu->actions())
        captions << action->text();
    return captions;
}

// The space bar on a row sets or clears its check mark, as a click on the box does.
void toggleCheck(QListWidget* list, int row)
{
    list->setCurrentRow(row);
    QTest::keyClick(list, Qt::Key_Space);
}

// A scripted run of the settings form: Act works on its real controls and presses OK or
// Cancel; the form's result goes back to the command.
std::function<int(QObject*)> onForm(std::function<void(TSettingForm&)> act)
{
    return [act](QObject* object) {
        auto* form = qobject_cast<TSettingForm*>(object);
        if (!form) {
            QTest::qFail("the modal form is not the settings form", __FILE__, __LINE__);
            return int(QDialog::Rejected);
        }
        act(*form);
        return form->result();
    };
}

// Points the desktop and documents folders into a temporary home for the scope.
class TScopedHome
{
public:
    explicit TScopedHome(const QString& home)
        : Home(qgetenv("HOME")), Config(qgetenv("XDG_CONFIG_HOME"))
    {
        qputenv("HOME", home.toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", (home + QStringLiteral("/.config")).toLocal8Bit());
    }
    ~TScopedHome()
    {
        qputenv("HOME", Home);
        if (Config.isEmpty())
            qunsetenv("XDG_CONFIG_HOME");
        else
            qputenv("XDG_CONFIG_HOME", Config);
    }
    TScopedHome(const TScopedHome&) = delete;
    TScopedHome& operator=(const TScopedHome&) = delete;

private:
    QByteArray Home;
    QByteArray Config;
};

} // namespace

// The base settings dialog through the real main window: its controls driven as a user does,
// the chooser and the questions scripted, and what OK and Cancel leave in the window and the
// settings file.
class TestSettingForm : public QObject
{
    Q_OBJECT

private slots:
    void okAppliesAndComesBackAfterRestart();
    void cancelLeavesEverything();
    void controlsReachTheirSteps();
    void noActiveItemAndAVanishedFolder();
};

void TestSettingForm::okAppliesAndComesBackAfterRestart()
{
    TWindowHarness h;
    for (const char* name : {"a.txt", "b.log", "c.md", "d.rtf"})
        QVERIFY(h.Write(QLatin1String(name), CatText));
    const QString one = h.Dir.filePath(QStringLiteral("one"));
    const QString two = h.Dir.filePath(QStringLiteral("two"));
    QVERIFY(QDir().mkpath(one) && QDir().mkpath(two));
    TQuorvelaneForm& form = h.Start();
    QCOMPARE(form.FileNameListBox->texts(), QStringList{"a.txt"});

    h.Script()
        .AnswerForm(onForm([](TSettingForm& f) {
            f.AddFilterButton->click();
            f.AddFilterButton->click();
            toggleCheck(f.FilterCheckListBox, 3);
            toggleCheck(f.FilterCheckListBox, 4);
            f.CheckListUpButton->click();
            f.PageControl->setCurrentWidget(f.FolderSheet);
            f.AddFolderButton->click();
            f.AddFolderButton->click();
            f.OKButton->click();
        }))
        .AnswerInput(QStringLiteral("*.LOG"))
        .AnswerInput(QStringLiteral("*.md;*.txt"))
        .AnswerFolder(one + u'/')
        .AnswerFolder(two);
    form.Action(QStringLiteral("SetBase"))->trigger();
    QCOMPARE(h.Script().PendingAnswers(), 0);
    QCOMPARE(h.Script().LogLines().size(), 5); // the form, two input boxes, two choosers

    const auto expectApplied = [&](TQuorvelaneForm& w) {
        QCOMPARE(w.FileState().AllFilter, QStringLiteral("*.txt/*.rtf/*.m3u/*.md;*.txt/*.log"));
        QCOMPARE(w.FileState().NowFilter, QStringLiteral("*.txt;*.md;*.txt;*.log"));
        QCOMPARE(w.FileNameListBox->texts(), (QStringList{"a.txt", "b.log", "c.md"}));
        QCOMPARE(w.FileState().SelectedFolders, (QStringList{one, two}));
        QCOMPARE(menuCaptions(w.SelectedFolderMenu), (QStringList{"one", "two"}));
    };
    expectApplied(form);

    form.Action(QStringLiteral("AppExit"))->trigger();
    TQuorvelaneForm& again = h.Restart();
    expectApplied(again);
    QStringList reopened;
    h.Script().AnswerForm(onForm([&](TSettingForm& f) {
        reopened = checkedTexts(f.FilterCheckListBox) + texts(f.SelectedFolderPathListBox);
        f.CancelButton->click();
    }));
    again.Action(QStringLiteral("SetBase"))->trigger();
    QCOMPARE(reopened, (QStringList{"[x] *.txt", "[ ] *.rtf", "[ ] *.m3u", "[x] *.md;*.txt",
                                    "[x] *.log", one, two}));
}

void TestSettingForm::cancelLeavesEverything()
{
    TWindowHarness h;
    QVERIFY(h.Write(QStringLiteral("a.txt"), CatText));
    QVERIFY(h.Write(QStringLiteral("b.rtf"), CatText));
    const QString kept = h.Dir.filePath(QStringLiteral("kept"));
    QVERIFY(QDir().mkpath(kept));
    TQuorvelaneForm& form = h.Start(false, {}, "SelFolder=" + kept.toUtf8() + "\r\n");
    const TFileState before = form.FileState();
    QCOMPARE(before.SelectedFolders, QStringList{kept});

    h.Script()
        .AnswerForm(onForm([&](TSettingForm& f) {
            f.AnyFilterCheckBox->click();
            f.FilterCheckListBox->setCurrentRow(0);
            f.DeleteFilterButton->click();
            f.AddFilterButton->click();
            f.PageControl->setCurrentWidget(f.FolderSheet);
            f.SelectedFolderNameListBox->setCurrentRow(0);
            f.DeleteFolderButton->click();
            QCOMPARE(f.SelectedFolderNameListBox->count(), 0);
            f.CancelButton->click();
        }))
        .AnswerButton(AnswerYes)
        .AnswerInput(QStringLiteral("*.rtf;*.doc"));
    form.Action(QStringLiteral("SetBase"))->trigger();

    QCOMPARE(h.Script().PendingAnswers(), 0);
    QVERIFY(!form.Action(QStringLiteral("SetAnyFilter"))->isChecked());
    QCOMPARE(form.FileState().AllFilter, before.AllFilter);
    QCOMPARE(form.FileState().NowFilter, before.NowFilter);
    QCOMPARE(form.FileState().SelectedFolders, before.SelectedFolders);
    QCOMPARE(menuCaptions(form.SelectedFolderMenu), QStringList{"kept"});
    QCOMPARE(form.FileNameListBox->texts(), QStringList{"a.txt"});
}

void TestSettingForm::controlsReachTheirSteps()
{
    TWindowHarness h;
    QTemporaryDir home;
    const QString desktop = home.filePath(QStringLiteral("Desktop"));
    const QString documents = home.filePath(QStringLiteral("Documents"));
    QVERIFY(QDir().mkpath(desktop) && QDir().mkpath(documents));
    const TScopedHome scopedHome(home.path());
    TQuorvelaneForm& form = h.Start();

    QStringList hints;
    h.Script()
        .AnswerForm(onForm([&](TSettingForm& f) {
            QCOMPARE(f.windowTitle(), QStringLiteral("SettingForm"));
            QCOMPARE(f.size(), QSize(310, 310));
            QCOMPARE(f.pos(), CentredPosition(QGuiApplication::primaryScreen()->geometry().size(),
                                              f.size()));
            QCOMPARE(f.PageControl->currentWidget(), f.FilterSheet);
            QCOMPARE(f.PageControl->tabText(0) + f.PageControl->tabText(1),
                     QStringLiteral("フィルタフォルダ"));
            QCOMPARE(checkedTexts(f.FilterCheckListBox),
                     (QStringList{"[x] *.txt", "[ ] *.rtf", "[ ] *.m3u"}));
            f.FilterCheckListBox->setCurrentRow(1);
            f.ChangeFilterButton->click(); // to the text of another item
            f.DeleteFilterButton->click(); // answered No
            f.CheckListDownButton->click();
            toggleCheck(f.FilterCheckListBox, 0); // the last check mark comes back
            QCOMPARE(checkedTexts(f.FilterCheckListBox),
                     (QStringList{"[x] *.txt", "[ ] *.m3u", "[ ] *.rtf"}));

            f.PageControl->setCurrentWidget(f.FolderSheet);
            f.WindowsFolderButton->click();
            f.WindowsFolderButton->click(); // nothing a second time, and nothing said
            QCOMPARE(texts(f.SelectedFolderNameListBox), (QStringList{"Desktop", "Documents"}));
            QCOMPARE(texts(f.SelectedFolderPathListBox), (QStringList{desktop, documents}));
            QVERIFY(f.SelectedFolderPathListBox->isHidden());
            f.SelectedFolderNameListBox->setCurrentRow(1);
            hints << f.SelectedFolderNameListBox->toolTip();
            f.ListUpButton->click();
            hints << texts(f.SelectedFolderPathListBox).join(u';');
            f.ListDownButton->click();
            f.DeleteFolderButton->click();
            hints << f.SelectedFolderNameListBox->toolTip();
            f.OKButton->click();
        }))
        .AnswerInput(QStringLiteral("*.TXT"))
        .AnswerButton(AnswerNo);
    form.Action(QStringLiteral("SetBase"))->trigger();

    QCOMPARE(h.Script().LogLines(),
             (QStringList{"form|SettingForm|",
                          "input|  フィルタ変更|例)*.txt , *.txt;*.rtf , ':中止|*.rtf",
                          confirm("*.txtは既に登録されています。"),
                          "message|  フィルタ削除|選択されているフィルタを削除します。",
                          confirm("ひとつ以上選択してください。")}));
    QCOMPARE(hints, (QStringList{documents, documents + u';' + desktop, desktop}));
    QCOMPARE(form.FileState().AllFilter, QStringLiteral("*.txt/*.m3u/*.rtf"));
    QCOMPARE(form.FileState().SelectedFolders, QStringList{desktop});
}

void TestSettingForm::noActiveItemAndAVanishedFolder()
{
    TWindowHarness h;
    QVERIFY(h.Write(QStringLiteral("a.txt"), CatText));
    QVERIFY(h.Write(QStringLiteral("b.rtf"), CatText));
    const QString gone = h.Dir.filePath(QStringLiteral("gone"));
    QVERIFY(QDir().mkpath(gone));
    TQuorvelaneForm& form =
        h.Start(false, {}, "NowFilter=*.rtf\r\nSelFolder=" + gone.toUtf8() + "\r\n");
    QCOMPARE(form.FileNameListBox->texts(), QStringList{"b.rtf"});
    h.Script()
        .AnswerForm(onForm([&](TSettingForm& f) {
            f.FilterCheckListBox->setCurrentRow(1); // the only checked item
            f.DeleteFilterButton->click();
            QVERIFY(QDir(gone).removeRecursively());
            f.OKButton->click();
        }))
        .AnswerButton(AnswerYes);
    form.Action(QStringLiteral("SetBase"))->trigger();
    // No active item: the file list cleans the empty list to "*.txt".
    QCOMPARE(form.FileState().AllFilter, QStringLiteral("*.txt/*.m3u"));
    QCOMPARE(form.FileState().NowFilter, QStringLiteral("*.txt"));
    QCOMPARE(form.FileNameListBox->texts(), QStringList{"a.txt"});
    QCOMPARE(form.FileState().SelectedFolders, QStringList());
    QVERIFY(form.SelectedFolderMenu->actions().isEmpty());
}

QTEST_MAIN(TestSettingForm)
#include "tst_settingform.moc"
