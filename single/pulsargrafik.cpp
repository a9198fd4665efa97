#include "single/pulsargrafik.h"

#include "core/plotframe.h"
#include "core/tables.h"

#include <QLine>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <cmath>

namespace {

// A coordinate the painter can take: non-finite values have none, huge ones are pinned far outside.
bool toPixel(float f, int& out) {
    if (!std::isfinite(f)) {
        return false;
    }
    out = static_cast<int>(qBound(-1.0e6f, f, 1.0e6f));
    return true;
}

QPen cosmetic(const QColor& color) {
    QPen pen(color);
    pen.setWidth(0);
    return pen;
}

QColor curveColor(int i) {
    return QColor(graphColors[i % graphColors.size()]);
}

// The value range used for the mapping. A flat or non-finite range would divide by zero, so it is
// widened around the value for drawing only.
void mappingRange(float yMin, float yMax, float& lo, float& hi) {
    lo = yMin;
    hi = yMax;
    if (!std::isfinite(lo)) {
        lo = std::isfinite(hi) ? hi : 0.0f;
    }
    if (!std::isfinite(hi)) {
        hi = lo;
    }
    if (hi == lo) {
        const float d = std::max(1.0f, std::fabs(lo) * 0.001f);
        lo -= d;
        hi += d;
        if (!std::isfinite(lo) || !std::isfinite(hi)) {
            lo = -1.0f;
            hi = 1.0f;
        }
    }
}

// Point index and value to pixels: x = left + trunc(i * step), y = bottom - trunc((v - lo) * plotH /
// (hi - lo)). Also the mapping the shared series drawing takes, which draws a pixel column crowded with
// points as one span: the same pixels as every segment, at a cost that follows the width.
struct CurveMap {
    int left;
    float step;
    int bottom;
    float lo;
    float hi;
    float plotH;

    bool xPixel(qint64 i, int& out) const {
        if (!toPixel(float(i) * step, out)) {
            return false;
        }
        out += left;
        return true;
    }
    int x(qint64 i) const {
        int out = left;
        xPixel(i, out);
        return out;
    }
    bool y(float v, int& out) const {
        if (!toPixel((v - lo) * plotH / (hi - lo), out)) {
            return false;
        }
        out = bottom - out;
        return true;
    }
};

} // namespace

PulsarGrafik::PulsarGrafik(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
}

PulsarGrafik::~PulsarGrafik() = default;

void PulsarGrafik::showHint() {
    hintShown = true;
    hintText =
        QStringLiteral("Установите нужные параметры в форме слева, выберите Action, и нажмите кнопку Ok...");
    repaint();
}

bool PulsarGrafik::updateRange() {
    bool counted = false;
    bool anyFinite = false;
    auto take = [&](float v) {
        // NaN and infinities would make the whole range unusable; they are left out.
        if (!std::isfinite(v)) {
            return;
        }
        anyFinite = true;
        if (v > yMax) {
            yMax = v;
        }
        if (v < yMin) {
            yMin = v;
        }
    };
    if (!arrGrafiksRaw.isEmpty()) {
        yMax = -100000;
        yMin = 100000;
        for (int i = 0; i < arrGrafiksRaw.size(); ++i) {
            const float* curve = arrGrafiksRaw[i];
            if (!visible.value(i, false) || !curve) {
                continue;
            }
            counted = true;
            for (int k = 0; k < points; ++k) {
                take(curve[k]);
            }
        }
    }
    if (!arrGrafiks.isEmpty()) {
        yMax = -100000;
        yMin = 100000;
        counted = false;
        anyFinite = false;
        for (int l = 0; l < arrGrafiks.size(); ++l) {
            if (!visible.value(l, false)) {
                continue;
            }
            counted = true;
            for (float v : arrGrafiks[l]) {
                take(v);
            }
        }
    }
    if (!counted || !anyFinite) {
        yMax = 0;
        yMin = 0;
    }
    repaint();
    return true;
}

