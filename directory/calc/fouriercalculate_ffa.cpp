// The FFA periodogram layout file and the "ffa" graph: one DM's periodogram summed over days.
#include "directory/calc/fouriercalculate.h"

#include "core/busyguard.h"
#include "core/filebytes.h"
#include "core/numberreader.h"
#include "core/tables.h"
#include "core/tools.h"
#include "directory/calc/spectrumnoise.h"

#include <QDebug>

namespace {

QString g6(double v) {
    return QString::number(v, 'g', 6);
}

} // namespace

bool FourierCalculate::readPeriodogramInfo(const QString& path, PeriodogramInfo& info) {
    info = PeriodogramInfo();
    FileBytes bytes(path);
    if (!bytes.opened()) {
        info.error = QStringLiteral("Нет файла ") + path;
        return false;
    }
    bytes.trimAsTextStream(true);
    bool inPeriods = false;
    bool inWidths = false;
    bool inFoldbins = false;
    NumberReader::forEachLine(bytes.begin(), bytes.end(), [&](const char* b, const char* e) {
        if (b < e && *b == '}') {
            inPeriods = inWidths = inFoldbins = false;
        } else if (inWidths) {
            info.widths.append(NumberReader::toInt(b, e));
        } else if (inPeriods) {
            info.periods.append(NumberReader::toDouble(b, e));
        } else if (inFoldbins) {
            info.foldbins.append(NumberReader::toInt(b, e));
        } else if (NumberReader::startsWith(b, e, "periods={")) {
            inPeriods = true;
        } else if (NumberReader::startsWith(b, e, "widths={")) {
            inWidths = true;
        } else if (NumberReader::startsWith(b, e, "foldbins={")) {
            inFoldbins = true;
        } else if (NumberReader::startsWith(b, e, "cols=")) {
            info.cols = NumberReader::toInt(b + 5, e);
        } else if (NumberReader::startsWith(b, e, "rows=")) {
            info.rows = NumberReader::toInt(b + 5, e);
        }
    });
    if (info.cols < 1) {
        info.error = QStringLiteral("No cols in periodogram info!");
    } else if (info.rows < 1) {
        info.error = QStringLiteral("No rows in periodogram info!");
    } else if (info.widths.isEmpty()) {
        info.error = QStringLiteral("No widths in periodogram info!");
    } else if (info.periods.size() < info.rows) {
        info.error = QStringLiteral("Bad number of periods (%1) in periodogram info! (rows= %2)")
                         .arg(info.periods.size())
                         .arg(info.rows);
    } else if (info.foldbins.size() < info.rows) {
        info.error = QStringLiteral("Bad number of foldbins (%1) in periodogram info! (rows= %2)")
                         .arg(info.foldbins.size())
                         .arg(info.rows);
    } else if (info.cols > info.widths.size()) {
        // Every width index of a periodogram is listed by its width; a larger count would read past them.
        info.error = QStringLiteral("Bad number of widths (%1) in periodogram info! (cols= %2)")
                         .arg(info.widths.size())
                         .arg(info.cols);
    } else if (qint64(info.rows) * info.cols > maxPeriodogramPoints) {
        info.error = QStringLiteral("Bad number of points (%1) in periodogram info! (rows= %2, cols= %3)")
                         .arg(qint64(info.rows) * info.cols)
                         .arg(info.rows)
                         .arg(info.cols);
    }
    return info.error.isEmpty();
}

bool FourierCalculate::readPeriodogramInfoChecked(const QString& path, PeriodogramInfo& info, int tolerance) {
    const bool read = readPeriodogramInfo(path, info);
    return tolerance > 0 || read;
}

// Every FFA graph of a search tree takes the layout of the picked directory before the root's, so they
// all read the same periodograms alike. A sum has no picked directory: "/info.txt" at the file-system
// root is never the layout of it.
bool FourierCalculate::readFfaLayout() {
    if (!selectedDir.isEmpty() &&
        readPeriodogramInfoChecked(selectedDir + QStringLiteral("/info.txt"), periodogramInfo, 0)) {
        return true;
    }
    if (readPeriodogramInfoChecked(dir + QStringLiteral("/info.txt"), periodogramInfo, 0)) {
        return true;
    }
    errors = periodogramInfo.error;
    return false;
}

