#ifndef TOOLS_H
#define TOOLS_H

#include "core/data.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QTime>
#include <QVector>

// The application's toolbox: static functions only, grouped in families. Each family is implemented
// in its own core/tools_<family>.cpp.
class Tools {
public:
    Tools() = delete;

    // --- General helpers: time, numbers, text and lists (tools_general.cpp) ---
    // Time strings are "hh:mm:ss"; parts that are not numbers count as 0.
    static bool isTimeString(const QString& text);
    static QTime timeFromString(const QString& text);
    static QString addSecsToTimeString(const QString& text, int secs);
    struct DaysMs {
        int days;
        int msOfDay;
    };
    static DaysMs splitDaysMs(double ms);
    struct NearestMultiple {
        int n;
        double rest;
    };
    static NearestMultiple nearestMultiple(double t, double period);
    static QString dateDdMmYyToYyyyMmDd(const QString& d);

    static double power(double x, int n);
    static float power(float x, int n);
    static int powerInt(int a, int n);
    static int pointsAfterHalving(int points, int halvings, bool withNull);
    static int roundHalfDown(double x);
    // -1 when a or b is not a number, or when b <= 0 could never reach a/2.
    static int doublingsBelowHalf(double a, double b);
    static int decimalsFor(double x);
    static bool valueIsSane(double x);

    static int wrapIndex(int a, int n);
    static int indexOfString(const QVector<QString>& list, const QString& s);
    // The step of a selector's arrow: forward stops at (or, with wrapForward, wraps from) the last entry;
    // back wraps from the first.
    static int stepIndex(int index, int size, bool forward, bool wrapForward);
    static QVector<double> filledVector(double value, int count);

    // Inline: sorts of many short windows call them millions of times.
    static int compareDoubles(const void* a, const void* b) {
        const double x = *static_cast<const double*>(a);
        const double y = *static_cast<const double*>(b);
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    // compareDoubles as a std::sort comparator; NaN goes after every number so the order stays strict.
    static bool lessDoubles(double a, double b) {
        if (a != a || b != b) {
            return a == a;
        }
        return compareDoubles(&a, &b) < 0;
    }
    static bool greaterString(const QString& a, const QString& b);
    static bool lessString(const QString& a, const QString& b);
    static bool greaterLeadingNumber(const QString& a, const QString& b);

    static double fractionOfRatio(double a, double b);
    static double wholeOfRatio(double a, double b);
    // Position 1 to 9 of the first non-zero decimal of a fraction; 0 when there is none.
    static int firstDecimalPlace(double fraction);
    static QString nextDay(const QString& yyyyMMdd);
    static bool parseKeyValue(const QString& line, QHash<QString, QString>& values);
    static bool isNearAny(const QVector<double>& list, double value, double tolerance);
    // Names of the checked year/month cache directories joined by "_"; "all" for "cache_all".
    static QString cacheName(const QStringList& checkedDirs, int dirCount);
    static QString cacheYearsName(const QStringList& checkedDirs);
    static QVector<double> readDoubleArr(const QString& path);
    static QVector<float> readFloatArr(const QString& path);
    static QVector<int> readArr(const QString& path);
    static bool writeArrToFile(const QString& path, const QVector<double>& values);
    static bool addArrToFile(const QString& path, const QVector<double>& values);

    // --- Result-directory helpers (tools_results.cpp) ---
    static QString fourierFileName(const QString& prefix, int shift, int averages, bool withNull);
    static QString fourierFileBase(int shift, int averages, bool withNull);
    static QString fourierFileBaseD(int shift, int averages, int withNull, int dm);
    static QString mapFileName(const QString& name, int points, int startPoint, int blocks,
                               const QString& noiseMethod, int medianWindow);
    static QVector<int> dmList57();
    static QVector<int> dmList(bool isN4);
    static bool isInterferencePeriod(double period, const QString& siteCode, int module, int ray, bool extra);
    static int levelOf(double value, double base);
    static int snrLevel(double snr);
    static QString add90Seconds(const QString& hhmmss);

    // --- Source names and declinations (tools_names.cpp) ---
    static QString nameOfN(const QString& path);
    static QString normalizeJName(const QString& name);
    static QString toDms(double x);
    static double dmsToHours(const QString& text);
    static double cosOfDms(const QString& text);
    // n0 / cosine truncated into n, computed in double; false (n untouched) when the cosine is not above
    // 1e-5 or the quotient leaves the int range.
    static bool pointsOverCos(int n0, double cosine, int& n);
    static QString jNameFromBeam(const QString& module, const QString& ray, const QString& raHours,
                                 const QString& raMinutes, int position);
    static QString decFromFileName(const QString& fileName, int position);
    static QString sourceNameFromPath(const QString& path, const QString& siteCode, bool withBeam);

    // --- Statistics and smoothing of series (tools_stats.cpp) ---
    struct MaxMin {
        double max;
        double min;
    };
    static double sigmaOfLowest(QVector<double> values, int percent);
    static double stdDev(const QVector<double>& values);
    static MaxMin maxMin(const QVector<double>& v);
    static MaxMin maxMin(const QVector<QVector<double>>& v);
    static double maxValue(const QVector<double>& v);
    static double fractionalIndex(const QVector<double>& axis, double x);
    static QVector<double> centerMaximum(QVector<double> v);
    static void centerMaximumInPlace(QVector<double>& v);
    static QVector<double> movingAverage(QVector<double> v, int window);
    static QVector<double> smoothRepeated(QVector<double> v, int times);
    static QVector<double> clipAtMarks(QVector<double> values, const QVector<double>& axis,
                                       const QVector<double>& marks);

    // --- Calibration-step removal (tools_step.cpp) ---
    // Finds the calibration step of a .pnt/.pnthr record and, when asked and plausible, flattens it in
    // every series (all copies of the record share the samples). Returns the report, or "".
    static QString removeStep(Data& data, bool remove);
    static QVector<double> removeStepFromSeries(QVector<double> series, bool isPnt);

    // --- Paths (tools_paths.cpp) ---
    static QString dirOfPath(const QString& path);
    static QString shortPath(QString path);
    static QString lastPathPart(const QString& path);
};

#endif // TOOLS_H
