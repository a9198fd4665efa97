// Fuzzes the observation-file reader: any bytes as a .pnt file, read with samples, then read again as a
// worker reads it, whose series must be those of the record. Debug lines and the standard-output messages
// of damaged files are dropped to keep the run readable.
#include "core/reader.h"
#include "core/data.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {
void quiet(QtMsgType, const QMessageLogContext&, const QString&) {}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const QString path = [] {
        qInstallMessageHandler(quiet);
        if (!std::freopen("/dev/null", "w", stdout)) {
            std::perror("stdout");
        }
        return QDir::tempPath() + QStringLiteral("/strellix_fuzz_reader_%1.pnt")
                                      .arg(QString::number(QCoreApplication::applicationPid()));
    }();
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            return 0;
        }
        f.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    Reader reader;
    Data d = reader.readFile(path, false);
    // Touch every sample the record claims: a wrong count or a hole shows up under the sanitizers.
    float sum = 0;
    for (int m = 0; d.samples && m < d.modules; ++m) {
        for (int c = 0; c < d.channels; ++c) {
            for (int r = 0; r < d.rays; ++r) {
                for (int p = 0; p < d.npoints; ++p) {
                    sum += d.samples[m][c][r][p];
                }
            }
        }
    }
    static volatile float sink;
    sink = sum;

    Reader::SeriesRead read = Reader::readSeries(path, 7);
    Reader::report(read);
    const bool kept = d.samples && d.channels >= 7 && d.npoints > 0;
    if (read.series.size() != (kept ? 7 : 0)) {
        __builtin_trap();
    }
    for (int c = 0; kept && c < 7; ++c) {
        if (read.series[c].size() != d.npoints || std::memcmp(read.series[c].constData(), d.samples[0][c][0],
                                                              size_t(d.npoints) * sizeof(float)) != 0) {
            __builtin_trap();
        }
    }
    freeSamples(d);
    return 0;
}
