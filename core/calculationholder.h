#ifndef CALCULATIONHOLDER_H
#define CALCULATIONHOLDER_H

#include <QVector>

#include <typeinfo>
#include <vector>

// Owns the calculation object of one run of a form (of any calculation class, so this layer needs none
// of their headers) and every bare curve array the run has handed out (those arrays are the receiver's,
// allocated with new[]). The plot that draws the run and the panel that re-runs it share one holder, so
// the object and its arrays live exactly as long as something shows them.
class CalculationHolder {
public:
    template <class T>
    explicit CalculationHolder(T* calculation)
        : object(calculation), type(&typeid(T)), destroy([](void* p) { delete static_cast<T*>(p); }) {
        count(+1);
    }
    ~CalculationHolder();
    CalculationHolder(const CalculationHolder&) = delete;
    CalculationHolder& operator=(const CalculationHolder&) = delete;

    // The held object when it is a T, else nullptr.
    template <class T> T* get() const { return *type == typeid(T) ? static_cast<T*>(object) : nullptr; }

    // Takes over the arrays the calculation lists now and frees those of its earlier runs that it no
    // longer lists. Call it once the plot points at the current arrays only.
    void adoptCurves(const QVector<float*>& current);

    // Holders alive in the process; lets tests see that re-runs free what they replace.
    static int liveCount();

private:
    static void count(int change);

    void* object;
    const std::type_info* type;
    void (*destroy)(void*);
    std::vector<float*> owned;
};

#endif // CALCULATIONHOLDER_H
