#include "core/desktop.h"
#include "core/multigrafik.h"
#include "core/profilegrafik.h"
#include "core/settings.h"
#include "core/tools.h"
#include "core/workarea.h"
#include "native/nativemultiform.h"
#include "native/selectorstep.h"
#include "ui_nativemultiform.h"

#include <QHBoxLayout>
#include <QTimer>

#include <algorithm>
#include <cmath>

// The curves of one date as both views draw them.
struct NativeMultiForm::Curves {
    QVector<QVector<double>> y;
    QVector<QString> colors;
    double max = 0;
    double min = 0;
    double max0 = 0;  // maximum of the DM-0 series, 0 when it was not computed
    double maxDM = 0; // maximum of the chosen-DM series
    int nPoints = 0;
    QString mode;
    double dm = 0;
    bool dmIsZero = true; // the integer part of the DM is 0
};

bool NativeMultiForm::hasData(const QString& date) const {
    const auto it = series.constFind(date);
    return it != series.constEnd() && it->size() == 7 && !it->at(6).isEmpty();
}

void NativeMultiForm::showView(QWidget* view) {
    workLayout = WorkArea::install({this, view});
}

NativeMultiForm::Panel NativeMultiForm::readPanel() const {
    Panel p;
    p.dm = ui->comboBoxDispersion->currentText().toDouble();
    p.mode = ui->showDisp0->isChecked()   ? QStringLiteral("disp0")
             : ui->showDisp2->isChecked() ? QStringLiteral("both")
                                          : QStringLiteral("disp");
    p.options = seriesOptions(ui->average->value(), ui->comboBoxAverageType->currentIndex());
    return p;
}

NativeMultiForm::Curves NativeMultiForm::curvesOf(const QString& date, const Panel& panel) {
    Curves c;
    c.dm = panel.dm;
    c.mode = panel.mode;
    // Compared as doubles: a typed DM far beyond int must not be converted.
    const double whole = std::trunc(c.dm);
    c.dmIsZero = whole == 0;
    QVector<double> s0;
    Tools::MaxMin range0 = Tools::maxMin(s0); // the start values, which an absent DM-0 series leaves
    if (whole >= 1) {
        s0 = seriesOf(date, 0, panel.options);
        range0 = Tools::maxMin(s0);
        c.max0 = range0.max;
    }
    const QVector<double> sDM = seriesOf(date, c.dm, panel.options);
    const Tools::MaxMin rangeDM = Tools::maxMin(sDM);
    c.maxDM = rangeDM.max;
    // Both ranges start from the same values and skip NaN, so this is the range of one pass over both
    // series, ties keeping the DM-0 value.
    c.max = std::max(range0.max, rangeDM.max);
    c.min = std::min(range0.min, rangeDM.min);
    c.nPoints = sDM.size();
    if (c.dmIsZero) {
        c.y = {sDM};
        c.colors = {QStringLiteral("red")};
    } else if (c.mode == QLatin1String("disp0")) {
        c.y = {s0};
        c.colors = {QStringLiteral("red")};
    } else if (c.mode == QLatin1String("disp")) {
        c.y = {sDM};
        c.colors = {QStringLiteral("blue")};
    } else {
        c.y = {s0, sDM};
        c.colors = {QStringLiteral("red"), QStringLiteral("blue")};
    }
    return c;
}

void NativeMultiForm::connectClicks(ProfileGrafik* g) {
    connect(g, SIGNAL(clickedLeftOnGrafik(QString, int, int)), this,
            SLOT(clickedLeftOnGrafik(QString, int, int)));
    connect(g, SIGNAL(clickedRightOnGrafik(QString, int, int)), this,
            SLOT(clickedRightOnGrafik(QString, int, int)));
}

bool NativeMultiForm::drawGrafikMulti(QString date, int row, int col) {
    Q_UNUSED(date);
    currentRow = row;
    currentCol = col;
    return drawGrafikMulti();
}

