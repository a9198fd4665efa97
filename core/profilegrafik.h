#ifndef PROFILEGRAFIK_H
#define PROFILEGRAFIK_H

#include "core/profileplot.h"
#include "core/screenfit.h"

#include <QPointF>
#include <QRect>
#include <QString>
#include <QWidget>

class MainWindow;

// The plot of the profile and native multi-date views: one or more series with labels, ticks, marker
// lines and captions, alone or as a cell of a MultiGrafik. The owner fills the public fields (those of
// ProfilePlot, plus the main window and the grid position), clears hintShown and calls redraw(). Mouse:
// a "profile" graph selects a band and reports its integral S/N, a "statistics" graph sends the
// coordinates text and date clicks, grid cells and "one" graphs send cell clicks.
class ProfileGrafik : public QWidget, public ProfilePlot {
    Q_OBJECT
public:
    ProfileGrafik(QString grafikType, QWidget* parent);
    QSize sizeHint() const override { return ScreenFit::plotHint(); }

    // Only tested for null: the clipboard it stands for is the application's.
    MainWindow* mainWindow = nullptr;
    int row = 0;
    int col = 0;

    void showStartMessage();
    // Point count and Y range from the fields, then an update; always true.
    bool redraw();
    // The report box text; the report line goes to the clipboard when mainWindow is set.
    QString getSelectionReport(QRect selection);

signals:
    void coordsChanged(QPointF point, QString text);
    void clickedStatisticDate(QString date, bool leftOnly);
    void clickedLeftOnGrafik(QString caption, int row, int col);
    void clickedRightOnGrafik(QString caption, int row, int col);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};

#endif // PROFILEGRAFIK_H
