#ifndef APPROXIMATIONV_H
#define APPROXIMATIONV_H

#include <QVector>

// Least-squares polynomial on vectors; out ends with exactly as many values as in.
class ApproximationV {
public:
    int polinom(int k, const QVector<double>& in, QVector<double>& out, bool findExtremum);

    int count = 0;
    int extremumIndex = 0;
    double extremumX = 0;
    double extremumY = 0;
    double x1 = 0;
    double value1 = 0;
    double x2 = 0;
    double value2 = 0;
};

// Block medians of len values joined by straight lines, as a new vector of the same size; the input
// itself when len < 3 or the input is shorter than len.
QVector<double> approxMedian(QVector<double> data, int len);

#endif // APPROXIMATIONV_H
