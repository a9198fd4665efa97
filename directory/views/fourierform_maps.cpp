#include "directory/calc/harmonics3sigmafile.h"
#include "directory/calc/mapfile.h"
#include "directory/views/fourierform.h"
#include "directory/views/fouriergrafikinfo.h"
#include "ui_fourierform.h"

#include <QCheckBox>
#include <QDebug>
#include <QProgressBar>

QString FourierForm::readHarmonicsMap(const QString& fileName) {
    if (progressBar) {
        progressBar->show();
    }
    const QString error = MapFile::read(fileName, mapPoints, [this](int p) { emit progress(p); });
    if (progressBar) {
        progressBar->hide();
    }
    return error;
}

void FourierForm::filterMapPoints() {
    // The inputs are read once per call, not per point.
    MapFilter inputs;
    inputs.maxX = ui->showMaxX->text().toDouble();
    inputs.minX = ui->showMinX->text().toDouble();
    inputs.asIs = asIs;
    inputs.withNulls = withNulls;
    inputs.averages = ui->averageCount->value();
    inputs.minSnr = ui->minSnr->text().toDouble();
    inputs.sumAlfa = ui->sumAlfa->value();
    inputs.siteCode = nCode;
    inputs.module = module;
    inputs.ray = ray;
    MapFile::filter(mapPoints, inputs);
}

bool FourierForm::readHarmonics3sigma() {
    const QList<QCheckBox*> boxes = sumYearBoxes();
    QStringList years;
    for (int i = 0; i < boxes.size(); ++i) {
        if (boxes[i]->isChecked()) {
            years.append(QString::number(14 + i));
        }
    }
    Harmonics3sigma read;
    read.records = sum3sigma;
    read.harmonics = harmonics3sigma;
    read.withNulls = harmonicWithNulls;
    const QString error = Harmonics3sigmaFile::read(dir, ui->sum3sigmaKoeff->text().toDouble(), years, read,
                                                    [this](int p) { emit progress(p); });
    sum3sigma = read.records;
    harmonics3sigma = read.harmonics;
    harmonicWithNulls = read.withNulls;
    if (progressBar) {
        progressBar->hide();
    }
    need3sigmaRead = false;
    if (!error.isEmpty()) {
        warn(error);
        return false;
    }
    return true;
}

void FourierForm::clickedOnHarmonicLink(int id, QPointF point0, QPointF point1, QPointF point2) {
    if (id < 0 || mapPoints.isEmpty() || id >= mapPoints.size()) {
        qDebug().noquote()
            << QStringLiteral("Error! return: id=%1 mapPoints.size()=%2").arg(id).arg(mapPoints.size());
        return;
    }
    const MapPoint p = mapPoints[id];
    const bool fourierMap = ui->map->isChecked();
    const bool ffaMap = ui->ffaMap->isChecked();
    if (fourierMap || ffaMap) {
        goingBack = true;
        savedDispersion = ui->comboBoxDispersion->currentText();
        savedShift = ui->firstPointShift->value();
        savedAverages = ui->averageCount->value();
        if (fourierMap) {
            savedWithNull = ui->comboBoxWithNull->currentText();
            savedSumAlfa = ui->sumAlfa->value();
        }
        ui->comboBoxDispersion->setCurrentText(QString::number(p.dispersion));
        ui->firstPointShift->setValue(p.shift);
        ui->averageCount->setValue(p.averages);
        if (fourierMap) {
            ui->sumAlfa->setValue(p.sumAlfa);
            ui->comboBoxWithNull->setCurrentText(p.withNulls == 1 ? QStringLiteral("1")
                                                                  : QStringLiteral("0"));
            ui->fourier->setChecked(true);
            ui->showDispersion->setText(QString::number(p.dispersion));
            ui->harmonicNumber->setText(QString::number(p.harmonic));
        } else {
            ui->ffa->setChecked(true);
            ui->showDispersion->setText(QString::number(p.dispersion));
            ui->period->setText(QString::number(p.period, 'g', 6));
        }
        canGoBack = true;
        savedHarmonic = id;
        savedClick0 = point0;
        savedClick1 = point1;
        savedClick2 = point2;
        goingBack = false;
    }
    changedAction();
}

void FourierForm::back() {
    goingBack = true;
    ui->comboBoxDispersion->setCurrentText(savedDispersion);
    ui->firstPointShift->setValue(savedShift);
    ui->averageCount->setValue(savedAverages);
    if (!isFfa) {
        ui->comboBoxWithNull->setCurrentText(savedWithNull);
        ui->sumAlfa->setValue(savedSumAlfa);
        ui->map->setChecked(true);
    } else {
        ui->ffaMap->setChecked(true);
        canGoBack = false;
    }
    goingBack = false;
    redraw();
    if (grafikInfo) {
        grafikInfo->selectedHarmonic = savedHarmonic;
        grafikInfo->showMapInfo(savedClick0, savedClick1, savedClick2);
    }
}

void FourierForm::clickedMapAll() {
    if (ui->mapAll->isChecked()) {
        if (!ui->map->isChecked()) {
            ui->mapAll->setChecked(false);
            return;
        }
        ui->firstPointShift->setValue(-4);
        ui->averageCount->setValue(-1);
        ui->comboBoxWithNull->setCurrentText(QStringLiteral("*"));
    } else {
        ui->firstPointShift->setValue(0);
        ui->averageCount->setValue(0);
        ui->comboBoxWithNull->setCurrentText(QStringLiteral("1"));
    }
    redraw();
}
