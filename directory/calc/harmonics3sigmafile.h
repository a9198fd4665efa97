#ifndef HARMONICS3SIGMAFILE_H
#define HARMONICS3SIGMAFILE_H

#include "directory/calc/records.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>

class QIODevice;

// The "harmonics_3sigma" files of a result directory: tab-separated lines of one harmonic above a sigma
// level in one result series, DM and observation file. Lines with the same harmonic, DM and descriptor
// add up into one record keyed "harmonic-dm-descriptor"; a line repeated exactly counts once. The
// reader fills a caller-owned Harmonics3sigma and owns nothing.
struct Harmonics3sigma {
    QHash<QString, Sum3sigmaRecord> records;
    QVector<int> harmonics;     // every harmonic with a record, once each; ascending after read()
    QHash<int, bool> withNulls; // harmonic -> the with-nulls digit of its first record was not 0
};

namespace Harmonics3sigmaFile {
// Adds the lines of one file with S/N of at least `k`; `years` ("14".."20") filters by the two digits
// at characters 5-6 of the observation file name when not empty. `line` counts lines over all files;
// `progress` (may be empty) gets line x 100 / estimate every 100 lines.
void readLines(QIODevice& device, double k, const QStringList& years, Harmonics3sigma& out, qint64& line,
               qint64 estimate, const std::function<void(int)>& progress);

// Reads every file of `dir` whose name starts with "harmonics_3sigma", in name order, replacing `out`.
// "" when a harmonic was found, else the text for the user; the refusals before the read (threshold
// below 3, missing directory, no such file) leave `out` as it was.
QString read(const QString& dir, double k, const QStringList& years, Harmonics3sigma& out,
             const std::function<void(int)>& progress);
} // namespace Harmonics3sigmaFile

#endif // HARMONICS3SIGMAFILE_H
