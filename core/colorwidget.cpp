#include "core/colorwidget.h"

#include <QByteArray>
#include <QColor>
#include <QLineEdit>
#include <QPainter>
#include <QTimer>

ColorWidget::ColorWidget(QLineEdit* edit, QWidget* parent)
    : QWidget(parent, Qt::WindowFlags()), colorEdit(edit) {
    auto* timer = new QTimer(this);
    timer->setInterval(3000);
    connect(timer, &QTimer::timeout, this, QOverload<>::of(&QWidget::update));
    timer->start();
}

namespace {
// "#FF0000", "ff0000" or "FFAA": the hex digits (others are skipped) give red, green and blue in
// turn; a missing byte is 0.
QColor colorFromText(const QString& text) {
    const QByteArray bytes = QByteArray::fromHex(text.toUtf8());
    auto byteAt = [&bytes](int i) {
        return i < bytes.size() ? int(static_cast<unsigned char>(bytes.at(i))) : 0;
    };
    return QColor(byteAt(0), byteAt(1), byteAt(2), 255);
}
} // namespace

void ColorWidget::paintEvent(QPaintEvent*) {
    const QColor color = colorFromText(colorEdit ? colorEdit->text() : QString());
    QPainter painter(this);
    painter.setBrush(QBrush(color, Qt::SolidPattern));
    painter.drawRect(0, 0, width(), height());
}
