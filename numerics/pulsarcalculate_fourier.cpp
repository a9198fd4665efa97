#include "numerics/fouriertransform.h"
#include "numerics/pulsarcalculate.h"

#include <QDebug>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace {

constexpr int windowPoints = 16384;
constexpr int maxListedHarmonics = 15;

// n / 2^averagings without overflow for any count of averagings.
qint64 halved(int n, int averagings) {
    return averagings >= 31 ? 0 : qint64(n) >> averagings;
}

QString g6(double v) {
    return QString::number(v, 'g', 6);
}

} // namespace

bool PulsarCalculate::getFourier(const double* in, double* out, int countIn, int countOut) {
    if (countIn <= 64) {
        qDebug() << "ERROR! PulsarCalculate::getFourier: Can't draw fourier - too small points!";
        return false;
    }
    const int p = getPowerOfTwoBelow(countIn);
    if (countIn != p) {
        qDebug() << "ERROR! PulsarCalculate::getFourier: countIn must be degree of 2! countIn=" << countIn
                 << " correct: countIn0=" << p;
        return false;
    }
    if (countOut != countIn / 2) {
        qDebug() << "ERROR! PulsarCalculate::getFourier: countOut must equal countIn/2!";
        return false;
    }
    if (!in || !out) {
        qDebug() << "ERROR! PulsarCalculate::getFourier: null array!";
        return false;
    }
    calculateFourierAmplitude(in, out, countIn, countOut);
    return true;
}

bool PulsarCalculate::averageSignal(const double* in, double* out, int n, int averagings, bool addNulls) {
    if (!in || !out || n <= 0) {
        return true;
    }
    if (averagings <= 0) {
        std::copy(in, in + n, out);
        if (addNulls) {
            std::fill(out + n, out + 2 * qint64(n), 0.0);
        }
        return true;
    }
    int m = n / 2;
    for (int i = 0; i < m; ++i) {
        out[i] = (in[2 * i] + in[2 * i + 1]) * 0.5;
    }
    // Later passes read out[2i], out[2i+1] and write out[i] with i <= 2i: in place is the same as from a
    // copy of the previous pass.
    for (int pass = 2; pass <= averagings && m >= 16 && m > 0; ++pass) {
        const int next = m / 2;
        for (int i = 0; i < next; ++i) {
            out[i] = (out[2 * i] + out[2 * i + 1]) * 0.5;
        }
        m = next;
    }
    std::fill(out + m, out + n, 0.0);
    return true;
}

int PulsarCalculate::getPointsAfterAveraging(int n, int averagings, bool addNulls) {
    if (n < 64) {
        return -1;
    }
    const qint64 q = averagings <= 0 ? n : halved(n, averagings);
    const qint64 points = addNulls ? 2 * q : q;
    return points > std::numeric_limits<int>::max() ? std::numeric_limits<int>::max() : int(points);
}

double PulsarCalculate::getTresFactor(int averagings, bool addNulls) {
    const double factor = averagings <= 0 ? 1.0 : std::ldexp(1.0, averagings);
    return addNulls ? factor * 0.5 : factor;
}

bool PulsarCalculate::getFourierOfSum(double* out, int n, double dm, int averagings, bool addNulls) {
    const int N = getPowerOfTwoBelow(n);
    const bool doubled = averagings <= 0 && addNulls;
    const std::size_t room = std::size_t(doubled ? 2 * N : N);
    // Kept across calls: a sweep takes hundreds of spectra of the same size.
    if (averagedScratch.size() < room + std::size_t(N)) {
        averagedScratch.resize(room + std::size_t(N));
    }
    double* sum = averagedScratch.data() + room;
    double* averaged = averagedScratch.data();
    if (!sumChannelsDeductNoise(sum, N, dm)) {
        qDebug() << "ERROR: false!";
        return false;
    }
    averageSignal(sum, averaged, N, averagings, addNulls);
    const int M = getPointsAfterAveraging(N, averagings, addNulls);
    resultPoints = M / 2;
    return getFourier(averaged, out, M, M / 2);
}

bool PulsarCalculate::actionSumChannelsAndFourier() {
    const int M = getPointsAfterAveraging(windowPoints, averageCount, averageWithNull);
    const int K = M / 2;
    std::vector<double> amplitudes(std::size_t(K > 0 ? K : 1), 0.0);
    if (!getFourierOfSum(amplitudes.data(), windowPoints, dispersion, averageCount, averageWithNull)) {
        return false;
    }
    count = K;
    const double sigma = getSigma(amplitudes.data(), K);
    const double level = maxSigma * sigma;

    infoText = QStringLiteral("Sigma = ") + g6(sigma) + QStringLiteral("\n") + QString::number(maxSigma) +
               QStringLiteral(" sigma = ") + g6(level) + QStringLiteral("\n\nHarmonics >= ") +
               QString::number(maxSigma) + QStringLiteral(" sigma:\n\n");
    int listed = 0;
    for (int h = 0; h < K && listed < maxListedHarmonics; ++h) {
        if (amplitudes[std::size_t(h)] > level) {
            infoText += QString::number(h) + QStringLiteral(": ") + g6(amplitudes[std::size_t(h)]) +
                        QStringLiteral("\n");
            ++listed;
        }
    }
    // The harmonic number is free text: one the spectrum does not have gets no block.
    if (harmonicNum >= 0 && harmonicNum < K) {
        infoText += QStringLiteral("\nFirst harmonic:\nnum = ") + QString::number(harmonicNum) +
                    QStringLiteral("\nvalue = ") + g6(amplitudes[std::size_t(harmonicNum)]) +
                    QStringLiteral("\n");
    } else {
        qDebug() << "ERROR! harmonic number outside the spectrum: harmonicNum=" << harmonicNum
                 << "points=" << K;
    }

    QVector<float> spectrum(K);
    for (int h = 0; h < K; ++h) {
        spectrum[h] = float(amplitudes[std::size_t(h)]);
    }
    arrGrafiks.append(spectrum);
    arrGrafiks.append(QVector<float>(K, float(sigma)));
    arrGrafiks.append(QVector<float>(K, float(level)));
    grafikVisible << true << true << true;
    grafikNames << QStringLiteral("fourier of sum channels") << QStringLiteral("1 sigma of fourier")
                << QString::number(maxSigma) + QStringLiteral(" sigma of fourier");
    return true;
}
