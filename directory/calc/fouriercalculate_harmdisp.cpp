// S/N of one harmonic against the DM list: "harmDispOne", "harmDispAverage" and "harmDispFirstPoint".
#include "directory/calc/fouriercalculate.h"

#include "core/busyguard.h"
#include "directory/calc/spectrumnoise.h"
#include "numerics/approximationv.h"

#include <cmath>

namespace {

struct Counts {
    int P; // averaged point count, -1 when the spectrum is too short
    int L; // harmonics per row
};

Counts countsOf(int points, int averages, int withNulls) {
    if (points < 64) {
        return {-1, 0};
    }
    const int p = FourierCalculate::getAveragedPoints(points, averages, withNulls != 0);
    return {p, p / 2};
}

QString noHarmonic(int averages, int withNulls, int harmonic, int L) {
    return QStringLiteral("average=%1, withNull=%2:\nno harmonic %3 in %4 points\n\n")
        .arg(averages)
        .arg(withNulls)
        .arg(harmonic)
        .arg(L);
}

QString g6(double v) {
    return QString::number(v, 'g', 6);
}

} // namespace

int FourierCalculate::sumCheckedRowsIntoMatrix(QVector<QVector<double>>& matrix,
                                               const QVector<QString>& rowNames, int shift, int averages,
                                               int withNulls, int L, bool notFoundPrefix, bool emitRows) {
    const int rows = rowNames.size();
    int added = 0;
    for (int j = 0; j < rows; ++j) {
        if (j < rowChecked.size() && rowChecked[j]) {
            const QString path = rowFileName(rowNames[j], shift, averages, withNulls);
            const int result = addFourierMatrixFromFile(path, matrix, L);
            if (result == 1) {
                ++added;
            } else if (result == -1) {
                errors += (notFoundPrefix ? QStringLiteral("file not found\n%1\n\n")
                                          : QStringLiteral("not found\n%1\n\n"))
                              .arg(path);
            } else {
                errors += QStringLiteral("programm error\n%1\n\n").arg(path);
            }
        }
        if (emitRows) {
            emitProgress(100 * (j + 1) / rows);
        }
    }
    return added;
}

void FourierCalculate::snrOfRows(QVector<QVector<double>>& matrix, QVector<double>& snr, int P, int L,
                                 int harmonic, bool dump) {
    for (int i = 0; i < snr.size() && i < matrix.size(); ++i) {
        QVector<double>& row = matrix[i];
        deductMedianNoiseAuto(row, L);
        const double sigma = getSigmaMedian(row, L, P / 128);
        const double value = row[harmonic];
        // A flat or broken row has no noise to measure against: its S/N is 0, never inf or NaN.
        const double ratio = value / sigma;
        snr[i] = (sigma > 0 && std::isfinite(ratio)) ? ratio : 0;
        if (dump) {
            writeTest(QStringLiteral("%1. disp=%2\tvalue=%3\tsigma=%4\tS/N=%5\n")
                          .arg(i, 3)
                          .arg(dispersions[i], 5)
                          .arg(QString::number(value, 'f', 3), QString::number(sigma, 'f', 4),
                               QString::number(ratio, 'f', 1)));
        }
    }
}

bool FourierCalculate::createSnrDisp(QVector<double>& snr, const QVector<QString>& rows, int shift,
                                     int averages, int withNulls, int harmonic) {
    const int nDM = dispersions.size();
    snr = QVector<double>(nDM, 0.0);
    const Counts c = countsOf(points, averages, withNulls);
    if (harmonic < 0 || harmonic >= c.L) {
        errors += noHarmonic(averages, withNulls, harmonic, c.L);
        return false;
    }
    QVector<QVector<double>> matrix(nDM, QVector<double>(c.L, 0.0));
    if (isSearch) {
        const QString path = getSingleFourierFileName(selectedDir, averages, withNulls);
        const int result = addFourierMatrixFromFile(path, matrix, c.L);
        if (result != 1) {
            errors += (result == -1 ? QStringLiteral("not found\n%1\n\n")
                                    : QStringLiteral("programm error\n%1\n\n"))
                          .arg(path);
            errors += QStringLiteral("Error 11!\n(average=%1 withNull=%2)\n\n").arg(averages).arg(withNulls);
            return false;
        }
    } else if (sumCheckedRowsIntoMatrix(matrix, rows, shift, averages, withNulls, c.L, false, false) == 0) {
        errors += QStringLiteral("No count days!\n(firstPointShift=%1 average=%2 withNull=%3)\n\n")
                      .arg(shift)
                      .arg(averages)
                      .arg(withNulls);
        return false;
    }
    snrOfRows(matrix, snr, c.P, c.L, harmonic, false);
    return true;
}

