#ifndef NATIVEDATES_H
#define NATIVEDATES_H

#include "support/obsfilewriter.h"

#include <QString>
#include <QVector>

#include <functional>

// Native data of the multi-date form: observation files of one module and one ray with six bands
// (seven channels), named by date as the pipeline names them, and the same seven series in memory.
namespace NativeDates {
// The form's constant band frequencies (MHz) and sampling interval (s).
QVector<double> formBands();
constexpr double formTres = 0.0999424;

// "DDMMYY_hh_N1_<part><suffix>.pnt", e.g. fileName("170524") = "170524_09_N1_00.pnt".
QString fileName(const QString& ddmmyy, int hour = 9, const QString& suffix = QString(),
                 const QString& part = QStringLiteral("00"));

// Value of one sample of channel c (0 .. 6) at a point.
using SeriesFn = std::function<float(int point, int channel)>;

// A file description of npoints points with the form's bands; null value: every sample 0.
ObsFileWriter::Description description(int npoints, SeriesFn value = SeriesFn());
// Writes such a file, creating missing directories; false when it cannot be written.
bool write(const QString& path, int npoints, SeriesFn value = SeriesFn());

// The seven channel series of a date in memory.
QVector<QVector<float>> channels(int npoints, SeriesFn value);
} // namespace NativeDates

#endif // NATIVEDATES_H
