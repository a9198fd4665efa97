// Times 100,000 map points read from a harmonics map file, filtered and painted on the log map
// (1200 x 800) against drawing the same 100,000 circles with a bare QPainter. Goal: within 3x.
#include "benchclock.h"
#include "directory/calc/fouriercalculate.h"
#include "directory/calc/mapfile.h"
#include "directory/views/fouriergrafik.h"

#include <QApplication>
#include <QBuffer>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

using Bench::Clock;

QByteArray mapText(int count) {
    QByteArray text = "position dispersion harmonic snr period\n";
    unsigned state = 2024;
    for (int i = 0; i < count; ++i) {
        state = state * 1664525u + 1013904223u;
        const double u = double(state >> 8) / double(1 << 24);
        const int dm = 1 + int(state % 1000);
        text += "f0" + QByteArray::number(i % 4) + "_n" + QByteArray::number(i % 2) + "_av" +
                QByteArray::number(i % 7) + "\t" + QByteArray::number(dm) + "\t" +
                QByteArray::number(1 + i % 800) + "\t" + QByteArray::number(4.0 + 8 * u, 'f', 2) + "\t" +
                QByteArray::number(0.02 + 6.9 * u, 'f', 4) + "\n";
    }
    return text;
}

template <typename F> double fastestMs(F&& run) {
    run(); // warm-up
    std::vector<double> times;
    for (int rep = 0; rep < 7; ++rep) {
        const auto t0 = Clock::now();
        run();
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
    const int count = 100000;
    QByteArray text = mapText(count);
    QImage image(1200, 800, QImage::Format_RGB32);

    QVector<MapPoint> points;
    FourierGrafik grafik(nullptr);
    grafik.resize(1200, 800);
    grafik.grafikMode = 1;
    grafik.grafikType = QStringLiteral("map");
    grafik.arrGrafikX = FourierCalculate::decadeTicks(0.02, 0.01, 7.0);
    grafik.arrGridY = FourierCalculate::dmGrid();
    grafik.stopIncreasePeriod = -1;
    grafik.mapPoints = &points;
    MapFilter inputs;
    inputs.minSnr = 4;
    inputs.asIs = true;
    const double full = fastestMs([&] {
        points.clear();
        QBuffer buffer(&text);
        buffer.open(QIODevice::ReadOnly);
        MapFile::read(buffer, text.size(), points, {});
        MapFile::filter(points, inputs);
        grafik.render(&image);
    });
    const QVector<FourierGrafik::MapCircle> circles = grafik.mapCircles();
    const double readOnly = fastestMs([&] {
        QVector<MapPoint> scratch;
        QBuffer buffer(&text);
        buffer.open(QIODevice::ReadOnly);
        MapFile::read(buffer, text.size(), scratch, {});
    });
    const double filterOnly = fastestMs([&] { MapFile::filter(points, inputs); });
    const double paintOnly = fastestMs([&] { grafik.render(&image); });
    std::printf("parts: read %.1f ms, filter %.1f ms, paint %.1f ms\n", readOnly, filterOnly, paintOnly);

    const double bare = fastestMs([&] {
        QPainter painter(&image);
        for (const FourierGrafik::MapCircle& c : circles) {
            painter.setPen(c.colour);
            painter.setBrush(QBrush(c.colour, Qt::SolidPattern));
            painter.drawEllipse(c.rect);
        }
    });
    std::printf("map of %d points: read+filter+paint %.1f ms, bare QPainter circles %.1f ms, ratio %.2f "
                "(goal <= 3: %s)\n",
                int(points.size()), full, bare, full / bare, full <= 3 * bare ? "met" : "missed");
    return 0;
}