bool FourierCalculate::harmDispOne() {
    const int nDM = dispersions.size();
    putDmsOnX();
    const Counts c = countsOf(points, averages, withNulls);
    QVector<QVector<double>> matrix(nDM, QVector<double>(c.L, 0.0));
    QVector<double> snr(nDM, 0.0);

    if (!isSearch) {
        BusyGuard busy;
        days += sumCheckedRowsIntoMatrix(matrix, tableRows, shift, averages, withNulls, c.L, true, true);
    } else if (sumAlfa > 1) {
        days = sumFourierN4(matrix, sumAlfa, selectedDir, dispersions, averages, withNulls);
    } else if (!selectedDir.isEmpty()) {
        const QString path = getSingleFourierFileName(selectedDir, averages, withNulls);
        const int result = addFourierMatrixFromFile(path, matrix, c.L);
        if (result == 1) {
            ++days;
        } else {
            errors += (result == -1 ? QStringLiteral("file not found\n%1\n\n")
                                    : QStringLiteral("programm error\n%1\n\n"))
                          .arg(path);
        }
    } else {
        errors = QStringLiteral("Click on string in the table");
        return false;
    }
    if (writeToTestFiles) {
        writeTest(QStringLiteral("N\tdispersion\tvalue\tsigma\tvalue/sigma\n"));
    }
    // No file, no segment and a directory off the segment pattern all leave nothing to show.
    if (days <= 0) {
        errors = QStringLiteral("Нет данных для этих параметров");
        return false;
    }
    if (harmonic < 0 || harmonic >= c.L) {
        errors += noHarmonic(averages, withNulls, harmonic, c.L);
    } else {
        snrOfRows(matrix, snr, c.P, c.L, harmonic, writeToTestFiles);
    }

    if (showCurve) {
        appendCurve(snr, QStringLiteral("S/N from dispersion"));
    }
    if (showDispersion > 0) {
        markersX.append(showDispersion);
    }
    if (showApprox) {
        ApproximationV fit;
        QVector<double> approx(nDM, 0.0);
        const bool fitted = fit.polinom(3, snr, approx, true) == 1;
        if (fitted) {
            appendCurve(approx, QStringLiteral("approximation by polinom 3"));
        }
        text +=
            QStringLiteral("\nResult:\n..............................................\nPolinom extremums:\n");
        if (fitted) {
            text += QStringLiteral("x1 = ") + g6(fit.x1) + QStringLiteral(", x2 = ") + g6(fit.x2);
            if (fit.extremumX > 0) {
                text += QStringLiteral("\n\nMaximum:\nx = ") + g6(fit.extremumX) + QStringLiteral(", y = ") +
                        g6(fit.extremumY);
            }
        } else {
            // Fewer than four DMs, or a refused fit: no stationary points to report.
            text += QStringLiteral("no fit");
        }
        text += QStringLiteral("\n..............................................\n");
    }

    if (!forPrint) {
        for (int level = 5; level >= 1; --level) {
            appendCurve(QVector<double>(nDM, level), QStringLiteral("S/N=%1").arg(level));
        }
        if (showSigmaLevel > 5) {
            appendCurve(QVector<double>(nDM, showSigmaLevel),
                        QStringLiteral("S/N=%1").arg(g6(showSigmaLevel)));
        }
    } else {
        appendCurve(QVector<double>(nDM, showSigmaLevel), QStringLiteral("S/N=%1").arg(g6(showSigmaLevel)));
    }

    const int k = dispersions.isEmpty() ? 0 : getNearestIndex(dispersions, dispersion);
    text += QStringLiteral("Axis Y: S/N of harmonic %1\n").arg(harmonic);
    text += QStringLiteral("Axis X: dispersion\n\n");
    text += QStringLiteral("disp=%1: S/N=%2\n")
                .arg(dispersion, 3)
                .arg(QString::number(snr.isEmpty() ? 0.0 : snr[k], 'f', 2));
    curvePoints = nDM;
    if (!errors.isEmpty()) {
        text += QStringLiteral("\nErrors:\n\n%1\n").arg(errors);
    }
    return true;
}

