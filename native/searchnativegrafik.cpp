#include "native/searchnativegrafik.h"

#include "core/desktop.h"

#include <QClipboard>
#include <QDebug>
#include <QGuiApplication>
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
    if (!painted) {
        return;
    }
    const QPoint pos = event->pos();
    if (grafikType == QLatin1String("statistics")) {
        const QPointF v = pixelToValue(QPointF(pos.x(), paintedHeight() - pos.y()));
        emit coordsChanged(v, statisticsText(v));
    } else if (grafikType == QLatin1String("profile")) {
        dragBand(pos);
        update();
    }
}

void SearchNativeGrafik::mousePressEvent(QMouseEvent* event) {
    // Kept here whatever the type: the press never reaches the grid or the form.
    event->accept();
    if (grafikType == QLatin1String("profile")) {
        selectRegion(event);
    } else if (grafikType == QLatin1String("statistics")) {
        clickStatistic(event);
    }
}

void SearchNativeGrafik::clickStatistic(QMouseEvent* event) {
    if (!painted) {
        return; // no margins yet
    }
    const int i = statisticIndexAt(event->pos());
    if (i < 0) {
        qDebug() << "out of range!";
        return;
    }
    emit clickedStatisticDate(labelsX[i], event->buttons() == Qt::LeftButton);
}

void SearchNativeGrafik::selectRegion(QMouseEvent* event) {
    if (inGrid || !painted) {
        return;
    }
    if (!selectionMutex.tryLock()) {
        return; // a report box of this graph is open
    }
    switch (pressBand(event->pos())) {
    case BandPress::StartedBand:
        break;
    case BandPress::RestartedBand:
        update();
        break;
    case BandPress::InsideBand:
        Desktop::instance()->message(nullptr, QString(), getSelectionReport(selection));
        break;
    }
    selectionMutex.unlock();
}

QString SearchNativeGrafik::getSelectionReport(QRect band) {
    const Report report = selectionReport(band);
    if (mainWindow) {
        QGuiApplication::clipboard()->setText(report.line, QClipboard::Clipboard);
    }
    return report.text;
}
