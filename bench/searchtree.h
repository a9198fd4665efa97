#ifndef SEARCHTREE_H
#define SEARCHTREE_H

// The search-result tree the search benchmarks read: one file per date in a folder per month, each
// with a block of `points` numbers (three decimals, pseudo-random, the same in every run) for each of
// `dms` DMs; every date distinct.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

namespace Bench {

inline bool writeSearchTree(const QString& root, int dates, int dms, int points) {
    unsigned state = 7;
    for (int d = 0; d < dates; ++d) {
        const int day = d % 28 + 1;
        const int month = d / 28 % 12 + 1;
        const int year = 2020 + d / (28 * 12);
        const QString dir = QStringLiteral("%1/%2").arg(root).arg(month, 2, 10, QLatin1Char('0'));
        QDir().mkpath(dir);
        QFile f(QStringLiteral("%1/%2.%3.%4_search.txt")
                    .arg(dir)
                    .arg(year)
                    .arg(month, 2, 10, QLatin1Char('0'))
                    .arg(day, 2, 10, QLatin1Char('0')));
        if (!f.open(QIODevice::WriteOnly)) {
            return false;
        }
        QByteArray text;
        for (int m = 0; m < dms; ++m) {
            text += "sigma=3.1\ndisp=" + QByteArray::number(m * 0.5, 'f', 1) + '\n';
            for (int i = 0; i < points; ++i) {
                state = state * 1664525u + 1013904223u;
                text += QByteArray::number(double(state >> 12) / 100000.0, 'f', 3);
                text += i + 1 < points ? ' ' : '\n';
            }
        }
        f.write(text);
    }
    return true;
}

} // namespace Bench

#endif // SEARCHTREE_H
