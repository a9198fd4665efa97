#ifndef RESULTFILEWRITER_H
#define RESULTFILEWRITER_H

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

// Writes Fourier/FFA result files (f%1_n%2_av%3.txt) for tests: six header lines, then per DM a
// "disp: " line, a "days: " line and, when days > 0, a block of little-endian floats or doubles; a line
// feed separates a block from the next record.
class ResultFileWriter {
public:
    struct Record {
        int dm = 0;
        int days = 0;
        QVector<double> values; // written only when days > 0
    };

    // Six header lines without line ends: name, "points: N", "type: float" (when floats), first point,
    // averages and a comment line. firstPoint empty writes "first_point:" with nothing after it.
    static QStringList header(int points, bool typeFloat, const QString& firstPoint = QStringLiteral("0"));

    // The file bytes. Values are doubles unless the header holds "type: float" or no first point.
    // By default a record without block is followed directly by the next head; separateAll puts a
    // line feed between every two records, as the pipeline writes them.
    static QByteArray bytes(const QStringList& header, const QVector<Record>& records, bool doubles,
                            bool separateAll = false);

    // Writes bytes(...) minus the last dropBytes bytes; false when the file cannot be written.
    static bool write(const QString& path, const QStringList& header, const QVector<Record>& records,
                      bool doubles, int dropBytes = 0, bool separateAll = false);
};

#endif // RESULTFILEWRITER_H
