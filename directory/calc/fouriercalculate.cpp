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

    if (grafikType == QLatin1String("fourier")) {
        return calculateFourier();
    }
    if (grafikType == QLatin1String("harmDispOne")) {
        return harmDispOne();
    }
    if (grafikType == QLatin1String("harmDispAverage")) {
        return harmDispSeries(false);
    }
    if (grafikType == QLatin1String("harmDispFirstPoint")) {
        return harmDispSeries(true);
    }
    if (grafikType == QLatin1String("ffa")) {
        return ffa();
    }
    if (grafikType == QLatin1String("ffaMap")) {
        return ffaMap();
    }
    if (grafikType == QLatin1String("ffaSnrDisp")) {
        return ffaSnrDisp();
    }
    if (grafikType == QLatin1String("ffaSnrDispFirstPoint")) {
        return ffaSnrDispSeries(true);
    }
    if (grafikType == QLatin1String("ffaSnrDispAverages")) {
        return ffaSnrDispSeries(false);
    }
    if (grafikType == QLatin1String("map")) {
        return calculateMap();
    }
    if (grafikType == QLatin1String("sum3sigma")) {
        // The circles stand on the DM axis of the maps; the graph draws nothing without it.
        arrGrafikX = dmGrid();
        calculateSum3sigma();
        return true;
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
