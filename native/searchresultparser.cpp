#include "native/searchresultparser.h"

#include "native/appendunseen.h"

#include <QIODevice>
#include <QLatin1String>
#include <QStringRef>
#include <QTextStream>

#include <cmath>

namespace {
const QLatin1String sigmaTag("sigma=");
const QLatin1String dispTag("disp=");

// A piece that is empty, not a number, or not finite counts as 0: an infinite value would leave the
// plot of its date without a range.
double pieceValue(const QStringRef& piece) {
    bool ok = false;
    const double v = piece.toDouble(&ok);
    return ok && std::isfinite(v) ? v : 0.0;
}
} // namespace

void SearchResultParser::addLine(const QString& raw) {
    const QString line = raw.trimmed();
    if (line.startsWith(sigmaTag)) {
        return;
    }
    if (line.startsWith(dispTag)) {
        currentDm = line.mid(dispTag.size());
        appendUnseen(dms, seenDms, currentDm);
        return;
    }
    if (currentDm.isEmpty()) {
        return;
    }
    // Split at every single blank, empty pieces kept: two blanks put a 0 between the numbers.
    QVector<double> values;
    values.reserve(line.count(QLatin1Char(' ')) + 1);
    int from = 0;
    for (;;) {
        const int blank = line.indexOf(QLatin1Char(' '), from);
        const int end = blank < 0 ? line.size() : blank;
        const double v = pieceValue(line.midRef(from, end - from));
        values.append(v);
        if (v > maxValue) {
            maxValue = v;
        }
        if (v < minValue) {
            minValue = v;
        }
        if (blank < 0) {
            break;
        }
        from = blank + 1;
    }
    ++numberLines;
    byDm.insert(currentDm, values);
}

void SearchResultParser::addAll(QIODevice& device) {
    QTextStream in(&device);
    in.setCodec("UTF-8");
    QString line;
    while (in.readLineInto(&line)) {
        addLine(line);
    }
}

QHash<QString, QVector<double>> SearchResultParser::takeSeries() {
    QHash<QString, QVector<double>> out;
    out.swap(byDm);
    return out;
}
