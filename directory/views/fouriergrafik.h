#ifndef FOURIERGRAFIK_H
#define FOURIERGRAFIK_H

#include "core/data.h"
#include "core/screenfit.h"
#include "directory/calc/records.h"

#include <QColor>
#include <QLine>
#include <QMutex>
#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QSize>
#include <QString>
#include <QVector>
#include <QWidget>

#include <cmath>

class QFontMetrics;
class QPainter;

// The graph of the directory form and of the period-search form: line graphs against X from 0
// (mode 0) or from the first X value (mode 4), the maps (modes 1 and 3) and the 3-sigma graph (mode 2).
// Owners write the public fields, call updateRange() and the widget repaints from the fields alone.
// It owns its value members; `mapPoints` and `mainWindow` are borrowed. The frame, ticks, grid,
// markers and labels of the line graphs come out of linePicture() as data, so they are checked without
// a screen; curves go through the shared series drawing with curveMap().
class FourierGrafik : public QWidget {
    Q_OBJECT
public:
    explicit FourierGrafik(QWidget* parent);
    QSize sizeHint() const override { return ScreenFit::plotHint(); }
    ~FourierGrafik() override;

    // The main window as a plain widget (its signal is connected by name), so no view includes the app.
    QWidget* mainWindow = nullptr;
    const QVector<MapPoint>* mapPoints = nullptr;
    Data data;
    int grafikMode = 0;
    QString grafikType = QStringLiteral("");
    QString pulsarName;
    QString plosh = QStringLiteral("");
    QVector<QVector<double>> arrGrafikY;
    QVector<double> arrGrafikX;
    QVector<double> arrGridY;
    QVector<QString> labelsX1;
    QVector<QString> labelsX2;
    QVector<QString> labelsX3;
    QVector<QString> labelsMulti1;
    QVector<QString> labelsMulti2;
    int labelStep1 = 1;
    int labelStep2 = 1;
    int labelStep3 = 1;
    int precisionY = 3;
    int precisionX = 0;
    QVector<QVector<Point3sigma>> points3sigma;
    QVector<int> markers;
    QVector<double> markersX;
    QVector<double> markersY;
    QVector<bool> visible;
    int points = 100;
    double xLimit = 0;
    int dx01 = 60;
    int dx02 = 30;
    int dy01 = 50;
    int dy02 = 50;
    double xAxisMin = 0;
    double yAxisMin = 0;
    double xAxisMax = 0;
    double yAxisMax = 0;
    double xScale = 0;
    double yScale = 0;
    double yMax = 100.0;
    double yMin = 0;
    bool hintShown = false;
    QString hintText;
    bool showGrid = false;
    QMutex mutex;
    bool forPrint = false;
    int circlePlus = 0;
    float stopIncreasePeriod = 0;
    QString title;
    QString captionY;
    QVector<GrafikNote> notes;
    QSize canvasSize;
    QVector<QString> colorNames;
    bool buttonDown = false;

    void showStartHint();
    bool updateRange();
    // (x, height above the bottom edge) -> data values; -1 for a coordinate outside the plot area.
    QPointF pixelToValue(QPointF point) const;

    // Point index -> column, value -> row of a line graph; values that are not finite have no row,
    // and every pixel is clamped far outside the widget, never wild.
    struct CurveMap {
        const double* xs = nullptr; // X values, or none for the point index
        double origin = 0;
        double scale = 0;
        int height = 0;
        double lo = 0;
        double hi = 1;
        int plotHeight = 0;

        static int toPixel(double v) {
            constexpr double limit = double(1 << 24);
            if (!(v > -limit)) {
                return std::isnan(v) ? 0 : -(1 << 24);
            }
            return v < limit ? int(v) : (1 << 24);
        }
        int x(qint64 i) const { return 60 + toPixel(((xs ? xs[i] : double(i)) - origin) * scale); }
        bool y(double v, int& out) const {
            if (!std::isfinite(v)) {
                return false;
            }
            out = height - (50 + toPixel((v - lo) * plotHeight / (hi - lo)));
            return true;
        }
    };
    struct ColouredLine {
        QLine line;
        QColor colour;
    };
    struct AxisLabel {
        QPoint at; // baseline start, or baseline centre when `centred`
        QString text;
        bool centred = false;
    };
    // A line graph without its curves: lines under the curves (grid, markers), lines over them (zero
    // line, value markers, label lines), black ticks and the labels.
    struct LinePicture {
        QVector<ColouredLine> under;
        QVector<ColouredLine> over;
        QVector<QLine> ticks;
        QVector<AxisLabel> labels;
    };
    // Mode 0 (or 4 with `fromFirstX`) on a canvas of `size`; sets the margins, and mode 0 its scales,
    // and resets label steps out of range, as painting does.
    LinePicture linePicture(const QSize& size, bool fromFirstX);
    CurveMap curveMap(const QSize& size, bool fromFirstX) const;

    // --- Maps and the 3-sigma graph (fouriergrafik_maps.cpp) ---
    struct MapCircle {
        QRect rect;
        QColor colour;
    };
    // Text of a period tick of the log map; decimals are chosen from the value rounded to 9 decimals,
    // so accumulated ticks such as 0.09999999999999999 read as their decimal value.
    static QString periodTickText(double v);
    static int periodTickLength(const QString& text);
    static bool periodLabelled(const QString& text, const QString& plosh, bool forPrint);
    // The selected map points of mode 1 or 3 as circles, from the axis fields of the last paint;
    // points that a log axis cannot place are left out.
    QVector<MapCircle> mapCircles() const;
    // Value labels of the 3-sigma graph's S/N axis on the last canvas: anchor and text.
    QVector<AxisLabel> sum3sigmaYLabels() const;
    // The first visible 3-sigma point in the value box (a corner of -1 leaves its bounds open):
    // "index#dm#snr#info", or "-1".
    QString findPoint3sigma(QPointF low, QPointF high) const;

    void drawLabel(QPainter* painter, QPoint at, const QString& text);
    void drawBoxedLabel(QPainter* painter, QPoint at, const QString& text);

    // v with `decimals` decimals, kept within what a fixed-point text can have (0 to 15): the labels'
    // and the panel's numbers.
    static QString fixed(double v, int decimals);

    QPoint flipY(QPoint p) const;
    QPointF flipY(QPointF p) const;
    int flipY(int y) const;
    double flipY(double y) const;
    QString timeLabel(int index) const;

signals:
    void coordsChanged(QPointF, QVector<QString>);
    void clickedOnMap(QPointF coord0, QPointF coord1, QPointF coord2);
    void clickedOnPoint3sigma(QPointF point0, QString str);

public slots:
    void mainWindowSizeChanged();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void drawGrafik(QPainter* painter);
    void drawGrafikFromFirstX(QPainter* painter);
    void drawMapLog(QPainter* painter);
    void drawSum3sigma(QPainter* painter);
    void drawMapLinear(QPainter* painter);
    void drawTitles(QPainter* painter);
    void drawNotes(QPainter* painter);
    void drawHint(QPainter* painter, bool keepFont);
    void drawLines(QPainter* painter, bool fromFirstX);
    bool mapAxesError(QPainter* painter, bool linearX);
    void drawMapPoints(QPainter* painter);
    void layOutNote(GrafikNote& note, const QFontMetrics& metrics) const;
    // The note's place as ratios of the plot area, which followResize scales back after a resize.
    void keepNoteRatios(GrafikNote& note) const;
    void followResize(int width, int height);
};

#endif // FOURIERGRAFIK_H
