#include "native/searchnativegrafik.h"

#include <QMouseEvent>
#include <QPainter>

SearchNativeGrafik::SearchNativeGrafik(QString grafikType, QWidget* parent)
    : QWidget(parent), ProfilePlot(grafikType, "SearchNativeGrafik") {
    // A "profile" graph sees moves only while a button is held: they stretch the band.
    if (grafikType != QLatin1String("profile")) {
        setAttribute(Qt::WA_MouseTracking);
    }
}

void SearchNativeGrafik::showStartMessage() {
    hintShown = true;
    hintText = startHint;
    update();
}

bool SearchNativeGrafik::redraw() {
    updateRange();
    update();
    return true;
}

void SearchNativeGrafik::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    paint(&painter, size(), font());
    event->accept();
}

void SearchNativeGrafik::mouseMoveEvent(QMouseEvent* event) {
    carryOut(this, mouseMove(event->pos()));
}

void SearchNativeGrafik::mousePressEvent(QMouseEvent* event) {
    // Kept here whatever the type: the press never reaches the grid or the form.
    event->accept();
    carryOut(this, mousePress(event->pos(), event->buttons(), mainWindow != nullptr));
}

QString SearchNativeGrafik::getSelectionReport(QRect band) {
    return reportText(band, mainWindow != nullptr);
}
