#include "numerics/pulsarcalculate.h"

#include <cmath>
#include <utility>

PulsarCalculate::PulsarCalculate(QString mode) : QObject(nullptr), mode(std::move(mode)) {}

// The arrays handed out through rawGrafiks are the receiver's; the data copy never frees samples.
PulsarCalculate::~PulsarCalculate() = default;

bool PulsarCalculate::calculate() {
    arrGrafiks.clear();
    rawGrafiks.clear();
    markers.clear();
    grafikVisible.clear();
    grafikNames.clear();
    arrX0.clear();
    arrX1.clear();
    arrX2.clear();
    stepX0 = 1;
    stepX1 = 1;
    stepX2 = 1;
    infoText = QString();
    errorText = QString();
    errorShown = false;

    if (isOrvUtc) {
        firstPoint = getPointFromOrvUtc(orvUtc);
        if (data.tresolution > 0) {
            const double delta = std::round(orvUtcDelta / data.tresolution * 1000);
            if (std::isfinite(delta) && std::fabs(delta) < 2e9) {
                firstPointDelta = int(delta);
            }
        }
    }
    if (firstPoint < 1) {
        firstPoint = 0;
    }
    if (count < 1 || count > data.npoints - firstPoint) {
        // A first point beyond the record leaves an empty window, never a negative length.
        count = qMax(0, data.npoints - firstPoint);
    }
    if (checkDeleteStep) {
        deleteStep();
        checkDeleteStep = false;
    }
    if (runAction()) {
        return true;
    }
    return fail(QStringLiteral("The action %1 failed; the debug log tells where.").arg(action));
}

bool PulsarCalculate::fail(const QString& reason) {
    if (errorText.isEmpty()) {
        errorText = reason;
    }
    return false;
}

namespace {
using ActionRun = bool (PulsarCalculate::*)();
struct ActionEntry {
    const char* name;
    ActionRun run;
};
} // namespace

bool PulsarCalculate::runAction() {
    // One line per action; names are unique, the first equal one runs.
    static const ActionEntry actions[] = {
        // --- Native view and folding ---
        {"showNative", &PulsarCalculate::actionShowNative},
        {"sumPeriod", &PulsarCalculate::actionSumPeriod},

        // --- Channel sums and noise baselines ---
        {"sumChannelsDemoNoise", &PulsarCalculate::actionSumChannelsDemoNoise},

        // --- Averaged sum, Fourier amplitudes and dispersion views ---
        {"sumChannelsAndAverage", &PulsarCalculate::actionSumChannelsAndAverage},
        {"sumChannelsAndFourier", &PulsarCalculate::actionSumChannelsAndFourier},
        {"sum4Dispersions", &PulsarCalculate::actionSum4Dispersions},
        {"sumAllDispersions", &PulsarCalculate::actionSumAllDispersions},
        {"sumMultiDispersions", &PulsarCalculate::actionSumMultiDispersions},
        {"sumTimeDispersions", &PulsarCalculate::actionSumTimeDispersions},

        // --- FFA action ---
        {"createFFA", &PulsarCalculate::actionCreateFFA},
    };
    for (const ActionEntry& entry : actions) {
        if (action == QLatin1String(entry.name)) {
            return (this->*entry.run)();
        }
    }
    return true;
}
