#include "numerics/ffacore.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <vector>

namespace {

// A double converted to a size without undefined behaviour: negatives and NaN give 0, values beyond the
// range give the largest size.
std::size_t toSize(double x) {
    if (!(x > 0)) {
        return 0;
    }
    if (x >= 18446744073709551615.0) {
        return std::numeric_limits<std::size_t>::max();
    }
    return std::size_t(x);
}

// The passes and bins counts of a search. periodogram_size() and compute_periodogram() both walk it, so
// they cannot disagree on the trials.
struct Pass {
    double f;      // downsampling factor
    double tau;    // sampling interval after downsampling
    std::size_t n; // downsampled samples
    double P;      // longest period in downsampled samples
    std::size_t bstop;
};

class Plan {
public:
    Plan(std::size_t size, double tsamp, double period_min, double period_max, std::size_t bins_min,
         std::size_t bins_max)
        : size_(size), tsamp_(tsamp), periodMax_(period_max), binsMin_(bins_min), binsMax_(bins_max) {
        dsStart_ = period_min / (tsamp * double(bins_min));
        dsGeo_ = (double(bins_max) + 1.0) / double(bins_min);
        passes_ = toSize(std::ceil(std::log(period_max / period_min) / std::log(dsGeo_)));
    }

    double dsStart() const { return dsStart_; }

    // Calls visit(pass) for every pass that has bins counts to try, in order.
    template <typename Visit> void forEachPass(Visit&& visit) const {
        for (std::size_t i = 0; i < passes_; ++i) {
            Pass p;
            p.f = dsStart_ * std::pow(dsGeo_, double(i));
            p.tau = tsamp_ * p.f;
            p.n = downsampled_length(size_, p.f);
            p.P = periodMax_ / p.tau;
            p.bstop = std::min({binsMax_, p.n, toSize(p.P)});
            // f only grows, so n and P only shrink: no later pass has trials either.
            if (p.bstop < binsMin_) {
                break;
            }
            visit(p);
        }
    }

private:
    std::size_t size_;
    double tsamp_;
    double periodMax_;
    std::size_t binsMin_;
    std::size_t binsMax_;
    double dsStart_ = 1;
    double dsGeo_ = 2;
    std::size_t passes_ = 0;
};

} // namespace

void require_argument(bool condition, const char* message) {
    if (!condition) {
        throw std::invalid_argument(message);
    }
}

// Written as "not (the required relation)" so that NaN arguments fail as well.
QString periodogram_args_error(std::size_t size, double tsamp, double period_min, double period_max,
                               std::size_t bins_min, std::size_t bins_max) {
    if (size == 0) {
        return QStringLiteral("size must be > 0");
    }
    if (!(tsamp > 0)) {
        return QStringLiteral("tsamp must be > 0");
    }
    if (!(period_min > 0)) {
        return QStringLiteral("period_min must be > 0");
    }
    if (!(period_max > period_min)) {
        return QStringLiteral("period_max must be > period_min");
    }
    if (bins_min <= 1) {
        return QStringLiteral("bins_min must be > 1");
    }
    if (bins_min > bins_max) {
        return QStringLiteral("bins_max must be >= bins_min");
    }
    const double shortest = double(bins_min) * tsamp;
    if (!(shortest <= period_min)) {
        return QStringLiteral("Must have: period_min >= tsamp * bins_min (%1*%2=%3)")
            .arg(QString::number(tsamp, 'g', 6))
            .arg(bins_min)
            .arg(QString::number(shortest, 'g', 6));
    }
    return QString();
}

void check_periodogram_args(std::size_t size, double tsamp, double period_min, double period_max,
                            std::size_t bins_min, std::size_t bins_max) {
    require_argument(size > 0, "size must be > 0");
    require_argument(tsamp > 0, "tsamp must be > 0");
    require_argument(period_min > 0, "period_min must be > 0");
    require_argument(period_max > period_min, "period_max must be > period_min");
    require_argument(bins_min > 1, "bins_min must be > 1");
    require_argument(bins_min <= bins_max, "bins_max must be >= bins_min");
    require_argument(double(bins_min) * tsamp <= period_min, "Must have: period_min >= tsamp * bins_min");
}

