#include "core/tools.h"
#include "numerics/approximation.h"
#include "numerics/pulsarcalculate.h"

#include <QDebug>

#include <cmath>

namespace {

constexpr int windowPoints = 16384;
constexpr double defaultPeriod = 3.032072;
constexpr int secondsPerDay = 86400;

QString firstPointLines(const PulsarCalculate& pc) {
    QString text;
    if (pc.isOrvUtc) {
        text += QStringLiteral("\nFirst point time = ") + pc.orvUtc;
    }
    return text + QStringLiteral("\nFirst point = ") + QString::number(pc.firstPoint) +
           QStringLiteral("\nNumber of points = ") + QString::number(pc.count);
}

QString emptyWindow(const PulsarCalculate& pc) {
    return QStringLiteral("First point %1 lies past the end of the file (%2 points).")
        .arg(pc.firstPoint)
        .arg(pc.data.npoints);
}

} // namespace

QString seriesRefusal(const Data& data, int module, int ray, std::optional<int> channel) {
    if (data.npoints <= 0 || !data.samples) {
        qDebug() << "Error of data! data.npoints=" << data.npoints;
        return QStringLiteral("The file holds no samples.");
    }
    if (module < 0 || module >= data.modules) {
        qDebug() << "Error of module, must be: module <" << data.modules;
        return QStringLiteral("Module %1 is not in the file: it has %2.").arg(module + 1).arg(data.modules);
    }
    if (channel && (*channel < 0 || *channel >= data.channels)) {
        qDebug() << "Error of channel, must be: channels <" << data.channels;
        return QStringLiteral("Channel %1 is not in the file: it has %2.")
            .arg(*channel + 1)
            .arg(data.channels);
    }
    if (ray < 0 || ray >= data.rays) {
        qDebug() << "Error ray, must be: rays <" << data.rays;
        return QStringLiteral("Ray %1 is not in the file: it has %2.").arg(ray + 1).arg(data.rays);
    }
    return QString();
}

QString timeResolutionRefusal(const Data& data) {
    if (data.tres > 0 && std::isfinite(data.tres)) {
        return QString();
    }
    return QStringLiteral("The passport gives no usable time resolution (tresolution %1 ms).")
        .arg(data.tresolution);
}

bool PulsarCalculate::getNativeData(float* out) {
    const QString refusal = seriesRefusal(data, module, ray, channel);
    if (!refusal.isEmpty()) {
        return fail(refusal);
    }
    if (firstPoint < 1) {
        firstPoint = 0;
    }
    if (count <= 0 || count > data.npoints - firstPoint) {
        count = data.npoints - firstPoint;
    }
    if (count <= 0) {
        return true;
    }
    if (!out) {
        qDebug() << "Error: bad dataOut0!";
        return false;
    }
    const float* series = data.samples[module][channel][ray];
    for (int i = 0; i < count; ++i) {
        const qint64 p = qint64(firstPoint) + i;
        // A broken sample (NaN or infinite) reads as 0, so that fits and folds over it stay finite.
        out[i] = p < data.npoints && std::isfinite(series[p]) ? series[p] : 0.0f;
    }
    return true;
}

int PulsarCalculate::getPointFromOrvUtc(QString time) {
    const QTime start = data.startDateTime.time();
    if (!Tools::isTimeString(time) || !start.isValid() || !(data.tresolution > 0)) {
        qDebug() << "ERROR! Bad orvUtc!";
        return 0;
    }
    const QTime t = Tools::timeFromString(time);
    if (!t.isValid()) {
        qDebug() << "ERROR! Bad orvUtc!";
        return 0;
    }
    // Measured from the start modulo a day, so that a record starting after 23:00 accepts the times
    // after midnight that lie within its hour.
    const int seconds = t.hour() * 3600 + t.minute() * 60 + t.second();
    const int startSeconds = start.hour() * 3600 + start.minute() * 60 + start.second();
    const int offset = ((seconds - startSeconds) % secondsPerDay + secondsPerDay) % secondsPerDay;
    if (offset > 3600) {
        qDebug() << "ERROR! Bad orvUtc!";
        return 0;
    }
    return int(std::round((t.minute() * 60 + t.second()) / data.tresolution * 1000));
}

QString PulsarCalculate::getTimeOfPoint(int index, QDateTime start, double tresMs) {
    const double ms = std::trunc(tresMs * index);
    const qint64 step = std::isfinite(ms) && std::fabs(ms) < 9e15 ? qint64(ms) : 0;
    return start.addMSecs(step).toString(QStringLiteral("hh:mm:ss"));
}

