#include "core/tables.h"
#include "numerics/pulsarcalculate.h"

#include <QDebug>

#include <cmath>

qint64 dispersionShift(double f, double fRef, double dm, double tres) {
    const double d = ((1 / f) / f - (1 / fRef) / fRef) * dispersionConstant * dm / tres;
    const double limit = 4e12;
    if (!(d < limit)) {
        return qint64(limit);
    }
    if (!(d > -limit)) {
        return -qint64(limit);
    }
    return qint64(std::llround(d));
}

namespace {

constexpr int bandChannels = 32;
constexpr int referenceChannel = 31;

// Checks what the sums read outside their own arguments, so that nothing outside the record is touched;
// `why` gets the reason of a refusal in the user's words.
bool sumInputsValid(const Data& data, int module, int ray, QString& why) {
    why = seriesRefusal(data, module, ray);
    if (!why.isEmpty()) {
        return false;
    }
    if (data.channels < bandChannels) {
        qDebug() << "Error of channels, must be: channels >=" << bandChannels << "channels=" << data.channels;
        why = QStringLiteral("The channel sum needs %1 band channels; the file has %2.")
                  .arg(bandChannels)
                  .arg(data.channels);
        return false;
    }
    if (data.fbands.size() < bandChannels) {
        qDebug() << "Error of fbands, must be: fbands >=" << bandChannels << "fbands=" << data.fbands.size();
        why = QStringLiteral("The channel sum needs %1 band frequencies; the passport gives %2.")
                  .arg(bandChannels)
                  .arg(data.fbands.size());
        return false;
    }
    for (int c = 0; c < bandChannels; ++c) {
        const double f = data.fbands.at(c);
        if (!std::isfinite(f) || f <= 0) {
            qDebug() << "Error of fbands, bad frequency of channel" << c << "f=" << f;
            why = QStringLiteral("The passport gives no usable frequency for channel %1 (fbands: %2).")
                      .arg(c + 1)
                      .arg(f);
            return false;
        }
    }
    why = timeResolutionRefusal(data);
    if (!why.isEmpty()) {
        qDebug() << "Error of tres, must be: tres > 0, tres=" << data.tres;
        return false;
    }
    return true;
}

qint64 channelShift(const Data& data, int c, double dm) {
    return dispersionShift(data.fbands.at(c), data.fbands.at(referenceChannel), dm, data.tres);
}

// A broken sample (NaN or infinite, as damaged files hold) counts as 0: one of them would otherwise
// poison the whole sum, its baseline and its spectrum.
inline float usable(float v) {
    return v - v == 0.0f ? v : 0.0f;
}

// Adds channel c (read from start .. start+n-1) into out; indices below 0 add nothing. With `clean`
// set, broken samples add nothing either; that loop is slower, so it runs only for records that
// have them.
template <typename T> void addChannel(T* out, const float* src, qint64 start, int n, bool clean) {
    if (start + n <= 0) {
        return;
    }
    int k = start < 0 ? int(-start) : 0;
    const float* p = src + (start + k);
    if (clean) {
        for (; k < n; ++k) {
            out[k] += usable(*p++);
        }
        return;
    }
    for (; k < n; ++k) {
        out[k] += *p++;
    }
}

// Whether a sum met a broken sample: any of them leaves a value that is not finite.
template <typename T> bool anyBroken(const T* v, int n) {
    int broken = 0;
    for (int k = 0; k < n; ++k) {
        broken |= int(!(v[k] - v[k] == 0));
    }
    return broken != 0;
}

template <typename T>
void addChannels(T* out, const Data& data, int module, int ray, int first, const qint64* starts, int n,
                 bool clean) {
    const float* ref = data.samples[module][referenceChannel][ray] + first;
    for (int k = 0; k < n; ++k) {
        out[k] = clean ? usable(ref[k]) : ref[k];
    }
    for (int c = referenceChannel - 1; c >= 0; --c) {
        addChannel(out, data.samples[module][c][ray], starts[c], n, clean);
    }
}

template <typename T>
bool sumChannelsImpl(const Data& data, int module, int ray, int firstPointField, T* out, int n, double dm,
                     bool forward, bool isDouble, QString& why) {
    if (n <= 0) {
        return false;
    }
    const int first = firstPointField < 1 ? 0 : firstPointField;
    if (qint64(first) + n >= data.npoints) {
        if (isDouble) {
            qDebug() << "ERROR! PulsarCalculate::sumChannels : firstPoint + count) >= data.npoints";
        }
        why = QStringLiteral("The sum of %1 points from first point %2 runs past the end of the file (%3 "
                             "points): choose an earlier first point.")
                  .arg(n)
                  .arg(first)
                  .arg(data.npoints);
        return false;
    }
    if (!out) {
        qDebug() << "Error: bad dataOut0!";
        return false;
    }
    if (!(dm >= 0) || !std::isfinite(dm)) {
        why = QStringLiteral("The dispersion must be 0 or more, not %1.").arg(dm);
        return false;
    }
    if (!sumInputsValid(data, module, ray, why)) {
        return false;
    }

    // Every shifted window is checked before a sample is added: a sum that would run past the end of
    // the record is refused instead of being handed out partial.
    qint64 starts[bandChannels];
    for (int c = referenceChannel - 1; c >= 0; --c) {
        const qint64 s = channelShift(data, c, dm);
        const qint64 start = forward ? first + s : first - s;
        starts[c] = start;
        if (start + n > data.npoints) {
            const qint64 k = start >= data.npoints ? 0 : data.npoints - start;
            qDebug() << "Error! j>npoints!!! i=" << k << "j=" << (start + k)
                     << "data.npoints=" << data.npoints;
            if (isDouble) {
                qDebug() << "STOP! k=" << c;
            }
            why = QStringLiteral("At dispersion %1 channel %2 lags %3 points behind: the sum of %4 points "
                                 "from first point %5 runs past the end of the file (%6 points).")
                      .arg(dm)
                      .arg(c + 1)
                      .arg(qAbs(start - first))
                      .arg(n)
                      .arg(first)
                      .arg(data.npoints);
            return false;
        }
    }

    addChannels(out, data, module, ray, first, starts, n, false);
    if (anyBroken(out, n)) {
        addChannels(out, data, module, ray, first, starts, n, true);
    }
    return true;
}

} // namespace

