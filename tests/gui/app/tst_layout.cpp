#include "tests/support/WindowHarness.h"

#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QMouseEvent>
#include <QPushButton>
#include <QSplitter>
#include <QTemporaryDir>

namespace {

// Drags a splitter handle by delta as the mouse does: press, one move, release. The handle
// reads the move's global position, so every event carries a consistent one.
void Drag(QSplitterHandle* handle, QPoint delta)
{
    const QPoint from = handle->rect().center();
    const QPoint to = from + delta;
    QMouseEvent press(QEvent::MouseButtonPress, from, handle->mapToGlobal(from), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(handle, &press);
    QMouseEvent move(QEvent::MouseMove, to, handle->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(handle, &move);
    QMouseEvent release(QEvent::MouseButtonRelease, to, handle->mapToGlobal(to), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(handle, &release);
}

// Ctrl + click on the reader: the left button folds or reopens the left panel, the right button
// the right one.
void CtrlClickReader(TQuorvelaneForm& form, Qt::MouseButton button)
{
    QTest::mouseClick(form.ReaderPanel, button, Qt::ControlModifier, QPoint(20, 20));
}

} // namespace

// The layout of the real main window: the deferred relayout after a resize, driven tick by
// tick; the splitters and the folding side panels; the lines-per-slide setting at the first
// and at later relayouts.
class TestLayout : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void resizeSettles_data();
    void resizeSettles();
    void textSplitterDrag_data();
    void textSplitterDrag();
    void leftSplitterFarLeft();
    void rightPanelFoldAndReopen_data();
    void rightPanelFoldAndReopen();
    void savedSlideLabelStep_data();
    void savedSlideLabelStep();
    void smallerPageSwitchesToOnePage();
    void inactiveWindowIgnoresResizes_data();
    void inactiveWindowIgnoresResizes();
    void maximisedStart();

private:
    void writeSettings(const QByteArray& bytes);

    std::unique_ptr<QTemporaryDir> Dir;
    std::unique_ptr<TWindowHarness> H;
    QString Top;
    QString PreviousFolder;
};

void TestLayout::init()
{
    Dir = std::make_unique<QTemporaryDir>();
    QVERIFY(Dir->isValid());
    Top = QDir(Dir->path()).canonicalPath();
    PreviousFolder = QDir::currentPath();
    QFile prose(QStringLiteral(QV_TESTDATA_DIR "/sample-prose.sjis.txt"));
    QVERIFY(prose.open(QIODevice::ReadOnly));
    QVERIFY(WriteFile(Top + QStringLiteral("/prose.txt"), prose.readAll()));
    QVERIFY(QDir(Top).mkpath(QStringLiteral("empty")));
    H = std::make_unique<TWindowHarness>();
}

void TestLayout::cleanup()
{
    QVERIFY2(H->Script().Unexpected().isEmpty(), qPrintable(H->Script().Unexpected().join(u'\n')));
    H.reset();
    QDir::setCurrent(PreviousFolder);
    Dir.reset();
}

void TestLayout::writeSettings(const QByteArray& bytes)
{
    QVERIFY(WriteFile(Top + QStringLiteral("/Quorvelane.ini"), bytes));
}

void TestLayout::resizeSettles_data()
{
    // The window takes the sizes of "before" in turn, then each tick of the resize timer after
    // the first comes after the next size of "later"; "settled" is the tick that lays out.
    QTest::addColumn<QList<QSize>>("before");
    QTest::addColumn<QList<QSize>>("later");
    QTest::addColumn<int>("settled");
    QTest::newRow("wider") << QList<QSize>{{560, 400}} << QList<QSize>{} << 2;
    QTest::newRow("lower") << QList<QSize>{{500, 300}} << QList<QSize>{} << 2;
    QTest::newRow("both") << QList<QSize>{{420, 460}} << QList<QSize>{} << 2;
    QTest::newRow("a drag over eight ticks")
        << QList<QSize>{{505, 400}} << QList<QSize>{{510, 400}, {520, 400}, {530, 405}, {540, 410},
                                                    {550, 420}, {560, 430}, {570, 440}}
        << 9;
    QTest::newRow("many sizes within one tick")
        << QList<QSize>{{510, 400}, {520, 410}, {530, 420}, {540, 430}} << QList<QSize>{} << 2;
    QTest::newRow("out and back within one tick")
        << QList<QSize>{{640, 480}, {500, 400}} << QList<QSize>{} << 1;
    QTest::newRow("a splitter drag, same size") << QList<QSize>{} << QList<QSize>{} << 1;
}

void TestLayout::resizeSettles()
{
    QFETCH(QList<QSize>, before);
    QFETCH(QList<QSize>, later);
    QFETCH(int, settled);
    TQuorvelaneForm* form = &H->OpenSettled(Top);
    QCOMPARE(form->size(), QSize(500, 400));
    QVERIFY(!form->ResizeTimer->isActive());
    QVERIFY(!form->FileState().IgnoreTextChange);
    const int relayouts = form->RelayoutCount();
    for (const QSize& size : before)
        form->resize(size);
    // The end of a splitter drag comes through the same handler without a change of size.
    form->FormResize();
    QVERIFY(form->ResizeTimer->isActive());
    QVERIFY(form->FileState().IgnoreTextChange);
    int tick = 0;
    while (form->ResizeTimer->isActive() && tick < 20) {
        if (tick >= 1 && tick - 1 < later.size())
            form->resize(later.at(tick - 1));
        form->ResizeTimerTimer();
        ++tick;
        if (form->ResizeTimer->isActive()) {
            // A tick with a changed size only stores it.
            QCOMPARE(form->RelayoutCount(), relayouts);
            QVERIFY(form->FileState().IgnoreTextChange);
            QCOMPARE(form->FormState().LastFormWidth, form->width());
            QCOMPARE(form->FormState().LastFormHeight, form->height());
        }
    }
    QCOMPARE(tick, settled);
    QCOMPARE(form->RelayoutCount(), relayouts + 1);
    QVERIFY(!form->FileState().IgnoreTextChange);
    H->Exit();
}

void TestLayout::textSplitterDrag_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("researchButton");
    QTest::newRow("text loaded") << QString() << true;
    QTest::newRow("no text") << "empty" << false;
}

void TestLayout::textSplitterDrag()
{
    QFETCH(QString, folder);
    QFETCH(bool, researchButton);
    TQuorvelaneForm* form = &H->OpenSettled(folder.isEmpty() ? Top : Top + u'/' + folder);
    QCOMPARE(form->TextPanel->height(), 5);
    const int labels = form->LabelCount();
    QVERIFY(labels > 8);
    form->ContentsListBox->AddEntry(QStringLiteral("0001= 見出し"));
    form->FindResearchButton->hide();
    const int before = form->RelayoutCount();

    Drag(form->TextSplitter, QPoint(0, 120));
    // The splitter places the handle within a pixel of the mouse.
    QVERIFY2(qAbs(form->TextPanel->height() - 125) <= 1,
             qPrintable(QString::number(form->TextPanel->height())));
    QVERIFY(form->ResizeTimer->isActive());
    QCOMPARE(form->RelayoutCount(), before);
    // Nothing is laid out until the tick.
    QCOMPARE(form->LabelCount(), labels);
    QCOMPARE(H->Settle(), 1);
    QCOMPARE(form->RelayoutCount(), before + 1);
    QVERIFY(form->LabelCount() < labels);
    QCOMPARE(form->ContentsListBox->count(), 0);
    QCOMPARE(form->FindResearchButton->isVisible(), researchButton);
    H->Exit();
}

void TestLayout::leftSplitterFarLeft()
{
    TQuorvelaneForm* form = &H->OpenSettled(Top);
    QCOMPARE(form->LeftPanel->width(), 110);
    const int before = form->RelayoutCount();
    Drag(form->LeftSplitter, QPoint(-400, 0));
    QCOMPARE(form->LeftPanel->width(), 2);
    QCOMPARE(form->FormState().LeftPanelOpenWidth, 2);
    QCOMPARE(H->Settle(), 1);
    QCOMPARE(form->RelayoutCount(), before + 1);

    // A reopen gives no less than 50.
    form->FoldOrOpenLeftPanel();
    QCOMPARE(form->LeftPanel->width(), 50);
    CtrlClickReader(*form, Qt::LeftButton);
    QCOMPARE(form->LeftPanel->width(), 2);
    CtrlClickReader(*form, Qt::LeftButton);
    QCOMPARE(form->LeftPanel->width(), 50);
    H->Settle();

    // A wider drag is the width it reopens to.
    Drag(form->LeftSplitter, QPoint(100, 0));
    const int dragged = form->LeftPanel->width();
    QVERIFY2(qAbs(dragged - 150) <= 1, qPrintable(QString::number(dragged)));
    QCOMPARE(form->FormState().LeftPanelOpenWidth, dragged);
    form->FoldOrOpenLeftPanel();
    QCOMPARE(form->LeftPanel->width(), 2);
    QCOMPARE(form->FormState().LeftPanelOpenWidth, dragged);
    form->FoldOrOpenLeftPanel();
    QCOMPARE(form->LeftPanel->width(), dragged);
    H->Settle();
    H->Exit();
    QFile ini(Top + QStringLiteral("/Quorvelane.ini"));
    QVERIFY(ini.open(QIODevice::ReadOnly));
    const QByteArray width = QByteArray::number(dragged);
    QVERIFY(ini.readAll().contains("LeftPanelWidth=" + width + "\r\nLeftPanelOpenWidth=" + width +
                                   "\r\n"));
}

void TestLayout::rightPanelFoldAndReopen_data()
{
    QTest::addColumn<QByteArray>("saved");
    QTest::addColumn<bool>("foldByDrag");
    QTest::addColumn<int>("reopened");
    QTest::newRow("fold by gesture") << QByteArray() << false << 98;
    QTest::newRow("saved width, fold by gesture") << QByteArray("150") << false << 98;
    QTest::newRow("saved width, fold by drag") << QByteArray("150") << true << 150;
}

void TestLayout::rightPanelFoldAndReopen()
{
    QFETCH(QByteArray, saved);
    QFETCH(bool, foldByDrag);
    QFETCH(int, reopened);
    if (!saved.isEmpty())
        writeSettings("[Panel]\r\nRightPanelWidth=" + saved + "\r\n");
    TQuorvelaneForm* form = &H->OpenSettled(Top);
    // The saved width is not applied at start-up.
    QCOMPARE(form->RightPanel->width(), 98);
    if (foldByDrag) {
        Drag(form->RightSplitter, QPoint(400, 0));
        QCOMPARE(form->RightPanel->width(), 2);
        QCOMPARE(form->FormState().RightPanelWidth, saved.toInt());
    } else {
        CtrlClickReader(*form, Qt::RightButton);
        QCOMPARE(form->RightPanel->width(), 2);
        QCOMPARE(form->FormState().RightPanelWidth, 98);
    }
    QCOMPARE(H->Settle(), 1);
    const int centre = form->CenterPanel->width();
    CtrlClickReader(*form, Qt::RightButton);
    QCOMPARE(form->RightPanel->width(), reopened);
    QCOMPARE(form->CenterPanel->width(), centre - reopened + 2);
    // A folded-away width is never what it reopens to.
    form->FoldOrOpenRightPanel();
    QCOMPARE(form->RightPanel->width(), 2);
    QCOMPARE(form->FormState().RightPanelWidth, reopened);
    H->Settle();
    H->Exit();
    QFile ini(Top + QStringLiteral("/Quorvelane.ini"));
    QVERIFY(ini.open(QIODevice::ReadOnly));
    QVERIFY(ini.readAll().contains("RightPanelWidth=" + QByteArray::number(reopened) + "\r\n"));
}

void TestLayout::savedSlideLabelStep_data()
{
    // step -1 stands for one page: the reader's label count.
    QTest::addColumn<QByteArray>("saved");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("step");
    QTest::newRow("first entry") << QByteArray("0") << 0 << 1;
    QTest::newRow("five lines") << QByteArray("4") << 4 << 5;
    QTest::newRow("ten lines") << QByteArray("9") << 9 << 10;
    QTest::newRow("one page") << QByteArray("15") << 15 << -1;
    QTest::newRow("more lines than a page") << QByteArray("14") << 15 << -1;
    QTest::newRow("past the list") << QByteArray("16") << 0 << 1;
    QTest::newRow("negative") << QByteArray("-1") << 0 << 1;
    QTest::newRow("not a number") << QByteArray("many") << 0 << 1;
}

void TestLayout::savedSlideLabelStep()
{
    QFETCH(QByteArray, saved);
    QFETCH(int, index);
    QFETCH(int, step);
    writeSettings("[BaseData]\r\nSlideLabelStep=" + saved + "\r\n");
    TQuorvelaneForm* form = &H->Open(Top);
    H->StartUpTick();
    QVERIFY(form->SlideState().LabelStepPending);
    QCOMPARE(H->Settle(), 1);
    QVERIFY(!form->SlideState().LabelStepPending);
    const int labels = form->LabelCount();
    QVERIFY(labels > 10 && labels < 50);
    QCOMPARE(form->LabelStepComboBox->currentIndex(), index);
    QCOMPARE(form->SlideState().SlideStep, step < 0 ? labels : step);
    // A later relayout that changes nothing keeps the step.
    form->FormResize();
    QCOMPARE(H->Settle(), 1);
    QCOMPARE(form->LabelStepComboBox->currentIndex(), index);
    QCOMPARE(form->SlideState().SlideStep, step < 0 ? labels : step);
    H->Exit();
    QFile ini(Top + QStringLiteral("/Quorvelane.ini"));
    QVERIFY(ini.open(QIODevice::ReadOnly));
    QVERIFY(ini.readAll().contains("SlideLabelStep=" + QByteArray::number(index) + "\r\n"));
}

void TestLayout::smallerPageSwitchesToOnePage()
{
    writeSettings("[BaseData]\r\nSlideLabelStep=9\r\n");
    TQuorvelaneForm* form = &H->OpenSettled(Top);
    QCOMPARE(form->SlideState().SlideStep, 10);
    const int labels = form->LabelCount();
    QVERIFY(labels > 10);
    // Unfold the text view until fewer than ten lines are left in the reader.
    Drag(form->TextSplitter, QPoint(0, form->ReaderPanel->height() * (labels - 6) / labels));
    H->Settle();
    const int fewer = form->LabelCount();
    QVERIFY2(fewer < 10 && fewer > 0, qPrintable(QString::number(fewer)));
    QCOMPARE(form->LabelStepComboBox->currentIndex(), 15);
    QCOMPARE(form->SlideState().SlideStep, fewer);
    // With the one-page entry selected the step follows the page as it grows again.
    Drag(form->TextSplitter, QPoint(0, -form->TextPanel->height()));
    QCOMPARE(form->TextPanel->height(), 5);
    H->Settle();
    QCOMPARE(form->LabelCount(), labels);
    QCOMPARE(form->LabelStepComboBox->currentIndex(), 15);
    QCOMPARE(form->SlideState().SlideStep, labels);
    H->Exit();
}

void TestLayout::inactiveWindowIgnoresResizes_data()
{
    QTest::addColumn<QString>("when");
    QTest::newRow("before the window appears") << "created";
    QTest::newRow("after closing") << "closed";
    QTest::newRow("closed while a resize settles") << "closing";
}

void TestLayout::inactiveWindowIgnoresResizes()
{
    QFETCH(QString, when);
    TQuorvelaneForm* form = &H->Create(Top);
    if (when != QStringLiteral("created")) {
        form->show();
        H->StartUpTick();
        H->Settle();
        if (when == QStringLiteral("closing")) {
            form->resize(600, 450);
            QVERIFY(form->ResizeTimer->isActive());
        }
        form->Action(QStringLiteral("AppExit"))->trigger();
        QVERIFY(!form->isVisible());
    }
    const int before = form->RelayoutCount();
    const bool wasRunning = form->ResizeTimer->isActive();
    form->resize(620, 470);
    form->FormResize();
    QCOMPARE(form->ResizeTimer->isActive(), wasRunning);
    form->RelayoutReader();
    for (int tick = 0; tick < 3 && form->ResizeTimer->isActive(); ++tick)
        form->ResizeTimerTimer();
    QVERIFY(!form->ResizeTimer->isActive());
    QCOMPARE(form->RelayoutCount(), before);
    if (when == QStringLiteral("created"))
        QVERIFY(form->SlideState().LabelStepPending);
}

void TestLayout::maximisedStart()
{
    writeSettings("[Form]\r\nMaximized=1\r\n[BaseData]\r\nSlideLabelStep=15\r\n");
    TQuorvelaneForm* form = &H->Open(Top);
    // The platform answers the request to maximise with a new size.
    QTRY_VERIFY(form->isMaximized());
    QTRY_VERIFY(form->width() > 500);
    H->StartUpTick();
    QCOMPARE(H->Settle(), 2);
    QCOMPARE(form->FormState().LastFormWidth, form->width());
    QCOMPARE(form->LabelStepComboBox->currentIndex(), 15);
    QCOMPARE(form->SlideState().SlideStep, form->LabelCount());
    H->Exit();
    QFile ini(Top + QStringLiteral("/Quorvelane.ini"));
    QVERIFY(ini.open(QIODevice::ReadOnly));
    const QByteArray bytes = ini.readAll();
    QVERIFY(bytes.contains("Maximized=1\r\n"));
    QVERIFY(bytes.contains("Width=500\r\nHeight=400\r\n"));
}

QTEST_MAIN(TestLayout)
#include "tst_layout.moc"
