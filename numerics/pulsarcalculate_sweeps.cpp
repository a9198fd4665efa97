#include "core/busyguard.h"
#include "core/tools.h"
#include "numerics/approximation.h"
#include "numerics/pulsarcalculate.h"

#include <QDebug>

#include <cmath>
#include <vector>

namespace {

constexpr int windowPoints = 16384;
constexpr int sweepPoints = 100;
constexpr double sweepFrom = 0;
constexpr double sweepTo = 100;
constexpr int familyCurves = 7;
const char* const separator = "..............................................\n";

QString g6(double v) {
    return QString::number(v, 'g', 6);
}

QString axesLines(int harmonic) {
    return QStringLiteral("Axis X: dispersion (from ") + g6(sweepFrom) + QStringLiteral(" to ") +
           g6(sweepTo) + QStringLiteral(")\nAxis Y: value of harmonic number ") + QString::number(harmonic);
}

QString maximumLine(const Approximation& fit) {
    return QStringLiteral("\nMaximum: x = ") + g6(fit.extremumX) + QStringLiteral(", y = ") +
           g6(fit.extremumY) + QStringLiteral("\n");
}

// Adds one curve of a family: the harmonic swept over the dispersions with `averagings`, fitted by a
// cubic whose extremum is marked; `maximum` gets the text of that extremum. False when a step fails.
bool addFamilyCurve(PulsarCalculate& calc, int averagings, QString& maximum) {
    QVector<float> values(sweepPoints);
    if (!calc.getHarmonicOnDispersions(values.data(), sweepPoints, sweepFrom, sweepTo, calc.harmonicNum,
                                       averagings, calc.averageWithNull)) {
        return false;
    }
    QVector<float> fit(sweepPoints);
    Approximation approx(values.data(), fit.data(), sweepPoints);
    if (approx.polinom(3, true) != 1) {
        return false;
    }
    calc.arrGrafiks.append(fit);
    calc.grafikVisible.append(true);
    calc.markers.append(approx.extremumIndex);
    maximum = maximumLine(approx);
    return true;
}

} // namespace

bool PulsarCalculate::getHarmonicOnDispersions(float* values, int n, double dmFrom, double dmTo, int harmonic,
                                               int averagings, bool addNulls) {
    BusyGuard busy;
    if (firstPoint <= 0 || qint64(firstPoint) + windowPoints >= data.npoints) {
        firstPoint = 0;
    }
    const int K = getPointsAfterAveraging(windowPoints, averagings, addNulls) / 2;
    // The harmonic number is free text: one the spectrum does not have ends the sweep before it starts.
    if (harmonic < 0 || harmonic >= K) {
        qDebug() << "ERROR! harmonic number outside the spectrum: harmonic=" << harmonic << "points=" << K;
        return fail(QStringLiteral("Harmonic number %1 is outside the spectrum: it has harmonics 0 to %2.")
                        .arg(harmonic)
                        .arg(K - 1));
    }
    if (!values || n <= 0) {
        qDebug() << "Error: bad dataOut0!";
        return false;
    }
    std::vector<double> spectrum(std::size_t(K), 0.0);
    for (int i = 0; i < n; ++i) {
        const double dm = (dmTo - dmFrom) / n * i + dmFrom;
        if (!getFourierOfSum(spectrum.data(), windowPoints, dm, averagings, addNulls)) {
            return false;
        }
        values[i] = float(spectrum[std::size_t(harmonic)]);
        emit progress(int(100 * qint64(i + 1) / n));
        BusyGuard::processEvents();
    }
    return true;
}

