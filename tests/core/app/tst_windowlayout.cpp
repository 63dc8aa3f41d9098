#include "app/WindowLayout.h"

#include <QTest>

namespace {

// The window's size, its resize timer and its side panels as plain data.
class TFakeWindow final : public TLayoutPort
{
public:
    bool TimerActive = false;
    QSize Size{500, 400};
    int Widths[3] = {110, 300, 96};
    QRect Bounds;
    QRect Restored;
    bool Maximized = false;
    QSize Panels;
    QStringList Log;

    bool IsResizeTimerActive() const override { return TimerActive; }
    void StartResizeTimer() override { TimerActive = true; }
    void StopResizeTimer() override { TimerActive = false; }
    QSize WindowSize() const override { return Size; }
    void RebuildReader() override { Log << "rebuild"; }
    void RelayoutLabels() override { Log << "labels"; }
    int SideWidth(int side) const override { return Widths[side]; }
    void SetSideWidth(int side, int width) override
    {
        Widths[1] += Widths[side] - width;
        Widths[side] = width;
    }
    QSize ScreenSize() const override { return QSize(1024, 768); }
    void PlaceWindow(const QRect& bounds) override { Bounds = bounds; }
    bool IsMaximized() const override { return Maximized; }
    QRect RestoredBounds() const override { return Restored; }
    QSize PanelSizes() const override { return Panels; }
    void SetPanelSizes(const QSize& sizes) override { Panels = sizes; }
};

} // namespace

// The deferred relayout waits until the size holds for a tick; the side panels fold to a sliver
// and open to the width they had.
class TestWindowLayout : public QObject
{
    Q_OBJECT

private slots:
    void relayoutWaitsForTheSizeToHold();
    void inactiveWindowNeverRelays();
    void boundsFitAndComeBack();
    void folding_data();
    void folding();
};

void TestWindowLayout::relayoutWaitsForTheSizeToHold()
{
    TFormState form;
    form.FormInactive = false;
    TFileState files;
    files.IgnoreTextChange = false;
    TFakeWindow window;
    TWindowLayout layout(form, files, window);
    layout.FormResize();
    QVERIFY(window.TimerActive && files.IgnoreTextChange && layout.RelayoutWaits());
    layout.ResizeTimerTimer(); // the size differs from the last one noted
    QCOMPARE(form.LastFormWidth, 500);
    QVERIFY(window.Log.isEmpty() && window.TimerActive);
    window.Size = QSize(520, 400);
    layout.ResizeTimerTimer();
    QVERIFY(window.Log.isEmpty() && window.TimerActive);
    layout.ResizeTimerTimer();
    QCOMPARE(window.Log, (QStringList{"rebuild", "labels"}));
    QVERIFY(!window.TimerActive && !files.IgnoreTextChange && !layout.RelayoutWaits());
    QCOMPARE(form.Relayouts, 1);
}

void TestWindowLayout::inactiveWindowNeverRelays()
{
    TFormState form;
    TFileState files;
    files.IgnoreTextChange = false;
    TFakeWindow window;
    TWindowLayout layout(form, files, window);
    layout.FormResize();
    layout.RelayoutReader();
    QVERIFY(!window.TimerActive && !files.IgnoreTextChange && window.Log.isEmpty());
    QCOMPARE(form.Relayouts, 0);
}

void TestWindowLayout::boundsFitAndComeBack()
{
    TFormState form;
    form.Width = 2000;
    form.Height = 1200;
    form.DirectoryPanelHeight = 170;
    TFileState files;
    TFakeWindow window;
    TWindowLayout layout(form, files, window);
    layout.ApplySavedBounds();
    QCOMPARE(window.Bounds, QRect(10, 0, 1003, 729));
    QCOMPARE(QSize(form.LastFormWidth, form.LastFormHeight), QSize(1003, 729));
    QCOMPARE(window.Panels, QSize(110, 170));
    // A maximised window stores the bounds it goes back to.
    window.Maximized = true;
    window.Restored = QRect(-20, 40, 640, 480);
    window.Panels = QSize(2, 90);
    layout.CaptureBounds();
    QVERIFY(form.StartMaximized);
    QCOMPARE(QRect(form.Left, form.Top, form.Width, form.Height), window.Restored);
    QCOMPARE(QSize(form.LeftPanelWidth, form.DirectoryPanelHeight), QSize(2, 90));
}

void TestWindowLayout::folding_data()
{
    QTest::addColumn<int>("side");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("kept"); // LeftPanelOpenWidth or RightPanelWidth before
    QTest::addColumn<int>("after");
    QTest::addColumn<int>("keptAfter");
    QTest::newRow("left open folds") << 0 << 110 << 110 << 2 << 110;
    QTest::newRow("left folded opens") << 0 << 2 << 140 << 140 << 140;
    QTest::newRow("left opens at least 50") << 0 << 19 << 2 << 50 << 2;
    QTest::newRow("left at the limit folds") << 0 << 20 << 80 << 2 << 80;
    QTest::newRow("right open folds and keeps its width") << 2 << 120 << 96 << 2 << 120;
    QTest::newRow("right folded opens to its width") << 2 << 2 << 130 << 130 << 130;
}

void TestWindowLayout::folding()
{
    QFETCH(int, side);
    QFETCH(int, width);
    QFETCH(int, kept);
    QFETCH(int, after);
    QFETCH(int, keptAfter);
    TFormState form;
    (side == 0 ? form.LeftPanelOpenWidth : form.RightPanelWidth) = kept;
    TFileState files;
    TFakeWindow window;
    window.Widths[side] = width;
    TWindowLayout layout(form, files, window);
    side == 0 ? layout.FoldOrOpenLeftPanel() : layout.FoldOrOpenRightPanel();
    QCOMPARE(window.Widths[side], after);
    QCOMPARE(side == 0 ? form.LeftPanelOpenWidth : form.RightPanelWidth, keptAfter);
    // A drag narrower than the sliver stops at it; the left panel notes its new width.
    int dragged = 1;
    side == 0 ? layout.LeftSplitterCanResize(dragged) : layout.RightSplitterCanResize(dragged);
    QCOMPARE(dragged, TWindowLayout::FoldedWidth);
    if (side == 0)
        QCOMPARE(form.LeftPanelOpenWidth, TWindowLayout::FoldedWidth);
}

QTEST_GUILESS_MAIN(TestWindowLayout)
#include "tst_windowlayout.moc"
