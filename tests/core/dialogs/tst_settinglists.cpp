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

// "[x] *.txt" for a checked item, "[ ] *.txt" for an unchecked one.
QStringList itemTexts(const QList<TFilterItem>& items)
{
    QStringList texts;
    for (const TFilterItem& item : items)
        texts << (item.Checked ? QStringLiteral("[x] ") : QStringLiteral("[ ] ")) + item.Text;
    return texts;
}

QList<TFilterItem> itemsFrom(const QStringList& texts)
{
    QList<TFilterItem> items;
    for (const QString& text : texts)
        items.append({text.mid(4), text.startsWith(QLatin1String("[x]"))});
    return items;
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
    void okAppliesInOrder();
    void cancelAppliesNothing();
};

void TestSettingLists::checkFilterText_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("messages");
    const QString longExt(10000, u'a');
    QTest::newRow("capitals lowered") << "*.TXT" << true << "*.txt" << QStringList();
    QTest::newRow("blanks and controls trimmed") << " \t*.txt \r\n"
                                                 << true << "*.txt" << QStringList();
    QTest::newRow("blank after the semicolon")
        << "*.txt; *.rtf" << true << "*.txt" << QStringList{" *.rtf" + NotAFilter};
    QTest::newRow("dot in the extension")
        << "*.tar.gz" << false << "*.tar.gz" << QStringList{Forbidden};
    QTest::newRow("no star") << "txt" << false << "txt" << QStringList{"txt" + NotAFilter};
    QTest::newRow("star dot alone") << "*." << false << "*." << QStringList();
    QTest::newRow("nothing") << "" << false << "" << QStringList();
    QTest::newRow("two bytes of one character")
        << QStringLiteral("\u3042") << false << QStringLiteral("\u3042") << QStringList();
    QTest::newRow("empty middle piece")
        << "*.txt;;*.rtf" << true << "*.txt;*.rtf" << QStringList{NotAFilter};
    QTest::newRow("only semicolons") << ";;;;" << false << ";;;;" << QStringList(5, NotAFilter);
    QTest::newRow("only forbidden characters")
        << "\\/:.;*?\"<>|" << false << "\\/:.;*?\"<>|"
        << QStringList{"\\/:." + NotAFilter, "*?\"<>|" + NotAFilter};
    QTest::newRow("double-byte extension") << QStringLiteral("*.\u30c6\u30ad") << true
                                           << QStringLiteral("*.\u30c6\u30ad") << QStringList();
    // "ソ" is 0x83 0x5C in CP932: its second byte is no backslash.
    QTest::newRow("trail byte like a backslash")
        << QStringLiteral("*.\u30bd") << true << QStringLiteral("*.\u30bd") << QStringList();
    QTest::newRow("half-width katakana is one byte")
        << QStringLiteral("*.\uff71") << true << QStringLiteral("*.\uff71") << QStringList();
    QTest::newRow("full-width capitals kept")
        << QStringLiteral("*.\uff34") << true << QStringLiteral("*.\uff34") << QStringList();
    QTest::newRow("full-width blank is no padding")
        << QStringLiteral("\u3000*.txt") << false << QStringLiteral("\u3000*.txt")
        << QStringList{QStringLiteral("\u3000*.txt") + NotAFilter};
    QTest::newRow("good and bad pieces")
        << "*.md;doc;*.a?" << true << "*.md" << QStringList{"doc" + NotAFilter, Forbidden};
    QTest::newRow("ten thousand characters")
        << "*." + longExt << true << "*." + longExt << QStringList();
}

void TestSettingLists::checkFilterText()
{
    QFETCH(QString, typed);
    QFETCH(bool, ok);
    QFETCH(QString, text);
    QFETCH(QStringList, messages);
    QStringList shown;
    const TSettingMessage message = [&](const QString& t, const QString& caption, int flags) {
        shown << t;
        return caption == QLatin1String("  確認") && flags == 0 ? 1 : -1;
    };
    QCOMPARE(CheckFilterText(typed, message), ok);
    QCOMPARE(typed, text);
    QCOMPARE(shown, messages);
}

