#include "directory/views/fourierform.h"

#include "core/busyguard.h"
#include "core/calculationholder.h"
#include "core/formcolumn.h"
#include "core/settings.h"
#include "core/workarea.h"
#include "directory/calc/resultdirscan.h"
#include "directory/views/fourierformrules.h"
#include "directory/views/fouriergrafik.h"
#include "directory/views/fouriergrafikinfo.h"
#include "directory/views/fouriertable.h"
#include "ui_fourierform.h"

#include <QDate>
#include <QHBoxLayout>
#include <QListView>
#include <QProgressBar>

FourierForm::FourierForm(QString dir, bool isFfa, bool isMap, bool isSearch, QWidget* parent)
    : QWidget(parent), dir(dir), isFfa(isFfa), isSearch(isSearch), ui(new Ui::FourierForm) {
    currentYear = QDate::currentDate().year();
    Settings* settings = Settings::getInstance();
    module = settings->getFourierModule();
    ray = settings->getFourierRay();
    for (int year = firstYear; year <= currentYear; ++year) {
        yearStates[year] = -1;
    }
    nCode = FourierFormRules::siteCode(dir);
    dispersions = FourierFormRules::dmListFor(nCode, isSearch, isFfa);

    progressBar = settings->getProgressBar();
    if (progressBar) {
        progressBar->show();
        connect(this, &FourierForm::progress, progressBar, &QProgressBar::setValue);
    }
    const bool scanned = scan();
    if (progressBar) {
        progressBar->hide();
    }
    if (!scanned) {
        warn(isSearch ? QStringLiteral("Bad directory of search results!")
                      : QStringLiteral("Bad directory of sum results!"));
        hide();
        return;
    }

    ui->setupUi(this);
    // The ranges come before the remembered values, so an N4 module above 6 survives the restore.
    if (isSearch && nCode == QLatin1String("N4")) {
        ui->module->setMaximum(20);
    }
    ui->module->setValue(module);
    ui->ray->setValue(ray);
    ui->period->setText(settings->getPeriod());
    ui->harmonicNumber->setText(QString::number(settings->getHarmonicNumber()));
    ui->showDispersion->setText(settings->getShowDispersion());
    ui->averageCount->setValue(settings->getAverageCount());
    ui->comboBoxWithNull->setCurrentText(QStringLiteral("1"));

    setupCommon();
    if (isSearch) {
        setupSearchMode();
    } else {
        setupSumMode();
    }
    FormColumn::fit(this, ui->scrollArea);
    const int remembered = ui->comboBoxDispersion->findText(QString::number(settings->getDispersion()));
    if (remembered >= 0) {
        ui->comboBoxDispersion->setCurrentIndex(remembered);
    }
    mainWindow = WorkArea::widget() ? WorkArea::widget()->window() : nullptr;

    tableKind = isSearch ? QStringLiteral("search") : QStringLiteral("cachesAndDates");
    table = new FourierTable(tableRows, rowKinds, tableKind, this);
    table->setContentsMargins(0, 0, 10, 0);
    grafik = new FourierGrafik(this);
    grafik->setObjectName(QStringLiteral("fourierGrafik"));
    grafik->mainWindow = mainWindow;
    grafik->showStartHint();
    grafikInfo = new FourierGrafikInfo(this);
    grafikInfo->grafik = grafik;
    grafikInfo->createWidgets();
    placeWidgets();
    valid = true;

    runStartAction(isMap);
    connectInputs();
}

FourierForm::~FourierForm() {
    delete ui;
}

bool FourierForm::scan() {
    // The failure warning is modal and runs the event loop: nothing else may start meanwhile.
    BusyGuard guard;
    ResultDirScan found;
    connect(&found, &ResultDirScan::progress, this, &FourierForm::progress);
    found.yearStates = yearStates;
    found.module = module;
    found.ray = ray;
    const bool ok = isSearch ? found.readSearchDir(dir, nCode) : found.readSumDir(dir);
    if (!ok) {
        warn(dir + QStringLiteral("does not exist!"));
        return false;
    }
    pulsarName = found.pulsarName;
    if (!isSearch) {
        raTime = found.raTime;
        module = found.module;
        ray = found.ray;
        yearStates = found.yearStates;
    }
    allRows = found.allRows;
    tableRows = found.tableRows;
    rowChecked = QVector<bool>(tableRows.size(), false);
    rowKinds = found.rowKinds;
    searchDirPaths = found.searchDirPaths;
    rowLocations = found.dayLocations;
    showOthers = found.showOthers;
    showYears = found.showYears;
    showMonthes = found.showMonthes;
    showDays = found.showDays;
    return true;
}

