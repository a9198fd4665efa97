#include "directory/calc/fouriercalculate.h"

FourierCalculate::FourierCalculate() = default;

FourierCalculate::~FourierCalculate() = default;

bool FourierCalculate::calculate() {
    return false;
}
