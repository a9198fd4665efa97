#include "single/calculationholder.h"

#include "numerics/pulsarcalculate.h"

#include <algorithm>

namespace {
int live = 0;
}

CalculationHolder::CalculationHolder(PulsarCalculate* calculation) : calc(calculation) {
    ++live;
}

CalculationHolder::~CalculationHolder() {
    for (float* p : owned) {
        delete[] p;
    }
    delete calc;
    --live;
}

void CalculationHolder::adoptCurves() {
    std::vector<float*> current;
    if (calc) {
        for (float* p : calc->rawGrafiks) {
            if (p && std::find(current.begin(), current.end(), p) == current.end()) {
                current.push_back(p);
            }
        }
    }
    for (float* p : owned) {
        if (std::find(current.begin(), current.end(), p) == current.end()) {
            delete[] p;
        }
    }
    owned = std::move(current);
}

int CalculationHolder::drawablePoints(int wanted) const {
    if (!calc || calc->rawGrafiks.isEmpty()) {
        return std::max(0, wanted);
    }
    return std::max(0, std::min(wanted, calc->grafikPoints));
}

int CalculationHolder::liveCount() {
    return live;
}
