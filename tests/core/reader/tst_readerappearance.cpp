#include "reader/ReaderAppearance.h"
#include "reader/ReaderLayout.h"

#include <QTest>

namespace {

// The lists beside the reader and the reader itself as plain data; every effect is logged.
class TFakeWindow final : public TAppearancePort
{
public:
    int Labels = 20;
    QString WindowCaption = QStringLiteral("  1 / 9");
    QStringList Log;

    void ShowTextFont(const TFontSpec& font) override
    {
        Log << QStringLiteral("font %1").arg(font.Size);
    }
    void ShowBackColor(qint32 color) override { Log << QStringLiteral("back %1").arg(color); }
    void ShowFormAllColors(TColorSender sender, const TReaderLook&) override
    {
        Log << QStringLiteral("colours %1").arg(int(sender));
    }
    void ShowFormAllCheck(bool checked) override { Log << QStringLiteral("check %1").arg(checked); }
    void SelectFontSize(int index) override { Log << QStringLiteral("size item %1").arg(index); }
    void SelectLabelSpace(int index) override { Log << QStringLiteral("space item %1").arg(index); }
    void SelectLabelStep(int index) override { Log << QStringLiteral("step item %1").arg(index); }
    void SelectReadTimer(int index) override { Log << QStringLiteral("timer item %1").arg(index); }
    void SetReadInterval(int ms) override { Log << QStringLiteral("interval %1").arg(ms); }
    void SetLabelSpacing(int spacing) override { Log << QStringLiteral("spacing %1").arg(spacing); }
    int LabelCount() const override { return Labels; }
    void RebuildReader() override { Log << "rebuild"; }
    void LinesRenumbered() override { Log << "renumbered"; }
    QString Caption() const override { return WindowCaption; }
    void SetCaption(const QString& caption) override { WindowCaption = caption; }
    int MessageBox(const QString& text, const QString& caption, int) override
    {
        Log << "message" + caption + u'|' + text;
        return 1;
    }
};

} // namespace

// The rules of the lists beside the reader: saved items, fallbacks for items that cannot be
// read, and the saved lines-per-slide item at the first relayout.
class TestReaderAppearance : public QObject
{
    Q_OBJECT

private slots:
    void savedItemsOutsideTheListsTakeTheFirst();
    void listChanges_data();
    void listChanges();
    void savedStepAtFirstRelayout_data();
    void savedStepAtFirstRelayout();
};

void TestReaderAppearance::savedItemsOutsideTheListsTakeTheFirst()
{
    TReaderLook look;
    look.FontSize = 27;
    look.LabelSpace = -1;
    TSlideState slide;
    slide.SlideInterval = 99;
    TFakeWindow window;
    TReaderAppearance appearance(look, slide, window);
    appearance.ApplySaved();
    QCOMPARE(window.Log, (QStringList{"back -2147483633", "check 0", "timer item 0", "interval 50",
                                      "space item 0", "spacing 0", "size item 0", "font 4"}));
    QCOMPARE(slide.SlideInterval, 0);
    QCOMPARE(look.LabelSpace, 0);
    QCOMPARE(look.FontSize, 0);
    QCOMPARE(look.TextFont.Size, 4);
}

void TestReaderAppearance::listChanges_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("item"); // the item the state and the list hold afterwards
    QTest::addColumn<QStringList>("log");
    QTest::newRow("font size") << "size" << 0 << 0
                               << QStringList{"size item 0", "font 4", "rebuild", "renumbered"};
    QTest::newRow("font size, none selected")
        << "size" << -1 << 6 << QStringList{"size item 6", "font 12", "rebuild", "renumbered"};
    QTest::newRow("spacing") << "space" << 3 << 3 << QStringList{"spacing 6", "rebuild"};
    QTest::newRow("spacing, none selected")
        << "space" << -1 << 0
        << QStringList{"message Error|行間隔の指定に失敗しました。", "spacing 0", "space item 0",
                       "rebuild"};
    QTest::newRow("interval") << "timer" << 2 << 2 << QStringList{"interval 150"};
    QTest::newRow("interval, none selected") << "timer" << -1 << -1 << QStringList{};
}

void TestReaderAppearance::listChanges()
{
    QFETCH(QString, list);
    QFETCH(int, index);
    QFETCH(int, item);
    QFETCH(QStringList, log);
    TReaderLook look;
    TSlideState slide;
    TFakeWindow window;
    TReaderAppearance appearance(look, slide, window);
    if (list == u"size")
        appearance.FontSizeComboBoxChange(index);
    else if (list == u"space")
        appearance.LabelSpaceComboBoxChange(index);
    else
        appearance.ReadTimerComboBoxChange(index);
    QCOMPARE(window.Log, log);
    const int held = list == u"size"    ? look.FontSize
                     : list == u"space" ? look.LabelSpace
                                        : slide.SlideInterval;
    QCOMPARE(held, item);
    // The caption shown while converting is taken away again.
    QCOMPARE(window.WindowCaption, QStringLiteral("  1 / 9"));
}

void TestReaderAppearance::savedStepAtFirstRelayout_data()
{
    QTest::addColumn<int>("saved");
    QTest::addColumn<int>("labels");
    QTest::addColumn<int>("item");
    QTest::addColumn<int>("step");
    const int onePage = int(LabelStepItems().size()) - 1;
    QTest::newRow("first entry") << 0 << 20 << 0 << 1;
    QTest::newRow("five lines") << 4 << 20 << 4 << 5;
    QTest::newRow("one page") << onePage << 20 << onePage << 20;
    QTest::newRow("more lines than a page") << 9 << 6 << onePage << 6;
    QTest::newRow("past the list") << onePage + 1 << 20 << 0 << 1;
    QTest::newRow("negative") << -1 << 20 << 0 << 1;
}

void TestReaderAppearance::savedStepAtFirstRelayout()
{
    QFETCH(int, saved);
    QFETCH(int, labels);
    QFETCH(int, item);
    QFETCH(int, step);
    TReaderLook look;
    TSlideState slide;
    slide.SlideLabelStep = saved;
    TFakeWindow window;
    window.Labels = labels;
    TReaderAppearance appearance(look, slide, window);
    appearance.HoldSavedLabelStep();
    // Until the first relayout the list shows its first item and the saved one is kept.
    appearance.CheckLabelStep();
    QCOMPARE(slide.SlideLabelStep, saved);
    QCOMPARE(window.Log.last(), QStringLiteral("step item 0"));
    appearance.RelayoutLabels();
    QVERIFY(!slide.LabelStepPending);
    QCOMPARE(slide.SlideLabelStep, item);
    QCOMPARE(window.Log.last(), QStringLiteral("step item %1").arg(item));
    QCOMPARE(slide.SlideStep, step);
    QCOMPARE(appearance.IsOnePageStepSelected(), item == LabelStepItems().size() - 1);
    // A later relayout on the same page keeps it and renumbers the lines.
    appearance.RelayoutLabels();
    QCOMPARE(slide.SlideLabelStep, item);
    QCOMPARE(slide.SlideStep, step);
    QCOMPARE(window.Log.last(), QStringLiteral("renumbered"));
}

QTEST_GUILESS_MAIN(TestReaderAppearance)
#include "tst_readerappearance.moc"
