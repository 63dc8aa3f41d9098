#include "app/CommandTable.h"
#include "platform/QtDialogService.h"
#include "tests/support/Permissions.h"
#include "tests/support/WindowHarness.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <sys/stat.h>

namespace {

// Where the keyboard focus is when a key is pressed.
enum class TFocus
{
    TextView,
    Reader, // the reader takes no focus: a click on it leaves nothing focused
    FileList,
    ContentsList
};

QWidget* focusTarget(TQuorvelaneForm& form, TFocus focus)
{
    switch (focus) {
    case TFocus::TextView:
        return form.MainRichEdit;
    case TFocus::Reader:
        return nullptr;
    case TFocus::FileList:
        return form.FileNameListBox;
    case TFocus::ContentsList:
        return form.ContentsListBox;
    }
    return nullptr;
}

// What a command does that can be seen from outside: an optional step that sets the scene
// (run before the key), and the check that the command ran.
struct TEffect
{
    std::function<void(TQuorvelaneForm&)> Prepare;
    std::function<bool(TQuorvelaneForm&)> Ran;
};

TScriptedDialogs& scripted()
{
    return static_cast<TScriptedDialogs&>(Dialogs());
}

QString caption(int line)
{
    return QStringLiteral("  %1 / 200").arg(line);
}

const QHash<QString, TEffect>& effects()
{
    using F = TQuorvelaneForm;
    static const QHash<QString, TEffect> table = {
        {"FileBack",
         {[](F& f) { f.FileNextExecute(); }, [](F& f) { return f.Line(0) == u"a 01"; }}},
        {"FileNext", {{}, [](F& f) { return f.Line(0) == u"b 01"; }}},
        {"AppExit", {{}, [](F& f) { return !f.isVisible(); }}},
        {"FileSave",
         {[](F&) { scripted().AnswerSave(std::nullopt); },
          [](F&) { return scripted().LogLines().join(u'\n').contains(QStringLiteral("save|")); }}},
        // The search is under way (its button covers the folder list) or has already ended
        // with its count.
        {"FileSearchAll",
         {{},
          [](F& f) {
              const QStringList log = scripted().LogLines();
              return !f.SearchingButton->isHidden() ||
                     log.contains(QStringLiteral("message|  確認|2個のファイルを抽出しました。"));
          }}},
        {"SlideRead",
         {{},
          [](F& f) {
              return f.Action(QStringLiteral("SlideRead"))->isChecked() && f.ReadTimer->isActive();
          }}},
        {"CanChangeSlideRead",
         {{}, [](F& f) { return f.Action(QStringLiteral("CanChangeSlideRead"))->isChecked(); }}},
        {"SlideRepeat",
         {{}, [](F& f) { return f.Action(QStringLiteral("SlideRepeat"))->isChecked(); }}},
        {"ListSlideRead",
         {{}, [](F& f) { return f.Action(QStringLiteral("ListSlideRead"))->isChecked(); }}},
        {"FullScreenReader", {{}, [](F& f) { return f.isFullScreen(); }}},
        {"PageBack",
         {[](F& f) { f.PageNextExecute(); }, [](F& f) { return f.windowTitle() == caption(1); }}},
        {"PageNext", {{}, [](F& f) { return f.windowTitle() == caption(f.LabelCount() + 1); }}},
    };
    return table;
}

// Keys the text view keeps for itself while it has the focus: editing comes first there.
bool textViewKey(const QKeySequence& keys)
{
    for (auto standard : {QKeySequence::Cut, QKeySequence::Copy, QKeySequence::Paste,
                          QKeySequence::SelectAll, QKeySequence::Undo, QKeySequence::Redo})
        if (QKeySequence::keyBindings(standard).contains(keys))
            return true;
    return false;
}

using TObserve = int (*)(TQuorvelaneForm&);

// Contents entries, line number last, for lines 9 and 15.
const QStringList ContentsEntries = {QStringLiteral("第一章= 009"), QStringLiteral("第二章= 015")};

} // namespace

Q_DECLARE_METATYPE(TFocus)
Q_DECLARE_METATYPE(TObserve)

// Keys and clicks on the real window as a user gives them: every command's shortcut from each
// place the focus can be, picks with the keyboard in the lists, the font dialog's colour, the
// settings file in a shared folder, and the text view after a load.
class TestKeys : public QObject
{
    Q_OBJECT

private slots:
    void shortcuts_data();
    void shortcuts();
    void keyboardPicks_data();
    void keyboardPicks();
    void fontDialogColour();
    void settingsInReadOnlyFolder();
    void textViewStartsAtTopAfterLoad();

private:
    // a.txt and b.txt, 200 numbered lines each unless b.txt is given; a.txt is loaded.
    TQuorvelaneForm& startOnTwoTexts(TWindowHarness& h, const QByteArray& baseData = {},
                                     const QByteArray& second = NumberedLines(200, "b "));
};

