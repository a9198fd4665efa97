#ifndef MAPFILE_H
#define MAPFILE_H

#include "directory/calc/records.h"

#include <QString>
#include <QVector>

#include <functional>

class QIODevice;

// Harmonics map files of the search pipeline: one header line, then one tab-separated line per strong
// harmonic. The readers append to a caller-owned vector and own nothing; the filter marks the points
// to draw from the form's inputs, which the caller copies once into a MapFilter.
struct MapFilter {
    double maxX = 0;    // s; 0 or less: no upper period limit
    double minX = 0;    // s; 0 or less: no lower period limit
    bool asIs = false;  // keep excluded points and interference periods
    int withNulls = -1; // -1: both variants
    int averages = -1;  // -1: every averaging count
    double minSnr = 0;  // points below are hidden, equal ones pass
    int sumAlfa = 0;    // 0: every segment count
    QString siteCode;
    int module = 0;
    int ray = 0;
};

namespace MapFile {
// One data line into `point` (from MapPoint's defaults). False for a line of fewer than five fields.
// `sizeColumn` reads the sixth field as the circle size (the FFA map writer's layout). An S/N or period
// that is NaN, infinite or overflowing counts 0 and is counted in `nonFinite` (may be null).
bool parseLine(const QString& line, MapPoint& point, bool sizeColumn, qint64* nonFinite = nullptr);

// Reads a whole map file from `device` (header included) with one read and appends its points. A header
// of exactly the FFA map writer's columns "file_name dispersion point snr period size" marks its layout.
// Values that count 0 are reported in one debug line. `progress` (may be empty) gets a percentage after
// every 200th line and 100 at the end; `byteSize` scales it.
void read(QIODevice& device, qint64 byteSize, QVector<MapPoint>& points,
          const std::function<void(int)>& progress);

// Opens `path` and reads it as above: "" on success, else the text for the user.
QString read(const QString& path, QVector<MapPoint>& points, const std::function<void(int)>& progress);

// Sets `selected` of every point; a selected point's circle size becomes its level against minSnr.
void filter(QVector<MapPoint>& points, const MapFilter& inputs);
} // namespace MapFile

#endif // MAPFILE_H
