#ifndef PROFILEGRIDPLAN_H
#define PROFILEGRIDPLAN_H

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

// What a grid of profiles of one date shows, as plain data: the titles, the size, and for every cell the
// profile it stands for (an empty key when the profile is missing or empty, so the grid shows its
// placeholder) with its tint and the position of the date's best profile. The profile form makes the
// cell widgets from it; nothing here owns or draws anything.
struct ProfileGridPlan {
    struct Cell {
        QString key; // "date_dm_period"; empty for a missing profile
        QString dm;
        QString period;
        QString tint; // the cell's background; empty keeps the default white
    };

    int rows = 0;
    int columns = 0;
    QVector<QString> columnTitles;
    QVector<QString> rowTitles;
    QVector<QVector<Cell>> cells; // one entry per grid row; a dispersions grid's last row may be shorter
    int bestRow = 0;              // 0 and 0 when no cell holds the best profile
    int bestCol = 0;

    // Periods (rows) by DMs (columns) of the date.
    static ProfileGridPlan periods(const QString& date, const QVector<QString>& dms,
                                   const QVector<QString>& periodList, const QStringList& best,
                                   const QHash<QString, QVector<double>>& profiles);
    // The date's DMs at one period, five to a row; the last row holds only the DMs left over.
    static ProfileGridPlan dispersions(const QString& date, const QString& period,
                                       const QVector<QString>& dms, const QStringList& best,
                                       const QHash<QString, QVector<double>>& profiles);
    // The tint of a key by its position in the best list (strongest first).
    static QString tint(const QStringList& best, const QString& key);
};

#endif // PROFILEGRIDPLAN_H
