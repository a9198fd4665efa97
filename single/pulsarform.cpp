#include "single/pulsarform.h"

#include "core/busyguard.h"
#include "core/cachedreader.h"
#include "core/desktop.h"
#include "core/settings.h"
#include "core/tools.h"
#include "core/workarea.h"
#include "numerics/pulsarcalculate.h"
#include "single/calculationholder.h"
#include "single/pulsargrafik.h"
#include "single/pulsargrafikinfo.h"
#include "ui_pulsarform.h"

#include <QHBoxLayout>
#include <QProgressBar>

PulsarForm::PulsarForm(QString fileName, QWidget* parent) : QWidget(parent) {
    hide();
    ui = new Ui::PulsarForm;
    ui->setupUi(this);
    ui->fileName->setText(Tools::lastPathPart(fileName));

    WorkArea::clear();
    progressBar = Settings::getInstance()->getProgressBar();
    data = readData(fileName);

    // A record without sample arrays has nothing to sum, whatever its passport says.
    QString refusal;
    if (data.npoints <= 0 || !data.samples) {
        refusal = QStringLiteral("Bad file!\nFile without data");
    } else if (data.npoints <= 39999) {
        refusal = QStringLiteral("Bad file!\nFile with short data, must be long data");
    }
    if (!refusal.isEmpty()) {
        Desktop::instance()->warning(this, QStringLiteral("Error"), refusal);
        delete ui;
        ui = nullptr;
        return;
    }

    grafik = new PulsarGrafik(this);
    grafik->setObjectName(QStringLiteral("pulsarGrafik"));
    grafik->showHint();
    grafikInfo = new PulsarGrafikInfo(this);
    grafikInfo->setObjectName(QStringLiteral("pulsarGrafikInfo"));
    grafikInfo->grafik = grafik;
    grafikInfo->buildPanel();
    hLayout = WorkArea::install({this, grafik, grafikInfo});

    for (QWidget* w : QList<QWidget*>{
             ui->showNative, ui->sumPeriod, ui->sumChannelsDemoNoise, ui->sumChannelsAndAverage,
             ui->sumChannelsAndFourier, ui->sum4Dispersions, ui->sumAllDispersions, ui->sumMultiDispersions,
             ui->sumTimeDispersions, ui->isFirstPoint, ui->isOrvUtc, ui->noisePolinom5, ui->noiseMedian,
             ui->noiseBack, ui->noiseWithout, ui->withNormalization, ui->showDeductNoise}) {
        connect(w, SIGNAL(clicked(bool)), this, SLOT(redraw()));
    }
    connect(ui->pushButton, SIGNAL(clicked()), this, SLOT(redraw()));

    dispersions = {0, 33, 66, 100};
    harmonicNum = 0;
    maxSigma = 5;
}

PulsarForm::~PulsarForm() {
    delete ui;
}

Data PulsarForm::readData(const QString& fileName) {
    return CachedReader::readData(fileName, progressBar, data);
}

