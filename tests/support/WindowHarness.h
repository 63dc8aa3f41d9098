#pragma once

#include "app/QuorvelaneMain.h"
#include "dialogs/AppUtils.h"
#include "dialogs/FileDialogs.h"
#include "platform/MainRichEdit.h"
#include "tests/support/ScriptedDialogs.h"

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QApplication>
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
#include <QTextBlock>
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
            Form->MainRichEdit->document()->setModified(false);
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
        QFile file(Path(name));
        return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
               file.write(bytes) == bytes.size();
    }

    // Starts the window on the text folder; the settings lines go into [BaseData] and
    // [FileFolder].
    TQuorvelaneForm& Start(bool anyFilter = false, const QByteArray& baseData = {},
                           const QByteArray& fileFolder = {})
    {
        QFile ini(Dir.filePath(QStringLiteral("Quorvelane.ini")));
        if (ini.open(QIODevice::WriteOnly | QIODevice::Truncate))
            ini.write("[FileFolder]\r\nFolder=" + Texts.toUtf8() + "\r\nAnyFilter=" +
                      (anyFilter ? "1" : "0") + "\r\n" + fileFolder + "[BaseData]\r\n" + baseData);
        ini.close();
        return StartIn(Dir.path());
    }

    // Starts the window with folder as the process's current folder, as a first start when no
    // settings file is there. The settings file is settingsFolder's when one is given (a start
    // from the desktop menu), else the folder's own.
    TQuorvelaneForm& StartIn(const QString& folder, const QString& settingsFolder = {})
    {
        QDir::setCurrent(folder);
        Form = std::make_unique<TQuorvelaneForm>(nullptr, settingsFolder);
        Form->show();
        if (!QTest::qWaitForWindowExposed(Form.get()))
            qWarning("window not exposed");
        Settle();
        Form->ReadTimerTimer(); // the start-up tick fills the lists and loads the first file
        return *Form;
    }

    // Ends a pending relayout the way the resize timer does once the size holds.
    void Settle()
    {
        for (int i = 0; i < 4 && Form->ResizeTimer->isActive(); ++i)
            Form->ResizeTimerTimer();
    }

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

    // The lines the text view itself displays, after forcing its layout.
    QStringList WidgetLines() const
    {
        QStringList lines;
        QTextDocument* document = Form->MainRichEdit->document();
        if (document->isEmpty())
            return lines;
        QAbstractTextDocumentLayout* layout = document->documentLayout();
        for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
            layout->blockBoundingRect(block);
            const QTextLayout* textLayout = block.layout();
            for (int i = 0; i < textLayout->lineCount(); ++i) {
                const QTextLine line = textLayout->lineAt(i);
                lines << block.text().mid(line.textStart(), line.textLength());
            }
        }
        return lines;
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
