#include "directory/views/fourierform.h"

#include "core/desktop.h"
#include "core/settings.h"
#include "core/tools.h"
#include "directory/views/fourierformrules.h"
#include "directory/views/fouriergrafik.h"
#include "directory/views/fouriertable.h"
#include "numerics/pulsarcalculate.h"
#include "ui_fourierform.h"

#include <QCheckBox>
#include <QFile>
#include <QPixmap>

void FourierForm::warn(const QString& text) {
    Desktop::instance()->warning(this, QStringLiteral("Error"), text);
}

void FourierForm::setPulsarNameFromBeam() {
    const int site = ui->comboBoxPlosh->currentText().right(1).toInt();
    pulsarName = Tools::jNameFromBeam(ui->module->text(), ui->ray->text(), ui->comboBoxHour->currentText(),
                                      ui->comboBoxMinSec->currentText(), site);
    ui->pulsarName->setText(pulsarName);
}

void FourierForm::changedModule(int value) {
    Settings::getInstance()->setFourierModule(value);
}

void FourierForm::changedRay(int value) {
    Settings::getInstance()->setFourierRay(value);
}

void FourierForm::changedShowDispersion(QString text) {
    Settings::getInstance()->setShowDispersion(text);
}

void FourierForm::changedDispersion(QString) {
    if (!goingBack) {
        redraw();
    }
    Settings::getInstance()->setDispersion(ui->comboBoxDispersion->currentText().toInt());
}

void FourierForm::changedFirstPointShift(int value) {
    if (goingBack) {
        return;
    }
    if (value != -4 || ui->map->isChecked() || ui->ffaMap->isChecked()) {
        redraw();
    }
}

void FourierForm::changedAverageCount(int value) {
    Settings::getInstance()->setAverageCount(value);
    if (goingBack) {
        return;
    }
    if (value == -1 && !ui->map->isChecked() && !ui->ffaMap->isChecked()) {
        return;
    }
    ui->averageCount->setEnabled(false);
    redraw();
    ui->averageCount->setEnabled(true);
}

void FourierForm::changedSumAlfa(int) {
    if (goingBack) {
        return;
    }
    ui->sumAlfa->setEnabled(false);
    redraw();
    ui->sumAlfa->setEnabled(true);
}

void FourierForm::changedCirclePlus(int) {
    if (!goingBack && (ui->map->isChecked() || ui->ffaMap->isChecked())) {
        redraw();
    }
}

void FourierForm::changedStopIncreasePeriod(QString) {
    changedCirclePlus(0);
}

void FourierForm::changedAsIs() {
    asIs = ui->asIs->isChecked();
    redraw();
}

void FourierForm::changedFfaAsIs() {
    asIs = ui->ffaAsIs->isChecked();
    redraw();
}

void FourierForm::clicked3sigmaYears() {
    need3sigmaRead = true;
}

void FourierForm::changedSum3sigmaKoeff(QString) {
    need3sigmaRead = true;
}

void FourierForm::clickedAdditional() {
    ui->groupBoxAdditional_cont->setVisible(ui->groupBoxAdditional->isChecked());
}

void FourierForm::clickedAdditionalFFA() {
    ui->groupBoxAdditionalFFA_cont->setVisible(ui->groupBoxAdditionalFFA->isChecked());
}

void FourierForm::clickedFfaInfo() {
    ui->groupBoxFFA_info_cont->setVisible(ui->groupBoxFFA_info->isChecked());
}

void FourierForm::setGraphWidth(QString width) {
    Settings::getInstance()->setGraphWidth(width);
}

void FourierForm::setGraphHeight(QString height) {
    Settings::getInstance()->setGraphHeight(height);
}

void FourierForm::redrawSearch() {}

