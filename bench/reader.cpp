// Reads a synthetic one-hour .pnthr file (1 module, 8 rays, 33 channels, 288,166 points, about 304 MB) with
// Reader::readFile and compares the time with what any reader must spend: a plain sequential read of the
// same file into one 4 MiB buffer plus one bare event-loop pass per time point. Everything comes from the
// page cache. Prints the ratio and the peak resident memory against the sample bytes; the time to get fresh
// memory for the samples is shown too, as it is part of any read that keeps them.
#include "core/reader.h"
#include "benchclock.h"
#include "core/busyguard.h"
#include "support/obsfilewriter.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

using Bench::Clock;
using Bench::secondsSince;

constexpr int points = 288166;
constexpr int rays = 8;
constexpr int nbands = 32;
constexpr int rounds = 5;

float valueAt(int p, int r, int c) {
    return float((p * 7 + r * 33 + c) % 1000) * 0.5f;
}

// Resident set size in kB from /proc/self/status ("VmHWM" is the peak, "VmRSS" the current value).
long statusKb(const char* key) {
    FILE* f = std::fopen("/proc/self/status", "r");
    if (!f) {
        return -1;
    }
    char line[256];
    long kb = -1;
    const size_t len = std::strlen(key);
    while (std::fgets(line, sizeof line, f)) {
        if (std::strncmp(line, key, len) == 0 && line[len] == ':') {
            kb = std::atol(line + len + 1);
            break;
        }
    }
    std::fclose(f);
    return kb;
}

double plainRead(const QString& path, qint64& bytes) {
    std::vector<char> buffer(4194304);
    const auto t0 = Clock::now();
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        return -1;
    }
    bytes = 0;
    qint64 got = 0;
    unsigned sink = 0;
    while ((got = f.read(buffer.data(), qint64(buffer.size()))) > 0) {
        bytes += got;
        sink += unsigned(buffer[size_t(got - 1)]);
    }
    const double s = secondsSince(t0);
    if (sink == 1) {
        std::fputs("", stdout); // keeps the reads from being optimised away
    }
    return s;
}

// What any holder of the samples pays: fresh memory for them, faulted in page by page.
double sampleMemory() {
    Data d;
    d.npoints = points;
    d.modules = 1;
    d.channels = nbands + 1;
    d.rays = rays;
    const auto t0 = Clock::now();
    allocSamples(d);
    const double s = secondsSince(t0);
    freeSamples(d);
    return s;
}

double eventLoopPasses() {
    const auto t0 = Clock::now();
    for (int p = 0; p < points; ++p) {
        BusyGuard::processEvents();
    }
    return secondsSince(t0);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    QTemporaryDir dir;
    if (!dir.isValid()) {
        std::fprintf(stderr, "no temporary directory\n");
        return 1;
    }
    const QString path = dir.filePath(QStringLiteral("010320_13_N1_00.pnthr"));
    ObsFileWriter::Description desc;
    desc.npoints = points;
    desc.rays = rays;
    desc.nbands = nbands;
    desc.value = [](int p, int, int r, int c) { return valueAt(p, r, c); };
    if (!ObsFileWriter::write(path, desc)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return 1;
    }
    const double sampleBytes = double(points) * rays * (nbands + 1) * 4;
    std::printf("file: %d points x %d rays x %d channels x 1 module, %.1f MB of samples\n", points, rays,
                nbands + 1, sampleBytes / 1e6);
    qint64 fileBytes = 0;
    plainRead(path, fileBytes); // warms the page cache
    const long baseKb = statusKb("VmRSS");

    double bestPlain = 1e9, bestLoop = 1e9, bestMemory = 1e9, bestReader = 1e9;
    bool ok = true;
    for (int round = 0; round < rounds; ++round) {
        const double plain = plainRead(path, fileBytes);
        const double loop = eventLoopPasses();
        const double memory = sampleMemory();
        Reader reader;
        const auto t0 = Clock::now();
        Data d = reader.readFile(path, false);
        const double read = secondsSince(t0);
        ok = ok && d.npoints == points && d.samples;
        for (int p : {0, 1, 12345, points - 1}) {
            for (int r : {0, rays - 1}) {
                for (int c : {0, nbands}) {
                    ok = ok && d.samples && d.samples[0][c][r][p] == valueAt(p, r, c);
                }
            }
        }
        freeSamples(d);
        std::printf(
            "round %d: plain read %.3f s, event-loop passes %.3f s, sample memory %.3f s, reader %.3f s\n",
            round + 1, plain, loop, memory, read);
        bestMemory = std::min(bestMemory, memory);
        bestPlain = std::min(bestPlain, plain);
        bestLoop = std::min(bestLoop, loop);
        bestReader = std::min(bestReader, read);
    }
    const double ratio = bestReader / (bestPlain + bestLoop);
    const double peakMb = statusKb("VmHWM") / 1024.0 * 1.048576;
    const double overPct = (peakMb * 1e6 / sampleBytes - 1) * 100;
    std::printf(
        "best: plain read %.3f s (%.0f MB/s), event-loop passes %.3f s (%.2f us each), reader %.3f s\n",
        bestPlain, double(fileBytes) / 1e6 / bestPlain, bestLoop, bestLoop * 1e6 / points, bestReader);
    std::printf("ratio reader / (plain read + event-loop passes): %.2f (goal <= 1.5)\n", ratio);
    std::printf("ratio reader / (plain read + event-loop passes + sample memory): %.2f\n",
                bestReader / (bestPlain + bestLoop + bestMemory));
    std::printf(
        "peak resident memory %.1f MB = sample bytes %+.1f%% (goal <= +10%%); %.1f MB before reading\n",
        peakMb, overPct, baseKb / 1024.0 * 1.048576);
    std::printf("samples %s\n", ok ? "correct" : "WRONG");
    return ok ? 0 : 1;
}
