#ifndef PROFILEPLOT_H
#define PROFILEPLOT_H

#include "core/plotframe.h"

#include <QLine>
#include <QMutex>
#include <QObject>
#include <QPair>
#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QSize>
#include <QString>
#include <QVector>

#include <algorithm>

class QFont;
class QPainter;

// The whole of the profile plot without a widget: the public fields its owners fill, the point count
// and Y range of redraw(), the margins and mapping of each paint, labels, ticks and marker lines as
// data, the painting itself, the conversion of pixels to values, the statistics coordinates text, the
// rubber band and the selection report. Widget classes derive from QWidget and from this, forward their
// events here and keep only signals, the clipboard and the boxes. Plain values only; nothing is owned.
class ProfilePlot {
public:
    // debugName is the class named by the debug line about unusable X values.
    ProfilePlot(const QString& grafikType, const char* debugName);
    ProfilePlot(const ProfilePlot&) = delete;
    ProfilePlot& operator=(const ProfilePlot&) = delete;

    QString grafikType;
    int grafikMode = 1;
    bool drawCircles = false;
    bool inGrid = false;
    QString background;
    QVector<QVector<double>> arrGrafikY;
    QVector<QString> colors;
    QVector<double> arrGrafikX;
    QVector<QString> labelsX;
    QVector<QPair<QString, QString>> ticksX;
    QVector<bool> visible;
    QVector<int> markers;
    QVector<QString> markerLabels;
    QVector<QString> markerColors;
    int radius = 3;
    bool fixedYRange = false;
    QVector<QString> labelsBottom;
    QVector<QString> labelsTop;
    int precisionY = 1;
    int precisionX = 0;
    int nPoints = 100;
    double xLimit = 0;
    int dx01 = 60;
    int dx02 = 30;
    int dy01 = 50;
    int dy02 = 50;
    double xScale = 0;
    double yMax = 100.0;
    double yMin = 0.0;
    double maxValue = 0;
    QString date;
    bool hintShown = false;
    QString hintText;
    bool forPrint = false;
    QString caption1, caption2, caption3, caption4, caption5, caption6, caption7, caption8, caption9;
    QMutex selectionMutex;
    QPoint pressPoint;
    QRect selection;
    bool painted = false;

    static const QString startHint;

    // The point count and Y range of redraw().
    void updateRange();

    // Margins and xScale for a widget of this size; false (with the debug text) when the plot does not fit.
    bool computeLayout(const QSize& size, QString* error);

    // Pixel mapping of the last layout: x of point j (index series) or of an X value, and the row of a
    // value (QPainter's y). Pixels are clamped far outside the widget, never wild.
    int xOfPoint(qint64 j) const;
    int xOfValue(double x) const;
    int heightOf(double y) const;
    int rowOf(double y) const { return h - heightOf(y); }

    // The mapping handed to PlotFrame::drawSeries: point index -> x, value -> row; a value that is not
    // finite has no point.
    class Mapping {
    public:
        explicit Mapping(const ProfilePlot& plot) : plot(plot) {}
        int x(qint64 i) const { return plot.xOfPoint(i); }
        bool y(double v, int& out) const;

    private:
        const ProfilePlot& plot;
    };

    using Label = PlotFrame::Label;
    struct Axis {
        QVector<Label> labels;
        QVector<QLine> ticks;
    };
    // Y labels with their edge ticks; the walk below the zero line starts where a label can first touch
    // the widget, so nearly flat far-off data costs a few steps, not millions.
    Axis yAxis() const;
    // Y label heights of the walk (doubles, before rounding).
    QVector<double> yLabelHeights() const;
    // X labels and ticks; textWidth measures a label in the widget's own font.
    template <typename Width> Axis xAxis(Width textWidth) const;
    struct Marker {
        QLine line;
        QString color; // empty: gray
    };
    QVector<Marker> markerLines() const;

    // Paints the whole widget of the given size (frame, curves, labels, captions, rubber band).
    void paint(QPainter* painter, const QSize& size, const QFont& widgetFont);

    // Widget position (y counted up from the bottom) -> (point position, value).
    QPointF pixelToValue(QPointF p) const;
    // The coordinates text of a statistics graph for a value position.
    QString statisticsText(const QPointF& v) const;
    // The index of labelsX under a widget position, or -1 when out of range.
    int statisticIndexAt(const QPoint& pos) const;

    // Rubber band: what a press at pos does.
    enum class BandPress { StartedBand, RestartedBand, InsideBand };
    BandPress pressBand(const QPoint& pos);
    // Stretches the band to pos while a button is held.
    void dragBand(const QPoint& pos);

