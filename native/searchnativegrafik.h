#ifndef SEARCHNATIVEGRAFIK_H
#define SEARCHNATIVEGRAFIK_H

#include "core/profileplot.h"
#include "core/screenfit.h"

#include <QPointF>
#include <QRect>
#include <QString>
#include <QWidget>

class MainWindow;

// The plot of the search-result browser: its start hint, its one graph ("profile", with the rubber-band
// report) and every cell of its grid (""). Range, painting, mapping and the report come from the shared
// plot core; this class keeps only its own meta-object and its press rule: a press goes by type alone
// ("profile" to the band, "statistics" to the date click, grid cells too), any other type does nothing,
// and no press is passed on. The owner fills the public fields and calls redraw().
class SearchNativeGrafik : public QWidget, public ProfilePlot {
    Q_OBJECT
public:
    SearchNativeGrafik(QString grafikType, QWidget* parent);
    QSize sizeHint() const override { return ScreenFit::plotHint(); }

    // Only tested for null: the clipboard it stands for is the application's.
    MainWindow* mainWindow = nullptr;

    void showStartMessage();
    // Point count and Y range from the fields, then an update; always true.
    bool redraw();
    // The report box text; the report line goes to the clipboard when mainWindow is set.
    QString getSelectionReport(QRect selection);

signals:
    void coordsChanged(QPointF point, QString text);
    void clickedStatisticDate(QString date, bool leftOnly);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};

#endif // SEARCHNATIVEGRAFIK_H
