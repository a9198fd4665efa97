#ifndef FOURIERGRAFIKINFO_H
#define FOURIERGRAFIKINFO_H

#include "directory/calc/records.h"

#include <QPointF>
#include <QString>
#include <QVector>
#include <QWidget>

class FourierCalculate;
class FourierGrafik;
class QCheckBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QVBoxLayout;

// The panel beside a directory graph: the legend with visibility boxes, the circle legend of the
// maps, the buttons between the main and the second view of a graph, the calculation text, the points
// control and the coordinates under the mouse. The owner sets the public members and calls
// createWidgets() once. `grafik`, `calc` and `mapPoints` are borrowed and must outlive the panel;
// every widget belongs to the panel.
class FourierGrafikInfo : public QWidget {
    Q_OBJECT
public:
    explicit FourierGrafikInfo(QWidget* parent);
    ~FourierGrafikInfo() override;

    FourierGrafik* grafik = nullptr;
    FourierCalculate* calc = nullptr;
    QString dir = QStringLiteral("");
    QString plosh = QStringLiteral("");
    QString grafikType = QStringLiteral("");
    bool withNulls = false;
    bool forPrint = false;
    QVector<QCheckBox*> colorCheckBoxes;
    QVector<QString> names;
    QString text = QStringLiteral("");
    QString summaryText = QStringLiteral("");
    QVector<MapPoint>* mapPoints = nullptr;
    float dispersion = 0;
    int harmonic = 0;
    double minSnr = 0;
    int circlePlus = 0;
    int maxPoints = 0;
    int points = 0;
    QLabel* coordsLabel = nullptr;
    QLabel* clickLabel = nullptr;
    QLabel* pointInfoLabel = nullptr;
    QPushButton* writeButton = nullptr;
    QPushButton* mainViewButton = nullptr;
    QPushButton* multiViewButton = nullptr;
    QWidget* harmonicsWidget = nullptr;
    QVBoxLayout* harmonicsLayout = nullptr;
    int selectedHarmonic = -1;
    double tres = 0.0124928;
    QLabel* textLabel = nullptr;
    QSpinBox* pointsSpinBox = nullptr;
    QPointF clickPoint0;
    QPointF clickPoint1;
    QPointF clickPoint2;
    QString pointInfo = QStringLiteral("");

    void createWidgets();

signals:
    void coordsChanged(QPointF mouseCoord);
    void signalClickedOnHarmonic(int, QPointF, QPointF, QPointF);
    void progress(int);

public slots:
    void showMultiResult();
    void returnMultiGrafiks();
    void changePoints();
    void resetPoints();
    void setCoords(QPointF p, QVector<QString> arrX);
    void showMapInfo(QPointF p0, QPointF p1, QPointF p2);
    void show3sigmaInfo(QPointF p0, QString info);
    void write3sigmaToFile();
    void clickedOnHarmonic();
    void colorCheckBoxChanged();

private:
    void addSymbolRows(QVBoxLayout* column, const QStringList& texts);
};

#endif // FOURIERGRAFIKINFO_H
