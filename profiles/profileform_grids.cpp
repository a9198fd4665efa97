// Grids of the profiles of one date (periods by DMs, or DMs five to a row) and the S/N against DM graph.
// Every cell is made before the grid enters the work area; cells only schedule their paint.
#include "core/desktop.h"
#include "core/multigrafik.h"
#include "core/profilegrafik.h"
#include "core/settings.h"
#include "core/tools.h"
#include "core/workarea.h"
#include "profiles/dmsnrseries.h"
#include "profiles/profileform.h"
#include "profiles/profilegridplan.h"
#include "ui_profileform.h"

#include <QTimer>

namespace {
// Cell sizes of 90 pixels and less are too small to read; the grid then keeps its default.
constexpr int minCellSize = 90;
} // namespace

bool ProfileForm::drawGrafikMulti() {
    ui->groupBoxCalculator->hide();
    if (dirMode == QLatin1String("periods")) {
        return drawGrafikMultiDispPeriods();
    }
    if (dirMode == QLatin1String("dispersions")) {
        return drawGrafikMultiDispersions();
    }
    return false;
}

bool ProfileForm::drawGrafikMultiDispPeriods() {
    ui->groupBoxCalculator->hide();
    const QString date = ui->comboBoxDate->currentText();
    QString error;
    if (date.isEmpty()) {
        error = QStringLiteral("Выберите дату!");
    } else if (dmPeriods.isEmpty()) {
        error = QStringLiteral("Нет ни одного периода!");
    } else if (dateDms.isEmpty()) {
        error = QStringLiteral("Нет ни одной дисперсии!");
    }
    if (!error.isEmpty()) {
        Desktop::instance()->warning(this, QStringLiteral("Error"), error);
        return false;
    }
    if (!bestForDate) {
        ui->comboBoxMaximums->setCurrentIndex(1);
    }
    return showProfileGrid(
        ProfileGridPlan::periods(date, dateDms, dmPeriods, bestFiveByDate.value(date), profiles), true);
}

bool ProfileForm::drawGrafikMultiDispersions() {
    ui->groupBoxCalculator->hide();
    const QString date = ui->comboBoxDate->currentText();
    const QString period = ui->comboBoxPeriod->currentText();
    QString error;
    if (date.isEmpty()) {
        error = QStringLiteral("Выберите дату!");
    } else if (period.isEmpty()) {
        error = QStringLiteral("Выберите период!");
    } else if (dmPeriods.isEmpty()) {
        error = QStringLiteral("Нет посчитанных периодов!");
    } else if (dateDms.isEmpty()) {
        error = QStringLiteral("Нет посчитанных дисперсий!");
    }
    if (!error.isEmpty()) {
        Desktop::instance()->warning(this, QStringLiteral("Error"), error);
        return false;
    }
    if (!bestForDate) {
        ui->comboBoxMaximums->setCurrentIndex(1);
    }
    const QStringList best = bestFiveByDatePeriod.value(date + QLatin1Char('_') + period);
    return showProfileGrid(ProfileGridPlan::dispersions(date, period, dateDms, best, profiles), false);
}

bool ProfileForm::showProfileGrid(const ProfileGridPlan& plan, bool smoothCells) {
    auto* grid = new MultiGrafik(this);
    multiGrafik = grid;
    Settings::getInstance()->setGrafikMulti(grid);
    grid->columnTitles = plan.columnTitles;
    grid->rowTitles = plan.rowTitles;
    grid->columns = plan.columns;
    grid->rows = plan.rows;
    const int width = ui->multiWidth->text().toInt();
    const int height = ui->multiHeight->text().toInt();
    if (width > minCellSize) {
        grid->cellWidth = width;
    }
    if (height > minCellSize) {
        grid->cellHeight = height;
    }

    const bool forPrint = ui->groupBoxForPrint->isChecked();
    const bool showMaximum = forPrint ? ui->forPrintShowMax->isChecked() : ui->showMax->isChecked();
    const int average = ui->average->value();
    const QVector<QString> fractions{"0", "0.25", "0.5", "0.75", "1"};
    profileGrafik = nullptr;
    QVector<QVector<QWidget*>> grafiks;
    grafiks.reserve(plan.cells.size());
    for (const QVector<ProfileGridPlan::Cell>& planRow : plan.cells) {
        QVector<QWidget*> row;
        row.reserve(planRow.size());
        for (const ProfileGridPlan::Cell& c : planRow) {
            if (c.key.isEmpty()) {
                row.append(nullptr);
                continue;
            }
            QVector<double> p = profiles.value(c.key);
            const QVector<double> stats = profileStats.value(c.key);
            double m = stats.value(0);
            if (smoothCells && average >= 1) {
                p = Tools::smoothRepeated(p, average);
                m = Tools::maxValue(p);
            }
            auto* cell = new ProfileGrafik(QString(), this);
            cell->inGrid = true;
            cell->nPoints = p.size();
            cell->arrGrafikY = {maxToCenter ? Tools::centerMaximum(p) : p};
            cell->visible = {true};
            cell->labelsBottom = fractions;
            cell->grafikMode = 1;
            cell->drawCircles = false;
            cell->hintShown = false;
            cell->fixedYRange = true;
            cell->yMax = stats.value(0);
            cell->yMin = stats.value(1);
            cell->markers = {cell->nPoints / 2};
            cell->caption1 = QString();
            cell->caption2 = QStringLiteral("p=%1").arg(c.period);
            cell->caption3 = QStringLiteral("dm=%1").arg(c.dm);
            if (showMaximum) {
                cell->caption4 = smoothCells ? QStringLiteral("max=%1").arg(QString::number(m, 'f', 1))
                                             : QStringLiteral("max=%1").arg(m);
                cell->caption5 = QStringLiteral("num=%1").arg(stats.value(2));
            }
            cell->background = c.tint;
            cell->redraw();
            profileGrafik = cell;
            row.append(cell);
        }
        grafiks.append(row);
    }
    grid->grafiks = grafiks;
    bestRow = plan.bestRow;
    bestCol = plan.bestCol;

    grid->draw();
    workLayout = WorkArea::install({this, grid});
    view = QStringLiteral("multi");
    QTimer::singleShot(20, this, &ProfileForm::scrollToBestGrafik);
    return true;
}

