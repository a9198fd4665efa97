#ifndef ONEFILERUN_H
#define ONEFILERUN_H

#include "numerics/pulsarcalculate.h"

#include <QString>

#include <memory>

class CalculationHolder;
class PulsarGrafik;
class QProgressBar;
class QWidget;

// The steps the one-file Fourier and FFA forms take alike: refusing a file too short to analyse, the
// inputs every run gets from the widgets both forms have, running with the progress bar, and copying
// a run's outputs into the shared plot. Each form keeps its own actions, panel and texts.
class OneFileRun {
public:
    OneFileRun() = delete;

    // Warns with the form as parent and returns true when the record has no samples or too few points.
    // The form has emptied the work area before reading; it then stays unconnected, without plot or
    // panel, and reports !isValid() for its creator to delete.
    static bool refused(QWidget* form, const Data& data);

    // The place in the file that both forms keep from their widgets before each run.
    template <typename Ui>
    static void readPlace(const Ui& ui, int& module, int& ray, int& channel, float& dispersion,
                          int& firstPoint, int& points) {
        module = ui.module->value();
        ray = ui.ray->value();
        channel = ui.channel->value();
        dispersion = ui.dispersion->text().toFloat();
        firstPoint = ui.firstPoint->text().toInt();
        points = ui.points->text().toInt();
    }

    // The inputs named alike in both widget sets; `Ui` is either form's.
    template <typename Ui>
    static void setCommonInputs(PulsarCalculate* calc, const Ui& ui, const Data& data) {
        calc->data = data;
        calc->module = ui.module->value() - 1;
        calc->channel = ui.channel->value() - 1;
        calc->ray = ui.ray->value() - 1;
        calc->dispersion = double(ui.dispersion->text().toFloat());
        calc->count = ui.points->text().toInt();
        calc->averageCount = ui.averageCount->value();
        calc->averageWithNull = ui.averageWithNull->isChecked();
        calc->isFirstPoint = ui.isFirstPoint->isChecked();
        calc->firstPoint = ui.firstPoint->text().toInt();
        calc->isOrvUtc = ui.isOrvUtc->isChecked();
        calc->orvUtc = ui.orvUtc->text();
        calc->checkDeleteStep = ui.checkDeleteStep->isChecked();
        calc->withNormalization = ui.withNormalization->isChecked();
        if (ui.noisePolinom5->isChecked()) {
            calc->noiseMethod = QStringLiteral("polinom5");
        } else if (ui.noiseMedian->isChecked()) {
            calc->noiseMethod = QStringLiteral("median");
        } else if (ui.noiseBack->isChecked()) {
            calc->noiseMethod = QStringLiteral("backSum");
        } else {
            calc->noiseMethod = QStringLiteral("without");
        }
    }

    // Shows the bar while the run feeds it its progress, then hides it. A run that fails is told to
    // the user, with the form as parent, in the calculation's own words (unless the action has shown
    // them already); the caller then keeps its plot and panel as they are.
    static bool calculate(QWidget* form, PulsarCalculate* calc, QProgressBar* progressBar);

    // calculate() for a form's new run: the run and the curves it handed out go into a holder, which
    // is returned on success. A failed run gets null, and its holder frees it and its curves at once.
    static std::shared_ptr<CalculationHolder> run(QWidget* form, std::unique_ptr<PulsarCalculate> calc,
                                                  QProgressBar* progressBar);

    // How many points of the bare arrays can be read, for a wanted count: a failed run may leave arrays
    // shorter than its count, and only grafikPoints tells their length.
    static int drawablePoints(const PulsarCalculate* calc, int wanted);

    // Hands the held run's outputs to the plot and redraws it; returns the points it draws: those of
    // the bare arrays that can be read, or the length of the longest vector curve, so that the axis
    // spans what is drawn whatever count the action left.
    static int showOnPlot(PulsarGrafik* grafik, const std::shared_ptr<CalculationHolder>& holder);
};

#endif // ONEFILERUN_H
