// Times building and painting a grid of 500 profile cells (512 samples each, bottom labels, captions)
// against 500 bare widgets of the same size in the same grid: build, show, and one paint of what is in
// view, until the event loop is idle.
#include "core/multigrafik.h"
#include "benchclock.h"
#include "core/graphgrid.h"
#include "core/profilegrafik.h"

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

double run(bool profiles) {
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
            if (profiles) {
                auto* g = new ProfileGrafik(QString(), grid);
                g->inGrid = true;
                g->arrGrafikY = {profile(r * columns + c)};
                g->visible = {true};
                g->nPoints = 512;
                g->labelsBottom = {"0", "128", "256", "384", " "};
                g->caption1 = QStringLiteral("P=0.7145");
                g->caption2 = QStringLiteral("2020.01.%1").arg(r);
                g->redraw();
                row << g;
            } else {
                auto* w = new QWidget(grid);
                row << w;
            }
        }
        grid->grafiks << row;
    }
    grid->draw();
    grid->show();
    QImage image(grid->size(), QImage::Format_RGB32);
    grid->render(&image);
    QCoreApplication::processEvents();
    const double s = Bench::secondsSince(t0);
    delete grid;
    return s;
}
} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    run(true); // warm-up
    run(false);
    double cells = 1e9, bare = 1e9;
    for (int rep = 0; rep < 5; ++rep) {
        cells = std::min(cells, run(true));
        bare = std::min(bare, run(false));
    }
    std::printf("grid of 500 cells: profile cells %.1f ms, bare widgets %.1f ms, ratio %.2f\n", cells * 1000,
                bare * 1000, cells / bare);
    return 0;
}
