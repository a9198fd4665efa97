#include "directory/views/fourierform.h"

#include "directory/calc/pulselist.h"
#include "directory/views/fourierformrules.h"
#include "directory/views/fouriertable.h"
#include "ui_fourierform.h"

#include <QBrush>
#include <QCheckBox>
#include <QColor>
#include <QDebug>
#include <QFile>
#include <QRegularExpression>
#include <QTimer>

QCheckBox* FourierForm::rowCheckBox(int row) const {
    return table ? table->checkBoxOf(row) : nullptr;
}

void FourierForm::setRowChecked(int row, bool checked) {
    if (QCheckBox* box = rowCheckBox(row)) {
        box->setChecked(checked);
    }
}

QVector<bool> FourierForm::readTableChecks(int rows) const {
    QVector<bool> states;
    for (int i = 0; i < rows; ++i) {
        const QCheckBox* box = rowCheckBox(i);
        states << (box && box->isChecked());
    }
    return states;
}

void FourierForm::redrawTable() {
    if (!valid) {
        return;
    }
    if (ui->tableFromFile->isChecked()) {
        redrawTable(QStringLiteral("datesFromFile"));
    } else {
        redrawTable(isSearch ? QStringLiteral("search") : QStringLiteral("cachesAndDates"));
    }
}

void FourierForm::redrawTable(QString tableType) {
    // The checks of the table being left are what later runs use while another kind is shown.
    if (table && table->tableType == QLatin1String("cachesAndDates")) {
        rowChecked = readTableChecks(tableRows.size());
    } else if (table && table->tableType == QLatin1String("harmonics3sigma")) {
        harmonicChecked = readTableChecks(harmonics3sigma.size());
    }
    if (tableType == QLatin1String("cachesAndDates")) {
        tableRows.clear();
        rowChecked.clear();
        if (!ui->checkBoxOthers->isChecked() && !ui->checkBoxYears->isChecked() &&
            !ui->checkBoxMonthes->isChecked() && !ui->checkBoxDays->isChecked()) {
            ui->checkBoxOthers->setChecked(true);
        }
        const QList<QPair<QCheckBox*, QString>> kinds = {
            {ui->checkBoxOthers, QStringLiteral("cacheOthers")},
            {ui->checkBoxYears, QStringLiteral("cacheYears")},
            {ui->checkBoxMonthes, QStringLiteral("cacheMonthes")},
            {ui->checkBoxDays, QStringLiteral("days")}};
        for (const auto& kind : kinds) {
            if (!kind.first->isChecked()) {
                continue;
            }
            for (const QString& name : allRows) {
                if (rowKinds.value(name) == kind.second) {
                    tableRows << name;
                    rowChecked << false;
                }
            }
        }
    } else if (tableType == QLatin1String("datesFromFile")) {
        if (needPnthrRead && !readPnthrList()) {
            return;
        }
    } else if (tableType == QLatin1String("harmonics3sigma")) {
        if (need3sigmaRead && !readHarmonics3sigma()) {
            return;
        }
    }
    redrawTableWidget(tableType);
}

void FourierForm::redrawTableWidget(QString tableType) {
    FourierTable* built = nullptr;
    if (tableType == QLatin1String("search") || tableType == QLatin1String("cachesAndDates")) {
        built = new FourierTable(tableRows, rowKinds, tableType, this);
    } else if (tableType == QLatin1String("datesFromFile")) {
        built = new FourierTable(pnthrRows, {}, tableType, this);
    } else if (tableType == QLatin1String("harmonics3sigma")) {
        QStringList rows;
        QMap<QString, QString> kinds;
        for (int h : harmonics3sigma) {
            const QString name = QString::number(h);
            rows << name;
            kinds.insert(name, int(harmonicWithNulls.value(h, false)) == withNulls ? QStringLiteral("green")
                                                                                   : QStringLiteral("red"));
        }
        built = new FourierTable(rows, kinds, tableType, this);
    }
    if (built) {
        table = built;
        table->setContentsMargins(0, 0, 10, 0);
        connectTable();
    }
    placeWidgets();
}

void FourierForm::clearTable() {
    if (!table) {
        return;
    }
    QVector<bool> states;
    for (int i = 0; i < table->rowCount(); ++i) {
        setRowChecked(i, false);
        states << false;
    }
    if (table->tableType == QLatin1String("harmonics3sigma")) {
        harmonicChecked = states;
    } else if (table->tableType == QLatin1String("cachesAndDates")) {
        rowChecked = states;
    }
}

void FourierForm::checkTable() {
    if (!table) {
        return;
    }
    const bool threeSigma = table->tableType == QLatin1String("harmonics3sigma");
    QVector<bool> states;
    for (int i = 0; i < table->rowCount(); ++i) {
        bool checked = true;
        // Rows of 3-sigma harmonics pair with the harmonics read only where both exist.
        if (threeSigma && !ui->checkBoxSumWithNulls->isChecked() && i < harmonics3sigma.size()) {
            checked = int(harmonicWithNulls.value(harmonics3sigma.at(i), false)) == withNulls;
        }
        setRowChecked(i, checked);
        states << checked;
    }
    if (threeSigma) {
        harmonicChecked = states;
    } else if (table->tableType == QLatin1String("cachesAndDates")) {
        rowChecked = states;
    }
}

void FourierForm::changedTableCheckBox() {
    if (isFfa) {
        mapPoints.clear();
        // The points no longer belong to the map file named last: the next map reads it again.
        lastMapFile.clear();
    }
}

