#pragma once

#include "app/QuorvelaneMain.h"
#include "dialogs/FileDialogs.h"
#include "files/StringListBox.h"
#include "platform/AppUtils.h"
#include "reader/MainRichEdit.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestFiles.h"

#include <QAction>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTest>
#include <QTextLayout>
#include <QTimer>

// The one window harness of the GUI tests: the real main window started offscreen on a folder
// of text files in a temporary folder, with scripted dialogs, its relayout and start-up
// tick driven by calling their handlers.
class TWindowHarness
{
public:
    TWindowHarness()
    {
        PreviousFolder = QDir::currentPath();
        Texts = Dir.filePath(QStringLiteral("texts"));
        QDir().mkpath(Texts);
        Dialogs = std::make_unique<TScopedDialogs>();
        // The file dialog holder exists beside the window, as at start-up.
        FileDialogs = CreateFileDialogsForm(AppMessageBox);
    }
    ~TWindowHarness()
    {
        // A test that leaves edits behind is not asked about them at the end.
        if (Form) {
            Form->MainRichEdit->SetModified(false);
            Form->close();
        }
        Form.reset();
        Dialogs.reset();
        QDir::setCurrent(PreviousFolder);
    }
    TWindowHarness(const TWindowHarness&) = delete;
    TWindowHarness& operator=(const TWindowHarness&) = delete;

    QString Path(const QString& name) const { return Texts + u'/' + name; }

    bool Write(const QString& name, const QByteArray& bytes) const
    {
        return WriteFile(Path(name), bytes);
    }

    // The settings file of a window started in the harness's folder.
    QString SettingsPath() const { return Dir.filePath(QStringLiteral("Quorvelane.ini")); }
    bool WriteSettings(const QByteArray& bytes) const { return WriteFile(SettingsPath(), bytes); }
    QByteArray SettingsBytes() const { return ReadFile(SettingsPath()); }

    // Starts the window on the text folder; the settings lines go into [BaseData] and
    // [FileFolder].
    TQuorvelaneForm& Start(bool anyFilter = false, const QByteArray& baseData = {},
                           const QByteArray& fileFolder = {})
    {
        WriteSettings("[FileFolder]\r\nFolder=" + Texts.toUtf8() + "\r\nAnyFilter=" +
                      (anyFilter ? "1" : "0") + "\r\n" + fileFolder + "[BaseData]\r\n" + baseData);
        return StartHere();
    }

    // Closes the window, which writes the settings file (closing twice does no harm), and
    // starts it again from that file.
    TQuorvelaneForm& Restart()
    {
        Form->close();
        Form.reset();
        return StartHere();
    }

    // Starts the window in a folder (the harness's own when none is named) with whatever
    // settings file is there, and waits until it is shown. The window opens its folder, which
    // becomes the process's current folder, so each start names its own. A settings folder,
    // when named, holds the settings file instead (a start from the desktop menu).
    TQuorvelaneForm& Open(const QString& folder = {}, const QString& settingsFolder = {})
    {
        Create(folder, settingsFolder);
        Form->show();
        if (!QTest::qWaitForWindowExposed(Form.get()))
            qWarning("window not exposed");
        return *Form;
    }

    // Makes the window in a folder without showing it.
    TQuorvelaneForm& Create(const QString& folder = {}, const QString& settingsFolder = {})
    {
        if (!QDir::setCurrent(folder.isEmpty() ? Dir.path() : folder))
            qWarning("cannot enter %s", qPrintable(folder));
        Form = std::make_unique<TQuorvelaneForm>(nullptr, settingsFolder);
        return *Form;
    }

    // Open, the start-up tick and the first relayout, as the first half second after a start.
    TQuorvelaneForm& OpenSettled(const QString& folder = {}, const QString& settingsFolder = {})
    {
        Open(folder, settingsFolder);
        StartUpTick();
        Settle();
        return *Form;
    }

    // The one-off start-up tick of the read timer: fills the file lists and loads the saved file.
    void StartUpTick()
    {
        QVERIFY(Form->SlideState().TimerTag != 0);
        Form->ReadTimerTimer();
        QCOMPARE(Form->SlideState().TimerTag, 0);
    }

    // Ends a pending relayout the way the resize timer does once the size holds; returns the
    // ticks it took.
    int Settle()
    {
        int ticks = 0;
        while (Form->ResizeTimer->isActive() && ticks < 10) {
            Form->ResizeTimerTimer();
            ++ticks;
        }
        return ticks;
    }

    // Closes the window through its exit command, which writes the settings, and drops it.
    void Exit()
    {
        QAction* exitAction = Form->Action(QStringLiteral("AppExit"));
        QVERIFY(exitAction && exitAction->isEnabled());
        exitAction->trigger();
        QVERIFY(!Form->isVisible());
        Form.reset();
    }

