#include "core/clicklable.h"

#include <QCursor>

ClickLable::ClickLable(const QString& text, QWidget* parent) : QLabel(text, parent, Qt::WindowFlags()) {}

void ClickLable::setIndex(int i) {
    itemIndex = i;
}

int ClickLable::index() const {
    return itemIndex;
}

void ClickLable::mousePressEvent(QMouseEvent*) {
    emit clicked();
}

void ClickLable::enterEvent(QEvent*) {
    const QString style = styleSheet();
    if (style == QLatin1String("color: black")) {
        setStyleSheet(QStringLiteral("color: blue"));
    } else if (style == QLatin1String("color: red")) {
        setStyleSheet(QStringLiteral("color: darkMagenta"));
    }
    setCursor(Qt::PointingHandCursor);
}

void ClickLable::leaveEvent(QEvent*) {
    const QString style = styleSheet();
    if (style == QLatin1String("color: blue")) {
        setStyleSheet(QStringLiteral("color: black"));
    } else if (style == QLatin1String("color: darkMagenta")) {
        setStyleSheet(QStringLiteral("color: red"));
    }
    setCursor(Qt::ArrowCursor);
}