void FourierForm::setupCommon() {
    FormColumn::setElidedText(ui->directoryName, FourierFormRules::directoryLabel(dir, isSearch));
    for (int dm : dispersions) {
        ui->comboBoxDispersion->addItem(QString::number(dm));
    }
    ui->comboBoxWithNull->addItems({QStringLiteral("1"), QStringLiteral("0"), QStringLiteral("*")});
    ui->comboBoxTresolution->addItems({QStringLiteral("0.0124928"), QStringLiteral("0.003072"),
                                       QStringLiteral("0.0999424"), QStringLiteral("0.1")});
    ui->showMaxX->setText(QStringLiteral("-1"));
    ui->showMinX->setText(QStringLiteral("-1"));
    if (isFfa) {
        for (QWidget* w :
             {static_cast<QWidget*>(ui->groupBoxActionFourier), ui->groupBoxFFA_info_cont,
              static_cast<QWidget*>(ui->comboBoxWithNull), static_cast<QWidget*>(ui->comboBoxWithNullLabel),
              static_cast<QWidget*>(ui->harmonicNumber), static_cast<QWidget*>(ui->harmonicNumberLabel)}) {
            w->hide();
        }
        ui->groupBoxFFA_info->show();
        // FFA results exist without nulls only, and the map writer names every point so: the hidden
        // with-nulls choice must filter nothing.
        ui->comboBoxWithNull->setCurrentText(QStringLiteral("*"));
        withNulls = -1;
    } else {
        ui->groupBoxActionFFA->hide();
        ui->groupBoxFFA_info->hide();
    }
}

void FourierForm::setupSumMode() {
    ui->pulsarName->setText(pulsarName);
    ui->comboBoxWithNull->setView(new QListView(ui->comboBoxWithNull));
    ui->comboBoxTresolution->setView(new QListView(ui->comboBoxTresolution));
    ui->comboBoxPlosh->hide();
    ui->comboBoxPloshLabel->hide();
    if (isFfa) {
        ui->groupBoxAdditionalFFA_cont->hide();
        ui->groupBoxAdditionalFFA->show();
    } else {
        ui->groupBoxAdditionalFFA->hide();
    }
    const QList<QWidget*> unused = {ui->groupBoxCache,
                                    ui->writeToTestFiles,
                                    ui->groupBox3sigma,
                                    ui->buttonBack,
                                    ui->showNoise,
                                    ui->showCurve,
                                    ui->showApprox,
                                    ui->showBoth,
                                    ui->module,
                                    ui->moduleLabel,
                                    ui->ray,
                                    ui->rayLabel,
                                    ui->sumAlfa,
                                    ui->sumAlfaLabel,
                                    ui->moduleTable,
                                    ui->rayTable,
                                    ui->hourTable,
                                    ui->minSecTable,
                                    ui->comboBoxHour,
                                    ui->comboBoxMinSec,
                                    ui->selectInTable,
                                    ui->redrawTable,
                                    ui->timeLabel,
                                    ui->averagePeriodogram,
                                    ui->averagePeriodogramLabel};
    for (QWidget* w : unused) {
        w->hide();
    }
    ui->checkBoxOthers->setChecked(showOthers);
    ui->checkBoxYears->setChecked(showYears);
    ui->checkBoxMonthes->setChecked(showMonthes);
    ui->checkBoxDays->setChecked(showDays);
    const QList<QCheckBox*> years = yearBoxes();
    for (int i = 0; i < years.size(); ++i) {
        years[i]->setEnabled(yearStates.value(2014 + i, -1) == 0);
    }
}

