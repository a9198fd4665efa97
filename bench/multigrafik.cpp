// Times building and painting a grid of 500 profile cells (512 samples each, bottom labels, captions)
// against 500 plain widgets of the same size with titles in a plain grid (plaingrid.h): build, show,
// and one paint of what is in view, until the event loop is idle; the fastest of 15 runs each.
#include "core/multigrafik.h"
#include "benchclock.h"
#include "core/profilegrafik.h"
#include "plaingrid.h"

#include <QApplication>
#include <QImage>

#include <cmath>
#include <cstdio>

namespace {
constexpr int rows = 125;
constexpr int columns = 4;

QVector<double> profile(int seed) {
    QVector<double> v(512);
    for (int i = 0; i < 512; ++i) {
        const double d = (i - 256 - seed % 50) / 6.0;
        v[i] = 1 + 5 * std::exp(-d * d / 2) + 0.3 * std::sin(i * 0.7 + seed);
    }
    return v;
}

// Shows the grid, paints it once and lets the events pass; the seconds since t0, then deletes it.
double showAndPaint(QWidget* grid, Bench::Clock::time_point t0, bool dropRepaintRequests) {
    grid->show();
    if (dropRepaintRequests) {
        QCoreApplication::removePostedEvents(nullptr, QEvent::UpdateLater);
    }
    QImage image(grid->size(), QImage::Format_RGB32);
    grid->render(&image);
    QCoreApplication::processEvents();
    const double s = Bench::secondsSince(t0);
    delete grid;
    return s;
}

double runCells(const QVector<QVector<double>>& profiles) {
    const auto t0 = Bench::Clock::now();
    auto* grid = new MultiGrafik(nullptr);
    grid->resize(1200, 900);
    grid->columns = columns;
    grid->rows = rows;
    grid->columnTitles = {"DM", "1", "2", "3", "4"};
    grid->rowTitles = {"date"};
    grid->grafiks.clear();
    for (int r = 0; r < rows; ++r) {
        grid->rowTitles << QString::number(r);
        QVector<QWidget*> row;
        for (int c = 0; c < columns; ++c) {
            auto* g = new ProfileGrafik(QString(), grid);
            g->inGrid = true;
            g->arrGrafikY = {profiles[r * columns + c]};
            g->visible = {true};
            g->nPoints = 512;
            g->labelsBottom = {"0", "128", "256", "384", " "};
            g->caption1 = QStringLiteral("P=0.7145");
            g->caption2 = QStringLiteral("2020.01.%1").arg(r);
            g->redraw();
            row << g;
        }
        grid->grafiks << row;
    }
    grid->draw();
    return showAndPaint(grid, t0, false);
}

double runPlain() {
    const auto t0 = Bench::Clock::now();
    QScrollArea* grid = Bench::plainGrid(rows, columns, 200, 200);
    grid->resize(1200, 900);
    return showAndPaint(grid, t0, true);
}
} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QVector<QVector<double>> profiles;
    for (int i = 0; i < rows * columns; ++i) {
        profiles << profile(i);
    }
    runCells(profiles); // warm-up
    runPlain();
    double cells = 1e9, plain = 1e9;
    for (int rep = 0; rep < 15; ++rep) {
        cells = std::min(cells, runCells(profiles));
        plain = std::min(plain, runPlain());
    }
    std::printf("grid of 500 cells: profile cells %.1f ms, plain widgets %.1f ms, ratio %.2f\n", cells * 1000,
                plain * 1000, cells / plain);
    return 0;
}
