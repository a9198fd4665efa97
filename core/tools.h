#ifndef TOOLS_H
#define TOOLS_H

#include <QString>
#include <QStringList>
#include <QVector>

// The application's toolbox: static functions only, grouped in families. Each family is implemented
// in its own core/tools_<family>.cpp.
class Tools {
public:
    Tools() = delete;

    // --- General helpers: time, numbers, text and lists (tools_general.cpp) ---

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

    // --- Paths (tools_paths.cpp) ---
    static QString dirOfPath(const QString& path);
    static QString shortPath(QString path);
    static QString lastPathPart(const QString& path);
};

#endif // TOOLS_H