void TestSettingLists::loadFilters_data()
{
    QTest::addColumn<QString>("allFilter");
    QTest::addColumn<QString>("nowFilter");
    QTest::addColumn<QStringList>("items");
    QTest::newRow("defaults") << "*.txt/*.rtf/*.m3u"
                              << "*.txt" << QStringList{"[x] *.txt", "[ ] *.rtf", "[ ] *.m3u"};
    QTest::newRow("group item checked by both pieces")
        << "*.txt;*.rtf/*.doc"
        << "*.txt;*.rtf" << QStringList{"[x] *.txt;*.rtf", "[ ] *.doc"};
    QTest::newRow("first item holding the piece wins")
        << "*.txt;*.rtf/*.txt"
        << "*.txt" << QStringList{"[x] *.txt;*.rtf", "[ ] *.txt"};
    QTest::newRow("capitals lowered") << "*.TXT/*.Rtf"
                                      << "*.RTF" << QStringList{"[ ] *.txt", "[x] *.rtf"};
    QTest::newRow("nothing active") << "*.txt/*.rtf"
                                    << "" << QStringList{"[ ] *.txt", "[ ] *.rtf"};
    QTest::newRow("piece no item holds") << "*.txt"
                                         << "*.doc;;" << QStringList{"[ ] *.txt"};
    QTest::newRow("no items") << ""
                              << "*.txt" << QStringList{"[x] *.txt"};
    QTest::newRow("empty items skipped") << "/*.txt//*.rtf/"
                                         << "*.rtf" << QStringList{"[ ] *.txt", "[x] *.rtf"};
    QTest::newRow("damaged text kept as it reads")
        << QStringLiteral("*.t\ufffdt/*.md") << QStringLiteral("*.t\ufffdt")
        << QStringList{QStringLiteral("[x] *.t\ufffdt"), "[ ] *.md"};
}