void PulsarForm::redraw() {
    // A click handled while a run lets the event loop turn must not start a second one.
    if (!ui || BusyGuard::busy()) {
        return;
    }
    BusyGuard guard;

    module = ui->module->value();
    ray = ui->ray->value();
    channel = ui->channel->value();
    period = ui->period->text().toFloat();
    dispersion = ui->dispersion->text().toFloat();
    firstPoint = ui->firstPoint->text().toInt();
    points = ui->points->text().toInt();

    auto calc = std::make_unique<PulsarCalculate>(QStringLiteral("grafik"));
    calc->data = data;
    calc->module = module - 1;
    calc->channel = channel - 1;
    calc->period = double(period);
    calc->dispersion = double(dispersion);
    calc->ray = ray - 1;
    calc->count = points;
    calc->averageCount = ui->averageCount->value();
    calc->averageWithNull = ui->averageWithNull->isChecked();
    calc->maxSigma = maxSigma;
    harmonicNum = ui->harmonicNum->text().toInt();
    calc->harmonicNum = harmonicNum;
    calc->isFirstPoint = ui->isFirstPoint->isChecked();
    calc->firstPoint = firstPoint;
    calc->firstPointDelta = ui->firstPointDelta->text().toInt();
    calc->isOrvUtc = ui->isOrvUtc->isChecked();
    calc->orvUtc = ui->orvUtc->text();
    calc->orvUtcDelta = ui->orvUtcDelta->text().toInt();
    calc->checkDeleteStep = ui->checkDeleteStep->isChecked();

    QString action;
    for (QAbstractButton* b :
         QList<QAbstractButton*>{ui->showNative, ui->sumPeriod, ui->sumChannelsDemoNoise,
                                 ui->sumChannelsAndAverage, ui->sumChannelsAndFourier, ui->sum4Dispersions,
                                 ui->sumAllDispersions, ui->sumMultiDispersions, ui->sumTimeDispersions}) {
        if (b->isChecked()) {
            action = b->objectName();
            break;
        }
    }
    if (action.isEmpty()) {
        Desktop::instance()->warning(this, QStringLiteral("Error"), QStringLiteral("Check Action!"));
        return;
    }
    calc->action = action;
    if (action == QLatin1String("sum4Dispersions")) {
        calc->channel = 0;
        if (dispersion > 0) {
            dispersions[1] = double(dispersion);
        }
        calc->dispersions = dispersions;
    }
    if (ui->noisePolinom5->isChecked()) {
        calc->noiseMethod = QStringLiteral("polinom5");
    } else if (ui->noiseMedian->isChecked()) {
        calc->noiseMethod = QStringLiteral("median");
    } else if (ui->noiseBack->isChecked()) {
        calc->noiseMethod = QStringLiteral("backSum");
    } else {
        calc->noiseMethod = QStringLiteral("without");
    }
    calc->showDeductNoise = ui->showDeductNoise->isChecked();
    calc->withNormalization = ui->withNormalization->isChecked();

    if (progressBar) {
        progressBar->show();
        connect(calc.get(), SIGNAL(progress(int)), progressBar, SLOT(setValue(int)));
    }
    calc->calculate();

    calculate = calc.get();
    holder = std::make_shared<CalculationHolder>(calc.release());
    holder->adoptCurves();

    grafik->hintShown = false;
    grafik->data = calculate->data;
    grafik->arrGrafiks = calculate->arrGrafiks;
    grafik->arrGrafiksRaw = calculate->rawGrafiks;
    grafik->curvesOwner = holder;
    grafik->labelsX1 = calculate->arrX0;
    grafik->labelsX2 = calculate->arrX1;
    grafik->labelsX3 = calculate->arrX2;
    grafik->labelStep1 = calculate->stepX0;
    grafik->labelStep2 = calculate->stepX1;
    grafik->labelStep3 = calculate->stepX2;
    grafik->markers = calculate->markers;
    grafik->visible = calculate->grafikVisible;
    const int drawable = holder->drawablePoints(calculate->count);
    grafik->points = drawable;
    grafik->firstPoint = calculate->firstPoint;
    grafik->action = calculate->action;
    grafik->updateRange();

    PulsarGrafikInfo* old = grafikInfo;
    grafikInfo = new PulsarGrafikInfo(this);
    grafikInfo->setObjectName(QStringLiteral("pulsarGrafikInfo"));
    grafikInfo->calculate = calculate;
    grafikInfo->holder = holder;
    grafikInfo->grafik = grafik;
    grafikInfo->action = calculate->action;
    grafikInfo->maxPoints = drawable;
    grafikInfo->points = drawable;
    grafikInfo->dispersions = calculate->dispersions;
    grafikInfo->multiDispersion = float(calculate->dispersion);
    grafikInfo->grafikNames = calculate->grafikNames;
    grafikInfo->infoText = calculate->infoText;
    grafikInfo->buildPanel();

    if (hLayout) {
        hLayout->removeWidget(old);
        hLayout->addWidget(grafikInfo);
    }
    delete old;
    grafikInfo->show();

    if (progressBar) {
        progressBar->hide();
    }
}
