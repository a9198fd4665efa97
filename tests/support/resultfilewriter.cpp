#include "support/resultfilewriter.h"

#include <QFile>
#include <QtEndian>

QStringList ResultFileWriter::header(int points, bool typeFloat, const QString& firstPoint) {
    return {QStringLiteral("file: f00_n0_av0"),
            QStringLiteral("points: %1").arg(points),
            typeFloat ? QStringLiteral("type: float") : QStringLiteral("type: double"),
            firstPoint.isEmpty() ? QStringLiteral("first_point:")
                                 : QStringLiteral("first_point: ") + firstPoint,
            QStringLiteral("averages: 0"),
            QStringLiteral("comment: written by the tests")};
}

QByteArray ResultFileWriter::bytes(const QStringList& header, const QVector<Record>& records, bool doubles,
                                   bool separateAll) {
    QByteArray out;
    for (const QString& line : header) {
        out += line.toUtf8() + '\n';
    }
    bool afterBlock = false;
    bool first = true;
    for (const Record& r : records) {
        if (afterBlock || (separateAll && !first)) {
            out += '\n';
        }
        out += "disp: " + QByteArray::number(r.dm) + '\n';
        out += "days: " + QByteArray::number(r.days) + '\n';
        afterBlock = r.days > 0;
        first = false;
        if (!afterBlock) {
            continue;
        }
        for (double v : r.values) {
            char raw[8];
            if (doubles) {
                qToLittleEndian<double>(v, raw);
                out.append(raw, 8);
            } else {
                qToLittleEndian<float>(float(v), raw);
                out.append(raw, 4);
            }
        }
    }
    return out;
}

bool ResultFileWriter::write(const QString& path, const QStringList& header, const QVector<Record>& records,
                             bool doubles, int dropBytes, bool separateAll) {
    QByteArray data = bytes(header, records, doubles, separateAll);
    data.chop(dropBytes);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return false;
    }
    return f.write(data) == data.size();
}
