#include "profiles/profileform.h"

#include "core/formcolumn.h"
#include "core/multigrafik.h"
#include "core/profilegrafik.h"
#include "core/settings.h"
#include "core/tools.h"
#include "core/workarea.h"
#include "ui_profileform.h"

#include <QDebug>
#include <QHBoxLayout>

ProfileForm::ProfileForm(QString dirName, QString dirMode, QWidget* parent)
    : QWidget(parent), dirPath(dirName), dirMode(dirMode) {
    ui = new Ui::ProfileForm;
    ui->setupUi(this);
    FormColumn::fit(this, ui->scrollArea);
    progressBar = Settings::getInstance()->getProgressBar();
    maxToCenter = ui->shiftMaxToCenter->isChecked();
    bestForDate = ui->comboBoxMaximums->currentIndex() == 1;

    ui->comboBoxPlosh->addItems({"", "N0", "N1", "N2", "N4"});
    ui->comboBoxTres->addItems({"", "0.0124928", "0.003072"});

    if (!readDirProfile(dirPath)) {
        qDebug() << "readDirProfile false!";
        hide();
        return;
    }

    if (readDirStatistic(dirPath)) {
        ui->groupBoxStatistic->show();
        ui->comboBoxStatYear->addItems(QStringList(statYears.toList()));
        ui->comboBoxStatYear->setCurrentIndex(ui->comboBoxStatYear->count() - 1);
        ui->comboBoxStatDisp->addItems(QStringList(statDms.toList()));
        ui->comboBoxStatPeriod->addItems(QStringList(statPeriods.toList()));
        ui->comboBoxStatDisp->setCurrentIndex(0);
        ui->comboBoxStatPeriod->setCurrentIndex(0);
        if (statDms.size() == 1) {
            ui->statDispPre->hide();
            ui->statDispNext->hide();
        }
        if (statPeriods.size() == 1) {
            ui->statPeriodPre->hide();
            ui->statPeriodNext->hide();
        }
        ui->radius->setValue(4);
        redrawDataStat();
    } else {
        ui->groupBoxStatistic->hide();
        ui->groupBoxStatistic->setChecked(false);
    }
    ui->widgetStatistic->hide();
    ui->groupBoxStatistic->setChecked(false);
    ui->groupBoxCalculator->hide();
    ui->groupBoxCalculator->setChecked(false);

    if (dirMode != QLatin1String("dispersions")) {
        ui->harmonic->hide();
        ui->harmonicLabel->hide();
    }

    fillSelectors();

    if (dates.size() <= 1) {
        ui->dateNext->hide();
        ui->datePre->hide();
        ui->comboBoxMaximums->hide();
    }
    ui->pulsarName->setText(Tools::sourceNameFromPath(dirPath, Tools::nameOfN(dirPath), true));
    FormColumn::setElidedText(ui->dirName, Tools::shortPath(dirPath));
    followSelectionInCaptions(ui->comboBoxDispersion->currentText(), ui->comboBoxPeriod->currentText());
    ui->groupBoxForPrint->setChecked(false);
    ui->widgetForPrint->hide();
    if (dirMode == QLatin1String("periods")) {
        ui->drawGrafikDisp->hide();
        ui->labelShowMaxDisp->hide();
        ui->showMaxDisp->hide();
    }
    showBestProfilesAll();

    mainWindow = Settings::getInstance()->getMainWindow();
    profileGrafik = new ProfileGrafik(QString(), this);
    profileGrafik->showStartMessage();
    workLayout = WorkArea::install({this, profileGrafik});

    connectWidgets();
    drawGrafikMulti();
    valid = true;
}

ProfileForm::~ProfileForm() {
    // The registry holds the periods form the menu opened; a deleted one must not stay reachable there.
    if (Settings::getInstance()->getProfileForm() == this) {
        Settings::getInstance()->setProfileForm(nullptr);
    }
    delete ui;
}

