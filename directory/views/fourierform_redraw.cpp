#include "directory/views/fourierform.h"

#include "core/busyguard.h"
#include "core/calculationholder.h"
#include "core/tools.h"
#include "directory/calc/fouriercalculate.h"
#include "directory/views/fourierformrules.h"
#include "directory/views/fouriergrafik.h"
#include "directory/views/fouriergrafikinfo.h"
#include "directory/views/fouriertable.h"
#include "ui_fourierform.h"

#include <QCheckBox>
#include <QFile>
#include <QProgressBar>

#include <algorithm>

namespace {

struct GraphType {
    QString type;
    QString title;
    QString captionY;
};

GraphType graphTypeOf(const Ui::FourierForm& ui) {
    const QString dmAxis = QStringLiteral("DM, pc/cm^3");
    const QList<QPair<QRadioButton*, GraphType>> types = {
        {ui.fourier, {QStringLiteral("fourier"), QStringLiteral("S/N of harm"), QString()}},
        {ui.harmDispOne, {QStringLiteral("harmDispOne"), QStringLiteral("S/N from DM"), QString()}},
        {ui.harmDispAverage, {QStringLiteral("harmDispAverage"), QStringLiteral("S/N from DM"), QString()}},
        {ui.harmDispFirstPoint,
         {QStringLiteral("harmDispFirstPoint"), QStringLiteral("S/N from DM"), QString()}},
        {ui.map, {QStringLiteral("map"), QStringLiteral("Period, s"), dmAxis}},
        {ui.sum3sigma, {QStringLiteral("sum3sigma"), QString(), QString()}},
        {ui.ffa, {QStringLiteral("ffa"), QStringLiteral("S/N from period, s"), QString()}},
        {ui.ffaSnrDisp, {QStringLiteral("ffaSnrDisp"), QStringLiteral("S/N from DM, pc/cm^3"), QString()}},
        {ui.ffaSnrDispFirstPoint,
         {QStringLiteral("ffaSnrDispFirstPoint"), QStringLiteral("S/N from DM, pc/cm^3"), QString()}},
        {ui.ffaSnrDispAverages,
         {QStringLiteral("ffaSnrDispAverages"), QStringLiteral("S/N from DM, pc/cm^3"), QString()}},
        {ui.ffaMap, {QStringLiteral("ffaMap"), QStringLiteral("Period, s"), dmAxis}},
    };
    for (const auto& t : types) {
        if (t.first->isChecked()) {
            return t.second;
        }
    }
    return {};
}

} // namespace

