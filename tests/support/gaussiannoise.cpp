#include "support/gaussiannoise.h"

#include <random>

std::vector<float> GaussianNoise::samples(std::size_t n, unsigned seed) {
    std::mt19937 gen(seed);
    std::normal_distribution<float> normal(0.0f, 1.0f);
    std::vector<float> x(n);
    for (float& v : x) {
        v = normal(gen);
    }
    return x;
}
