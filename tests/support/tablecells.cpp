#include "support/tablecells.h"

#include <QCheckBox>
#include <QTableWidget>

QStringList TableCells::headers(const QTableWidget* table) {
    QStringList out;
    for (int c = 0; c < table->columnCount(); ++c) {
        const QTableWidgetItem* item = table->horizontalHeaderItem(c);
        out << (item ? item->text() : QString());
    }
    return out;
}

QStringList TableCells::column(const QTableWidget* table, int column) {
    QStringList out;
    for (int r = 0; r < table->rowCount(); ++r) {
        const QTableWidgetItem* item = table->item(r, column);
        out << (item ? item->text() : QString());
    }
    return out;
}

QVector<bool> TableCells::checks(const QTableWidget* table, int column) {
    QVector<bool> out;
    for (int r = 0; r < table->rowCount(); ++r) {
        const QWidget* cell = table->cellWidget(r, column);
        const QCheckBox* box = cell ? cell->findChild<QCheckBox*>() : nullptr;
        out << (box && box->isChecked());
    }
    return out;
}

int TableCells::cellWidgets(const QTableWidget* table) {
    int n = 0;
    for (int r = 0; r < table->rowCount(); ++r) {
        for (int c = 0; c < table->columnCount(); ++c) {
            n += table->cellWidget(r, c) != nullptr;
        }
    }
    return n;
}