// Dates, then the DMs of the best date, then the periods of its best DM; the selectors are filled
// before any connection exists, so nothing here starts a slot.
void ProfileForm::fillSelectors() {
    const bool haveBest = !bestList.isEmpty();
    const BestEntry best = haveBest ? splitBestEntry(bestList.first()) : BestEntry();

    ui->sortSnr->setChecked(true);
    sortSnr();
    // Dates by maximum round to six digits and the best list truncates to hundredths, so the first date
    // by maximum need not be the best profile's: the DM and period lists below are the best date's.
    // Without a best profile (files with period lines only) the first date stays current.
    if (haveBest) {
        ui->comboBoxDate->setCurrentIndex(std::max(0, ui->comboBoxDate->findText(best.date)));
    }

    ui->comboBoxDispersion->clear();
    dateDms.clear();
    const QString date = haveBest ? best.date : dates.value(0);
    if (dmsByDate.contains(date)) {
        const QVector<QString> dms = dmsByDate.value(date);
        for (int i = 0; i < dms.size(); ++i) {
            if (dateDms.contains(dms[i])) {
                continue;
            }
            dateDms.append(dms[i]);
            ui->comboBoxDispersion->addItem(dms[i]);
            if (haveBest && dms[i] == best.dm) {
                ui->comboBoxDispersion->setCurrentIndex(i);
            }
        }
    }

    ui->comboBoxPeriod->clear();
    dmPeriods.clear();
    if (!haveBest) {
        return;
    }
    const QString dateDm = best.date + QLatin1Char('_') + best.dm;
    if (!periodsByDateDm.contains(dateDm)) {
        return;
    }
    const QVector<QString> periods = periodsByDateDm.value(dateDm);
    for (int j = 0; j < periods.size(); ++j) {
        dmPeriods.append(periods[j]);
        ui->comboBoxPeriod->addItem(periods[j]);
        if (periods[j] != best.period) {
            continue;
        }
        ui->comboBoxPeriod->setCurrentIndex(j);
        setHarmonicRange(best.date, best.dm, best.period);
    }
}

void ProfileForm::setHarmonicRange(const QString& date, const QString& dm, const QString& period) {
    const QString key = QStringLiteral("%1_%2_%3").arg(date, dm, period);
    ui->harmonic->setMinimum(0);
    ui->harmonic->setMaximum(profiles.value(key).size());
    const auto stats = dateStats.constFind(date);
    if (stats != dateStats.cend()) {
        // The index is stored as a double; one outside the spin box's range gives 0.
        const double index = stats.value().value(2);
        ui->harmonic->setValue(index > 0 && index < 2e9 ? int(index) : 0);
    }
}