bool PulsarCalculate::sumOnPeriod(double P) {
    const QString refusal = timeResolutionRefusal(data);
    if (!refusal.isEmpty()) {
        return fail(refusal);
    }
    const double tres = data.tres;
    const double b = P / tres;
    // Tested in double before any conversion: a bad interval or a huge period never becomes a bin count.
    if (count <= 0 || !(b >= 1) || !(std::floor(b) <= count) || foldWindow.size() < std::size_t(count)) {
        return fail(QStringLiteral("The period %1 s does not fit the window: it must span 1 to %2 points of "
                                   "%3 s.")
                        .arg(P)
                        .arg(count)
                        .arg(tres));
    }
    const int e = int(std::floor(b));
    resultPoints = e;
    const float* W = foldWindow.data();
    foldProfile.reset(new float[std::size_t(e)]);
    float* Q = foldProfile.get();
    std::copy(W, W + e, Q);

    const qint64 g = qint64(e) * (count / e);
    if (e >= g - 1) {
        return true;
    }
    double t = e * tres;
    int h = 0;
    for (qint64 i = e; i <= g - 2; ++i) {
        const double r = P - t;
        if (r < tres / 2) {
            Q[0] += W[i];
            h = 1;
            t = tres - r;
        } else if (r <= tres) {
            h = 0;
            t = tres - r;
        } else {
            // When the period has more than half a sample beyond its last whole bin, the phase reaches
            // the bin past the profile: that sample is dropped.
            if (h < e) {
                Q[h] += W[i];
            }
            h += 1;
            t += tres;
        }
    }
    return true;
}

bool PulsarCalculate::actionShowNative() {
    if (count <= 0 || firstPoint >= data.npoints) {
        qDebug() << "Error! empty window: firstPoint=" << firstPoint << "data.npoints=" << data.npoints;
        return fail(emptyWindow(*this));
    }
    QVector<float> native(count);
    if (!getNativeData(native.data())) {
        return false;
    }
    QVector<float> fit(count);
    Approximation approx(native.data(), fit.data(), count);
    if (approx.polinom(5, false) != 1) {
        return false;
    }
    arrGrafiks << native << fit;
    grafikVisible << true << true;
    grafikNames << QStringLiteral("native data") << QStringLiteral("approximation by polinom 5");
    infoText = QStringLiteral("Native data without summation") + firstPointLines(*this);
    arrX1.reserve(count);
    for (int i = 0; i < count; ++i) {
        arrX1.append(getTimeOfPoint(firstPoint + i, data.startDateTime, data.tresolution));
    }
    stepX1 = 2;
    return true;
}

bool PulsarCalculate::actionSumPeriod() {
    if (count <= 0 || firstPoint >= data.npoints) {
        qDebug() << "Error! empty window: firstPoint=" << firstPoint << "data.npoints=" << data.npoints;
        return fail(emptyWindow(*this));
    }
    foldWindow.assign(std::size_t(count), 0.0f);
    if (!getNativeData(foldWindow.data())) {
        return false;
    }
    if (period <= 0) {
        period = defaultPeriod;
    }
    const bool folded = sumOnPeriod(period);
    foldWindow = std::vector<float>();
    if (!folded) {
        foldProfile.reset();
        return false;
    }
    const int bins = resultPoints;
    rawGrafiks.append(foldProfile.release());
    grafikVisible.append(true);
    grafikNames.append(QStringLiteral("sum on period"));
    infoText = QStringLiteral("Summation on period") + QStringLiteral("\nPeriod = ") +
               QString::number(period, 'g', 6) + firstPointLines(*this);
    grafikPoints = count = bins;
    return true;
}

bool PulsarCalculate::actionSumChannelsAndAverage() {
    std::vector<double> sum(windowPoints, 0.0);
    if (!sumChannelsDeductNoise(sum.data(), windowPoints, dispersion)) {
        return false;
    }
    const bool doubled = averageCount <= 0 && averageWithNull;
    std::vector<double> averaged(doubled ? 2 * windowPoints : windowPoints, 0.0);
    averageSignal(sum.data(), averaged.data(), windowPoints, averageCount, averageWithNull);
    const int F = getPointsAfterAveraging(windowPoints, averageCount, averageWithNull);
    QVector<float> curve(F > 0 ? F : 0);
    for (int i = 0; i < curve.size(); ++i) {
        curve[i] = float(averaged[std::size_t(i)]);
    }
    arrGrafiks.append(curve);
    grafikVisible.append(true);
    infoText = QStringLiteral("Sum channels and average");
    return true;
}
