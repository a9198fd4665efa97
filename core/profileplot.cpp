#include "core/profileplot.h"

#include "core/desktop.h"
#include "core/plotframe.h"

#include <QClipboard>
#include <QDebug>
#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>

#include <algorithm>
#include <cmath>

const QString ProfilePlot::startHint =
    QStringLiteral("Установите нужные параметры в форме слева и нажмите кнопку Ok...");

namespace {
const char* const statisticNames[] = {"sigma", "  S/N ", "signal"};

QString seriesName(int s) {
    return s >= 0 && s < 3 ? QString::fromLatin1(statisticNames[s]) : QString();
}
} // namespace

ProfilePlot::ProfilePlot(const QString& grafikType, const char* debugName)
    : grafikType(grafikType), debugName(debugName) {}

void ProfilePlot::updateRange() {
    if (arrGrafikX.isEmpty() && !arrGrafikY.isEmpty()) {
        int longest = 0;
        for (const auto& series : arrGrafikY) {
            longest = std::max(longest, int(series.size()));
        }
        if (nPoints < 1 || nPoints > longest) {
            nPoints = longest;
        }
    } else if (!arrGrafikX.isEmpty()) {
        // Never more points than X values, so arrGrafikX[nPoints - 1] always exists.
        if (nPoints < 1 || nPoints > arrGrafikX.size()) {
            nPoints = arrGrafikX.size();
        }
        if (xLimit > 0 && arrGrafikX[nPoints - 1] > xLimit) {
            for (int i = 0; i < nPoints; ++i) {
                if (arrGrafikX[i] >= xLimit) {
                    nPoints = i + 1;
                    break;
                }
            }
        }
    }

    if (!fixedYRange && grafikMode > 0 && !arrGrafikY.isEmpty()) {
        yMax = -100000;
        yMin = 100000;
        for (int s = 0; s < arrGrafikY.size(); ++s) {
            if (s >= visible.size() || !visible[s]) {
                continue;
            }
            const QVector<double>& series = arrGrafikY[s];
            const int n = std::min(nPoints, int(series.size()));
            for (int j = 0; j < n; ++j) {
                if (series[j] > yMax) {
                    yMax = series[j];
                }
                if (series[j] < yMin) {
                    yMin = series[j];
                }
            }
        }
    }
    if (yMin > yMax) {
        yMin = 0;
        yMax = 105;
        return;
    }
    if (0.001 * yMax > yMax - yMin) {
        yMin = 0.9 * yMin;
        const double t = 1.1 * yMax;
        yMax = t + (t - yMin) / 20;
    } else {
        yMax = yMax + (yMax - yMin) / 20;
    }
    if (yMin != 0) {
        yMin = yMin - (yMax - yMin) / 20;
    }
}

bool ProfilePlot::computeLayout(const QSize& size, QString* error) {
    w = size.width();
    h = size.height();
    const bool statistics = grafikType == QLatin1String("statistics");
    int minWidth;
    if (inGrid) {
        dx01 = 40;
        dx02 = 30;
        dy01 = statistics ? 32 : 30;
        dy02 = statistics ? 32 : 15;
        minWidth = 70;
    } else if (statistics) {
        dx01 = 60;
        dx02 = 40;
        dy01 = 40;
        dy02 = 43;
        minWidth = 100;
    } else {
        dx01 = 60;
        dx02 = 30;
        dy01 = 50;
        dy02 = 50;
        minWidth = 90;
    }
    if (w <= minWidth) {
        *error = QStringLiteral("ERROR! dx01=%1 dx02=%2 width=%3").arg(dx01).arg(dx02).arg(w);
        return false;
    }
    if (dy01 + dy02 >= h) {
        *error = QStringLiteral("ERROR! dy01=%1 dy02=%2 height=%3").arg(dy01).arg(dy02).arg(h);
        return false;
    }
    const double span = w - dx01 - dx02;
    error->clear();
    if (arrGrafikX.isEmpty()) {
        xScale = nPoints >= 2 ? span / double(nPoints - 1) : 0.0;
    } else if (nPoints >= 1 && nPoints <= arrGrafikX.size() && arrGrafikX[nPoints - 1] > 0) {
        xScale = span / arrGrafikX[nPoints - 1];
    } else {
        xScale = 0;
        *error = QStringLiteral("ERROR! %1::drawGrafik: deltaX=0!!! arrGrafikX[0] = arrGrafikX[N]!")
                     .arg(QLatin1String(debugName));
    }
    return true;
}

int ProfilePlot::xOfPoint(qint64 j) const {
    return dx01 + PlotFrame::clampToPixel(double(j) * xScale);
}