bool FourierCalculate::ffa() {
    withNulls = 0;
    if (!readFfaLayout()) {
        return false;
    }
    const int R = periodogramInfo.rows;
    const int W = periodogramInfo.cols;
    QVector<double> sum(R * W, 0.0); // the reader bounds R * W

    auto addFile = [&](const QString& file) {
        const int result = addFourierFromFile(file, dispersion, sum);
        if (result == 1) {
            ++days;
        } else if (result == -1) {
            errors = QStringLiteral("Not found: %1\n").arg(file);
        } else if (result == -2) {
            errors = QStringLiteral("Dispersion not found: %1\n").arg(file);
        } else {
            errors = QStringLiteral("Programm error: %1\n").arg(file);
        }
    };
    if (!isSearch) {
        BusyGuard busy;
        const int rows = tableRows.size();
        for (int j = 0; j < rows; ++j) {
            if (j < rowChecked.size() && rowChecked[j]) {
                addFile(rowFileName(tableRows[j], shift, averages, 0));
            }
            emitProgress(100 * (j + 1) / rows);
        }
    } else if (selectedDir.isEmpty()) {
        errors = QStringLiteral("Click on string in the table!");
        return false;
    } else {
        addFile(getFourierFileName(selectedDir, shift, averages, false));
    }
    if (days == 0) {
        qDebug().noquote() << "ERROR2! ";
        errors = QStringLiteral("Нет данных для этих параметров!");
        return false;
    }

    const bool withApprox = showApproxFFA || showMinusApprox;
    for (int w = 0; w < W; ++w) {
        const QVector<double> slice = sum.mid(w * R, R);
        if (!withApprox) {
            appendCurve(slice, QStringLiteral("FFA"));
            continue;
        }
        QVector<double> approx;
        QVector<double> diff;
        if (ffaNoise == QLatin1String("median")) {
            if (!deductMedianNoiseWindow(slice, approx, diff, approxLen)) {
                errors = QStringLiteral("Error of median noise approximation!");
                return false;
            }
        } else if (ffaNoise == QLatin1String("polinom")) {
            if (!deductPolinomNoise(slice, approx, diff)) {
                errors = QStringLiteral("Error of polinom noise approximation!");
                return false;
            }
        }
        if (showMinusApprox) {
            appendCurve(diff, QStringLiteral("FFA minus approx"));
        } else {
            appendCurve(slice, QStringLiteral("FFA"));
        }
        if (showApproxFFA) {
            appendCurve(approx, QStringLiteral("FFA approx"));
        }
    }

    QVector<double>& main = arrGrafikY[0];
    double sigma0 = -1;
    double sigma1 = -1;
    if (sigmaProc >= 1) {
        sigma0 = Tools::sigmaOfLowest(main, 100);
        sigma1 = Tools::sigmaOfLowest(main, sigmaProc);
        if (sigma1 > 0.00001) { // false for the NaN of a single value, too
            for (int i = 0; i < R && i < main.size(); ++i) {
                main[i] /= sigma1;
            }
        }
    }
    const double sigma2 = Tools::sigmaOfLowest(main, 100);
    if (!asIs) {
        main = Tools::clipAtMarks(main, periodogramInfo.periods.mid(0, R), halfStepGrid);
    }

    text += QStringLiteral("axe Y:  S/N\n") + QStringLiteral("axe X1:  number of points\n") +
            QStringLiteral("axe X2: periods\n") + QStringLiteral("axe X3: foldbins\n");
    text += QStringLiteral("\nnumber of periods: %1\n\n").arg(R);
    if (W > 1) {
        for (int w = 0; w < W; ++w) {
            text += QStringLiteral("width=%1\n").arg(periodogramInfo.widths[w]); // the reader checked W
        }
    }
    if (withApprox) {
        text += QStringLiteral("\napproximation on lengths=%1\n").arg(approxLen);
    }
    if (sigmaProc < 1) {
        text += QStringLiteral("sigmaProc=0, change it in form!\n");
    } else if (!(sigma1 > 0.00001)) {
        text += QStringLiteral("Grafik0 not normalized - bad sigma!\n");
    } else {
        text += QStringLiteral("sigma0 = %1 (100% points)\n").arg(QString::number(sigma0, 'f', 3));
        text += QStringLiteral("sigma1 = %1 (%2% points) <--norm\n")
                    .arg(QString::number(sigma1, 'f', 3))
                    .arg(sigmaProc);
        text += QStringLiteral("sigma2 = %1 (after norm)\n\n").arg(QString::number(sigma2, 'f', 3));
    }

    // One window [first, end) over the periods crops every curve alike, so index i of any curve, of
    // the period list and of the fold bins names the same trial period.
    QVector<double>& periods = periodogramInfo.periods;
    QVector<int>& foldbins = periodogramInfo.foldbins;
    int first = 0;
    int end = R;
    const double last = periods[R - 1];
    if ((xMax > 0 && xMax < last) || (xMin > 0 && xMin < last)) {
        for (int i = 0; i < R; ++i) {
            if (xMin > 0 && periods[i] < xMin) {
                first = i + 1;
            } else if (xMax > 0 && periods[i] > xMax) {
                end = i;
                break;
            }
        }
        if (first >= end) {
            errors = QStringLiteral("No periods between xMin and xMax");
            return false;
        }
        periods = periods.mid(first, end - first);
        foldbins = foldbins.mid(first, end - first);
        for (QVector<double>& curve : arrGrafikY) {
            curve = curve.mid(first, qMax(0, qMin(end, curve.size()) - first));
        }
    }
    curvePoints = end - first;
    xMin = periods[0];
    xMax = periods[curvePoints - 1];

    for (int i = 0; i < curvePoints; ++i) {
        if (forPrint) {
            labelsX1.append(QString::number(periods[i], 'f', 2));
        } else {
            labelsX2.append(QString::number(periods[i], 'f', 2));
            labelsX3.append(QString::number(foldbins[i]));
        }
    }
    if (showSigmaLevel > 0) {
        appendCurve(QVector<double>(curvePoints, showSigmaLevel),
                    QStringLiteral("S/N = %1").arg(g6(showSigmaLevel)));
    }

    const QVector<double>& curve0 = arrGrafikY[0];
    auto line = [&](qint64 i) {
        return QStringLiteral("period: %1 snr: %2")
            .arg(QString::number(periods[int(i)], 'f', 4), QString::number(curve0[int(i)], 'f', 1));
    };
    if (period > 0) {
        const qint64 k = periodIndex(periods, period);
        markers.append(int(k));
        if (k >= 0 && k < curvePoints && k < curve0.size()) {
            if (k > 3) {
                text += line(k - 2) + QLatin1Char('\n') + line(k - 1) + QLatin1Char('\n');
            }
            text += line(k) + QStringLiteral(" <---- i=%1\n").arg(k);
            if (k < curvePoints - 2 && k + 2 < curve0.size()) {
                text += line(k + 1) + QLatin1Char('\n') + line(k + 2) + QLatin1Char('\n');
            }
        }
    }

    text += QStringLiteral("\nPeriods with S/N > %1:\n").arg(g6(showSigmaLevel));
    int listed = 0;
    for (int i = 0; i < curvePoints && i < curve0.size() && listed < 16; ++i) {
        if (curve0[i] > showSigmaLevel) {
            text += QStringLiteral("i=%1\tp=%2\tsnr=%3\n")
                        .arg(i)
                        .arg(QString::number(periods[i], 'f', 4), QString::number(curve0[i], 'f', 1));
            ++listed;
        }
    }
    text += QStringLiteral("\nYou can change FFA settings in\n\"Additional for FFA\" form block\n");
    return true;
}
