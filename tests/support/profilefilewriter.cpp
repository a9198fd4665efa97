#include "support/profilefilewriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cmath>

QString ProfileFileWriter::fileName(const QString& date, const QString& dm, const QString& period,
                                    int decimals) {
    return QStringLiteral("p%1_dm%2_p%3_s%4.txt").arg(date, dm, period).arg(decimals);
}

QString ProfileFileWriter::text(const QVector<Block>& blocks) {
    QString out;
    for (const Block& b : blocks) {
        out += QStringLiteral("period=") + b.first + QLatin1Char('\n');
        QStringList values;
        for (double v : b.second) {
            values << QString::number(v, 'g', 10);
        }
        out += values.join(QLatin1Char(' ')) + QLatin1Char('\n');
    }
    return out;
}

bool ProfileFileWriter::write(const QString& path, const QString& content) {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return false;
    }
    return f.write(content.toUtf8()) >= 0;
}

bool ProfileFileWriter::write(const QString& path, const QVector<Block>& blocks) {
    return write(path, text(blocks));
}

QVector<double> ProfileFileWriter::pulse(int n, int at, double height) {
    QVector<double> v(n);
    for (int i = 0; i < n; ++i) {
        const double d = (i - at) / 3.0;
        v[i] = 1 + height * std::exp(-d * d / 2);
    }
    return v;
}
