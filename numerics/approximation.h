#ifndef APPROXIMATION_H
#define APPROXIMATION_H

// Smoothers of a float series into a curve of the same length: least-squares polynomial over the sample
// index, block medians or block means joined by straight lines. Every operation returns 1 on success,
// or 0 after one "Error: ..." debug line, and then leaves dataOut unwritten. The arrays are the caller's.
class Approximation {
public:
    Approximation(float* dataIn, float* dataOut, int count);

    int averageLinear(int len);
    int median(int len);
    int polinom(int k, bool findExtremum);
    int average(int len);

    float* dataIn;
    float* dataOut;
    int count;
    // Filled by polinom with the extremum flag (degree 3: also x1/value1, x2/value2).
    int extremumIndex = 0;
    double extremumX = 0;
    double extremumY = 0;
    double x1 = 0;
    double value1 = 0;
    double x2 = 0;
    double value2 = 0;
};

#endif // APPROXIMATION_H
