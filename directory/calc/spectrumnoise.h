#ifndef SPECTRUMNOISE_H
#define SPECTRUMNOISE_H

#include <QString>
#include <QVector>

// Noise baselines, robust sigma and index searches for summed spectra and periodogram rows. Pure
// functions on vectors the caller owns; nothing is kept between calls. The baselines return 1 when
// done and 0 when refused, and a refused baseline leaves its outputs as they were. The two-output forms
// expect approx and diff of at least the length used; the in-place forms replace the data by
// data minus baseline.

// Median of the population deviations of len / max(segment, 8) segments; 0 when data or len are too
// short. With a single segment, that segment's deviation.
double getSigmaMedian(const QVector<double>& data, int len, int segment);
// Mean of the size * percent / 100 smallest absolute values (a percent outside 1..100 takes all); -1
// for no data, 0 when that count is 0.
double getMeanOfSmallest(const QVector<double>& data, unsigned percent);

// Running median of 64 windows (8-point windows below 512); refused below 128.
int deductMedianNoise(QVector<double>& data, int len);
int deductMedianNoise(const QVector<double>& in, QVector<double>& approx, QVector<double>& diff, int len);
// The same with a degree-7 polynomial over the first window and a half; refused up to 512.
int deductMedianNoisePolinomHead(QVector<double>& data, int len);
int deductMedianNoisePolinomHead(const QVector<double>& in, QVector<double>& approx, QVector<double>& diff,
                                 int len);
// Polynomial head above 512, plain running median from 128, refused below.
int deductMedianNoiseAuto(QVector<double>& data, int len);
int deductMedianNoiseAuto(const QVector<double>& in, QVector<double>& approx, QVector<double>& diff, int len);
// Running median of windows of 2 * (window / 2) over the whole input, the remainder as a last, shorter
// window; approx and diff are replaced by vectors of the input's size.
int deductMedianNoiseWindow(const QVector<double>& in, QVector<double>& approx, QVector<double>& diff,
                            int window);

// Where v[0] comes back after the first value above it; 0 when it does not.
int findRepeatIndex(const QVector<int>& v);
// Position of a period in an ascending period list, halves away from zero; -1 for an empty list.
qint64 periodIndex(const QVector<double>& periods, double period);
// Fractional position of x in an ascending list (6 in 0, 4, 8 gives 1.5); -1 for an empty list, the last
// index when x is outside.
double getFractionalIndex(const QVector<int>& v, int x);
// Nearest position of x in an ascending list (a tie stays below); the last index when x is outside.
int getNearestIndex(const QVector<int>& v, int x);

// Points of a spectrum after `averages` halvings, doubled with nulls; 0 for averages outside 0..30.
int averagedPoints(int points, int averages, bool withNulls);
// Points of a summed spectrum at a time resolution (s): more at the N4 resolution.
int spectrumPoints(double tresolution);
// averagedPoints(), or -1 for fewer than 64 points.
int getAveragedPointsChecked(int points, int averages, bool withNulls);
int getHarmonicsCount(int points, int averages, int withNull);
int getHarmonicsCount(const QString& fileName, int points);

#endif // SPECTRUMNOISE_H
