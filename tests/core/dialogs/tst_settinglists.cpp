#include "dialogs/BaseSettings.h"
#include "dialogs/SettingLists.h"
#include "files/FileState.h"
#include "tests/support/ScriptedDialogs.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString Prompt = QStringLiteral("例)*.txt , *.txt;*.rtf , ':中止");
const QString Forbidden = QStringLiteral("\\/:.;*?\"<>| は使用できません。");
const QString NotAFilter = QStringLiteral(" はフィルタには使用できません。");

// Messages go to the installed scripted service, so one log holds them with the questions.
int scriptedMessage(const QString& text, const QString& caption, int flags)
{
    return Dialogs().MessageBox(text, caption, flags);
}

QString confirm(const QString& text)
{
    return QStringLiteral("message|  確認|") + text;
}

// "+*.txt" for a checked item, "-*.txt" for an unchecked one.
QStringList itemTexts(const QList<TFilterItem>& items)
{
    QStringList texts;
    for (const TFilterItem& item : items)
        texts << (item.Checked ? u'+' : u'-') + item.Text;
    return texts;
}

// Scripted answers: "#6" presses a button, "<cancel>" cancels a box or the chooser, "dir:path"
// picks a folder, anything else is typed into an input box.
void script(TScriptedDialogs& dialogs, const QStringList& answers)
{
    for (const QString& answer : answers) {
        if (answer.startsWith(u'#'))
            dialogs.AnswerButton(answer.mid(1).toInt());
        else if (answer == QLatin1String("<cancel>"))
            dialogs.AnswerInput(std::nullopt);
        else if (answer == QLatin1String("dir:<cancel>"))
            dialogs.AnswerFolder(std::nullopt);
        else if (answer.startsWith(QLatin1String("dir:")))
            dialogs.AnswerFolder(answer.mid(4));
        else
            dialogs.AnswerInput(answer);
    }
}

void run(TSettingLists& lists, const QString& op)
{
    const QHash<QString, void (TSettingLists::*)()> ops = {
        {"add", &TSettingLists::AddFilterButtonClick},
        {"change", &TSettingLists::ChangeFilterButtonClick},
        {"delete", &TSettingLists::DeleteFilterButtonClick},
        {"up", &TSettingLists::CheckListUpButtonClick},
        {"down", &TSettingLists::CheckListDownButtonClick},
        {"click", &TSettingLists::FilterCheckListBoxClick},
        {"addFolder", &TSettingLists::AddFolderButtonClick},
        {"deleteFolder", &TSettingLists::DeleteFolderButtonClick},
        {"folderUp", &TSettingLists::ListUpButtonClick},
        {"folderDown", &TSettingLists::ListDownButtonClick},
        {"folderClick", &TSettingLists::SelectedFolderNameListBoxClick},
    };
    QVERIFY2(ops.contains(op), qPrintable(op));
    (lists.*ops.value(op))();
}

// The main window as the OK steps see it: every call logged with the values it was given.
class TLoggingPort final : public TBaseSettingPort
{
public:
    bool Any = false;
    bool Ok = true;
    std::function<void(TSettingLists&)> UserEdits;
    QStringList Calls;

    bool AnyFilter() const override { return Any; }
    void SetAnyFilter(bool checked) override
    {
        Any = checked;
        Calls << QStringLiteral("SetAnyFilter %1").arg(checked);
    }
    bool ShowSettingForm(TSettingLists& lists) override
    {
        Calls << QStringLiteral("show ") + itemTexts(lists.Copies.Filters).join(u',') + u' ' +
                     lists.Copies.FolderNames.join(u',');
        if (UserEdits)
            UserEdits(lists);
        return Ok;
    }
    int MessageBox(const QString& text, const QString& caption, int flags) override
    {
        return scriptedMessage(text, caption, flags);
    }
    bool Set_SaveFilter(QString& FilterList) override
    {
        Calls << QStringLiteral("Set_SaveFilter ") + FilterList;
        FilterList = QStringLiteral("*.txt"); // as the save dialog does with a list it refuses
        return false;
    }
    void ApplyFileFilter() override { Calls << QStringLiteral("ApplyFileFilter"); }
    void BuildSelectedFolderMenu(const QString& Folders) override
    {
        Calls << QStringLiteral("BuildSelectedFolderMenu ") + Folders;
    }
};

} // namespace

