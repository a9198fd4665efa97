// S/N of one FFA trial period against the DM list: "ffaSnrDisp", "ffaSnrDispFirstPoint" and
// "ffaSnrDispAverages".
#include "directory/calc/fouriercalculate.h"

#include "core/busyguard.h"
#include "core/tools.h"
#include "directory/calc/spectrumnoise.h"

#include <QDebug>

namespace {

QString g6(double v) {
    return QString::number(v, 'g', 6);
}

} // namespace

int FourierCalculate::sumCheckedRowsIntoHash(QHash<QString, QVector<double>>& sums, int shift, int averages,
                                             int withNulls, int points, int part, int parts) {
    const int rows = tableRows.size();
    int added = 0;
    for (int j = 0; j < rows; ++j) {
        if (j < rowChecked.size() && rowChecked[j] &&
            addFourierHashFromFile(rowFileName(tableRows[j], shift, averages, withNulls), shift, averages,
                                   withNulls, sums, points)) {
            ++added;
        }
        emitProgress(int(100 * (qint64(part) * rows + j + 1) / (qint64(parts) * rows)));
    }
    return added;
}

FourierCalculate::FfaBaseline FourierCalculate::deductFfaBaseline(QVector<double>& v, double& sigma) {
    if (ffaNoise == QLatin1String("median") && !deductMedianNoiseWindow(v, approxLen)) {
        return FfaBaseline::MedianRefused;
    }
    if (ffaNoise == QLatin1String("polinom") && !deductPolinomNoise(v)) {
        return FfaBaseline::PolinomRefused;
    }
    sigma = Tools::sigmaOfLowest(v, sigmaProc);
    return FfaBaseline::Done;
}

bool FourierCalculate::createSnrDispFFA(QVector<double>& snr, int shift, int averages, int withNulls,
                                        double period) {
    const int nDM = dispersions.size();
    snr = QVector<double>(nDM, 0.0);
    days = 0;
    const qint64 N = qint64(periodogramInfo.rows) * periodogramInfo.cols;
    if (periodogramInfo.rows < 1 || N < 1) {
        errors = QStringLiteral("Error: S/N points < 1!");
        return false;
    }
    const qint64 k = periodIndex(periodogramInfo.periods, period);
    if (N > maxPeriodogramPoints) {
        errors = QStringLiteral("Bad periodogram info!");
        return false;
    }
    if (k >= N || k < 0) {
        errors = QStringLiteral("Неверный период!\nperiod=%1\nperiodNum=%2\nsnrSize=%3")
                     .arg(g6(period))
                     .arg(k)
                     .arg(N);
        return false;
    }
    QHash<QString, QVector<double>> sums;
    for (int d : dispersions) {
        sums.insert(Tools::fourierFileBaseD(shift, averages, withNulls, d), QVector<double>(int(N), 0.0));
    }
    if (!isSearch) {
        BusyGuard busy;
        days += sumCheckedRowsIntoHash(sums, shift, averages, withNulls, int(N), 0, 1);
    } else if (selectedDir.isEmpty()) {
        errors = QStringLiteral("Click on string in the table!");
        return false;
    } else if (addFourierHashFromFile(getFourierFileName(selectedDir, shift, averages, withNulls != 0), shift,
                                      averages, withNulls, sums, int(N))) {
        ++days;
    }
    if (days == 0) {
        errors = QStringLiteral("No days were summed!");
        return false;
    }
    for (int i = 0; i < nDM; ++i) {
        const int d = dispersions[i];
        QVector<double>& v = sums[Tools::fourierFileBaseD(shift, averages, withNulls, d)];
        double sigma = 0;
        const FfaBaseline baseline = deductFfaBaseline(v, sigma);
        if (baseline == FfaBaseline::MedianRefused) {
            snr[i] = 0;
            errors = QStringLiteral("Error of deduct approximation of median noise!");
            return false;
        }
        if (baseline == FfaBaseline::PolinomRefused) {
            errors = QStringLiteral("Error of deduct polinom noise approximation!");
            return false;
        }
        if (sigma >= 0.0001) { // false for NaN: a DM without noise has S/N 0
            snr[i] = v[int(k)] / sigma;
        } else {
            qDebug() << "ERROR10! disp=" << i << " dispersions[disp]=" << d << " sigma=" << sigma;
            snr[i] = 0;
        }
        emitProgress(100 * (i + 1) / nDM);
    }
    return true;
}

bool FourierCalculate::ffaSnrDisp() {
    const int nDM = dispersions.size();
    putDmsOnX();
    if (!readFfaLayout()) {
        return false;
    }
    text += QStringLiteral("Axis X: dispersion\nAxis Y: S/N of period=%1\n").arg(g6(period));
    curvePoints = nDM;
    QVector<double> snr;
    if (!createSnrDispFFA(snr, shift, averages, 0, period)) {
        qDebug().noquote() << "!!!!!!!!!!!! error of createSnrDispFFA()";
        return false;
    }
    appendCurve(snr, QStringLiteral("S/N from dispersion"));
    if (showSigmaLevel > 0) {
        appendCurve(QVector<double>(curvePoints, showSigmaLevel),
                    QStringLiteral("S/N = %1").arg(g6(showSigmaLevel)));
    }
    if (showDispersion > 0) {
        markersX.append(showDispersion);
    }
    const int k = dispersions.isEmpty() ? 0 : getNearestIndex(dispersions, dispersion);
    text += QStringLiteral("\nOn dispersion=%1:\n S/N=%2\n")
                .arg(dispersion)
                .arg(QString::number(k < snr.size() ? snr[k] : 0.0, 'f', 2));
    return true;
}

bool FourierCalculate::ffaSnrDispSeries(bool overShifts) {
    const int nDM = dispersions.size();
    putDmsOnX();
    if (!readFfaLayout()) {
        return false;
    }
    text += QStringLiteral("Axis X: dispersion\nAxis Y: S/N of period=%1\n").arg(g6(period)) +
            (overShifts ? QStringLiteral("Axis Z: first point shift (see colors)\n")
                        : QStringLiteral("Change: averages (see colors)\n\n"));
    curvePoints = nDM;
    for (int step = 0; step < 7; ++step) {
        const SeriesStep at = seriesStep(overShifts, step);
        const int s = at.shift;
        const int a = at.averages;
        QVector<double> snr;
        if (!createSnrDispFFA(snr, s, a, 0, period)) {
            return false;
        }
        if (overShifts) {
            const QString when = s == 0 ? QString() : QLatin1Char(' ') + shiftMinutes(s);
            appendCurve(snr, QStringLiteral("%1. First point: t_culm%2").arg(s + 4).arg(when));
        } else {
            appendCurve(snr, QStringLiteral("Averaging number: %1").arg(a));
        }
    }
    text += QStringLiteral("..............................................\n");
    markersX.append(dispersion);
    if (showSigmaLevel > 0) {
        appendCurve(QVector<double>(curvePoints, showSigmaLevel),
                    QStringLiteral("S/N = %1").arg(g6(showSigmaLevel)));
    }
    return true;
}

bool FourierCalculate::ffaSnrDispFirstPoint() {
    return ffaSnrDispSeries(true);
}

bool FourierCalculate::ffaSnrDispAverages() {
    return ffaSnrDispSeries(false);
}