void FourierForm::setupSearchMode() {
    const QList<QWidget*> unused = {ui->groupBoxYears,
                                    ui->firstPointShiftLabel,
                                    ui->firstPointShift,
                                    ui->firstPointShiftComment,
                                    ui->harmDispFirstPoint,
                                    ui->ffaSnrDispFirstPoint,
                                    ui->averagePeriodogram,
                                    ui->averagePeriodogramLabel,
                                    ui->groupBoxAdditionalFFA,
                                    ui->groupBoxCache,
                                    ui->writeToTestFiles,
                                    ui->groupBox3sigma,
                                    ui->buttonBack,
                                    ui->showNoise,
                                    ui->showCurve,
                                    ui->showApprox,
                                    ui->showBoth};
    for (QWidget* w : unused) {
        w->hide();
    }
    ui->comboBoxPlosh->addItems(
        {QStringLiteral("N1"), QStringLiteral("N2"), QStringLiteral("N0"), QStringLiteral("N4")});
    const int code = ui->comboBoxPlosh->findText(nCode);
    if (code >= 0) {
        ui->comboBoxPlosh->setCurrentIndex(code);
    }
    if (nCode == QLatin1String("N4")) {
        ui->comboBoxTresolution->setCurrentText(QStringLiteral("0.003072"));
        ui->sumAlfaLabel->show();
        ui->sumAlfa->show();
    } else {
        ui->sumAlfaLabel->hide();
        ui->sumAlfa->hide();
    }
    ui->comboBoxHour->addItem(QStringLiteral("*"));
    for (int h = 0; h < 24; ++h) {
        ui->comboBoxHour->addItem(QStringLiteral("%1").arg(h, 2, 10, QLatin1Char('0')));
    }
    ui->comboBoxHour->setCurrentIndex(0);
    ui->comboBoxMinSec->addItem(QStringLiteral("*"));
    for (int s = 0; s < 3600; s += 90) {
        ui->comboBoxMinSec->addItem(QStringLiteral("%1:%2")
                                        .arg(s / 60, 2, 10, QLatin1Char('0'))
                                        .arg(s % 60, 2, 10, QLatin1Char('0')));
    }
    ui->comboBoxMinSec->setCurrentIndex(0);
    if (isFfa) {
        ui->blankPoints->setText(QStringLiteral("0"));
    }
}

// Before any input is connected, so no change slot runs here.
void FourierForm::runStartAction(bool isMap) {
    if (isFfa && isMap) {
        ui->ffaMap->setChecked(true);
        ui->firstPointShift->setValue(-4);
        checkAllYears();
        redraw();
    } else if (isFfa) {
        ui->ffa->setChecked(true);
        ui->firstPointShift->setValue(0);
    } else {
        ui->averageCount->setValue(-1);
        if (isMap) {
            ui->map->setChecked(true);
            ui->mapAll->setChecked(true);
            clickedMapAll();
        } else {
            ui->showNoise->show();
            ui->fourier->setChecked(true);
            ui->firstPointShift->setValue(0);
            redraw();
        }
    }
    asIs = isFfa ? ui->ffaAsIs->isChecked() : ui->asIs->isChecked();
}