void FourierForm::colourHarmonicRows() {
    if (!table) {
        return;
    }
    const int rows = std::min(table->rowCount(), int(harmonics3sigma.size()));
    for (int i = 0; i < rows; ++i) {
        const bool green = ui->checkBoxSumWithNulls->isChecked() ||
                           int(harmonicWithNulls.value(harmonics3sigma.at(i), false)) == withNulls;
        if (QTableWidgetItem* cell = table->item(i, table->columnCount() - 1)) {
            cell->setBackground(
                QBrush(QColor(green ? QStringLiteral("#ccffcc") : QStringLiteral("#ffcccc"))));
        }
    }
}

void FourierForm::clickedSumWithNulls() {
    if (ui->sum3sigma->isChecked()) {
        colourHarmonicRows();
    }
}

void FourierForm::changedAverageWithNull(QString text) {
    if (goingBack) {
        return;
    }
    withNulls = text.toInt();
    if (!ui->sum3sigma->isChecked()) {
        const int h = ui->harmonicNumber->text().toInt();
        ui->harmonicNumber->setText(QString::number(withNulls == 1 ? 2 * h : h / 2));
        redraw();
        return;
    }
    colourHarmonicRows();
    if (!ui->checkBoxSumWithNulls->isChecked()) {
        checkTable();
    }
}

void FourierForm::selectInTableSearch() {
    const QString m = FourierFormRules::searchModule(ui->module->text(), nCode);
    const QString r = ui->ray->text();
    const QString h = ui->comboBoxHour->currentText();
    const QString s = ui->comboBoxMinSec->currentText();
    if (m == QLatin1String("0") || m == QLatin1String("00")) {
        warn(QStringLiteral("Установите модуль отличный от нуля!"));
        return;
    }
    if (r == QLatin1String("0")) {
        warn(QStringLiteral("Установите луч отличный от нуля!"));
        return;
    }
    if (h == QLatin1String("*")) {
        warn(QStringLiteral("Установите час отличный от *!"));
        return;
    }
    if (s == QLatin1String("*")) {
        warn(QStringLiteral("Установите минуту и секунду, отличную от *!"));
        return;
    }
    const QString name = FourierFormRules::searchDirName(h, s, m, r);
    const int row = int(tableRows.indexOf(name));
    if (row >= 0 && table && row < table->rowCount()) {
        table->selectRow(row);
        table->scrollToItem(table->item(row, 0));
        QTimer::singleShot(100, table, [t = table]() { t->setFocus(); });
    } else if (allRows.contains(name)) {
        warn(QStringLiteral("В таблице не видна строка с этими данными!\nПерестройте таблицу, установив "
                            "галки 'table', а затем отметьте нужную строку!"));
    } else {
        warn(QStringLiteral("Данных с выбранными параметрами нет в загруженной директории!\n\n") + name);
    }
}

void FourierForm::changeTableSearch() {
    FourierFormRules::SearchFilter filter;
    filter.byModule = ui->moduleTable->isChecked();
    filter.byRay = ui->rayTable->isChecked();
    filter.byHour = ui->hourTable->isChecked();
    filter.byMinSec = ui->minSecTable->isChecked();
    filter.module = FourierFormRules::searchModule(ui->module->text(), nCode);
    filter.ray = ui->ray->text();
    filter.hour = ui->comboBoxHour->currentText();
    filter.minSec = ui->comboBoxMinSec->currentText();
    filter.n4 = nCode == QLatin1String("N4");
    tableRows = FourierFormRules::filterSearchRows(allRows, filter);
    redrawTable();
}

void FourierForm::clickedTableItem1(QString text) {
    static const QRegularExpression name(QStringLiteral("(\\d\\d)(\\d\\d)(\\d\\d)_m(\\d{1,2})_r(\\d)"));
    const QRegularExpressionMatch m = name.match(text);
    if (!m.hasMatch()) {
        return;
    }
    ui->module->setValue(m.captured(4).toInt());
    ui->ray->setValue(m.captured(5).toInt());
    ui->comboBoxMinSec->setCurrentText(QStringLiteral("%1:%2").arg(m.captured(2), m.captured(3)));
    ui->comboBoxHour->setCurrentText(m.captured(1));
    selectedDir = searchDirPaths.value(text);
    setPulsarNameFromBeam();
    redraw();
}

void FourierForm::changeFormByTable(QList<QTableWidgetItem*> items) {
    // A pulse line with fewer than two values after its descriptor names no harmonic.
    if (items.size() < 5 || !items.at(2) || !items.at(3) || !items.at(4)) {
        return;
    }
    int shift = 0;
    int nulls = 0;
    int averages = 0;
    if (!FourierFormRules::parseDescriptor(items.at(2)->text(), shift, nulls, averages)) {
        return;
    }
    // The change slots of these inputs keep their other effects but leave the one drawing to the end.
    ++heldRedraws;
    ui->comboBoxWithNull->setCurrentText(nulls == 1 ? QStringLiteral("1") : QStringLiteral("0"));
    ui->comboBoxDispersion->setCurrentText(items.at(3)->text());
    ui->firstPointShift->setValue(shift);
    ui->averageCount->setValue(averages);
    ui->harmonicNumber->setText(items.at(4)->text());
    ui->fourier->setChecked(true);
    --heldRedraws;
    redraw();
}

bool FourierForm::readPnthrList() {
    const QString path = PulseList::fileName(dir);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qDebug().noquote() << "ERROR! FourierForm::readPnthrList(): Can't open file " + path;
        warn(QStringLiteral("Нет файла list_in_files.txt в директории пульсара!"));
        return false;
    }
    pnthrRows = PulseList::rows(file).toList();
    if (pnthrRows.size() <= 1) {
        warn(QStringLiteral("В list_in_files.txt не найдено ни одного pnthr-файла"));
        return false;
    }
    return true;
}
