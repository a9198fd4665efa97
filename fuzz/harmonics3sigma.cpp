// Fuzzes the 3-sigma harmonic file reader: any bytes as one file. Every harmonic listed must be positive,
// once, with a flag, and every record's S/N must be at least the threshold.
#include "directory/calc/harmonics3sigmafile.h"

#include <QBuffer>
#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QByteArray bytes(reinterpret_cast<const char*>(data), int(size));
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::ReadOnly)) {
        return 0;
    }
    Harmonics3sigma out;
    qint64 line = 0;
    Harmonics3sigmaFile::readLines(buffer, 3, {}, out, line, bytes.size() / 70, [](int) {});
    if (out.harmonics.size() != out.withNulls.size()) {
        std::abort();
    }
    for (int h : out.harmonics) {
        if (h <= 0) {
            std::abort();
        }
    }
    for (const Sum3sigmaRecord& r : out.records) {
        if (!(r.snr >= 3) || r.lines.isEmpty()) {
            std::abort();
        }
    }
    return 0;
}