void PulsarGrafik::paintEvent(QPaintEvent* event) {
    if (PlotFrame::paintable(size())) {
        canvasSize = size();
        QPainter painter(this);
        PlotFrame::paintBackground(&painter, size());
        drawFrame(&painter);
        drawGraphs(&painter);
    }
    event->accept();
}

// The edges only: this plot has no ticks of the shared frame.
void PulsarGrafik::drawFrame(QPainter* painter) {
    PlotFrame::drawEdges(painter, size());
}

void PulsarGrafik::drawLabel(QPainter* painter, QPoint at, const QString& text) {
    PlotFrame::drawLabel(painter, at, text);
}

void PulsarGrafik::drawGraphs(QPainter* painter) {
    dy01 = 70;
    dy02 = 30;
    dx01 = 60;
    dx02 = 30;
    const int w = width();
    const int h = height();

    if (hintShown) {
        painter->setPen(cosmetic(Qt::black));
        painter->setFont(QFont(QStringLiteral("Arial"), 11));
        drawLabel(painter, QPoint(30, 60), hintText);
        return;
    }

    if (points == 0 && !arrGrafiks.isEmpty()) {
        for (const QVector<float>& g : arrGrafiks) {
            points = std::max(points, g.size());
        }
    }

    const int plotW = w - dx01 - dx02;
    const int plotH = h - dy01 - dy02;
    const float step = points > 0 ? float(plotW) / float(points) : 0.0f;
    float lo = 0;
    float hi = 0;
    mappingRange(yMin, yMax, lo, hi);
    const float plotHf = float(plotH);
    const CurveMap curveMap{dx01, step, h - dy01, lo, hi, plotHf};
    auto xOf = [&](int i, int& x) { return curveMap.xPixel(i, x); };
    auto yOf = [&](float v, int& y) { return curveMap.y(v, y); };
    auto zeroLine = [&](const QColor& color) {
        int x0, x1, y;
        if (yMin <= 0 && points > 1 && xOf(0, x0) && xOf(points - 1, x1) && yOf(0.0f, y)) {
            painter->setPen(cosmetic(color));
            painter->drawLine(x0, y, x1, y);
        }
    };

    if (!arrGrafiksRaw.isEmpty() && points > 0) {
        for (int i = 0; i < arrGrafiksRaw.size(); ++i) {
            const float* curve = arrGrafiksRaw[i];
            if (!visible.value(i, false) || !curve) {
                continue;
            }
            painter->setPen(cosmetic(curveColor(i)));
            PlotFrame::drawSeries(painter, curveMap, curve, qint64(points));
        }
        zeroLine(Qt::lightGray);
    }

    painter->setPen(cosmetic(Qt::black));

    if (!arrGrafiks.isEmpty() && !visible.isEmpty() && points > 0) {
        for (int l = 0; l < arrGrafiks.size(); ++l) {
            if (!visible.value(l, false)) {
                continue;
            }
            const QVector<float>& curve = arrGrafiks[l];
            painter->setPen(cosmetic(curveColor(l)));
            PlotFrame::drawSeries(painter, curveMap, curve.constData(), qint64(curve.size()));
        }
        zeroLine(Qt::black);
    }

    for (int k = 0; k < markers.size(); ++k) {
        int x;
        if (xOf(markers[k], x)) {
            painter->setPen(cosmetic(curveColor(k)));
            painter->drawLine(x, dy02, x, h - dy01);
        }
    }

    painter->setPen(cosmetic(Qt::gray));
    painter->drawLine(dx01, dy02, dx01, h - dy01);

    // Value labels every 50 pixels upward from the zero line. The start is moved up to the first
    // height that can be seen, so a zero line far below the plot costs no time.
    painter->setPen(cosmetic(Qt::black));
    const float z = float(dy01) - plotHf * lo / (hi - lo);
    if (plotH != 0 && std::isfinite(z)) {
        const float limit = float(h - 20);
        const double skip = z < -50.0f ? std::floor((-50.0 - double(z)) / 50.0) : 0.0;
        for (double k = skip;; k += 1.0) {
            const float c = z + float(50.0 * k);
            if (!(c < limit)) {
                break;
            }
            const float value = std::round((lo + (hi - lo) / plotHf * (c - float(dy01))) * 1000.0f) / 1000.0f;
            const int y = h - int(std::lround(c));
            drawLabel(painter, QPoint(14, y + 4), QString::number(double(value), 'g', 6));
            painter->drawLine(0, y, 6, y);
            painter->drawLine(w - 6, y, w, y);
        }
    }

    labelStep1 = std::max(labelStep1, 1);
    labelStep2 = std::max(labelStep2, 1);
    labelStep3 = std::max(labelStep3, 1);
    if (plotW < 0) {
        return;
    }
    auto indexAt = [&](int o) { return step > 0 ? int(std::lround(float(o) / step)) : 0; };
    // Label rows hold one text per point; an index past a row's end shows nothing.
    for (qint64 o = 0; o <= plotW; o += qint64(labelStep1) * 50) {
        const int x = dx01 + int(o);
        const int idx = indexAt(int(o));
        if (!labelsX1.isEmpty()) {
            drawLabel(painter, QPoint(x, h - 10), labelsX1.value(idx));
        } else {
            drawLabel(painter, QPoint(x, h - 15), QString::number(idx));
        }
        painter->drawLine(x, h, x, h - 6);
        painter->drawLine(x, 0, x, 6);
    }
    if (!labelsX2.isEmpty()) {
        for (qint64 o = 0; o <= plotW; o += qint64(labelStep2) * 50) {
            drawLabel(painter, QPoint(dx01 + int(o), h - 30), labelsX2.value(indexAt(int(o))));
        }
    }
    if (!labelsX3.isEmpty()) {
        for (qint64 o = 0; o <= plotW; o += qint64(labelStep3) * 50) {
            drawLabel(painter, QPoint(dx01 + int(o), h - 45), labelsX3.value(indexAt(int(o))));
        }
    }
    if (markers.isEmpty()) {
        painter->setPen(cosmetic(QColor(238, 238, 238)));
        for (int o = 0; o <= plotW; o += 50) {
            painter->drawLine(dx01 + o, dy02, dx01 + o, h - dy01);
        }
    }
}

