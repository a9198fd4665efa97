#ifndef APPROXIMATION_CORE_H
#define APPROXIMATION_CORE_H

// Kernels shared by the approximation classes over float arrays, double arrays and vectors.

#include <QDebug>

#include <algorithm>
#include <cmath>
#include <vector>

namespace ApproximationCore {

// Orders not-a-number values after every number, so that sorting damaged data stays well defined.
inline bool lessNanLast(double a, double b) {
    return a < b || (!std::isnan(a) && std::isnan(b));
}

// Block statistic k placed at the block centre h + k*len, joined by straight lines; constant before the
// first centre and after the last. Values after the last full block belong to no block.
template <typename In, typename Out>
void blockLinear(const In* in, Out* out, int count, int len, bool median) {
    const int blocks = count / len;
    const int half = len / 2;
    std::vector<double> stat(blocks);
    std::vector<double> scratch(median ? len : 0);
    for (int k = 0; k < blocks; ++k) {
        const In* block = in + qint64(k) * len;
        if (median) {
            for (int i = 0; i < len; ++i) {
                scratch[i] = block[i];
            }
            const int pick = len / 2 - 1;
            std::nth_element(scratch.begin(), scratch.begin() + pick, scratch.end(), lessNanLast);
            stat[k] = scratch[pick];
        } else {
            double sum = 0;
            for (int i = 0; i < len; ++i) {
                sum += block[i];
            }
            stat[k] = sum / len;
        }
    }
    int l = 0;
    for (; l < half && l < count; ++l) {
        out[l] = Out(stat[0]);
    }
    for (int k = 0; k + 1 < blocks; ++k) {
        const int centre = half + k * len;
        const double s0 = stat[k];
        const double diff = stat[k + 1] - s0;
        for (int i = 0; i < len; ++i, ++l) {
            out[l] = Out(s0 + double(l - centre) * diff / len);
        }
    }
    const Out last = Out(stat[blocks - 1]);
    for (; l < count; ++l) {
        out[l] = last;
    }
}

// Means of the full blocks written over their own positions; positions after the last block untouched.
template <typename T> void blockMeans(const T* in, T* out, int count, int len) {
    const int blocks = count / len;
    for (int k = 0; k < blocks; ++k) {
        const T* block = in + qint64(k) * len;
        double sum = 0;
        for (int i = 0; i < len; ++i) {
            sum += block[i];
        }
        const T mean = T(sum / len);
        for (int i = 0; i < len; ++i) {
            out[qint64(k) * len + i] = mean;
        }
    }
}

// Least-squares coefficients a_0..a_k over the abscissae 0..count-1 from the normal equations (Gauss
// elimination without pivoting, as stored results were computed). A zero or non-finite pivot fails
// with a debug line instead of producing infinite coefficients.
template <typename T> bool fitPolynomial(const T* y, int count, int k, std::vector<double>& a) {
    const int n = k + 1;
    std::vector<double> powSums(2 * k + 1, 0.0);
    std::vector<double> b(n, 0.0);
    std::vector<double> pw(2 * k + 1);
    for (int l = 0; l < count; ++l) {
        const double x = l;
        pw[0] = 1;
        for (int i = 1; i <= 2 * k; ++i) {
            pw[i] = pw[i - 1] * x;
        }
        for (int i = 0; i <= 2 * k; ++i) {
            powSums[i] += pw[i];
        }
        const double yl = y[l];
        for (int j = 0; j < n; ++j) {
            b[j] += pw[j] * yl;
        }
    }
    std::vector<double> A(size_t(n) * n);
    for (int j = 0; j < n; ++j) {
        for (int c = 0; c < n; ++c) {
            A[size_t(j) * n + c] = powSums[j + c];
        }
    }
    auto pivotBad = [&](int r) {
        const double p = A[size_t(r) * n + r];
        if (p == 0 || !std::isfinite(p)) {
            qDebug() << "Error: bad pivot! row =" << r;
            return true;
        }
        return false;
    };
    for (int r = 0; r < k; ++r) {
        if (pivotBad(r)) {
            return false;
        }
        const double pivot = A[size_t(r) * n + r];
        for (int i = r + 1; i < n; ++i) {
            const double factor = A[size_t(i) * n + r] / pivot;
            for (int c = r; c < n; ++c) {
                A[size_t(i) * n + c] -= factor * A[size_t(r) * n + c];
            }
            b[i] -= factor * b[r];
        }
    }
    a.assign(n, 0.0);
    for (int j = k; j >= 0; --j) {
        if (pivotBad(j)) {
            return false;
        }
        double known = 0;
        for (int c = j + 1; c < n; ++c) {
            known += A[size_t(j) * n + c] * a[c];
        }
        a[j] = (b[j] - known) / A[size_t(j) * n + j];
    }
    return true;
}

inline double evaluate(const std::vector<double>& a, double x) {
    double sum = 0;
    double pw = 1;
    for (double coef : a) {
        sum += coef * pw;
        pw *= x;
    }
    return sum;
}

// Fitted values into out: the float output sums float-rounded terms in float, the double ones in double.
inline void evaluateAll(const std::vector<double>& a, float* out, int count) {
    for (int l = 0; l < count; ++l) {
        const double x = l;
        double pw = 1;
        float sum = 0;
        for (double coef : a) {
            sum += float(coef * pw);
            pw *= x;
        }
        out[l] = sum;
    }
}

inline void evaluateAll(const std::vector<double>& a, double* out, int count) {
    for (int l = 0; l < count; ++l) {
        out[l] = evaluate(a, l);
    }
}

// Cubic: both roots of the derivative, x1 the local maximum and x2 the local minimum; the first of
// them inside (0, count) is the extremum. Quadratic: the vertex. Other degrees leave the fields
// unchanged. Owner is any class with the fields extremumIndex, extremumX, extremumY, x1, value1, x2,
// value2.
template <typename Owner> void findExtremum(const std::vector<double>& a, int k, int count, Owner& e) {
    auto take = [&](double x) {
        e.extremumX = x;
        e.extremumY = evaluate(a, x);
        e.extremumIndex = int(std::lround(x));
    };
    auto none = [&]() {
        e.extremumX = 0;
        e.extremumY = 0;
        e.extremumIndex = 0;
    };
    if (k == 3) {
        const double p = 2 * a[2];
        const double q = 3 * a[3];
        const double D = p * p - 4 * q * a[1];
        const double root = std::sqrt(D);
        e.x1 = (-p - root) / (2 * q);
        e.x2 = (root - p) / (2 * q);
        e.value1 = evaluate(a, e.x1);
        e.value2 = evaluate(a, e.x2);
        if (0 < e.x1 && e.x1 < count) {
            take(e.x1);
        } else if (0 < e.x2 && e.x2 < count) {
            take(e.x2);
        } else {
            none();
        }
    } else if (k == 2) {
        const double x = -a[1] / (2 * a[2]);
        if (0 < x && x < count) {
            take(x);
        } else {
            none();
        }
    }
}

// The fitted values of coefficients a into out (count values) and, when asked, the extremum into owner.
template <typename Out, typename Owner>
void writeFit(const std::vector<double>& a, int k, Out* out, int count, bool withExtremum, Owner& owner) {
    evaluateAll(a, out, count);
    if (withExtremum) {
        findExtremum(a, k, count, owner);
    }
}

// Argument checks. Each writes its one debug line when it fails; the classes differ in which of them
// they make and in what order, so every operation chains its own with &&.
inline bool lenAtLeast(int len, int minimum) {
    if (len < minimum) {
        qDebug() << "Error: len =" << len;
        return false;
    }
    return true;
}

inline bool countAboveLen(int count, int len) {
    if (count <= len) {
        qDebug() << "Error: count <= len!";
        return false;
    }
    return true;
}

inline bool countNotZero(int count) {
    if (count == 0) {
        qDebug() << "Error: count = 0!";
        return false;
    }
    return true;
}

inline bool degreeAtLeastOne(int k) {
    if (k < 1) {
        qDebug() << "Error: k < 1!";
        return false;
    }
    return true;
}

inline bool degreeBelowCount(int k, int count) {
    if (k >= count) {
        qDebug() << "Error: countIn <= k!";
        return false;
    }
    return true;
}

inline bool arraysSet(const void* in, const void* out) {
    if (!in) {
        qDebug() << "Error: bad dataIn!";
        return false;
    }
    if (!out) {
        qDebug() << "Error: bad dataOut!";
        return false;
    }
    return true;
}

} // namespace ApproximationCore

#endif // APPROXIMATION_CORE_H
