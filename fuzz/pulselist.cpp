// Fuzzes the pulse list reader: any bytes as list_in_files.txt, turned into file-table rows; every row
// after the header must start with its running number.
#include "directory/calc/pulselist.h"

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
    const QVector<QString> rows = PulseList::rows(buffer);
    if (rows.isEmpty() || rows.first() != PulseList::header()) {
        std::abort();
    }
    for (int i = 1; i < rows.size(); ++i) {
        if (!rows.at(i).startsWith(QString::number(i) + QLatin1Char(' '))) {
            std::abort();
        }
    }
    return 0;
}