int ProfilePlot::xOfValue(double x) const {
    return dx01 + PlotFrame::clampToPixel(x * xScale);
}

int ProfilePlot::heightOf(double y) const {
    return dy01 + PlotFrame::clampToPixel((y - yMin) * double(plotHeight()) / (yMax - yMin));
}

bool ProfilePlot::Mapping::y(double v, int& out) const {
    if (!std::isfinite(v)) {
        return false;
    }
    out = plot.rowOf(v);
    return true;
}

QString ProfilePlot::yLabelText(double y) const {
    const double value = yMin + (y - dy01) * (yMax - yMin) / double(plotHeight());
    QString text = QString::number(value, 'f', precisionY);
    if (text == QLatin1String("-0") || text == QLatin1String("-0.0") || text == QLatin1String("-0.00")) {
        text = QStringLiteral("0");
    }
    return text;
}

QVector<double> ProfilePlot::yLabelHeights() const {
    QVector<double> heights;
    const double top = h - dy02;
    if (plotHeight() <= 0 || !(yMax > yMin) || !std::isfinite(yMax - yMin)) {
        return heights;
    }
    if (yMin > 0) {
        for (double y = dy01; y <= top; y += 50) {
            heights.append(y);
        }
        return heights;
    }
    const double y0 = dy01 - double(plotHeight()) * yMin / (yMax - yMin);
    if (!std::isfinite(y0)) {
        return heights;
    }
    for (double y = y0; y <= top; y += 50) {
        heights.append(y);
    }
    // A label whose height is above h + 16 lies wholly above the widget; skip straight past those.
    double k = 1;
    if (y0 - 50 > h + 16) {
        k = std::ceil((y0 - (h + 16)) / 50);
    }
    for (double y = k == 1 ? y0 - 50 : y0 - 50 * k; y > dy01 + 10; y -= 50) {
        heights.append(y);
    }
    return heights;
}

ProfilePlot::Axis ProfilePlot::yAxis() const {
    Axis axis;
    for (double y : yLabelHeights()) {
        const int r = int(std::lround(y));
        axis.labels.append({QPoint(14, h - r + 4), yLabelText(y)});
        axis.ticks.append(QLine(0, h - r, 6, h - r));
        axis.ticks.append(QLine(w - 6, h - r, w, h - r));
    }
    return axis;
}

QVector<ProfilePlot::Marker> ProfilePlot::markerLines() const {
    QVector<Marker> out;
    if (forPrint) {
        return out;
    }
    const int bottomRow = h - dy01;
    const int topRow = dy02;
    if (!markers.isEmpty()) {
        const bool coloured = markerColors.size() == markers.size();
        for (int k = 0; k < markers.size(); ++k) {
            const int x = xOfValue(markers[k]);
            out.append({QLine(x, bottomRow, x, topRow), coloured ? markerColors[k] : QString()});
        }
    } else if (!markerLabels.isEmpty()) {
        int k = 0;
        for (int j = 0; j < nPoints && j < labelsX.size() && k < markerLabels.size(); ++j) {
            if (labelsX[j] == markerLabels[k]) {
                const int x = xOfPoint(j);
                out.append({QLine(x, bottomRow, x, topRow), QString()});
                ++k;
            }
        }
    }
    return out;
}

void ProfilePlot::paint(QPainter* painter, const QSize& size, const QFont& widgetFont) {
    if (size.width() < 100 && size.height() < 100) {
        return;
    }
    painted = true;
    w = size.width();
    h = size.height();
    painter->setBrush(QBrush(QColor(background.isEmpty() ? QStringLiteral("white") : background)));
    painter->setPen(QColor("black"));
    painter->drawRect(0, 0, w - 2, h - 2);
    if (grafikMode == 1) {
        drawGrafik(painter, widgetFont);
    }
    painter->setFont(QFont(QStringLiteral("Arial"), 11));
    const bool statistics = grafikType == QLatin1String("statistics");
    if (inGrid) {
        if (statistics) {
            drawCaptions(painter);
        } else {
            drawCellCaptions(painter);
        }
    } else if (forPrint || grafikMode == 1) {
        drawCaptions(painter);
    }
    painter->setPen(QColor("black"));
    painter->setBrush(QColor(0, 50, 200, 100));
    if (!inGrid && !selection.isNull()) {
        painter->drawRect(selection);
    }
}

