#include "core/profilegrafik.h"

#include <QMouseEvent>
#include <QPainter>

ProfileGrafik::ProfileGrafik(QString grafikType, QWidget* parent)
    : QWidget(parent), ProfilePlot(grafikType, "ProfileGrafik") {
    // A "profile" graph sees moves only while a button is held: they stretch the band.
    if (grafikType != QLatin1String("profile")) {
        setAttribute(Qt::WA_MouseTracking);
    }
}

void ProfileGrafik::showStartMessage() {
    hintShown = true;
    hintText = startHint;
    update();
}

bool ProfileGrafik::redraw() {
    updateRange();
    update();
    return true;
}

void ProfileGrafik::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    paint(&painter, size(), font());
    event->accept();
}

void ProfileGrafik::mouseMoveEvent(QMouseEvent* event) {
    carryOut(this, mouseMove(event->pos()));
}

void ProfileGrafik::mousePressEvent(QMouseEvent* event) {
    if (inGrid || grafikType == QLatin1String("one")) {
        if (event->type() != QEvent::MouseButtonPress) {
            return;
        }
        if (event->button() == Qt::RightButton) {
            emit clickedRightOnGrafik(caption2, row, col);
        } else if (event->button() == Qt::LeftButton) {
            emit clickedLeftOnGrafik(caption2, row, col);
        }
        return;
    }
    carryOut(this, mousePress(event->pos(), event->buttons(), mainWindow != nullptr));
}

QString ProfileGrafik::getSelectionReport(QRect band) {
    return reportText(band, mainWindow != nullptr);
}
