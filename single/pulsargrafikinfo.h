#ifndef PULSARGRAFIKINFO_H
#define PULSARGRAFIKINFO_H

#include <QPointF>
#include <QString>
#include <QVector>
#include <QWidget>

#include <memory>

class CalculationHolder;
class PulsarCalculate;
class PulsarGrafik;
class QLabel;
class QLineEdit;
class QSpinBox;

// The column beside the plot of the one-file Fourier form: legend, the controls of the run's action,
// the calculation report, the number of points drawn and the mouse coordinates. The form sets the
// public fields, then calls buildPanel() once.
class PulsarGrafikInfo : public QWidget {
    Q_OBJECT
public:
    explicit PulsarGrafikInfo(QWidget* parent);
    ~PulsarGrafikInfo() override;

    PulsarGrafik* grafik = nullptr;       // not owned
    PulsarCalculate* calculate = nullptr; // the run's object; null on the panel built before any run
    QString action = QStringLiteral("");
    QVector<QString> grafikNames;
    QString infoText = QStringLiteral("");
    QVector<double> dispersions = {0, 33, 66, 100};
    float multiDispersion = 0;
    int maxSigma = 5;
    int maxPoints = 0;
    int points = 0;
    QLabel* labelCoords = nullptr;
    QSpinBox* spinMaxSigma = nullptr;
    QLabel* labelInfo = nullptr;
    QLineEdit* editDispersion1 = nullptr;
    QLineEdit* editDispersion2 = nullptr;
    QLineEdit* editDispersion3 = nullptr;
    QLineEdit* editDispersion4 = nullptr;
    QLineEdit* editMultiDispersion = nullptr;
    QSpinBox* spinPoints = nullptr;
    // Owner of `calculate` and of the arrays the plot draws; the panel keeps them alive.
    std::shared_ptr<CalculationHolder> holder;

    void buildPanel();

public slots:
    void changeMaxSigma();
    void changeDispersions();
    void showMultiResult();
    void returnMultiGrafiks();
    void changePoints();
    void resetPoints();
    void setCoords(QPointF p, QVector<QString> arrX);

private:
    bool canRun() const;
    bool rerun();
    void copyMultiView();
    void takePoints();
    void refresh();
};

#endif // PULSARGRAFIKINFO_H
