#include "native/searchnativemultigrafik.h"

#include "core/graphgrid.h"

SearchNativeMultiGrafik::SearchNativeMultiGrafik(QWidget* parent) : QWidget(parent) {}

void SearchNativeMultiGrafik::draw() {
    if (scrollArea) {
        return; // built once
    }
    scrollArea = GraphGrid::build(this, columns, rows, cellWidth, cellHeight, columnTitles, rowTitles,
                                  grafiks, QStringLiteral(" "), 0);
}

void SearchNativeMultiGrafik::scrollToGrafik(int row, int col) {
    GraphGrid::scrollTo(scrollArea, grafiks, row, col, cellWidth, cellHeight);
}
