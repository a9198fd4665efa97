#include "core/calculationholder.h"

#include <algorithm>

namespace {
int live = 0;
}

void CalculationHolder::count(int change) {
    live += change;
}

CalculationHolder::~CalculationHolder() {
    for (float* p : owned) {
        delete[] p;
    }
    destroy(object);
    count(-1);
}

void CalculationHolder::adoptCurves(const QVector<float*>& listed) {
    std::vector<float*> current;
    for (float* p : listed) {
        if (p && std::find(current.begin(), current.end(), p) == current.end()) {
            current.push_back(p);
        }
    }
    for (float* p : owned) {
        if (std::find(current.begin(), current.end(), p) == current.end()) {
            delete[] p;
        }
    }
    owned = std::move(current);
}

int CalculationHolder::liveCount() {
    return live;
}
