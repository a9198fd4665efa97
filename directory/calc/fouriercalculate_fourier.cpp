// "fourier": the spectrum of one DM summed over days, a search directory or N4 segments.
#include "directory/calc/fouriercalculate.h"

#include "core/busyguard.h"
#include "core/tools.h"
#include "directory/calc/spectrumnoise.h"

#include <QDebug>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>

#include <cmath>

namespace {

const QString noDays = QStringLiteral("Error: no days were summed! Check tresolution in left form");

QString readerText(int result, const QString& path) {
    switch (result) {
    case -1:
        return QStringLiteral("file not found\n%1\n\n").arg(path);
    case -2:
        return QStringLiteral("no dispersion\n%1\n\n").arg(path);
    default:
        return QStringLiteral("programm error\n%1\n\n").arg(path);
    }
}

QString shortest(double v) {
    return QString::number(v, 'g', QLocale::FloatingPointShortest);
}

// The segments of an N4 search directory: root, text before the start time, start, module, ray.
struct Segments {
    QString root, middle, time, module, ray;
    bool valid = false;
};

Segments parseSegments(const QString& dir) {
    static const QRegularExpression rx(
        QStringLiteral("^(.*)/\\d\\d/(.*)\\d{6}/a(\\d{6})_m(\\d{1,2})_r(\\d)$"));
    const QRegularExpressionMatch m = rx.match(dir);
    Segments s;
    if (m.hasMatch()) {
        s = {m.captured(1), m.captured(2), m.captured(3), m.captured(4), m.captured(5), true};
    }
    return s;
}

// Reads the `segments` files of an N4 search directory, 3 minutes apart, through `add` (a reader's
// return code for one file); writes one report line per segment and returns how many were added.
template <typename Add, typename Progress>
int sumSegments(const Segments& seg, int segments, int withNulls, int averages, QString& text, Add add,
                Progress progress) {
    int added = 0;
    text += QStringLiteral("\nCложение 3-мин. отрезков\n\n");
    text += QStringLiteral("Сложение %1 отрезков:\n").arg(segments);
    QString time = seg.time;
    for (int i = 1; i <= segments; ++i) {
        const QString shortName = QStringLiteral("a%1_m%2_r%3").arg(time, seg.module, seg.ray);
        const QString path = QStringLiteral("%1/%2/%3/%4/%5/f00_n%6_av%7.txt")
                                 .arg(seg.root, time.left(2), seg.middle, time, shortName)
                                 .arg(withNulls)
                                 .arg(averages);
        if (!QFileInfo::exists(path)) {
            text += QStringLiteral("%1: %2 нет файла\n").arg(i, 2).arg(shortName);
        } else {
            const int result = add(path);
            const char* status = result == 1    ? "ok"
                                 : result == -1 ? "file not found"
                                 : result == -2 ? "no dispersion"
                                                : "sum error";
            added += result == 1 ? 1 : 0;
            text += QStringLiteral("%1: %2 - %3\n").arg(i, 2).arg(shortName, QLatin1String(status));
        }
        time = Tools::add90Seconds(Tools::add90Seconds(time));
        progress(i);
    }
    text += QStringLiteral("Cложено отрезков: %1\n\n").arg(added);
    return added;
}

} // namespace