// The base settings dialog's logic: the typed filter check, loading the filter list, every edit
// of both pages with scripted answers, and the steps of OK and Cancel.
class TestSettingLists : public QObject
{
    Q_OBJECT

private slots:
    void checkFilterText_data();
    void checkFilterText();
    void loadFilters_data();
    void loadFilters();
    void loadFiltersFromBigList();
    void filterEdits_data();
    void filterEdits();
    void folderEdits_data();
    void folderEdits();
    void standardFolders();
    void chooserThatCannotBeShown();
    void okAppliesInOrder();
};

void TestSettingLists::checkFilterText_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("messages");
    const auto row = [](const char* name, const QString& typed, bool ok, const QString& text,
                        const QStringList& messages) {
        QTest::newRow(name) << typed << ok << text << messages;
    };
    const QString longExt = "*." + QString(10000, u'a');
    row("capitals lowered", "*.TXT", true, "*.txt", {});
    row("blanks and controls trimmed", " \t*.txt \r\n", true, "*.txt", {});
    row("blank after the semicolon", "*.txt; *.rtf", true, "*.txt", {" *.rtf" + NotAFilter});
    row("dot in the extension", "*.tar.gz", false, "*.tar.gz", {Forbidden});
    row("no star", "txt", false, "txt", {"txt" + NotAFilter});
    row("star dot alone", "*.", false, "*.", {});
    row("nothing", "", false, "", {});
    row("two bytes of one character", QStringLiteral("\u3042"), false, QStringLiteral("\u3042"),
        {});
    row("two double-byte characters are four bytes", QStringLiteral("\u3042\u3044"), false,
        QStringLiteral("\u3042\u3044"), {QStringLiteral("\u3042\u3044") + NotAFilter});
    row("empty middle piece", "*.txt;;*.rtf", true, "*.txt;*.rtf", {NotAFilter});
    row("only semicolons", ";;;;", false, ";;;;", QStringList(5, NotAFilter));
    row("only forbidden characters", "\\/:.;*?\"<>|", false, "\\/:.;*?\"<>|",
        {"\\/:." + NotAFilter, "*?\"<>|" + NotAFilter});
    row("double-byte extension", QStringLiteral("*.\u30c6\u30ad"), true,
        QStringLiteral("*.\u30c6\u30ad"), {});
    // "ソ" is 0x83 0x5C in CP932: its second byte is no backslash.
    row("trail byte like a backslash", QStringLiteral("*.\u30bd"), true, QStringLiteral("*.\u30bd"),
        {});
    row("half-width katakana is one byte", QStringLiteral("*.\uff71"), true,
        QStringLiteral("*.\uff71"), {});
    row("full-width capitals kept", QStringLiteral("*.\uff34"), true, QStringLiteral("*.\uff34"),
        {});
    row("full-width blank is no padding", QStringLiteral("\u3000*.txt"), false,
        QStringLiteral("\u3000*.txt"), {QStringLiteral("\u3000*.txt") + NotAFilter});
    row("good and bad pieces", "*.md;doc;*.a?", true, "*.md", {"doc" + NotAFilter, Forbidden});
    row("ten thousand characters", longExt, true, longExt, {});
}

void TestSettingLists::checkFilterText()
{
    QFETCH(QString, typed);
    QFETCH(bool, ok);
    QFETCH(QString, text);
    QFETCH(QStringList, messages);
    QStringList shown;
    const TSettingMessage message = [&](const QString& t, const QString& caption, int flags) {
        shown << (caption == QStringLiteral("  確認") && flags == 0 ? t : "wrong box: " + t);
        return 1;
    };
    QCOMPARE(CheckFilterText(typed, message), ok);
    QCOMPARE(typed, text);
    QCOMPARE(shown, messages);
}

