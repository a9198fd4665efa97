#ifndef PULSARCALCULATE_H
#define PULSARCALCULATE_H

#include "core/data.h"

#include <QObject>
#include <QString>
#include <QVector>

#include <memory>
#include <optional>
#include <vector>

class QWidget;

// Dispersion constant in s MHz^2 cm^3 / pc: the double one unit in the last place below 4148.8, which
// stored results were computed with.
constexpr double dispersionConstant = 4148.799999999999;

// Delay in samples of a band at f MHz against the reference band at fRef MHz for the given DM and
// sampling interval in seconds, rounded half away from zero. The order of operations is kept as the
// stored results were computed. Shifts too large for any record (or not numbers) are clamped to
// +-4e12: they run past either end in any case.
qint64 dispersionShift(double f, double fRef, double dm, double tres);

// The headless calculation behind the one-file forms. A caller fills `data` and the inputs, names an
// `action`, runs calculate() and reads the outputs. Curves handed out in rawGrafiks belong to the
// receiver: this object never frees them.
class PulsarCalculate : public QObject {
    Q_OBJECT
public:
    explicit PulsarCalculate(QString mode);
    ~PulsarCalculate() override;

    QWidget* messageParent = nullptr;
    QVector<QVector<float>> arrGrafiks;
    QVector<float*> rawGrafiks;
    int grafikPoints = 0;
    QVector<QString> arrX0;
    QVector<QString> arrX1;
    QVector<QString> arrX2;
    int stepX0 = 1;
    int stepX1 = 1;
    int stepX2 = 1;
    QVector<int> markers;
    QVector<bool> grafikVisible;
    QVector<QString> grafikNames;
    QString infoText;
    QString savedInfoText;
    Data data;
    int channel = -1;
    int module = -1;
    int ray = -1;
    int count = 0;
    double period = -1.0;
    double dispersion = -1.0;
    int averageCount = 0;
    bool averageWithNull = false;
    QString action;
    bool isFirstPoint = false;
    bool isOrvUtc = false;
    int firstPoint = -1;
    QString orvUtc;
    int firstPointDelta = 100;
    int orvUtcDelta = 0;
    double period_min = 0;
    double period_max = 0;
    int fpmin = 0;
    int bins_min = 0;
    int bins_max = 0;
    double ducy_max = 0;
    double wtsp = 0;
    bool show_as_is = false;
    bool showSigma = false;
    bool downToNull = false;
    int nullProc = 0;
    int sigmaProc = 0;
    int sigmaLevel1 = 0;
    int sigmaLevel2 = 0;
    QVector<double> dispersions = {0, 33, 66, 100};
    int harmonicNum = 0;
    int maxSigma = 5;
    QString noiseMethod = QStringLiteral("polinom5");
    bool showDeductNoise = false;
    bool withNormalization = false;
    bool multiResultShown = false;
    bool checkDeleteStep = false;
    QString mode;
    int resultPoints = 0;
    // Why the last calculate() failed, in words for the user (the first reason met); empty after a
    // success. errorShown tells that the action has shown it in a box of its own already.
    QString errorText;
    bool errorShown = false;

    // Empties the outputs, settles the window (firstPoint, count), flattens the calibration step when
    // asked, then runs the action named by `action`. An unknown action is no error: true, empty results.
    bool calculate();

    // --- Channel sums with dispersion delays and step removal (pulsarcalculate_sums.cpp) ---
    // Sum of the 32 band channels of (module, ray) from firstPoint, channel c shifted by its delay against
    // channel 31 at dm (forward) or against it (reverse). Samples before point 0 count as 0.
    bool sumChannels(double* out, int count, double dm, bool forward);
    bool sumChannelsFloat(float* out, int count, double dm, bool forward);
    // Flattens the calibration step of every series of the record (shared sample buffer).
    bool deleteStep();

    // --- Noise baselines and normalisation (pulsarcalculate_noise.cpp) ---
    bool sumChannelsDeductNoise(double* out, int n, double dm);
    bool subtractArrays(const float* in1, const float* in2, float* out, int n);
    bool subtractArrays(const double* in1, const double* in2, double* out, int n);
    bool normaliseBySigma(float* values, int n);
    bool normaliseBySigma(double* values, int n);
    // Sample standard deviation (divisor n - 1), computed in double.
    double getSigma(const float* values, int n);
    double getSigma(const double* values, int n);
    bool actionSumChannelsDemoNoise();

