#include "reader/ReaderStatus.h"

#include <QLocale>

namespace {

QString RunText(const TReaderStatusFacts& facts)
{
    switch (facts.Run) {
    case TReadingRun::Running:
        return facts.Variable ? QStringLiteral("変速スライド中") : QStringLiteral("スライド中");
    case TReadingRun::Paused:
        return QStringLiteral("一時停止");
    case TReadingRun::Stopped:
        break;
    }
    return QStringLiteral("停止");
}

} // namespace

QString ReadingTimeText(qint64 ms)
{
    const qint64 seconds = (qMax<qint64>(0, ms) + 999) / 1000;
    const qint64 h = seconds / 3600;
    const qint64 m = seconds / 60 % 60;
    const qint64 s = seconds % 60;
    const QString mmss =
        QStringLiteral("%1:%2").arg(m, h > 0 ? 2 : 1, 10, QChar(u'0')).arg(s, 2, 10, QChar(u'0'));
    return h > 0 ? QString::number(h) + u':' + mmss : mmss;
}

QString ReaderStatusText(const TReaderStatusFacts& facts)
{
    const int interval = qMax(1, facts.IntervalMs);
    const int step = qMax(1, facts.SlideStep);
    QString text = RunText(facts) + QStringLiteral("  %1 ms × %2行").arg(interval).arg(step);
    // The file name goes last: a narrow reader cuts the strip at its right end, and the name is
    // what the user knows anyway.
    const QString name =
        facts.FileName.isEmpty() ? QString() : QStringLiteral("  ") + facts.FileName;
    const int n = facts.LineCount;
    if (n <= 0)
        return text + name;
    const int line = qBound(0, facts.ReadingLine, n - 1);
    const double percent = 100.0 * (line + 1) / n;
    const double perMinute = double(facts.Characters) / n * step * 60000.0 / interval;
    // A slide is over once the last line has left the first label.
    const qint64 slides = (qint64(n) - line + step - 1) / step;
    QLocale grouped = QLocale::c();
    grouped.setNumberOptions(QLocale::DefaultNumberOptions);
    text += QStringLiteral("  %1%  %2字/分  残り %3")
                .arg(QString::number(percent, 'f', 1))
                .arg(grouped.toString(qRound64(perMinute)))
                .arg(ReadingTimeText(slides * interval));
    return text + name;
}
