#ifndef PULSARGRAFIK_H
#define PULSARGRAFIK_H

#include "core/data.h"
#include "core/screenfit.h"

#include <QPointF>
#include <QSize>
#include <QString>
#include <QVector>
#include <QWidget>

#include <memory>

class CalculationHolder;
class QPainter;

// The line plot of the one-file Fourier and FFA forms. The forms and their panels fill the public
// fields from a calculation and call updateRange(); every paint draws everything from the fields.
class PulsarGrafik : public QWidget {
    Q_OBJECT
public:
    explicit PulsarGrafik(QWidget* parent);
    QSize sizeHint() const override { return ScreenFit::plotHint(); }
    ~PulsarGrafik() override;

    Data data;
    QVector<QVector<float>> arrGrafiks;
    // Arrays of at least `points` values owned by the calculation that made them; never freed here.
    QVector<float*> arrGrafiksRaw;
    QVector<QString> labelsX1;
    QVector<QString> labelsX2;
    QVector<QString> labelsX3;
    int labelStep1 = 1;
    int labelStep2 = 1;
    int labelStep3 = 1;
    QVector<int> markers;
    QVector<bool> visible;
    int points = 100;
    float yMax = 100;
    float yMin = 0;
    int dy01 = 70;
    int dy02 = 30;
    int dx01 = 60;
    int dx02 = 30;
    int firstPoint = 0;
    QString action = QStringLiteral("");
    bool hintShown = false;
    QString hintText;
    // Size at the last paint; invalid until the first one.
    QSize canvasSize;
    // Keeps the arrays of arrGrafiksRaw alive while they are drawn; set by the form with the curves.
    std::shared_ptr<CalculationHolder> curvesOwner;

    void showHint();
    bool updateRange();

signals:
    void coordsChanged(QPointF, QVector<QString>);

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void drawFrame(QPainter* painter);
    void drawLabel(QPainter* painter, QPoint at, const QString& text);
    void drawGraphs(QPainter* painter);
    QPointF toDataCoords(QPointF q) const;
};

#endif // PULSARGRAFIK_H
