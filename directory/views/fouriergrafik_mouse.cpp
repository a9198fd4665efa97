#include "core/tools.h"
#include "directory/views/fouriergrafik.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>

#include <cmath>

void FourierGrafik::layOutNote(GrafikNote& note, const QFontMetrics& metrics) const {
    const int W = canvasSize.width();
    const int H = canvasSize.height();
    const int PW = W - dx01 - dx02;
    const int PH = H - dy01 - dy02;
    const QRect box = metrics.boundingRect(note.text);
    note.width = box.width();
    note.height = box.height();
    if (note.hAlign == QLatin1String("middle")) {
        note.x = (PW - note.width) / 2;
    } else if (note.hAlign == QLatin1String("right")) {
        note.x = W - dx01 - note.width;
    } else {
        note.x = dx01 + 5;
    }
    if (note.vAlign == QLatin1String("middle")) {
        note.y = PH / 2;
    } else if (note.vAlign == QLatin1String("top")) {
        note.y = H - dy02 - note.height - 5;
    } else {
        note.y = H - dy01 + 5;
    }
    if (note.dataX > 0) {
        if (grafikMode == 1) {
            note.x = dx01 + PW * (std::log10(note.dataX) - xAxisMin) / (xAxisMax - xAxisMin);
        } else if (grafikMode == 0 && arrGrafikX.isEmpty()) {
            note.x = dx01 + xScale * note.dataX;
        } else if (grafikMode == 0) {
            note.x = dx01 + xScale * Tools::fractionalIndex(arrGrafikX, note.dataX);
        }
        if (note.x + note.width + 10 <= PW) {
            note.x += 5;
        } else {
            note.x = note.x - note.width - dx02 - 5;
        }
    }
    if (note.dataY > 0) {
        if (grafikMode == 1) {
            note.y = dy01 + yScale * (std::log10(note.dataY) - yAxisMin);
        } else {
            note.y = dy01 + (note.dataY - yMin) * PH / (yMax - yMin);
        }
        if (note.y + 30 <= PH) {
            note.y += 5;
        } else {
            note.y -= 18;
        }
    }
    keepNoteRatios(note);
}

void FourierGrafik::keepNoteRatios(GrafikNote& note) const {
    const double PW = canvasSize.width() - dx01 - dx02;
    const double PH = canvasSize.height() - dy01 - dy02;
    // At the margin itself the ratio has no value; the layout's choices stand in for it.
    note.relX = note.x == dx01 ? 0.5 : PW / (note.x - dx01);
    if (note.y != dy01) {
        note.relY = PH / (note.y - dy01);
    }
}

void FourierGrafik::drawNotes(QPainter* painter) {
    painter->setFont(QFont(QStringLiteral("Arial"), 10));
    painter->setPen(Qt::black);
    const QFontMetrics metrics(font());
    const int H = canvasSize.height();
    for (GrafikNote& note : notes) {
        if (note.width == 0) {
            layOutNote(note, metrics);
        }
        const QPoint at(CurveMap::toPixel(note.x), H - CurveMap::toPixel(note.y));
        if (note.boxed) {
            drawBoxedLabel(painter, at, note.text);
        } else {
            drawLabel(painter, at, note.text);
        }
    }
}

void FourierGrafik::mousePressEvent(QMouseEvent* event) {
    // Before the first paint there is no canvas to map the press onto.
    if (!canvasSize.isValid() || !mutex.tryLock()) {
        return;
    }
    buttonDown = true;
    const int H = canvasSize.height();
    const QPoint pos = event->pos();
    const int x = pos.x();
    const int y = pos.y();
    if (grafikType == QLatin1String("map") || grafikType == QLatin1String("ffaMap")) {
        emit clickedOnMap(pixelToValue(QPointF(x, H - y)), pixelToValue(QPointF(x - 2, H - (y + 2))),
                          pixelToValue(QPointF(x + 2, H - (y - 2))));
    } else if (grafikType == QLatin1String("sum3sigma")) {
        const QPointF p0 = pixelToValue(QPointF(x, H - y));
        const QPointF p1 = pixelToValue(QPointF(x - 3, H - (y + 3)));
        const QPointF p2 = pixelToValue(QPointF(x + 3, H - (y - 3)));
        emit clickedOnPoint3sigma(p0, findPoint3sigma(p1, p2));
    }
    for (GrafikNote& note : notes) {
        note.selected = note.width > 0 && note.height > 0 && note.x <= x && x <= note.x + note.width &&
                        H - note.y - note.height <= y && y <= H - note.y;
    }
    mutex.unlock();
}

void FourierGrafik::mouseReleaseEvent(QMouseEvent* event) {
    Q_UNUSED(event);
    buttonDown = false;
}

void FourierGrafik::mouseMoveEvent(QMouseEvent* event) {
    if (!canvasSize.isValid()) {
        return;
    }
    const int H = canvasSize.height();
    const QPoint pos = event->pos();
    const QPointF v = pixelToValue(QPointF(pos.x(), H - pos.y()));
    const double i = std::trunc(v.x());
    auto inside = [&](const QVector<QString>& row, double from) { return i >= from && i < row.size(); };
    QVector<QString> texts;
    if (!labelsX1.isEmpty()) {
        texts.append(inside(labelsX1, 0) ? labelsX1[int(i)] : QStringLiteral("no"));
    }
    if (!labelsX2.isEmpty()) {
        texts.append(inside(labelsX2, 0) ? labelsX2[int(i)] : QStringLiteral("no"));
    }
    if (!labelsX3.isEmpty()) {
        texts.append(inside(labelsX3, 1) ? labelsX3[int(i)] : QStringLiteral("n"));
    }
    emit coordsChanged(v, texts);
    if (!buttonDown) {
        return;
    }
    bool moved = false;
    for (GrafikNote& note : notes) {
        if (!note.selected) {
            continue;
        }
        note.x = pos.x();
        note.y = H - pos.y();
        if (!canvasSize.isEmpty()) {
            keepNoteRatios(note);
        }
        moved = true;
    }
    if (moved) {
        repaint();
    }
}

void FourierGrafik::followResize(int width, int height) {
    for (GrafikNote& note : notes) {
        if (note.relX > 0) {
            note.x = (width - dx01 - dx02) / note.relX + dx01;
            // A note on the bottom margin has no height ratio and stays on that margin.
            note.y = note.relY != 0 ? (height - dy01 - dy02) / note.relY + dy01 : dy01;
        }
    }
}

void FourierGrafik::mainWindowSizeChanged() {
    followResize(width(), height());
    updateRange();
}

void FourierGrafik::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    followResize(event->size().width(), event->size().height());
}
