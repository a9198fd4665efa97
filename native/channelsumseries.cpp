#include "native/channelsumseries.h"

#include "core/desktop.h"
#include "core/tools.h"
#include "numerics/approximationv.h"
#include "numerics/pulsarcalculate.h"

#include <QDebug>

#include <algorithm>
#include <cmath>

namespace {

// Adds src read from index i + shift into out, clamping the read index to the channel's ends. Three
// plain loops instead of a test per point.
void addShifted(double* out, const float* src, int n, qint64 shift) {
    // Result points that read before the start, inside, and past the end of the channel.
    const qint64 lowEnd = std::clamp<qint64>(-shift, 0, n);
    const qint64 highStart = std::clamp<qint64>(qint64(n) - shift, lowEnd, n);
    const double first = double(src[0]);
    const double last = double(src[n - 1]);
    for (qint64 i = 0; i < lowEnd; ++i) {
        out[i] += first;
    }
    if (lowEnd < highStart) {
        const float* p = src + (lowEnd + shift);
        for (qint64 i = lowEnd; i < highStart; ++i) {
            out[i] += double(*p++);
        }
    }
    for (qint64 i = highStart; i < n; ++i) {
        out[i] += last;
    }
}

bool inputsUsable(const QVector<QVector<float>>& channels, const QVector<double>& fbands, double tres) {
    if (fbands.size() < 6 || !(tres >= 1e-7) || channels.size() < fbands.size()) {
        return false;
    }
    const int n = channels.at(0).size();
    if (n < 10) {
        return false;
    }
    for (int c = 0; c < fbands.size(); ++c) {
        const double f = fbands.at(c);
        if (channels.at(c).size() != n || !std::isfinite(f) || f <= 0) {
            return false;
        }
    }
    return true;
}

} // namespace

QVector<double> ChannelSumSeries::sumChannels(const QVector<QVector<float>>& channels, double dm,
                                              const QVector<double>& fbands, double tres) {
    if (!inputsUsable(channels, fbands, tres)) {
        qDebug() << "ERROR 1! NativeMultiForm::sumChannels";
        return {};
    }
    const int r = fbands.size() - 1;
    const QVector<float>& ref = channels.at(r);
    const int n = ref.size();
    QVector<double> result(n);
    double* out = result.data();
    const float* refData = ref.constData();
    for (int i = 0; i < n; ++i) {
        out[i] = double(refData[i]);
    }
    const double fRef = fbands.at(r);
    for (int c = r - 1; c >= 0; --c) {
        addShifted(out, channels.at(c).constData(), n, dispersionShift(fbands.at(c), fRef, dm, tres));
    }
    return result;
}

QVector<double> ChannelSumSeries::deductNoise(QWidget* parent, QVector<double> series, int len) {
    const QVector<double> baseline = approxMedian(series, len);
    for (int i = 0; i < series.size(); ++i) {
        series[i] -= baseline.at(i);
    }
    const double sigma = Tools::stdDev(series);
    if (sigma < 1e-7) {
        Desktop::instance()->warning(parent, QStringLiteral("Error"), QStringLiteral("Ошибка sigma!"));
        return series;
    }
    for (double& v : series) {
        v /= sigma;
    }
    return series;
}

QVector<double> ChannelSumSeries::make(const QVector<QVector<float>>& channels, double dm,
                                       const Options& options, const QVector<double>& fbands, double tres,
                                       QWidget* parent) {
    QVector<double> s = sumChannels(channels, dm, fbands, tres);
    if (options.deleteStep) {
        s = Tools::removeStepFromSeries(s, true);
    }
    if (options.deductNoise || options.showApprox) {
        if (options.len < 3 || options.len > s.size()) {
            Desktop::instance()->warning(
                parent, QStringLiteral("Error"),
                QStringLiteral("Введите длину отрезка для аппроксимации по медианным значениям!"));
            return s;
        }
        // Showing the baseline wins over deducting it.
        s = options.showApprox ? approxMedian(s, options.len) : deductNoise(parent, s, options.len);
    }
    if (options.averageN > 0 && options.averageType == 0) {
        s = Tools::smoothRepeated(s, options.averageN);
    } else if (options.averageN > 1 && options.averageType == 1) {
        s = Tools::movingAverage(s, options.averageN);
    }
    return s;
}
