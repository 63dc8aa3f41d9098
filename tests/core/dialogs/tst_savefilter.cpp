#include "dialogs/FileDialogs.h"

#include <QTest>

// The save dialog's filter built from the filter items.
class TestSaveFilter : public QObject
{
    Q_OBJECT

private slots:
    void setSaveDialogFilter_data();
    void setSaveDialogFilter();
};

void TestSaveFilter::setSaveDialogFilter_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<bool>("result");
    QTest::addColumn<QString>("listAfter");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<int>("allFilesIndex");
    QTest::addColumn<QStringList>("extensions");
    const QString all = QStringLiteral("|すべてのファイル(*.*)|*.*");
    const QStringList kept{QStringLiteral(".kept")};
    QTest::newRow("two items") << "*.txt/*.rtf;*.doc" << true << "*.txt/*.rtf;*.doc"
                               << "*.txt|*.txt|*.rtf;*.doc|*.rtf;*.doc" + all << 3
                               << QStringList{".txt", ".rtf"};
    QTest::newRow("one item") << "*.txt" << true << "*.txt"
                              << "*.txt|*.txt" + all << 2 << QStringList{".txt"};
    QTest::newRow("empty pieces are no items")
        << "/*.txt//*.log/" << true << "/*.txt//*.log/"
        << "*.txt|*.txt|*.log|*.log" + all << 3 << QStringList{".txt", ".log"};
    QTest::newRow("empty list") << "" << false << "*.txt"
                                << "(*.txt)|*.txt" + all << 2 << kept;
    QTest::newRow("a list without items") << "//" << false << "*.txt"
                                          << "*.txt|*.txt" + all << 2 << kept;
}

void TestSaveFilter::setSaveDialogFilter()
{
    QFETCH(QString, list);
    QFETCH(bool, result);
    QFETCH(QString, listAfter);
    QFETCH(QString, filter);
    QFETCH(int, allFilesIndex);
    QFETCH(QStringList, extensions);
    TFileDialogsForm form([](const QString&, const QString&, int) { return 1; });
    QCOMPARE(form.SaveDialog1.Filter, QStringLiteral("すべてのファイル(*.*)|*.*"));
    QCOMPARE(form.AllFilesIndex, 1);
    // A failure leaves the extensions as they were.
    form.DefaultExtensions = QStringList{QStringLiteral(".kept")};
    QCOMPARE(form.SetSaveDialogFilter(list), result);
    QCOMPARE(list, listAfter);
    QCOMPARE(form.SaveDialog1.Filter, filter);
    QCOMPARE(form.AllFilesIndex, allFilesIndex);
    QCOMPARE(form.DefaultExtensions, extensions);
}

QTEST_GUILESS_MAIN(TestSaveFilter)
#include "tst_savefilter.moc"