void ProfilePlot::drawGrafik(QPainter* painter, const QFont& widgetFont) {
    if (yMin >= yMax) {
        qDebug().nospace() << "ERROR! max=" << yMax << " min=" << yMin;
        return;
    }
    if (hintShown) {
        painter->setPen(QColor("black"));
        painter->setFont(QFont(QStringLiteral("Arial"), 11));
        drawLabel(painter, QPoint(30, 60), hintText);
        return;
    }
    QString error;
    if (!computeLayout(QSize(w, h), &error)) {
        qDebug().noquote() << error;
        return;
    }
    if (!error.isEmpty()) {
        qDebug().noquote() << error;
    }

    for (const Marker& m : markerLines()) {
        painter->setPen(m.color.isEmpty() ? QPen(Qt::gray) : QPen(QColor(m.color)));
        painter->drawLine(m.line);
    }

    drawCurves(painter);

    painter->setPen(Qt::lightGray);
    const int zeroRow = rowOf(0.0);
    const int right = dx01 + PlotFrame::clampToPixel(double(nPoints) * xScale);
    painter->drawLine(dx01, zeroRow, right, zeroRow);
    if (grafikType == QLatin1String("statistics") && !forPrint) {
        painter->drawLine(dx01, dy02, right, dy02);
    }

    painter->setPen(QPen(QColor("black")));
    painter->setFont(QFont(QStringLiteral("Arial"), inGrid ? 8 : 9));
    const Axis y = yAxis();
    for (const Label& l : y.labels) {
        drawLabel(painter, l.at, l.text);
    }
    painter->drawLines(y.ticks);

    const QFontMetrics own(widgetFont);
    const Axis x = xAxis([&own](const QString& t) { return own.horizontalAdvance(t); });
    painter->drawLines(x.ticks);
    for (const Label& l : x.labels) {
        drawLabel(painter, l.at, l.text);
    }
}

void ProfilePlot::drawCurves(QPainter* painter) const {
    const bool statistics = grafikType == QLatin1String("statistics");
    const bool ownColours = statistics || colors.size() == arrGrafikY.size();
    const Mapping map(*this);
    QVector<double> gapped;
    for (int s = 0; s < arrGrafikY.size(); ++s) {
        if (s >= visible.size() || !visible[s]) {
            continue;
        }
        const QColor colour = ownColours && s < colors.size() ? QColor(colors[s]) : QColor(Qt::blue);
        painter->setPen(colour);
        painter->setBrush(QBrush(colour));
        const QVector<double>& series = arrGrafikY[s];
        const int half = radius / 2;
        if (arrGrafikX.isEmpty()) {
            const double* values = series.constData();
            if (statistics) {
                // A day without a value is a gap: no point, no segment to or from it.
                gapped = series;
                for (double& v : gapped) {
                    if (v == 0) {
                        v = std::nan("");
                    }
                }
                values = gapped.constData();
            }
            if (drawCircles) {
                for (int j = 1; j < series.size(); ++j) {
                    int row;
                    if (map.y(values[j], row)) {
                        painter->drawEllipse(QRect(xOfPoint(j) - half, row - half, radius, radius));
                    }
                }
            } else {
                PlotFrame::drawSeries(painter, map, values, series.size());
            }
        } else if (nPoints > 1) {
            const int n = std::min({nPoints, int(series.size()), int(arrGrafikX.size())});
            for (int j = 1; j < n; ++j) {
                int row, previous;
                if (!map.y(series[j], row) || !map.y(series[j - 1], previous)) {
                    continue;
                }
                const int x = xOfValue(arrGrafikX[j]);
                if (drawCircles) {
                    painter->drawEllipse(QRect(x - half, row - half, radius, radius));
                } else {
                    painter->drawLine(xOfValue(arrGrafikX[j - 1]), previous, x, row);
                }
            }
        }
    }
}

void ProfilePlot::drawLabel(QPainter* painter, const QPoint& at, const QString& text) const {
    PlotFrame::drawLabel(painter, at, text,
                         QColor(background.isEmpty() ? QStringLiteral("white") : background));
}

void ProfilePlot::drawFramedLabel(QPainter* painter, const QPoint& at, const QString& text) const {
    if (text.isEmpty()) {
        return;
    }
    const int width = painter->fontMetrics().horizontalAdvance(text);
    painter->setPen(QColor("black"));
    painter->setBrush(QBrush(Qt::white));
    painter->fillRect(QRect(QPoint(at.x(), at.y() - 8), QPoint(at.x() + width + 5, at.y() + 4)), Qt::white);
    painter->drawRect(QRect(QPoint(at.x() - 4, at.y() - 17), QPoint(at.x() + width + 3, at.y() + 2)));
    painter->drawText(at, text);
}