bool PulsarCalculate::sumChannels(double* out, int n, double dm, bool forward) {
    QString why;
    if (sumChannelsImpl(data, module, ray, firstPoint, out, n, dm, forward, true, why)) {
        return true;
    }
    return fail(why);
}

bool PulsarCalculate::sumChannelsFloat(float* out, int n, double dm, bool forward) {
    QString why;
    if (sumChannelsImpl(data, module, ray, firstPoint, out, n, dm, forward, false, why)) {
        return true;
    }
    return fail(why);
}

bool PulsarCalculate::deleteStep() {
    if (data.npoints <= 0 || !data.samples) {
        return false;
    }
    const QString tail = data.filePath.right(21);
    const QString hour = tail.mid(7, 2);
    const auto it = stepWindowByHour.constFind(hour);
    if (it == stepWindowByHour.constEnd()) {
        qDebug() << "no step in file" << tail;
        return false;
    }
    const int start = it->first;
    const int end = it->second;
    if (!(start > 0 && start < data.npoints && end < data.npoints)) {
        return false;
    }
    for (int m = 0; m < data.modules; ++m) {
        for (int c = 0; c < data.channels; ++c) {
            for (int r = 0; r < data.rays; ++r) {
                float* series = data.samples[m][c][r];
                const float level = series[start - 1];
                for (int p = start; p <= end; ++p) {
                    series[p] = level;
                }
            }
        }
    }
    return true;
}
