#include "support/pulsefilewriter.h"

#include <QDateTime>
#include <QFile>

bool PulseFileWriter::write(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

bool PulseFileWriter::writeTimes(const QString& path, const QVector<qint64>& times) {
    QByteArray bytes;
    for (const qint64 t : times) {
        bytes += QDateTime::fromMSecsSinceEpoch(t, Qt::LocalTime)
                     .toString(QStringLiteral("yyyy-MM-ddThh:mm:ss.zzz"))
                     .toLatin1() +
                 '\n';
    }
    return write(path, bytes);
}

QVector<qint64> PulseFileWriter::timesAt(const QVector<qint64>& offsetsMs) {
    const qint64 base = QDateTime(QDate(2018, 1, 1), QTime(0, 0), Qt::LocalTime).toMSecsSinceEpoch();
    QVector<qint64> times;
    for (const qint64 o : offsetsMs) {
        times.append(base + o);
    }
    return times;
}