bool PulsarCalculate::actionSum4Dispersions() {
    static const double shifts[4] = {0.15, 0.10, 0.05, 0};
    if (dispersions.size() < 4) {
        qDebug() << "ERROR! four dispersions needed, got" << dispersions.size();
        return false;
    }
    const int K = getPointsAfterAveraging(windowPoints, averageCount, averageWithNull) / 2;
    std::vector<double> spectrum(std::size_t(K > 0 ? K : 1), 0.0);
    for (int j = 0; j < 4; ++j) {
        if (!getFourierOfSum(spectrum.data(), windowPoints, dispersions.at(j), averageCount,
                             averageWithNull)) {
            return false;
        }
        QVector<float> curve(K);
        for (int h = 0; h < K; ++h) {
            curve[h] = float(spectrum[std::size_t(h)] + shifts[j]);
        }
        arrGrafiks.append(curve);
        grafikVisible.append(true);
        grafikNames.append(QStringLiteral("dispersion %1").arg(j + 1));
    }
    infoText = QStringLiteral("Sum of channels and fourier\nFixed number of points = 16384");
    if (harmonicNum > 0 && harmonicNum < K) {
        infoText +=
            QStringLiteral("\n\nFirst harmonic:\n\nHarmonic number = ") + QString::number(harmonicNum);
        for (int j = 0; j < 4; ++j) {
            infoText += QStringLiteral("\ndisp%1 = ").arg(j + 1) +
                        QString::number(dispersions.at(j), 'f', 1) + QStringLiteral(" value = ") +
                        QString::number(double(arrGrafiks[j][harmonicNum]) - shifts[j], 'f', 5);
        }
    }
    count = K;
    return true;
}

bool PulsarCalculate::actionSumAllDispersions() {
    BusyGuard busy;
    QVector<float> values(sweepPoints);
    if (!getHarmonicOnDispersions(values.data(), sweepPoints, sweepFrom, sweepTo, harmonicNum, averageCount,
                                  averageWithNull)) {
        return false;
    }
    count = sweepPoints;
    QVector<float> fit(sweepPoints);
    Approximation approx(values.data(), fit.data(), sweepPoints);
    if (approx.polinom(3, true) != 1) {
        return false;
    }
    arrGrafiks << values << fit;
    grafikVisible << true << true;
    grafikNames << QStringLiteral("first harmonic of dispersion")
                << QStringLiteral("approximation by polinom 3");
    if (approx.extremumIndex > 0) {
        markers.append(approx.extremumIndex);
    }
    QString method;
    if (noiseMethod == QLatin1String("polinom5")) {
        method = QStringLiteral("- Deduct null by polinom 5 approx.\n");
    } else if (noiseMethod == QLatin1String("backSum")) {
        method = QStringLiteral("- Deduct null by back sum\n");
    } else if (noiseMethod == QLatin1String("without")) {
        method = QStringLiteral("- Without deduct null\n");
    }
    infoText = QStringLiteral("- Summation of channels with disp\n- Fixed number of points = 16384\n") +
               method + QStringLiteral("- Get fourier\n- See value of harmonic ") +
               QString::number(harmonicNum) + QStringLiteral("\n\n") + axesLines(harmonicNum) +
               QStringLiteral("\n\nResult:\n") + QLatin1String(separator) +
               QStringLiteral("Polinom extremums:\nx1 = ") + g6(approx.x1) + QStringLiteral(", x2 = ") +
               g6(approx.x2);
    if (approx.extremumX > 0) {
        infoText += QStringLiteral("\n\nMaximum:\nx = ") + g6(approx.extremumX) + QStringLiteral(", y = ") +
                    g6(approx.extremumY);
    }
    infoText += QStringLiteral("\n") + QLatin1String(separator);
    return true;
}

bool PulsarCalculate::actionSumMultiDispersions() {
    BusyGuard busy;
    multiResultShown = false;
    infoText = axesLines(harmonicNum) + QStringLiteral("\nChange: averages (see colors)\n\n");
    for (int av = 0; av < familyCurves; ++av) {
        averageCount = av;
        QString maximum;
        if (!addFamilyCurve(*this, av, maximum)) {
            return false;
        }
        grafikNames.append(QString::number(av + 1) + QStringLiteral(". average ") + QString::number(av));
        infoText += QLatin1String(separator) + QString::number(av + 1) + QStringLiteral(". Average ") +
                    QString::number(av) + QStringLiteral(":") + maximum;
    }
    infoText += QLatin1String(separator);
    count = sweepPoints;
    return true;
}

