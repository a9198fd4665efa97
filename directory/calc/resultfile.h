#ifndef RESULTFILE_H
#define RESULTFILE_H

#include <QHash>
#include <QString>
#include <QVector>

// Readers of Fourier/FFA result files: six header lines (core/resultheader.h), then per DM a record
// head "disp: D" / "days: C" and, when C > 0, a block of N little-endian values. They add into sums the
// caller owns and read at most `maxRecords` records. Every check is made before the first value is
// added, so a refused file (cut block, wrong N, missing or short target) leaves the sums unchanged.
// A NaN or infinite value counts 0, with one debug line for its block. Messages go to the debug log;
// only the hash reader also reports through `errors`.

// The two lines of a record head, joined: {"error": 1} unless it begins with "disp"; otherwise "disp"
// and, with four tokens or more, "days" or "points" by the third token.
QHash<QString, int> parseRecordHeader(const QString& head);

namespace ResultFile {

// Largest span of blocks the matrix and hash readers take into memory.
constexpr qint64 maxBlockBytes = 64LL * 1024 * 1024;

// 1 added; -1 cannot open; -2 no record of that DM with a block; -3 N is 0 or not sum.size(), or the
// file ends inside a block it needs. `layout`, the DM list the file was written for, lets a regular
// file be read without walking the heads before the DM's record.
int addFourierFromFile(const QString& fileName, int maxRecords, int dispersion, QVector<double>& sum,
                       const QVector<int>& layout = {});
// Record k into row k. 1 read (also with no block); -1 cannot open; -3 points is 0 or not N, a block is
// cut, or a row for a block is missing or shorter than N.
int addFourierMatrixFromFile(const QString& fileName, int maxRecords, QVector<QVector<double>>& matrix,
                             int points);
// Every block under Tools::fourierFileBaseD(shift, averages, withNull, DM).
bool addFourierHashFromFile(const QString& fileName, int maxRecords, int shift, int averages, int withNull,
                            QHash<QString, QVector<double>>& sums, int points, QString& errors);

} // namespace ResultFile

#endif // RESULTFILE_H
