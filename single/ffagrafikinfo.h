#ifndef FFAGRAFIKINFO_H
#define FFAGRAFIKINFO_H

#include <QPointF>
#include <QString>
#include <QVector>
#include <QWidget>

#include <memory>

class CalculationHolder;
class PulsarCalculate;
class PulsarGrafik;
class QCheckBox;
class QLabel;
class QSpinBox;

// The column beside the plot of the FFA form: legend with visibility switches, the calculation report,
// the number of points drawn and the coordinates under the mouse. It never runs the calculation; its
// controls only change what the plot shows. The form sets the fields, then calls buildPanel() once.
class FfaGrafikInfo : public QWidget {
    Q_OBJECT
public:
    explicit FfaGrafikInfo(QWidget* parent);
    ~FfaGrafikInfo() override;

    PulsarGrafik* grafik = nullptr;       // not owned
    PulsarCalculate* calculate = nullptr; // null before the first run
    // Keeps the run's object alive while this panel exists.
    std::shared_ptr<CalculationHolder> holder;
    QString action = QStringLiteral("");
    QVector<QString> grafikNames;
    QString infoText = QStringLiteral("");
    int maxPoints = 0;
    int points = 0;
    QVector<QCheckBox*> checkBoxes;
    QLabel* labelCoords = nullptr;
    QLabel* labelInfo = nullptr;
    QSpinBox* spinPoints = nullptr;

    void buildPanel();

public slots:
    void changeMaxSigma();
    void changePoints();
    void resetPoints();
    void setCoords(QPointF p, QVector<QString> arrX);
    void showGraficsClicked();

private:
    // The report of the calculation, or the panel's own before the first run.
    QString currentInfoText() const;
};

#endif // FFAGRAFIKINFO_H
