#include "numerics/approximationd.h"

#include "numerics/approximation_core.h"

using namespace ApproximationCore;

ApproximationD::ApproximationD(double* dataIn, double* dataOut, int count)
    : dataIn(dataIn), dataOut(dataOut), count(dataIn && dataOut ? count : 0) {}

// A null array shows as count 0; median alone does not ask for that and reports "count <= len" instead.

int ApproximationD::averageLinear(int len) {
    if (!lenAtLeast(len, 2) || !countNotZero(count) || !countAboveLen(count, len)) {
        return 0;
    }
    blockLinear(dataIn, dataOut, count, len, false);
    return 1;
}

int ApproximationD::median(int len) {
    if (!lenAtLeast(len, 3) || !countAboveLen(count, len) || !arraysSet(dataIn, dataOut)) {
        return 0;
    }
    blockLinear(dataIn, dataOut, count, len, true);
    return 1;
}

int ApproximationD::polinom(int k, bool findExtremum) {
    if (!degreeAtLeastOne(k) || !countNotZero(count) || !degreeBelowCount(k, count)) {
        return 0;
    }
    std::vector<double> a;
    if (!fitPolynomial(dataIn, count, k, a)) {
        return 0;
    }
    writeFit(a, k, dataOut, count, findExtremum, *this);
    return 1;
}

int ApproximationD::average(int len) {
    if (!lenAtLeast(len, 2) || !countNotZero(count) || !countAboveLen(count, len)) {
        return 0;
    }
    blockMeans(dataIn, dataOut, count, len);
    return 1;
}