void TestSettingLists::loadFilters()
{
    QFETCH(QString, allFilter);
    QFETCH(QString, nowFilter);
    QFETCH(QStringList, items);
    for (const bool any : {false, true}) {
        TSettingLists lists(nullptr);
        lists.LoadFilters(any, allFilter, nowFilter);
        QCOMPARE(lists.Copies.AnyFilter, any);
        QCOMPARE(itemTexts(lists.Copies.Filters), items);
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

void TestSettingLists::filterEdits_data()
{
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<int>("highlighted");
    QTest::addColumn<QString>("op");
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<int>("highlightedAfter");
    QTest::addColumn<QStringList>("log");
    const QString addBox = "input|  フィルタ追加|" + Prompt + "|*.";
    const QString changeBox = "input|  フィルタ変更|" + Prompt + "|";
    const QString question =
        QStringLiteral("message|  フィルタ削除|選択されているフィルタを削除します。");
    const QStringList two = {"[x] *.txt", "[ ] *.rtf"};

    QTest::newRow("add") << two << -1 << "add" << QStringList{" *.LOG "}
                         << QStringList{"[x] *.txt", "[ ] *.rtf", "[ ] *.log"} << -1
                         << QStringList{addBox};
    QTest::newRow("add a group") << two << 0 << "add" << QStringList{"*.md;*.txt"}
                                 << QStringList{"[x] *.txt", "[ ] *.rtf", "[ ] *.md;*.txt"} << 0
                                 << QStringList{addBox};
    QTest::newRow("add a duplicate")
        << two << -1 << "add" << QStringList{"*.RTF"} << two << -1
        << QStringList{addBox, confirm("*.rtfは既に登録されています。")};
    QTest::newRow("add cancelled")
        << two << -1 << "add" << QStringList{"<cancel>"} << two << -1 << QStringList{addBox};
    QTest::newRow("add with a bad piece") << two << -1 << "add" << QStringList{"*.md; *.doc"}
                                          << QStringList{"[x] *.txt", "[ ] *.rtf", "[ ] *.md"} << -1
                                          << QStringList{addBox, confirm(" *.doc" + NotAFilter)};
    QTest::newRow("change keeps the check mark")
        << two << 0 << "change" << QStringList{"*.md"} << QStringList{"[x] *.md", "[ ] *.rtf"} << 0
        << QStringList{changeBox + "*.txt"};
    QTest::newRow("change to itself") << two << 1 << "change" << QStringList{"*.rtf"} << two << 1
                                      << QStringList{changeBox + "*.rtf"};
    QTest::newRow("change to another item")
        << two << 1 << "change" << QStringList{"*.txt"} << two << 1
        << QStringList{changeBox + "*.rtf", confirm("*.txtは既に登録されています。")};
    QTest::newRow("change cancelled") << two << 1 << "change" << QStringList{"<cancel>"} << two << 1
                                      << QStringList{changeBox + "*.rtf"};
    QTest::newRow("change with nothing highlighted")
        << two << -1 << "change" << QStringList() << two << -1 << QStringList();
    QTest::newRow("delete the last item")
        << QStringList{"[x] *.txt"} << 0 << "delete" << QStringList() << QStringList{"[x] *.txt"}
        << 0 << QStringList{confirm("ひとつ以上残してください。")};
    QTest::newRow("delete, yes") << two << 0 << "delete" << QStringList{"#6"}
                                 << QStringList{"[ ] *.rtf"} << -1 << QStringList{question};
    QTest::newRow("delete, no") << two << 1 << "delete" << QStringList{"#7"} << two << 1
                                << QStringList{question};
    QTest::newRow("delete with nothing highlighted")
        << two << -1 << "delete" << QStringList() << two << -1 << QStringList();
    QTest::newRow("last check mark removed")
        << QStringList{"[ ] *.txt", "[ ] *.rtf"} << 1 << "click" << QStringList()
        << QStringList{"[ ] *.txt", "[x] *.rtf"} << 1
        << QStringList{confirm("ひとつ以上選択してください。")};
    QTest::newRow("last check mark removed, nothing highlighted")
        << QStringList{"[ ] *.txt", "[ ] *.rtf"} << -1 << "click" << QStringList()
        << QStringList{"[x] *.txt", "[ ] *.rtf"} << -1
        << QStringList{confirm("ひとつ以上選択してください。")};
    QTest::newRow("click with a check mark")
        << two << 1 << "click" << QStringList() << two << 1 << QStringList();
    QTest::newRow("click in an empty list") << QStringList() << -1 << "click" << QStringList()
                                            << QStringList{"[x] *.txt"} << -1 << QStringList();
    QTest::newRow("up takes the check mark")
        << QStringList{"[ ] *.rtf", "[x] *.txt", "[ ] *.md"} << 1 << "up" << QStringList()
        << QStringList{"[x] *.txt", "[ ] *.rtf", "[ ] *.md"} << 0 << QStringList();
    QTest::newRow("up from the top")
        << two << 0 << "up" << QStringList() << two << 0 << QStringList();
    QTest::newRow("down takes the check mark")
        << two << 0 << "down" << QStringList() << QStringList{"[ ] *.rtf", "[x] *.txt"} << 1
        << QStringList();
    QTest::newRow("down from the bottom")
        << two << 1 << "down" << QStringList() << two << 1 << QStringList();
    QTest::newRow("down with nothing highlighted")
        << two << -1 << "down" << QStringList() << two << -1 << QStringList();
}

void TestSettingLists::filterEdits()
{
    QFETCH(QStringList, items);
    QFETCH(int, highlighted);
    QFETCH(QString, op);
    QFETCH(QStringList, answers);
    QFETCH(QStringList, after);
    QFETCH(int, highlightedAfter);
    QFETCH(QStringList, log);
    TScopedDialogs dialogs;
    script(*dialogs, answers);
    TSettingLists lists(scriptedMessage);
    lists.Copies.Filters = itemsFrom(items);
    lists.Copies.FilterIndex = highlighted;
    run(lists, op);
    QCOMPARE(itemTexts(lists.Copies.Filters), after);
    QCOMPARE(lists.Copies.FilterIndex, highlightedAfter);
    QCOMPARE(dialogs->LogLines(), log);
    QCOMPARE(dialogs->PendingAnswers(), 0);
}

void TestSettingLists::folderEdits_data()
{
    QTest::addColumn<QStringList>("paths");
    QTest::addColumn<int>("highlighted");
    QTest::addColumn<QString>("op");
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<int>("highlightedAfter");
    QTest::addColumn<QString>("hint");
    QTest::addColumn<QStringList>("log");
    const QString chooser = "folder| フォルダの選択|" + QDir::currentPath();
    const QStringList three = {"/srv/a", "/srv/b", "/home/a"};

    QTest::newRow("add") << three << -1 << "addFolder" << QStringList{"dir:/srv/texts/"}
                         << QStringList{"a", "b", "a", "texts"} << -1 << "" << QStringList{chooser};
    QTest::newRow("add the root") << QStringList() << -1 << "addFolder" << QStringList{"dir:/"}
                                  << QStringList{"/"} << -1 << "" << QStringList{chooser};
    QTest::newRow("add one already there")
        << three << -1 << "addFolder" << QStringList{"dir:/srv/b/"} << QStringList{"a", "b", "a"}
        << -1 << "" << QStringList{chooser, confirm("既に登録されています。")};
    QTest::newRow("chooser cancelled")
        << three << 1 << "addFolder" << QStringList{"dir:<cancel>"} << QStringList{"a", "b", "a"}
        << 1 << "" << QStringList{chooser};
    QTest::newRow("delete highlights the one above")
        << three << 2 << "deleteFolder" << QStringList() << QStringList{"a", "b"} << 1 << "/srv/b"
        << QStringList();
    QTest::newRow("delete the first") << three << 0 << "deleteFolder" << QStringList()
                                      << QStringList{"b", "a"} << 0 << "/srv/b" << QStringList();
    QTest::newRow("delete with nothing highlighted")
        << three << -1 << "deleteFolder" << QStringList() << QStringList{"a", "b", "a"} << 0
        << "/srv/a" << QStringList();
    QTest::newRow("delete the only one")
        << QStringList{"/srv/a"} << 0 << "deleteFolder" << QStringList() << QStringList() << -1
        << "" << QStringList();
    QTest::newRow("up") << three << 2 << "folderUp" << QStringList() << QStringList{"a", "a", "b"}
                        << 1 << "" << QStringList();
    QTest::newRow("down") << three << 0 << "folderDown" << QStringList()
                          << QStringList{"b", "a", "a"} << 1 << "" << QStringList();
    QTest::newRow("down from the bottom") << three << 2 << "folderDown" << QStringList()
                                          << QStringList{"a", "b", "a"} << 2 << "" << QStringList();
    QTest::newRow("hint tells two of a name apart")
        << three << 2 << "folderClick" << QStringList() << QStringList{"a", "b", "a"} << 2
        << "/home/a" << QStringList();
    QTest::newRow("no hint without a highlight")
        << three << -1 << "folderClick" << QStringList() << QStringList{"a", "b", "a"} << -1 << ""
        << QStringList();
}

void TestSettingLists::folderEdits()
{
    QFETCH(QStringList, paths);
    QFETCH(int, highlighted);
    QFETCH(QString, op);
    QFETCH(QStringList, answers);
    QFETCH(QStringList, names);
    QFETCH(int, highlightedAfter);
    QFETCH(QString, hint);
    QFETCH(QStringList, log);
    TScopedDialogs dialogs;
    script(*dialogs, answers);
    TSettingLists lists(scriptedMessage);
    lists.LoadFolders(paths);
    lists.Copies.FolderIndex = highlighted;
    run(lists, op);
    QCOMPARE(lists.Copies.FolderNames, names);
    QCOMPARE(lists.Copies.FolderPaths.size(), names.size());
    for (int i = 0; i < names.size(); ++i)
        QVERIFY(lists.Copies.FolderPaths.at(i).endsWith(u'/' + names.at(i)) || names.at(i) == "/");
    QCOMPARE(lists.Copies.FolderIndex, highlightedAfter);
    QCOMPARE(lists.Copies.FolderHint, hint);
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
    QCOMPARE(port.Calls, (QStringList{"show [ ] *.txt,[x] *.rtf a", "SetAnyFilter 1",
                                      "Set_SaveFilter *.txt/*.rtf", "ApplyFileFilter",
                                      "BuildSelectedFolderMenu /srv/a;/srv/b"}));
    // The save dialog's replacement stands; NowFilter is joined before the file list asks.
    QCOMPARE(files.AllFilter, QStringLiteral("*.txt"));
    QCOMPARE(files.NowFilter, QStringLiteral("*.txt;*.rtf"));
}

void TestSettingLists::cancelAppliesNothing()
{
    TScopedDialogs dialogs;
    TFileState files;
    files.AllFilter = QStringLiteral("*.TXT//*.rtf");
    files.NowFilter = QStringLiteral(" *.txt ");
    files.SelectedFolders = {QStringLiteral("/srv/a/"), QStringLiteral("/srv/a/")};
    const TFileState before = files;
    TLoggingPort port;
    port.Any = true;
    port.Ok = false;
    port.UserEdits = [](TSettingLists& lists) {
        lists.Copies.AnyFilter = false;
        lists.Copies.Filters.clear();
        lists.Copies.FolderPaths.clear();
    };
    TBaseSettings(files, port).SetBaseExecute();
    QCOMPARE(port.Calls.size(), 1);
    QVERIFY(port.Any);
    QCOMPARE(files.AllFilter, before.AllFilter);
    QCOMPARE(files.NowFilter, before.NowFilter);
    QCOMPARE(files.SelectedFolders, before.SelectedFolders);
}

QTEST_GUILESS_MAIN(TestSettingLists)
#include "tst_settinglists.moc"
