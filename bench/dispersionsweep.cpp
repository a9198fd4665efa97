// Times the 700 spectra of the multi-average dispersion view ("sumMultiDispersions") on an 80,000-point,
// 33-channel record with a dispersed pulsar, and splits the time into its parts: channel sums, noise
// baselines, transforms (averaging included), and what the sweep adds around them: event-loop passes,
// progress signals and allocations. Goal: event-loop passes and allocations under 5% of the sweep.
#include "benchclock.h"
#include "core/busyguard.h"
#include "numerics/approximationd.h"
#include "numerics/pulsarcalculate.h"
#include "support/obsfilewriter.h"

#include <QCoreApplication>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

namespace {
std::atomic<long> newCalls{0};
// Sizes of the allocations of one spectrum, recorded without allocating.
bool recording = false;
std::size_t recorded[4096];
int recordedCount = 0;
} // namespace

// Counts every C++ allocation, so the sweep's own allocations per spectrum show.
void* operator new(std::size_t n) {
    ++newCalls;
    if (recording && recordedCount < 4096) {
        recorded[recordedCount++] = n;
    }
    if (void* p = std::malloc(n ? n : 1)) {
        return p;
    }
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace {

using Bench::Clock;
using Bench::msSince;
constexpr int window = 16384;
constexpr int averagings = 7;
constexpr int dms = 100;
constexpr int spectra = averagings * dms;

// Best of a few runs: the machine is shared.
template <typename F> double bestMs(int runs, F&& body) {
    double best = 1e300;
    for (int r = 0; r < runs; ++r) {
        const auto t0 = Clock::now();
        body();
        best = std::min(best, msSince(t0));
    }
    return best;
}

void setUp(PulsarCalculate& pc, const Data& data) {
    pc.data = data;
    pc.module = 0;
    pc.ray = 0;
    pc.channel = 0;
    pc.firstPoint = 20000;
    pc.harmonicNum = 100;
    pc.noiseMethod = QStringLiteral("polinom5");
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);

    ObsFileWriter::Description d;
    d.npoints = 80000;
    d.modules = 1;
    d.rays = 1;
    ObsFileWriter::PulseTrain train;
    train.period = 0.7145;
    train.dm = 40;
    train.width = 3;
    train.amplitude = 5.0f;
    d.value = ObsFileWriter::pulseTrain(d, train, ObsFileWriter::whiteNoise(1.0f));
    Data data = ObsFileWriter::record(d);
    if (!data.samples) {
        std::printf("fixture allocation failed\n");
        return 1;
    }
    const int runs = 5;

    // The whole action, as the form runs it.
    long actionNews = 0;
    int progressSignals = 0;
    bool ok = true;
    const double totalMs = bestMs(runs, [&] {
        PulsarCalculate pc(QStringLiteral("grafik"));
        setUp(pc, data);
        pc.action = QStringLiteral("sumMultiDispersions");
        QObject::connect(&pc, &PulsarCalculate::progress, [&](int) { ++progressSignals; });
        const long calls0 = newCalls;
        ok = pc.calculate() && ok;
        actionNews = newCalls - calls0;
    });

    PulsarCalculate pc(QStringLiteral("grafik"));
    setUp(pc, data);
    std::vector<double> sum(window);
    std::vector<double> base(window);
    std::vector<double> averaged(window);
    std::vector<double> amplitudes(window / 2);

    const double sumsMs = bestMs(runs, [&] {
        for (int av = 0; av < averagings; ++av) {
            for (int i = 0; i < dms; ++i) {
                pc.sumChannels(sum.data(), window, i, true);
            }
        }
    });
    const double baselinesMs = bestMs(runs, [&] {
        for (int s = 0; s < spectra; ++s) {
            ApproximationD approx(sum.data(), base.data(), window);
            approx.polinom(5, false);
            pc.subtractArrays(sum.data(), base.data(), averaged.data(), window);
        }
    });
    const double transformsMs = bestMs(runs, [&] {
        for (int av = 0; av < averagings; ++av) {
            const int m = pc.getPointsAfterAveraging(window, av, false);
            for (int i = 0; i < dms; ++i) {
                pc.averageSignal(sum.data(), averaged.data(), window, av, false);
                pc.getFourier(averaged.data(), amplitudes.data(), m, m / 2);
            }
        }
    });
    const double eventLoopMs = bestMs(runs, [&] {
        BusyGuard busy;
        for (int s = 0; s < spectra; ++s) {
            emit pc.progress(100 * (s % dms + 1) / dms);
            BusyGuard::processEvents();
        }
    });
    // The allocations of one spectrum after the first, replayed 700 times in their sizes, zero-filled as the
    // containers that make them do.
    pc.getFourierOfSum(amplitudes.data(), window, 40, 0, false);
    recording = true;
    pc.getFourierOfSum(amplitudes.data(), window, 40, 0, false);
    recording = false;
    std::size_t bytesPerSpectrum = 0;
    for (int k = 0; k < recordedCount; ++k) {
        bytesPerSpectrum += recorded[k];
    }
    std::vector<void*> blocks(static_cast<std::size_t>(recordedCount));
    const double allocationsMs = bestMs(runs, [&] {
        for (int s = 0; s < spectra; ++s) {
            for (int k = 0; k < recordedCount; ++k) {
                blocks[std::size_t(k)] = std::malloc(recorded[k]);
                std::memset(blocks[std::size_t(k)], 0, recorded[k]);
            }
            asm volatile("" : : "r"(blocks.data()) : "memory");
            for (int k = recordedCount - 1; k >= 0; --k) {
                std::free(blocks[std::size_t(k)]);
            }
        }
    });

    const double parts = sumsMs + baselinesMs + transformsMs;
    const double overhead = eventLoopMs + allocationsMs;
    auto pct = [&](double ms) { return 100.0 * ms / totalMs; };
    std::printf("sumMultiDispersions, %d spectra of %d points, 80000 x 33 channels: %.1f ms (%.3f ms per "
                "spectrum)%s\n",
                spectra, window, totalMs, totalMs / spectra, ok ? "" : "  FAILED");
    std::printf("  channel sums      %8.1f ms  %5.1f%%\n", sumsMs, pct(sumsMs));
    std::printf("  baselines         %8.1f ms  %5.1f%%\n", baselinesMs, pct(baselinesMs));
    std::printf("  transforms        %8.1f ms  %5.1f%%\n", transformsMs, pct(transformsMs));
    std::printf("  event-loop passes %8.1f ms  %5.1f%%  (%d progress signals per action)\n", eventLoopMs,
                pct(eventLoopMs), progressSignals / runs);
    std::printf(
        "  allocations       %8.1f ms  %5.1f%%  (%d per spectrum, %zu bytes; %ld in the whole action)\n",
        allocationsMs, pct(allocationsMs), recordedCount, bytesPerSpectrum, actionNews);
    std::printf("  rest (copies, fits, report) %.1f ms  %5.1f%%\n", totalMs - parts - overhead,
                pct(totalMs - parts - overhead));
    const bool goal = pct(overhead) < 5.0;
    std::printf("event-loop passes and allocations: %.2f%% of the sweep (goal < 5%%: %s)\n", pct(overhead),
                goal ? "met" : "MISSED");
    freeSamples(data);
    return ok ? 0 : 1;
}
