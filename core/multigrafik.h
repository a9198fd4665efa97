#ifndef MULTIGRAFIK_H
#define MULTIGRAFIK_H

#include <QString>
#include <QVector>
#include <QWidget>

class QScrollArea;

// A scrollable grid of graphs with a title row, a title column and a corner text. The owner fills the
// fields with cell widgets (null for a missing graph) and titles and calls draw() once; the cells then
// belong to the grid. Presses on the grid itself are swallowed.
class MultiGrafik : public QWidget {
    Q_OBJECT
public:
    explicit MultiGrafik(QWidget* parent);

    QScrollArea* scrollArea = nullptr;
    int columns = 4; // 1 selects the one-column layout
    int rows = 3;
    int cellWidth = 200;
    int cellHeight = 200;
    QVector<QString> columnTitles; // entry 0: first part of the corner text
    QVector<QString> rowTitles;    // entry 0: second part of the corner text
    QVector<QVector<QWidget*>> grafiks{QVector<QWidget*>()};

    void draw();

public slots:
    void scrollToGrafik(int row, int col);

protected:
    void mousePressEvent(QMouseEvent* event) override;
};

#endif // MULTIGRAFIK_H
