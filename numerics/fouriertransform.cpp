#include "numerics/fouriertransform.h"

#include <cmath>
#include <vector>

namespace {

// One work array per thread, reused: the DM sweeps take hundreds of spectra in a row.
std::vector<double>& workArray(std::size_t size) {
    static thread_local std::vector<double> work;
    if (work.size() < size) {
        work.resize(size);
    }
    return work;
}

std::vector<double>& twiddleArray(std::size_t size) {
    static thread_local std::vector<double> twiddles;
    if (twiddles.size() < size) {
        twiddles.resize(size);
    }
    return twiddles;
}

} // namespace

void calculateFourierAmplitude(const double* in, double* out, int N, int count) {
    if (!in || !out || N < 2 || (N & (N - 1)) != 0 || count <= 0) {
        return;
    }
    if (count > N - 1) {
        count = N - 1;
    }
    const std::size_t n = std::size_t(N);
    double* d = workArray(2 * n).data();
    double* tw = twiddleArray(n).data();

    // Bit-reversal permutation while loading: real parts from the input, imaginary parts zero.
    std::size_t j = 0;
    for (std::size_t i = 0; i < n; ++i) {
        d[2 * j] = in[i];
        d[2 * j + 1] = 0.0;
        std::size_t bit = n >> 1;
        while (bit != 0 && (j & bit) != 0) {
            j ^= bit;
            bit >>= 1;
        }
        j |= bit;
    }

    // Butterflies of sizes 2, 4, …, N. The twiddles of a stage come from the trigonometric recurrence
    // on sin(θ/2) and sin θ; they are laid out once per stage so the butterflies run over contiguous
    // memory, group after group.
    for (std::size_t len = 2; len <= n; len <<= 1) {
        const std::size_t half = len >> 1;
        const double theta = -2.0 * M_PI / double(len);
        const double s = std::sin(0.5 * theta);
        const double wpr = -2.0 * s * s;
        const double wpi = std::sin(theta);
        double wr = 1.0;
        double wi = 0.0;
        for (std::size_t m = 0; m < half; ++m) {
            tw[2 * m] = wr;
            tw[2 * m + 1] = wi;
            const double t = wr;
            wr = t * wpr - wi * wpi + wr;
            wi = wi * wpr + t * wpi + wi;
        }
        for (std::size_t g = 0; g < n; g += len) {
            double* a = d + 2 * g;
            double* b = a + 2 * half;
            for (std::size_t m = 0; m < half; ++m) {
                const double xr = tw[2 * m];
                const double xi = tw[2 * m + 1];
                const double tr = xr * b[2 * m] - xi * b[2 * m + 1];
                const double ti = xr * b[2 * m + 1] + xi * b[2 * m];
                b[2 * m] = a[2 * m] - tr;
                b[2 * m + 1] = a[2 * m + 1] - ti;
                a[2 * m] += tr;
                a[2 * m + 1] += ti;
            }
        }
    }

    const double scale = 2.0 / double(N);
    for (int k = 0; k < count; ++k) {
        const double re = d[2 * (k + 1)];
        const double im = d[2 * (k + 1) + 1];
        out[k] = std::sqrt(re * re + im * im) * scale;
    }
}

int getPowerOfTwoBelow(int n) {
    int p = 2;
    for (int doublings = 0; doublings < 18 && p * 2 <= n; ++doublings) {
        p *= 2;
    }
    if (p * 2 == n) {
        return n;
    }
    return p;
}
