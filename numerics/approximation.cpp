#include "numerics/approximation.h"

#include "numerics/approximation_core.h"

using namespace ApproximationCore;

Approximation::Approximation(float* dataIn, float* dataOut, int count)
    : dataIn(dataIn), dataOut(dataOut), count(count) {}

int Approximation::averageLinear(int len) {
    if (len < 2) {
        qDebug() << "Error: len =" << len;
        return 0;
    }
    if (count <= len) {
        qDebug() << "Error: count <= len!";
        return 0;
    }
    if (!dataIn) {
        qDebug() << "Error: bad dataIn!";
        return 0;
    }
    if (!dataOut) {
        qDebug() << "Error: bad dataOut!";
        return 0;
    }
    blockLinear(dataIn, dataOut, count, len, false);
    return 1;
}

int Approximation::median(int len) {
    if (len < 3) {
        qDebug() << "Error: len =" << len;
        return 0;
    }
    if (count <= len) {
        qDebug() << "Error: count <= len!";
        return 0;
    }
    if (!dataIn) {
        qDebug() << "Error: bad dataIn!";
        return 0;
    }
    if (!dataOut) {
        qDebug() << "Error: bad dataOut!";
        return 0;
    }
    blockLinear(dataIn, dataOut, count, len, true);
    return 1;
}

int Approximation::polinom(int k, bool findExtremum) {
    if (k < 1) {
        qDebug() << "Error: k < 1!";
        return 0;
    }
    if (k >= count) {
        qDebug() << "Error: countIn <= k!";
        return 0;
    }
    if (!dataIn) {
        qDebug() << "Error: bad dataIn!";
        return 0;
    }
    if (!dataOut) {
        qDebug() << "Error: bad dataOut!";
        return 0;
    }
    std::vector<double> a;
    if (!fitPolynomial(dataIn, count, k, a)) {
        return 0;
    }
    evaluateAll(a, dataOut, count);
    if (findExtremum) {
        Extremum e{extremumIndex, extremumX, extremumY, x1, value1, x2, value2};
        ApproximationCore::findExtremum(a, k, count, e);
        extremumIndex = e.index;
        extremumX = e.x;
        extremumY = e.y;
        x1 = e.x1;
        value1 = e.value1;
        x2 = e.x2;
        value2 = e.value2;
    }
    return 1;
}

int Approximation::average(int len) {
    if (len < 2) {
        qDebug() << "Error: len =" << len;
        return 0;
    }
    if (count <= len) {
        qDebug() << "Error: count <= len!";
        return 0;
    }
    if (!dataIn) {
        qDebug() << "Error: bad dataIn!";
        return 0;
    }
    if (!dataOut) {
        qDebug() << "Error: bad dataOut!";
        return 0;
    }
    blockMeans(dataIn, dataOut, count, len);
    return 1;
}