void TestSettingLists::loadFilters_data()
{
    QTest::addColumn<QString>("allFilter");
    QTest::addColumn<QString>("nowFilter");
    QTest::addColumn<QString>("items");
    const auto row = [](const char* name, const QString& all, const QString& now,
                        const QString& items) { QTest::newRow(name) << all << now << items; };
    row("defaults", "*.txt/*.rtf/*.m3u", "*.txt", "+*.txt -*.rtf -*.m3u");
    row("group checked by both pieces", "*.txt;*.rtf/*.doc", "*.txt;*.rtf", "+*.txt;*.rtf -*.doc");
    row("first item holding the piece", "*.txt;*.rtf/*.txt", "*.txt", "+*.txt;*.rtf -*.txt");
    row("capitals lowered", "*.TXT/*.Rtf", "*.RTF", "-*.txt +*.rtf");
    row("nothing active", "*.txt/*.rtf", "", "-*.txt -*.rtf");
    row("piece no item holds", "*.txt", "*.doc;;", "-*.txt");
    row("no items", "", "*.txt", "+*.txt");
    row("empty items skipped", "/*.txt//*.rtf/", "*.rtf", "-*.txt +*.rtf");
    row("damaged text kept as read", QStringLiteral("*.t\ufffdt/*.md"),
        QStringLiteral("*.t\ufffdt"), QStringLiteral("+*.t\ufffdt -*.md"));
}

void TestSettingLists::loadFilters()
{
    QFETCH(QString, allFilter);
    QFETCH(QString, nowFilter);
    QFETCH(QString, items);
    for (const bool any : {false, true}) {
        TSettingLists lists(nullptr);
        lists.LoadFilters(any, allFilter, nowFilter);
        QCOMPARE(lists.Copies.AnyFilter, any);
        QCOMPARE(itemTexts(lists.Copies.Filters).join(u' '), items);
    }
}

void TestSettingLists::loadFiltersFromBigList()
{
    QStringList all;
    for (int i = 0; i < 2000; ++i)
        all << QStringLiteral("*.e%1").arg(i, 4, 10, QLatin1Char('0'));
    TSettingLists lists(nullptr);
    lists.LoadFilters(false, all.join(u'/'), QStringLiteral("*.e1999;*.e0000"));
    QCOMPARE(lists.Copies.Filters.size(), 2000);
    QCOMPARE(lists.JoinedFilters(), all.join(u'/'));
    QCOMPARE(lists.JoinedCheckedFilters(), QStringLiteral("*.e0000;*.e1999"));
}

// One edit of a page: the items before ("+" checked, "-" unchecked, space-separated) with the
// highlighted row, the step, the scripted answers, the items and highlight after, and the log.
void addEdit(const char* name, const QString& items, int highlighted, const QString& op,
             const QStringList& answers, const QString& after, int highlightedAfter,
             const QStringList& log)
{
    QTest::newRow(name) << items << highlighted << op << answers << after << highlightedAfter
                        << log;
}

void addEditColumns()
{
    QTest::addColumn<QString>("items");
    QTest::addColumn<int>("highlighted");
    QTest::addColumn<QString>("op");
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QString>("after");
    QTest::addColumn<int>("highlightedAfter");
    QTest::addColumn<QStringList>("log");
}