TQuorvelaneForm& TestKeys::startOnTwoTexts(TWindowHarness& h, const QByteArray& baseData,
                                           const QByteArray& second)
{
    h.Write(QStringLiteral("a.txt"), NumberedLines(200, "a "));
    h.Write(QStringLiteral("b.txt"), second);
    return h.Start(false, baseData);
}

void TestKeys::shortcuts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<TFocus>("focus");
    const std::pair<const char*, TFocus> places[] = {{"text view", TFocus::TextView},
                                                     {"reader", TFocus::Reader},
                                                     {"file list", TFocus::FileList},
                                                     {"contents list", TFocus::ContentsList}};
    for (const TCommand& command : Commands()) {
        // A command that is not wired yet has its action disabled; it gets a row once it is.
        if (command.Shortcut.isEmpty() || !command.Handler)
            continue;
        for (const auto& [place, focus] : places)
            QTest::addRow("%s, %s", command.Name, place)
                << QString::fromLatin1(command.Name) << focus;
    }
}

void TestKeys::shortcuts()
{
    QFETCH(QString, name);
    QFETCH(TFocus, focus);
    QVERIFY2(effects().contains(name), "a command with a shortcut needs an effect in this test");
    const TEffect& effect = effects().value(name);
    TWindowHarness h;
    TQuorvelaneForm& form = startOnTwoTexts(h);
    QCOMPARE(form.windowTitle(), caption(1));
    if (effect.Prepare)
        effect.Prepare(form);
    QVERIFY(!effect.Ran(form));

    const QKeySequence keys = form.Action(name)->shortcut();
    QVERIFY(h.PressKeys(focusTarget(form, focus), keys));
    if (focus == TFocus::TextView && textViewKey(keys))
        QVERIFY2(!effect.Ran(form), "the text view keeps its own keys");
    else
        QVERIFY(effect.Ran(form));
    QVERIFY(h.Script().Unexpected().isEmpty());
}

void TestKeys::keyboardPicks_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<int>("key");
    QTest::addColumn<TObserve>("observe");
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("after");
    using F = TQuorvelaneForm;
    QTest::newRow("contents entry")
        << "ContentsListBox" << int(Qt::Key_Down)
        << TObserve([](F& f) { return f.SlideState().ReadingLine; }) << 8 << 14;
    QTest::newRow("font size") << "FontSizeComboBox" << int(Qt::Key_Down)
                               << TObserve([](F& f) { return f.TextFont().Size; }) << 10 << 11;
    QTest::newRow("line spacing") << "LabelSpaceComboBox" << int(Qt::Key_Down)
                                  << TObserve([](F& f) { return f.LabelSpacing(); }) << 2 << 4;
    QTest::newRow("slide interval")
        << "ReadTimerComboBox" << int(Qt::Key_Up)
        << TObserve([](F& f) { return f.ReadTimer->interval(); }) << 1000 << 750;
    QTest::newRow("lines per slide")
        << "LabelStepComboBox" << int(Qt::Key_Down)
        << TObserve([](F& f) { return f.SlideState().SlideStep; }) << 1 << 2;
}

void TestKeys::keyboardPicks()
{
    QFETCH(QString, list);
    QFETCH(int, key);
    QFETCH(TObserve, observe);
    QFETCH(int, before);
    QFETCH(int, after);
    TWindowHarness h;
    TQuorvelaneForm& form = startOnTwoTexts(h);
    auto* widget = form.findChild<QWidget*>(list);
    QVERIFY(widget);
    if (widget == form.ContentsListBox) {
        // A click on the first entry, as a user picks it.
        form.ContentsListBox->SetEntries(ContentsEntries);
        const QRect first =
            form.ContentsListBox->visualRect(form.ContentsListBox->model()->index(0, 0));
        QTest::mouseClick(form.ContentsListBox->viewport(), Qt::LeftButton, {}, first.center());
        QCOMPARE(form.windowTitle(), caption(9));
    }
    QCOMPARE(observe(form), before);
    widget->setFocus();
    QTest::keyClick(widget, Qt::Key(key));
    QCOMPARE(observe(form), after);
}

