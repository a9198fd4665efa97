#include "core/plotframe.h"

#include <QColor>
#include <QFontMetrics>
#include <QPixmap>

bool PlotFrame::paintable(const QSize& size) {
    return size.width() > 100 || size.height() > 100;
}

void PlotFrame::paintBackground(QPainter* painter, const QSize& size) {
    painter->setPen(Qt::white);
    painter->setBrush(QBrush(Qt::white, Qt::SolidPattern));
    painter->drawRect(QRect(QPoint(0, 0), QPoint(size.width() - 1, size.height() - 1)));
}

QVector<QLine> PlotFrame::edgeLines(const QSize& size) {
    const int w = size.width();
    const int h = size.height();
    return {QLine(0, 0, w, 0), QLine(0, 0, 0, h), QLine(0, h - 1, w, h - 1), QLine(w - 1, 0, w - 1, h)};
}

QVector<PlotFrame::Tick> PlotFrame::xTicks(int width) {
    QVector<Tick> ticks;
    if (width - 20 > 50) {
        for (int x = 50; x < width - 20; x += 50) {
            ticks.append({x, x % 250 == 0 ? 12 : 6});
        }
    }
    return ticks;
}

QVector<PlotFrame::Tick> PlotFrame::yTicks(int height) {
    QVector<Tick> ticks;
    if (height - 20 > 50) {
        for (int o = 50; o < height - 20; o += 50) {
            ticks.append({o, o % 250 == 0 ? 12 : 6});
        }
    }
    return ticks;
}

QVector<QLine> PlotFrame::frameLines(const QSize& size) {
    const int w = size.width();
    const int h = size.height();
    QVector<QLine> lines = edgeLines(size);
    for (const Tick& t : xTicks(w)) {
        lines << QLine(t.pos, h, t.pos, h - t.length) << QLine(t.pos, 0, t.pos, t.length);
    }
    for (const Tick& t : yTicks(h)) {
        const int y = h - t.pos;
        lines << QLine(0, y, t.length, y) << QLine(w - t.length, y, w, y);
    }
    return lines;
}

void PlotFrame::drawEdges(QPainter* painter, const QSize& size) {
    painter->setPen(Qt::black);
    painter->drawLines(edgeLines(size));
}

void PlotFrame::drawFrame(QPainter* painter, const QSize& size) {
    painter->setPen(Qt::black);
    painter->drawLines(frameLines(size));
}

void PlotFrame::drawLabel(QPainter* painter, const QPoint& at, const QString& text, const QColor& fill) {
    if (text.isEmpty()) {
        return;
    }
    const int tw = painter->fontMetrics().horizontalAdvance(text);
    painter->fillRect(QRect(QPoint(at.x(), at.y() - 11), QPoint(at.x() + tw + 1, at.y() + 1)), fill);
    painter->drawText(at, text);
}

void PlotFrame::drawLabels(QPainter* painter, const QVector<Label>& labels) {
    for (const Label& label : labels) {
        drawLabel(painter, label.at, label.text);
    }
}

void PlotFrame::drawVerticalText(QPainter* painter, const QPoint& at, const QString& text, int fontSize,
                                 Measure measure) {
    if (text.isEmpty()) {
        return;
    }
    const QFont font(QStringLiteral("Arial"), fontSize);
    painter->setFont(font);
    const QRect box = measure == Measure::Painter ? painter->fontMetrics().boundingRect(text)
                                                  : QFontMetrics(font).boundingRect(text);
    QPixmap pixmap(box.height() + 4, box.width() + 2);
    pixmap.fill(Qt::transparent);
    {
        QPainter turned(&pixmap);
        turned.setFont(font);
        turned.setPen(Qt::black);
        turned.rotate(90);
        turned.drawText(0, -4, text);
    }
    painter->drawPixmap(at, pixmap);
}
