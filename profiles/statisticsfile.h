#ifndef STATISTICSFILE_H
#define STATISTICSFILE_H

#include <QHash>
#include <QString>

class QTextStream;

// sigma, S/N and signal of one date of a statistics file.
struct StatisticsRow {
    double sigma = 0;
    double snr = 0;
    double signal = 0;
};

// The text format of a statistics file: a header line, then rows "date;sigma;x;signal;snr;x[;...]"
// whose date starts with "20". Other lines and rows of fewer than six fields are skipped; unparsable
// numbers read as 0, and so do NaN, infinite and overflowing ones; the first row of a date wins. Plain
// values only, nothing shared: files may be parsed on several threads at once.
namespace StatisticsFile {
// Date text -> row. `nonFinite` (may be null) counts the values that were not finite.
QHash<QString, StatisticsRow> parse(QTextStream& in);
QHash<QString, StatisticsRow> parse(const QString& text, qint64* nonFinite = nullptr);
// False when the file cannot be opened; values that count 0 are reported in one debug line.
bool read(const QString& path, QHash<QString, StatisticsRow>& rows);
} // namespace StatisticsFile

#endif // STATISTICSFILE_H
