// Fuzzes the statistics file parser: any bytes as the file text; every row kept has a date that
// starts with "20".
#include "profiles/statisticsfile.h"

#include <QString>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QHash<QString, StatisticsRow> rows =
        StatisticsFile::parse(QString::fromUtf8(reinterpret_cast<const char*>(data), int(size)));
    for (auto it = rows.cbegin(); it != rows.cend(); ++it) {
        if (!it.key().startsWith(QLatin1String("20"))) {
            __builtin_trap();
        }
    }
    return 0;
}
