#include "numerics/ffacore.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

void add_shifted(const float* x, const float* y, std::size_t n, std::size_t shift, float* out) {
    if (n == 0) {
        return;
    }
    shift %= n;
    const std::size_t split = n - shift;
    for (std::size_t i = 0; i < split; ++i) {
        out[i] = x[i] + y[i + shift];
    }
    for (std::size_t i = split; i < n; ++i) {
        out[i] = x[i] + y[i - split];
    }
}

void merge_halves(const float* head, std::size_t headRows, const float* tail, std::size_t tailRows,
                  std::size_t cols, float* out) {
    const std::size_t m = headRows + tailRows;
    const float kh = float(headRows - 1) / float(m - 1);
    const float kt = float(tailRows - 1) / float(m - 1);
    for (std::size_t s = 0; s < m; ++s) {
        const std::size_t hs = std::size_t(float(s) * kh + 0.5f);
        const std::size_t ts = std::size_t(float(s) * kt + 0.5f);
        add_shifted(head + hs * cols, tail + ts * cols, cols, (s - ts) % cols, out + s * cols);
    }
}

float* fold_transform(const float* in, std::size_t rows, std::size_t cols, float* temp, float* out) {
    if (rows == 1) {
        std::memcpy(out, in, cols * sizeof(float));
    } else if (rows == 2) {
        add_shifted(in, in + cols, cols, 0, out);
        add_shifted(in, in + cols, cols, 1, out + cols);
    } else if (rows > 2) {
        // The halves land in temp with out as their scratch; the merge then writes out.
        const std::size_t h = rows / 2;
        const std::size_t t = rows - h;
        fold_transform(in, h, cols, out, temp);
        fold_transform(in + h * cols, t, cols, out + h * cols, temp + h * cols);
        merge_halves(temp, h, temp + h * cols, t, cols, out);
    }
    return out;
}

void downsample_fractional(const float* in, std::size_t size, double f, float* out) {
    check_downsampling(size, f);
    const std::size_t n = downsampled_length(size, f);
    for (std::size_t i = 0; i < n; ++i) {
        const double s = double(i) * f;
        const double e = s + f;
        const std::size_t a = std::size_t(std::floor(s));
        const std::size_t z = std::min(size - 1, std::size_t(std::floor(e)));
        const float wa = float(double(a) + 1.0 - s);
        const float wz = float(e - double(z));
        float acc = wa * in[a];
        for (std::size_t j = a + 1; j < z; ++j) {
            acc += in[j];
        }
        acc += wz * in[z];
        out[i] = acc;
    }
}

void wrapped_cumsum(const float* x, std::size_t n, std::size_t total, float* out) {
    const std::size_t head = std::min(n, total);
    double acc = 0;
    for (std::size_t i = 0; i < head; ++i) {
        acc += double(x[i]);
        out[i] = float(acc);
    }
    if (total <= n || n == 0) {
        return;
    }
    const float whole = float(acc);
    const std::size_t q = total / n;
    const std::size_t r = total % n;
    for (std::size_t j = 1; j < q; ++j) {
        const float add = float(j) * whole;
        float* dst = out + j * n;
        for (std::size_t i = 0; i < n; ++i) {
            dst[i] = out[i] + add;
        }
    }
    const float add = float(q) * whole;
    float* dst = out + q * n;
    for (std::size_t i = 0; i < r; ++i) {
        dst[i] = out[i] + add;
    }
}

float max_difference(const float* x, const float* y, std::size_t n) {
    // Lanes keep independent maxima so the loop vectorises; the maximum does not depend on the order.
    constexpr std::size_t lanes = 16;
    float best[lanes];
    std::fill(best, best + lanes, -INFINITY);
    std::size_t i = 0;
    for (; i + lanes <= n; i += lanes) {
        for (std::size_t l = 0; l < lanes; ++l) {
            const float d = x[i + l] - y[i + l];
            best[l] = d > best[l] ? d : best[l];
        }
    }
    float result = -INFINITY;
    for (; i < n; ++i) {
        const float d = x[i] - y[i];
        result = d > result ? d : result;
    }
    for (std::size_t l = 0; l < lanes; ++l) {
        result = best[l] > result ? best[l] : result;
    }
    return result;
}

void best_boxcar_snr(const float* profile, std::size_t bins, const std::size_t* widths, std::size_t nw,
                     float stdnoise, float* out, float* cumsumScratch) {
    if (nw == 0) {
        return;
    }
    const std::size_t wmax = *std::max_element(widths, widths + nw);
    wrapped_cumsum(profile, bins, bins + wmax, cumsumScratch);
    const float total = cumsumScratch[bins - 1];
    const float n = float(bins);
    for (std::size_t k = 0; k < nw; ++k) {
        const std::size_t w = widths[k];
        const float wf = float(w);
        const float h = std::sqrt(float(bins - w) / (n * wf));
        const float beta = wf / float(bins - w) * h;
        const float dmax = max_difference(cumsumScratch + w, cumsumScratch, bins);
        out[k] = ((h + beta) * dmax - beta * total) / stdnoise;
    }
}

void best_boxcar_snr(const float* profile, std::size_t bins, const std::size_t* widths, std::size_t nw,
                     float stdnoise, float* out) {
    if (nw == 0) {
        return;
    }
    std::vector<float> scratch(bins + *std::max_element(widths, widths + nw));
    best_boxcar_snr(profile, bins, widths, nw, stdnoise, out, scratch.data());
}

void best_boxcar_snr_rows(const float* block, std::size_t rows, std::size_t bins, const std::size_t* widths,
                          std::size_t nw, float stdnoise, float* out) {
    if (nw == 0) {
        return;
    }
    std::vector<float> scratch(bins + *std::max_element(widths, widths + nw));
    for (std::size_t r = 0; r < rows; ++r) {
        best_boxcar_snr(block + r * bins, bins, widths, nw, stdnoise, out + r * nw, scratch.data());
    }
}

void add_arrays(const float* x, const float* y, std::size_t n, float* out) {
    for (std::size_t i = 0; i < n; ++i) {
        out[i] = x[i] + y[i];
    }
}

void rotate_left(const float* x, std::size_t n, std::size_t shift, float* out) {
    if (n == 0) {
        return;
    }
    shift %= n;
    std::copy(x + shift, x + n, out);
    std::copy(x, x + shift, out + (n - shift));
}

void add_constant(float* x, std::size_t n, float c) {
    for (std::size_t i = 0; i < n; ++i) {
        x[i] += c;
    }
}
