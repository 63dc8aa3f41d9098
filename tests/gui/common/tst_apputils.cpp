#include "common/CentredPosition.h"
#include "platform/AppUtils.h"
#include "tests/support/ScriptedDialogs.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QMimeData>
#include <QScreen>
#include <QTest>

namespace {

const QString Unexpected = QStringLiteral(" (予定外のエラーです。)");

enum ClipboardContent
{
    Text,
    Image,
    Empty,
    Html
};

// Counts the times the program shows a window, to tell a replaced text from a new show.
class TShowCounter : public QObject
{
public:
    int Shows = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show)
            ++Shows;
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

class TestAppUtils : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void boxAnswers_data();
    void boxAnswers();
    void fallbackShowsTheMessageWindow();
    void secondFallbackOnlyReplacesCaptionAndText();
    void closingOnlyHides_data();
    void closingOnlyHides();
    void withoutMessageWindowOnlyTheErrorReport();
    void messageWindowLayout();
    void centredPosition_data();
    void centredPosition();
    void centreDialogUsesThePrimaryScreen();
    void clipboardHasText_data();
    void clipboardHasText();

private:
    std::unique_ptr<TApU> Window;
};

void TestAppUtils::init()
{
    Window = CreateApU();
}

void TestAppUtils::cleanup()
{
    Window.reset();
}

void TestAppUtils::boxAnswers_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("flags");
    QTest::addColumn<int>("answer"); // 0: an OK box, nothing to script
    QTest::addColumn<int>("expected");

    QTest::newRow("OK box for a failure") << ErrorCaption() << 0 << 0 << 1;
    QTest::newRow("Yes/No answered No") << QStringLiteral("  フィルタ削除") << 4 << AnswerNo << 7;
    QTest::newRow("Yes/No answered Yes") << QStringLiteral("  目次の作成") << 4 << AnswerYes << 6;
    QTest::newRow("Yes/No with icon answered Yes") << ConfirmCaption() << 68 << AnswerYes << 6;
}

void TestAppUtils::boxAnswers()
{
    QFETCH(QString, caption);
    QFETCH(int, flags);
    QFETCH(int, answer);
    QFETCH(int, expected);

    TScopedDialogs dialogs;
    if (answer != 0)
        dialogs->AnswerButton(answer);
    QCOMPARE(AppMessageBox(QStringLiteral("DropFiles Error"), caption, flags), expected);
    QCOMPARE(dialogs->LogLines(), QStringList{QStringLiteral("message|") + caption +
                                              QStringLiteral("|DropFiles Error")});
    QCOMPARE(dialogs->Log().constFirst().Flags, flags);
    QCOMPARE(dialogs->PendingAnswers(), 0);
    QVERIFY(!ApU->isVisible());
}

void TestAppUtils::fallbackShowsTheMessageWindow()
{
    TScopedDialogs dialogs;
    dialogs->SetUnavailable(true);

    const int result = AppMessageBox(QStringLiteral("Find_Word Error"), ErrorCaption(), 0);

    QCOMPARE(result, -1);
    QVERIFY(result != AnswerYes && result != AnswerNo);
    QVERIFY(ApU->isVisible());
    QVERIFY(ApU->IsShown);
    QCOMPARE(ApU->windowTitle(), ErrorCaption() + Unexpected);
    QCOMPARE(ApU->MessageLabel->text(), QStringLiteral("Find_Word Error"));
    // The box was tried first, and nothing else was shown or reported.
    QCOMPARE(dialogs->LogLines(), QStringList{QStringLiteral("message| Error|Find_Word Error")});
}

void TestAppUtils::secondFallbackOnlyReplacesCaptionAndText()
{
    TScopedDialogs dialogs;
    dialogs->SetUnavailable(true);
    TShowCounter counter;
    ApU->installEventFilter(&counter);

    QCOMPARE(AppMessageBox(QStringLiteral("first"), ErrorCaption(), 0), -1);
    QCOMPARE(counter.Shows, 1);
    QTRY_COMPARE(QApplication::activeWindow(), ApU);
    // The user went on working elsewhere; the next message must not take the focus away.
    QWidget other;
    other.show();
    other.activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), &other);

    QCOMPARE(AppMessageBox(QStringLiteral("second"), ConfirmCaption(), 68), -1);

    QCOMPARE(counter.Shows, 1);
    QCoreApplication::processEvents();
    QCOMPARE(QApplication::activeWindow(), &other);
    QVERIFY(ApU->isVisible());
    QVERIFY(ApU->IsShown);
    QCOMPARE(ApU->windowTitle(), ConfirmCaption() + Unexpected);
    QCOMPARE(ApU->MessageLabel->text(), QStringLiteral("second"));
}

void TestAppUtils::closingOnlyHides_data()
{
    QTest::addColumn<bool>("byCloseEvent");
    QTest::newRow("close()") << false;
    QTest::newRow("close event from the window system") << true;
}