void FourierForm::redraw() {
    if (!valid || heldRedraws > 0 || BusyGuard::busy()) {
        return;
    }
    const int run = ++generation;

    // 1. Inputs; "all" is -100 for the shift and -1 for the averagings and with-nulls.
    const int dispersion = ui->comboBoxDispersion->currentText().toInt();
    int shift = 0;
    if (!isSearch) {
        shift = ui->firstPointShift->value() == -4 ? -100 : ui->firstPointShift->value();
    }
    int averages = ui->averageCount->value();
    withNulls = -1;
    if (ui->comboBoxWithNull->currentText() != QLatin1String("*")) {
        withNulls = ui->comboBoxWithNull->currentText().toInt();
    }
    const int harmonic = ui->harmonicNumber->text().toInt();

    // 2. Graph type, and the X window bounds that belong to its axis.
    const GraphType graph = graphTypeOf(*ui);
    const QString& type = graph.type;
    takeBoundsOf(type);
    const double maxX = ui->showMaxX->text().toDouble();
    const double minX = ui->showMinX->text().toDouble();
    const bool threeSigma = type == QLatin1String("sum3sigma");
    if (threeSigma && need3sigmaRead) {
        readHarmonics3sigma();
    }

    // 3. Checked rows, read only from a table of the matching kind: the cache/day checks survive while
    // the file or the 3-sigma table is shown, and a row without a cell counts as unchecked.
    if (!isSearch) {
        QVector<bool>& states = threeSigma ? harmonicChecked : rowChecked;
        const int rows = threeSigma ? harmonics3sigma.size() : tableRows.size();
        const QString kind =
            threeSigma ? QStringLiteral("harmonics3sigma") : QStringLiteral("cachesAndDates");
        if (table && table->tableType == kind) {
            states = readTableChecks(rows);
        }
        states.resize(rows);
        const int checked = int(std::count(states.cbegin(), states.cend(), true));
        if (checked > 1 && type == QLatin1String("map")) {
            warn(QStringLiteral("Для карты нужно отметить только один кеш"));
            return;
        }
        if (checked == 0) {
            warn(threeSigma ? QStringLiteral("Отметьте хотя бы одну гармонику в таблице")
                            : QStringLiteral("Отметьте хотя бы один день или кеш в таблице"));
            return;
        }
    }

    // 4.
    if (type.isEmpty()) {
        warn(QStringLiteral("Выберите тип графика в блоке Type of graph"));
        return;
    }

    // 5. "All" choices the type cannot use, resolved through the widgets; their change slots may run a
    // nested redraw, which then draws in place of this one.
    const bool oneCurve = type == QLatin1String("fourier") || type == QLatin1String("harmDispOne");
    const bool keepsAverages = type == QLatin1String("harmDispAverage");
    const bool keepsShifts = type == QLatin1String("harmDispFirstPoint");
    if (oneCurve || keepsAverages || keepsShifts) {
        if (shift == -100 && !keepsShifts) {
            shift = 0;
            ui->firstPointShift->setValue(0);
        }
        if (averages == -1 && !keepsAverages) {
            averages = 0;
            ui->averageCount->setValue(0);
        }
        if (withNulls == -1) {
            withNulls = 1;
            ui->comboBoxWithNull->setCurrentText(QStringLiteral("1"));
        }
    }
    if (run != generation) {
        return;
    }

    // 6. Harmonics map file.
    const bool isMapType = type == QLatin1String("map") || type == QLatin1String("ffaMap");
    if (isMapType) {
        if (isSearch && selectedDir.isEmpty()) {
            showFailure(QStringLiteral("Click on string in the table!"));
            return;
        }
        QString fileName;
        if (isSearch) {
            fileName = FourierFormRules::searchMapFile(selectedDir, type, nCode, asIs);
        } else {
            const int first = int(rowChecked.indexOf(true));
            if (first >= 0 && first < tableRows.size()) {
                const QString& row = tableRows.at(first);
                const QStringList places = rowLocations.value(row);
                fileName = FourierFormRules::sumMapFile(dir, row,
                                                        places.isEmpty() ? QString() : places.first(), asIs);
            }
        }
        if (!fileName.isEmpty() && fileName != lastMapFile) {
            mapPoints.clear();
            const QString error = readHarmonicsMap(fileName);
            if (!error.isEmpty()) {
                warn(QStringLiteral("Нет карты:\n%1").arg(fileName));
                return;
            }
            lastMapFile = fileName;
        }
    }

    // 7. A new calculation with the inputs.
    auto* calc = new FourierCalculate();
    auto holder = std::make_shared<CalculationHolder>(calc);
    calc->isSearch = isSearch;
    const double tres = ui->comboBoxTresolution->currentText().toDouble();
    calc->tresolution = tres;
    calc->dir = dir;
    calc->selectedDir = selectedDir;
    calc->plosh = nCode;
    calc->module = ui->module->text().toInt();
    calc->ray = ui->ray->text().toInt();
    calc->dispersion = dispersion;
    calc->dispersions = dispersions;
    calc->shift = shift;
    calc->averages = averages;
    calc->withNulls = withNulls;
    calc->harmonic = harmonic;
    calc->grafikType = type;
    calc->tableRows = tableRows.toVector();
    calc->rowChecked = threeSigma ? harmonicChecked : rowChecked;
    calc->rowLocations = rowLocations;
    calc->showNoise = ui->showNoise->isChecked();
    calc->writeToTestFiles = ui->writeToTestFiles->isChecked();
    calc->minSnr = ui->minSnr->text().toDouble();
    calc->showSigmaLevel = ui->showSigmaLevel->text().toDouble();
    calc->forPrint = ui->forPrint->isChecked();
    if (nCode == QLatin1String("N4")) {
        calc->sumAlfa = ui->sumAlfa->text().toInt();
    }
    if (type == QLatin1String("fourier")) {
        calc->asIs = ui->asIs->isChecked();
    } else if (type.startsWith(QLatin1String("harmDisp"))) {
        calc->showDispersion = ui->showDispersion->text().toDouble();
        if (type == QLatin1String("harmDispFirstPoint")) {
            calc->raTime = raTime;
        }
    } else if (threeSigma) {
        calc->harmonics3sigma = harmonics3sigma;
        calc->sum3sigma = sum3sigma;
        calc->sumFlags.insert(QStringLiteral("averages"), ui->checkBoxSumAverages->isChecked());
        calc->sumFlags.insert(QStringLiteral("withNulls"), ui->checkBoxSumWithNulls->isChecked());
        calc->sumFlags.insert(QStringLiteral("shifts"), ui->checkBoxSumShifts->isChecked());
    } else if (type == QLatin1String("map")) {
        calc->period = ui->period->text().toDouble();
        calc->showDispersion = ui->showDispersion->text().toDouble();
        calc->mapPoints = &mapPoints;
    } else if (isFfa) {
        calc->showSigma = ui->showSigma->isChecked();
        calc->downToNull = ui->downToNull->isChecked();
        calc->nullProc = ui->nullProc->text().toInt();
        calc->sigmaProc = ui->sigmaProc->text().toInt();
        calc->period = ui->period->text().toDouble();
        calc->showDispersion = ui->showDispersion->text().toDouble();
        calc->blankPoints = ui->blankPoints->text().toInt();
        calc->showApproxFFA = ui->showApproxFFA->isChecked();
        calc->showMinusApprox = ui->showMinusApprox->isChecked();
        calc->approxLen = ui->approxLen->text().toInt();
        if (ui->ffaNoisePolinom->isChecked()) {
            calc->ffaNoise = QStringLiteral("polinom");
        } else if (ui->ffaNoiseMedian->isChecked()) {
            calc->ffaNoise = QStringLiteral("median");
        }
        calc->asIs = ui->ffaAsIs->isChecked();
        calc->xMax = maxX;
        calc->xMin = minX;
        if (type == QLatin1String("ffaMap")) {
            calc->ffaMapCreate = ui->ffaMapCreate->isChecked();
            calc->mapPoints = &mapPoints;
            calc->ffaMapLog = ui->ffaMapLog->isChecked();
        }
        ui->ffaMapCreate->setChecked(false);
    }
    if (ui->showApprox->isChecked()) {
        calc->showCurve = false;
        calc->showApprox = true;
    } else if (ui->showCurve->isChecked()) {
        calc->showCurve = true;
        calc->showApprox = false;
    } else if (ui->showBoth->isChecked()) {
        calc->showCurve = true;
        calc->showApprox = true;
    }

    // 8. One run, not re-entered: menus and this slot return while it goes on.
    bool ok = false;
    {
        BusyGuard guard;
        if (progressBar) {
            progressBar->show();
            connect(calc, &FourierCalculate::progress, progressBar, &QProgressBar::setValue);
        }
        ++calculations;
        ok = calc->calculate();
    }

    // 9. A failed run frees its object here; the panel and the old curves stay.
    if (!ok) {
        showFailure(calc->errors.isEmpty() ? QStringLiteral("Calculation error!") : calc->errors);
        return;
    }
    showResult(holder, graph.title, graph.captionY, maxX);
}

