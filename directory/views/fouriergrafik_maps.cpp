#include "core/tables.h"
#include "directory/views/fouriergrafik.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {
const QStringList n4Labels = {"0.006", "0.01", "0.02", "0.03", "0.05", "0.1", "0.2", "0.3", "0.4",
                              "0.6",   "0.8",  "1",    "2",    "3",    "4",   "5",   "6"};
const QStringList screenLabels = {"0.02", "0.03", "0.04", "0.06", "0.1", "0.2", "0.3", "0.4", "0.7",
                                  "1",    "2",    "3",    "4",    "5",   "6",   "7",   "8",   "9",
                                  "10",   "11",   "12",   "13",   "14",  "15",  "16",  "17",  "18",
                                  "19",   "20",   "30",   "40",   "50",  "60",  "70",  "80"};
const QStringList printLabels = {"0.02", "0.05", "0.1", "0.2", "0.5", "1", "3", "5", "7"};

int px(double v) {
    return FourierGrafik::CurveMap::toPixel(v);
}

QVector<double> log10Of(const QVector<double>& values) {
    QVector<double> out;
    out.reserve(values.size());
    for (double v : values) {
        out.append(std::log10(v));
    }
    return out;
}

// Ticks of length `len` at row `r` on both sides, or at column `c` at top and bottom.
void rowTicks(QPainter* painter, int W, int r, int len) {
    painter->drawLine(0, r, len, r);
    painter->drawLine(W - len, r, W, r);
}

void columnTicks(QPainter* painter, int H, int c, int len) {
    painter->drawLine(c, H, c, H - len);
    painter->drawLine(c, len, c, 0);
}

// Digit 1..9 and decade of the i-th value of a nine-per-decade grid.
int digitOf(int i) {
    return i % 9 + 1;
}

int decadeOf(int i) {
    return i / 9;
}

bool usable(double a, double b) {
    return std::isfinite(a) && std::isfinite(b) && a != b;
}
} // namespace

QString FourierGrafik::periodTickText(double v) {
    const double r = std::round(v * 1e9) / 1e9;
    const int decimals = r < 0.01 ? 3 : r < 0.1 ? 2 : r < 0.999 ? 1 : 0;
    return QString::number(r, 'f', decimals);
}

int FourierGrafik::periodTickLength(const QString& text) {
    return (text == QLatin1String("0.001") || text == QLatin1String("0.01") || text == QLatin1String("0.1") ||
            text == QLatin1String("1"))
               ? 10
               : 6;
}

bool FourierGrafik::periodLabelled(const QString& text, const QString& plosh, bool forPrint) {
    if (plosh == QLatin1String("N4")) {
        return n4Labels.contains(text);
    }
    return forPrint ? printLabels.contains(text) : screenLabels.contains(text);
}

bool FourierGrafik::mapAxesError(QPainter* painter, bool linearX) {
    dx01 = 40;
    dx02 = 40;
    dy01 = 36;
    dy02 = 36;
    painter->setPen(Qt::black);
    QString error;
    if (hintShown) {
        error = hintText;
    } else if (arrGrafikX.isEmpty() || arrGridY.isEmpty()) {
        error = QStringLiteral("Error of info about axeses!");
    } else {
        const double x0 = linearX ? arrGrafikX.first() : std::log10(arrGrafikX.first());
        const double x1 = linearX ? arrGrafikX.last() : std::log10(arrGrafikX.last());
        if (!usable(x0, x1) || !usable(std::log10(arrGridY.first()), std::log10(arrGridY.last()))) {
            error = QStringLiteral("Error of value arrGrafik axeses!");
        }
    }
    if (error.isEmpty()) {
        return false;
    }
    painter->setFont(QFont(QStringLiteral("Arial"), 11));
    drawLabel(painter, QPoint(30, 60), error);
    return true;
}