    // --- Fourier amplitudes, averaging, sigma and harmonics (pulsarcalculate_fourier.cpp) ---
    // Amplitudes of a power-of-two series of 128 .. 1048576 points into countIn/2 entries.
    bool getFourier(const double* in, double* out, int countIn, int countOut);
    // Pairwise means, `averagings` times, followed by zeros up to n; out holds n values, or 2n when
    // averagings is 0 and addNulls is set. Negative averagings count as none.
    bool averageSignal(const double* in, double* out, int n, int averagings, bool addNulls);
    // Transform length after averaging (twice the averaged length with the zeros); -1 below 64 points.
    int getPointsAfterAveraging(int n, int averagings, bool addNulls);
    // Sampling interval of the averaged series in units of tres.
    double getTresFactor(int averagings, bool addNulls);
    // Spectrum of the baseline-free channel sum of the largest power of two <= n points from firstPoint;
    // out receives getPointsAfterAveraging(that power, ...)/2 amplitudes (also left in resultPoints).
    bool getFourierOfSum(double* out, int n, double dm, int averagings, bool addNulls);
    bool actionSumChannelsAndFourier();

    // --- Native view, period folding and averaged sum (pulsarcalculate_fold.cpp) ---
    // Copies `count` points of (module, channel, ray) from firstPoint into out.
    bool getNativeData(float* out);
    // Point of a clock time "hh:mm:ss" within the record's first hour, counted from the top of the hour;
    // 0 when refused.
    int getPointFromOrvUtc(QString time);
    static QString getTimeOfPoint(int index, QDateTime start, double tresMs);
    // Folds the window read by the action into floor(period / tres) bins (sums).
    bool sumOnPeriod(double period);
    bool actionShowNative();
    bool actionSumPeriod();
    bool actionSumChannelsAndAverage();

    // --- Harmonic against dispersion views (pulsarcalculate_sweeps.cpp) ---
    // Amplitude entry `harmonic` of the spectra at n dispersions from dmFrom (step (dmTo-dmFrom)/n);
    // emits progress(int) and lets the event loop run after each one.
    bool getHarmonicOnDispersions(float* values, int n, double dmFrom, double dmTo, int harmonic,
                                  int averagings, bool addNulls);
    // Switch a family view to the values of its curves at one dispersion, and back.
    bool showMultiResult(float dispersion);
    bool returnMultiGrafiks();
    bool actionSum4Dispersions();
    bool actionSumAllDispersions();
    bool actionSumMultiDispersions();
    bool actionSumTimeDispersions();

    // --- FFA action and size table (pulsarcalculate_ffa.cpp) ---
    // Trial counts of the FFA search of the 16384-point window for 0 to 6 averagings, or the first
    // argument error.
    static QString getFfaInfo(double period_min, double period_max, int bins_min, int bins_max,
                              double ducy_max, double wtsp, double tsamp);
    // Sample standard deviation of the lowest p percent of the values.
    static double getSigmaOfLowestPercent(const double* v, int n, int p);
    bool actionCreateFFA();

signals:
    void progress(int);

private:
    bool runAction();
    // Keeps the first reason of a failing run and returns false.
    bool fail(const QString& reason);
    // The native window of the folding action and the profile it produces (handed out on success).
    std::vector<float> foldWindow;
    std::unique_ptr<float[]> foldProfile;
    // Spectrum scratch of getFourierOfSum, kept across the spectra of a sweep.
    std::vector<double> averagedScratch;
};

// Mean of the lowest p percent of the values (p outside 1 .. 100 means all); NaN when that is none.
double getMeanOfLowestPercent(const float* v, int n, int p);

// Why series of (module, channel, ray) cannot be read from the record, in the user's words, with a debug
// line: no samples, then each index outside the record in that order; the channel only when given.
// Empty when they can.
QString seriesRefusal(const Data& data, int module, int ray, std::optional<int> channel = std::nullopt);
// Why the record's sampling interval is unusable (not a positive number), in the user's words; empty
// when it is usable.
QString timeResolutionRefusal(const Data& data);

#endif // PULSARCALCULATE_H
