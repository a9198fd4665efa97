#ifndef APPROXIMATIOND_H
#define APPROXIMATIOND_H

// The double-precision twin of Approximation. Built with a null array it has count 0.
class ApproximationD {
public:
    ApproximationD(double* dataIn, double* dataOut, int count);

    int averageLinear(int len);
    int median(int len);
    int polinom(int k, bool findExtremum);
    int average(int len);

    double* dataIn;
    double* dataOut;
    int count;
    int extremumIndex = 0;
    double extremumX = 0;
    double extremumY = 0;
    double x1 = 0;
    double value1 = 0;
    double x2 = 0;
    double value2 = 0;
};

#endif // APPROXIMATIOND_H