bool FourierCalculate::calculateFourier() {
    const int n = points < 64 ? 0 : getAveragedPoints(points, averages, withNulls != 0) / 2;
    curvePoints = n;
    QVector<double> sum(n, 0.0);

    if (!isSearch) {
        BusyGuard busy;
        const int rows = tableRows.size();
        for (int i = 0; i < rows; ++i) {
            if (i < rowChecked.size() && rowChecked[i]) {
                const QString path = rowFileName(tableRows[i], shift, averages, withNulls);
                const int result = addFourierFromFile(path, dispersion, sum);
                if (result == 1) {
                    ++days;
                    if (writeToTestFiles) {
                        writeTest(QStringLiteral("file_name=%1\n").arg(path));
                    }
                } else {
                    errors += readerText(result, path);
                }
            }
            emitProgress(100 * (i + 1) / rows);
        }
        if (days == 0) {
            errors = noDays;
            return false;
        }
    } else {
        if (selectedDir.isEmpty()) {
            errors = QStringLiteral("Click on string in the table!");
            return false;
        }
        if (sumAlfa <= 1) {
            const QString path = getSingleFourierFileName(selectedDir, averages, withNulls);
            const int result = addFourierFromFile(path, dispersion, sum);
            if (result != 1) {
                errors = readerText(result, path);
                return false;
            }
            days = 1;
        } else {
            days = std::max(0, sumFourierN4(sum, sumAlfa, selectedDir, dispersion, averages, withNulls));
        }
        if (days == 0) {
            errors = noDays;
            return false;
        }
    }

    QVector<double> approx(n, 0.0);
    QVector<double> result(n, 0.0);
    deductMedianNoiseAuto(sum, approx, result, n);
    const double sigma = getSigmaMedian(result, n, n / 64);
    // Every S/N below is a quotient by sigma: a flat or broken spectrum has nothing to show.
    if (!(sigma > 0) || !std::isfinite(sigma)) {
        errors = QStringLiteral("Error: sigma = 0, empty spectrum");
        return false;
    }
    const double level4 = 4 * sigma;
    const bool nulls = withNulls != 0;
    auto periodOf = [&](int j) { return j == 0 ? -1.0 : calcPeriodOfHarmonic(j, nulls, tresolution); };

    if (writeToTestFiles) {
        writeTest(QStringLiteral("points=%1\nblankPoints=%2").arg(n).arg(n / 256));
        writeTest(QStringLiteral("dispersion=%1\n").arg(dispersion));
        writeTest(QStringLiteral("1*sigmaMedian=%1\n").arg(shortest(sigma)));
        writeTest(QStringLiteral("4*sigmaMedian=%1\n\n").arg(shortest(level4)));
        writeTest(QStringLiteral("number\tarrFourier\tarrApprox\tarrFourier1\n"));
        for (int j = 0; j < n; ++j) {
            const QString mark = result[j] > level4 ? QStringLiteral("!!!!!!!!! S/N=%1\tperiod=%2")
                                                          .arg(QString::number(result[j] / sigma, 'f', 1),
                                                               shortest(periodOf(j)))
                                                    : QString();
            writeTest(QStringLiteral("%1\t\t%2\t\t%3\t\t%4\t\t%5\n")
                          .arg(j, 4)
                          .arg(QString::number(sum[j], 'f', 5), QString::number(approx[j], 'f', 5),
                               QString::number(result[j], 'f', 5), mark));
        }
    }

    if (!asIs) {
        for (int j = 0; j < n; ++j) {
            if (result[j] > level4 && Tools::isInterferencePeriod(periodOf(j), plosh, module, ray, true)) {
                result[j] = 0;
            }
        }
    }

    const double k = showSigmaLevel;
    const bool harmonicShown = harmonic > 0 && harmonic < n;
    auto harmonicLine = [&](int j) {
        return QStringLiteral("%1: period: %2  S/N: %3\n")
            .arg(j, 4)
            .arg(QString::number(periodOf(j), 'f', 4), QString::number(result[j] / sigma, 'f', 1));
    };
    text += QStringLiteral("sigmaMedian = %1\n\n").arg(QString::number(sigma, 'f', 4));
    if (harmonicShown) {
        text += QStringLiteral("harmonic=%1: S/N=%2\n\n")
                    .arg(harmonic)
                    .arg(QString::number(result[harmonic] / sigma, 'f', 1));
    }
    text += QStringLiteral("Harmonics >= %1 sigma:\n\n").arg(int(k));

    const int s = n / 128;
    int lines = 0;
    int best = -1;
    for (int j = s; j < n; ++j) {
        const double snr = result[j] / sigma;
        if (snr > k) {
            // A run is reported by its strongest harmonic, the first of equals.
            if (best < 0 || snr > result[best] / sigma) {
                best = j;
            }
            continue;
        }
        if (best >= 0) {
            if (lines < 9) {
                text += harmonicLine(best);
                ++lines;
            }
            best = -1;
        }
    }
    if (best >= 0 && lines < 9) {
        text += harmonicLine(best);
    }
    if (harmonicShown) {
        text += harmonicLine(harmonic);
    }
    markers.append(harmonic);

    QVector<double> levelCurve(n, 0.0);
    for (int j = s; j < n; ++j) {
        levelCurve[j] = k * sigma;
    }
    if (!showNoise || forPrint) {
        QVector<double> snr(n);
        for (int j = 0; j < n; ++j) {
            snr[j] = result[j] / sigma;
        }
        appendCurve(snr, QStringLiteral("S/N (fourier minus approx)"));
        if (k > 0) {
            appendCurve(QVector<double>(n, k), QStringLiteral("S/N = %1").arg(shortest(k)));
        }
    } else {
        appendCurve(sum, QStringLiteral("fourier of sum channels"));
        appendCurve(approx, QStringLiteral("approx by median vals"));
        appendCurve(result, QStringLiteral("fourier minus approx"));
        appendCurve(levelCurve, QStringLiteral("S/N = %1").arg(int(k)));
    }
    if (!errors.isEmpty()) {
        text += QStringLiteral("\nErrors:\n%1\n").arg(errors);
    }
    return true;
}

int FourierCalculate::sumFourierN4(QVector<double>& sum, int segments, const QString& dir, int dispersion,
                                   int averages, int withNulls) {
    const Segments seg = parseSegments(dir);
    if (!seg.valid) {
        qDebug().noquote() << "ERROR 12! FourierCalculate::sumFourierN4 bad dir=" + dir;
        return -1;
    }
    days = sumSegments(
        seg, segments, withNulls, averages, text,
        [&](const QString& path) { return addFourierFromFile(path, dispersion, sum); }, [](int) {});
    if (days > 1) {
        const double norm = std::sqrt(double(days));
        for (double& v : sum) {
            v /= norm;
        }
    }
    return days;
}

int FourierCalculate::sumFourierN4(QVector<QVector<double>>& matrix, int segments, const QString& dir,
                                   const QVector<int>& dispersions, int averages, int withNulls) {
    const Segments seg = parseSegments(dir);
    if (!seg.valid) {
        qDebug().noquote() << "ERROR 12! FourierCalculate::sumFourierN4 bad dir=" + dir;
        return -1;
    }
    const int p = getAveragedPoints(65536, averages, withNulls != 0) / 2;
    BusyGuard busy;
    days = sumSegments(
        seg, segments, withNulls, averages, text,
        [&](const QString& path) { return addFourierMatrixFromFile(path, matrix, p); },
        [&](int i) { emitProgress(100 * i / segments); });
    if (days > 1) {
        const double norm = std::sqrt(double(days));
        const int rows = std::min(dispersions.size(), matrix.size());
        for (int r = 0; r < rows; ++r) {
            const int count = std::min(p, matrix[r].size());
            for (int i = 0; i < count; ++i) {
                matrix[r][i] /= norm;
            }
        }
    }
    return days;
}
