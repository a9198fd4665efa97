// The line graphs of FourierGrafik: mode 0 (X from 0) and mode 4 (X from the first X value).
#include "directory/views/fouriergrafik.h"

#include "core/plotframe.h"
#include "core/tables.h"

#include <QDebug>
#include <QPainter>

#include <algorithm>
#include <limits>

namespace {

constexpr int marginLeft = 60;
constexpr int marginRight = 30;
constexpr int marginBottom = 50;
constexpr int marginTop = 50;

int roundHalfAway(double v) {
    return FourierGrafik::CurveMap::toPixel(std::round(v));
}

// The value range of the mapping: an empty or broken range is widened here, for drawing only.
void mappingRange(double yMin, double yMax, double& lo, double& hi) {
    lo = std::isfinite(yMin) ? yMin : 0;
    hi = std::isfinite(yMax) ? yMax : lo + 1;
    if (!(hi > lo)) {
        const double half = std::max(1.0, std::abs(lo) / 100);
        lo -= half;
        hi += half;
    }
}

// "-0", "-0.0", "-0.00", ... read "0".
QString withoutNegativeZero(const QString& text) {
    if (text.startsWith(QLatin1Char('-'))) {
        bool allZero = true;
        for (int i = 1; i < text.size(); ++i) {
            if (text[i] != QLatin1Char('0') && text[i] != QLatin1Char('.')) {
                allZero = false;
                break;
            }
        }
        if (allZero) {
            return QStringLiteral("0");
        }
    }
    return text;
}

// Non-decreasing or non-increasing finite values: their columns never turn back.
bool monotonic(const QVector<double>& xs, int n) {
    bool up = true;
    bool down = true;
    for (int i = 0; i < n; ++i) {
        if (!std::isfinite(xs[i])) {
            return false;
        }
        if (i > 0) {
            up = up && xs[i] >= xs[i - 1];
            down = down && xs[i] <= xs[i - 1];
        }
    }
    return up || down;
}

} // namespace

FourierGrafik::CurveMap FourierGrafik::curveMap(const QSize& size, bool fromFirstX) const {
    const int W = size.width();
    const int H = size.height();
    const int plotW = W - marginLeft - marginRight;
    CurveMap map;
    map.height = H;
    map.plotHeight = H - marginBottom - marginTop;
    mappingRange(yMin, yMax, map.lo, map.hi);
    const int nX = arrGrafikX.size();
    if (nX == 0) {
        map.scale = points > 1 ? double(plotW) / (points - 1) : 0;
        return map;
    }
    map.xs = arrGrafikX.constData();
    const double last = arrGrafikX[std::clamp(points, 1, nX) - 1];
    map.origin = fromFirstX ? arrGrafikX[0] : 0;
    if (last > 0 && last > map.origin) {
        map.scale = plotW / (last - map.origin);
    }
    if (!std::isfinite(map.scale)) {
        map.scale = 0;
    }
    return map;
}