    static QStringList ListTexts(const TStringListBox* list) { return list->texts(); }

    // Gives the reader panel room for exactly k labels (k >= 1), plus extra pixels.
    void FitLabels(int k, int extra = 0)
    {
        const int h = LineHeight();
        const int panel = 12 + k * (h + Form->LabelSpacing()) + extra;
        const QList<int> sizes = Form->CenterSplitter->sizes();
        const int total = sizes.value(0) + sizes.value(1);
        Form->CenterSplitter->setSizes({total - panel, panel});
        Form->RebuildReader();
    }

    // Presses keys where the focus is, after giving the focus to a widget, or to none.
    bool PressKeys(QWidget* focus, const QKeySequence& keys)
    {
        QApplication::setActiveWindow(Form.get());
        if (!QTest::qWaitForWindowActive(Form.get()))
            return false;
        if (focus) {
            focus->setFocus();
            if (!focus->hasFocus())
                return false;
        } else if (QWidget* focused = QApplication::focusWidget()) {
            focused->clearFocus();
        }
        QWidget* receiver = QApplication::focusWidget();
        QTest::keySequence(receiver ? receiver : Form.get(), keys);
        return true;
    }

    int LineHeight() const { return QFontMetrics(Form->MainRichEdit->font()).height(); }

    QStringList LabelTexts() const
    {
        QStringList texts;
        for (QLabel* label : Labels())
            texts << label->text();
        return texts;
    }

    // The reader labels in their order, found by name among the panel's children.
    QList<QLabel*> Labels() const
    {
        QList<QLabel*> labels;
        for (int i = 0;; ++i) {
            auto* label = Form->ReaderPanel->findChild<QLabel*>(
                QStringLiteral("ReaderLabel%1").arg(i), Qt::FindDirectChildrenOnly);
            if (!label)
                return labels;
            labels << label;
        }
    }

    // The lines Qt's own text layout makes of the text view's paragraphs at the view's width
    // and in its font: what the line model must agree with.
    QStringList WidgetLines() const
    {
        QStringList lines;
        const TMainRichEdit& edit = *Form->MainRichEdit;
        if (edit.IsEmpty())
            return lines;
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        option.setTabStopDistance(edit.TabStopDistance());
        for (const QString& paragraph : edit.toPlainText().split(u'\n')) {
            QTextLayout layout(paragraph, edit.font());
            layout.setTextOption(option);
            layout.beginLayout();
            for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
                line.setLineWidth(edit.WrapWidth());
                lines << paragraph.mid(line.textStart(), line.textLength());
            }
            layout.endLayout();
        }
        return lines;
    }

    // Lets the event loop run until the file being read is shown; false when that takes
    // longer than the timeout.
    bool WaitForText(int timeoutMs = 60000) const
    {
        QDeadlineTimer deadline(timeoutMs);
        while (Form->TextLoader().Loading()) {
            if (deadline.hasExpired())
                return false;
            QTest::qWait(1);
        }
        return true;
    }

    // Clicks the file in row of the list, as the user does.
    void ClickFile(int row)
    {
        Form->FileNameListBox->setCurrentRow(row);
        Form->FileNameListBoxClick();
    }

    void Ticks(int count)
    {
        for (int i = 0; i < count; ++i)
            Form->ReadTimerTimer();
    }

    TScriptedDialogs& Script() { return **Dialogs; }

    QTemporaryDir Dir;
    QString Texts;
    std::unique_ptr<TQuorvelaneForm> Form;

private:
    TQuorvelaneForm& StartHere()
    {
        Open();
        Settle();
        Form->ReadTimerTimer(); // the start-up tick fills the lists and loads the first file
        return *Form;
    }

    std::unique_ptr<TScopedDialogs> Dialogs;
    std::unique_ptr<TFileDialogsForm> FileDialogs;
    QString PreviousFolder;
};

// Lines "line 01" to "line nn", CR LF after each.
inline QByteArray NumberedLines(int n, const QByteArray& prefix = "line ")
{
    QByteArray bytes;
    for (int i = 1; i <= n; ++i)
        bytes += prefix + QByteArray::number(i).rightJustified(2, '0') + "\r\n";
    return bytes;
}

// Counts the reader labels made while it lives: each rebuild makes LabelCount - 1 of them.
class TLabelBirths : public QObject
{
public:
    explicit TLabelBirths(QObject* panel) : Panel(panel) { panel->installEventFilter(this); }
    ~TLabelBirths() override { Panel->removeEventFilter(this); }
    int Count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        // A child under construction is no QLabel yet; the panel's only other child, the scroll
        // bar, is made once with the window.
        if (event->type() == QEvent::ChildAdded)
            ++Count;
        return false;
    }

private:
    QObject* Panel;
};
