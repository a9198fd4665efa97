// Fuzzes the search-result text format: any bytes as one file, through the parser.
#include "native/searchresultparser.h"

#include <QBuffer>
#include <QByteArray>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), int(size));
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return 0;
    }
    SearchResultParser parser;
    parser.addAll(buffer);
    // The range covers every number kept, and every DM with a series is listed.
    const auto& series = parser.series();
    for (auto it = series.cbegin(); it != series.cend(); ++it) {
        if (!parser.dispersions().contains(it.key()) || it.value().isEmpty()) {
            __builtin_trap();
        }
        for (double v : it.value()) {
            if (v > parser.maximum() || v < parser.minimum()) {
                __builtin_trap();
            }
        }
    }
    if (!series.isEmpty() && !parser.hasRange()) {
        __builtin_trap();
    }
    return 0;
}