// The period and harmonic edits show one value; each converts into the other, and the try-lock keeps
// the echo of that conversion from converting back.
void FourierForm::changedHarmonicNumber(QString text) {
    if (isFfa) {
        return;
    }
    bool number = false;
    const int h = text.toInt(&number, 10);
    if (!number || h <= 0) {
        return;
    }
    Settings::getInstance()->setHarmonicNumber(h);
    if (!mutex.tryLock()) {
        return;
    }
    const QString period = FourierFormRules::periodTextOfHarmonic(
        h, ui->comboBoxTresolution->currentText().toDouble(), withNulls);
    ui->period->setText(period);
    Settings::getInstance()->setPeriod(period);
    mutex.unlock();
}

void FourierForm::changedPeriod(QString text) {
    if (isFfa) {
        return;
    }
    Settings::getInstance()->setPeriod(text);
    const double p = text.toDouble();
    if (p <= 0) {
        return;
    }
    if (!mutex.tryLock()) {
        return;
    }
    const int h =
        FourierFormRules::harmonicOfPeriod(p, ui->comboBoxTresolution->currentText().toDouble(), withNulls);
    ui->harmonicNumber->setText(QString::number(h));
    Settings::getInstance()->setHarmonicNumber(h);
    mutex.unlock();
}

void FourierForm::showFfaInfo() {
    const QString info = PulsarCalculate::getFfaInfo(
        ui->info_period_min->text().toDouble(), ui->info_period_max->text().toDouble(),
        ui->info_bins_min->text().toInt(nullptr, 10), ui->info_bins_max->text().toInt(nullptr, 10),
        ui->info_ducy_max->text().toDouble(), ui->info_wtsp->text().toDouble(),
        ui->comboBoxTresolution->currentText().toDouble());
    Desktop::instance()->warning(this, QStringLiteral("Info"), info);
}

void FourierForm::changeGraphSize() {
    const int w = ui->graphWidth->text().toInt(nullptr, 10);
    const int h = ui->graphHeight->text().toInt(nullptr, 10);
    if (mainWindow && grafik) {
        const int otherWidth = mainWindow->width() - grafik->width();
        const int otherHeight = mainWindow->height() - grafik->height();
        mainWindow->resize(w + otherWidth, h + otherHeight);
    }
    emit mainWindowSizeChanged();
}

void FourierForm::changedPlosh(QString) {
    if (!isSearch) {
        return;
    }
    setPulsarNameFromBeam();
    const bool n4 = nCode == QLatin1String("N4");
    ui->comboBoxTresolution->setCurrentText(n4 ? QStringLiteral("0.003072") : QStringLiteral("0.0124928"));
    ui->module->setMaximum(n4 ? 20 : 6);
}

void FourierForm::checkDispersion(QString text) {
    if (!dispersions.contains(text.toInt(nullptr, 10))) {
        warn(QStringLiteral("Этой дисперсии нет в списке, введите другую дисперсию! (Список есть в "
                            "селекте сверху)"));
    }
}

QList<QCheckBox*> FourierForm::yearBoxes() const {
    return {ui->checkBox2014, ui->checkBox2015, ui->checkBox2016, ui->checkBox2017,
            ui->checkBox2018, ui->checkBox2019, ui->checkBox2020};
}

QList<QCheckBox*> FourierForm::sumYearBoxes() const {
    return {ui->checkBoxSum2014, ui->checkBoxSum2015, ui->checkBoxSum2016, ui->checkBoxSum2017,
            ui->checkBoxSum2018, ui->checkBoxSum2019, ui->checkBoxSum2020};
}

// The year buttons keep the cache/day checks; the table's boxes follow them only while it shows caches
// and days.
void FourierForm::clearAllYears() {
    const bool shown = table && table->tableType == QLatin1String("cachesAndDates");
    for (int i = 0; i < rowChecked.size(); ++i) {
        rowChecked[i] = false;
        if (shown) {
            setRowChecked(i, false);
        }
    }
    for (int year = firstYear; year <= currentYear; ++year) {
        if (yearStates.value(year, 0) != -1) {
            yearStates[year] = 0;
        }
    }
    for (QCheckBox* box : yearBoxes()) {
        box->setChecked(false);
    }
    ui->cacheName->setText(QString());
}