QVector<FourierGrafik::MapCircle> FourierGrafik::mapCircles() const {
    QVector<MapCircle> circles;
    if (!mapPoints || (grafikMode != 1 && grafikMode != 3)) {
        return circles;
    }
    const int H = canvasSize.height();
    const double PW = canvasSize.width() - dx01 - dx02;
    const bool linearX = grafikMode == 3;
    for (const MapPoint& p : *mapPoints) {
        if (!p.selected) {
            continue;
        }
        // A log axis has no place for 0 or a negative value.
        if (p.dispersion <= 0 || (!linearX && !(p.period > 0))) {
            continue;
        }
        const int size = circlePlus + p.circleSize;
        const bool beyond = stopIncreasePeriod >= 0 && p.period > double(stopIncreasePeriod);
        int d = std::max(size, 0);
        QColor colour(graphColors[0]);
        if (beyond) {
            if (size < 6) {
                continue;
            }
            d = 1;
            colour = QColor(graphColors[3]);
        } else if (!linearX && p.withNulls == 0) {
            colour = QColor(graphColors[1]);
        }
        const int half = d / 2;
        const double along = linearX ? (p.period - xAxisMin) * PW / (xAxisMax - xAxisMin)
                                     : (std::log10(p.period) - xAxisMin) * xScale;
        const int L = px(dx01 + along - half);
        const int B = px(half + dy01 + (std::log10(double(p.dispersion)) - yAxisMin) * yScale);
        circles.append(MapCircle{QRect(L, H - B, d, d), colour});
    }
    return circles;
}

void FourierGrafik::drawMapPoints(QPainter* painter) {
    for (const MapCircle& c : mapCircles()) {
        painter->setPen(c.colour);
        painter->setBrush(QBrush(c.colour, Qt::SolidPattern));
        painter->drawEllipse(c.rect);
    }
    painter->setBrush(Qt::NoBrush);
}

void FourierGrafik::drawMapLog(QPainter* painter) {
    if (mapAxesError(painter, false)) {
        return;
    }
    const int W = canvasSize.width();
    const int H = canvasSize.height();
    const QVector<double> lx = log10Of(arrGrafikX);
    const QVector<double> ly = log10Of(arrGridY);
    xScale = double(W - dx01 - dx02) / (lx.last() - lx.first());
    yScale = double(H - dy01 - dy02) / (ly.last() - ly.first());
    xAxisMin = lx.first();
    xAxisMax = lx.last();
    yAxisMin = ly.first();
    yAxisMax = ly.last();
    auto column = [&](double v) { return dx01 + px((std::log10(v) - xAxisMin) * xScale); };
    auto height = [&](double v) { return dy01 + px((std::log10(v) - yAxisMin) * yScale); };

    painter->setPen(Qt::lightGray);
    for (double v : arrGrafikX) {
        const int c = column(v);
        painter->drawLine(c, dy01, c, H - dy01);
    }
    for (double v : arrGridY) {
        const int y = H - height(v);
        painter->drawLine(W - dx02, y, dx01, y);
    }

    painter->setPen(Qt::black);
    for (int i = 0; i < arrGridY.size(); ++i) {
        const double v = arrGridY[i];
        const int n = digitOf(i);
        const int d = decadeOf(i);
        const int y = height(v);
        if (!forPrint) {
            if (n != 7 && n != 9 && (n == 1 || d <= 2)) {
                drawLabel(painter, QPoint(W - 30, H - y + 4), QString::number(std::log10(v), 'f', 1));
                drawLabel(painter, QPoint(12, H - y + 4), QString::number(v, 'f', 0));
            }
            rowTicks(painter, W, H - y, n == 1 ? 9 : 6);
        } else {
            const bool labelled = n == 1 || n == 4 || n == 6 || (n == 2 && d <= 2);
            if (labelled) {
                drawLabel(painter, QPoint(13, H - y + 4), QString::number(v, 'f', 0));
            }
            rowTicks(painter, W, H - y, n == 1 ? 9 : labelled ? 7 : 4);
        }
    }
    const bool printList = plosh != QLatin1String("N4") && forPrint;
    for (double v : arrGrafikX) {
        const int c = column(v);
        const QString text = periodTickText(v);
        const int offset = text.contains(QLatin1Char('.')) ? 7 : 2;
        if (periodLabelled(text, plosh, forPrint)) {
            drawLabel(painter, QPoint(c - offset, H - 15), text);
            if (!printList) {
                drawLabel(painter, QPoint(c - offset, 24), text);
            }
        }
        painter->setPen(Qt::black);
        columnTicks(painter, H, c, periodTickLength(text));
    }

    drawMapPoints(painter);
    painter->setPen(QColor(QStringLiteral("green")));
    for (double v : markersX) {
        if (v > 0) {
            const int c = column(v);
            painter->drawLine(c, H - dy01, c, dy02);
        }
    }
    painter->setPen(Qt::black);
    for (double v : markersY) {
        if (v > 0) {
            const int y = H - height(v);
            painter->drawLine(dx01, y, W - dx02, y);
        }
    }
}