void FourierForm::takeBoundsOf(const QString& grafikType) {
    const QString quantity = FourierFormRules::xQuantity(grafikType);
    if (quantity.isEmpty() || quantity == boundsQuantity) {
        return;
    }
    // Before the first graph the fields hold what the user typed for it.
    if (!boundsQuantity.isEmpty()) {
        otherBounds.insert(boundsQuantity, {ui->showMinX->text(), ui->showMaxX->text()});
        const QString none = QStringLiteral("-1");
        const QPair<QString, QString> bounds = otherBounds.value(quantity, {none, none});
        showBounds(bounds.first, bounds.second);
    }
    boundsQuantity = quantity;
}

void FourierForm::showBounds(const QString& minX, const QString& maxX) {
    ui->showMinX->setText(minX);
    ui->showMaxX->setText(maxX);
    // A bound longer than its narrow field shows its leading digits, not its last ones.
    ui->showMinX->setCursorPosition(0);
    ui->showMaxX->setCursorPosition(0);
}

void FourierForm::showFailure(const QString& errors) {
    grafik->hintText = errors;
    if (progressBar) {
        progressBar->hide();
    }
    grafik->hintShown = true;
    grafik->updateRange();
}

void FourierForm::showResult(const std::shared_ptr<CalculationHolder>& holder, const QString& title,
                             const QString& captionY, double maxX) {
    FourierCalculate* calc = holder->get<FourierCalculate>();
    const QString& type = calc->grafikType;
    if (progressBar) {
        progressBar->hide();
    }
    // The FFA window the run settled on becomes the next run's input. A bound rounded to the decimals of
    // its size would cut its own first or last period at the next press: it gets as many as it needs.
    if (isFfa) {
        auto bound = [](double x) {
            int decimals = x > 0 ? Tools::decimalsFor(x) : 2;
            QString text = QString::number(x, 'f', decimals);
            while (decimals < 17 && text.toDouble() != x) {
                text = QString::number(x, 'f', ++decimals);
            }
            return text;
        };
        showBounds(bound(calc->xMin), bound(calc->xMax));
    }

    grafik->hintShown = false;
    grafik->arrGrafikY = calc->arrGrafikY;
    grafik->points3sigma = calc->points3sigma;
    grafik->arrGrafikX = calc->arrGrafikX;
    grafik->arrGridY = calc->arrGridY;
    grafik->visible = calc->visible;
    grafik->markers = calc->markers;
    grafik->markersX = calc->markersX;
    grafik->markersY = calc->markersY;
    grafik->labelsX1 = calc->labelsX1;
    grafik->labelsX2 = calc->labelsX2;
    grafik->labelsX3 = calc->labelsX3;
    grafik->labelsMulti1 = calc->labelsMulti1;
    grafik->labelsMulti2 = calc->labelsMulti2;
    grafik->showGrid = false;
    grafik->grafikType = type;
    grafik->plosh = nCode;
    grafik->forPrint = ui->forPrint->isChecked();
    grafik->pulsarName = ui->pulsarName->text();
    grafik->title = title;
    grafik->captionY = captionY;

    const bool isMapType = type == QLatin1String("map") || type == QLatin1String("ffaMap");
    const double level = ui->showSigmaLevel->text().toDouble();
    const double period = ui->period->text().toDouble();
    const double dm = ui->showDispersion->text().toDouble();
    const QString harmonicNote =
        QStringLiteral("harmonic=%1, period=%2 s").arg(ui->harmonicNumber->text(), ui->period->text());
    QVector<GrafikNote> notes;
    auto note = [&notes](const QString& text, double x, double y, const QString& hAlign,
                         const QString& vAlign) {
        GrafikNote n;
        n.text = text;
        n.dataX = x;
        n.dataY = y;
        n.hAlign = hAlign;
        n.vAlign = vAlign;
        notes << n;
    };
    const QString left = QStringLiteral("left");
    const QString bottom = QStringLiteral("bottom");
    auto sigmaNote = [&]() {
        if (level > 0) {
            note(QStringLiteral("S/N = %1").arg(ui->showSigmaLevel->text()), 0, level, left, bottom);
        }
    };
    if (type == QLatin1String("fourier")) {
        grafik->grafikMode = 0;
        grafik->precisionY = 1;
        sigmaNote();
        if (period > 0) {
            const int h = ui->harmonicNumber->text().toInt();
            const QVector<double> first = calc->arrGrafikY.value(0);
            const double y = h > 0 && h < first.size() ? first.at(h) : 0;
            note(harmonicNote, h, y, left, QStringLiteral("middle"));
        }
    } else if (type == QLatin1String("harmDispOne")) {
        grafik->grafikMode = 0;
        grafik->precisionY = 1;
        sigmaNote();
        if (dm > 0) {
            note(QStringLiteral("DM=%1 pc/cm^3").arg(ui->showDispersion->text()), dm, 0, left, bottom);
        }
        note(harmonicNote, 0, 0, QStringLiteral("right"), QStringLiteral("top"));
    } else if (type == QLatin1String("harmDispAverage") || type == QLatin1String("harmDispFirstPoint")) {
        grafik->grafikMode = 0;
        grafik->precisionY = 1;
    } else if (isMapType) {
        grafik->grafikMode = type == QLatin1String("map") || ui->ffaMapLog->isChecked() ? 1 : 3;
        filterMapPoints();
        grafik->mapPoints = &mapPoints;
        grafik->circlePlus = ui->circlePlus->text().toInt();
        grafik->stopIncreasePeriod =
            ui->stopIncreasePeriod->text().isEmpty() ? -1.0f : ui->stopIncreasePeriod->text().toFloat();
        if (period > 0) {
            note(QStringLiteral("period = %1 s").arg(ui->period->text()), period, 1.1, left, bottom);
        }
        if (dm > 0) {
            note(QStringLiteral("DM = %1 pc/cm^3").arg(ui->showDispersion->text()), 0, dm, left, bottom);
        }
    } else if (type == QLatin1String("sum3sigma")) {
        grafik->grafikMode = 2;
    } else if (type == QLatin1String("ffa")) {
        grafik->grafikMode = 0;
        grafik->precisionY = 1;
        grafik->showGrid = !ui->forPrint->isChecked();
        sigmaNote();
        if (period > 0) {
            note(QStringLiteral("period=%1 s").arg(ui->period->text()), period, 0, left, bottom);
        }
    } else if (type == QLatin1String("ffaSnrDisp")) {
        grafik->grafikMode = 0;
        grafik->precisionY = 1;
        grafik->showGrid = !ui->forPrint->isChecked();
        sigmaNote();
        if (dm > 0) {
            note(QStringLiteral("DM=%1 pc/cm^3").arg(ui->showDispersion->text()), dm, 0, left, bottom);
        }
    } else {
        grafik->grafikMode = 0;
    }
    grafik->notes = notes;

    // Points to draw: "ffa" keeps the X cut-off of the previous graph.
    const bool windowCuts = maxX > 0;
    if (type == QLatin1String("ffa")) {
        grafik->points = calc->curvePoints;
    } else if (!calc->arrGrafikX.isEmpty()) {
        grafik->points = 0;
        const double last = calc->arrGrafikX.last();
        grafik->xLimit = windowCuts && maxX < last ? maxX : last;
    } else {
        int points = calc->curvePoints;
        if (windowCuts && maxX < points) {
            points = int(maxX);
        }
        grafik->points = points;
        grafik->xLimit = 0;
    }
    grafik->updateRange();

    // A new panel keeps the run's calculation alive for its own views.
    grafikInfo = new FourierGrafikInfo(this);
    grafikInfo->setObjectName(QStringLiteral("fourierGrafikInfo"));
    connect(grafikInfo, &FourierGrafikInfo::signalClickedOnHarmonic, this,
            &FourierForm::clickedOnHarmonicLink);
    // The panel owns the run: the holder, and with it the calculation, goes when the panel does.
    connect(grafikInfo, &QObject::destroyed, grafikInfo, [holder]() {});
    grafikInfo->calc = calc;
    grafikInfo->grafik = grafik;
    grafikInfo->tres = ui->comboBoxTresolution->currentText().toDouble();
    grafikInfo->grafikType = type;
    grafikInfo->forPrint = ui->forPrint->isChecked();
    grafikInfo->plosh = nCode;
    grafikInfo->withNulls = withNulls != 0;
    grafikInfo->harmonic = ui->harmonicNumber->text().toInt();
    grafikInfo->dispersion = float(calc->dispersion);
    grafikInfo->minSnr = ui->minSnr->text().toDouble();
    grafikInfo->circlePlus = ui->circlePlus->text().toInt();
    grafikInfo->maxPoints = calc->curvePoints;
    int panelPoints = calc->curvePoints;
    if ((type == QLatin1String("fourier") || type == QLatin1String("ffa")) && windowCuts &&
        maxX < panelPoints) {
        panelPoints = int(maxX);
    }
    grafikInfo->points = panelPoints;
    if (isMapType) {
        grafikInfo->mapPoints = &mapPoints;
    }
    if (type == QLatin1String("sum3sigma")) {
        grafikInfo->dir = dir;
    }
    if (!isMapType && type != QLatin1String("sum3sigma")) {
        grafikInfo->summaryText = QStringLiteral("Number of summed days: %1\nPoints in array: %2\n")
                                      .arg(calc->days)
                                      .arg(calc->curvePoints);
    }
    grafikInfo->names = calc->names;
    grafikInfo->text = calc->text;
    grafikInfo->createWidgets();
    placeWidgets();
}

