#ifndef FOURIERTABLE_H
#define FOURIERTABLE_H

#include <QList>
#include <QMap>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QTableWidget>

class QCheckBox;
class QTableWidgetItem;

// The list beside the directory form's inputs, in one of four kinds: "cachesAndDates" and
// "harmonics3sigma" (a name and a check box per row), "search" (one column of directory names,
// picked by a click or a keyboard move) and "datesFromFile" (the words of a file's rows under the
// words of its first row, with a check box per row). A new table has only its first row checked; the
// check states live in the check boxes. Owns its items and cells; the form owns the table.
class FourierTable : public QTableWidget {
    Q_OBJECT
public:
    FourierTable(const QStringList& rows, QMap<QString, QString> kinds, const QString& tableType,
                 QWidget* parent);
    ~FourierTable() override;

    QString tableType;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // The check box of a row, or nullptr for a table without them or a row out of range.
    QCheckBox* checkBoxOf(int row) const;

signals:
    void clickedTableItem(QString text);
    void clickedTableRow(QList<QTableWidgetItem*> items);
    void changedTableCheckBox();

public slots:
    void clickedTableItem(QTableWidgetItem* item);
    void clickedTableItemCheck(QTableWidgetItem* item);
    void checkBoxChanged(int i);
    void changedTableItem(int row, int column, int previousRow, int previousColumn);

private:
    void addCheckCell(int row, int column);
};

#endif // FOURIERTABLE_H
