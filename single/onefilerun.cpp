#include "single/onefilerun.h"

#include "core/calculationholder.h"
#include "core/desktop.h"
#include "single/pulsargrafik.h"

#include <QProgressBar>

#include <algorithm>

bool OneFileRun::refused(QWidget* form, const Data& data) {
    // A record without sample arrays has nothing to sum, whatever its passport says.
    QString refusal;
    if (data.npoints <= 0 || !data.samples) {
        refusal = QStringLiteral("Bad file!\nFile without data");
    } else if (data.npoints <= 39999) {
        refusal = QStringLiteral("Bad file!\nFile with short data, must be long data");
    }
    if (refusal.isEmpty()) {
        return false;
    }
    Desktop::instance()->warning(form, QStringLiteral("Error"), refusal);
    return true;
}

bool OneFileRun::calculate(QWidget* form, PulsarCalculate* calc, QProgressBar* progressBar) {
    if (progressBar) {
        progressBar->show();
        QObject::connect(calc, SIGNAL(progress(int)), progressBar, SLOT(setValue(int)));
    }
    const bool ok = calc->calculate();
    if (progressBar) {
        progressBar->hide();
    }
    if (ok) {
        return true;
    }
    if (!calc->errorShown) {
        Desktop::instance()->warning(form, QStringLiteral("Error"), calc->errorText);
    }
    return false;
}

std::shared_ptr<CalculationHolder> OneFileRun::run(QWidget* form, std::unique_ptr<PulsarCalculate> calc,
                                                   QProgressBar* progressBar) {
    const bool ok = calculate(form, calc.get(), progressBar);
    PulsarCalculate* held = calc.get();
    auto holder = std::make_shared<CalculationHolder>(calc.release());
    holder->adoptCurves(held->rawGrafiks);
    return ok ? holder : nullptr;
}

int OneFileRun::drawablePoints(const PulsarCalculate* calc, int wanted) {
    if (!calc || calc->rawGrafiks.isEmpty()) {
        return std::max(0, wanted);
    }
    return std::max(0, std::min(wanted, calc->grafikPoints));
}

int OneFileRun::showOnPlot(PulsarGrafik* grafik, const std::shared_ptr<CalculationHolder>& holder) {
    PulsarCalculate* run = holder->get<PulsarCalculate>();
    int drawable = drawablePoints(run, run->count);
    if (!run->arrGrafiks.isEmpty()) {
        drawable = 0;
        for (const QVector<float>& curve : run->arrGrafiks) {
            drawable = qMax(drawable, curve.size());
        }
    }
    grafik->hintShown = false;
    grafik->data = run->data;
    grafik->arrGrafiks = run->arrGrafiks;
    grafik->arrGrafiksRaw = run->rawGrafiks;
    grafik->curvesOwner = holder;
    grafik->labelsX1 = run->arrX0;
    grafik->labelsX2 = run->arrX1;
    grafik->labelsX3 = run->arrX2;
    grafik->labelStep1 = run->stepX0;
    grafik->labelStep2 = run->stepX1;
    grafik->labelStep3 = run->stepX2;
    grafik->markers = run->markers;
    grafik->visible = run->grafikVisible;
    grafik->points = drawable;
    grafik->firstPoint = run->firstPoint;
    grafik->action = run->action;
    grafik->updateRange();
    return drawable;
}
