#include "tests/support/WindowHarness.h"

#include <QApplication>
#include <QComboBox>
#include <QScrollBar>
#include <QWheelEvent>

// Reading with the keyboard and the wheel in the real window: keys pressed in the reader panel,
// the focus it takes and gets back, the place kept when the lines are laid out anew.
class TestComfort : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void keys_data();
    void keys();
    void intervalKeys();
    void focusComesBack();
    void wheelOverLabels();

private:
    void pressAll(const QList<int>& keys, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    std::unique_ptr<TWindowHarness> H;
};

void TestComfort::init()
{
    H = std::make_unique<TWindowHarness>();
    QVERIFY(H->Write(QStringLiteral("a.txt"), NumberedLines(40)));
    H->Start();
    H->FitLabels(5);
}

void TestComfort::cleanup()
{
    QVERIFY2(H->Script().Unexpected().isEmpty(), qPrintable(H->Script().Unexpected().join(u'\n')));
    H.reset();
}

void TestComfort::pressAll(const QList<int>& keys, Qt::KeyboardModifiers modifiers)
{
    for (int key : keys)
        QTest::keyClick(H->Form->ReaderPanel, Qt::Key(key), modifiers);
}

void TestComfort::keys_data()
{
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("reading");
    QTest::newRow("space starts reading") << QList<int>{Qt::Key_Space} << "  1 / 40" << true;
    QTest::newRow("space again stops it")
        << QList<int>{Qt::Key_Space, Qt::Key_Space} << "  1 / 40" << false;
    QTest::newRow("page down") << QList<int>{Qt::Key_PageDown} << "  6 / 40" << false;
    QTest::newRow("page down, page up")
        << QList<int>{Qt::Key_PageDown, Qt::Key_PageDown, Qt::Key_PageUp} << "  6 / 40" << false;
    QTest::newRow("down, down, up")
        << QList<int>{Qt::Key_Down, Qt::Key_Down, Qt::Key_Up} << "  2 / 40" << false;
    QTest::newRow("end") << QList<int>{Qt::Key_End} << "  40 / 40" << false;
    QTest::newRow("end, home") << QList<int>{Qt::Key_End, Qt::Key_Home} << "  1 / 40" << false;
    QTest::newRow("paging while reading")
        << QList<int>{Qt::Key_Space, Qt::Key_PageDown} << "  6 / 40" << true;
}

void TestComfort::keys()
{
    QFETCH(QList<int>, keys);
    QFETCH(QString, caption);
    QFETCH(bool, reading);
    pressAll(keys);
    QCOMPARE(H->Form->windowTitle(), caption);
    QCOMPARE(H->Form->Action(QStringLiteral("SlideRead"))->isChecked(), reading);
    QCOMPARE(H->Form->ReadTimer->isActive(), reading);
    // The first label shows the line the caption counts.
    const int line = caption.section(u' ', 2, 2).toInt();
    QCOMPARE(H->LabelTexts().first(), QStringLiteral("line %1").arg(line, 2, 10, QChar(u'0')));
}

// + and - pick the neighbouring interval of the list while reading runs, the keypad's too.
void TestComfort::intervalKeys()
{
    QComboBox* box = H->Form->ReadTimerComboBox;
    box->setCurrentIndex(box->findText(QStringLiteral("   01000")));
    H->Form->ReadTimerComboBoxChange();
    pressAll({Qt::Key_Plus});
    QCOMPARE(box->currentText(), QStringLiteral("   01000")); // stopped: nothing changes
    pressAll({Qt::Key_Space, Qt::Key_Plus, Qt::Key_Plus});
    QCOMPARE(box->currentText(), QStringLiteral("   00500"));
    QCOMPARE(H->Form->ReadTimer->interval(), 500);
    pressAll({Qt::Key_Minus}, Qt::KeypadModifier);
    QCOMPARE(box->currentText(), QStringLiteral("   00750"));
    QCOMPARE(H->Form->ReadTimer->interval(), 750);
    QCOMPARE(H->Form->SlideState().SlideIntervalMs, 750);
    QVERIFY(H->Form->ReadTimer->isActive());
}

void TestComfort::focusComesBack()
{
    TQuorvelaneForm& form = *H->Form;
    form.MainRichEdit->setFocus();
    QTest::mouseClick(H->Labels().at(2), Qt::RightButton);
    QCOMPARE(form.focusWidget(), form.ReaderPanel);
    QCOMPARE(form.windowTitle(), QStringLiteral("  6 / 40")); // the click paged as well
    // An arrow key in the size list picks the next size; the next one belongs to the reader.
    const QString size = form.FontSizeComboBox->currentText();
    form.FontSizeComboBox->setFocus();
    QTest::keyClick(form.FontSizeComboBox, Qt::Key_Down);
    QVERIFY(form.FontSizeComboBox->currentText() != size);
    QCOMPARE(form.focusWidget(), form.ReaderPanel);
    const QString picked = form.FontSizeComboBox->currentText();
    QTest::keyClick(form.focusWidget(), Qt::Key_Down);
    QCOMPARE(form.FontSizeComboBox->currentText(), picked);
}

void TestComfort::wheelOverLabels()
{
    QLabel* label = H->Labels().at(1);
    const auto turn = [label](int delta) {
        QWheelEvent event(QPointF(5, 5), label->mapToGlobal(QPointF(5, 5)), QPoint(),
                          QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(label, &event);
    };
    const int lines = QApplication::wheelScrollLines();
    turn(-120);
    QCOMPARE(H->Form->SlideState().ReadingLine, lines);
    turn(-240);
    QCOMPARE(H->Form->SlideState().ReadingLine, 3 * lines);
    QCOMPARE(H->Form->ReadingLineScrollBar->value(), 3 * lines);
    turn(120);
    QCOMPARE(H->Form->SlideState().ReadingLine, 2 * lines);
}

QTEST_MAIN(TestComfort)
#include "tst_comfort.moc"
