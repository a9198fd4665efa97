#ifndef GAUSSIANNOISE_H
#define GAUSSIANNOISE_H

#include <cstddef>
#include <vector>

namespace GaussianNoise {
// n samples of N(0, 1) from a Mersenne twister with the given seed: the same numbers on every run.
std::vector<float> samples(std::size_t n, unsigned seed);
} // namespace GaussianNoise

#endif // GAUSSIANNOISE_H
