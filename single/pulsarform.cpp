#include "single/pulsarform.h"

#include "core/busyguard.h"
#include "core/cachedreader.h"
#include "core/calculationholder.h"
#include "core/desktop.h"
#include "core/formcolumn.h"
#include "core/settings.h"
#include "core/tools.h"
#include "core/workarea.h"
#include "numerics/pulsarcalculate.h"
#include "single/onefilerun.h"
#include "single/pulsargrafik.h"
#include "single/pulsargrafikinfo.h"
#include "ui_pulsarform.h"

#include <QHBoxLayout>
#include <QProgressBar>

PulsarForm::PulsarForm(QString fileName, QWidget* parent) : QWidget(parent) {
    hide();
    ui = new Ui::PulsarForm;
    ui->setupUi(this);
    FormColumn::setElidedText(ui->fileName, Tools::lastPathPart(fileName));
    FormColumn::fit(this, ui->scrollArea);

    WorkArea::clear();
    progressBar = Settings::getInstance()->getProgressBar();
    data = readData(fileName);

    if (OneFileRun::refused(this, data)) {
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
    valid = true;
}

PulsarForm::~PulsarForm() {
    delete ui;
}

Data PulsarForm::readData(const QString& fileName) {
    return CachedReader::readData(fileName, progressBar, data);
}

void PulsarForm::redraw() {
    // A click handled while a run lets the event loop turn must not start a second one.
    if (!valid || BusyGuard::busy()) {
        return;
    }
    BusyGuard guard;

    OneFileRun::readPlace(*ui, module, ray, channel, dispersion, firstPoint, points);
    period = ui->period->text().toFloat();

    auto calc = std::make_unique<PulsarCalculate>(QStringLiteral("grafik"));
    OneFileRun::setCommonInputs(calc.get(), *ui, data);
    calc->period = double(period);
    calc->maxSigma = maxSigma;
    harmonicNum = ui->harmonicNum->text().toInt();
    calc->harmonicNum = harmonicNum;
    calc->firstPointDelta = ui->firstPointDelta->text().toInt();
    calc->orvUtcDelta = ui->orvUtcDelta->text().toInt();

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
    calc->showDeductNoise = ui->showDeductNoise->isChecked();

    auto run = OneFileRun::run(this, std::move(calc), progressBar);
    if (!run) {
        // Plot and panel keep the previous result.
        return;
    }
    holder = run;
    calculate = holder->get<PulsarCalculate>();

    const int drawable = OneFileRun::showOnPlot(grafik, holder);

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
}