bool FourierCalculate::harmDispSeries(bool overShifts) {
    const int nDM = dispersions.size();
    putDmsOnX();
    text += QStringLiteral("Axis Y: S/N of harmonic %1\n").arg(harmonic) +
            QStringLiteral("Axis X: dispersion\n") +
            (overShifts ? QStringLiteral("Change: first point (see colors)\n\n")
                        : QStringLiteral("Change: averages (see colors)\n\n"));
    multiText = QStringLiteral("Axis Y: S/N of harmonic %1 on DM %2\n").arg(harmonic).arg(dispersion) +
                (overShifts ? QStringLiteral("Axis X:  first point shift\n\n") +
                                  QStringLiteral("Axis X1: time of culmination\n\n")
                            : QStringLiteral("Axis X: averages number\n") +
                                  QStringLiteral("Axis X1: tresolution, msec\n\n"));
    multiLabelsX1.clear();
    multiLabelsX2.clear();
    multiPoints = 0;
    QVector<double> atDispersion;
    double t = tresolution * 1000;
    const int k = dispersions.isEmpty() ? 0 : getNearestIndex(dispersions, dispersion);

    BusyGuard busy;
    for (int step = 0; step < 7; ++step) {
        const SeriesStep at = seriesStep(overShifts, step);
        const int s = at.shift;
        const int a = at.averages;
        QVector<double> snr;
        if (createSnrDisp(snr, tableRows, s, a, withNulls, harmonic)) {
            const double value = snr.isEmpty() ? 0 : snr[k];
            QString line;
            if (overShifts) {
                appendCurve(snr,
                            QStringLiteral("%1. First point: t_culm %2").arg(s + 4).arg(shiftMinutes(s)));
                const QString sign = s > 0 ? QStringLiteral("+") : s == 0 ? QStringLiteral(" ") : QString();
                line = QStringLiteral("shift=%1%2:  DM=%3  S/N=%4\n")
                           .arg(sign)
                           .arg(s)
                           .arg(dispersion, 3)
                           .arg(QString::number(value, 'f', 2));
                multiLabelsX1.append(QString::number(s));
                multiLabelsX2.append(raTime.isValid()
                                         ? raTime.addSecs(60 * s).toString(QStringLiteral("HH:mm:ss"))
                                         : QString());
            } else {
                appendCurve(snr, QStringLiteral("%1. Average = %1").arg(a));
                line = QStringLiteral("average=%1:  DM=%2  S/N=%3\n")
                           .arg(a)
                           .arg(dispersion, 3)
                           .arg(QString::number(value, 'f', 2));
                multiLabelsX1.append(QString::number(a));
                multiLabelsX2.append(QString::number(t, 'f', 2));
            }
            text += line;
            multiText += line;
            atDispersion.append(value);
            ++multiPoints;
        }
        if (overShifts) {
            emitProgress(100 * step / 7);
        } else {
            emitProgress(100 * (step + 1) / 7);
            t *= 2;
        }
    }
    multiGrafikY = {atDispersion};
    multiVisible = {true};
    multiMarkers.clear();
    if (!errors.isEmpty()) {
        text += QStringLiteral("\nErrors:\n\n%1\n").arg(errors);
    }
    if (showDispersion > 0) {
        markersX.append(showDispersion);
    }
    curvePoints = nDM;
    return true;
}

bool FourierCalculate::harmDispAverage() {
    return harmDispSeries(false);
}

bool FourierCalculate::harmDispFirstPoint() {
    return harmDispSeries(true);
}