void FourierForm::checkAllYears() {
    const bool shown = table && table->tableType == QLatin1String("cachesAndDates");
    rowChecked = QVector<bool>(tableRows.size(), true);
    if (shown) {
        for (int i = 0; i < tableRows.size(); ++i) {
            setRowChecked(i, true);
        }
    }
    for (int year = firstYear; year <= currentYear; ++year) {
        if (yearStates.value(year, 0) != -1) {
            yearStates[year] = 1;
        }
    }
    const QList<QCheckBox*> boxes = yearBoxes();
    for (int i = 0; i < boxes.size(); ++i) {
        if (yearStates.value(2014 + i, -1) != -1) {
            boxes[i]->setChecked(true);
        }
    }
    ui->cacheName->setText(QStringLiteral("all"));
}

void FourierForm::checkYears() {
    if (!table || table->tableType != QLatin1String("cachesAndDates")) {
        return;
    }
    const QList<QCheckBox*> boxes = yearBoxes();
    for (int i = 0; i < boxes.size(); ++i) {
        const int year = 2014 + i;
        if (yearStates.value(year, -1) != -1) {
            yearStates[year] = boxes[i]->isChecked() ? 1 : 0;
        }
    }
    rowChecked = QVector<bool>(tableRows.size(), false);
    for (int i = 0; i < tableRows.size(); ++i) {
        const QString& name = tableRows.at(i);
        const int year = FourierFormRules::yearOfRow(name, rowKinds.value(name));
        rowChecked[i] = yearStates.value(year, -1) == 1;
        setRowChecked(i, rowChecked[i]);
    }
    ui->cacheName->setText(FourierFormRules::yearsName(yearStates, firstYear, currentYear));
}

void FourierForm::saveText() {
    const QString proposed = FourierFormRules::proposedReportName(
        pulsarName, ui->firstPointShift->text(), ui->averageCount->text(),
        ui->comboBoxWithNull->currentText(), ui->comboBoxDispersion->currentText(), grafik->grafikType);
    QString name = Desktop::instance()->getSaveFileName(this, QStringLiteral("Text save"), proposed,
                                                        QStringLiteral("Text *.txt"));
    if (name.isEmpty()) {
        warn(QStringLiteral("Отмена - имя файла не было выбрано"));
        return;
    }
    // Nothing to write leaves no empty file behind.
    if (grafik->arrGrafikY.isEmpty()) {
        warn(QStringLiteral("Данные не сохранены.\nВозможно, для этого типа графика сохранение не "
                            "предусмотрено"));
        return;
    }
    name = FourierFormRules::withSuffix(name, QStringLiteral(".txt"));
    const QByteArray text =
        FourierFormRules::reportText(pulsarName, grafik->grafikType, ui->firstPointShift->text(),
                                     ui->comboBoxWithNull->currentText(), ui->averageCount->text(),
                                     ui->comboBoxDispersion->currentText(), grafik->arrGrafikY.first())
            .toUtf8();
    QFile file(name);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text) ||
        file.write(text) != text.size() || !file.flush()) {
        warn(QStringLiteral("Ошибка открытия файла для записи!"));
        return;
    }
    file.close();
    Desktop::instance()->warning(this, QStringLiteral("Result"),
                                 QStringLiteral("Сохранено в файл:\n%1").arg(name));
}

void FourierForm::saveImage() {
    QString name = Desktop::instance()->getSaveFileName(this, QStringLiteral("Image save"), QString(),
                                                        QStringLiteral("Image *.png"));
    if (name.isEmpty()) {
        warn(QStringLiteral("File name was not selected"));
        return;
    }
    name = FourierFormRules::withSuffix(name, QStringLiteral(".png"));
    if (!grafik->grab().save(name)) {
        warn(QStringLiteral("Ошибка открытия файла для записи!"));
    }
}
