#include "profiles/statisticsfile.h"

#include <QFile>
#include <QTextStream>
#include <QVector>

QHash<QString, StatisticsRow> StatisticsFile::parse(QTextStream& in) {
    QHash<QString, StatisticsRow> rows;
    QString line;
    in.readLineInto(&line); // the header, whatever it holds
    while (in.readLineInto(&line)) {
        if (!line.startsWith(QLatin1String("20"))) {
            continue;
        }
        const QVector<QStringRef> fields = line.splitRef(QLatin1Char(';'));
        if (fields.size() < 6) {
            continue;
        }
        const QString date = fields[0].toString();
        if (rows.contains(date)) {
            continue;
        }
        StatisticsRow row;
        row.sigma = fields[1].toDouble();
        row.signal = fields[3].toDouble();
        row.snr = fields[4].toDouble();
        rows.insert(date, row);
    }
    return rows;
}

QHash<QString, StatisticsRow> StatisticsFile::parse(const QString& text) {
    QString copy = text;
    QTextStream in(&copy, QIODevice::ReadOnly);
    return parse(in);
}

bool StatisticsFile::read(const QString& path, QHash<QString, StatisticsRow>& rows) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        return false;
    }
    QTextStream in(&f);
    rows = parse(in);
    return true;
}
