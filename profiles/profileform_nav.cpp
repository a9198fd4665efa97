// Selection, navigation and option slots of the profile form, and the print-size and image buttons.
// Which view a slot redraws follows from `view`; setting a selector here runs its own slots at once.
#include "core/desktop.h"
#include "core/multigrafik.h"
#include "core/profilegrafik.h"
#include "core/settings.h"
#include "core/tools.h"
#include "profiles/profileform.h"
#include "ui_profileform.h"

#include <QComboBox>
#include <QPixmap>

namespace {
// The selectors are editable: a listed text is selected by its index, so the arrows step from it.
void selectText(QComboBox* box, const QString& text) {
    const int i = box->findText(text);
    if (i >= 0) {
        box->setCurrentIndex(i);
    } else {
        box->setCurrentText(text);
    }
}

} // namespace

bool ProfileForm::checkFormAndRedraw() {
    if (view == QLatin1String("statistics")) {
        drawGrafikStat();
        return true;
    }
    if (ui->comboBoxDate->currentText().isEmpty() || ui->comboBoxDispersion->currentText().isEmpty() ||
        ui->comboBoxPeriod->currentText().isEmpty()) {
        return false;
    }
    if (view == QLatin1String("multi")) {
        drawGrafikMulti();
        return true;
    }
    if (view == QLatin1String("one")) {
        drawGrafikOne();
        return true;
    }
    if (view == QLatin1String("disp")) {
        if (ui->harmonic->text().toInt() > 0) {
            drawGrafikDisp();
            return true;
        }
    }
    return false;
}

void ProfileForm::changedDate(QString date) {
    if (date.isEmpty() || date == QLatin1String(" ")) {
        return;
    }
    const QString oldDm = ui->comboBoxDispersion->currentText();
    QString selected;
    ui->comboBoxDispersion->clear();
    dateDms.clear();
    const auto found = dmsByDate.constFind(date);
    if (found != dmsByDate.cend()) {
        const QVector<QString>& dms = found.value();
        for (int i = 0; i < dms.size(); ++i) {
            if (dms[i].isEmpty()) {
                continue;
            }
            ui->comboBoxDispersion->addItem(dms[i]);
            dateDms.append(dms[i]);
            if (i == 0 || dms[i] == oldDm) {
                selected = dms[i];
            }
        }
    }
    if (!selected.isEmpty()) {
        selectText(ui->comboBoxDispersion, selected);
    }
    if (bestForDate) {
        showBestProfilesForDate();
    }
    checkFormAndRedraw();
}

void ProfileForm::changedDispersion(QString disp) {
    if (disp.isEmpty()) {
        return;
    }
    ui->printDispersion->setText(disp);
    const QString oldPeriod = ui->comboBoxPeriod->currentText();
    QString selected;
    ui->comboBoxPeriod->clear();
    dmPeriods.clear();
    const auto found = periodsByDateDm.constFind(ui->comboBoxDate->currentText() + QLatin1Char('_') + disp);
    if (found != periodsByDateDm.cend()) {
        const QVector<QString>& periods = found.value();
        for (int i = 0; i < periods.size(); ++i) {
            ui->comboBoxPeriod->addItem(periods[i]);
            dmPeriods.append(periods[i]);
            if (i == 0 || periods[i] == oldPeriod) {
                selected = periods[i];
            }
        }
    }
    if (!selected.isEmpty()) {
        selectText(ui->comboBoxPeriod, selected);
    }
    if (view == QLatin1String("one")) {
        checkFormAndRedraw();
    }
}

void ProfileForm::changedPeriod(QString period) {
    const QString date = ui->comboBoxDate->currentText();
    const QString dm = ui->comboBoxDispersion->currentText();
    if (!period.isEmpty() && !date.isEmpty() && !dm.isEmpty()) {
        setHarmonicRange(date, dm, period);
    }
    ui->printPeriod->setText(period);
    checkFormAndRedraw();
}

