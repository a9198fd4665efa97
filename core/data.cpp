#include "core/data.h"

#include <new>

bool allocSamples(Data& data, bool zeroFill) {
    data.samples = nullptr;
    if (data.modules <= 0 || data.channels <= 0 || data.rays <= 0 || data.npoints <= 0) {
        return false;
    }
    const qint64 total = qint64(data.modules) * data.channels * data.rays * data.npoints;
    if (total > maxSampleCount) {
        return false;
    }
    float**** s = new (std::nothrow) float***[data.modules]();
    if (!s) {
        return false;
    }
    bool ok = true;
    for (int m = 0; m < data.modules && ok; ++m) {
        s[m] = new (std::nothrow) float**[data.channels]();
        ok = s[m] != nullptr;
        for (int c = 0; c < data.channels && ok; ++c) {
            s[m][c] = new (std::nothrow) float*[data.rays]();
            ok = s[m][c] != nullptr;
            for (int r = 0; r < data.rays && ok; ++r) {
                s[m][c][r] = zeroFill ? new (std::nothrow) float[data.npoints]()
                                      : new (std::nothrow) float[data.npoints];
                ok = s[m][c][r] != nullptr;
            }
        }
    }
    data.samples = s;
    if (!ok) {
        // Partial arrays are null-terminated by the value-initialised levels above.
        const bool owner = data.notOwner;
        data.notOwner = false;
        freeSamples(data);
        data.notOwner = owner;
        return false;
    }
    return true;
}

void freeSamples(Data& data) {
    if (data.notOwner || !data.samples) {
        return;
    }
    for (int m = 0; m < data.modules; ++m) {
        if (!data.samples[m]) {
            continue;
        }
        for (int c = 0; c < data.channels; ++c) {
            if (!data.samples[m][c]) {
                continue;
            }
            for (int r = 0; r < data.rays; ++r) {
                delete[] data.samples[m][c][r];
            }
            delete[] data.samples[m][c];
        }
        delete[] data.samples[m];
    }
    delete[] data.samples;
    data.samples = nullptr;
}
