#include "directory/views/mapfile.h"

#include "core/busyguard.h"
#include "core/tools.h"

#include <QDebug>
#include <QFile>
#include <QIODevice>
#include <QStringList>

#include <algorithm>
#include <cstring>
#include <limits>

namespace {
// Only the first line of a file is checked for the FFA map writer's header.
bool hasSizeColumn(const QByteArray& header) {
    return header.trimmed().startsWith("file_name");
}

// A whole field as a decimal integer, 0 when it is anything else or does not fit.
int fieldInt(const char* p, int n) {
    int i = 0;
    bool negative = false;
    if (i < n && (p[i] == '+' || p[i] == '-')) {
        negative = p[i] == '-';
        ++i;
    }
    if (i == n) {
        return 0;
    }
    qint64 v = 0;
    for (; i < n; ++i) {
        if (p[i] < '0' || p[i] > '9') {
            return 0;
        }
        v = v * 10 + (p[i] - '0');
        if (v > qint64(std::numeric_limits<int>::max()) + 1) {
            return 0;
        }
    }
    v = negative ? -v : v;
    return v > std::numeric_limits<int>::max() ? 0 : int(v);
}

double fieldDouble(const char* p, int n) {
    return QByteArray::fromRawData(p, n).toDouble();
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
bool parseBytes(const char* line, int length, MapPoint& point, bool sizeColumn, QByteArray& scratch) {
    if (scratch.size() < length) {
        scratch.resize(length);
    }
    char* clean = scratch.data();
    int n = 0;
    for (int i = 0; i < length; ++i) {
        const char c = line[i];
        if (c != ' ' && c != '\r' && c != '\n') {
            clean[n++] = c;
        }
    }
    const char* start[7];
    int size[7];
    int fields = 0;
    int i = 0;
    while (i < n && fields < 7) {
        while (i < n && clean[i] == '\t') {
            ++i;
        }
        if (i == n) {
            break;
        }
        const int from = i;
        while (i < n && clean[i] != '\t') {
            ++i;
        }
        start[fields] = clean + from;
        size[fields] = i - from;
        ++fields;
    }
    if (fields < 5) {
        return false;
    }
    point = MapPoint();
    decodeDescriptor(start[0], size[0], point);
    point.dispersion = fieldInt(start[1], size[1]);
    point.harmonic = fieldInt(start[2], size[2]);
    point.snr = fieldDouble(start[3], size[3]);
    point.period = fieldDouble(start[4], size[4]);
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

bool MapFile::parseLine(const QString& line, MapPoint& point, bool sizeColumn) {
    const QByteArray bytes = line.toLocal8Bit();
    QByteArray scratch;
    return parseBytes(bytes.constData(), bytes.size(), point, sizeColumn, scratch);
}

void MapFile::read(QIODevice& device, qint64 byteSize, QVector<MapPoint>& points,
                   const std::function<void(int)>& progress) {
    const BusyGuard busy;
    const bool sizeColumn = hasSizeColumn(device.readLine());
    const double perLine = byteSize > 0 ? 4400.0 / double(byteSize) : 0;
    qint64 lines = 0;
    MapPoint point;
    QByteArray scratch;
    QByteArray chunk;
    QByteArray rest;
    constexpr qint64 chunkSize = 1 << 20;
    bool atEnd = false;
    while (!atEnd) {
        // A small file is not given a 1 MiB buffer.
        const qint64 want = device.isSequential()
                                ? chunkSize
                                : std::max<qint64>(1, std::min(chunkSize, device.bytesAvailable()));
        const QByteArray got = device.read(want);
        // A device that stops giving bytes ends the file, whatever it says of its end.
        atEnd = got.isEmpty() || device.atEnd();
        chunk = rest + got;
        const char* data = chunk.constData();
        const int n = chunk.size();
        int from = 0;
        while (from < n) {
            const char* eol = static_cast<const char*>(memchr(data + from, '\n', size_t(n - from)));
            if (!eol && !atEnd) {
                break;
            }
            const int to = eol ? int(eol - data) : n;
            ++lines;
            if (parseBytes(data + from, to - from, point, sizeColumn, scratch)) {
                points.append(point);
            }
            if (lines % 200 == 0 && progress) {
                progress(int(perLine * double(lines)));
                BusyGuard::processEvents();
            }
            from = to + 1;
        }
        rest = from < n ? chunk.mid(from) : QByteArray();
    }
    if (progress) {
        progress(100);
    }
}

QString MapFile::read(const QString& path, QVector<MapPoint>& points,
                      const std::function<void(int)>& progress) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
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