void TestAppUtils::closingOnlyHides()
{
    QFETCH(bool, byCloseEvent);
    TScopedDialogs dialogs;
    dialogs->SetUnavailable(true);
    AppMessageBox(QStringLiteral("Set_SaveFilter Error"), ErrorCaption(), 0);
    QVERIFY(ApU->isVisible());

    if (byCloseEvent) {
        QCloseEvent close;
        close.setAccepted(true);
        QCoreApplication::sendEvent(ApU, &close);
        QVERIFY(!close.isAccepted());
    } else {
        QVERIFY(!ApU->close());
    }

    QCOMPARE(ApU, Window.get());
    QVERIFY(!ApU->isVisible());
    QVERIFY(!ApU->IsShown);
    QVERIFY(ApU->MessageLabel->text().isEmpty());

    // The window serves the next fallback as before.
    QCOMPARE(AppMessageBox(QStringLiteral("next"), ConfirmCaption(), 0), -1);
    QVERIFY(ApU->isVisible());
    QVERIFY(ApU->IsShown);
    QCOMPARE(ApU->MessageLabel->text(), QStringLiteral("next"));
    QCOMPARE(ApU->windowTitle(), ConfirmCaption() + Unexpected);
}

void TestAppUtils::withoutMessageWindowOnlyTheErrorReport()
{
    Window.reset();
    QCOMPARE(ApU, nullptr);
    TScopedDialogs dialogs;
    dialogs->SetUnavailable(true);

    QCOMPARE(AppMessageBox(QStringLiteral("early message"), ConfirmCaption(), 4), -1);

    const auto& log = dialogs->Log();
    QCOMPARE(log.size(), 2);
    QCOMPARE(log.at(0).DialogKind, TScriptedDialogs::Kind::MessageBox);
    QCOMPARE(log.at(1).DialogKind, TScriptedDialogs::Kind::ErrorReport);
    // The report carries the message, which would otherwise be lost.
    QVERIFY2(log.at(1).Text.startsWith(QStringLiteral("early message\n")),
             qPrintable(log.at(1).Text));
}

void TestAppUtils::messageWindowLayout()
{
    QCOMPARE(ApU->windowTitle(), QStringLiteral("ApU"));
    QCOMPARE(ApU->size(), QSize(250, 100));
    QCOMPARE(ApU->minimumSize(), QSize(250, 100));
    QVERIFY(ApU->windowFlags() & Qt::WindowStaysOnTopHint);
    QVERIFY(!ApU->IsShown);
    QLabel* label = ApU->findChild<QLabel*>(QStringLiteral("MessageLabel"));
    QCOMPARE(label, ApU->MessageLabel);
    QVERIFY(label->wordWrap());
    QCOMPARE(label->geometry(), QRect(4, 6, 242, 88));

    // The label keeps its margins when the window's size changes.
    ApU->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    ApU->show();
    ApU->resize(400, 180);
    QCOMPARE(label->geometry(), QRect(4, 6, 392, 168));

    // Messages are shown as written, never as markup.
    label->setText(QStringLiteral("<b>a</b>"));
    QCOMPARE(label->textFormat(), Qt::PlainText);
}

void TestAppUtils::centredPosition_data()
{
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<QSize>("form");
    QTest::addColumn<QPoint>("expected");

    QTest::newRow("fits") << QSize(1024, 768) << QSize(400, 300) << QPoint(312, 117);
    QTest::newRow("odd remainders truncate")
        << QSize(1025, 771) << QSize(400, 300) << QPoint(312, 117);
    QTest::newRow("exactly the screen") << QSize(800, 600) << QSize(800, 600) << QPoint(0, 0);
    QTest::newRow("taller than the screen")
        << QSize(1024, 768) << QSize(400, 800) << QPoint(312, -8);
    // Truncation toward zero, not flooring: -33 / 4 is -8 and -1 / 2 is 0.
    QTest::newRow("negative remainders truncate toward zero")
        << QSize(1024, 768) << QSize(1025, 801) << QPoint(0, -8);
    QTest::newRow("wider than the screen")
        << QSize(800, 600) << QSize(1000, 200) << QPoint(-100, 100);
}

void TestAppUtils::centredPosition()
{
    QFETCH(QSize, screen);
    QFETCH(QSize, form);
    QFETCH(QPoint, expected);
    QCOMPARE(CentredPosition(screen, form), expected);
}

void TestAppUtils::centreDialogUsesThePrimaryScreen()
{
    const QRect desktop = QGuiApplication::primaryScreen()->geometry();
    QWidget form;
    form.resize(desktop.width() / 2, desktop.height() / 2);
    CentreDialog(&form);
    QCOMPARE(form.pos(), desktop.topLeft() + QPoint(desktop.width() / 4, desktop.height() / 8));
    CentreDialog(nullptr);
}

void TestAppUtils::clipboardHasText_data()
{
    QTest::addColumn<int>("content");
    QTest::addColumn<bool>("expected");
    QTest::newRow("text") << int(Text) << true;
    QTest::newRow("image") << int(Image) << false;
    QTest::newRow("empty") << int(Empty) << false;
    QTest::newRow("html only") << int(Html) << false;
}

void TestAppUtils::clipboardHasText()
{
    QFETCH(int, content);
    QFETCH(bool, expected);
    QClipboard* clipboard = QGuiApplication::clipboard();
    switch (content) {
    case Text:
        clipboard->setText(QStringLiteral("本文"));
        break;
    case Image: {
        QImage image(4, 4, QImage::Format_RGB32);
        image.fill(Qt::red);
        clipboard->setImage(image);
        break;
    }
    case Empty:
        clipboard->clear();
        break;
    case Html: {
        auto* data = new QMimeData;
        data->setHtml(QStringLiteral("<p>x</p>"));
        clipboard->setMimeData(data);
        break;
    }
    }
    QCOMPARE(ClipboardHasText(), expected);
}

QTEST_MAIN(TestAppUtils)
#include "tst_apputils.moc"