void ProfilePlot::drawCellCaptions(QPainter* painter) const {
    painter->setFont(QFont(QStringLiteral("Arial"), 10));
    painter->setPen(QColor("black"));
    const QFontMetrics fm(painter->font());
    auto width = [&fm](const QString& t) { return fm.boundingRect(t).width(); };
    if (!caption1.isEmpty()) {
        drawFramedLabel(painter, QPoint(w - width(caption1) - 15, 22), caption1);
    }
    int y = caption1.isEmpty() ? 22 : 42;
    for (const QString* c : {&caption2, &caption3, &caption4, &caption5}) {
        drawLabel(painter, QPoint(w - width(*c) - 15, y), *c);
        y += 20;
    }
}

void ProfilePlot::drawCaptions(QPainter* painter) const {
    painter->setFont(QFont(QStringLiteral("Arial"), 11));
    painter->setPen(QColor("black"));
    const QFontMetrics fm(painter->font());
    auto width = [&fm](const QString& t) { return fm.boundingRect(t).width(); };
    drawLabel(painter, QPoint(w / 2 - width(caption8) / 2, 25), caption8);
    if (!caption9.isEmpty()) {
        const int cw = width(caption9);
        PlotFrame::drawVerticalText(painter, QPoint(w - cw - 16, h / 2 + (cw + 1) / 2 + 10), caption9, 12,
                                    PlotFrame::Measure::Screen);
        painter->setFont(QFont(QStringLiteral("Arial"), 11));
    }
    if (!caption1.isEmpty()) {
        drawFramedLabel(painter, QPoint(w - width(caption1) - 25, 45), caption1);
    }
    int baseline = caption1.isEmpty() ? 17 : 47;
    for (const QString* c : {&caption2, &caption3, &caption4, &caption5, &caption6, &caption7}) {
        if (c->isEmpty()) {
            continue;
        }
        baseline += 25;
        drawLabel(painter, QPoint(w - width(*c) - 25, baseline), *c);
    }
}

QPointF ProfilePlot::pixelToValue(QPointF p) const {
    if (grafikMode != 1) {
        return QPointF(-1, -1);
    }
    double x;
    const int span = w - dx01 - dx02;
    if (p.x() < dx01) {
        x = 0;
    } else if (p.x() > w - dx02) {
        x = arrGrafikY.isEmpty() ? 0 : arrGrafikY[0].size();
    } else {
        x = span > 0 ? (p.x() - dx01) * nPoints / span : 0.0;
    }
    double y;
    if (p.y() < dy01) {
        y = yMin;
    } else if (p.y() > h - dy02) {
        y = yMax;
    } else {
        y = plotHeight() > 0 ? (p.y() - dy01) * (yMax - yMin) / plotHeight() + yMin : yMin;
    }
    return QPointF(x, y);
}

QString ProfilePlot::statisticsText(const QPointF& v) const {
    const int days = labelsX.size();
    QString text = QStringLiteral("days number: %1\n\n").arg(days);
    const double position = std::trunc(v.x());
    if (!(position >= 0) || position >= days) {
        return text + QStringLiteral("date: none");
    }
    const int i = int(position);
    text += QStringLiteral("date:\t%1\n").arg(labelsX[i]);
    text += QStringLiteral("y:\t%1\n\n").arg(QString::number(v.y(), 'f', 2));
    for (int s = 0; s < arrGrafikY.size(); ++s) {
        if (!inGrid && (s >= visible.size() || !visible[s])) {
            continue;
        }
        if (i < arrGrafikY[s].size()) {
            text += QStringLiteral("%1 [%2] = %3\n")
                        .arg(seriesName(s), labelsX[i], QString::number(arrGrafikY[s][i], 'f', 2));
        } else {
            text += QStringLiteral("%1 [%2] = none\n").arg(seriesName(s), labelsX[i]);
        }
    }
    return text;
}

int ProfilePlot::statisticIndexAt(const QPoint& pos) const {
    const double position = std::trunc(pixelToValue(QPointF(pos.x(), h - pos.y())).x());
    if (!(position >= 0) || position >= labelsX.size()) {
        return -1;
    }
    return int(position);
}

ProfilePlot::BandPress ProfilePlot::pressBand(const QPoint& pos) {
    pressPoint = pos;
    if (selection.isNull()) {
        selection = QRect(pos, QSize(1, 1));
        return BandPress::StartedBand;
    }
    // The corners as stored: a band dragged right to left or upward contains no point.
    if (pos.x() < selection.left() || pos.x() > selection.right() || pos.y() < selection.top() ||
        pos.y() > selection.bottom()) {
        selection = QRect(pressPoint, QSize(1, 1));
        return BandPress::RestartedBand;
    }
    return BandPress::InsideBand;
}

