#ifndef PANELCOLUMN_H
#define PANELCOLUMN_H

class QScrollArea;
class QWidget;

// The frame of every panel beside a one-file plot: a column of fixed width that is one scroll area,
// 10 pixels off the plot, with its vertical bar always shown and no horizontal one.
class PanelColumn {
public:
    PanelColumn() = delete;

    // Lays `panel` out that way; the caller puts the column's content into the returned area.
    static QScrollArea* install(QWidget* panel);
};

#endif // PANELCOLUMN_H
