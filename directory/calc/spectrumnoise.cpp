#include "directory/calc/spectrumnoise.h"

#include "core/tools.h"
#include "numerics/approximation_core.h"
#include "numerics/approximationd.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// Element `at` of the ascending order of n values, as a full sort would place it.
double selectAt(const double* values, int n, int at, std::vector<double>& scratch) {
    scratch.assign(values, values + n);
    std::nth_element(scratch.begin(), scratch.begin() + at, scratch.end(), Tools::lessDoubles);
    return scratch[size_t(at)];
}

// Joins the centres of windows j-1 and j: entries from `from` on, w of them, run from a to b.
void joinLine(double* approx, int from, int w, double a, double b) {
    for (int t = 0; t < w; ++t) {
        approx[from + t] = a + t * (b - a) / w;
    }
}

void fillBaselineEnds(const double* in, double* approx, double* diff, int len, int head) {
    for (int i = 0; i < head; ++i) {
        approx[i] = 0;
        diff[i] = 0;
    }
    for (int i = head; i < len; ++i) {
        diff[i] = in[i] - approx[i];
    }
}

// The running median; `gap` gives the entries that no line reaches when len is not a multiple of the
// window the value of the last median (in-place form) instead of leaving them.
void runningMedian(const double* in, double* approx, double* diff, int len, bool gap) {
    const bool wide = len >= 512;
    const int w = wide ? len >> 6 : 8;
    const int h = wide ? len >> 8 : 2;
    const int windows = wide ? 64 : len / 8;
    const int firstAt = wide ? h + (w - h) / 2 - 1 : 4;
    const int laterAt = wide ? w / 2 - 1 : 3;
    std::vector<double> scratch;
    std::vector<double> first(in, in + w);
    std::fill(first.begin(), first.begin() + h, 0.0);
    double prev = selectAt(first.data(), w, firstAt, scratch);
    for (int i = h; i < w / 2; ++i) {
        approx[i] = prev;
    }
    for (int j = 1; j < windows; ++j) {
        const double m = selectAt(in + j * w, w, laterAt, scratch);
        joinLine(approx, (j - 1) * w + w / 2, w, prev, m);
        prev = m;
    }
    const int lastLineEnd = (windows - 1) * w + w / 2;
    for (int i = gap ? std::min(lastLineEnd, len - w / 2) : len - w / 2; i < len; ++i) {
        approx[i] = prev;
    }
    fillBaselineEnds(in, approx, diff, len, h);
}

void polinomHead(const double* in, double* approx, double* diff, int len) {
    const int w = len >> 6;
    const int h = len >> 8;
    const int count = w + w / 2 - h + 1;
    std::vector<double> fitIn(in + h, in + h + count);
    std::fill(approx + h, approx + h + count, 0.0);
    ApproximationD fit(fitIn.data(), approx + h, count);
    fit.polinom(7, false);
    double prev = approx[w + w / 2 - 1];
    std::vector<double> scratch;
    for (int j = 2; j < 64; ++j) {
        const double m = selectAt(in + j * w, w, w / 2 - 1, scratch);
        joinLine(approx, (j - 1) * w + w / 2, w, prev, m);
        prev = m;
    }
    for (int i = len - w / 2; i < len; ++i) {
        approx[i] = prev;
    }
    fillBaselineEnds(in, approx, diff, len, h);
}

bool fits(const QVector<double>& in, QVector<double>& approx, QVector<double>& diff, int len) {
    if (in.size() < len) {
        return false;
    }
    if (approx.size() < len) {
        approx.resize(len);
    }
    if (diff.size() < len) {
        diff.resize(len);
    }
    return true;
}

template <class Run> int inPlace(QVector<double>& data, int len, Run run) {
    if (data.size() < len) {
        return 0;
    }
    std::vector<double> approx(size_t(len), 0.0);
    std::vector<double> diff(size_t(len), 0.0);
    run(data.constData(), approx.data(), diff.data());
    std::copy(diff.begin(), diff.end(), data.begin());
    return 1;
}

} // namespace

double getSigmaMedian(const QVector<double>& data, int len, int segment) {
    const int s = std::max(segment, 8);
    if (data.size() < len || len < s) {
        return 0;
    }
    const int m = len / s;
    std::vector<double> devs(static_cast<size_t>(m));
    for (int k = 0; k < m; ++k) {
        const double* p = data.constData() + k * s;
        double mean = 0;
        for (int i = 0; i < s; ++i) {
            mean += p[i];
        }
        mean /= s;
        double squares = 0;
        for (int i = 0; i < s; ++i) {
            squares += (p[i] - mean) * (p[i] - mean);
        }
        devs[size_t(k)] = std::sqrt(squares / s);
    }
    if (m == 1) {
        return devs[0];
    }
    std::sort(devs.begin(), devs.end(), Tools::lessDoubles);
    return (devs[size_t(m / 2 - 1)] + devs[size_t(m / 2)]) / 2;
}

double getMeanOfSmallest(const QVector<double>& data, unsigned percent) {
    if (data.isEmpty()) {
        return -1;
    }
    std::vector<double> values;
    values.reserve(size_t(data.size()));
    for (double v : data) {
        values.push_back(std::fabs(v));
    }
    const unsigned p = (percent >= 1 && percent <= 100) ? percent : 100;
    const size_t count = values.size() * p / 100;
    if (count == 0) {
        return 0;
    }
    std::sort(values.begin(), values.end(), Tools::lessDoubles);
    double sum = 0;
    for (size_t i = 0; i < count; ++i) {
        sum += values[i];
    }
    return sum / double(count);
}

