#ifndef PLAINGRID_H
#define PLAINGRID_H

// The baseline of the grid benchmarks, none of it through the program's grid code: plain QWidgets of
// the cell size under QLabel titles in a QGridLayout inside a QScrollArea, built before it is shown, in a
// window of its own; and the way every grid benchmark lets the window settle.
//
// Shown as they are, plain widgets each post themselves a repaint request, and every widget with such a
// request pending is compared at the next paint with all its later siblings: n * n for n cells. The
// plain host drops those requests after the show and repaints its window once, the plainest fast way;
// with dropRequests off it shows the bare cost.

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollArea>
#include <QWidget>

namespace Bench {

// Runs the event loop until it is idle and at least leastMs have passed (a grid's 20 ms scroll has
// then fired); what was deleted later is removed on the way.
inline void settle(int leastMs = 25) {
    QElapsedTimer since;
    since.start();
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    for (;;) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        const bool busy = dispatcher->processEvents(QEventLoop::AllEvents);
        if (!busy && since.elapsed() >= leastMs) {
            return;
        }
    }
}

// rows x columns plain widgets of the cell size, a title over each column and beside each row.
inline QScrollArea* plainGrid(int rows, int columns, int cellWidth, int cellHeight) {
    auto* area = new QScrollArea;
    area->setWidgetResizable(true);
    auto* content = new QWidget;
    auto* grid = new QGridLayout(content);
    grid->setSpacing(5);
    grid->addWidget(new QLabel(QStringLiteral(" ")), 0, 0);
    for (int c = 0; c < columns; ++c) {
        grid->addWidget(new QLabel(QStringLiteral("DM=%1").arg(c)), 0, c + 1, Qt::AlignCenter);
    }
    for (int r = 0; r < rows; ++r) {
        grid->addWidget(new QLabel(QString::number(r)), r + 1, 0, Qt::AlignCenter);
        for (int c = 0; c < columns; ++c) {
            auto* cell = new QWidget;
            cell->setMinimumSize(cellWidth, cellHeight);
            grid->addWidget(cell, r + 1, c + 1);
        }
    }
    area->setWidget(content);
    return area;
}

// A window that shows one widget at a time, as the work area shows one grid.
struct PlainHost {
    QWidget host;
    QHBoxLayout* layout = new QHBoxLayout(&host);
    QWidget* shown = nullptr;
    bool dropRequests = true;

    // Hides and deletes the widget shown, then shows next in its place.
    void replaceBy(QWidget* next) {
        if (shown) {
            shown->hide();
            delete shown;
        }
        shown = next;
        layout->addWidget(next);
        next->show();
        if (dropRequests) {
            QCoreApplication::removePostedEvents(nullptr, QEvent::UpdateLater);
            host.update();
        }
    }
};

} // namespace Bench

#endif // PLAINGRID_H
