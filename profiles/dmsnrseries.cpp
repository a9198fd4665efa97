#include "profiles/dmsnrseries.h"

#include <QPair>

#include <algorithm>

DmSnrSeries DmSnrSeries::build(const QHash<QString, QVector<double>>& profiles, const QString& date,
                               const QString& period, const QVector<QString>& dateDms, int k) {
    DmSnrSeries s;
    QVector<QPair<double, double>> points;
    if (k < 0) {
        return s;
    }
    for (const QString& d : dateDms) {
        const auto found = profiles.constFind(QStringLiteral("%1_%2_%3").arg(date, d, period));
        if (found == profiles.cend() || k >= found.value().size()) {
            continue;
        }
        const double v = found.value()[k];
        points.append({d.toDouble(), v});
        if (v > s.best) {
            s.best = v;
            s.bestDm = d.toInt();
        }
        if (v < s.low) {
            s.low = v;
        }
    }
    // The scan order of DM texts is not numeric ("100" before "11"): the curve needs them ascending.
    std::stable_sort(
        points.begin(), points.end(),
        [](const QPair<double, double>& a, const QPair<double, double>& b) { return a.first < b.first; });
    s.dms.reserve(points.size());
    s.values.reserve(points.size());
    for (const auto& p : points) {
        s.dms.append(p.first);
        s.values.append(p.second);
    }
    return s;
}
