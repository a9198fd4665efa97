#include "directory/calc/fouriercalculate.h"

#include "core/busyguard.h"
#include "core/tools.h"
#include "directory/calc/spectrumnoise.h"

#include <QDebug>

FourierCalculate::FourierCalculate() = default;

FourierCalculate::~FourierCalculate() = default;

bool FourierCalculate::calculate() {
    for (QVector<double>& curve : arrGrafikY) {
        curve.clear();
    }
    arrGrafikY.clear();
    points3sigma.clear();
    arrGrafikX.clear();
    arrGridY.clear();
    markers.clear();
    markersX.clear();
    visible.clear();
    names.clear();
    labelsX2.clear();
    labelsX3.clear();
    labelsMulti1.clear();
    labelsMulti2.clear();
    errors.clear();
    text.clear();
    days = 0;
    lastProgress = -1;

    if (writeToTestFiles && !openTestFile()) {
        return false;
    }

    points = spectrumPoints(tresolution);

    return runGraphType();
}

namespace {
using GraphRun = bool (FourierCalculate::*)();
struct GraphEntry {
    const char* type;
    GraphRun run;
};
} // namespace

bool FourierCalculate::runGraphType() {
    // One line per graph type; names are unique, the first equal one runs, and a type in no line leaves
    // the outputs empty.
    static const GraphEntry types[] = {
        // --- Fourier sums ---
        {"fourier", &FourierCalculate::calculateFourier},

        // --- S/N of a harmonic against DM ---
        {"harmDispOne", &FourierCalculate::harmDispOne},
        {"harmDispAverage", &FourierCalculate::harmDispAverage},
        {"harmDispFirstPoint", &FourierCalculate::harmDispFirstPoint},

        // --- FFA periodogram, map and S/N against DM ---
        {"ffa", &FourierCalculate::ffa},
        {"ffaMap", &FourierCalculate::ffaMap},
        {"ffaSnrDisp", &FourierCalculate::ffaSnrDisp},
        {"ffaSnrDispFirstPoint", &FourierCalculate::ffaSnrDispFirstPoint},
        {"ffaSnrDispAverages", &FourierCalculate::ffaSnrDispAverages},

        // --- Harmonics map and 3-sigma sums ---
        {"map", &FourierCalculate::calculateMap},
        {"sum3sigma", &FourierCalculate::sum3sigmaGraph},
    };
    for (const GraphEntry& entry : types) {
        if (grafikType == QLatin1String(entry.type)) {
            return (this->*entry.run)();
        }
    }
    return true;
}

bool FourierCalculate::openTestFile() {
    const QString base = Tools::fourierFileName(QString(), shift, averages, withNulls != 0).left(10);
    const QString name =
        grafikType == QLatin1String("harmDispOne")
            ? QStringLiteral("%1/test_harm_%2_h%3.txt").arg(dir, base).arg(harmonic)
            : QStringLiteral("%1/test_%2_%3_d%4.txt").arg(dir, grafikType, base).arg(dispersion);
    testFile.setFileName(name);
    if (!testFile.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
        qDebug().noquote() << "ERROR1! PulsarMain::clearLogFile(): Can't open file " + name;
        // The form shows `errors`; an empty text would hide why nothing was drawn.
        errors = QStringLiteral("Can't open test file ") + name;
        return false;
    }
    qDebug().noquote() << "TEST RESULT write: fileOutName=" + name;
    return true;
}

void FourierCalculate::writeTest(const QString& line) {
    if (testFile.isOpen()) {
        testFile.write(line.toUtf8());
    }
}

void FourierCalculate::emitProgress(int percent) {
    if (percent == lastProgress) {
        return;
    }
    lastProgress = percent;
    emit progress(percent);
    BusyGuard::processEvents();
}

void FourierCalculate::appendCurve(const QVector<double>& curve, const QString& name) {
    arrGrafikY.append(curve);
    visible.append(true);
    names.append(name);
}

void FourierCalculate::putDmsOnX() {
    for (int dm : dispersions) {
        arrGrafikX.append(dm);
    }
}

FourierCalculate::SeriesStep FourierCalculate::seriesStep(bool overShifts, int step) const {
    return overShifts ? SeriesStep{step - 3, averages} : SeriesStep{shift, step};
}

QString FourierCalculate::shiftMinutes(int s) {
    if (s == 0) {
        return QString();
    }
    return (s > 0 ? QStringLiteral("+%1 min") : QStringLiteral("%1 min")).arg(s);
}
