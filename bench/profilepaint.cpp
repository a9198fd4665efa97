// Times painting the profile plot core into an image: a ten-year "all" statistics view (3,650 days,
// three series drawn as circles, with month ticks and marker lines) into 1400 x 700, and a 200 x 200
// grid cell of an ordinary profile against one of nearly flat negative values (within 0.001 of -1000),
// whose Y labels must not walk the whole range.
#include "benchclock.h"
#include "core/profileplot.h"

#include <QApplication>
#include <QDate>
#include <QFont>
#include <QImage>
#include <QPainter>

#include <cmath>
#include <cstdio>

namespace {
double paintMs(ProfilePlot& plot, const QSize& size) {
    QImage image(size, QImage::Format_RGB32);
    const QFont font;
    return Bench::perCall<std::milli>(
        [&] {
            QPainter painter(&image);
            plot.paint(&painter, size, font);
        },
        0.3);
}

void fillStatistics(ProfilePlot& plot) {
    QVector<double> sigma, snr, signal;
    QVector<QString> labels;
    QVector<QPair<QString, QString>> ticks;
    QVector<QString> markers;
    QDate d(2014, 8, 1);
    for (int i = 0; i < 3650; ++i, d = d.addDays(1)) {
        const QString label = d.toString(QStringLiteral("dd.MM.yyyy"));
        labels << label;
        const bool gap = i % 7 == 3; // a missing day
        sigma << (gap ? 0 : 2 + 0.5 * std::sin(i * 0.1));
        snr << (gap ? 0 : 5 + 3 * std::sin(i * 0.037));
        signal << (gap ? 0 : 10 + 4 * std::cos(i * 0.05));
        if (d.day() == 1) {
            ticks.append({label, d.month() == 1 ? label.right(4) : QString()});
            markers << label;
        }
    }
    plot.arrGrafikY = {sigma, snr, signal};
    plot.colors = {"#0000FF", "#009900", "#FF0000"};
    plot.visible = {true, true, true};
    plot.labelsX = labels;
    plot.ticksX = ticks;
    plot.markerLabels = markers;
    plot.nPoints = labels.size();
    plot.drawCircles = true;
    plot.radius = 4;
    plot.precisionY = 0;
    plot.caption8 = QStringLiteral("Sigma - SNR - Signal");
    plot.caption1 = QStringLiteral("J0000+0000");
    plot.updateRange();
}

void fillCell(ProfilePlot& plot, bool flat) {
    QVector<double> v(512);
    for (int i = 0; i < 512; ++i) {
        const double d = (i - 256) / 6.0;
        v[i] = flat ? -1000 + 0.0009 * std::exp(-d * d / 2)
                    : 1 + 5 * std::exp(-d * d / 2) + 0.3 * std::sin(i * 0.7);
    }
    plot.inGrid = true;
    plot.arrGrafikY = {v};
    plot.visible = {true};
    plot.nPoints = 512;
    plot.labelsBottom = {"0", "128", "256", "384", " "};
    plot.caption1 = QStringLiteral("P=0.7145");
    plot.caption2 = QStringLiteral("2020.01.01");
    plot.updateRange();
}
} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ProfilePlot all(QStringLiteral("statistics"), "bench");
    fillStatistics(all);
    ProfilePlot ordinary(QString(), "bench");
    fillCell(ordinary, false);
    ProfilePlot flat(QString(), "bench");
    fillCell(flat, true);

    double allMs = 1e9, ordinaryMs = 1e9, flatMs = 1e9;
    for (int rep = 0; rep < 5; ++rep) {
        allMs = std::min(allMs, paintMs(all, QSize(1400, 700)));
        ordinaryMs = std::min(ordinaryMs, paintMs(ordinary, QSize(200, 200)));
        flatMs = std::min(flatMs, paintMs(flat, QSize(200, 200)));
    }
    std::printf("statistics \"all\", 3650 days x 3 series, circles, 1400 x 700: %.2f ms\n", allMs);
    std::printf("200 x 200 cell: ordinary %.3f ms, nearly flat at -1000 %.3f ms, ratio %.2f (%d Y labels)\n",
                ordinaryMs, flatMs, flatMs / ordinaryMs, int(flat.yAxis().labels.size()));
    return 0;
}
