// Times the amplitude spectrum at the sizes of the one-file views against FFTW's real-input transform
// computing the same amplitudes, and checks that both agree.
#include "numerics/fouriertransform.h"
#include "benchclock.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <vector>

#ifdef STRELLIX_HAVE_FFTW
#include <fftw3.h>
#endif

namespace {

std::vector<double> noiseWithPulses(int n) {
    std::vector<double> x(static_cast<std::size_t>(n));
    unsigned state = 2024;
    for (int i = 0; i < n; ++i) {
        state = state * 1664525u + 1013904223u;
        x[std::size_t(i)] = double(state >> 8) / double(1 << 24) - 0.5 + ((i % 243) < 3 ? 4.0 : 0.0);
    }
    return x;
}

template <typename F> double microsecondsPerCall(F&& call) {
    return Bench::perCall<std::micro>(call, 0.3);
}

} // namespace

int main() {
    bool ok = true;
    for (int n : {16384, 32768}) {
        const std::vector<double> x = noiseWithPulses(n);
        std::vector<double> ours(std::size_t(n / 2));
        const double oursUs =
            microsecondsPerCall([&] { calculateFourierAmplitude(x.data(), ours.data(), n, n / 2); });
        std::printf("n = %6d  ours: %8.1f us", n, oursUs);
#ifdef STRELLIX_HAVE_FFTW
        std::vector<double> in(x);
        fftw_complex* spectrum = fftw_alloc_complex(std::size_t(n / 2 + 1));
        fftw_plan plan = fftw_plan_dft_r2c_1d(n, in.data(), spectrum, FFTW_MEASURE);
        std::copy(x.begin(), x.end(), in.begin());
        std::vector<double> theirs(std::size_t(n / 2));
        const double scale = 2.0 / n;
        const double fftwUs = microsecondsPerCall([&] {
            fftw_execute(plan);
            for (int k = 0; k < n / 2; ++k) {
                theirs[std::size_t(k)] = std::sqrt(spectrum[k + 1][0] * spectrum[k + 1][0] +
                                                   spectrum[k + 1][1] * spectrum[k + 1][1]) *
                                         scale;
            }
        });
        double largest = 0.0;
        double worst = 0.0;
        for (int k = 0; k < n / 2; ++k) {
            largest = std::max(largest, std::abs(theirs[std::size_t(k)]));
            worst = std::max(worst, std::abs(theirs[std::size_t(k)] - ours[std::size_t(k)]));
        }
        const double relative = worst / largest;
        const bool agree = relative <= 1e-12;
        ok = ok && agree;
        // Goal: within 12 times FFTW's real-input transform.
        const double ratio = oursUs / fftwUs;
        std::printf("  FFTW r2c: %8.1f us  ratio %5.2fx (goal <= 12x: %s)  max deviation %.2e of the largest "
                    "amplitude (%s)",
                    fftwUs, ratio, ratio <= 12.0 ? "met" : "MISSED", relative, agree ? "agree" : "DISAGREE");
        fftw_destroy_plan(plan);
        fftw_free(spectrum);
#else
        std::printf("  (built without FFTW)");
#endif
        std::printf("\n");
    }
    return ok ? 0 : 1;
}
