#ifndef CALCULATIONHOLDER_H
#define CALCULATIONHOLDER_H

#include <vector>

class PulsarCalculate;

// Owns the calculation object of one run of a one-file form and every bare curve array it has handed
// out through rawGrafiks (those arrays are the receiver's, allocated with new[]). The plot that draws the
// run and the panel that re-runs it share one holder, so the object and its arrays live exactly as long
// as something shows them.
class CalculationHolder {
public:
    explicit CalculationHolder(PulsarCalculate* calculation);
    ~CalculationHolder();
    CalculationHolder(const CalculationHolder&) = delete;
    CalculationHolder& operator=(const CalculationHolder&) = delete;

    PulsarCalculate* calculation() const { return calc; }

    // Takes over the arrays the calculation lists now and frees those of its earlier runs that it no
    // longer lists. Call it once the plot points at the current arrays only.
    void adoptCurves();

    // How many points of the bare arrays can be read, for a wanted count: a failed run may leave arrays
    // shorter than its count, and only grafikPoints tells their length.
    int drawablePoints(int wanted) const;

    // Holders alive in the process; lets tests see that re-runs free what they replace.
    static int liveCount();

private:
    PulsarCalculate* calc;
    std::vector<float*> owned;
};

#endif // CALCULATIONHOLDER_H
