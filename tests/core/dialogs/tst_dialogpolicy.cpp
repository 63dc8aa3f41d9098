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
    void foldersDependOneWay();
};

void TestDialogPolicy::onlyTheServiceShowsDialogs()
{
    const QString root = QStringLiteral(QV_SOURCE_DIR);
    const QRegularExpression forbidden(QStringLiteral(
        R"(\b(QMessageBox|QInputDialog|QFontDialog|QColorDialog|QFileDialog)\b|(\.|->)exec\s*\(\s*\))"));
    const QStringList allowed = {QStringLiteral("platform/QtDialogService.cpp"),
                                 QStringLiteral("platform/QtDialogService.h")};
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

// Each folder includes only itself and the folders below it, so no two folders depend on each
// other and the core logic never reaches up into the window.
void TestDialogPolicy::foldersDependOneWay()
{
    const QStringList order = {QStringLiteral("common"), QStringLiteral("platform"),
                               QStringLiteral("search"), QStringLiteral("reader"),
                               QStringLiteral("files"),  QStringLiteral("dialogs"),
                               QStringLiteral("app")};
    const QString root = QStringLiteral(QV_SOURCE_DIR);
    const QRegularExpression include(QStringLiteral(R"(#include "(\w+)/)"));
    QStringList upward;
    for (qsizetype level = 0; level < order.size(); ++level) {
        QDirIterator it(root + u'/' + order.at(level),
                        {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile file(it.next());
            QVERIFY(file.open(QIODevice::ReadOnly));
            auto matches = include.globalMatch(QString::fromUtf8(file.readAll()));
            while (matches.hasNext()) {
                const QString folder = matches.next().captured(1);
                if (order.indexOf(folder) > level)
                    upward << file.fileName().mid(root.size() + 1) + QStringLiteral(" -> ") +
                                  folder;
            }
        }
    }
    QVERIFY2(upward.isEmpty(), qPrintable(upward.join(u", ")));
}

QTEST_APPLESS_MAIN(TestDialogPolicy)
#include "tst_dialogpolicy.moc"