void check_downsampling(std::size_t size, double f) {
    require_argument(f > 1 && f <= double(size), "Downsampling factor must verify: 1 < f <= size");
}

void check_noise_level(float stdnoise) {
    require_argument(stdnoise > 0, "stdnoise must be > 0");
}

void check_widths(const std::size_t* widths, std::size_t nw, std::size_t cols) {
    for (std::size_t k = 0; k < nw; ++k) {
        require_argument(widths[k] > 0 && widths[k] < cols, "trial widths must be all > 0 and < columns");
    }
}

std::size_t downsampled_length(std::size_t size, double f) {
    return toSize(std::floor(double(size) / f));
}

double downsampled_noise_variance(std::size_t size, double f) {
    const double whole = std::floor(f);
    const double phi = f - whole;
    const double d = std::floor(double(size) / f) * phi;
    if (d > 1) {
        return f - 1.0 / 3.0;
    }
    return 1.0 + (whole - 1.0) - d + (2.0 / 3.0) * d * d;
}

std::size_t evaluated_rows(std::size_t rows, std::size_t bins, double maxPeriodSamples) {
    if (rows == 0) {
        return 0;
    }
    const double b = double(bins);
    const double j = std::ceil(double(bins * (rows - 1)) * (1.0 - b / std::min(b + 1.0, maxPeriodSamples)));
    return std::min(rows, toSize(j));
}

std::size_t periodogram_size(std::size_t size, double tsamp, double period_min, double period_max,
                             std::size_t bins_min, std::size_t bins_max) {
    check_periodogram_args(size, tsamp, period_min, period_max, bins_min, bins_max);
    std::size_t total = 0;
    Plan(size, tsamp, period_min, period_max, bins_min, bins_max).forEachPass([&](const Pass& p) {
        for (std::size_t b = bins_min; b <= p.bstop; ++b) {
            total += evaluated_rows(p.n / b, b, p.P);
        }
    });
    return total;
}

void compute_periodogram(const float* data, std::size_t size, double tsamp, const std::size_t* widths,
                         std::size_t nw, double period_min, double period_max, std::size_t bins_min,
                         std::size_t bins_max, double* periods, std::int32_t* foldbins, float* snr) {
    check_periodogram_args(size, tsamp, period_min, period_max, bins_min, bins_max);
    // A width that reaches a bins count would divide by zero in the S/N.
    check_widths(widths, nw, bins_min);
    const Plan plan(size, tsamp, period_min, period_max, bins_min, bins_max);
    const std::size_t wmax = nw ? *std::max_element(widths, widths + nw) : 0;

    // Sized once by the largest downsampled series; vectors free themselves when an error leaves.
    const std::size_t capacity = downsampled_length(size, plan.dsStart());
    std::vector<float> downsampled(capacity);
    std::vector<float> temp(capacity);
    std::vector<float> folded(capacity);
    std::vector<float> cumsum(boxcar_scratch_size(bins_max, wmax));

    plan.forEachPass([&](const Pass& p) {
        const float* series = data;
        if (p.f != 1.0) {
            downsample_fractional(data, size, p.f, downsampled.data());
            series = downsampled.data();
        }
        const double var = downsampled_noise_variance(size, p.f);
        for (std::size_t b = bins_min; b <= p.bstop; ++b) {
            const std::size_t rows = p.n / b;
            const float stdnoise = float(std::sqrt(double(rows) * var));
            const std::size_t evaluated = evaluated_rows(rows, b, p.P);
            if (evaluated == 0) {
                continue;
            }
            fold_transform(series, rows, b, temp.data(), folded.data());
            best_boxcar_snr_block(folded.data(), evaluated, b, widths, nw, stdnoise, snr, cumsum.data());
            snr += evaluated * nw;
            const double bb = double(b * b) * p.tau;
            for (std::size_t k = 0; k < evaluated; ++k) {
                *foldbins++ = std::int32_t(b);
                *periods++ = bb / (double(b) - double(k) / double(rows - 1));
            }
        }
    });
}
