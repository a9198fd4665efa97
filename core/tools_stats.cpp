#include "core/tools.h"

#include <cmath>
#include <cstdlib>
#include <limits>

double Tools::sigmaOfLowest(QVector<double> values, int percent) {
    for (double& v : values) {
        v = std::fabs(v);
    }
    if (!values.isEmpty()) {
        std::qsort(values.data(), size_t(values.size()), sizeof(double), Tools::compareDoubles);
    }
    percent = qBound(1, percent, 100);
    const int n = int(qint64(values.size()) * percent / 100);
    if (n == 1) {
        // One value has no sample deviation.
        return std::numeric_limits<double>::quiet_NaN();
    }
    double s = 0;
    if (n >= 1) {
        double sum = 0;
        for (int i = 0; i < n; ++i) {
            sum += values[i];
        }
        const double m = sum / n;
        for (int i = 0; i < n; ++i) {
            s += (values[i] - m) * (values[i] - m);
        }
    }
    return std::sqrt(s / (n - 1));
}

double Tools::stdDev(const QVector<double>& values) {
    const int n = values.size();
    if (n < 2) {
        return -1;
    }
    double sum = 0;
    for (double v : values) {
        sum += v;
    }
    const double m = sum / n;
    double s = 0;
    for (double v : values) {
        s += (v - m) * (v - m);
    }
    return std::sqrt(s / (n - 1));
}

Tools::MaxMin Tools::maxMin(const QVector<double>& v) {
    MaxMin r{-10000000.0, 10000000.0};
    for (double x : v) {
        if (x > r.max) {
            r.max = x;
        }
        if (x < r.min) {
            r.min = x;
        }
    }
    return r;
}

Tools::MaxMin Tools::maxMin(const QVector<QVector<double>>& v) {
    MaxMin r{-10000000.0, 10000000.0};
    for (const auto& inner : v) {
        for (double x : inner) {
            if (x > r.max) {
                r.max = x;
            }
            if (x < r.min) {
                r.min = x;
            }
        }
    }
    return r;
}

double Tools::maxValue(const QVector<double>& v) {
    double m = -100000000.0;
    for (double x : v) {
        if (x > m) {
            m = x;
        }
    }
    return m;
}

double Tools::fractionalIndex(const QVector<double>& axis, double x) {
    if (axis.isEmpty()) {
        return -1;
    }
    for (int i = 0; i + 1 < axis.size(); ++i) {
        if (axis[i] <= x && x < axis[i + 1] && axis[i + 1] > axis[i]) {
            return i + (x - axis[i]) / (axis[i + 1] - axis[i]);
        }
    }
    return axis.size() - 1;
}

QVector<double> Tools::centerMaximum(QVector<double> v) {
    centerMaximumInPlace(v);
    return v;
}

void Tools::centerMaximumInPlace(QVector<double>& v) {
    const int n = v.size();
    const int h = n / 2;
    int b = -1;
    double best = -10000;
    for (int i = 0; i < n; ++i) {
        if (v[i] > best) {
            best = v[i];
            b = i;
        }
    }
    if (b < 0 || b == h) {
        return;
    }
    int start = b - h;
    if (start < 0) {
        start += n;
    }
    QVector<double> w(n);
    for (int j = 0; j < n; ++j) {
        w[j] = v[(start + j) % n];
    }
    v = w;
}

QVector<double> Tools::movingAverage(QVector<double> v, int window) {
    const int n = v.size();
    const int w = window;
    if (w < 2 || w >= n) {
        return v;
    }
    QVector<double> out(n);
    double sum = 0;
    for (int i = 0; i < w; ++i) {
        sum += v[i];
    }
    out[0] = sum / w;
    for (int j = 0; j <= n - w - 1; ++j) {
        sum = (sum - v[j]) + v[j + w];
        out[j + 1] = sum / w;
    }
    for (int t = 1; t <= w - 1; ++t) {
        sum = sum - v[n - w + t - 1];
        out[n - w + t] = sum / (w - t);
    }
    return out;
}

QVector<double> Tools::smoothRepeated(QVector<double> v, int times) {
    // Windows from 2^31 on exceed any series and would leave it unchanged.
    for (int i = 1; i <= times && i <= 30; ++i) {
        v = movingAverage(v, 1 << i);
    }
    return v;
}

QVector<double> Tools::clipAtMarks(QVector<double> values, const QVector<double>& axis,
                                   const QVector<double>& marks) {
    const int n = values.size();
    // Without an abscissa for every value there is nothing safe to clip.
    if (n == 0 || axis.size() < n) {
        return values;
    }
    int k = 0;
    for (double x : marks) {
        if (!(axis[0] - 0.00001 <= x && x <= axis[n - 1] + 0.00001 && k < n)) {
            continue;
        }
        int a = -1;
        if (axis[k] > x - 0.00001) {
            a = k;
        } else {
            for (int i = k + 1; i < n; ++i) {
                if (axis[i] > x - 0.00001) {
                    a = i;
                    break;
                }
            }
        }
        if (a < 0) {
            continue;
        }
        k = a;
        for (int i = a; i < n && values[i] > 6; ++i) {
            values[i] = 6;
        }
        for (int i = a - 1; i >= 0 && values[i] > 6; --i) {
            values[i] = 6;
        }
    }
    return values;
}
