#ifndef PULSARFORM_H
#define PULSARFORM_H

#include "core/data.h"

#include <QHBoxLayout>
#include <QPointer>
#include <QString>
#include <QVector>
#include <QWidget>

#include <memory>

class CalculationHolder;
class PulsarCalculate;
class PulsarGrafik;
class PulsarGrafikInfo;
class QProgressBar;

namespace Ui {
class PulsarForm;
}

// The parameter form of the one-file Fourier analysis. It reads one long observation file, and every
// request runs a new calculation whose results go to the plot beside it and to a fresh info panel.
// A file that OneFileRun refuses leaves it not valid (see there).
class PulsarForm : public QWidget {
    Q_OBJECT
public:
    PulsarForm(QString fileName, QWidget* parent);
    ~PulsarForm() override;

    bool isValid() const { return valid; }

public slots:
    void redraw();

private:
    Data readData(const QString& fileName);

    Data data;
    int module = 0;
    int ray = 0;
    int channel = 0;
    int firstPoint = 0;
    int points = 0;
    float dispersion = 0;
    float period = 0;
    int harmonicNum = 0;
    PulsarCalculate* calculate = nullptr; // the last run's, owned through `holder`
    PulsarGrafik* grafik = nullptr;
    PulsarGrafikInfo* grafikInfo = nullptr;
    // The work area deletes it when another form takes over.
    QPointer<QHBoxLayout> hLayout;
    QVector<double> dispersions = {0, 33, 66, 100};
    int maxSigma = 5;
    Ui::PulsarForm* ui = nullptr;
    QProgressBar* progressBar = nullptr;
    std::shared_ptr<CalculationHolder> holder;
    bool valid = false;
};

#endif // PULSARFORM_H
