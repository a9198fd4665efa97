// The FFA map: its axes ("ffaMap") and the map file built from the checked days.
#include "directory/calc/fouriercalculate.h"

#include "core/busyguard.h"
#include "core/tools.h"
#include "directory/calc/spectrumnoise.h"

#include <QDebug>
#include <QFile>

#include <cmath>

namespace {

QString g6(double v) {
    return QString::number(v, 'g', 6);
}

constexpr int descriptorCount = 49; // shifts -3..3 x averagings 0..6

} // namespace

bool FourierCalculate::createFfaMapAxes() {
    const int R = periodogramInfo.rows;
    const QVector<double>& p = periodogramInfo.periods;
    if (R < 1 || p.size() < R) {
        return false; // nothing to lay out; the layout reader never leaves this
    }
    arrGrafikX.clear();
    arrGridY = dmGrid();
    double lo = std::floor(p[0]);
    double hi = std::ceil(p[R - 1]);
    if (xMax > 0 && xMax < p[R - 1]) {
        hi = xMax;
    }
    if (xMin > 0 && xMin < p[R - 1]) {
        lo = xMin;
    }
    lo = std::floor(lo);
    hi = std::ceil(hi);
    if (!ffaMapLog) {
        for (int i = 0; i < R; ++i) {
            if (p[i] >= lo) {
                arrGrafikX.append(p[i]);
                if (p[i] > hi) {
                    break;
                }
            }
        }
        arrGrafikX.append(hi);
    } else {
        // A log axis has no place for 0: below 1 s it starts at the first tenth.
        arrGrafikX = decadeTicks(lo > 0 ? lo : 0.1, lo < 1 ? 0.1 : 1.0, hi);
    }
    if (approxLen != 0) {
        return true;
    }
    // The fold bins repeat their first value at the length of one approximation window; it must lie
    // among the layout's rows.
    const QVector<int>& f = periodogramInfo.foldbins;
    const int repeat = findRepeatIndex(f);
    if (f.size() < R || repeat == 0 || repeat >= R) {
        errors = QStringLiteral("Can't determine length of approximation!");
        return false;
    }
    approxLen = repeat;
    return true;
}

bool FourierCalculate::createFfaMapAxesIfLaid() {
    if (periodogramInfo.rows == 0 || periodogramInfo.periods.isEmpty()) {
        return false;
    }
    return createFfaMapAxes();
}

bool FourierCalculate::ffaMap() {
    withNulls = 0;
    if (!readFfaLayout() || !createFfaMapAxes()) {
        return false;
    }
    names.append(QStringLiteral("points with S/N>=%1").arg(g6(minSnr)));
    if (period > 0) {
        markersX.append(period);
        names.append(QStringLiteral("period=%1").arg(g6(period)));
    }
    if (showDispersion > 0) {
        markersY.append(showDispersion);
        names.append(QStringLiteral("dispersion=%1").arg(g6(showDispersion)));
    }
    return true;
}

bool FourierCalculate::createFfaMapFile(const QString& fileName) {
    const int R = periodogramInfo.rows;
    const qint64 N = qint64(R) * periodogramInfo.cols;
    if (R < 1 || N < 1) {
        errors = QStringLiteral("Error: S/N points < 1!");
        return false;
    }
    if (N > maxPeriodogramPoints || periodogramInfo.periods.size() < R) {
        errors = QStringLiteral("Bad periodogram info!");
        return false;
    }
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
        errors = QStringLiteral("Can't open file for write ") + fileName;
        return false;
    }
    if (mapPoints) {
        mapPoints->clear();
    }
    file.write("file_name     dispersion     point      snr     period       size\n");

    // One descriptor's sums at a time: all of them at once would be 49 x DMs x N doubles. The points
    // found, which are few, wait in the file's order: DM, then shift, then averagings.
    const int nDM = dispersions.size();
    QVector<QString> lines(nDM * descriptorCount);
    QVector<QVector<MapPoint>> found(nDM * descriptorCount);
    int added = 0;
    QString baselineError;
    BusyGuard busy;
    for (int s = -3; s <= 3 && baselineError.isEmpty(); ++s) {
        for (int a = 0; a <= 6 && baselineError.isEmpty(); ++a) {
            const int descriptor = 7 * (s + 3) + a;
            QHash<QString, QVector<double>> sums;
            for (int d : dispersions) {
                sums.insert(Tools::fourierFileBaseD(s, a, 0, d), QVector<double>(int(N), 0.0));
            }
            added += sumCheckedRowsIntoHash(sums, s, a, 0, int(N), descriptor, descriptorCount);
            const QString base = Tools::fourierFileBase(s, a, false);
            for (int m = 0; m < nDM; ++m) {
                const int d = dispersions[m];
                QVector<double>& v = sums[Tools::fourierFileBaseD(s, a, 0, d)];
                double sigma = 0;
                const FfaBaseline baseline = deductFfaBaseline(v, sigma);
                if (baseline == FfaBaseline::MedianRefused) {
                    baselineError = QStringLiteral("Error of deduct median noise approximation!");
                    break;
                }
                if (baseline == FfaBaseline::PolinomRefused) {
                    baselineError = QStringLiteral("Error of deduct polinom noise approximation!");
                    break;
                }
                if (!(sigma > 0.0001)) { // NaN too: no noise to measure against
                    continue;
                }
                const int slot = m * descriptorCount + descriptor;
                for (int k = 0; k < int(N); ++k) {
                    if (!(v[k] >= 4 * sigma)) {
                        continue;
                    }
                    const double ratio = v[k] / sigma;
                    const double snr = v[k] > 10000 ? -1 : ratio;
                    const double p = periodogramInfo.periods[k % R];
                    const int size = Tools::levelOf(ratio, 4.0);
                    lines[slot] += QStringLiteral("%1\t\t%2\t\t%3\t\t%4\t\t%5\t\t%6\n")
                                       .arg(base)
                                       .arg(d, 4)
                                       .arg(k, 5)
                                       .arg(QString::number(snr, 'f', 1), QString::number(p, 'f', 4))
                                       .arg(size);
                    MapPoint point;
                    point.selected = true;
                    point.harmonic = k;
                    point.dispersion = d;
                    point.shift = s;
                    point.averages = a;
                    point.withNulls = 0;
                    point.circleSize = size;
                    point.excludeFlag = 0;
                    point.sumAlfa = 1;
                    point.period = p;
                    point.snr = snr;
                    found[slot].append(point);
                }
            }
        }
    }
    if (added == 0) {
        errors = QStringLiteral("No days were summed!");
        return false;
    }
    if (!baselineError.isEmpty()) {
        errors = baselineError;
        return false;
    }
    for (int slot = 0; slot < lines.size(); ++slot) {
        file.write(lines[slot].toUtf8());
        if (mapPoints) {
            mapPoints->append(found[slot]);
        }
    }
    return file.error() == QFileDevice::NoError;
}
