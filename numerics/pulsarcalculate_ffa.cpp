#include "core/desktop.h"
#include "core/tools.h"
#include "numerics/ffacore.h"
#include "numerics/periodogram.h"
#include "numerics/pulsarcalculate.h"

#include <QDebug>
#include <QFile>
#include <QStringList>
#include <QTextStream>

#include <algorithm>
#include <cmath>
#include <exception>
#include <vector>

namespace {

constexpr int ffaWindow = 16384;
constexpr int strongPeriodLines = 16;

// Number of values making up the lowest `percent` percent of n.
qint64 lowestCount(int n, int percent) {
    return qint64(n) * percent / 100;
}

// The lowest `percent` percent of n values, ascending, in double; empty when that is no value at all.
template <typename T> std::vector<double> lowestValues(const T* v, int n, int percent) {
    const qint64 m = lowestCount(n, percent);
    if (!v || m <= 0) {
        return {};
    }
    std::vector<double> sorted(v, v + n);
    std::sort(sorted.begin(), sorted.end());
    sorted.resize(std::size_t(m));
    return sorted;
}

double meanOf(const std::vector<double>& values) {
    double sum = 0;
    for (const double x : values) {
        sum += x;
    }
    return sum / double(values.size());
}

// Trial count of the size table, or -1 when the shortest period cannot hold bins_min bins.
qint64 sizeOrMinusOne(int points, double tsamp, double period_min, double period_max, int bins_min,
                      int bins_max) {
    if (!(period_min >= bins_min * tsamp)) {
        return -1;
    }
    // Arguments the table does not check itself (a bad tsamp) are refused by the core.
    try {
        return qint64(periodogram_size(std::size_t(points), tsamp, period_min, period_max,
                                       std::size_t(bins_min), std::size_t(bins_max)));
    } catch (const std::exception&) {
        return -1;
    }
}

} // namespace

double getMeanOfLowestPercent(const float* v, int n, int p) {
    if (p < 1 || p > 100) {
        p = 100;
    }
    const std::vector<double> lowest = lowestValues(v, n, p);
    return lowest.empty() ? std::nan("") : meanOf(lowest);
}

double PulsarCalculate::getSigmaOfLowestPercent(const double* v, int n, int p) {
    if (p <= 0) {
        p = 1;
    }
    if (p > 100) {
        p = 100;
    }
    const std::vector<double> lowest = lowestValues(v, n, p);
    if (lowest.empty()) {
        return std::nan("");
    }
    const double mean = meanOf(lowest);
    double sq = 0;
    for (const double x : lowest) {
        const double d = x - mean;
        sq += d * d;
    }
    return std::sqrt(sq / double(lowest.size() - 1));
}

QString PulsarCalculate::getFfaInfo(double period_min, double period_max, int bins_min, int bins_max,
                                    double ducy_max, double wtsp, double tsamp) {
    // Written as "not (the required relation)" so that NaN fails too.
    if (!(period_min > 0)) {
        return QStringLiteral("period_min must be > 0");
    }
    if (!(period_max > period_min)) {
        return QStringLiteral("period_max must be > period_min");
    }
    if (bins_min < 2) {
        return QStringLiteral("bins_min must be > 1");
    }
    if (bins_max < bins_min) {
        return QStringLiteral("bins_max must be >= bins_min");
    }
    QStringList widths;
    for (int w : Periodogram::makeTrialWidths(bins_min, ducy_max, wtsp)) {
        widths.append(QString::number(w));
    }
    QString text = QStringLiteral("widts={") + widths.join(QStringLiteral(", ")) + QStringLiteral("}\n\n");
    text += QStringLiteral("av\tp0\tp1\tnum0\tnum1\n");
    for (int av = 0; av <= 6; ++av) {
        const double scale = std::ldexp(1.0, av);
        const int p0 = Tools::pointsAfterHalving(ffaWindow, av, false);
        const int p1 = Tools::pointsAfterHalving(ffaWindow, av, true);
        const qint64 num0 = sizeOrMinusOne(p0, scale * tsamp, period_min, period_max, bins_min, bins_max);
        const qint64 num1 =
            sizeOrMinusOne(p1, scale * 0.5 * tsamp, period_min, period_max, bins_min, bins_max);
        text += QStringLiteral("%1\t%2\t%3\t%4\t%5\n").arg(av).arg(p0).arg(p1).arg(num0).arg(num1);
    }
    text += QStringLiteral("\ntres=%1 - sampling time\n").arg(QString::number(tsamp, 'g', 6));
    text += QStringLiteral("\nav\t - number of signal averagings befor FFA");
    text += QStringLiteral("\np0  \t - points in signal without adding nulls");
    text += QStringLiteral("\np1  \t - points in signal with adding nulls");
    text += QStringLiteral("\nnum0  \t - number of periods without adding nulls");
    text += QStringLiteral("\nnum1  \t - number of periods with adding nulls");
    text += QStringLiteral("\n\n-1 - Error, mast be period_min>=tsamp*bins_min");
    return text;
}

