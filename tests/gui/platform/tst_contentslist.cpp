#include "platform/ContentsListBox.h"

#include <QLineEdit>
#include <QTest>

// The contents list on its own: entries kept back during an update, rows wide enough for the
// widest entry, and entries that cannot be edited in place.
class TestContentsList : public QObject
{
    Q_OBJECT

private slots:
    void keptBackUntilTheUpdateEnds();
    void clearDropsEntriesKeptBack();
    void widestEntryFits_data();
    void widestEntryFits();
    void entriesAreNotEdited();
};

void TestContentsList::keptBackUntilTheUpdateEnds()
{
    TContentsListBox list;
    list.AddEntry(QStringLiteral("前= 1"));
    list.BeginUpdate();
    QVERIFY(!list.updatesEnabled());
    list.AddEntry(QStringLiteral("一= 2"));
    list.AddEntry(QStringLiteral("二= 3"));
    QCOMPARE(list.count(), 1);
    QCOMPARE(list.EntryCount(), 3);
    list.EndUpdate();
    QVERIFY(list.updatesEnabled());
    QCOMPARE(list.Entries(), (QStringList{"前= 1", "一= 2", "二= 3"}));
    QCOMPARE(list.Text(2), QStringLiteral("二= 3"));
}

// A new text empties the list while a search still runs: what the search kept back belongs to
// the old text.
void TestContentsList::clearDropsEntriesKeptBack()
{
    TContentsListBox list;
    list.BeginUpdate();
    list.AddEntry(QStringLiteral("古い= 1"));
    list.Clear();
    QCOMPARE(list.EntryCount(), 0);
    list.EndUpdate();
    QVERIFY(list.Entries().isEmpty());
}

void TestContentsList::widestEntryFits_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<int>("widest");
    const QString wide = QString(40, u'W') + QStringLiteral("= 2");
    const QString ideographic = QString(30, u'あ') + QStringLiteral("= 3");
    QTest::newRow("wide letters after a short entry") << QStringList{"a= 1", wide, "b= 3"} << 1;
    QTest::newRow("ideographs last") << QStringList{"a= 1", "b= 2", ideographic} << 2;
    QTest::newRow("mixed, one by one") << QStringList{wide, ideographic + wide, "c= 3"} << 1;
}

void TestContentsList::widestEntryFits()
{
    QFETCH(QStringList, entries);
    QFETCH(int, widest);
    TContentsListBox list;
    list.resize(200, 200);
    for (const QString& entry : entries)
        list.AddEntry(entry);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    const QRect row = list.visualRect(list.model()->index(widest, 0));
    QVERIFY2(row.width() >= list.fontMetrics().horizontalAdvance(entries.at(widest)),
             "the widest entry is not cut off");
    QCOMPARE(list.visualRect(list.model()->index(0, 0)).height(), row.height());
}

void TestContentsList::entriesAreNotEdited()
{
    TContentsListBox list;
    list.SetEntries({QStringLiteral("見出し= 1")});
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    const QPoint at = list.visualRect(list.model()->index(0, 0)).center();
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, at);
    list.SetCurrentRow(0);
    QTest::keyClick(&list, Qt::Key_F2);
    QVERIFY2(!list.viewport()->findChild<QLineEdit*>(), "an editor was opened");
    QCOMPARE(list.Text(0), QStringLiteral("見出し= 1"));
}

QTEST_MAIN(TestContentsList)
#include "tst_contentslist.moc"
