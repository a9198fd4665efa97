#include "directory/views/fouriertable.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QScrollBar>
#include <QStyle>

namespace {

QTableWidgetItem* centred(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setTextAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    return item;
}

} // namespace

FourierTable::FourierTable(const QStringList& rows, QMap<QString, QString> kinds, const QString& tableType,
                           QWidget* parent)
    : QTableWidget(parent), tableType(tableType) {
    setAttribute(Qt::WA_DeleteOnClose);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setContentsMargins(40, 30, 10, 20);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Ignored);
    setWindowTitle(QStringLiteral("Cache/Days list"));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    verticalHeader()->hide();

    if (tableType == QLatin1String("cachesAndDates") || tableType == QLatin1String("harmonics3sigma")) {
        setColumnCount(2);
        setRowCount(rows.size());
        setHorizontalHeaderLabels({tableType == QLatin1String("cachesAndDates") ? QStringLiteral("Cache/Day")
                                                                                : QStringLiteral("Harmonic"),
                                   QStringLiteral("Check")});
        for (int r = 0; r < rows.size(); ++r) {
            auto* name = centred(rows[r]);
            auto* under = new QTableWidgetItem(QString());
            setItem(r, 0, name);
            setItem(r, 1, under);
            addCheckCell(r, 1);
            const QString kind = kinds.value(rows[r]);
            QString colour;
            bool both = true;
            if (kind == QLatin1String("cacheOthers")) {
                colour = QStringLiteral("#c1f8c1");
            } else if (kind == QLatin1String("cacheYears")) {
                colour = QStringLiteral("#d0f9d0");
            } else if (kind == QLatin1String("cacheMonthes")) {
                colour = QStringLiteral("#e5fbe5");
            } else if (kind == QLatin1String("red")) {
                colour = QStringLiteral("#ffcccc");
                both = false;
            } else if (kind == QLatin1String("green")) {
                colour = QStringLiteral("#ccffcc");
                both = false;
            }
            if (!colour.isEmpty()) {
                const QBrush brush{QColor(colour), Qt::SolidPattern};
                under->setBackground(brush);
                if (both) {
                    name->setBackground(brush);
                }
            }
        }
        resizeColumnsToContents();
        connect(this, &QTableWidget::itemClicked, this, &FourierTable::clickedTableItemCheck);
    } else if (tableType == QLatin1String("search")) {
        setColumnCount(1);
        setRowCount(rows.size());
        setHorizontalHeaderLabels({QStringLiteral("dir")});
        for (int r = 0; r < rows.size(); ++r) {
            setItem(r, 0, new QTableWidgetItem(rows[r]));
        }
        resizeColumnsToContents();
        connect(this, &QTableWidget::itemClicked, this,
                QOverload<QTableWidgetItem*>::of(&FourierTable::clickedTableItem));
        connect(this, &QTableWidget::currentCellChanged, this, &FourierTable::changedTableItem);
    } else {
        const QStringList header = rows.value(0).split(QLatin1Char(' '));
        setColumnCount(header.size());
        setHorizontalHeaderLabels(header);
        setRowCount(std::max(0, int(rows.size()) - 1));
        const int last = header.size() - 1;
        for (int r = 1; r < rows.size(); ++r) {
            // Words beyond the header's have no column and are dropped.
            const QStringList words = rows[r].split(QLatin1Char(' '));
            for (int c = 0; c < words.size() && c < header.size(); ++c) {
                setItem(r - 1, c, centred(words[c]));
            }
            setItem(r - 1, last, new QTableWidgetItem(QString()));
            addCheckCell(r - 1, last);
        }
        resizeColumnsToContents();
        connect(this, &QTableWidget::itemClicked, this, &FourierTable::clickedTableItemCheck);
    }
}

FourierTable::~FourierTable() = default;

void FourierTable::addCheckCell(int row, int column) {
    auto* cell = new QWidget();
    auto* layout = new QHBoxLayout(cell);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setAlignment(Qt::AlignCenter);
    auto* box = new QCheckBox();
    box->setChecked(row == 0);
    layout->addWidget(box);
    connect(box, &QCheckBox::stateChanged, this, &FourierTable::checkBoxChanged);
    setCellWidget(row, column, cell);
}

QCheckBox* FourierTable::checkBoxOf(int row) const {
    if (tableType == QLatin1String("search") || row < 0 || row >= rowCount() || columnCount() == 0) {
        return nullptr;
    }
    QWidget* cell = cellWidget(row, columnCount() - 1);
    return cell ? cell->findChild<QCheckBox*>() : nullptr;
}

QSize FourierTable::sizeHint() const {
    return QSize(horizontalHeader()->length() + style()->pixelMetric(QStyle::PM_ScrollBarExtent),
                 QAbstractScrollArea::sizeHint().height());
}

QSize FourierTable::minimumSizeHint() const {
    return sizeHint();
}

void FourierTable::clickedTableItem(QTableWidgetItem* item) {
    if (item) {
        emit clickedTableItem(item->text());
    }
}

void FourierTable::clickedTableItemCheck(QTableWidgetItem* item) {
    const int row = item && item->tableWidget() == this ? item->row() : -1;
    const int column = item && item->tableWidget() == this ? item->column() : -1;
    const int checkColumn = columnCount() - 1;
    if (column != checkColumn) {
        for (int r = 0; r < rowCount(); ++r) {
            QCheckBox* box = checkBoxOf(r);
            if (r != row && box) {
                box->setChecked(false);
            }
        }
    }
    QCheckBox* box = checkBoxOf(row);
    if (!box) {
        return;
    }
    box->toggle();
    if (tableType == QLatin1String("datesFromFile") && column != checkColumn && box->isChecked()) {
        QList<QTableWidgetItem*> cells;
        for (int c = 0; c < columnCount(); ++c) {
            if (QTableWidgetItem* cellItem = this->item(row, c)) {
                cells.append(cellItem);
            }
        }
        emit clickedTableRow(cells);
    }
}

void FourierTable::checkBoxChanged(int i) {
    Q_UNUSED(i);
    emit changedTableCheckBox();
}

void FourierTable::changedTableItem(int row, int column, int previousRow, int previousColumn) {
    Q_UNUSED(previousRow);
    Q_UNUSED(previousColumn);
    if (QTableWidgetItem* current = item(row, column)) {
        emit clickedTableItem(current->text());
    }
}
