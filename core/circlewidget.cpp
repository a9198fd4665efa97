#include "core/circlewidget.h"

#include <QColor>
#include <QPainter>
#include <QTimer>

CircleWidget::CircleWidget(int diameter, const QString& colorName, QWidget* parent)
    : QWidget(parent, Qt::WindowFlags()), diameter(diameter), colorName(colorName) {
    auto* timer = new QTimer(this);
    timer->setInterval(3000);
    connect(timer, &QTimer::timeout, this, QOverload<>::of(&QWidget::update));
    timer->start();
}

int CircleWidget::circleDiameter() const {
    return diameter;
}

void CircleWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(Qt::white);
    painter.setBrush(QBrush(Qt::white, Qt::SolidPattern));
    painter.drawRect(0, 0, width(), height());

    QColor color;
    color.setNamedColor(colorName);
    painter.setPen(color);
    painter.setBrush(QBrush(color, Qt::SolidPattern));
    painter.drawEllipse((width() - diameter) / 2, (height() - diameter) / 2, diameter, diameter);
}
