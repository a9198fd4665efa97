#ifndef FOURIERCALCULATE_H
#define FOURIERCALCULATE_H

#include "directory/calc/records.h"

#include <QFile>
#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTime>
#include <QVector>

// The calculation object of the directory form: one object per run. The form fills the input fields,
// connects progress(int) and calls calculate() once on the GUI thread; the graph and the info panel
// then copy the output fields. The object owns only its value members and the debug file; mapPoints
// belongs to the form. Result files are read through the free readers of resultfile.h, baselines and
// sigma come from spectrumnoise.h.
class FourierCalculate : public QObject {
    Q_OBJECT
public:
    FourierCalculate();
    ~FourierCalculate() override;

    QString errors;
    QString dir;
    QString selectedDir;
    QTime raTime;
    QFile testFile;
    QVector<QVector<double>> arrGrafikY;
    QVector<double> arrGrafikX;
    QVector<double> arrGridY;
    QVector<QVector<double>> multiGrafikY;
    QVector<QString> multiLabelsX1;
    QVector<QString> multiLabelsX2;
    QVector<int> multiMarkers;
    QVector<bool> multiVisible;
    QString multiText;
    int multiPoints = 0;
    QVector<QString> labelsX1;
    QVector<QString> labelsX2;
    QVector<QString> labelsX3;
    QVector<QString> labelsMulti1;
    QVector<QString> labelsMulti2;
    QVector<int> markers;
    QVector<double> markersX;
    QVector<double> markersY;
    QVector<bool> visible;
    QVector<QVector<Point3sigma>> points3sigma;
    QVector<MapPoint>* mapPoints = nullptr;
    QVector<QString> names;
    QString text;
    QVector<int> dispersions;
    PeriodogramInfo periodogramInfo;
    double tresolution = 0; // s
    int points = 0;
    int dispersion = 0;
    int shift = 0;
    int averages = 0;
    int withNulls = 0;
    int harmonic = 0;
    bool showNoise = false;
    bool showCurve = false;
    bool showApprox = false;
    bool writeToTestFiles = false;
    double minSnr = 0;
    double showSigmaLevel = 0;
    bool asIs = false;
    bool ffaMapLog = false;
    QString plosh;
    int module = 0;
    int ray = 0;
    int sumAlfa = 1;
    bool isSearch = false;
    bool showSigma = false;
    bool downToNull = false;
    int nullProc = 0;
    int sigmaProc = 0;
    double period = 0; // s
    double showDispersion = 0;
    double xMin = 0;
    double xMax = 0;
    int blankPoints = 0;
    bool showApproxFFA = false;
    bool showMinusApprox = false;
    QString ffaNoise;
    int approxLen = 0;
    bool ffaMapCreate = false;
    bool forPrint = false;
    QString grafikType;
    QVector<QString> tableRows;
    QVector<int> harmonics3sigma;
    QVector<bool> rowChecked;
    int days = 0;
    QHash<QString, Sum3sigmaRecord> sum3sigma;
    QHash<QString, bool> sumFlags;
    int curvePoints = 0;
    // Day row -> directories below `dir` where the scan found that day, in scan order: dated
    // directories ("2019.03.15_extra") or year-tree months ("2019/03"). Rows without an entry are
    // looked up under their own name only.
    QHash<QString, QStringList> rowLocations;

    bool calculate();

    // --- Result files ---
    static QString getFourierFileName(const QString& dir, int shift, int averages, bool withNull);
    static QString getFourierFileNameWithDir(const QString& dir, int shift, int averages, bool withNull);
    static QString getSingleFourierFileName(const QString& dir, int averages, int withNull);
    // The file of a table row below `dir`, "" when none exists: the row's own names first, then each
    // location the scan recorded for it.
    QString rowFileName(const QString& row, int shift, int averages, int withNull) const;
    int addFourierFromFile(const QString& fileName, int dispersion, QVector<double>& sum);
    int addFourierMatrixFromFile(const QString& fileName, QVector<QVector<double>>& matrix, int points);
    bool addFourierHashFromFile(const QString& fileName, int shift, int averages, int withNull,
                                QHash<QString, QVector<double>>& sums, int points);
    static bool writeFourier(double** blocks, const int* days, const QString& fileName, int points, int shift,
                             int averages, bool withNull, const QVector<int>& dispersions);

    // --- Baselines and conversions ---
    int deductMedianNoiseWindow(const QVector<double>& in, QVector<double>& approx, QVector<double>& diff,
                                int window);
    int deductMedianNoiseWindow(QVector<double>& data, int window);
    static bool deductPolinomNoise(const QVector<double>& in, QVector<double>& approx, QVector<double>& diff);
    static bool deductPolinomNoise(QVector<double>& arr);
    static int getAveragedPoints(int points, int averages, bool withNulls);
    static double calcPeriodOfHarmonic(int harmonic, bool withNulls, double tresolution);
    static double getPeriodOfHarmonic(int harmonic, bool withNulls, double tresolution);
    static int getHarmonicOfPeriod(double period, bool withNulls, double tresolution);