int deductMedianNoise(QVector<double>& data, int len) {
    if (len < 128) {
        return 0;
    }
    return inPlace(data, len, [&](const double* in, double* approx, double* diff) {
        runningMedian(in, approx, diff, len, true);
    });
}

int deductMedianNoise(const QVector<double>& in, QVector<double>& approx, QVector<double>& diff, int len) {
    if (len < 128 || !fits(in, approx, diff, len)) {
        return 0;
    }
    runningMedian(in.constData(), approx.data(), diff.data(), len, false);
    return 1;
}

int deductMedianNoisePolinomHead(QVector<double>& data, int len) {
    if (len <= 512) {
        return 0;
    }
    return inPlace(data, len, [&](const double* in, double* approx, double* diff) {
        polinomHead(in, approx, diff, len);
    });
}

int deductMedianNoisePolinomHead(const QVector<double>& in, QVector<double>& approx, QVector<double>& diff,
                                 int len) {
    if (len <= 512 || !fits(in, approx, diff, len)) {
        return 0;
    }
    polinomHead(in.constData(), approx.data(), diff.data(), len);
    return 1;
}

int deductMedianNoiseAuto(QVector<double>& data, int len) {
    return len > 512 ? deductMedianNoisePolinomHead(data, len) : deductMedianNoise(data, len);
}

int deductMedianNoiseAuto(const QVector<double>& in, QVector<double>& approx, QVector<double>& diff,
                          int len) {
    return len > 512 ? deductMedianNoisePolinomHead(in, approx, diff, len)
                     : deductMedianNoise(in, approx, diff, len);
}

int deductMedianNoiseWindow(const QVector<double>& in, QVector<double>& approx, QVector<double>& diff,
                            int window) {
    const int w = 2 * (window / 2);
    const int len = in.size();
    if (w < 2 || len < w) {
        return 0;
    }
    approx = QVector<double>(len, 0.0);
    diff = QVector<double>(len, 0.0);
    const double* data = in.constData();
    double* a = approx.data();
    const int k = len / w;
    const int r = len % w;
    // The full windows; their last median runs to the end, which a remainder of one entry, having no
    // median, keeps.
    ApproximationCore::blockLinear(data, a, len, w, true);
    const int lastCentre = k * w - w / 2;
    if (r >= 2) {
        const double prev = a[lastCentre];
        std::vector<double> scratch;
        const double rest = selectAt(data + k * w, r, r / 2 - 1, scratch);
        for (int u = 0; u <= w / 2 + r / 2; ++u) {
            a[lastCentre + u] = prev + u * 2 * (rest - prev) / (w + r);
        }
        for (int i = k * w + r / 2 + 1; i < len; ++i) {
            a[i] = rest;
        }
    }
    for (int i = 0; i < len; ++i) {
        diff[i] = data[i] - a[i];
    }
    return 1;
}

int findRepeatIndex(const QVector<int>& v) {
    if (v.size() < 2) {
        return 0;
    }
    int i = 1;
    while (i < v.size() && v[i] <= v[0]) {
        ++i;
    }
    for (++i; i < v.size(); ++i) {
        if (v[i] == v[0]) {
            return i;
        }
    }
    return 0;
}

qint64 periodIndex(const QVector<double>& periods, double period) {
    const double f = Tools::fractionalIndex(periods, period);
    return f < 0 ? -1 : qint64(std::llround(f));
}

namespace {

// Where x lies in a non-empty ascending list: an entry it equals (fraction 0), or the entry below it and
// the fraction of the way to the next; the last entry when x is outside the list.
struct ListPosition {
    int index;
    double fraction;
};

ListPosition positionIn(const QVector<int>& v, int x) {
    if (x == v[0]) {
        return {0, 0};
    }
    for (int i = 1; i < v.size(); ++i) {
        if (x == v[i]) {
            return {i, 0};
        }
        if (v[i - 1] < x && x < v[i]) {
            return {i - 1, (double(x) - v[i - 1]) / (double(v[i]) - v[i - 1])};
        }
    }
    return {int(v.size()) - 1, 0};
}

} // namespace

double getFractionalIndex(const QVector<int>& v, int x) {
    if (v.isEmpty()) {
        return -1;
    }
    const ListPosition at = positionIn(v, x);
    return at.index + at.fraction;
}

int getNearestIndex(const QVector<int>& v, int x) {
    if (v.size() < 2) {
        return 0;
    }
    const ListPosition at = positionIn(v, x);
    return at.fraction > 0.5 ? at.index + 1 : at.index;
}

int averagedPoints(int points, int averages, bool withNulls) {
    const int averaged = (averages < 0 || averages > 30) ? 0 : points / Tools::powerInt(2, averages);
    return withNulls ? 2 * averaged : averaged;
}

int getAveragedPointsChecked(int points, int averages, bool withNulls) {
    // Without averaging and nulls the points stay as they are, which the plain count gives as well.
    return points < 64 ? -1 : averagedPoints(points, averages, withNulls);
}

int spectrumPoints(double tresolution) {
    return (tresolution > 0.003 && tresolution < 0.004) ? 65536 : 16384;
}

int getHarmonicsCount(int points, int averages, int withNull) {
    // Not doubled first: with nulls the count is the averaged points themselves.
    const int averaged = averagedPoints(points, averages, false);
    return withNull != 0 ? averaged : averaged / 2;
}

int getHarmonicsCount(const QString& fileName, int points) {
    if (fileName.size() < 9) {
        return 0;
    }
    const int withNull = fileName.at(fileName.size() - 9).digitValue();
    const int averages = fileName.at(fileName.size() - 5).digitValue();
    return getHarmonicsCount(points, averages, withNull);
}
