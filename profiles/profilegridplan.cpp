#include "profiles/profilegridplan.h"

namespace {
constexpr int dmsPerRow = 5;

ProfileGridPlan::Cell makeCell(const QString& date, const QString& dm, const QString& period,
                               const QStringList& best, const QHash<QString, QVector<double>>& profiles) {
    ProfileGridPlan::Cell cell;
    cell.dm = dm;
    cell.period = period;
    const QString key = QStringLiteral("%1_%2_%3").arg(date, dm, period);
    const auto found = profiles.constFind(key);
    if (found == profiles.cend() || found.value().isEmpty()) {
        return cell;
    }
    cell.key = key;
    cell.tint = ProfileGridPlan::tint(best, key);
    return cell;
}

void placeBest(ProfileGridPlan& plan, const QStringList& best) {
    if (best.isEmpty()) {
        return;
    }
    for (int r = 0; r < plan.cells.size(); ++r) {
        for (int c = 0; c < plan.cells[r].size(); ++c) {
            if (!plan.cells[r][c].key.isEmpty() && plan.cells[r][c].key == best.first()) {
                plan.bestRow = r;
                plan.bestCol = c;
            }
        }
    }
}
} // namespace

QString ProfileGridPlan::tint(const QStringList& best, const QString& key) {
    if (!best.isEmpty() && best[0] == key) {
        return QStringLiteral("#fdcedb");
    }
    if (best.size() > 1 && best[1] == key) {
        return QStringLiteral("#c8fcc7");
    }
    if (best.size() > 2 && best[2] == key) {
        return QStringLiteral("#defbdd");
    }
    if (best.size() > 3 && best.contains(key)) {
        return QStringLiteral("#f0fbef");
    }
    return QString();
}

ProfileGridPlan ProfileGridPlan::periods(const QString& date, const QVector<QString>& dms,
                                         const QVector<QString>& periodList, const QStringList& best,
                                         const QHash<QString, QVector<double>>& profiles) {
    ProfileGridPlan plan;
    plan.columns = dms.size();
    plan.rows = periodList.size();
    plan.columnTitles.append(QStringLiteral("period"));
    for (const QString& dm : dms) {
        plan.columnTitles.append(QStringLiteral("DM=%1").arg(dm));
    }
    plan.rowTitles.append(QStringLiteral("DM"));
    plan.rowTitles += periodList;
    for (const QString& period : periodList) {
        QVector<Cell> row;
        row.reserve(dms.size());
        for (const QString& dm : dms) {
            row.append(makeCell(date, dm, period, best, profiles));
        }
        plan.cells.append(row);
    }
    placeBest(plan, best);
    return plan;
}

ProfileGridPlan ProfileGridPlan::dispersions(const QString& date, const QString& period,
                                             const QVector<QString>& dms, const QStringList& best,
                                             const QHash<QString, QVector<double>>& profiles) {
    ProfileGridPlan plan;
    const int n = dms.size();
    plan.columns = std::min(dmsPerRow, n);
    plan.rows = (n + dmsPerRow - 1) / dmsPerRow;
    plan.columnTitles.append(QStringLiteral("rows"));
    for (int j = 1; j <= plan.columns; ++j) {
        plan.columnTitles.append(QString::number(j));
    }
    plan.rowTitles.append(QStringLiteral("cols"));
    for (int i = 1; i <= plan.rows; ++i) {
        plan.rowTitles.append(QString::number(i));
    }
    for (int i = 0; i < plan.rows; ++i) {
        QVector<Cell> row;
        for (int j = dmsPerRow * i; j < std::min(n, dmsPerRow * (i + 1)); ++j) {
            row.append(makeCell(date, dms[j], period, best, profiles));
        }
        plan.cells.append(row);
    }
    placeBest(plan, best);
    return plan;
}
