#include "core/rectwidget.h"

#include <QColor>
#include <QPainter>
#include <QPen>

RectWidget::RectWidget(const QString& colorName, QWidget* parent)
    : QWidget(parent, Qt::WindowFlags()), colorName(colorName) {}

void RectWidget::paintEvent(QPaintEvent*) {
    QColor color;
    color.setNamedColor(colorName);
    const QBrush brush(color, Qt::SolidPattern);
    QPainter painter(this);
    painter.setPen(QPen(brush, 1, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    painter.setBrush(brush);
    painter.drawRect(0, 0, width(), height());
}