QPointF PulsarGrafik::toDataCoords(QPointF q) const {
    const double W = canvasSize.width();
    const double H = canvasSize.height();
    double index = -1;
    double value = -1;
    if (!(q.x() < dx01 || q.x() > W - dx02 || W == dx01 + dx02)) {
        index = (q.x() - dx01) * points / (W - dx01 - dx02);
    }
    if (!(q.y() < dy01 || q.y() > H - dy02 || H == dy01 + dy02)) {
        value = (q.y() - dy01) * (double(yMax) - double(yMin)) / (H - dy01 - dy02) + double(yMin);
    }
    return QPointF(index, value);
}

void PulsarGrafik::mouseMoveEvent(QMouseEvent* event) {
    if (!canvasSize.isValid()) {
        return;
    }
    const QPoint pos = event->pos();
    const QPointF p = toDataCoords(QPointF(pos.x(), canvasSize.height() - pos.y()));
    const int idx = static_cast<int>(qBound(-1.0, p.x(), 2.0e9));
    QVector<QString> texts;
    if (!labelsX1.isEmpty()) {
        texts.append(idx >= 0 && idx < labelsX1.size() ? labelsX1[idx] : QStringLiteral("no"));
    }
    if (!labelsX2.isEmpty()) {
        texts.append(idx >= 0 && idx < labelsX2.size() ? labelsX2[idx] : QStringLiteral("no"));
    }
    if (!labelsX3.isEmpty()) {
        texts.append(idx > 0 && idx < labelsX3.size() ? labelsX3[idx] : QStringLiteral("n"));
    }
    emit coordsChanged(p, texts);
}
