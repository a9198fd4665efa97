#ifndef TABLECELLS_H
#define TABLECELLS_H

#include <QStringList>
#include <QVector>

class QTableWidget;

// What a table widget shows, read the way a user sees it.
namespace TableCells {
QStringList headers(const QTableWidget* table);
// Texts of one column, top to bottom ("" for a cell without item).
QStringList column(const QTableWidget* table, int column);
// The states of the check boxes in the cells of a column; false where a cell has none.
QVector<bool> checks(const QTableWidget* table, int column);
// Number of cells of the table that hold a widget.
int cellWidgets(const QTableWidget* table);
} // namespace TableCells

#endif // TABLECELLS_H
