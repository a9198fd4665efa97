#ifndef BENCHCLOCK_H
#define BENCHCLOCK_H

// The clock and the memory reading that every benchmark program takes the same way.

#include <chrono>
#include <fstream>

namespace Bench {

using Clock = std::chrono::steady_clock;

inline double secondsSince(Clock::time_point t0) {
    return std::chrono::duration<double>(Clock::now() - t0).count();
}

inline double msSince(Clock::time_point t0) {
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

// Time of one call in Unit (std::micro, std::milli): the mean over the first batch of 1, 2, 4 ... calls
// that lasts longer than leastSeconds, so that a fast call is not lost in the clock's resolution.
template <typename Unit, typename F> double perCall(F&& call, double leastSeconds) {
    for (long reps = 1;; reps *= 2) {
        const auto t0 = Clock::now();
        for (long r = 0; r < reps; ++r) {
            call();
        }
        const std::chrono::duration<double> took = Clock::now() - t0;
        if (took.count() > leastSeconds) {
            return std::chrono::duration<double, Unit>(took).count() / double(reps);
        }
    }
}

// Resident set size in MiB, or -1 when /proc cannot tell.
inline double residentMiB() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0;
    long resident = 0;
    if (!(statm >> pages >> resident)) {
        return -1;
    }
    return double(resident) * 4096.0 / (1024.0 * 1024.0);
}

} // namespace Bench

#endif // BENCHCLOCK_H
