#include "directory/views/mapfile.h"

#include "core/busyguard.h"
#include "core/tools.h"

#include <QDebug>
#include <QFile>
#include <QIODevice>
#include <QStringList>

namespace {
// Only the first line of a file is checked for the FFA map writer's header.
bool hasSizeColumn(const QByteArray& header) {
    return header.trimmed().startsWith("file_name");
}
} // namespace

bool MapFile::parseLine(const QString& line, MapPoint& point, bool sizeColumn) {
    QString clean = line;
    clean.remove(QLatin1Char(' '));
    clean.remove(QLatin1Char('\r'));
    clean.remove(QLatin1Char('\n'));
    const QStringList fields = clean.split(QLatin1Char('\t'), Qt::SkipEmptyParts);
    if (fields.size() < 5) {
        return false;
    }
    point = MapPoint();
    const QString& code = fields[0];
    // "f%1_n%2_av%3": shift code at 2-3, with-nulls digit at 6, averagings from the 10th character.
    point.shift = code.mid(2, 1).toInt();
    if (code.mid(1, 1) == QLatin1String("0")) {
        point.shift = -point.shift;
    }
    point.withNulls = code.mid(5, 1).toInt();
    point.averages = code.mid(9).toInt();
    point.dispersion = fields[1].toInt();
    point.harmonic = fields[2].toInt();
    point.snr = fields[3].toDouble();
    point.period = fields[4].toDouble();
    point.circleSize = Tools::snrLevel(point.snr);
    point.excludeFlag = 0;
    point.sumAlfa = 0;
    if (fields.size() >= 6) {
        if (sizeColumn) {
            // The FFA map writer puts the size level here, not an exclusion flag.
            point.circleSize = fields[5].toInt();
        } else {
            point.excludeFlag = fields[5].toInt();
        }
        if (fields.size() >= 7) {
            point.sumAlfa = fields[6].toInt();
        }
    }
    return true;
}

void MapFile::read(QIODevice& device, qint64 byteSize, QVector<MapPoint>& points,
                   const std::function<void(int)>& progress) {
    const BusyGuard busy;
    const bool sizeColumn = hasSizeColumn(device.readLine());
    const double perLine = byteSize > 0 ? 4400.0 / double(byteSize) : 0;
    qint64 lines = 0;
    MapPoint point;
    while (!device.atEnd()) {
        const QString line = QString::fromLocal8Bit(device.readLine());
        ++lines;
        if (parseLine(line, point, sizeColumn)) {
            points.append(point);
        }
        if (lines % 200 == 0 && progress) {
            progress(int(perLine * double(lines)));
            BusyGuard::processEvents();
        }
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
