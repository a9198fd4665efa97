#include "core/multigrafik.h"

#include "core/graphgrid.h"

#include <QDebug>
#include <QMouseEvent>

MultiGrafik::MultiGrafik(QWidget* parent) : QWidget(parent) {}

void MultiGrafik::draw() {
    if (scrollArea) {
        return; // built once
    }
    scrollArea = GraphGrid::build(this, columns, rows, cellWidth, cellHeight, columnTitles, rowTitles,
                                  grafiks, QStringLiteral(" / "), 1);
}

void MultiGrafik::scrollToGrafik(int row, int col) {
    GraphGrid::scrollTo(scrollArea, grafiks, row, col, cellWidth, cellHeight);
}

void MultiGrafik::mousePressEvent(QMouseEvent* event) {
    qDebug() << "--------------------- MultiGrafik::mousePressEvent";
    event->accept();
}