void ProfileForm::scrollToBestGrafik() {
    if (view != QLatin1String("multi") || !multiGrafik) {
        return;
    }
    const QVector<QVector<QWidget*>>& g = multiGrafik->grafiks;
    if (bestRow < 0 || bestRow >= g.size() || bestCol < 0 || bestCol >= g[bestRow].size()) {
        return;
    }
    multiGrafik->scrollToGrafik(bestRow, bestCol);
}

void ProfileForm::drawAndScrollToBestGrafik() {
    if (view == QLatin1String("multi")) {
        scrollToBestGrafik();
        return;
    }
    drawGrafikMulti();
}

bool ProfileForm::drawGrafikDisp() {
    const QString date = ui->comboBoxDate->currentText();
    const QString period = ui->comboBoxPeriod->currentText();
    const int k = ui->harmonic->text().toInt();
    QString error;
    if (date.isEmpty()) {
        error = QStringLiteral("Выберите дату!");
    } else if (period.isEmpty()) {
        error = QStringLiteral("Выберите период!");
    } else if (dateDms.isEmpty()) {
        error = QStringLiteral("Нет списка дисперсий!");
    } else if (k == 0) {
        error = QStringLiteral("Выберите номер точки!");
    }
    if (!error.isEmpty()) {
        Desktop::instance()->warning(this, QStringLiteral("Error"), error);
        return false;
    }
    const DmSnrSeries series = DmSnrSeries::build(profiles, date, period, dateDms, k);

    auto* plot = new ProfileGrafik(QString(), this);
    profileGrafik = plot;
    plot->showStartMessage();
    workLayout = WorkArea::install({this, plot});
    bestRow = 0;
    bestCol = 0;

    plot->inGrid = false;
    plot->arrGrafikY = {series.values};
    plot->visible = {true};
    plot->arrGrafikX = series.dms;
    plot->labelsBottom.clear();
    plot->nPoints = series.dms.size();
    plot->xLimit = ui->showMaxDisp->text().toInt();
    plot->grafikMode = 1;
    plot->drawCircles = false;
    plot->hintShown = false;
    plot->fixedYRange = true;
    plot->yMax = series.best;
    plot->yMin = series.low;
    plot->caption8 = QStringLiteral("S/N from DM");
    plot->caption1 = Tools::normalizeJName(ui->pulsarName->text());
    plot->caption2 = QStringLiteral("max: DM=%1").arg(series.bestDm);
    plot->caption3 = QString();
    plot->caption4 = QString();
    plot->caption5 = QString();
    const QString maximum = QStringLiteral("S/N=%1").arg(QString::number(series.best, 'f', 1));
    if (ui->groupBoxForPrint->isChecked()) {
        plot->forPrint = true;
        plot->markers.clear();
        if (ui->forPrintShowMax->isChecked()) {
            plot->caption3 = maximum;
        }
    } else {
        plot->forPrint = false;
        plot->markers = {series.bestDm};
        if (ui->showMax->isChecked()) {
            plot->caption3 = maximum;
        }
    }
    plot->redraw();
    view = QStringLiteral("disp");
    ui->groupBoxCalculator->hide();
    return true;
}
