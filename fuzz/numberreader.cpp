// Fuzzes the byte-level number reader against the toolkit's own conversion of the same text: any bytes
// as one piece give the same double, float and int, and the same verdict, as QString's conversions; as a
// line of blank-separated pieces, the same values read in place as piece by piece.
#include "core/numberreader.h"

#include <QByteArray>
#include <QChar>
#include <QString>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

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
    // The same bytes as a line of blank-separated numbers: read in place, each piece as toDouble reads it.
    std::vector<double> alone;
    NumberReader::forEachPiece(
        b, e, ' ', [&](const char* pb, const char* pe) { alone.push_back(NumberReader::toDouble(pb, pe)); });
    std::size_t at = 0;
    NumberReader::forEachBlankNumber(b, e, [&](double v) {
        if (at >= alone.size() || !same(v, alone[at])) {
            __builtin_trap();
        }
        ++at;
    });
    if (at != alone.size()) {
        __builtin_trap();
    }
    return 0;
}
