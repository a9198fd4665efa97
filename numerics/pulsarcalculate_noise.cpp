#include "numerics/approximation.h"
#include "numerics/approximationd.h"
#include "numerics/pulsarcalculate.h"

#include <QDebug>

#include <cmath>
#include <memory>
#include <vector>

namespace {

constexpr int demoPoints = 16384;

template <typename T> double sigmaOf(const T* v, int n) {
    if (!v || n <= 0) {
        return std::nan("");
    }
    double sum = 0;
    for (int i = 0; i < n; ++i) {
        sum += v[i];
    }
    const double mean = sum / n;
    double sq = 0;
    for (int i = 0; i < n; ++i) {
        const double d = v[i] - mean;
        sq += d * d;
    }
    return std::sqrt(sq / (n - 1));
}

template <typename T> bool subtract(const T* in1, const T* in2, T* out, int n) {
    if (n < 2) {
        qDebug() << "Error: bad countIn!";
        return false;
    }
    if (!in1) {
        qDebug() << "Error: bad dataIn1!";
        return false;
    }
    if (!in2) {
        qDebug() << "Error: bad dataIn2!";
        return false;
    }
    if (!out) {
        qDebug() << "Error: bad dataOut0!";
        return false;
    }
    for (int i = 0; i < n; ++i) {
        out[i] = in1[i] - in2[i];
    }
    return true;
}

// A flat series (sigma 0) or one too short for a deviation is left as it is rather than turned into
// infinities.
template <typename T> bool normalise(T* v, int n, double sigma) {
    if (!v || n <= 0) {
        return false;
    }
    if (!(sigma > 0) || !std::isfinite(sigma)) {
        qDebug() << "Error: can't normalise, sigma =" << sigma;
        return false;
    }
    for (int i = 0; i < n; ++i) {
        v[i] = T(v[i] / sigma);
    }
    return true;
}

} // namespace

double PulsarCalculate::getSigma(const float* values, int n) {
    return sigmaOf(values, n);
}

double PulsarCalculate::getSigma(const double* values, int n) {
    return sigmaOf(values, n);
}

bool PulsarCalculate::subtractArrays(const float* in1, const float* in2, float* out, int n) {
    return subtract(in1, in2, out, n);
}

bool PulsarCalculate::subtractArrays(const double* in1, const double* in2, double* out, int n) {
    return subtract(in1, in2, out, n);
}

bool PulsarCalculate::normaliseBySigma(float* values, int n) {
    return normalise(values, n, getSigma(values, n));
}

bool PulsarCalculate::normaliseBySigma(double* values, int n) {
    return normalise(values, n, getSigma(values, n));
}

bool PulsarCalculate::sumChannelsDeductNoise(double* out, int n, double dm) {
    if (!out || n <= 0) {
        qDebug() << "ERROR: sumChannels return false!";
        return false;
    }
    std::vector<double> sum(size_t(n), 0.0);
    if (!sumChannels(sum.data(), n, dm, true)) {
        qDebug() << "ERROR: sumChannels return false!";
        return false;
    }
    std::vector<double> base;
    if (noiseMethod == QLatin1String("polinom5")) {
        base.assign(size_t(n), 0.0);
        ApproximationD approx(sum.data(), base.data(), n);
        if (approx.polinom(5, false) != 1) {
            return false;
        }
    } else if (noiseMethod == QLatin1String("median")) {
        base.assign(size_t(n), 0.0);
        ApproximationD approx(sum.data(), base.data(), n);
        if (approx.median(256) != 1) {
            return false;
        }
    } else if (noiseMethod == QLatin1String("backSum")) {
        // A failed reverse sum or smoothing would leave a baseline of zeros, a wrong result reported as
        // success; both are tested.
        std::vector<double> back(size_t(n), 0.0);
        if (!sumChannels(back.data(), n, 100, false)) {
            return false;
        }
        base.assign(size_t(n), 0.0);
        ApproximationD approx(back.data(), base.data(), n);
        if (approx.averageLinear(128) != 1) {
            return false;
        }
    }
    if (base.empty()) {
        std::copy(sum.begin(), sum.end(), out);
    } else {
        subtractArrays(sum.data(), base.data(), out, n);
    }
    if (withNormalization) {
        normaliseBySigma(out, n);
    }
    return true;
}

