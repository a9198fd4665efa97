#include "numerics/approximation.h"

#include "numerics/approximation_core.h"

using namespace ApproximationCore;

Approximation::Approximation(float* dataIn, float* dataOut, int count)
    : dataIn(dataIn), dataOut(dataOut), count(count) {}

int Approximation::averageLinear(int len) {
    if (!lenAtLeast(len, 2) || !countAboveLen(count, len) || !arraysSet(dataIn, dataOut)) {
        return 0;
    }
    blockLinear(dataIn, dataOut, count, len, false);
    return 1;
}

int Approximation::median(int len) {
    if (!lenAtLeast(len, 3) || !countAboveLen(count, len) || !arraysSet(dataIn, dataOut)) {
        return 0;
    }
    blockLinear(dataIn, dataOut, count, len, true);
    return 1;
}

int Approximation::polinom(int k, bool findExtremum) {
    if (!degreeAtLeastOne(k) || !degreeBelowCount(k, count) || !arraysSet(dataIn, dataOut)) {
        return 0;
    }
    std::vector<double> a;
    if (!fitPolynomial(dataIn, count, k, a)) {
        return 0;
    }
    writeFit(a, k, dataOut, count, findExtremum, *this);
    return 1;
}

int Approximation::average(int len) {
    if (!lenAtLeast(len, 2) || !countAboveLen(count, len) || !arraysSet(dataIn, dataOut)) {
        return 0;
    }
    blockMeans(dataIn, dataOut, count, len);
    return 1;
}