void ProfilePlot::dragBand(const QPoint& pos) {
    selection = QRect(pressPoint, pos);
}

ProfilePlot::Report ProfilePlot::selectionReport(const QRect& band) const {
    const QPointF a = pixelToValue(QPointF(band.left(), h - band.top()));
    const QPointF b = pixelToValue(QPointF(band.right(), h - band.bottom()));
    const int i1 = int(std::trunc(std::max(std::min(a.x(), 2e9), -2e9)));
    const int i2 = int(std::trunc(std::max(std::min(b.x(), 2e9), -2e9)));
    double total = 0;
    double peak = 0;
    if (!arrGrafikY.isEmpty()) {
        const QVector<double>& series = arrGrafikY[0];
        const int n = std::min(nPoints, int(series.size()));
        for (int i = 0; i < n; ++i) {
            total += series[i];
            if (i1 < i && i < i2) {
                peak += series[i];
            }
        }
    }
    const double points = nPoints > 0 ? double(nPoints) : 1.0;
    const double peakMean = peak / points;
    const double totalMean = total / points;
    Report r;
    r.line = QStringLiteral("%1:  date=%2  max_snr=%3  sum_snr=%4  points=%5\n")
                 .arg(caption1, date, QString("%1").arg(maxValue), QString::number(peakMean, 'f', 2),
                      QString::number(nPoints));
    const qint64 inPeak = qint64(i2) - qint64(i1);
    const QString line = QStringLiteral("-------------------------------------\n");
    r.text = line + QStringLiteral(" РЕЗУЛЬТАТ:\n") + line;
    r.text += QStringLiteral(" Интегральный СШ в пике:  %1\n").arg(QString::number(peakMean, 'f', 2));
    r.text += QStringLiteral(" Интегральный СШ полный:  %1\n\n").arg(QString::number(totalMean, 'f', 2));
    r.text += QStringLiteral(" Число точек в пике:  %1 (%2%)\n")
                  .arg(QString::number(inPeak), QString::number(double(inPeak) / points * 100, 'f', 1));
    r.text += QStringLiteral(" Число точек полное:  %1 \n\n").arg(nPoints);
    r.text += QStringLiteral(" Максимум:  %1\n").arg(maxValue);
    r.text += line + QStringLiteral("\n");
    r.text += QStringLiteral(" Выделена область:\n");
    r.text += QStringLiteral("  x: (%1, %2)\n").arg(i1).arg(i2);
    r.text +=
        QStringLiteral("  y: (%1, %2)\n").arg(QString::number(b.y(), 'f', 1), QString::number(a.y(), 'f', 1));
    r.text += QStringLiteral("\n В буфер скопировано:\n  ") + r.line;
    return r;
}

QString ProfilePlot::reportText(const QRect& band, bool toClipboard) const {
    const Report report = selectionReport(band);
    if (toClipboard) {
        QGuiApplication::clipboard()->setText(report.line, QClipboard::Clipboard);
    }
    return report.text;
}

ProfilePlot::MouseOutcome ProfilePlot::mouseMove(const QPoint& pos) {
    MouseOutcome outcome;
    if (!painted) {
        return outcome;
    }
    if (grafikType == QLatin1String("statistics")) {
        outcome.coords = true;
        outcome.value = pixelToValue(QPointF(pos.x(), h - pos.y()));
        outcome.coordsText = statisticsText(outcome.value);
    } else if (grafikType == QLatin1String("profile")) {
        dragBand(pos);
        outcome.repaint = true;
    }
    return outcome;
}

ProfilePlot::MouseOutcome ProfilePlot::mousePress(const QPoint& pos, Qt::MouseButtons buttons,
                                                  bool toClipboard) {
    MouseOutcome outcome;
    if (!painted) {
        return outcome; // no margins yet
    }
    if (grafikType == QLatin1String("profile")) {
        if (inGrid || !selectionMutex.tryLock()) {
            return outcome; // a report box of this graph is open
        }
        switch (pressBand(pos)) {
        case BandPress::StartedBand:
            break;
        case BandPress::RestartedBand:
            outcome.repaint = true;
            break;
        case BandPress::InsideBand:
            Desktop::instance()->message(nullptr, QString(), reportText(selection, toClipboard));
            break;
        }
        selectionMutex.unlock();
    } else if (grafikType == QLatin1String("statistics")) {
        const int i = statisticIndexAt(pos);
        if (i < 0) {
            qDebug() << "out of range!";
            return outcome;
        }
        outcome.dateClicked = true;
        outcome.clickedDate = labelsX[i];
        outcome.leftOnly = buttons == Qt::LeftButton;
    }
    return outcome;
}
