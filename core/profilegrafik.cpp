#include "core/profilegrafik.h"

#include "core/desktop.h"

#include <QClipboard>
#include <QDebug>
#include <QGuiApplication>
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
    if (grafikType == QLatin1String("profile")) {
        selectRegion(event);
    } else if (grafikType == QLatin1String("statistics")) {
        clickStatistic(event);
    }
}

void ProfileGrafik::clickStatistic(QMouseEvent* event) {
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

void ProfileGrafik::selectRegion(QMouseEvent* event) {
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

QString ProfileGrafik::getSelectionReport(QRect band) {
    const Report report = selectionReport(band);
    if (mainWindow) {
        QGuiApplication::clipboard()->setText(report.line, QClipboard::Clipboard);
    }
    return report.text;
}