void FourierGrafik::drawMapLinear(QPainter* painter) {
    if (mapAxesError(painter, true)) {
        return;
    }
    const int W = canvasSize.width();
    const int H = canvasSize.height();
    const int PW = W - dx01 - dx02;
    const QVector<double> ly = log10Of(arrGridY);
    yScale = double(H - dy01 - dy02) / (ly.last() - ly.first());
    xAxisMin = arrGrafikX.first();
    xAxisMax = arrGrafikX.last();
    yAxisMin = ly.first();
    yAxisMax = ly.last();
    auto column = [&](double v) { return dx01 + px((v - xAxisMin) * PW / (xAxisMax - xAxisMin)); };
    auto height = [&](double v) { return dy01 + px((std::log10(v) - yAxisMin) * yScale); };

    painter->setPen(Qt::lightGray);
    for (double v : arrGridY) {
        const int y = H - height(v);
        painter->drawLine(W - dx02, y, dx01, y);
    }
    for (int i = 0; i < arrGridY.size(); ++i) {
        const double v = arrGridY[i];
        const int n = digitOf(i);
        const int y = height(v);
        painter->setPen(Qt::black);
        rowTicks(painter, W, H - y, 6);
        if (n != 7 && n != 9 && (n == 1 || decadeOf(i) <= 2)) {
            if (!forPrint) {
                drawLabel(painter, QPoint(W - 30, H - y + 4), QString::number(std::log10(v), 'f', 1));
            }
            drawLabel(painter, QPoint(12, H - y + 4), QString::number(v, 'f', 0));
        }
    }
    auto xTick = [&](int c) {
        painter->setPen(Qt::black);
        columnTicks(painter, H, c, 6);
        painter->setPen(Qt::lightGray);
        painter->drawLine(c, dy01, c, H - dy01);
    };
    for (int c = dx01; c <= W - dx02; c += 50) {
        xTick(c);
        if (c + 49 < W - dx02) {
            const double v = arrGrafikX.first() + (arrGrafikX.last() - arrGrafikX.first()) * (c - dx01) / PW;
            drawLabel(painter, QPoint(c, H - 10), QString::number(v, 'f', 2));
        }
    }
    drawLabel(painter, QPoint(W - dx02 - 7, H - 10), QString::number(arrGrafikX.last(), 'f', 2));
    xTick(W - dx02);

    painter->setPen(QColor(QStringLiteral("blue")));
    for (double v : markersX) {
        const int c = column(v);
        painter->drawLine(c, H - dy01, c, dy01);
    }
    painter->setPen(QColor(QStringLiteral("green")));
    for (double v : markersY) {
        if (v > 0) {
            const int y = H - height(v);
            painter->drawLine(dx01, y, W - dx02, y);
        }
    }
    drawMapPoints(painter);
}

QVector<FourierGrafik::AxisLabel> FourierGrafik::sum3sigmaYLabels() const {
    QVector<AxisLabel> labels;
    const int H = canvasSize.height();
    const double PH = H - dy01 - dy02;
    const double span = yMax - yMin;
    if (!(PH > 0) || !std::isfinite(span) || span == 0 || !std::isfinite(yMin)) {
        return labels;
    }
    double yb = dy01 - PH * yMin / span;
    if (!std::isfinite(yb)) {
        return labels;
    }
    // Labels below the canvas show nothing; the walk starts at the first one that can.
    if (yb < 0) {
        yb += 50 * std::ceil(-yb / 50);
    }
    for (; yb < H - 20; yb += 50) {
        const double value = std::round((yMin + (yb - dy01) * span / PH) * 1000) / 1000;
        const int r = H - px(std::round(yb));
        labels.append(AxisLabel{QPoint(14, r + 4), QString::number(value == 0 ? 0.0 : value, 'f', 1), false});
    }
    return labels;
}