void FourierForm::connectInputs() {
    using F = FourierForm;
    const auto spinChanged = qOverload<int>(&QSpinBox::valueChanged);
    connect(ui->module, spinChanged, this, &F::changedModule);
    connect(ui->ray, spinChanged, this, &F::changedRay);
    connect(ui->averageCount, spinChanged, this, &F::changedAverageCount);
    connect(ui->comboBoxWithNull, &QComboBox::currentTextChanged, this, &F::changedAverageWithNull);
    connect(ui->comboBoxDispersion, &QComboBox::currentTextChanged, this, &F::changedDispersion);
    connect(ui->firstPointShift, spinChanged, this, &F::changedFirstPointShift);
    connect(ui->harmonicNumber, &QLineEdit::textChanged, this, &F::changedHarmonicNumber);
    connect(ui->period, &QLineEdit::textChanged, this, &F::changedPeriod);
    connect(ui->showDispersion, &QLineEdit::textChanged, this, &F::changedShowDispersion);
    connect(ui->checkBoxSumWithNulls, &QCheckBox::clicked, this, &F::clickedSumWithNulls);
    connect(ui->sum3sigmaKoeff, &QLineEdit::textChanged, this, &F::changedSum3sigmaKoeff);
    connect(ui->sumAlfa, spinChanged, this, &F::changedSumAlfa);
    for (QRadioButton* type :
         {ui->fourier, ui->harmDispOne, ui->harmDispAverage, ui->harmDispFirstPoint, ui->map, ui->sum3sigma,
          ui->ffa, ui->ffaSnrDisp, ui->ffaSnrDispFirstPoint, ui->ffaSnrDispAverages, ui->ffaMap}) {
        connect(type, &QRadioButton::clicked, this, &F::changedAction);
    }
    connect(ui->mapAll, &QCheckBox::clicked, this, &F::clickedMapAll);
    connect(ui->asIs, &QCheckBox::clicked, this, &F::changedAsIs);
    connect(ui->ffaAsIs, &QCheckBox::clicked, this, &F::changedFfaAsIs);
    connect(ui->ffaMapLog, &QCheckBox::clicked, this, &F::redraw);
    connect(ui->comboBoxPlosh, &QComboBox::currentTextChanged, this, &F::changedPlosh);
    for (QCheckBox* year : sumYearBoxes()) {
        connect(year, &QCheckBox::clicked, this, &F::clicked3sigmaYears);
    }
    connect(ui->checkTable, &QPushButton::clicked, this, &F::checkTable);
    connect(ui->clearTable, &QPushButton::clicked, this, &F::clearTable);
    connect(ui->buttonOk, &QPushButton::clicked, this, &F::redraw);
    connect(ui->buttonBack, &QPushButton::clicked, this, &F::back);
    connect(ui->pushButtonFFA_info, &QPushButton::clicked, this, &F::showFfaInfo);
    connect(ui->buttonSaveImage, &QPushButton::clicked, this, &F::saveImage);
    connect(ui->buttonSaveText, &QPushButton::clicked, this, &F::saveText);
    connect(ui->buttonChangeSize, &QPushButton::clicked, this, &F::changeGraphSize);
    connect(ui->forPrint, &QCheckBox::clicked, this, &F::redraw);
    connect(ui->circlePlus, spinChanged, this, &F::changedCirclePlus);
    connect(ui->stopIncreasePeriod, &QLineEdit::textChanged, this, &F::changedStopIncreasePeriod);
    connect(ui->groupBoxAdditional, &QGroupBox::clicked, this, &F::clickedAdditional);
    connect(ui->groupBoxAdditionalFFA, &QGroupBox::clicked, this, &F::clickedAdditionalFFA);
    connect(ui->groupBoxFFA_info, &QGroupBox::clicked, this, &F::clickedFfaInfo);
    ui->sumAlfa->setKeyboardTracking(false);
    if (isSearch) {
        connect(ui->selectInTable, &QPushButton::clicked, this, &F::selectInTableSearch);
        for (QAbstractButton* filter :
             {static_cast<QAbstractButton*>(ui->moduleTable), static_cast<QAbstractButton*>(ui->rayTable),
              static_cast<QAbstractButton*>(ui->hourTable), static_cast<QAbstractButton*>(ui->minSecTable),
              static_cast<QAbstractButton*>(ui->redrawTable)}) {
            connect(filter, &QAbstractButton::clicked, this, &F::changeTableSearch);
        }
    } else {
        connect(ui->checkAllYears, &QPushButton::clicked, this, &F::checkAllYears);
        connect(ui->clearAllYears, &QPushButton::clicked, this, &F::clearAllYears);
        for (QCheckBox* year : yearBoxes()) {
            connect(year, &QCheckBox::clicked, this, &F::checkYears);
        }
        for (QCheckBox* kind : {ui->checkBoxOthers, ui->checkBoxYears, ui->checkBoxMonthes, ui->checkBoxDays,
                                ui->tableFromFile}) {
            connect(kind, &QCheckBox::clicked, this, qOverload<>(&F::redrawTable));
        }
    }
    connectTable();
}

void FourierForm::connectTable() {
    connect(table, &FourierTable::clickedTableRow, this, &FourierForm::changeFormByTable);
    connect(table, &FourierTable::changedTableCheckBox, this, &FourierForm::changedTableCheckBox);
    if (table->tableType == QLatin1String("search")) {
        connect(table, qOverload<QString>(&FourierTable::clickedTableItem), this,
                &FourierForm::clickedTableItem1);
    }
}

// The work area changes only here: the form, its table, the graph and the newest panel, in this order;
// whatever else was laid out there (the previous form, a replaced table or panel) goes.
void FourierForm::placeWidgets() {
    layout = WorkArea::install({this, table, grafik, grafikInfo});
}