bool NativeMultiForm::drawGrafikMulti() {
    int columns = ui->cols->text().toInt();
    if (columns < 0) {
        columns = 2;
    }
    if (columns == 0) {
        Desktop::instance()->warning(this, QStringLiteral("Error"), QStringLiteral("Нет колонок!"));
        return false;
    }
    const int rows = (dates.size() + columns - 1) / columns;
    if (rows == 0) {
        Desktop::instance()->warning(this, QStringLiteral("Error"), QStringLiteral("Нет строк!"));
        return false;
    }

    QVector<QString> columnTitles{QString()};
    for (int c = 1; c <= columns; ++c) {
        columnTitles << QString::number(c);
    }
    QVector<QString> rowTitles{QString()};
    for (int r = 1; r <= rows; ++r) {
        rowTitles << QString::number(r);
    }

    auto* grid = new MultiGrafik(this);
    multiGrafik = grid;
    Settings::getInstance()->setGrafikMulti(grid);
    grid->columnTitles = columnTitles;
    grid->rowTitles = rowTitles;
    grid->columns = columns;
    grid->rows = rows;
    const int width = ui->multiWidth->text().toInt();
    const int height = ui->multiHeight->text().toInt();
    if (width > 90) {
        grid->cellWidth = width;
    }
    if (height > 90) {
        grid->cellHeight = height;
    }

    const Panel panel = readPanel();
    QVector<QVector<QWidget*>> cells(rows, QVector<QWidget*>(columns, nullptr));
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            const qint64 k = qint64(r) * columns + c;
            if (k >= dates.size() || !hasData(dates.at(int(k)))) {
                continue;
            }
            const QString& d = dates.at(int(k));
            auto* g = new ProfileGrafik(QString(), this);
            grafik = g;
            const Curves curves = curvesOf(d, panel);
            g->arrGrafikY = curves.y;
            g->colors = curves.colors;
            g->visible = QVector<bool>(curves.y.size(), true);
            if (greenDates.value(d) == 1) {
                g->background = QStringLiteral("#defbdd");
            }
            g->inGrid = true;
            g->row = r;
            g->col = c;
            g->labelsBottom = {QStringLiteral("0"), QStringLiteral("600"), QStringLiteral("1200"),
                               QStringLiteral("1800"), QStringLiteral("2400")};
            g->grafikMode = 1;
            g->precisionY = 1;
            g->drawCircles = false;
            g->nPoints = curves.nPoints;
            g->hintShown = false;
            g->fixedYRange = true;
            g->yMax = curves.max;
            g->yMin = curves.min;
            g->markers.clear();
            g->caption2 = d;
            g->caption3 = QStringLiteral("max=%1").arg(curves.max, 0, 'f', 2);
            g->redraw();
            connectClicks(g);
            cells[r][c] = g;
        }
    }
    grid->grafiks = cells;

    // Built while it is not shown, so that it is laid out once and shown once.
    grid->draw();
    showView(grid);
    viewName = QStringLiteral("multi");

    if ((currentRow != 0 || currentCol != 0) && currentRow < rows && currentCol < columns) {
        QTimer::singleShot(20, this, &NativeMultiForm::scrollToCurrentGrafik);
    }
    return true;
}

bool NativeMultiForm::drawGrafikOne() {
    const QString d = ui->comboBoxDate->currentText();
    if (d.isEmpty()) {
        Desktop::instance()->warning(this, QStringLiteral("Error"), QStringLiteral("Выберите дату!"));
        return false;
    }
    if (!hasData(d)) {
        Desktop::instance()->warning(this, QStringLiteral("Error"),
                                     QStringLiteral("Нет данных для date=") + d);
        return false;
    }

    // Made as a "profile" graph (no mouse tracking), then typed "one" so that its clicks reach the form.
    auto* g = new ProfileGrafik(QStringLiteral("profile"), this);
    grafik = g;
    Settings::getInstance()->setGrafikOne(g);
    g->showStartMessage();
    showView(g);

    const Curves curves = curvesOf(d, readPanel());
    g->arrGrafikY = curves.y;
    g->colors = curves.colors;
    g->visible = QVector<bool>(curves.y.size(), true);
    auto fixed = [](double v) { return QString::number(v, 'f', 2); };
    if (curves.dmIsZero) {
        g->caption3 = QStringLiteral("dm=%1").arg(QString::number(curves.dm, 'g', 6));
        g->caption4 = QStringLiteral("max=%1").arg(fixed(curves.max));
    } else if (curves.mode == QLatin1String("disp0")) {
        g->caption3 = QStringLiteral("dm=0");
        g->caption4 = QStringLiteral("max=%1").arg(fixed(curves.max0));
    } else if (curves.mode == QLatin1String("disp")) {
        g->caption3 = QStringLiteral("dm=%1").arg(QString::number(curves.dm, 'g', 6));
        g->caption4 = QStringLiteral("max=%1").arg(fixed(curves.maxDM));
    } else {
        g->caption3 = QStringLiteral("dm=0, dm=%1").arg(ui->comboBoxDispersion->currentText());
        g->caption4 = QStringLiteral("max0=%1, max=%2").arg(fixed(curves.max0), fixed(curves.maxDM));
    }
    g->inGrid = false;
    g->arrGrafikX.clear();
    QVector<QString> labels;
    for (int x = 0; x <= 2400; x += 200) {
        labels << QString::number(x);
    }
    g->labelsBottom = labels;
    g->yMax = curves.max;
    g->yMin = curves.min;
    g->row = currentRow;
    g->col = currentCol;
    if (greenDates.value(d) == 1) {
        g->background = QStringLiteral("#defbdd");
    }
    g->labelsTop.clear();
    g->drawCircles = false;
    g->grafikMode = 1;
    g->hintShown = false;
    g->fixedYRange = true;
    g->nPoints = curves.nPoints;
    g->caption1 = sourceName;
    g->caption2 = d;
    g->caption5.clear();
    g->caption8.clear();
    g->markers.clear();
    g->precisionY = 2;
    g->mainWindow = mainWindow;
    g->date = d;
    g->grafikType = QStringLiteral("one");
    g->redraw();
    viewName = QStringLiteral("one");
    connectClicks(g);
    return true;
}

