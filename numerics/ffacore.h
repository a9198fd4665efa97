#ifndef FFACORE_H
#define FFACORE_H

#include <QString>

#include <cstddef>
#include <cstdint>

// The fast folding algorithm on raw arrays. The series is normalised (zero mean, unit variance);
// profiles, prefix sums and S/N are floats, factors, periods and noise variances doubles. Nothing keeps
// state between calls. Argument faults raise std::invalid_argument; periodogram_args_error() gives the
// same verdict as text so that a caller can refuse before calling in.

// First failed argument check as text, empty when the search can run.
QString periodogram_args_error(std::size_t size, double tsamp, double period_min, double period_max,
                               std::size_t bins_min, std::size_t bins_max);
void check_periodogram_args(std::size_t size, double tsamp, double period_min, double period_max,
                            std::size_t bins_min, std::size_t bins_max);
// Number of trials compute_periodogram() writes for these arguments (which must pass the checks).
std::size_t periodogram_size(std::size_t size, double tsamp, double period_min, double period_max,
                             std::size_t bins_min, std::size_t bins_max);

// Writes periodogram_size() trials in increasing period: periods[t], foldbins[t] and the nw S/N values
// snr[t*nw .. t*nw+nw-1] in the order of the widths. Every width must lie in 1 .. bins_min-1.
void compute_periodogram(const float* data, std::size_t size, double tsamp, const std::size_t* widths,
                         std::size_t nw, double period_min, double period_max, std::size_t bins_min,
                         std::size_t bins_max, double* periods, std::int32_t* foldbins, float* snr);

// Sums the input over [i·f, i·f + f) into output i, i < floor(size/f), with fractional end weights.
void downsample_fractional(const float* in, std::size_t size, double f, float* out);
// Variance of that output when the input is unit-variance white noise.
double downsampled_noise_variance(std::size_t size, double f);
std::size_t downsampled_length(std::size_t size, double f);

// FFA transform of a rows × cols block: output row k is the sum of the input rows folded with a drift
// of k bins over rows-1 rows. temp and out have the shape of in; in is only read. Returns out.
float* fold_transform(const float* in, std::size_t rows, std::size_t cols, float* temp, float* out);
// One merge level: head (headRows × cols) and tail (tailRows × cols) into out (their rows together).
void merge_halves(const float* head, std::size_t headRows, const float* tail, std::size_t tailRows,
                  std::size_t cols, float* out);
// out[i] = x[i] + y[(i + shift) mod n].
void add_shifted(const float* x, const float* y, std::size_t n, std::size_t shift, float* out);

// Best S/N of a circular profile for each boxcar width (widths below bins). The first form takes a
// scratch of bins + largest width floats; the second allocates its own.
void best_boxcar_snr(const float* profile, std::size_t bins, const std::size_t* widths, std::size_t nw,
                     float stdnoise, float* out, float* cumsumScratch);
void best_boxcar_snr(const float* profile, std::size_t bins, const std::size_t* widths, std::size_t nw,
                     float stdnoise, float* out);
// best_boxcar_snr() of every row of a rows × bins block; out gets rows × nw values.
void best_boxcar_snr_rows(const float* block, std::size_t rows, std::size_t bins, const std::size_t* widths,
                          std::size_t nw, float stdnoise, float* out);
// best_boxcar_snr() of every row of a rows × bins block, into rows × nw values; the scratch holds
// boxcar_scratch_size(bins, largest width) floats. The same numbers, faster.
std::size_t boxcar_scratch_size(std::size_t bins_max, std::size_t wmax);
void best_boxcar_snr_block(const float* block, std::size_t rows, std::size_t bins, const std::size_t* widths,
                           std::size_t nw, float stdnoise, float* out, float* scratch);
// Prefix sums of x continued periodically up to total entries.
void wrapped_cumsum(const float* x, std::size_t n, std::size_t total, float* out);

// Rows of a transform of rows × bins that give distinct trials below min(bins + 1, maxPeriodSamples).
std::size_t evaluated_rows(std::size_t rows, std::size_t bins, double maxPeriodSamples);

void check_downsampling(std::size_t size, double f);
void check_noise_level(float stdnoise);
void check_widths(const std::size_t* widths, std::size_t nw, std::size_t cols);
void require_argument(bool condition, const char* message);

void add_arrays(const float* x, const float* y, std::size_t n, float* out);
void rotate_left(const float* x, std::size_t n, std::size_t shift, float* out);
void add_constant(float* x, std::size_t n, float c);
float max_difference(const float* x, const float* y, std::size_t n);

#endif // FFACORE_H
