// Result-file names and readers, baselines that need the object, and the point/period conversions.
#include "directory/calc/fouriercalculate.h"

#include "core/tools.h"
#include "directory/calc/resultdirscan.h"
#include "directory/calc/resultfile.h"
#include "directory/calc/spectrumnoise.h"
#include "numerics/approximationv.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QtEndian>

#include <limits>

namespace {

// M of the period of a harmonic: half the spectrum's points, larger at the N4 resolution.
double halfPoints(double tresolution) {
    return spectrumPoints(tresolution) / 2;
}

} // namespace

QString FourierCalculate::getFourierFileName(const QString& dir, int shift, int averages, bool withNull) {
    const QString name = Tools::fourierFileName(QString(), shift, averages, withNull);
    if (dir.isEmpty() || dir == QLatin1String("search")) {
        return name;
    }
    return dir + QLatin1Char('/') + name;
}

QString FourierCalculate::getFourierFileNameWithDir(const QString& dir, int shift, int averages,
                                                    bool withNull) {
    return dir + QLatin1Char('/') + Tools::fourierFileName(dir, shift, averages, withNull);
}

QString FourierCalculate::getSingleFourierFileName(const QString& dir, int averages, int withNull) {
    return QStringLiteral("%1/f00_n%2_av%3.txt").arg(dir).arg(withNull).arg(averages);
}

QString FourierCalculate::rowFileName(const QString& row, int shift, int averages, int withNull) const {
    const bool n = withNull != 0;
    const QString plain = dir + QLatin1Char('/') + getFourierFileName(row, shift, averages, n);
    if (QFileInfo::exists(plain)) {
        return plain;
    }
    const QString prefixed = dir + QLatin1Char('/') + getFourierFileNameWithDir(row, shift, averages, n);
    if (QFileInfo::exists(prefixed)) {
        return prefixed;
    }
    const QString base = Tools::fourierFileBase(shift, averages, n);
    const QString month = ResultDirScan::yearTreeMonth(row);
    for (const QString& location : rowLocations.value(row)) {
        if (location == month) {
            // A year tree names the day in front of the descriptor; a bare descriptor names no day.
            const QStringList found =
                QDir(dir + QLatin1Char('/') + location)
                    .entryList({row + QStringLiteral("*_") + base + QStringLiteral(".txt")}, QDir::Files,
                               QDir::Name);
            if (!found.isEmpty()) {
                return dir + QLatin1Char('/') + location + QLatin1Char('/') + found.first();
            }
            continue;
        }
        for (const QString& name : {getFourierFileName(location, shift, averages, n),
                                    getFourierFileNameWithDir(location, shift, averages, n)}) {
            const QString path = dir + QLatin1Char('/') + name;
            if (QFileInfo::exists(path)) {
                return path;
            }
        }
    }
    return prefixed;
}

int FourierCalculate::addFourierFromFile(const QString& fileName, int dispersion, QVector<double>& sum) {
    return ResultFile::addFourierFromFile(fileName, dispersions.size(), dispersion, sum, dispersions);
}

int FourierCalculate::addFourierMatrixFromFile(const QString& fileName, QVector<QVector<double>>& matrix,
                                               int points) {
    return ResultFile::addFourierMatrixFromFile(fileName, dispersions.size(), matrix, points);
}

bool FourierCalculate::addFourierHashFromFile(const QString& fileName, int shift, int averages, int withNull,
                                              QHash<QString, QVector<double>>& sums, int points) {
    return ResultFile::addFourierHashFromFile(fileName, dispersions.size(), shift, averages, withNull, sums,
                                              points, errors);
}

bool FourierCalculate::writeFourier(double** blocks, const int* days, const QString& fileName, int points,
                                    int shift, int averages, bool withNull, const QVector<int>& dispersions) {
    QFile f(fileName);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        qDebug().noquote() << "ERROR8! FourierCalculate::writeFourier(): Can't open file " + fileName;
        return false;
    }
    // The shift goes on a "first_point:" line, which marks the blocks as doubles for every reader.
    QByteArray out = QStringLiteral("year: \ncount_month: \npoints: %1\nfirst_point: %2\naverageCount: %3\n"
                                    "averageWithNull: %4")
                         .arg(points)
                         .arg(shift)
                         .arg(averages)
                         .arg(withNull ? 1 : 0)
                         .toUtf8();
    const int count = points > 0 ? points : 0;
    for (int i = 0; i < dispersions.size(); ++i) {
        out += QStringLiteral("\ndisp: %1\ndays: %2\n").arg(dispersions[i]).arg(days[i]).toUtf8();
        // A record without days has no block in the layout, so none is written.
        if (days[i] <= 0) {
            continue;
        }
        const int at = out.size();
        out.resize(at + 8 * count);
        for (int k = 0; k < count; ++k) {
            qToLittleEndian<double>(blocks[i][k], out.data() + at + 8 * k);
        }
    }
    return f.write(out) == out.size();
}

