#include "native/searchresultparser.h"

#include "core/appendunseen.h"
#include "core/filebytes.h"
#include "core/numberreader.h"

#include <QIODevice>

#include <algorithm>
#include <cstring>

namespace {
bool isAscii(char c) {
    return static_cast<unsigned char>(c) < 0x80;
}
} // namespace

void SearchResultParser::addLine(const QString& raw) {
    const QByteArray bytes = raw.toUtf8();
    addLine(bytes.constData(), bytes.constData() + bytes.size());
}

void SearchResultParser::addAll(QIODevice& device) {
    const FileBytes bytes(device, true);
    addText(bytes.begin(), bytes.end(), FileBytes::nameOf(device));
}

bool SearchResultParser::read(const QString& path) {
    FileBytes bytes(path);
    if (!bytes.opened()) {
        return false;
    }
    bytes.trimAsTextStream(true);
    addText(bytes.begin(), bytes.end(), path);
    return true;
}

void SearchResultParser::addText(const char* begin, const char* end, const QString& where) {
    const qint64 before = nonFinite;
    NumberReader::forEachLine(begin, end, [this](const char* b, const char* e) { addLine(b, e); });
    NumberReader::reportNonFinite(nonFinite - before, where);
}

void SearchResultParser::addLine(const char* begin, const char* end) {
    const char* b = begin;
    const char* e = end;
    NumberReader::trim(b, e);
    // Space of other scripts at the ends is trimmed as the toolkit trims it.
    QByteArray trimmed;
    if (b < e && (!isAscii(*b) || !isAscii(e[-1]))) {
        trimmed = NumberReader::text(begin, end).trimmed().toUtf8();
        b = trimmed.constData();
        e = b + trimmed.size();
    }
    if (NumberReader::startsWith(b, e, "sigma=")) {
        return;
    }
    if (NumberReader::startsWith(b, e, "disp=")) {
        currentDm = NumberReader::text(b + 5, e);
        appendUnseen(dms, seenDms, currentDm);
        return;
    }
    if (currentDm.isEmpty()) {
        return;
    }
    addNumbers(b, e);
}

void SearchResultParser::addNumbers(const char* begin, const char* end) {
    // Split at every single blank, empty pieces kept: two blanks put a 0 between the numbers. The
    // series is filled as it is parsed, without zeroing its fresh memory first.
    QVector<double> values;
    values.reserve(NumberReader::countPieces(begin, end, ' '));
    double max = maxValue;
    double min = minValue;
    NumberReader::forEachBlankNumber(begin, end, [&](double read) {
        const double v = NumberReader::finiteOr0(read, nonFinite);
        values.append(v);
        max = std::max(max, v);
        min = std::min(min, v);
    });
    maxValue = max;
    minValue = min;
    ++numberLines;
    byDm.insert(currentDm, values);
}

QHash<QString, QVector<double>> SearchResultParser::takeSeries() {
    QHash<QString, QVector<double>> out;
    out.swap(byDm);
    return out;
}
