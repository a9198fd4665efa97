#ifndef PULSEFILEWRITER_H
#define PULSEFILEWRITER_H

#include <QByteArray>
#include <QString>
#include <QVector>

// Writes pulse-time files for tests of the period search: raw bytes (odd spacing, line ends), or a
// times file with one "yyyy-MM-ddThh:mm:ss.zzz" local time per line.
class PulseFileWriter {
public:
    static bool write(const QString& path, const QByteArray& bytes);
    // Times in ms since the epoch.
    static bool writeTimes(const QString& path, const QVector<qint64>& times);
    // Times at the given offsets in ms from 2018-01-01 00:00 local time.
    static QVector<qint64> timesAt(const QVector<qint64>& offsetsMs);
};

#endif // PULSEFILEWRITER_H