int FourierCalculate::deductMedianNoiseWindow(const QVector<double>& in, QVector<double>& approx,
                                              QVector<double>& diff, int window) {
    const QVector<double>& periods = periodogramInfo.periods;
    // Entries beyond the layout's periods have no period to show.
    auto dump = [&](const QVector<double>& values) {
        for (int i = 0; i < values.size(); ++i) {
            const QString p = i < periods.size() ? QString::number(periods[i], 'f', 2) : QString();
            writeTest(QStringLiteral("%1\t\t%2\t\t%3\n").arg(i, 4).arg(p).arg(values[i]));
        }
    };
    if (writeToTestFiles) {
        writeTest(QStringLiteral("==============================\nArr: len=%1, size=%2\n")
                      .arg(window)
                      .arg(in.size()));
        dump(in);
    }
    const int result = ::deductMedianNoiseWindow(in, approx, diff, window);
    if (writeToTestFiles && result) {
        writeTest(QStringLiteral("==============================\nApprox len=%1\n").arg(2 * (window / 2)));
        dump(approx);
    }
    return result;
}

int FourierCalculate::deductMedianNoiseWindow(QVector<double>& data, int window) {
    QVector<double> approx;
    QVector<double> diff;
    if (!deductMedianNoiseWindow(data, approx, diff, window)) {
        return 0;
    }
    data = diff;
    return 1;
}

namespace {

// The degree-5 baseline of in into approx, in minus it into diff; `form` names the caller's form in
// the debug log.
bool polinomBaseline(const QVector<double>& in, QVector<double>& approx, QVector<double>& diff,
                     const char* form) {
    const int count = in.size();
    if (count <= 9) {
        qDebug().noquote() << QStringLiteral(
                                  "FourierCalculate::deductPolinomNoise(%1): Error of array! points=")
                                  .arg(QLatin1String(form))
                           << count;
        return false;
    }
    approx = QVector<double>(count, 0.0);
    diff = QVector<double>(count, 0.0);
    ApproximationV fit;
    if (!fit.polinom(5, in, approx, false)) {
        qDebug().noquote() << QStringLiteral(
                                  "FourierCalculate::deductPolinomNoise(%1): Error of approximation!")
                                  .arg(QLatin1String(form));
        return false;
    }
    for (int i = 0; i < count; ++i) {
        diff[i] = in[i] - approx[i];
    }
    return true;
}

} // namespace

bool FourierCalculate::deductPolinomNoise(const QVector<double>& in, QVector<double>& approx,
                                          QVector<double>& diff) {
    return polinomBaseline(in, approx, diff, "");
}

bool FourierCalculate::deductPolinomNoise(QVector<double>& arr) {
    QVector<double> approx;
    QVector<double> diff;
    if (!polinomBaseline(arr, approx, diff, "&arr")) {
        return false;
    }
    arr = diff;
    return true;
}

int FourierCalculate::getAveragedPoints(int points, int averages, bool withNulls) {
    return averagedPoints(points, averages, withNulls);
}

double FourierCalculate::calcPeriodOfHarmonic(int harmonic, bool withNulls, double tresolution) {
    const double period = 2 * tresolution * halfPoints(tresolution) / harmonic;
    return withNulls ? 2 * period : period;
}

double FourierCalculate::getPeriodOfHarmonic(int harmonic, bool withNulls, double tresolution) {
    return harmonic <= 0 ? -1 : calcPeriodOfHarmonic(harmonic, withNulls, tresolution);
}

int FourierCalculate::getHarmonicOfPeriod(double period, bool withNulls, double tresolution) {
    if (!(period > 0)) {
        return -1;
    }
    const double h = 2 * tresolution * halfPoints(tresolution) / (withNulls ? period / 2 : period);
    return h < double(std::numeric_limits<int>::max()) ? int(h) : std::numeric_limits<int>::max();
}
