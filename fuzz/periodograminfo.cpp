// Fuzzes the periodogram layout reader: any bytes as info.txt. A layout it accepts must be safe to size
// a periodogram from and to index every width it names.
#include "directory/calc/fouriercalculate.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const QString path =
        QDir::tempPath() +
        QStringLiteral("/strellix_fuzz_periodograminfo_%1.txt").arg(QCoreApplication::applicationPid());
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            return 0;
        }
        f.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    PeriodogramInfo info;
    if (FourierCalculate::readPeriodogramInfo(path, info)) {
        const qint64 n = qint64(info.rows) * info.cols;
        if (n < 1 || n > FourierCalculate::maxPeriodogramPoints || info.cols > info.widths.size() ||
            info.periods.size() < info.rows || info.foldbins.size() < info.rows || !info.error.isEmpty()) {
            std::abort();
        }
    } else if (info.error.isEmpty()) {
        std::abort();
    }
    return 0;
}
