#ifndef DMSNRSERIES_H
#define DMSNRSERIES_H

#include <QHash>
#include <QString>
#include <QVector>

// Point k of every DM's profile of one date and period, as the curve of the S/N against DM graph.
// The best value and its DM are taken in the date's DM order (the first DM wins a tie); the points
// are then ordered by ascending DM, so a curve drawn through them runs left to right. Plain values.
struct DmSnrSeries {
    QVector<double> dms;
    QVector<double> values;
    double best = -100000;
    double low = 10000;
    int bestDm = -1; // 0 for a DM text that is not a whole number

    // A DM whose profile is missing or not longer than k is left out.
    static DmSnrSeries build(const QHash<QString, QVector<double>>& profiles, const QString& date,
                             const QString& period, const QVector<QString>& dateDms, int k);
};

#endif // DMSNRSERIES_H