void NativeMultiForm::changedDate(QString date) {
    Q_UNUSED(date);
    if (viewName == QLatin1String("one")) {
        drawGrafikOne();
    }
}

void NativeMultiForm::dateNext() {
    if (dates.isEmpty()) {
        return;
    }
    stepSelector(ui->comboBoxDate, dates.size(), true, false);
    if (viewName == QLatin1String("one")) {
        drawGrafikOne();
    }
}

void NativeMultiForm::datePre() {
    if (dates.isEmpty()) {
        return;
    }
    stepSelector(ui->comboBoxDate, dates.size(), false, false);
    if (viewName == QLatin1String("one")) {
        drawGrafikOne();
    }
}

void NativeMultiForm::dispNext() {
    if (dispersions.isEmpty()) {
        return;
    }
    stepSelector(ui->comboBoxDispersion, dispersions.size(), true, false);
    if (viewName == QLatin1String("one")) {
        drawGrafikOne();
    } else {
        drawGrafikMulti();
    }
}

void NativeMultiForm::dispPre() {
    if (dispersions.isEmpty()) {
        return;
    }
    stepSelector(ui->comboBoxDispersion, dispersions.size(), false, false);
    if (viewName == QLatin1String("one")) {
        drawGrafikOne();
    }
}

void NativeMultiForm::redraw(QString text) {
    Q_UNUSED(text);
    redraw();
}

void NativeMultiForm::redraw(int value) {
    Q_UNUSED(value);
    redraw();
}

void NativeMultiForm::redraw(bool checked) {
    Q_UNUSED(checked);
    redraw();
}

void NativeMultiForm::redraw() {
    if (viewName == QLatin1String("one")) {
        drawGrafikOne();
    } else {
        drawGrafikMulti();
    }
}

void NativeMultiForm::clickedLeftOnGrafik(QString date, int row, int col) {
    currentRow = row;
    currentCol = col;
    if (viewName == QLatin1String("multi")) {
        // The box is editable: this sets its text, its selected index stays.
        ui->comboBoxDate->setCurrentText(date);
        drawGrafikOne();
    } else if (viewName == QLatin1String("one")) {
        drawGrafikMulti();
    }
}

void NativeMultiForm::clickedRightOnGrafik(QString date, int row, int col) {
    currentRow = row;
    currentCol = col;
    greenDates.insert(date, greenDates.value(date, 0) == 1 ? 0 : 1);
    redraw();
}

void NativeMultiForm::scrollToCurrentGrafik() {
    if (viewName != QLatin1String("multi") || !multiGrafik) {
        return;
    }
    // A timer of an earlier grid may fire over a smaller one.
    const auto& cells = multiGrafik->grafiks;
    if (currentRow < 0 || currentRow >= cells.size() || currentCol < 0 ||
        currentCol >= cells.at(currentRow).size()) {
        return;
    }
    multiGrafik->scrollToGrafik(currentRow, currentCol);
}
