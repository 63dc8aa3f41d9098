#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

// Every modal dialog goes through the dialog service, so tests can script and assert it. Only
// the Qt implementation of the service may name Qt's dialog classes or run a modal loop.
class TestDialogPolicy : public QObject
{
    Q_OBJECT

private slots:
    void onlyTheServiceShowsDialogs();
};

void TestDialogPolicy::onlyTheServiceShowsDialogs()
{
    const QString root = QStringLiteral(QV_SOURCE_DIR);
    const QRegularExpression forbidden(QStringLiteral(
        R"(\b(QMessageBox|QInputDialog|QFontDialog|QColorDialog|QFileDialog)\b|(\.|->)exec\s*\(\s*\))"));
    const QStringList allowed = {QStringLiteral("dialogs/QtDialogService.cpp"),
                                 QStringLiteral("dialogs/QtDialogService.h")};
    QStringList offenders;
    int scanned = 0;
    for (const char* dir : {"app", "common", "files", "reader", "search", "dialogs", "platform"}) {
        QDirIterator it(root + u'/' + QLatin1String(dir),
                        {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            const QString relative = path.mid(root.size() + 1);
            if (allowed.contains(relative))
                continue;
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            ++scanned;
            const QString source = QString::fromUtf8(file.readAll());
            if (source.contains(forbidden))
                offenders << relative;
        }
    }
    QVERIFY(scanned > 0);
    QVERIFY2(offenders.isEmpty(), qPrintable(offenders.join(u", ")));
}

QTEST_APPLESS_MAIN(TestDialogPolicy)
#include "tst_dialogpolicy.moc"
