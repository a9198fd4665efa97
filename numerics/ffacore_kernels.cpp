#include "numerics/ffacore.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

// The transform and the boxcar S/N are built for several instruction sets and one of them is picked at
// the first call. Every build does the same float operations in the same order (no contraction into
// fused multiply-adds, see CMakeLists.txt), so all of them give the same S/N to the last bit.
#if defined(__x86_64__) && defined(__GNUC__)
#define FFA_X86_VERSIONS 1
#endif
#define FFA_INLINE inline __attribute__((always_inline))

namespace {

// Float vectors of 16, 32 and 64 bytes; the compiler maps them onto the registers of each target.
template <std::size_t Bytes> struct FloatVector;
template <> struct FloatVector<16> { typedef float type __attribute__((vector_size(16))); };
template <> struct FloatVector<32> { typedef float type __attribute__((vector_size(32))); };
template <> struct FloatVector<64> { typedef float type __attribute__((vector_size(64))); };

FFA_INLINE void addShifted(const float* x, const float* y, std::size_t n, std::size_t shift, float* out) {
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

FFA_INLINE void mergeHalves(const float* head, std::size_t headRows, const float* tail, std::size_t tailRows,
                            std::size_t cols, float* out) {
    const std::size_t m = headRows + tailRows;
    const float kh = float(headRows - 1) / float(m - 1);
    const float kt = float(tailRows - 1) / float(m - 1);
    for (std::size_t s = 0; s < m; ++s) {
        const std::size_t hs = std::size_t(float(s) * kh + 0.5f);
        const std::size_t ts = std::size_t(float(s) * kt + 0.5f);
        addShifted(head + hs * cols, tail + ts * cols, cols, (s - ts) % cols, out + s * cols);
    }
}

using FoldFn = void (*)(const float*, std::size_t, std::size_t, float*, float*);

FFA_INLINE void foldStep(const float* in, std::size_t rows, std::size_t cols, float* temp, float* out,
                         FoldFn self) {
    if (rows == 1) {
        std::memcpy(out, in, cols * sizeof(float));
    } else if (rows == 2) {
        addShifted(in, in + cols, cols, 0, out);
        addShifted(in, in + cols, cols, 1, out + cols);
    } else if (rows > 2) {
        // The halves land in temp with out as their scratch; the merge then writes out.
        const std::size_t h = rows / 2;
        const std::size_t t = rows - h;
        self(in, h, cols, out, temp);
        self(in + h * cols, t, cols, out + h * cols, temp + h * cols);
        mergeHalves(temp, h, temp + h * cols, t, cols, out);
    }
}

// Largest x[i] - y[i]. The maximum does not depend on the order, so wide lanes give the scalar result.
template <std::size_t Bytes> FFA_INLINE float maxDifference(const float* x, const float* y, std::size_t n) {
    using V = typename FloatVector<Bytes>::type;
    constexpr std::size_t lanes = Bytes / sizeof(float);
    const V lowest = V{} - INFINITY;
    V best0 = lowest;
    V best1 = lowest;
    std::size_t i = 0;
    for (; i + 2 * lanes <= n; i += 2 * lanes) {
        V a0;
        V a1;
        V b0;
        V b1;
        std::memcpy(&a0, x + i, sizeof a0);
        std::memcpy(&a1, x + i + lanes, sizeof a1);
        std::memcpy(&b0, y + i, sizeof b0);
        std::memcpy(&b1, y + i + lanes, sizeof b1);
        const V d0 = a0 - b0;
        const V d1 = a1 - b1;
        best0 = d0 > best0 ? d0 : best0;
        best1 = d1 > best1 ? d1 : best1;
    }
    best0 = best1 > best0 ? best1 : best0;
    float each[lanes];
    std::memcpy(each, &best0, sizeof each);
    float result = -INFINITY;
    for (; i < n; ++i) {
        const float d = x[i] - y[i];
        result = d > result ? d : result;
    }
    for (float v : each) {
        result = v > result ? v : result;
    }
    return result;
}

// Continues prefix sums out[0 .. n-1] periodically up to total entries; whole is their float total.
FFA_INLINE void continueCumsum(float* out, std::size_t n, std::size_t total, float whole) {
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

// The boxcar template of width w on n bins: height h over the boxcar, -beta elsewhere.
struct Template {
    float h;
    float beta;
};

FFA_INLINE Template boxcarTemplate(std::size_t bins, std::size_t w) {
    const float wf = float(w);
    const float h = std::sqrt(float(bins - w) / (float(bins) * wf));
    return {h, wf / float(bins - w) * h};
}

template <std::size_t Bytes>
FFA_INLINE float boxcarSnr(const float* cumsum, std::size_t bins, std::size_t w, Template t, float total,
                           float stdnoise) {
    const float dmax = maxDifference<Bytes>(cumsum + w, cumsum, bins);
    return ((t.h + t.beta) * dmax - t.beta * total) / stdnoise;
}

constexpr std::size_t interleavedRows = 8;

// best_boxcar_snr() of every row of a block. The prefix sums of several rows run side by side: each
// row's double sum is a chain of dependent additions, and interleaving keeps the adders busy.
template <std::size_t Bytes>
FFA_INLINE void snrOfRowsT(const float* block, std::size_t rows, std::size_t bins, const std::size_t* widths,
                           std::size_t nw, float stdnoise, float* out, float* scratch) {
    std::size_t wmax = 0;
    for (std::size_t k = 0; k < nw; ++k) {
        wmax = std::max(wmax, widths[k]);
    }
    const std::size_t total = bins + wmax;
    Template templates[64];
    const bool cached = nw <= 64;
    for (std::size_t k = 0; cached && k < nw; ++k) {
        templates[k] = boxcarTemplate(bins, widths[k]);
    }
    for (std::size_t r0 = 0; r0 < rows; r0 += interleavedRows) {
        const std::size_t g = std::min(interleavedRows, rows - r0);
        const float* src = block + r0 * bins;
        double acc[interleavedRows] = {};
        if (g == interleavedRows) {
            for (std::size_t i = 0; i < bins; ++i) {
                for (std::size_t r = 0; r < interleavedRows; ++r) {
                    acc[r] += double(src[r * bins + i]);
                    scratch[r * total + i] = float(acc[r]);
                }
            }
        } else {
            for (std::size_t r = 0; r < g; ++r) {
                for (std::size_t i = 0; i < bins; ++i) {
                    acc[r] += double(src[r * bins + i]);
                    scratch[r * total + i] = float(acc[r]);
                }
            }
        }
        for (std::size_t r = 0; r < g; ++r) {
            float* q = scratch + r * total;
            const float whole = float(acc[r]);
            continueCumsum(q, bins, total, whole);
            float* dst = out + (r0 + r) * nw;
            for (std::size_t k = 0; k < nw; ++k) {
                const Template t = cached ? templates[k] : boxcarTemplate(bins, widths[k]);
                dst[k] = boxcarSnr<Bytes>(q, bins, widths[k], t, q[bins - 1], stdnoise);
            }
        }
    }
}

using SnrFn = void (*)(const float*, std::size_t, std::size_t, const std::size_t*, std::size_t, float, float*,
                       float*);

#define FFA_VERSION(suffix, target, bytes)                                                                   \
    target void foldBlock##suffix(const float* in, std::size_t rows, std::size_t cols, float* temp,          \
                                  float* out) {                                                              \
        foldStep(in, rows, cols, temp, out, &foldBlock##suffix);                                             \
    }                                                                                                        \
    target void snrOfRows##suffix(const float* block, std::size_t rows, std::size_t bins,                    \
                                  const std::size_t* widths, std::size_t nw, float stdnoise, float* out,     \
                                  float* scratch) {                                                          \
        snrOfRowsT<bytes>(block, rows, bins, widths, nw, stdnoise, out, scratch);                            \
    }

FFA_VERSION(Plain, , 16)
#ifdef FFA_X86_VERSIONS
FFA_VERSION(Avx2, __attribute__((target("avx2"))), 32)
FFA_VERSION(Avx512, __attribute__((target("avx512f"))), 64)
#endif

struct Kernels {
    FoldFn fold;
    SnrFn snr;
};

const Kernels& kernels() {
    static const Kernels chosen = [] {
#ifdef FFA_X86_VERSIONS
        __builtin_cpu_init();
        if (__builtin_cpu_supports("avx512f")) {
            return Kernels{&foldBlockAvx512, &snrOfRowsAvx512};
        }
        if (__builtin_cpu_supports("avx2")) {
            return Kernels{&foldBlockAvx2, &snrOfRowsAvx2};
        }
#endif
        return Kernels{&foldBlockPlain, &snrOfRowsPlain};
    }();
    return chosen;
}

} // namespace

std::size_t boxcar_scratch_size(std::size_t bins_max, std::size_t wmax) {
    return interleavedRows * (bins_max + wmax);
}

void best_boxcar_snr_block(const float* block, std::size_t rows, std::size_t bins, const std::size_t* widths,
                           std::size_t nw, float stdnoise, float* out, float* scratch) {
    kernels().snr(block, rows, bins, widths, nw, stdnoise, out, scratch);
}

void add_shifted(const float* x, const float* y, std::size_t n, std::size_t shift, float* out) {
    addShifted(x, y, n, shift, out);
}

void merge_halves(const float* head, std::size_t headRows, const float* tail, std::size_t tailRows,
                  std::size_t cols, float* out) {
    mergeHalves(head, headRows, tail, tailRows, cols, out);
}

float* fold_transform(const float* in, std::size_t rows, std::size_t cols, float* temp, float* out) {
    kernels().fold(in, rows, cols, temp, out);
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
    if (total > n && n > 0) {
        continueCumsum(out, n, total, float(acc));
    }
}

float max_difference(const float* x, const float* y, std::size_t n) {
    return maxDifference<16>(x, y, n);
}

void best_boxcar_snr(const float* profile, std::size_t bins, const std::size_t* widths, std::size_t nw,
                     float stdnoise, float* out, float* cumsumScratch) {
    if (nw == 0) {
        return;
    }
    const std::size_t wmax = *std::max_element(widths, widths + nw);
    wrapped_cumsum(profile, bins, bins + wmax, cumsumScratch);
    const float total = cumsumScratch[bins - 1];
    for (std::size_t k = 0; k < nw; ++k) {
        out[k] =
            boxcarSnr<16>(cumsumScratch, bins, widths[k], boxcarTemplate(bins, widths[k]), total, stdnoise);
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
