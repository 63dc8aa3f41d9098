#include "tests/support/WindowHarness.h"

#include "reader/ReaderLayout.h"

#include <QMenuBar>
#include <QScreen>
#include <QScrollBar>

// Full screen on a small screen: the offscreen platform's one screen is 640 x 480 here.
class TestSmallScreen : public QObject
{
    Q_OBJECT

private slots:
    void fullScreen();
};

namespace {

// What leaving full screen must give back.
struct TPanels
{
    QList<bool> Hidden;
    QList<QList<int>> Splits;
    QSize Size;
    int Labels = 0;
    bool operator==(const TPanels&) const = default;
};

TPanels PanelsOf(const TQuorvelaneForm& form)
{
    TPanels panels;
    for (const QWidget* widget :
         {static_cast<const QWidget*>(form.menuBar()), static_cast<const QWidget*>(form.LeftPanel),
          static_cast<const QWidget*>(form.TextPanel), static_cast<const QWidget*>(form.RightPanel),
          static_cast<const QWidget*>(form.ReaderPanel)})
        panels.Hidden << widget->isHidden();
    for (const QSplitter* splitter : {form.MainSplitter, form.CenterSplitter,
                                      form.LeftColumnSplitter, form.RightColumnSplitter})
        panels.Splits << splitter->sizes();
    panels.Size = form.size();
    panels.Labels = form.LabelCount();
    return panels;
}

} // namespace

// F11 gives the whole small screen to the reader and its status strip, with as many labels as
// fit; F11 or Esc gives every panel back its place, and the reader its passage.
void TestSmallScreen::fullScreen()
{
    QCOMPARE(QGuiApplication::primaryScreen()->size(), QSize(640, 480));
    TWindowHarness h;
    QFile sample(QStringLiteral(QV_TESTDATA_DIR "/sample-prose.sjis.txt"));
    QVERIFY(sample.open(QIODevice::ReadOnly));
    QVERIFY(h.Write(QStringLiteral("prose.txt"), sample.readAll()));
    TQuorvelaneForm& form = h.Start(false, "[Comfort]\r\nStatusStrip=1\r\n");
    QVERIFY(form.width() <= 640 && form.height() <= 480);
    // The window is made to fill the screen: full screen then changes no size of the window's,
    // only what the panels leave the reader.
    form.setGeometry(QGuiApplication::primaryScreen()->geometry());
    QCoreApplication::processEvents();
    h.Settle();
    QCOMPARE(form.size(), QSize(640, 480));
    const auto* strip = form.ReaderPanel->findChild<QLabel*>(QStringLiteral("ReaderStatusLabel"));
    QVERIFY(strip && strip->isVisible());
    QTest::keyClick(form.ReaderPanel, Qt::Key_PageDown);
    const int line = form.SlideState().ReadingLine;
    QVERIFY(line > 0);
    const TPanels before = PanelsOf(form);

    for (int key : {int(Qt::Key_F11), int(Qt::Key_Escape)}) {
        QTest::keyClick(&form, Qt::Key_F11);
        QCoreApplication::processEvents();
        h.Settle();
        QVERIFY(form.isFullScreen());
        QCOMPARE(form.size(), QSize(640, 480));
        QVERIFY(!form.ResizeTimer->isActive());
        // The labels fill the panel above the strip, which stays on the screen.
        QCOMPARE(form.LabelCount(), ReaderLabelCount(form.ReaderPanel->height() - strip->height(),
                                                     h.LineHeight(), form.LabelSpacing()));
        QVERIFY(form.LabelCount() > before.Labels);
        QVERIFY(h.Labels().last()->geometry().bottom() <= strip->geometry().top());
        QVERIFY(strip->geometry().bottom() < form.ReaderPanel->height());
        QVERIFY(form.ReaderPanel->mapTo(&form, QPoint(form.ReaderPanel->width(), 0)).x() <= 640);
        QCOMPARE(form.SlideState().ReadingLine, line);
        QCOMPARE(h.LabelTexts().first(), form.Line(line));
        QVERIFY(strip->text().contains(QStringLiteral("prose.txt")));
        QTest::keyClick(form.ReaderPanel, Qt::Key_PageDown);
        QCOMPARE(form.SlideState().ReadingLine, line + form.LabelCount());
        QTest::keyClick(form.ReaderPanel, Qt::Key_PageUp);

        QTest::keyClick(&form, Qt::Key(key));
        QCoreApplication::processEvents();
        h.Settle();
        QVERIFY(!form.isFullScreen());
        QCOMPARE(PanelsOf(form), before);
        QCOMPARE(form.SlideState().ReadingLine, line);
        QCOMPARE(form.windowTitle(),
                 QStringLiteral("  %1 / %2").arg(line + 1).arg(form.LineCount()));
    }
}

int main(int argc, char** argv)
{
    // Read by the platform as the application starts.
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" QV_TESTDATA_DIR "/screen-640x480.json");
    QApplication app(argc, argv);
    TestSmallScreen test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_smallscreen.moc"
