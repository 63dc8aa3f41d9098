#include "platform/ArchiveReader.h"
#include "tests/support/ZipMaker.h"

#include <QTest>

Q_DECLARE_METATYPE(TArchiveText::TStatus)

class TestArchiveReader : public QObject
{
    Q_OBJECT

private slots:
    void read_data();
    void read();
};

void TestArchiveReader::read_data()
{
    QTest::addColumn<QByteArray>("zip");
    QTest::addColumn<qint64>("limit");
    QTest::addColumn<TArchiveText::TStatus>("status");
    QTest::addColumn<QByteArray>("text");
    using S = TArchiveText::TStatus;
    const qint64 big = ArchiveTextLimit;

    // "あ" in CP932, as an archive of a Japanese text holds it.
    const QByteArray sjis("\x82\xa0\r\n");
    QTest::newRow("one text") << MakeZip({{"a.txt", sjis}}) << big << S::Read << sjis;
    QTest::newRow("first text by name, any case") << MakeZip({{"readme.html", "<p>"},
                                                              {"b.txt", "second"},
                                                              {"__MACOSX/._A.TXT", "fork"},
                                                              {"dir/", {}, true},
                                                              {"A.TXT", "first"}})
                                                  << big << S::Read << QByteArray("first");
    QTest::newRow("empty text") << MakeZip({{"a.txt", {}}}) << big << S::Read << QByteArray();
    QTest::newRow("no text") << MakeZip({{"a.html", "x"}, {"d.txt/", {}, true}}) << big << S::NoText
                             << QByteArray();
    QTest::newRow("no entry at all") << MakeZip({}) << big << S::NoText << QByteArray();
    const QByteArray whole = MakeZip({{"a.txt", QByteArray(4000, 'x') + sjis}});
    QTest::newRow("truncated") << whole.left(whole.size() / 2) << big << S::Damaged << QByteArray();
    // The entry itself is whole and its checksum holds: only the directory after it is gone.
    QTest::newRow("directory cut off")
        << whole.left(whole.size() - 30) << big << S::Read << QByteArray(4000, 'x') + sjis;
    QTest::newRow("no zip") << QByteArray("PK not really") << big << S::Damaged << QByteArray();
    QTest::newRow("nothing") << QByteArray() << big << S::Damaged << QByteArray();
    // Compresses to a few kilobytes; the limit stands in for the real one.
    QTest::newRow("bomb") << MakeZip({{"a.txt", QByteArray(3 << 20, ' ')}}) << qint64(1 << 20)
                          << S::TooLarge << QByteArray();
    QTest::newRow("exactly the limit") << MakeZip({{"a.txt", QByteArray(1 << 20, ' ')}})
                                       << qint64(1 << 20) << S::Read << QByteArray(1 << 20, ' ');
    const QByteArray encrypted = MakeZip({{"a.txt", sjis}}, "secret");
    if (!encrypted.isEmpty())
        QTest::newRow("encrypted") << encrypted << big << S::Encrypted << QByteArray();
}

void TestArchiveReader::read()
{
    QFETCH(QByteArray, zip);
    QFETCH(qint64, limit);
    QFETCH(TArchiveText::TStatus, status);
    QFETCH(QByteArray, text);
    const TArchiveText result = ReadArchiveText(zip, limit);
    QCOMPARE(int(result.Status), int(status));
    QCOMPARE(result.Bytes, text);
    if (status != TArchiveText::TStatus::Read)
        QVERIFY(!ArchiveMessage(status).isEmpty());
}

QTEST_APPLESS_MAIN(TestArchiveReader)
#include "tst_archivereader.moc"
