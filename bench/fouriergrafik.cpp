// Times one paint of a directory line graph (4 curves, 1200 x 800) of 65,536 points against 2,048:
// the cost should follow the plot's width, not the number of points. Both with and without X values.
#include "directory/views/fouriergrafik.h"
#include "benchclock.h"

#include <QApplication>
#include <QImage>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

using Bench::Clock;

// Fastest of several paints, in milliseconds.
double paintMs(int points, bool withX) {
    FourierGrafik grafik(nullptr);
    grafik.resize(1200, 800);
    unsigned state = 2024;
    for (int c = 0; c < 4; ++c) {
        QVector<double> curve(points);
        for (int i = 0; i < points; ++i) {
            state = state * 1664525u + 1013904223u;
            curve[i] = 10.0 * c + double(state >> 8) / double(1 << 24) + ((i % 97) == 0 ? 8.0 : 0.0);
        }
        grafik.arrGrafikY.append(curve);
        grafik.visible.append(true);
    }
    if (withX) {
        for (int i = 0; i < points; ++i) {
            grafik.arrGrafikX.append(0.01 * i);
        }
    }
    grafik.points = points;
    grafik.updateRange();
    QImage image(1200, 800, QImage::Format_RGB32);
    grafik.render(&image); // warm-up
    std::vector<double> times;
    for (int rep = 0; rep < 21; ++rep) {
        const auto t0 = Clock::now();
        grafik.render(&image);
        times.push_back(Bench::msSince(t0));
    }
    return *std::min_element(times.begin(), times.end());
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    for (bool withX : {false, true}) {
        const double small = paintMs(2048, withX);
        const double large = paintMs(65536, withX);
        std::printf("line graph 1200x800, 4 curves%s: 2048 points %.2f ms, 65536 points %.2f ms, ratio %.2f "
                    "(goal <= 3: %s)\n",
                    withX ? " with X values" : "", small, large, large / small,
                    large <= 3 * small ? "met" : "missed");
    }
    return 0;
}
