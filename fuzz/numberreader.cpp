// Fuzzes the byte-level number reader against the toolkit's own conversion of the same text: any bytes
// as one piece give the same double, float and int, and the same verdict, as QString's conversions.
#include "core/numberreader.h"

#include <QByteArray>
#include <QChar>
#include <QString>

#include <cmath>
#include <cstddef>
#include <cstdint>

namespace {
bool same(double a, double b) {
    return (std::isnan(a) && std::isnan(b)) || (a == b && std::signbit(a) == std::signbit(b));
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 4096) {
        return 0;
    }
    const char* b = reinterpret_cast<const char*>(data);
    const char* e = b + size;
    // The toolkit drops a byte-order mark at the start of what it decodes; a piece meets one inside a line.
    const QByteArray bytes(b, int(size));
    QString text = QString::fromUtf8(b, int(size)); // the text of every byte, a NUL included
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        text.prepend(QChar(0xFEFF));
    }
    bool ok = false;
    bool expectedOk = false;
    if (!same(NumberReader::toDouble(b, e, &ok), text.toDouble(&expectedOk)) || ok != expectedOk) {
        __builtin_trap();
    }
    if (!same(NumberReader::toFloat(b, e, &ok), text.toFloat(&expectedOk)) || ok != expectedOk) {
        __builtin_trap();
    }
    if (NumberReader::toInt(b, e, &ok) != text.toInt(&expectedOk) || ok != expectedOk) {
        __builtin_trap();
    }
    return 0;
}