void ProfileForm::connectWidgets() {
    connect(ui->comboBoxDate, &QComboBox::currentTextChanged, this, &ProfileForm::changedDate);
    connect(ui->comboBoxPlosh, &QComboBox::currentTextChanged, this, &ProfileForm::changedPlosh);
    connect(ui->pulsarName, &QLineEdit::textChanged, this, &ProfileForm::changedPulsarName);
    connect(ui->harmonic, QOverload<int>::of(&QSpinBox::valueChanged), this, &ProfileForm::changedHarmonic);
    connect(ui->dateNext, &QPushButton::clicked, this, &ProfileForm::dateNext);
    connect(ui->datePre, &QPushButton::clicked, this, &ProfileForm::datePre);
    connect(ui->dispNext, &QPushButton::clicked, this, &ProfileForm::dispNext);
    connect(ui->dispPre, &QPushButton::clicked, this, &ProfileForm::dispPre);
    connect(ui->periodNext, &QPushButton::clicked, this, &ProfileForm::periodNext);
    connect(ui->periodPre, &QPushButton::clicked, this, &ProfileForm::periodPre);
    connect(ui->average, QOverload<int>::of(&QSpinBox::valueChanged), this, &ProfileForm::averageChanged);
    connect(ui->drawGrafikOne, &QPushButton::clicked, this, &ProfileForm::drawGrafikOne);
    connect(ui->drawGrafikMulti, &QPushButton::clicked, this, &ProfileForm::drawGrafikMulti);
    connect(ui->drawGrafikDisp, &QPushButton::clicked, this, &ProfileForm::drawGrafikDisp);
    connect(ui->calc_period1, &QLineEdit::editingFinished, this, &ProfileForm::changedCalcPeriod1);
    connect(ui->calc_period2, &QLineEdit::editingFinished, this, &ProfileForm::changedCalcPeriod2);
    connect(ui->calc_n1, &QLineEdit::editingFinished, this, &ProfileForm::changedCalcN1);
    connect(ui->calc_n2, &QLineEdit::editingFinished, this, &ProfileForm::changedCalcN2);
    connect(ui->calc_show_w50, &QCheckBox::clicked, this, &ProfileForm::clickedCalcShowW50);
    connect(ui->calculate, &QPushButton::clicked, this, &ProfileForm::calculateFluxDensity);
    connect(ui->calculate_show, &QPushButton::clicked, this, &ProfileForm::calculateFluxDensityShow);
    connect(ui->showMax, &QCheckBox::clicked, this, &ProfileForm::clickedShowMax);
    connect(ui->forPrintShowMax, &QCheckBox::clicked, this, &ProfileForm::clickedForPrintShowMax);
    connect(ui->sortSnr, &QCheckBox::clicked, this, &ProfileForm::sortSnr);
    connect(ui->shiftMaxToCenter, &QCheckBox::clicked, this, &ProfileForm::clickedShiftMaxToCenter);
    connect(ui->comboBoxMaximums, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &ProfileForm::changedFlagMaximums);
    connect(ui->groupBoxForPrint, &QGroupBox::clicked, this, &ProfileForm::groupBoxForPrintClicked);
    connect(ui->forPrintShowMax, &QCheckBox::clicked, this, &ProfileForm::checkFormAndRedraw);
    connect(ui->saveImage, &QPushButton::clicked, this, &ProfileForm::saveImage);
    connect(ui->changeSize, &QPushButton::clicked, this, &ProfileForm::changeSize);
    connect(ui->scroll, &QPushButton::clicked, this, &ProfileForm::drawAndScrollToBestGrafik);
    connect(ui->groupBoxStatistic, &QGroupBox::clicked, this, &ProfileForm::groupBoxStatisticClicked);
    connect(ui->comboBoxStatYear, &QComboBox::currentTextChanged, this, &ProfileForm::redrawGrafikStat);
    connect(ui->comboBoxStatDisp, &QComboBox::currentTextChanged, this, &ProfileForm::redrawGrafikStat);
    connect(ui->comboBoxStatPeriod, &QComboBox::currentTextChanged, this, &ProfileForm::redrawGrafikStat);
    connect(ui->statYearNext, &QPushButton::clicked, this, &ProfileForm::statYearNext);
    connect(ui->statYearPre, &QPushButton::clicked, this, &ProfileForm::statYearPre);
    connect(ui->statDispNext, &QPushButton::clicked, this, &ProfileForm::statDispNext);
    connect(ui->statDispPre, &QPushButton::clicked, this, &ProfileForm::statDispPre);
    connect(ui->statPeriodNext, &QPushButton::clicked, this, &ProfileForm::statPeriodNext);
    connect(ui->statPeriodPre, &QPushButton::clicked, this, &ProfileForm::statPeriodPre);
    connect(ui->showSigma, &QCheckBox::clicked, this, &ProfileForm::drawGrafikStat);
    connect(ui->showSnr, &QCheckBox::clicked, this, &ProfileForm::drawGrafikStat);
    connect(ui->showVal, &QCheckBox::clicked, this, &ProfileForm::drawGrafikStat);
    connect(ui->drawMulti, &QCheckBox::clicked, this, &ProfileForm::drawGrafikStat);
    connect(ui->drawCircle, &QCheckBox::clicked, this, &ProfileForm::drawGrafikStat);
    connect(ui->drawGrafikStat, &QPushButton::clicked, this, &ProfileForm::drawGrafikStat);
    connect(ui->radius, QOverload<int>::of(&QSpinBox::valueChanged), this, &ProfileForm::radiusChanged);
    connect(ui->groupBoxCalculator, &QGroupBox::clicked, this, &ProfileForm::groupBoxCalculatorClicked);
}
