#include "directory/calc/fouriercalculate.h"

#include "core/tools.h"

#include <cmath>

QVector<double> FourierCalculate::decadeTicks(double start, double step, double end) {
    QVector<double> ticks;
    if (!(step > 0) || !std::isfinite(start) || !std::isfinite(end)) {
        return ticks;
    }
    double x = start;
    double d = step;
    while (x <= end) {
        ticks.append(x);
        x += d;
        double r = x / (10 * d);
        r -= std::round(r);
        if (r > -0.000001 && r < 0.000001) {
            d *= 10;
        }
    }
    return ticks;
}

QVector<double> FourierCalculate::dmGrid() {
    QVector<double> grid;
    for (int decade = 1; decade <= 100; decade *= 10) {
        for (int n = 1; n <= 9; ++n) {
            grid.append(double(n * decade));
        }
    }
    grid.append(1000);
    grid.append(1100);
    return grid;
}

bool FourierCalculate::calculateMap() {
    arrGridY = dmGrid();
    if (points == 16384) {
        arrGrafikX = decadeTicks(0.02, 0.01, 7.0);
    } else if (plosh == QLatin1String("N4")) {
        arrGrafikX = decadeTicks(0.006, 0.001, 7.0);
    } else {
        arrGrafikX = decadeTicks(0.001, 0.001, 5.0);
    }
    markersY.clear();
    if (mapPoints && !mapPoints->isEmpty()) {
        names.append(QStringLiteral(" average with nulls"));
        names.append(QStringLiteral(" average without nulls"));
    }
    if (period > 0) {
        markersX.append(period);
        names.append(QStringLiteral("period=%1").arg(period, 0, 'g', 6));
    }
    if (showDispersion > 0) {
        markersY.append(showDispersion);
        names.append(QStringLiteral("dispersion=%1").arg(showDispersion, 0, 'g', 6));
    }
    return true;
}

bool FourierCalculate::sum3sigmaGraph() {
    // The circles stand on the DM axis of the maps; the graph draws nothing without it.
    arrGrafikX = dmGrid();
    calculateSum3sigma();
    return true;
}

void FourierCalculate::calculateSum3sigma() {
    const QString series = Tools::fourierFileBase(shift, averages, withNulls != 0);
    const bool sumShifts = sumFlags.value(QStringLiteral("shifts"), false);
    const bool sumAverages = sumFlags.value(QStringLiteral("averages"), false);
    const bool sumWithNulls = sumFlags.value(QStringLiteral("withNulls"), false);
    const bool summing = sumShifts || sumAverages || sumWithNulls;

    QString pattern = series;
    QHash<QString, Sum3sigmaRecord> summed;
    if (summing) {
        if (sumAverages) {
            pattern = pattern.left(9) + QLatin1Char('*');
        }
        if (sumWithNulls) {
            pattern = pattern.left(5) + QLatin1Char('*') + pattern.right(4);
        }
        if (sumShifts) {
            pattern = QStringLiteral("f**") + pattern.right(7);
        }
        // The series that add into the pattern, in the order they are summed.
        QVector<QString> descriptors;
        for (int s = -3; s <= 3; ++s) {
            if (s != shift && !sumShifts) {
                continue;
            }
            for (int w = 1; w >= 0; --w) {
                if (w != withNulls && !sumWithNulls) {
                    continue;
                }
                for (int a = 0; a <= 6; ++a) {
                    if (a != averages && !sumAverages) {
                        continue;
                    }
                    descriptors.append(Tools::fourierFileBase(s, a, w != 0));
                }
            }
        }
        for (int i = 0; i < harmonics3sigma.size(); ++i) {
            if (!rowChecked.value(i, false)) {
                continue;
            }
            const int h = harmonics3sigma[i];
            for (const int d : dispersions) {
                const QString prefix = Sum3sigmaRecord::key(h, d, QString());
                const QString target = prefix + pattern;
                for (const QString& descriptor : descriptors) {
                    const auto source = sum3sigma.constFind(prefix + descriptor);
                    if (source == sum3sigma.constEnd()) {
                        continue;
                    }
                    auto into = summed.find(target);
                    if (into == summed.end()) {
                        Sum3sigmaRecord copy;
                        copy.dispersion = d;
                        copy.snr = source->snr;
                        copy.lines = source->lines;
                        summed.insert(target, copy);
                    } else {
                        into->snr += source->snr;
                        into->lines += source->lines;
                    }
                }
            }
        }
    }
    const QHash<QString, Sum3sigmaRecord>& records = summing ? summed : sum3sigma;

    points3sigma.clear();
    visible.clear();
    names.clear();
    for (int i = 0; i < harmonics3sigma.size(); ++i) {
        const int h = harmonics3sigma[i];
        points3sigma.append(QVector<Point3sigma>());
        visible.append(false);
        names.append(QString());
        if (!rowChecked.value(i, false)) {
            continue;
        }
        QVector<Point3sigma>& circles = points3sigma.last();
        for (const int d : dispersions) {
            const auto found = records.constFind(Sum3sigmaRecord::key(h, d, pattern));
            if (found != records.constEnd()) {
                circles.append(Point3sigma{double(d), found->snr, found->lines.join(QString())});
            }
        }
        visible.last() = true;
        names.last() = QStringLiteral("position %1: harmonic %2").arg(pattern).arg(h);
    }
}