bool PulsarCalculate::actionSumChannelsDemoNoise() {
    resultPoints = demoPoints;
    // Arrays go to rawGrafiks (and to the receiver) only once they hold a result; the others are freed.
    std::unique_ptr<float[]> sum(new float[demoPoints]());
    if (!sumChannelsFloat(sum.get(), demoPoints, dispersion, true)) {
        return false;
    }
    float* s = sum.release();
    rawGrafiks.append(s);
    grafikVisible.append(true);
    grafikNames.append(QStringLiteral("sum on canals"));

    auto handOut = [this](std::unique_ptr<float[]>& arr, const QString& name) {
        rawGrafiks.append(arr.release());
        grafikVisible.append(true);
        grafikNames.append(name);
    };

    QString methodLine;
    int differenceCurve = -1;
    if (noiseMethod == QLatin1String("polinom5") || noiseMethod == QLatin1String("median")) {
        const bool poly = noiseMethod == QLatin1String("polinom5");
        std::unique_ptr<float[]> base(new float[demoPoints]());
        Approximation approx(s, base.get(), demoPoints);
        if ((poly ? approx.polinom(5, false) : approx.median(256)) != 1) {
            return false;
        }
        std::unique_ptr<float[]> diff(new float[demoPoints]());
        if (!subtractArrays(s, base.get(), diff.get(), demoPoints)) {
            return false;
        }
        if (withNormalization) {
            normaliseBySigma(diff.get(), demoPoints);
        }
        handOut(base, poly ? QStringLiteral("polinom5 approximation")
                           : QStringLiteral("median line approximation"));
        differenceCurve = rawGrafiks.size();
        handOut(diff, QStringLiteral("minus noise base line"));
        if (poly) {
            methodLine = QStringLiteral("\nApproximation with polinom 5");
        }
    } else if (noiseMethod == QLatin1String("backSum")) {
        std::unique_ptr<float[]> back(new float[demoPoints]());
        if (!sumChannelsFloat(back.get(), demoPoints, 100, false)) {
            return false;
        }
        const float* r = back.get();
        handOut(back, QStringLiteral("back sum on canals"));
        std::unique_ptr<float[]> base(new float[demoPoints]());
        Approximation approx(const_cast<float*>(r), base.get(), demoPoints);
        if (approx.averageLinear(128) != 1) {
            return false;
        }
        const float* b = base.get();
        handOut(base, QStringLiteral("noise approximation"));
        std::unique_ptr<float[]> diff(new float[demoPoints]());
        if (!subtractArrays(s, b, diff.get(), demoPoints)) {
            return false;
        }
        if (withNormalization) {
            normaliseBySigma(diff.get(), demoPoints);
        }
        differenceCurve = rawGrafiks.size();
        handOut(diff, QStringLiteral("minus noise base line"));
        methodLine = QStringLiteral("\nLinear approximation of back sum");
    } else {
        if (withNormalization) {
            normaliseBySigma(s, demoPoints);
        }
        methodLine = QStringLiteral("\nWithow deduct noise base line");
    }

    infoText = QStringLiteral("One summation of channels\n") + QStringLiteral("Dispersion = ") +
               QString::number(dispersion, 'g', 6);
    if (isOrvUtc) {
        infoText += QStringLiteral("\nFirst point time = ") + orvUtc;
    }
    infoText += QStringLiteral("\nFirst point = ") + QString::number(firstPoint) +
                QStringLiteral("\nNumber of points is fixed - 16384") + methodLine;
    grafikPoints = demoPoints;
    count = demoPoints;
    if (!showDeductNoise && differenceCurve >= 0) {
        grafikVisible[differenceCurve] = false;
    }
    return true;
}