void ProfileForm::changedHarmonic(int) {
    if (view == QLatin1String("disp")) {
        drawGrafikDisp();
    }
}

void ProfileForm::changedPlosh(QString plosh) {
    int index = 0;
    if (plosh == QLatin1String("N0") || plosh == QLatin1String("N1") || plosh == QLatin1String("N2")) {
        index = 1;
    } else if (plosh == QLatin1String("N4")) {
        index = 2;
    }
    ui->comboBoxTres->setCurrentIndex(index);
    ui->pulsarName->setText(Tools::sourceNameFromPath(dirPath, plosh, true));
}

void ProfileForm::changedPulsarName(QString) {
    checkFormAndRedraw();
}

void ProfileForm::dateNext() {
    if (dates.isEmpty()) {
        return;
    }
    ui->comboBoxDate->setCurrentIndex(
        Tools::stepIndex(ui->comboBoxDate->currentIndex(), dates.size(), true, false));
    checkFormAndRedraw();
}

void ProfileForm::datePre() {
    if (dates.isEmpty()) {
        return;
    }
    ui->comboBoxDate->setCurrentIndex(
        Tools::stepIndex(ui->comboBoxDate->currentIndex(), dates.size(), false, false));
    checkFormAndRedraw();
}

void ProfileForm::dispNext() {
    if (dateDms.isEmpty()) {
        return;
    }
    ui->comboBoxDispersion->setCurrentIndex(
        Tools::stepIndex(ui->comboBoxDispersion->currentIndex(), dateDms.size(), true, true));
    if (view == QLatin1String("one")) {
        checkFormAndRedraw();
    }
}

void ProfileForm::dispPre() {
    if (dateDms.isEmpty()) {
        return;
    }
    ui->comboBoxDispersion->setCurrentIndex(
        Tools::stepIndex(ui->comboBoxDispersion->currentIndex(), dateDms.size(), false, true));
    if (view == QLatin1String("one")) {
        checkFormAndRedraw();
    }
}

void ProfileForm::periodNext() {
    if (dmPeriods.isEmpty()) {
        return;
    }
    ui->comboBoxPeriod->setCurrentIndex(
        Tools::stepIndex(ui->comboBoxPeriod->currentIndex(), dmPeriods.size(), true, true));
    redrawAfterPeriodStep();
}

void ProfileForm::periodPre() {
    if (dmPeriods.isEmpty()) {
        return;
    }
    ui->comboBoxPeriod->setCurrentIndex(
        Tools::stepIndex(ui->comboBoxPeriod->currentIndex(), dmPeriods.size(), false, true));
    redrawAfterPeriodStep();
}

void ProfileForm::redrawAfterPeriodStep() {
    if (view == QLatin1String("statistics")) {
        drawGrafikStat();
    } else if (!(dirMode == QLatin1String("periods") && view == QLatin1String("multi"))) {
        checkFormAndRedraw();
    }
}

void ProfileForm::averageChanged(int radius) {
    const double p = ui->comboBoxPeriod->currentText().toDouble();
    const int m = Tools::doublingsBelowHalf(p, 0.0124928);
    if (m < radius) {
        ui->average->setValue(m);
        Desktop::instance()->warning(this, QStringLiteral("Error"),
                                     QString::number(m) +
                                         QStringLiteral(" - это максимальное усреднение для периода ") +
                                         QString::number(p, 'g', 6));
    }
    checkFormAndRedraw();
}

void ProfileForm::groupBoxForPrintClicked() {
    ui->widgetForPrint->setVisible(ui->groupBoxForPrint->isChecked());
    checkFormAndRedraw();
}

void ProfileForm::clickedShowMax() {
    checkFormAndRedraw();
}

void ProfileForm::clickedForPrintShowMax() {
    if (ui->forPrintShowMax->isChecked()) {
        ui->showMax->setChecked(true);
    }
    checkFormAndRedraw();
}