FourierGrafik::LinePicture FourierGrafik::linePicture(const QSize& size, bool fromFirstX) {
    dx01 = marginLeft;
    dx02 = marginRight;
    dy01 = marginBottom;
    dy02 = marginTop;
    const int W = size.width();
    const int H = size.height();
    const int plotW = W - marginLeft - marginRight;
    const int plotH = H - marginBottom - marginTop;
    const CurveMap map = curveMap(size, fromFirstX);
    const int nX = arrGrafikX.size();
    const bool hasX = nX > 0;
    // Points shown: with X values never more than there are.
    const int shown = hasX ? std::clamp(points, 1, nX) : std::max(points, 0);
    if (hasX && !(map.scale > 0)) {
        qDebug() << "ERROR! FourierGrafik::drawGrafik: deltaX=0!!! arrGrafikX[0] = arrGrafikX[N]!";
    }
    if (!fromFirstX) {
        xScale = map.scale;
        yScale = plotH / (map.hi - map.lo);
    }
    const double scale = map.scale;
    auto column = [&](double v) { return marginLeft + CurveMap::toPixel((v - map.origin) * scale); };
    auto row = [&](double v) {
        int r = 0;
        map.y(v, r);
        return r;
    };
    const QColor lightGray(Qt::lightGray);
    LinePicture pic;

    // Grid.
    if (!fromFirstX && !forPrint && hasX) {
        QVector<bool> seen(std::max(W, 0) + 1, false);
        for (int i = 0; i < shown; ++i) {
            if (!std::isfinite(arrGrafikX[i])) {
                continue;
            }
            const int c = column(arrGrafikX[i]);
            if (c >= 0 && c <= W && !seen[c]) {
                seen[c] = true;
                pic.under.append({QLine(c, H - marginBottom, c, marginTop), lightGray});
            }
        }
    } else if (showGrid) {
        for (int k = 0; k * 50 <= plotW; ++k) {
            pic.under.append({QLine(marginLeft + k * 50, H - marginBottom, marginLeft + k * 50, marginTop),
                              QColor(238, 238, 238)});
        }
    }

    // Markers at X positions, then at X values.
    for (int i = 0; i < markers.size(); ++i) {
        const QColor colour = markers.size() < 3 ? QColor(Qt::blue) : QColor(colorNames.value(i % 8));
        const int c = column(markers[i]);
        pic.under.append({QLine(c, H - marginBottom, c, marginTop), colour});
    }
    const QColor blue(QStringLiteral("blue"));
    for (double v : markersX) {
        if (std::isfinite(v)) {
            const int c = column(v);
            pic.under.append({QLine(c, H - marginBottom, c, fromFirstX ? row(0) : marginTop), blue});
        }
    }

    // Zero line and value markers.
    if (!fromFirstX) {
        if (!arrGrafikY.isEmpty() && shown > 1) {
            // Point indices map to rising columns; X values may come in any order.
            int lo = column(0);
            int hi = column(shown - 1);
            if (hasX) {
                lo = 1 << 30;
                hi = -(1 << 30);
                for (int i = 0; i < shown; ++i) {
                    if (std::isfinite(arrGrafikX[i])) {
                        lo = std::min(lo, column(arrGrafikX[i]));
                        hi = std::max(hi, column(arrGrafikX[i]));
                    }
                }
            }
            if (lo < hi) {
                pic.over.append({QLine(lo, row(0), hi, row(0)), lightGray});
            }
        }
    } else {
        if (!arrGrafikY.isEmpty()) {
            for (double v : markersY) {
                if (std::isfinite(v)) {
                    pic.over.append({QLine(marginLeft, row(v), W - marginRight, row(v)), lightGray});
                }
            }
        }
    }

    // Value labels every 50 pixels from the height of 0; the loops start at the first height that can
    // be seen, so a zero far outside the plot costs nothing.
    const double zero = marginBottom - plotH * map.lo / (map.hi - map.lo);
    if (fromFirstX) {
        const int r0 = H - roundHalfAway(zero);
        pic.over.append({QLine(marginLeft, r0, W - marginRight, r0), lightGray});
    }
    auto valueLabel = [&](double yb) {
        const double value = map.lo + (yb - marginBottom) * (map.hi - map.lo) / plotH;
        const QString text =
            fromFirstX ? fixed(value, precisionY) : withoutNegativeZero(fixed(value, precisionY));
        const int r = H - roundHalfAway(yb);
        pic.labels.append({QPoint(14, r + 4), text});
        pic.ticks << QLine(0, r, 6, r) << QLine(W - 6, r, W, r);
    };
    if (std::isfinite(zero) && plotH > 0) {
        const double upTo = fromFirstX ? H - 20 : H - marginBottom; // mode 4 stops below it, mode 0 at it
        const double downTo = fromFirstX ? 20 : 60;
        if (fromFirstX || map.lo <= 0) {
            for (double k = std::max(0.0, std::ceil((-50 - zero) / 50));; k += 1) {
                const double yb = zero + 50 * k;
                if (fromFirstX ? !(yb < upTo) : !(yb <= upTo)) {
                    break;
                }
                valueLabel(yb);
            }
            for (double k = std::max(1.0, std::ceil((zero - H - 50) / 50));; k += 1) {
                const double yb = zero - 50 * k;
                if (!(yb > downTo)) {
                    break;
                }
                valueLabel(yb);
            }
        } else {
            for (int yb = marginBottom; yb <= upTo; yb += 50) {
                valueLabel(yb);
            }
        }
    }

    // Label steps out of range fall back to every 50 pixels.
    for (int* step : {&labelStep1, &labelStep2, &labelStep3}) {
        if (*step < 1 || *step >= points - 1) {
            *step = 1;
        }
    }
    if (plotW < 0) {
        return pic;
    }
    // A zero scale has one label at the origin; every index is checked against its row.
    auto offsets = [&](int step) {
        QVector<int> list;
        const qint64 s = qint64(step) * 50;
        for (qint64 off = 0; off <= plotW; off += s) {
            list.append(int(off));
            if (!(scale > 0)) {
                break;
            }
        }
        return list;
    };
    auto along = [&](int off) { return scale > 0 ? off / scale : 0.0; };
    auto indexRow = [&](const QVector<QString>& texts, int step, int rowY, bool ticks) {
        for (int off : offsets(step)) {
            const double index = std::round(along(off));
            if (!(index >= 0 && index < texts.size())) {
                break;
            }
            pic.labels.append({QPoint(marginLeft + off, H - rowY), texts[int(index)]});
            if (ticks) {
                pic.ticks << QLine(marginLeft + off, H, marginLeft + off, H - 6)
                          << QLine(marginLeft + off, 0, marginLeft + off, 6);
            }
        }
    };

    if (!fromFirstX && !labelsMulti1.isEmpty()) {
        const int n = labelsMulti1.size();
        for (int i = 0; i < n; ++i) {
            const int c = roundHalfAway(marginLeft + (n > 1 ? double(i) * plotW / (n - 1) : 0.0));
            pic.ticks << QLine(c, H, c, H - 6) << QLine(c, 0, c, 6);
            pic.over.append({QLine(c, marginTop, c, H - marginBottom), lightGray});
            pic.labels.append({QPoint(c, H - 15), labelsMulti1[i], true});
            if (i < labelsMulti2.size()) {
                pic.labels.append({QPoint(c, H - 30), labelsMulti2[i], true});
            }
        }
    } else if (!fromFirstX && !labelsX1.isEmpty()) {
        indexRow(labelsX1, labelStep1, 15, true);
    } else {
        const bool fromFirst = fromFirstX && hasX;
        for (int off : offsets(labelStep1)) {
            const double value = (fromFirst ? arrGrafikX[0] : 0.0) + along(off);
            pic.labels.append(
                {QPoint(marginLeft + off, H - (fromFirst ? 10 : 15)), fixed(value, precisionX)});
            pic.ticks << QLine(marginLeft + off, H, marginLeft + off, H - 6)
                      << QLine(marginLeft + off, 0, marginLeft + off, 6);
        }
    }
    indexRow(labelsX2, labelStep2, 30, false);
    indexRow(labelsX3, labelStep3, 45, false);
    return pic;
}

