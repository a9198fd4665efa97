#include "profiles/statisticsfile.h"

#include "core/filebytes.h"
#include "core/numberreader.h"

#include <QTextStream>

namespace {

// The rows of UTF-8 text; the first line is the header, whatever it holds.
QHash<QString, StatisticsRow> parseBytes(const char* at, const char* end, qint64& nonFinite) {
    QHash<QString, StatisticsRow> rows;
    const char* line = nullptr;
    const char* lineEnd = nullptr;
    NumberReader::nextLine(at, end, line, lineEnd);
    while (NumberReader::nextLine(at, end, line, lineEnd)) {
        if (lineEnd - line < 2 || line[0] != '2' || line[1] != '0') {
            continue;
        }
        // Fields 0 to 4 split at ";", empty ones kept; a sixth must exist.
        const char* field[5] = {};
        const char* fieldEnd[5] = {};
        int fields = 0;
        NumberReader::forEachPiece(line, lineEnd, ';', [&](const char* b, const char* e) {
            if (fields < 5) {
                field[fields] = b;
                fieldEnd[fields] = e;
            }
            ++fields;
        });
        if (fields < 6) {
            continue;
        }
        const QString date = NumberReader::text(field[0], fieldEnd[0]);
        if (rows.contains(date)) {
            continue;
        }
        auto value = [&](int i) {
            return NumberReader::finiteOr0(NumberReader::toDouble(field[i], fieldEnd[i]), nonFinite);
        };
        StatisticsRow row;
        row.sigma = value(1);
        row.signal = value(3);
        row.snr = value(4);
        rows.insert(date, row);
    }
    return rows;
}

} // namespace

QHash<QString, StatisticsRow> StatisticsFile::parse(QTextStream& in) {
    return parse(in.readAll());
}

QHash<QString, StatisticsRow> StatisticsFile::parse(const QString& text, qint64* nonFinite) {
    const QByteArray bytes = text.toUtf8();
    qint64 count = 0;
    QHash<QString, StatisticsRow> rows =
        parseBytes(bytes.constData(), bytes.constData() + bytes.size(), count);
    if (nonFinite) {
        *nonFinite = count;
    }
    return rows;
}

bool StatisticsFile::read(const QString& path, QHash<QString, StatisticsRow>& rows) {
    FileBytes bytes(path);
    if (!bytes.opened()) {
        return false;
    }
    bytes.trimAsTextStream(false);
    qint64 nonFinite = 0;
    rows = parseBytes(bytes.begin(), bytes.end(), nonFinite);
    NumberReader::reportNonFinite(nonFinite, path);
    return true;
}
