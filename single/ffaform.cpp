#include "single/ffaform.h"

#include "core/busyguard.h"
#include "core/cachedreader.h"
#include "core/calculationholder.h"
#include "core/desktop.h"
#include "core/formcolumn.h"
#include "core/settings.h"
#include "core/tools.h"
#include "core/workarea.h"
#include "numerics/pulsarcalculate.h"
#include "single/ffagrafikinfo.h"
#include "single/onefilerun.h"
#include "single/pulsargrafik.h"
#include "ui_ffaform.h"

#include <QDebug>
#include <QHBoxLayout>
#include <QProgressBar>

FfaForm::FfaForm(QString fileName, QWidget* parent) : QWidget(parent) {
    ui = new Ui::FfaForm;
    ui->setupUi(this);
    FormColumn::setElidedText(ui->fileName, Tools::lastPathPart(fileName));

    // The previous form goes before the file is read, so a refused file leaves the work area empty.
    WorkArea::clear();

    progressBar = Settings::getInstance()->getProgressBar();
    data = readData(fileName);

    if (OneFileRun::refused(this, data)) {
        hide();
        return;
    }

    grafik = new PulsarGrafik(this);
    grafik->showHint();
    grafikInfo = new FfaGrafikInfo(this);
    grafikInfo->grafik = grafik;
    grafikInfo->buildPanel();
    hLayout = WorkArea::install({this, grafik, grafikInfo});

    for (QWidget* w :
         QList<QWidget*>{ui->showNative, ui->sumChannelsDemoNoise, ui->sumChannelsAndAverage, ui->ffa,
                         ui->isFirstPoint, ui->isOrvUtc, ui->noisePolinom5, ui->noiseMedian, ui->noiseBack,
                         ui->noiseWithout, ui->withNormalization}) {
        connect(w, SIGNAL(clicked(bool)), this, SLOT(redraw()));
    }
    connect(ui->pushButtonOk, SIGNAL(clicked()), this, SLOT(redraw()));
    connect(ui->pushButtonFFA, SIGNAL(clicked()), this, SLOT(redraw()));
    connect(ui->pushButtonFFA_info, SIGNAL(clicked()), this, SLOT(showFfaInfo()));
    connect(ui->downToNull, SIGNAL(clicked(bool)), this, SLOT(redraw()));
    connect(ui->show_as_is, SIGNAL(clicked(bool)), this, SLOT(redraw()));

    // Inputs of the FFA search that this form always fixes.
    for (QWidget* w : QList<QWidget*>{ui->label_deredden, ui->label_rmed_width, ui->label_rmed_minpts,
                                      ui->deredden, ui->rmed_width, ui->rmed_minpts, ui->normalised,
                                      ui->harmonicNum, ui->harmonicNumberLabel}) {
        w->hide();
    }
    FormColumn::fit(this, ui->scrollArea);
    valid = true;
}

FfaForm::~FfaForm() {
    qDebug() << "---------------------------------------- FfaForm::~FfaForm";
    delete ui;
    qDebug() << "---------------------------------------- FfaForm::~FfaForm - ok";
}

Data FfaForm::readData(const QString& fileName) {
    return CachedReader::readData(fileName, progressBar, data);
}

void FfaForm::redraw() {
    if (!valid || BusyGuard::busy()) {
        return;
    }
    BusyGuard busy;

    OneFileRun::readPlace(*ui, module, ray, channel, dispersion, firstPoint, points);

    QString action;
    if (ui->showNative->isChecked()) {
        action = QStringLiteral("showNative");
    } else if (ui->sumChannelsDemoNoise->isChecked()) {
        action = QStringLiteral("sumChannelsDemoNoise");
    } else if (ui->sumChannelsAndAverage->isChecked()) {
        action = QStringLiteral("sumChannelsAndAverage");
    } else if (ui->ffa->isChecked()) {
        action = QStringLiteral("createFFA");
    } else {
        Desktop::instance()->warning(this, tr("Error"), tr("Check Action!"));
        return;
    }

    auto run = std::make_unique<PulsarCalculate>(QStringLiteral("grafik"));
    OneFileRun::setCommonInputs(run.get(), *ui, data);
    run->action = action;

    if (action == QLatin1String("createFFA")) {
        run->period_min = ui->period_min->text().toDouble();
        run->period_max = ui->period_max->text().toDouble();
        run->fpmin = ui->fpmin->text().toInt();
        run->bins_min = ui->bins_min->text().toInt();
        run->bins_max = ui->bins_max->text().toInt();
        run->ducy_max = ui->ducy_max->text().toDouble();
        run->wtsp = ui->wtsp->text().toDouble();
        run->show_as_is = ui->show_as_is->isChecked();
        run->messageParent = parentWidget();
        run->showSigma = ui->showSigma->isChecked();
        run->downToNull = ui->downToNull->isChecked();
        run->nullProc = ui->nullProc->text().toInt();
        run->sigmaProc = ui->sigmaProc->text().toInt();
        run->sigmaLevel1 = ui->sigmaLevel1->text().toInt();
        run->sigmaLevel2 = ui->sigmaLevel2->text().toInt();
    }

    // A failed run is shown nowhere, so plot and panel keep the previous result.
    if (auto holder = OneFileRun::run(this, std::move(run), progressBar)) {
        showResult(holder);
    }
}

void FfaForm::showResult(const std::shared_ptr<CalculationHolder>& holder) {
    PulsarCalculate* run = holder->get<PulsarCalculate>();
    const int drawable = OneFileRun::showOnPlot(grafik, holder);

    auto* info = new FfaGrafikInfo(this);
    info->calculate = run;
    info->holder = holder;
    info->grafik = grafik;
    info->action = run->action;
    info->maxPoints = drawable;
    info->points = drawable;
    info->grafikNames = run->grafikNames;
    info->infoText = run->infoText;
    info->buildPanel();

    grafikInfo = info;
    hLayout = WorkArea::install({this, grafik, info});
    calculate = run;
}

void FfaForm::showFfaInfo() {
    if (!valid) {
        return;
    }
    const double periodMin = ui->info_period_min->text().toDouble();
    const double periodMax = ui->info_period_max->text().toDouble();
    const int binsMin = ui->info_bins_min->text().toInt();
    const int binsMax = ui->info_bins_max->text().toInt();
    const double ducyMax = ui->info_ducy_max->text().toDouble();
    const double wtsp = ui->info_wtsp->text().toDouble();
    // The table is for the sampling interval of the telescope's standard files, whatever this file has.
    const QString text =
        PulsarCalculate::getFfaInfo(periodMin, periodMax, binsMin, binsMax, ducyMax, wtsp, 0.0124928);
    Desktop::instance()->warning(this, tr("Info"), text);
}