void FourierForm::changedAction() {
    if (!valid) {
        return;
    }
    ui->groupBoxYears->setVisible(!isSearch);
    ui->harmDispFirstPoint->setVisible(!isSearch);
    ui->averageCount->show();
    ui->averageCountLabel->show();
    for (QWidget* w : {static_cast<QWidget*>(ui->groupBox3sigma), static_cast<QWidget*>(ui->showNoise),
                       static_cast<QWidget*>(ui->showCurve), static_cast<QWidget*>(ui->showApprox),
                       static_cast<QWidget*>(ui->showBoth)}) {
        w->hide();
    }
    if (ui->fourier->isChecked()) {
        ui->showNoise->show();
    } else if (ui->harmDispOne->isChecked()) {
        ui->showCurve->show();
        ui->showApprox->show();
        ui->showBoth->show();
    } else if (!ui->harmDispAverage->isChecked() && !ui->harmDispFirstPoint->isChecked()) {
        if (ui->map->isChecked()) {
            ui->averageCount->setValue(-1);
        } else if (ui->sum3sigma->isChecked()) {
            ui->groupBox3sigma->show();
            ui->groupBoxYears->hide();
        }
    }
    ui->buttonBack->setVisible(canGoBack);
    if (ui->sum3sigma->isChecked()) {
        if (need3sigmaRead) {
            readHarmonics3sigma();
        }
        if (!harmonics3sigma.isEmpty()) {
            redrawTable(QStringLiteral("harmonics3sigma"));
            tableKind = QStringLiteral("harmonics3sigma");
        }
    } else if (tableKind == QLatin1String("harmonics3sigma")) {
        if (!allRows.isEmpty()) {
            ui->groupBoxYears->show();
            ui->groupBox3sigma->hide();
            redrawTable();
            tableKind = isSearch ? QStringLiteral("search") : QStringLiteral("cachesAndDates");
        } else {
            warn(QStringLiteral("Нет ни одного кеша или дня в этой директории"));
        }
    }
    redraw();
}
