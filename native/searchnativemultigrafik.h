#ifndef SEARCHNATIVEMULTIGRAFIK_H
#define SEARCHNATIVEMULTIGRAFIK_H

#include <QString>
#include <QVector>
#include <QWidget>

class QScrollArea;

// The grid of dates by DMs of the search-result browser, built by the shared grid builder: its corner
// joins the two title entries with one blank and its placeholders count from 0. The owner fills the
// fields (null for a missing graph) and calls draw() once; the cells then belong to the grid. It has no
// press handler of its own, so presses on the grid go on to its parent.
class SearchNativeMultiGrafik : public QWidget {
    Q_OBJECT
public:
    explicit SearchNativeMultiGrafik(QWidget* parent);

    QScrollArea* scrollArea = nullptr;
    int columns = 4; // 1 selects the one-column layout
    int rows = 3;
    int cellWidth = 200;
    int cellHeight = 200;
    QVector<QString> columnTitles{"Заголовок колонки0", "Колонка 1", "Колонка 2", "Колонка 3", "Колонка 4"};
    QVector<QString> rowTitles{"Строка 1", "Строка 2", "Строка 3"};
    QVector<QVector<QWidget*>> grafiks;

    void draw();

public slots:
    void scrollToGrafik(int row, int col);
};

#endif // SEARCHNATIVEMULTIGRAFIK_H
