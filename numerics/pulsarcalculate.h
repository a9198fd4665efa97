#ifndef PULSARCALCULATE_H
#define PULSARCALCULATE_H

#include "core/data.h"

#include <QObject>
#include <QString>
#include <QVector>

class QWidget;

// Dispersion constant in s MHz^2 cm^3 / pc: the double one unit in the last place below 4148.8, which
// stored results were computed with.
constexpr double dispersionConstant = 4148.799999999999;

// The headless calculation behind the one-file forms. A caller fills `data` and the inputs, names an
// `action`, runs calculate() and reads the outputs. Curves handed out in rawGrafiks belong to the
// receiver: this object never frees them.
class PulsarCalculate : public QObject {
    Q_OBJECT
public:
    explicit PulsarCalculate(QString mode);
    ~PulsarCalculate() override;

    // For the receiver of rawGrafiks: frees the arrays and empties the list.
    static void freeRawGrafiks(QVector<float*>& arrays);

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

    // --- Fourier amplitudes, folding, averaged sum and dispersion views ---

    // --- FFA action ---

signals:
    void progress(int);

private:
    bool runAction();
};

#endif // PULSARCALCULATE_H
