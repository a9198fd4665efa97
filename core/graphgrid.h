#ifndef GRAPHGRID_H
#define GRAPHGRID_H

#include <QString>
#include <QVector>

class QScrollArea;
class QWidget;

// The scrollable, titled grid of graphs that every grid class builds on itself. The cell widgets are
// the caller's; placing them makes them children of the grid's frame, so they go with the owner. Build
// it while the owner is not shown: the cells are then laid out in one pass and shown once, with their
// grid, and that show repaints the cells in view rather than every cell on its own.
namespace GraphGrid {
// Column titles: entry 0 is the first part of the corner text, entry i >= 1 titles graph column i - 1;
// row titles likewise. A null cell becomes the label "Нет графика r-c", numbered from placeholderOrigin.
// columns == 1 gives a single untitled column of each row's first widget. Returns the scroll area.
QScrollArea* build(QWidget* owner, int columns, int rows, int cellWidth, int cellHeight,
                   const QVector<QString>& columnTitles, const QVector<QString>& rowTitles,
                   const QVector<QVector<QWidget*>>& grafiks, const QString& cornerJoiner,
                   int placeholderOrigin);
// The corner text: the two entries 0 joined by cornerJoiner, or whichever of them is not empty.
QString cornerText(const QVector<QString>& columnTitles, const QVector<QString>& rowTitles,
                   const QString& cornerJoiner);
// Scrolls the cell into view with margins of two cells and gives the area the focus; a missing cell
// (null, or outside the grid) only takes the focus.
void scrollTo(QScrollArea* area, const QVector<QVector<QWidget*>>& grafiks, int row, int col, int cellWidth,
              int cellHeight);
} // namespace GraphGrid

#endif // GRAPHGRID_H