void TestSettingLists::filterEdits_data()
{
    addEditColumns();
    const QString add = "input|  フィルタ追加|" + Prompt + "|*.";
    const QString change = "input|  フィルタ変更|" + Prompt + "|";
    const QString ask =
        QStringLiteral("message|  フィルタ削除|選択されているフィルタを削除します。");
    const QString one = QStringLiteral("ひとつ以上選択してください。");
    const QString two = QStringLiteral("+*.txt -*.rtf");
    addEdit("add", two, -1, "add", {" *.LOG "}, two + " -*.log", -1, {add});
    addEdit("add a group", two, 0, "add", {"*.md;*.txt"}, two + " -*.md;*.txt", 0, {add});
    addEdit("add a duplicate", two, -1, "add", {"*.RTF"}, two, -1,
            {add, confirm("*.rtfは既に登録されています。")});
    addEdit("add cancelled", two, -1, "add", {"<cancel>"}, two, -1, {add});
    addEdit("add with a bad piece", two, -1, "add", {"*.md; *.doc"}, two + " -*.md", -1,
            {add, confirm(" *.doc" + NotAFilter)});
    addEdit("change keeps the check", two, 0, "change", {"*.md"}, "+*.md -*.rtf", 0,
            {change + "*.txt"});
    addEdit("change to itself", two, 1, "change", {"*.rtf"}, two, 1, {change + "*.rtf"});
    addEdit("change to another item", two, 1, "change", {"*.txt"}, two, 1,
            {change + "*.rtf", confirm("*.txtは既に登録されています。")});
    addEdit("change cancelled", two, 1, "change", {"<cancel>"}, two, 1, {change + "*.rtf"});
    addEdit("change, nothing highlighted", two, -1, "change", {}, two, -1, {});
    addEdit("delete the last item", "+*.txt", 0, "delete", {}, "+*.txt", 0,
            {confirm("ひとつ以上残してください。")});
    addEdit("delete, yes", two, 0, "delete", {"#6"}, "-*.rtf", -1, {ask});
    addEdit("delete, no", two, 1, "delete", {"#7"}, two, 1, {ask});
    addEdit("delete, nothing highlighted", two, -1, "delete", {}, two, -1, {});
    addEdit("last check removed", "-*.txt -*.rtf", 1, "click", {}, "-*.txt +*.rtf", 1,
            {confirm(one)});
    addEdit("last check removed, no highlight", "-*.txt -*.rtf", -1, "click", {}, "+*.txt -*.rtf",
            -1, {confirm(one)});
    addEdit("click with a check", two, 1, "click", {}, two, 1, {});
    addEdit("click in an empty list", "", -1, "click", {}, "+*.txt", -1, {});
    addEdit("up takes the check", "-*.rtf +*.txt -*.md", 1, "up", {}, "+*.txt -*.rtf -*.md", 0, {});
    addEdit("up from the top", two, 0, "up", {}, two, 0, {});
    addEdit("down takes the check", two, 0, "down", {}, "-*.rtf +*.txt", 1, {});
    addEdit("down from the bottom", two, 1, "down", {}, two, 1, {});
    addEdit("down, nothing highlighted", two, -1, "down", {}, two, -1, {});
}

void TestSettingLists::filterEdits()
{
    QFETCH(QString, items);
    QFETCH(int, highlighted);
    QFETCH(QString, op);
    QFETCH(QStringList, answers);
    QFETCH(QString, after);
    QFETCH(int, highlightedAfter);
    QFETCH(QStringList, log);
    TScopedDialogs dialogs;
    script(*dialogs, answers);
    TSettingLists lists(scriptedMessage);
    for (const QString& item : items.split(u' ', Qt::SkipEmptyParts))
        lists.Copies.Filters.append({item.mid(1), item.startsWith(u'+')});
    lists.Copies.FilterIndex = highlighted;
    run(lists, op);
    QCOMPARE(itemTexts(lists.Copies.Filters).join(u' '), after);
    QCOMPARE(lists.Copies.FilterIndex, highlightedAfter);
    QCOMPARE(dialogs->LogLines(), log);
    QCOMPARE(dialogs->PendingAnswers(), 0);
}

// Folder rows: the paths before, and the display names after with the hint in the last field.
void TestSettingLists::folderEdits_data()
{
    addEditColumns();
    const QString chooser = "folder| フォルダの選択|" + QDir::currentPath();
    const QString three = QStringLiteral("/srv/a /srv/b /home/a");
    addEdit("add", three, -1, "addFolder", {"dir:/srv/texts/"}, "a b a texts|", -1, {chooser});
    addEdit("add the root", "", -1, "addFolder", {"dir:/"}, "/|", -1, {chooser});
    addEdit("add one already there", three, -1, "addFolder", {"dir:/srv/b/"}, "a b a|", -1,
            {chooser, confirm("既に登録されています。")});
    addEdit("chooser cancelled", three, 1, "addFolder", {"dir:<cancel>"}, "a b a|", 1, {chooser});
    addEdit("delete highlights the one above", three, 2, "deleteFolder", {}, "a b|/srv/b", 1, {});
    addEdit("delete the first", three, 0, "deleteFolder", {}, "b a|/srv/b", 0, {});
    addEdit("delete, nothing highlighted", three, -1, "deleteFolder", {}, "a b a|/srv/a", 0, {});
    addEdit("delete the only one", "/srv/a", 0, "deleteFolder", {}, "|", -1, {});
    addEdit("up", three, 2, "folderUp", {}, "a a b|", 1, {});
    addEdit("down", three, 0, "folderDown", {}, "b a a|", 1, {});
    addEdit("down from the bottom", three, 2, "folderDown", {}, "a b a|", 2, {});
    addEdit("hint tells two of a name apart", three, 2, "folderClick", {}, "a b a|/home/a", 2, {});
    addEdit("no hint without a highlight", three, -1, "folderClick", {}, "a b a|", -1, {});
}

