#ifndef PERIODOGRAM_H
#define PERIODOGRAM_H

#include <QString>
#include <QVector>

#include <cstddef>
#include <cstdint>

// Result of one FFA search. On success the four arrays are the receiver's (array new; release() frees
// them). With a non-empty error nothing else is set.
struct PeriodogramResult {
    std::size_t* widths = nullptr;    // numWidths trial widths in bins, ascending, first 1
    double* periods = nullptr;        // numPeriods trial periods in s, ascending
    std::int32_t* foldbins = nullptr; // numPeriods bins counts
    float* snr = nullptr;             // numPeriods × numWidths, the widths of one trial adjacent
    std::int32_t numPeriods = 0;
    std::int32_t numWidths = 0;
    QString error;

    void release();
};

// Front end of the FFA search: normalisation, trial widths, argument checks and result arrays around
// the core of ffacore.h. Static functions only; nothing needs an instance.
class Periodogram {
public:
    Periodogram();

    // fpmin, deredden, rmed_width and rmed_minpts are accepted for the callers' sake and not used.
    static PeriodogramResult ffa_search(float* data, std::size_t size, double tsamp, double period_min,
                                        double period_max, int fpmin, int bins_min, int bins_max,
                                        double ducy_max, double wtsp, bool alreadyNormalised, bool deredden,
                                        double rmed_width, int rmed_minpts);
    // Zero mean, unit sample variance; in place or into a new array the caller owns.
    static float* normalise(float* data, std::size_t size, bool inPlace);
    // 1, then max(w + 1, int(w · wtsp)) while not above int(ducy_max · bins_min) (at least 1).
    static QVector<int> makeTrialWidths(int bins_min, double ducy_max, double wtsp);
};

#endif // PERIODOGRAM_H
