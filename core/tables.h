#ifndef TABLES_H
#define TABLES_H

#include <QHash>
#include <QPair>
#include <QString>
#include <QVector>

// Fixed tables shared by plots, calculations and Tools. Filled during static initialisation and never
// changed afterwards. Periods are in seconds, declinations in degrees.

// Graph i of a plot and its legend entry take entry i modulo 32 (two rounds of the same 16 colours).
extern const QVector<QString> graphColors;

// Two-character hour of an observation file name -> first and last point of the calibration step.
// An hour that is not a key has no step.
extern const QHash<QString, QPair<int, int>> stepWindowByHour;

// Periods 1.0, 1.5, ..., 10.0 (19 values).
extern const QVector<double> halfStepGrid;

// Closed period ranges (lower, upper) of known interference; read by Tools::isInterferencePeriod.
extern const QVector<QPair<double, double>> interferencePeriodsAll;
extern const QVector<QPair<double, double>> interferencePeriodsN2;
extern const QVector<QPair<double, double>> interferencePeriodsN2Modules456;
extern const QVector<QPair<double, double>> interferencePeriodsN0;
extern const QVector<QPair<double, double>> interferencePeriodsN0Module3;
extern const QVector<QPair<double, double>> interferencePeriodsN4;
extern const QVector<QPair<double, double>> interferencePeriodsExtra;

// "m%1_r%2_p%3" (module 1..6, ray 1..8, position 0..2 = digit of the site code N0/N1/N2) -> declination.
// Position 0 exists for modules 3 to 6 only.
extern const QHash<QString, double> rayDeclinations;

struct BeamTableRow {
    int module;
    int ray;
    QString label;
    double declination;
};

// The 160 beams of site N4 in stored order: blocks of 16 per module pair (1-2, 3-4, ...), inside a block
// ray 1 of the odd module, ray 1 of the even one, ray 2 of the odd one, ... Declinations fall strictly
// from the first row to the last; lookups take the first match, so the order is part of the contract.
extern const QVector<BeamTableRow> beamTableN4;

#endif // TABLES_H