void FourierGrafik::drawGrafik(QPainter* painter) {
    drawLines(painter, false);
}

void FourierGrafik::drawGrafikFromFirstX(QPainter* painter) {
    drawLines(painter, true);
}

void FourierGrafik::drawLines(QPainter* painter, bool fromFirstX) {
    if (hintShown) {
        dx01 = marginLeft;
        dx02 = marginRight;
        dy01 = marginBottom;
        dy02 = marginTop;
        drawHint(painter, false);
        return;
    }
    const QSize size = canvasSize;
    const LinePicture pic = linePicture(size, fromFirstX);
    const CurveMap map = curveMap(size, fromFirstX);
    // Runs of one colour go to the painter in one call.
    QVector<QLine> run;
    auto drawColoured = [&](const QVector<ColouredLine>& lines) {
        for (int i = 0; i < lines.size();) {
            run.resize(0);
            int k = i;
            for (; k < lines.size() && lines[k].colour == lines[i].colour; ++k) {
                run.append(lines[k].line);
            }
            painter->setPen(QPen(lines[i].colour, 1));
            painter->drawLines(run);
            i = k;
        }
    };
    drawColoured(pic.under);

    const int nX = arrGrafikX.size();
    const int shown = nX > 0 ? std::clamp(points, 1, nX) : std::max(points, 0);
    const bool straight = nX == 0 || monotonic(arrGrafikX, shown);
    QVector<double> gapped;
    const double gap = std::numeric_limits<double>::quiet_NaN();
    for (int j = 0; j < arrGrafikY.size(); ++j) {
        if (!visible.value(j, false)) {
            continue;
        }
        const QVector<double>& curve = arrGrafikY[j];
        // Mode 4 draws a curve without X values over its whole length.
        const int n = std::min(int(curve.size()), (fromFirstX && nX == 0) ? int(curve.size()) : shown);
        painter->setPen(QPen(QColor(graphColors[j % 8]), 1));
        if (straight) {
            PlotFrame::drawSeries(painter, map, curve.constData(), qint64(n));
            continue;
        }
        // X values that turn back are drawn segment by segment; a point at an X that is not finite is
        // a gap, as a value that is not finite is.
        gapped.resize(n);
        for (int i = 0; i < n; ++i) {
            gapped[i] = std::isfinite(arrGrafikX[i]) ? curve[i] : gap;
        }
        PlotFrame::drawSeriesSegments(painter, map, gapped.constData(), qint64(n));
    }

    drawColoured(pic.over);
    painter->setPen(QPen(Qt::black, 1));
    painter->drawLines(pic.ticks);
    for (const AxisLabel& label : pic.labels) {
        QPoint at = label.at;
        if (label.centred) {
            at.rx() -= painter->fontMetrics().horizontalAdvance(label.text) / 2;
        }
        drawLabel(painter, at, label.text);
    }
}