void TestSettingLists::folderEdits()
{
    QFETCH(QString, items);
    QFETCH(int, highlighted);
    QFETCH(QString, op);
    QFETCH(QStringList, answers);
    QFETCH(QString, after);
    QFETCH(int, highlightedAfter);
    QFETCH(QStringList, log);
    TScopedDialogs dialogs;
    script(*dialogs, answers);
    TSettingLists lists(scriptedMessage);
    lists.LoadFolders(items.split(u' ', Qt::SkipEmptyParts));
    lists.Copies.FolderIndex = highlighted;
    run(lists, op);
    QCOMPARE(lists.Copies.FolderNames.join(u' ') + u'|' + lists.Copies.FolderHint, after);
    QCOMPARE(lists.Copies.FolderPaths.size(), lists.Copies.FolderNames.size());
    QCOMPARE(lists.Copies.FolderIndex, highlightedAfter);
    QCOMPARE(dialogs->LogLines(), log);
    QCOMPARE(dialogs->PendingAnswers(), 0);
}

void TestSettingLists::standardFolders()
{
    QTemporaryDir dir;
    const QString desktop = dir.filePath(QStringLiteral("Desktop"));
    const QString documents = dir.filePath(QStringLiteral("Documents"));
    QVERIFY(QDir().mkpath(desktop));
    TScopedDialogs dialogs;
    TSettingLists lists(scriptedMessage);
    lists.AddStandardFolders(desktop, documents);
    lists.AddStandardFolders(desktop, documents);
    QCOMPARE(lists.Copies.FolderPaths, QStringList{desktop});
    QCOMPARE(dialogs->LogLines(), QStringList());
    lists.AddStandardFolders(QString(), QString());
    QCOMPARE(dialogs->LogLines(),
             QStringList{QStringLiteral("message| Error|フォルダ検出に失敗しました。")});
}

void TestSettingLists::chooserThatCannotBeShown()
{
    // Without an installed service no dialog can be shown.
    QStringList shown;
    TSettingLists lists([&](const QString& text, const QString& caption, int) {
        shown << caption + u'|' + text;
        return 1;
    });
    lists.AddFolderButtonClick();
    QCOMPARE(shown, QStringList{QStringLiteral(" Error|ダイアログを表示できませんでした。")});
    QVERIFY(lists.Copies.FolderPaths.isEmpty());
}

void TestSettingLists::okAppliesInOrder()
{
    TScopedDialogs dialogs;
    TFileState files;
    files.AllFilter = QStringLiteral("*.txt/*.rtf");
    files.NowFilter = QStringLiteral("*.rtf");
    files.SelectedFolders = {QStringLiteral("/srv/a")};
    TLoggingPort port;
    port.UserEdits = [](TSettingLists& lists) {
        lists.Copies.AnyFilter = true;
        lists.Copies.Filters[0].Checked = true;
        lists.AddFolderPath(QStringLiteral("/srv/b"), false);
    };
    TBaseSettings(files, port).SetBaseExecute();
    QCOMPARE(port.Calls,
             (QStringList{"show -*.txt,+*.rtf a", "SetAnyFilter 1", "Set_SaveFilter *.txt/*.rtf",
                          "ApplyFileFilter", "BuildSelectedFolderMenu /srv/a;/srv/b"}));
    // The save dialog's replacement stands; NowFilter is joined before the file list asks.
    QCOMPARE(files.AllFilter, QStringLiteral("*.txt"));
    QCOMPARE(files.NowFilter, QStringLiteral("*.txt;*.rtf"));
}

QTEST_GUILESS_MAIN(TestSettingLists)
#include "tst_settinglists.moc"
