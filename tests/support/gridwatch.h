#ifndef GRIDWATCH_H
#define GRIDWATCH_H

#include <QByteArray>
#include <QHash>
#include <QObject>

// Watches, while it lives, how grids of graphs of the class gridClass come and go in the application:
// whether each grid was built and its cells laid out before it was first shown, how often each cell
// (a widget of cellClass) was shown, and whether a grid was still shown when its deletion came.
class GridWatch : public QObject {
public:
    GridWatch(QByteArray gridClass, QByteArray cellClass);
    ~GridWatch() override;

    int gridsShown = 0;
    int gridsShownUnbuilt = 0; // shown while its scroll area or a cell's place was still missing
    int gridsDeletedShown = 0; // still shown when its deferred deletion came
    QHash<QObject*, int> cellShows;

    // The largest number of shows of one cell, 0 when no cell was shown.
    int mostShowsOfACell() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QByteArray gridClass;
    QByteArray cellClass;
};

#endif // GRIDWATCH_H
