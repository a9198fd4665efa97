// Fuzzes the harmonics map reader and filter: any bytes as a map file. Every point read must come from a
// line of at least five fields, and the filter must leave sizes of shown points within the level range.
#include "directory/calc/mapfile.h"

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
    QVector<MapPoint> points;
    MapFile::read(buffer, bytes.size(), points, [](int) {});
    if (points.size() > bytes.count('\n') + 1) {
        std::abort();
    }
    MapFilter inputs;
    inputs.minSnr = 4;
    inputs.maxX = 5;
    MapFile::filter(points, inputs);
    for (const MapPoint& p : points) {
        if (p.selected && (p.circleSize < 1 || p.circleSize > 18 || !(p.snr >= 4) || p.period > 5)) {
            std::abort();
        }
    }
    return 0;
}