    // --- Graph types ---
    bool calculateFourier();
    int sumFourierN4(QVector<double>& sum, int segments, const QString& dir, int dispersion, int averages,
                     int withNulls);
    int sumFourierN4(QVector<QVector<double>>& matrix, int segments, const QString& dir,
                     const QVector<int>& dispersions, int averages, int withNulls);
    // S/N of `harmonic` per DM: the checked rows summed, or in a search the picked directory's file.
    bool createSnrDisp(QVector<double>& snr, const QVector<QString>& rows, int shift, int averages,
                       int withNulls, int harmonic);

    // --- FFA periodograms ---
    // Largest periodogram (periods x widths) a layout may describe; larger ones are refused unread.
    static constexpr qint64 maxPeriodogramPoints = 50000000;
    // Reads "info.txt" into info; on false info.error says why. Counts are checked before any caller
    // sizes a vector from them: widths no more than listed, rows x cols within maxPeriodogramPoints.
    static bool readPeriodogramInfo(const QString& path, PeriodogramInfo& info);
    // With a tolerance above 0 the read counts as done whatever it gave.
    static bool readPeriodogramInfoChecked(const QString& path, PeriodogramInfo& info, int tolerance);
    bool createFfaMapAxes();
    // createFfaMapAxes() when the layout has periods; false untouched otherwise.
    bool createFfaMapAxesIfLaid();
    bool createFfaMapFile(const QString& fileName);
    bool createSnrDispFFA(QVector<double>& snr, int shift, int averages, int withNulls, double period);

    // --- Maps and 3-sigma sums (fouriercalculate_maps.cpp) ---
    // Ticks from `start` by `step` up to `end`; the step grows tenfold at each decade.
    static QVector<double> decadeTicks(double start, double step, double end);
    // DMs 1..9, 10..90, 100..1100 of the logarithmic maps and the 3-sigma graph.
    static QVector<double> dmGrid();
    // Axes, markers and legend around the form's map points; reads no file.
    bool calculateMap();
    // One point set per harmonic of `harmonics3sigma`: summed S/N over `dispersions`.
    void calculateSum3sigma();

signals:
    void progress(int percent);

private:
    // Runs the member of the graph type named by grafikType.
    bool runGraphType();
    bool openTestFile();
    void writeTest(const QString& line);
    void emitProgress(int percent);
    bool harmDispOne();
    bool harmDispSeries(bool overShifts);
    bool harmDispAverage();
    bool harmDispFirstPoint();
    int sumCheckedRowsIntoMatrix(QVector<QVector<double>>& matrix, const QVector<QString>& rows, int shift,
                                 int averages, int withNulls, int L, bool notFoundPrefix, bool emitRows);
    void snrOfRows(QVector<QVector<double>>& matrix, QVector<double>& snr, int P, int L, int harmonic,
                   bool dump);
    void appendCurve(const QVector<double>& curve, const QString& name);
    // X of the S/N-against-DM graphs: the DM list.
    void putDmsOnX();
    // Step 0..6 of the seven curves of a series: the shifts -3..3 at the chosen averagings, or the
    // averagings 0..6 at the chosen shift.
    struct SeriesStep {
        int shift;
        int averages;
    };
    SeriesStep seriesStep(bool overShifts, int step) const;
    // A first-point shift in curve names: "-2 min", "+2 min", "" for 0.
    static QString shiftMinutes(int s);
    bool readFfaLayout();
    // Adds the files of the checked rows for one descriptor into sums; how many were added. Progress
    // runs through part `part` of `parts` equal parts.
    int sumCheckedRowsIntoHash(QHash<QString, QVector<double>>& sums, int shift, int averages, int withNulls,
                               int points, int part, int parts);
    enum class FfaBaseline { Done, MedianRefused, PolinomRefused };
    // Replaces v by v minus the baseline ffaNoise names; when done, sigma of its lowest sigmaProc percent.
    FfaBaseline deductFfaBaseline(QVector<double>& v, double& sigma);
    bool ffa();
    bool ffaMap();
    bool ffaSnrDisp();
    bool ffaSnrDispSeries(bool overShifts);
    bool ffaSnrDispFirstPoint();
    bool ffaSnrDispAverages();
    // calculateSum3sigma() on the DM grid of the maps; true whatever it reports.
    bool sum3sigmaGraph();

    int lastProgress = -1;
};

#endif // FOURIERCALCULATE_H