void TestKeys::fontDialogColour()
{
    TWindowHarness h;
    TQuorvelaneForm& form = startOnTwoTexts(h, "FormAllChange=1\r\n");
    // The real dialogs, answered by a user who picks red in the font dialog; the scripted ones
    // come back before the window closes.
    struct TRealDialogs
    {
        std::unique_ptr<TDialogService> Scripted =
            InstallDialogService(std::make_unique<TQtDialogService>());
        ~TRealDialogs() { InstallDialogService(std::move(Scripted)); }
    } real;
    QString seen;
    QTimer user;
    QObject::connect(&user, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        user.stop();
        seen = dialog->objectName();
        if (auto* colours = dialog->findChild<QComboBox*>(QStringLiteral("FontColorComboBox")))
            colours->setCurrentIndex(colours->findData(0x0000FF));
        dialog->accept();
    });
    user.start(10);
    // Settings menu (Alt+S), then its font item (F).
    QVERIFY(h.PressKeys(form.FileNameListBox, QKeySequence(Qt::ALT | Qt::Key_S)));
    QMenu* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(menu);
    QTest::keyClick(menu, Qt::Key_F);
    QCOMPARE(seen, QStringLiteral("FontDialog"));

    const QColor red(255, 0, 0);
    QCOMPARE(form.TextFont().Color, 0x0000FF);
    // The face and size were left as they were.
    QCOMPARE(form.TextFont().Name, QStringLiteral("ＭＳ Ｐゴシック"));
    QCOMPARE(form.TextFont().Size, 10);
    for (QLabel* label : h.Labels())
        QCOMPARE(label->palette().color(QPalette::WindowText), red);
    QCOMPARE(form.FileNameListBox->palette().color(QPalette::Text), red);
    QCOMPARE(form.FontSizeLabel->palette().color(QPalette::WindowText), red);
    QVERIFY(h.PressKeys(form.FileNameListBox, QKeySequence(Qt::CTRL | Qt::Key_X)));
    QFile ini(h.Dir.filePath(QStringLiteral("Quorvelane.ini")));
    QVERIFY(ini.open(QIODevice::ReadOnly));
    QVERIFY(ini.readAll().contains("\r\nFontColor=255\r\n"));
}

void TestKeys::settingsInReadOnlyFolder()
{
    // A shared folder of texts the user cannot add to, with a settings file of the user's own.
    TWindowHarness h;
    TQuorvelaneForm& form = startOnTwoTexts(h);
    const QByteArray folder = QFile::encodeName(h.Dir.path());
    QCOMPARE(::chmod(folder.constData(), 0555), 0);
    {
        const TNoPermissionOverride noOverride;
        if (!noOverride.Works()) {
            ::chmod(folder.constData(), 0755);
            QSKIP("permissions cannot be made to apply to this process");
        }
        QVERIFY(h.PressKeys(nullptr, QKeySequence(Qt::CTRL | Qt::Key_X)));
    }
    ::chmod(folder.constData(), 0755);
    QVERIFY(!form.isVisible());
    QCOMPARE(h.Script().LogLines(), QStringList());
    QFile ini(h.Dir.filePath(QStringLiteral("Quorvelane.ini")));
    QVERIFY(ini.open(QIODevice::ReadOnly));
    const QByteArray written = ini.readAll();
    QVERIFY(written.startsWith("[FileFolder]\r\nFolder="));
    QVERIFY(written.contains("\r\n[Form]\r\nMaximized=0\r\n"));
    QCOMPARE(QDir(h.Dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             (QStringList{"Quorvelane.ini", "texts"}));
}

void TestKeys::textViewStartsAtTopAfterLoad()
{
    // Real prose, whose first paragraph wraps over several lines.
    QFile prose(QStringLiteral(QV_TESTDATA_DIR "/sample-prose.sjis.txt"));
    QVERIFY(prose.open(QIODevice::ReadOnly));
    TWindowHarness h;
    TQuorvelaneForm& form = startOnTwoTexts(h, {}, prose.readAll());
    QVERIFY(form.TextPanel->height() <= 5);
    // The prose picked with the mouse while the text view is folded away.
    const QRect second =
        form.FileNameListBox->visualRect(form.FileNameListBox->model()->index(1, 0));
    QTest::mouseClick(form.FileNameListBox->viewport(), Qt::LeftButton, {}, second.center());
    QVERIFY(form.Line(0).startsWith(QStringLiteral("　拡張機能")));

    // The splitter dragged down opens the text view.
    const QPoint grip = form.TextSplitter->rect().center();
    QTest::mousePress(form.TextSplitter, Qt::LeftButton, {}, grip);
    QTest::mouseMove(form.TextSplitter, grip + QPoint(0, 150));
    QTest::mouseRelease(form.TextSplitter, Qt::LeftButton, {}, grip + QPoint(0, 150));
    h.Settle();
    QVERIFY(form.MainRichEdit->height() > 100);
    QCOMPARE(form.MainRichEdit->Cursor().Position(), TTextPos{});
    QCOMPARE(form.MainRichEdit->FirstVisibleLine(), 0);
    QVERIFY(form.windowTitle().startsWith(QStringLiteral("  1 / ")));
}

QTEST_MAIN(TestKeys)
#include "tst_keys.moc"