void FourierGrafik::drawSum3sigma(QPainter* painter) {
    dx01 = 60;
    dx02 = 20;
    dy01 = 36;
    dy02 = 36;
    painter->setPen(Qt::black);
    if (hintShown) {
        drawHint(painter, true);
        return;
    }
    if (arrGrafikX.isEmpty()) {
        drawLabel(painter, QPoint(30, 60), QStringLiteral("Error of info about axe X!"));
        return;
    }
    const QVector<double> lx = log10Of(arrGrafikX);
    if (!usable(lx.first(), lx.last())) {
        drawLabel(painter, QPoint(30, 60), QStringLiteral("Error of value arrGrafik axeses!"));
        return;
    }
    const int W = canvasSize.width();
    const int H = canvasSize.height();
    const double PH = H - dy01 - dy02;
    xScale = double(W - dx01 - dx02) / (lx.last() - lx.first());
    xAxisMin = lx.first();
    xAxisMax = lx.last();
    auto column = [&](double v) { return dx01 + px((std::log10(v) - xAxisMin) * xScale); };

    painter->setPen(Qt::lightGray);
    for (double v : arrGrafikX) {
        const int c = column(v);
        painter->drawLine(c, dy01, c, H - dy01);
    }
    for (int i = 0; i < arrGrafikX.size(); ++i) {
        const int c = column(arrGrafikX[i]);
        const int n = digitOf(i);
        const int d = decadeOf(i);
        const bool labelled =
            d == 0 || (d == 1 && n != 7 && n != 9) || (d == 2 && (n <= 5 || n == 7)) || (d == 3 && n == 1);
        if (labelled) {
            const int offset = 2 + 3 * d;
            const QString text = QString::number(arrGrafikX[i], 'f', 0);
            drawLabel(painter, QPoint(c - offset, H - 15), text);
            drawLabel(painter, QPoint(c - offset, 24), text);
        }
        painter->setPen(Qt::lightGray);
        columnTicks(painter, H, c, n == 1 ? 10 : 6);
    }
    for (const AxisLabel& label : sum3sigmaYLabels()) {
        drawLabel(painter, label.at, label.text);
        const int r = label.at.y() - 4;
        painter->setPen(Qt::lightGray);
        rowTicks(painter, W, r, 6);
        painter->drawLine(dx01, r, W - dx02, r);
    }

    const double span = yMax - yMin;
    for (int j = 0; j < points3sigma.size(); ++j) {
        if (!visible.value(j, false)) {
            continue;
        }
        const QColor colour(graphColors[j % graphColors.size()]);
        painter->setPen(colour);
        painter->setBrush(QBrush(colour, Qt::SolidPattern));
        QPoint previous;
        bool havePrevious = false;
        for (const Point3sigma& p : points3sigma[j]) {
            if (!(p.disp > 0) || !std::isfinite(p.snr)) {
                havePrevious = false;
                continue;
            }
            const int heightOf = px(PH * (p.snr - yMin) / span) + dy01;
            const QPoint centre(column(p.disp), H - heightOf);
            const int L = px(dx01 + (std::log10(p.disp) - xAxisMin) * xScale - 2);
            painter->drawEllipse(QRect(L, H - (heightOf + 2), 4, 4));
            if (havePrevious) {
                painter->drawLine(previous, centre);
            }
            previous = centre;
            havePrevious = true;
        }
    }
    painter->setBrush(Qt::NoBrush);
}

QString FourierGrafik::findPoint3sigma(QPointF low, QPointF high) const {
    const double x1 = low.x();
    const double y1 = low.y();
    const double x2 = high.x();
    const double y2 = high.y();
    for (int j = 0; j < points3sigma.size(); ++j) {
        if (!visible.value(j, false)) {
            continue;
        }
        for (const Point3sigma& p : points3sigma[j]) {
            if (p.disp >= x1 && p.snr >= y1 && (p.disp <= x2 || std::trunc(x2) == -1) &&
                (p.snr <= y2 || std::trunc(y2) == -1)) {
                return QStringLiteral("%1#%2#%3#%4")
                    .arg(j)
                    .arg(p.disp, 0, 'f', 0)
                    .arg(p.snr, 0, 'f', 1)
                    .arg(p.info);
            }
        }
    }
    return QStringLiteral("-1");
}
