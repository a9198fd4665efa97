#include "directory/calc/mapfile.h"

#include "core/busyguard.h"
#include "core/filebytes.h"
#include "core/numberreader.h"
#include "core/tools.h"

#include <QDebug>
#include <QFile>
#include <QIODevice>
#include <QStringList>

#include <algorithm>
#include <cstring>
#include <limits>

namespace {
// The FFA map writer's layout is known by its whole header: these columns, the last one the circle size.
// A harmonics map whose header only begins the same way keeps its sixth field as the exclusion flag.
bool hasSizeColumn(const char* begin, const char* end) {
    static const char* const columns[] = {"file_name", "dispersion", "point", "snr", "period", "size"};
    const char* p = begin;
    for (const char* column : columns) {
        while (p < end && NumberReader::isSpace(*p)) {
            ++p;
        }
        const char* word = p;
        while (p < end && !NumberReader::isSpace(*p)) {
            ++p;
        }
        if (size_t(p - word) != std::strlen(column) || std::memcmp(word, column, size_t(p - word)) != 0) {
            return false;
        }
    }
    while (p < end && NumberReader::isSpace(*p)) {
        ++p;
    }
    return p == end;
}

// A whole field as a decimal integer, 0 when it is anything else or does not fit.
int fieldInt(const char* p, int n) {
    return NumberReader::toInt(p, p + n);
}

double fieldDouble(const char* p, int n, qint64& nonFinite) {
    return NumberReader::finiteOr0(NumberReader::toDouble(p, p + n), nonFinite);
}

// Descriptor "f%1_n%2_av%3": character positions count characters, not bytes.
void decodeDescriptor(const char* p, int n, MapPoint& point) {
    bool ascii = true;
    for (int i = 0; i < n; ++i) {
        ascii = ascii && (static_cast<unsigned char>(p[i]) < 0x80);
    }
    if (!ascii) {
        const QString code = QString::fromLocal8Bit(p, n);
        point.shift = code.mid(2, 1).toInt();
        if (code.mid(1, 1) == QLatin1String("0")) {
            point.shift = -point.shift;
        }
        point.withNulls = code.mid(5, 1).toInt();
        point.averages = code.mid(9).toInt();
        return;
    }
    point.shift = n > 2 ? fieldInt(p + 2, 1) : 0;
    if (n > 1 && p[1] == '0') {
        point.shift = -point.shift;
    }
    point.withNulls = n > 5 ? fieldInt(p + 5, 1) : 0;
    point.averages = n > 9 ? fieldInt(p + 9, n - 9) : 0;
}

// One data line without its blanks, split at tabs with empty fields dropped. `scratch` is reused
// between lines so that reading allocates nothing per line.
bool parseBytes(const char* line, int length, MapPoint& point, bool sizeColumn, QByteArray& scratch,
                qint64& nonFinite) {
    const char* start[7];
    const char* fieldEnd[7];
    const int fields = NumberReader::tabFields(line, line + length, scratch, false, start, fieldEnd, 7);
    int size[7];
    for (int i = 0; i < fields; ++i) {
        size[i] = int(fieldEnd[i] - start[i]);
    }
    if (fields < 5) {
        return false;
    }
    point = MapPoint();
    decodeDescriptor(start[0], size[0], point);
    point.dispersion = fieldInt(start[1], size[1]);
    point.harmonic = fieldInt(start[2], size[2]);
    point.snr = fieldDouble(start[3], size[3], nonFinite);
    point.period = fieldDouble(start[4], size[4], nonFinite);
    point.circleSize = Tools::snrLevel(point.snr);
    point.excludeFlag = 0;
    point.sumAlfa = 0;
    if (fields >= 6) {
        if (sizeColumn) {
            // The FFA map writer puts the size level here, not an exclusion flag.
            point.circleSize = fieldInt(start[5], size[5]);
        } else {
            point.excludeFlag = fieldInt(start[5], size[5]);
        }
        if (fields >= 7) {
            point.sumAlfa = fieldInt(start[6], size[6]);
        }
    }
    return true;
}
} // namespace

bool MapFile::parseLine(const QString& line, MapPoint& point, bool sizeColumn, qint64* nonFinite) {
    const QByteArray bytes = line.toUtf8();
    QByteArray scratch;
    qint64 count = 0;
    const bool taken = parseBytes(bytes.constData(), bytes.size(), point, sizeColumn, scratch, count);
    if (nonFinite) {
        *nonFinite += count;
    }
    return taken;
}

void MapFile::read(QIODevice& device, qint64 byteSize, QVector<MapPoint>& points,
                   const std::function<void(int)>& progress) {
    const BusyGuard busy;
    const FileBytes bytes(device);
    const char* at = bytes.begin();
    const char* const end = bytes.end();
    const char* line = nullptr;
    const char* lineEnd = nullptr;
    bool sizeColumn = false;
    if (NumberReader::nextLine(at, end, line, lineEnd)) {
        sizeColumn = hasSizeColumn(line, lineEnd);
    }
    const double perLine = byteSize > 0 ? 4400.0 / double(byteSize) : 0;
    qint64 lines = 0;
    qint64 nonFinite = 0;
    MapPoint point;
    QByteArray scratch;
    NumberReader::forEachLine(at, end, [&](const char* b, const char* e) {
        ++lines;
        if (parseBytes(b, int(e - b), point, sizeColumn, scratch, nonFinite)) {
            points.append(point);
        }
        if (lines % 200 == 0 && progress) {
            progress(int(perLine * double(lines)));
            BusyGuard::processEvents();
        }
    });
    NumberReader::reportNonFinite(nonFinite, FileBytes::nameOf(device));
    if (progress) {
        progress(100);
    }
}

QString MapFile::read(const QString& path, QVector<MapPoint>& points,
                      const std::function<void(int)>& progress) {
    QFile file(path);
    // Carriage returns are dropped with the blanks of every line.
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        qDebug().noquote() << "Error9! Cannot open file" << path;
        return QStringLiteral("Файл с картой гармоник не найден: \n") + path;
    }
    read(file, file.size(), points, progress);
    return QString();
}

void MapFile::filter(QVector<MapPoint>& points, const MapFilter& in) {
    for (MapPoint& p : points) {
        p.selected = false;
        if (in.maxX > 0 && p.period > in.maxX) {
            continue;
        }
        if (in.minX > 0 && p.period < in.minX) {
            continue;
        }
        if (!in.asIs && p.excludeFlag > 0) {
            continue;
        }
        if (in.withNulls >= 0 && p.withNulls != in.withNulls) {
            continue;
        }
        if (in.averages >= 0 && p.averages != in.averages) {
            continue;
        }
        if (p.snr < in.minSnr) {
            continue;
        }
        if (in.sumAlfa > 0 && p.sumAlfa != in.sumAlfa) {
            continue;
        }
        if (!in.asIs && Tools::isInterferencePeriod(p.period, in.siteCode, in.module, in.ray, true)) {
            continue;
        }
        p.selected = true;
        p.circleSize = Tools::levelOf(p.snr, in.minSnr);
    }
}
