// Times one 16384-point channel sum with dispersion delays (double and float, both directions) and the
// baseline-free sum for each noise method, on an 80,000-point record of 33 channels.
#include "benchclock.h"
#include "core/data.h"
#include "numerics/pulsarcalculate.h"

#include <chrono>
#include <cstdio>
#include <vector>

namespace {

template <typename F> double microsecondsPerCall(F&& call) {
    return Bench::perCall<std::micro>(call, 0.3);
}

bool makeRecord(Data& d) {
    d.modules = 1;
    d.channels = 33;
    d.rays = 1;
    d.npoints = 80000;
    d.tresolution = 12.4928;
    d.tres = 0.0124928;
    for (int c = 0; c < 32; ++c) {
        d.fbands.append(109.0 + 2.5 * c / 31.0);
    }
    d.fbands.append(0);
    if (!allocSamples(d)) {
        return false;
    }
    unsigned state = 7;
    for (int c = 0; c < d.channels; ++c) {
        float* s = d.samples[0][c][0];
        for (int p = 0; p < d.npoints; ++p) {
            state = state * 1664525u + 1013904223u;
            s[p] = float(10 + 1e-4 * p + double(state >> 8) / double(1 << 24));
        }
    }
    return true;
}

} // namespace

int main() {
    Data d;
    if (!makeRecord(d)) {
        std::fprintf(stderr, "allocation failed\n");
        return 1;
    }
    const int n = 16384;
    PulsarCalculate pc(QStringLiteral("grafik"));
    pc.data = d;
    pc.module = 0;
    pc.ray = 0;
    pc.firstPoint = 20000;
    std::vector<double> out(n);
    std::vector<float> outF(n);
    bool ok = true;

    const double fwd = microsecondsPerCall([&] { ok &= pc.sumChannels(out.data(), n, 50, true); });
    const double rev = microsecondsPerCall([&] { ok &= pc.sumChannels(out.data(), n, 100, false); });
    const double flt = microsecondsPerCall([&] { ok &= pc.sumChannelsFloat(outF.data(), n, 50, true); });
    std::printf("sum 16384 x 32 channels: double forward %7.1f us, double reverse %7.1f us, float %7.1f us\n",
                fwd, rev, flt);
    for (const char* method : {"without", "polinom5", "median", "backSum"}) {
        pc.noiseMethod = QString::fromLatin1(method);
        pc.withNormalization = true;
        const double us = microsecondsPerCall([&] { ok &= pc.sumChannelsDeductNoise(out.data(), n, 50); });
        std::printf("baseline-free sum, %-8s (normalised): %7.1f us\n", method, us);
    }
    freeSamples(d);
    if (!ok) {
        std::fprintf(stderr, "a sum failed\n");
        return 1;
    }
    return 0;
}