bool PulsarCalculate::actionSumTimeDispersions() {
    BusyGuard busy;
    multiResultShown = false;
    infoText = axesLines(harmonicNum) + QStringLiteral("\nChange: first point (see colors)") +
               QStringLiteral("\n\n");
    const int centre = firstPoint;
    firstPoint = centre - 3 * firstPointDelta;
    for (int k = 1; k <= familyCurves; ++k) {
        QString maximum;
        if (!addFamilyCurve(*this, averageCount, maximum)) {
            return false;
        }
        QString label;
        if (isOrvUtc) {
            label = QString::number(k) + QStringLiteral(". Time ") +
                    Tools::addSecsToTimeString(orvUtc, (k - 4) * orvUtcDelta);
        } else {
            label = QString::number(k) + QStringLiteral(". First point ") + QString::number(firstPoint);
        }
        grafikNames.append(label);
        infoText += QLatin1String(separator) + label + QStringLiteral(":") + maximum;
        firstPoint += firstPointDelta;
    }
    firstPoint = centre;
    infoText += QLatin1String(separator);
    count = sweepPoints;
    return true;
}

bool PulsarCalculate::showMultiResult(float x) {
    const int n = arrGrafiks.size();
    if (n == 0) {
        qDebug() << "ERROR! PulsarCalculate::showMultiResult: arrGrafiks is empty!";
        return false;
    }
    const float rounded = std::round(x);
    // A dispersion that is no index at all reads nothing, like one past the curves.
    const int e = std::fabs(rounded) < 1e9f ? int(rounded) : -1;
    const bool multi = action == QLatin1String("sumMultiDispersions");
    const bool time = action == QLatin1String("sumTimeDispersions");
    auto label = [&](int i) {
        if (multi) {
            return QStringLiteral(". Average ") + QString::number(i);
        }
        if (time && isOrvUtc) {
            return QStringLiteral(". Time ") + Tools::addSecsToTimeString(orvUtc, (i - 3) * orvUtcDelta);
        }
        if (time) {
            return QStringLiteral(". First point ") + QString::number((i - 3) * firstPointDelta + firstPoint);
        }
        return QString();
    };
    // Reads curve i at e into y; false (and a zero) when curve i has no such point.
    auto valueAt = [&](int i, float& y) {
        const QVector<float>& curve = arrGrafiks.at(i);
        if (e >= 0 && e < curve.size()) {
            y = curve.at(e);
            infoText +=
                QString::number(i + 1) + label(i) + QStringLiteral(": ") + g6(y) + QStringLiteral("\n");
            return true;
        }
        y = 0;
        qDebug() << "ERROR! dispersion > size of grafik " << i;
        return false;
    };

    if (!multiResultShown) {
        multiResultShown = true;
        savedInfoText = infoText;
        grafikVisible = QVector<bool>(n, false);
        markers.clear();
        infoText = QString();
        if (multi) {
            infoText += QStringLiteral("Axis X: averages (see colors)\n");
        } else if (time) {
            infoText += QStringLiteral("Axis X: first point (see colors)\n");
        }
        infoText += QStringLiteral("Axis Y: harmonic ") + QString::number(harmonicNum) +
                    QStringLiteral(" val on disp=") + g6(double(x)) + QStringLiteral("\n\n");
        count = n;
        QVector<float> values(n);
        for (int i = 0; i < n; ++i) {
            if (valueAt(i, values[i])) {
                markers.append(i);
            }
        }
        arrGrafiks.append(values);
        grafikVisible.append(true);
        return true;
    }

    infoText = QString();
    // The single-dispersion curve is the last one; the family curves come before it. A later run of
    // another action may have changed both, so nothing past either is read or written.
    QVector<float>& values = arrGrafiks.last();
    const int curves = qMin(qMin(count, n - 1), values.size());
    for (int i = 0; i < curves; ++i) {
        valueAt(i, values[i]);
    }
    return true;
}

bool PulsarCalculate::returnMultiGrafiks() {
    if (!multiResultShown) {
        qDebug() << "ALREADY in MultiGrafiks";
        return false;
    }
    multiResultShown = false;
    if (arrGrafiks.isEmpty()) {
        qDebug() << "ERROR! PulsarCalculate::showMultiResult: arrGrafiks is empty!";
        return false;
    }
    if (arrGrafiks.size() < 2) {
        qDebug() << "ERROR! PulsarCalculate::showMultiResult: arrGrafiks.size()<2!";
        return false;
    }
    arrGrafiks.removeLast();
    grafikVisible = QVector<bool>(arrGrafiks.size(), true);
    count = arrGrafiks.first().size();
    markers.clear();
    infoText = savedInfoText;
    return true;
}