bool PulsarCalculate::actionCreateFFA() {
    std::vector<double> sum(ffaWindow);
    if (!sumChannelsDeductNoise(sum.data(), ffaWindow, dispersion)) {
        return false;
    }
    const bool doubled = averageCount <= 0 && averageWithNull;
    std::vector<double> averaged(std::size_t(doubled ? 2 * ffaWindow : ffaWindow));
    averageSignal(sum.data(), averaged.data(), ffaWindow, averageCount, averageWithNull);
    const int M = std::max(0, getPointsAfterAveraging(ffaWindow, averageCount, averageWithNull));
    count = M;
    std::vector<float> series(averaged.begin(), averaged.begin() + M);
    const double tsamp = data.tres * getTresFactor(averageCount, averageWithNull);

    PeriodogramResult R =
        Periodogram::ffa_search(series.data(), series.size(), tsamp, period_min, period_max, fpmin, bins_min,
                                bins_max, ducy_max, wtsp, true, false, 4.0, 101);
    if (!R.error.isEmpty()) {
        Desktop::instance()->warning(messageParent, QStringLiteral("Critical error"), R.error);
        fail(R.error);
        errorShown = true;
        R.release();
        return false;
    }
    const int np = R.numPeriods;
    const int nw = R.numWidths;
    const int cells = np * nw;

    // Grouped by width: block w holds the np periods of width w.
    std::vector<double> V(static_cast<std::size_t>(cells));
    for (int i = 0; i < np; ++i) {
        for (int w = 0; w < nw; ++w) {
            V[std::size_t(w) * std::size_t(np) + std::size_t(i)] =
                R.snr[std::size_t(i) * std::size_t(nw) + std::size_t(w)];
        }
    }
    if (downToNull) {
        // Too few values for the percent give no mean; the S/N then stays as it is rather than vanish.
        const double floor = getMeanOfLowestPercent(R.snr, cells, nullProc);
        if (std::isfinite(floor)) {
            for (double& v : V) {
                v -= floor;
            }
        }
    }
    const auto periodText = [&](int i) { return QString::number(R.periods[i], 'f', 2); };
    const auto binsText = [&](int i) { return QString::number(R.foldbins[i]); };
    QString widthLines;
    for (int w = 0; w < nw; ++w) {
        widthLines += QStringLiteral("width=%1\n").arg(qulonglong(R.widths[w]));
    }

    if (show_as_is) {
        count = cells;
        QVector<float> curve(cells);
        std::copy(V.begin(), V.end(), curve.begin());
        arrGrafiks.append(curve);
        grafikVisible.append(true);
        grafikNames.append(QStringLiteral("FFA SNR as one-dimension array"));
        arrX1.reserve(cells);
        arrX2.reserve(cells);
        for (int w = 0; w < nw; ++w) {
            for (int i = 0; i < np; ++i) {
                arrX1.append(periodText(i));
                arrX2.append(binsText(i));
            }
        }
        infoText += QStringLiteral("axe Y:  SNR\n") + QStringLiteral("axe X:  number of points\n") +
                    QStringLiteral("axe X1:  periods for each widths\n") +
                    QStringLiteral("axe X2: foldbins for each widths\n") +
                    QStringLiteral("\nnumber of points: %1\n\n").arg(count) + widthLines;
    } else {
        const QString name = Tools::lastPathPart(data.filePath);
        const QString fileName = QStringLiteral("%1_array.txt").arg(name);
        QFile file(fileName);
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
            QTextStream out(&file);
            out << "fileName = " << name << "\n";
            for (int k = 0; k < cells; ++k) {
                out << k << ": " << QString::number(V[std::size_t(k)], 'g', 6) << "\n";
                if ((k + 1) % np == 0) {
                    out << "------------------- cols=" << (k + 1) / np << "\n";
                }
            }
        } else {
            qDebug() << "Error of open test file = " << fileName;
        }

        count = np;
        for (int w = 0; w < nw; ++w) {
            QVector<float> curve(np);
            std::copy(V.begin() + std::ptrdiff_t(w) * np, V.begin() + std::ptrdiff_t(w + 1) * np,
                      curve.begin());
            arrGrafiks.append(curve);
            grafikVisible.append(true);
            grafikNames.append(QStringLiteral("width=%1").arg(qulonglong(R.widths[w])));
        }
        infoText += QStringLiteral("axe Y:  SNR\n") + QStringLiteral("axe X:  number of points\n") +
                    QStringLiteral("axe X1:  periods\n") + QStringLiteral("axe X2: foldbins\n") +
                    QStringLiteral("\nnumber of periods: %1\n\n").arg(np) + widthLines;
        arrX1.reserve(np);
        arrX2.reserve(np);
        for (int i = 0; i < np; ++i) {
            arrX1.append(periodText(i));
            arrX2.append(binsText(i));
        }
    }

    if (showSigma && (sigmaLevel1 > 0 || sigmaLevel2 > 0)) {
        const double F = getSigmaOfLowestPercent(V.data(), cells, sigmaProc);
        // A NaN estimate (too few values for the percent) is as unusable as an absurd one.
        if (!(F >= -100 && F <= 1000)) {
            Desktop::instance()->warning(messageParent, QStringLiteral("Error"),
                                         QStringLiteral("Error of calculating sigma"));
            R.release();
            return true;
        }
        for (int level : {sigmaLevel1, sigmaLevel2}) {
            if (level > 0) {
                arrGrafiks.append(QVector<float>(count, float(level * F)));
                grafikVisible.append(true);
                grafikNames.append(QStringLiteral("%1 sigma").arg(level));
            }
        }
        infoText += QStringLiteral("\nsigma = %1\n").arg(QString::number(F, 'g', 6));
        if (sigmaLevel1 > 1) {
            infoText += QStringLiteral("%1*sigma = %2\n")
                            .arg(sigmaLevel1)
                            .arg(QString::number(sigmaLevel1 * F, 'f', 2));
        }
        if (sigmaLevel2 > 1 && sigmaLevel2 != sigmaLevel1) {
            infoText += QStringLiteral("%1*sigma = %2\n")
                            .arg(sigmaLevel2)
                            .arg(QString::number(sigmaLevel2 * F, 'f', 2));
        }
        const int L = std::max(sigmaLevel1, sigmaLevel2);
        const double line = F * L;
        infoText +=
            QStringLiteral("\nHarmonics > %1*sigma=%2:\n\n").arg(L).arg(QString::number(line, 'f', 2));
        int listed = 0;
        for (int k = 0; k < cells && listed < strongPeriodLines; ++k) {
            if (V[std::size_t(k)] > line) {
                infoText += QString::number(R.periods[k % np], 'g', 6) + QStringLiteral(": ") +
                            QString::number(V[std::size_t(k)], 'g', 6) + QStringLiteral("\n");
                ++listed;
            }
        }
    }
    R.release();
    return true;
}
