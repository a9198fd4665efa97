#ifndef FFAFORM_H
#define FFAFORM_H

#include "core/data.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <memory>

class CalculationHolder;
class FfaGrafikInfo;
class PulsarCalculate;
class PulsarGrafik;
class QHBoxLayout;
class QProgressBar;

namespace Ui {
class FfaForm;
}

// The one-file FFA form: native data, channel sum with its baseline, averaged sum and the FFA
// periodogram of one long observation file, drawn in the shared plot with FfaGrafikInfo beside it.
// A file that OneFileRun refuses leaves it not valid (see there).
class FfaForm : public QWidget {
    Q_OBJECT
public:
    FfaForm(QString fileName, QWidget* parent);
    ~FfaForm() override;

    bool isValid() const { return valid; }

public slots:
    void redraw();
    void showFfaInfo();

private:
    Data readData(const QString& fileName);
    // Hands a successful run to the plot and a new panel, which share its holder.
    void showResult(const std::shared_ptr<CalculationHolder>& holder);

    Data data;
    int module = 0;
    int ray = 0;
    int channel = 0;
    int firstPoint = 0;
    int points = 0;
    float dispersion = 0;
    // The object whose results plot and panel show; its holder lives as long as they do.
    PulsarCalculate* calculate = nullptr;
    // Plot and panel live in the work area and may go before the form does.
    QPointer<PulsarGrafik> grafik;
    QPointer<FfaGrafikInfo> grafikInfo;
    QHBoxLayout* hLayout = nullptr;
    Ui::FfaForm* ui = nullptr;
    QProgressBar* progressBar = nullptr;
    bool valid = false;
};

#endif // FFAFORM_H
