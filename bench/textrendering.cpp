// Times the two text renderings of "Read binary to text" on files of realistic size: a result file of 128
// DMs of 16384 floats, and an observation record of 6 modules, 8 rays and 33 channels.
#include "benchclock.h"
#include "core/data.h"
#include "core/reader.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtEndian>

#include <chrono>
#include <cstdio>
#include <functional>

namespace {

double secondsOf(const std::function<void()>& work) {
    const auto t0 = Bench::Clock::now();
    work();
    return Bench::secondsSince(t0);
}

bool writeResultFile(const QString& path, int dms, int points) {
    QByteArray bytes("file: f00_n0_av0\npoints: " + QByteArray::number(points) +
                     "\ntype: float\nfirst_point: 0\naverages: 0\ncomment\n");
    unsigned state = 7;
    for (int d = 0; d < dms; ++d) {
        if (d > 0) {
            bytes += '\n';
        }
        bytes += "disp: " + QByteArray::number(d) + "\ndays: 12\n";
        for (int i = 0; i < points; ++i) {
            state = state * 1664525u + 1013904223u;
            char raw[4];
            qToLittleEndian<float>(float(state >> 8) / float(1 << 20), raw);
            bytes.append(raw, 4);
        }
    }
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

} // namespace

int main() {
    QTemporaryDir dir;
    if (!dir.isValid()) {
        std::printf("no temporary directory\n");
        return 1;
    }

    const QString in = dir.filePath("f00_n0_av0.txt");
    const QString out = dir.filePath("f00_n0_av0_text.txt");
    if (!writeResultFile(in, 128, 16384)) {
        std::printf("cannot write the result file\n");
        return 1;
    }
    QString error;
    const double resultSecs = secondsOf([&] { error = Reader::convertResultFileToText(in, out); });
    const double inMb = double(QFileInfo(in).size()) / 1e6;
    const double outMb = double(QFileInfo(out).size()) / 1e6;
    std::printf("result file  %6.1f MB -> %6.1f MB text: %6.3f s (%5.1f MB/s in)%s\n", inMb, outMb,
                resultSecs, inMb / resultSecs, error.isEmpty() ? "" : "  FAILED");

    Data data;
    data.modules = 6;
    data.rays = 8;
    data.channels = 33;
    data.npoints = 4000;
    data.firstModule = 1;
    if (!allocSamples(data)) {
        std::printf("cannot allocate the record\n");
        return 1;
    }
    unsigned state = 11;
    for (int m = 0; m < data.modules; ++m) {
        for (int c = 0; c < data.channels; ++c) {
            for (int r = 0; r < data.rays; ++r) {
                for (int p = 0; p < data.npoints; ++p) {
                    state = state * 1664525u + 1013904223u;
                    data.samples[m][c][r][p] = float(state >> 8) / float(1 << 14);
                }
            }
        }
    }
    const QString obsOut = dir.filePath("obs_pnt.txt");
    int num = -1;
    const double obsSecs = secondsOf([&] { num = Reader::writeDataAsText(data, obsOut); });
    const double samplesMb = 4.0 * data.modules * data.rays * data.channels * data.npoints / 1e6;
    std::printf("observation  %6.1f MB -> %6.1f MB text: %6.3f s (%5.1f MB/s of samples)%s\n", samplesMb,
                double(QFileInfo(obsOut).size()) / 1e6, obsSecs, samplesMb / obsSecs,
                num == 0 ? "" : "  FAILED");
    freeSamples(data);
    return error.isEmpty() && num == 0 ? 0 : 1;
}