    struct Report {
        QString line; // the clipboard line
        QString text; // the box text
    };
    Report selectionReport(const QRect& band) const;
    // The report box text of a band; the line goes to the application clipboard when `toClipboard`.
    QString reportText(const QRect& band, bool toClipboard) const;

    // What a move or press asks of the widget that shows this plot: a repaint, the coordinates signal,
    // the date-click signal. Both plot widgets share the rule; carryOut() does it on either of them.
    struct MouseOutcome {
        bool repaint = false;
        bool coords = false;
        QPointF value;
        QString coordsText;
        bool dateClicked = false;
        QString clickedDate;
        bool leftOnly = false;
    };
    // A move: the coordinates of a "statistics" graph, the band of a "profile" graph.
    MouseOutcome mouseMove(const QPoint& pos);
    // A press on a "profile" graph (the band and its report box) or a "statistics" graph (a day).
    MouseOutcome mousePress(const QPoint& pos, Qt::MouseButtons buttons, bool toClipboard);
    template <typename Widget> static void carryOut(Widget* widget, const MouseOutcome& outcome);

    int paintedWidth() const { return w; }
    int paintedHeight() const { return h; }

private:
    void drawGrafik(QPainter* painter, const QFont& widgetFont);
    void drawCurves(QPainter* painter) const;
    void drawLabel(QPainter* painter, const QPoint& at, const QString& text) const;
    void drawFramedLabel(QPainter* painter, const QPoint& at, const QString& text) const;
    void drawCellCaptions(QPainter* painter) const;
    void drawCaptions(QPainter* painter) const;
    QString yLabelText(double y) const;
    int plotHeight() const { return h - dy01 - dy02; }

    const char* debugName;
    int w = 0;
    int h = 0;
};

template <typename Widget> void ProfilePlot::carryOut(Widget* widget, const MouseOutcome& outcome) {
    if (outcome.repaint) {
        widget->update();
    }
    if (outcome.coords) {
        emit widget->coordsChanged(outcome.value, outcome.coordsText);
    }
    if (outcome.dateClicked) {
        emit widget->clickedStatisticDate(outcome.clickedDate, outcome.leftOnly);
    }
}

template <typename Width> ProfilePlot::Axis ProfilePlot::xAxis(Width textWidth) const {
    Axis axis;
    auto centred = [&](int x, int baseline, const QString& text) {
        axis.labels.append({QPoint(x - textWidth(text) / 2, baseline), text});
    };
    // A single label has no spacing and stands at the start of the axis.
    auto spaced = [&](const QVector<QString>& texts, int i) {
        const double step = texts.size() > 1 ? double(nPoints) / double(texts.size() - 1) : 0.0;
        return dx01 + int(std::min(std::max(double(i) * step * xScale, -16777216.0), 16777216.0));
    };
    for (int i = 0; i < labelsTop.size(); ++i) {
        const int x = spaced(labelsTop, i);
        axis.ticks.append(QLine(x, 0, x, 6));
        centred(x, 25, labelsTop[i]);
    }
    if (!labelsBottom.isEmpty()) {
        for (int i = 0; i < labelsBottom.size(); ++i) {
            const int x = spaced(labelsBottom, i);
            if (labelsTop.isEmpty()) {
                axis.ticks.append(QLine(x, 0, x, 6));
            }
            axis.ticks.append(QLine(x, h, x, h - 6));
            centred(x, h - 15, labelsBottom[i]);
        }
    } else if (!ticksX.isEmpty() && !labelsX.isEmpty()) {
        int k = 0;
        for (int j = 0; j < nPoints && j < labelsX.size() && k < ticksX.size(); ++j) {
            if (labelsX[j] != ticksX[k].first) {
                continue;
            }
            const int x = xOfPoint(j);
            const int len = ticksX[k].second.isEmpty() ? 4 : 8;
            axis.ticks.append(QLine(x, h, x, h - len));
            axis.ticks.append(QLine(x, 0, x, len));
            if (!ticksX[k].second.isEmpty()) {
                centred(x, h - 15, ticksX[k].second);
            }
            ++k;
        }
    } else if (w - dx01 - dx02 >= 0) {
        for (int off = 0; off <= w - dx01 - dx02; off += 50) {
            const double value = xScale != 0 ? off / xScale : 0.0;
            axis.labels.append({QPoint(dx01 + off, h - 15), QString::number(value, 'f', precisionX)});
            axis.ticks.append(QLine(dx01 + off, h, dx01 + off, h - 6));
            axis.ticks.append(QLine(dx01 + off, 0, dx01 + off, 6));
        }
    }
    return axis;
}

#endif // PROFILEPLOT_H
