#include "numerics/periodogram.h"

#include "numerics/ffacore.h"

#include <QDebug>

#include <cmath>
#include <limits>
#include <new>
#include <stdexcept>

namespace {

// int(x) truncated toward zero, with NaN as 0 and the ends of the range instead of overflow.
qint64 truncated(double x) {
    if (std::isnan(x)) {
        return 0;
    }
    if (x >= 9.0e18) {
        return qint64(9.0e18);
    }
    if (x <= -9.0e18) {
        return -qint64(9.0e18);
    }
    return qint64(x);
}

} // namespace

void PeriodogramResult::release() {
    delete[] widths;
    delete[] periods;
    delete[] foldbins;
    delete[] snr;
    widths = nullptr;
    periods = nullptr;
    foldbins = nullptr;
    snr = nullptr;
}

Periodogram::Periodogram() {
    qDebug() << "Periodogram::Periodogram()";
}

float* Periodogram::normalise(float* data, std::size_t size, bool inPlace) {
    qDebug() << "--------------- Periodogram::normalise()";
    float* out = data;
    if (!inPlace) {
        out = new float[size];
        std::copy(data, data + size, out);
    }
    if (size == 0) {
        return out;
    }
    double sum = 0;
    for (std::size_t i = 0; i < size; ++i) {
        sum += out[i];
    }
    const double mean = sum / double(size);
    double sq = 0;
    for (std::size_t i = 0; i < size; ++i) {
        const double d = out[i] - mean;
        sq += d * d;
    }
    const double variance = sq / (double(size) - 1.0);
    const double sigma = std::sqrt(variance);
    qDebug() << "disp=" << variance;
    qDebug() << "sigma=" << sigma;
    for (std::size_t i = 0; i < size; ++i) {
        out[i] = float((out[i] - mean) / sigma);
    }
    return out;
}

QVector<int> Periodogram::makeTrialWidths(int bins_min, double ducy_max, double wtsp) {
    qint64 wmax = truncated(ducy_max * bins_min);
    if (wmax <= 0) {
        wmax = 1;
    }
    wmax = std::min<qint64>(wmax, std::numeric_limits<int>::max());
    QVector<int> widths;
    qint64 w = 1;
    widths.append(int(w));
    for (;;) {
        w = std::max(w + 1, truncated(double(w) * wtsp));
        if (w > wmax) {
            break;
        }
        widths.append(int(w));
    }
    return widths;
}

PeriodogramResult Periodogram::ffa_search(float* data, std::size_t size, double tsamp, double period_min,
                                          double period_max, int /*fpmin*/, int bins_min, int bins_max,
                                          double ducy_max, double wtsp, bool alreadyNormalised,
                                          bool /*deredden*/, double /*rmed_width*/, int /*rmed_minpts*/) {
    qDebug() << "--------------------------- Periodogram::ffa_search():";
    PeriodogramResult result;
    if (!alreadyNormalised) {
        normalise(data, size, true);
    }
    const QVector<int> widths0 = makeTrialWidths(bins_min, ducy_max, wtsp);
    qDebug() << "widths0.size()=" << widths0.size();

    // Negative counts compare as huge unsigned values, as the core sees them.
    const std::size_t binsMin = std::size_t(qint64(bins_min));
    const std::size_t binsMax = std::size_t(qint64(bins_max));
    result.error = periodogram_args_error(size, tsamp, period_min, period_max, binsMin, binsMax);
    if (!result.error.isEmpty()) {
        return result;
    }
    // A width reaching the smallest bins count has no S/N (a division by zero in the core).
    if (widths0.last() >= bins_min) {
        result.error = QStringLiteral("trial widths must be all > 0 and < columns");
        return result;
    }
    const std::size_t n = periodogram_size(size, tsamp, period_min, period_max, binsMin, binsMax);
    qDebug() << "length=" << qulonglong(n);

    const std::size_t nw = std::size_t(widths0.size());
    // Callers index trials and S/N values with 32-bit counts.
    const std::size_t limit = std::size_t(std::numeric_limits<std::int32_t>::max());
    if (n > limit || n * nw / nw != n || n * nw > limit) {
        result.error = QStringLiteral("Too many trials for the periodogram: %1 periods x %2 widths")
                           .arg(qulonglong(n))
                           .arg(qulonglong(nw));
        return result;
    }
    result.widths = new (std::nothrow) std::size_t[nw];
    result.periods = new (std::nothrow) double[n];
    result.foldbins = new (std::nothrow) std::int32_t[n];
    result.snr = new (std::nothrow) float[n * nw];
    if (!result.widths || !result.periods || !result.foldbins || !result.snr) {
        result.release();
        result.error = QStringLiteral("Not enough memory for the periodogram: %1 periods x %2 widths")
                           .arg(qulonglong(n))
                           .arg(qulonglong(nw));
        return result;
    }
    for (std::size_t k = 0; k < nw; ++k) {
        result.widths[k] = std::size_t(widths0[int(k)]);
    }
    try {
        compute_periodogram(data, size, tsamp, result.widths, nw, period_min, period_max, binsMin, binsMax,
                            result.periods, result.foldbins, result.snr);
    } catch (const std::bad_alloc&) {
        result.release();
        result.error = QStringLiteral("Not enough memory for the periodogram: %1 periods x %2 widths")
                           .arg(qulonglong(n))
                           .arg(qulonglong(nw));
        return result;
    } catch (const std::exception& e) {
        result.release();
        result.error = QString::fromUtf8(e.what());
        return result;
    }
    result.numPeriods = std::int32_t(n);
    result.numWidths = std::int32_t(nw);
    return result;
}
