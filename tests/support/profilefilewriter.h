#ifndef PROFILEFILEWRITER_H
#define PROFILEFILEWRITER_H

#include <QPair>
#include <QString>
#include <QVector>

// Writes average-profile files for tests: "period=<text>" lines, each followed by one line of samples
// separated by single spaces, below a directory, creating the subdirectories of a relative name.
namespace ProfileFileWriter {
using Block = QPair<QString, QVector<double>>; // period text as written, samples
// "p<date>_dm<dm>_p<period>_s<decimals>.txt"
QString fileName(const QString& date, const QString& dm, const QString& period, int decimals);
QString text(const QVector<Block>& blocks);
// Writes raw text; false when the file cannot be written.
bool write(const QString& path, const QString& content);
bool write(const QString& path, const QVector<Block>& blocks);
// A profile of n samples: a Gaussian pulse of the given height at position `at` over a flat base of 1.
QVector<double> pulse(int n, int at, double height);
} // namespace ProfileFileWriter

#endif // PROFILEFILEWRITER_H