void ProfileForm::clickedShiftMaxToCenter() {
    maxToCenter = ui->shiftMaxToCenter->isChecked();
    checkFormAndRedraw();
}

void ProfileForm::showProfileDate(QString date, bool showOne) {
    const QString d = Tools::dateDdMmYyToYyyyMmDd(date);
    const QString s = ui->comboBoxStatDisp->currentText();
    const QString q = ui->comboBoxStatPeriod->currentText();
    if (!dates.contains(d)) {
        Desktop::instance()->warning(this, QStringLiteral("Error"),
                                     QStringLiteral("Нет среднего профиля для даты ") + d);
        return;
    }
    selectText(ui->comboBoxDate, d);
    if (dateDms.contains(s)) {
        selectText(ui->comboBoxDispersion, s);
    }
    if (dmPeriods.contains(q)) {
        selectText(ui->comboBoxPeriod, q);
    }
    if (showOne && dateDms.contains(s) && dmPeriods.contains(q)) {
        drawGrafikOne();
    } else {
        drawGrafikMulti();
    }
}

void ProfileForm::changeSize() {
    if (view == QLatin1String("multi")) {
        Desktop::instance()->warning(this, QStringLiteral("Error"),
                                     QStringLiteral("Переведите график в режим одиночного графика"));
        return;
    }
    const int w = ui->printWidth->text().toInt();
    const int h = ui->printHeight->text().toInt();
    if (w <= 0 || h <= 0) {
        Desktop::instance()->warning(this, QStringLiteral("Error"),
                                     QStringLiteral("Установите ненулевой размер окна"));
        return;
    }
    if (!mainWindow || !profileGrafik) {
        return;
    }
    QWidget* top = profileGrafik->window(); // the main window, which holds the work area
    top->resize(w + (top->width() - profileGrafik->width()), h + (top->height() - profileGrafik->height()));
}

void ProfileForm::saveImage() {
    const QString last = Settings::getInstance()->getLastSavePath();
    QString proposed = ui->pulsarName->text() + QLatin1Char('_') + ui->comboBoxDate->currentText() + ".png";
    if (!last.isEmpty()) {
        proposed = last + QLatin1Char('/') + proposed;
    }
    QString file = Desktop::instance()->getSaveFileName(this, QStringLiteral("Image save"), proposed,
                                                        QStringLiteral("Image *.png"));
    if (!file.isEmpty() && !file.endsWith(QLatin1String(".png"))) {
        file += QLatin1String(".png");
    }
    if (file.isEmpty()) {
        Desktop::instance()->warning(this, QStringLiteral("Error"),
                                     QStringLiteral("File name was not selected"));
        return;
    }
    const int w = ui->printWidth->text().toInt();
    const int h = ui->printHeight->text().toInt();
    Settings::getInstance()->setLastSavePath(Tools::dirOfPath(file));

    QWidget* widget = view == QLatin1String("multi") ? static_cast<QWidget*>(multiGrafik) : profileGrafik;
    QPixmap pixmap;
    // A pixmap beyond a gigabyte or the painter's coordinate range is refused before it is allocated:
    // the allocation would fail, or succeed lazily and exhaust memory while painting.
    const bool atShownSize = w <= 0 || h <= 0;
    const bool fits = atShownSize || (w <= 32767 && h <= 32767 && qint64(w) * h <= (qint64(1) << 28));
    if (widget && fits) {
        if (atShownSize) {
            pixmap = widget->grab();
        } else {
            const QSize old = widget->size();
            widget->resize(w, h);
            pixmap = widget->grab();
            widget->resize(old);
        }
    }
    if (pixmap.isNull() || !pixmap.save(file)) {
        Desktop::instance()->warning(this, QStringLiteral("Error"),
                                     QStringLiteral("Can't save image: ") + file);
    }
}
