// Times the paints of the one-file plot at a common window size, and re-runs the Fourier form many times
// to show the time of a run and that the resident memory stays flat.
#include "single/pulsarform.h"
#include "app/mainwindow.h"
#include "benchclock.h"
#include "core/data.h"
#include "core/settings.h"
#include "single/pulsargrafik.h"

#include <QAbstractButton>
#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QProgressBar>
#include <QSpinBox>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <malloc.h>
#include <memory>
#include <vector>

namespace {

using Bench::Clock;

template <typename F> double millisecondsPerCall(F&& call) {
    return Bench::perCall<std::milli>(call, 0.5);
}

// Bytes the allocator has handed out and not got back: unlike the resident size, free of fragmentation.
double heapInUseMegabytes() {
    return double(mallinfo2().uordblks) / (1024.0 * 1024.0);
}

float noise(unsigned& state) {
    state = state * 1664525u + 1013904223u;
    return float(state >> 8) / float(1 << 24) - 0.5f;
}

// A record of 40000 points, one module, one ray, 32 bands and the extra channel, held in the cache
// under a name no file has, so the form takes it without reading.
void cacheRecord(const QString& path) {
    Data d;
    d.npoints = 40000;
    d.modules = 1;
    d.channels = 33;
    d.rays = 1;
    d.tresolution = 12.4928;
    d.tres = d.tresolution / 1000;
    d.filePath = path;
    d.fileName = path;
    for (int c = 0; c < 32; ++c) {
        d.fbands << 109.0 + 2.5 * c / 31.0;
    }
    allocSamples(d);
    unsigned state = 7;
    for (int c = 0; c < 33; ++c) {
        for (int p = 0; p < d.npoints; ++p) {
            d.samples[0][c][0][p] = 100.0f + noise(state) + ((p % 256) < 2 ? 3.0f : 0.0f);
        }
    }
    Settings::getInstance()->setData(d);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    // Paints.
    unsigned state = 11;
    PulsarGrafik plot(nullptr);
    plot.resize(1200, 800);
    QImage target(plot.size(), QImage::Format_ARGB32_Premultiplied);
    plot.points = 16384;
    std::printf("plot 1200x800, frame, axes and labels only: %7.2f ms per paint\n",
                millisecondsPerCall([&] { plot.render(&target); }));
    std::vector<std::unique_ptr<float[]>> raw;
    for (int i = 0; i < 3; ++i) {
        raw.emplace_back(new float[16384]);
        for (int k = 0; k < 16384; ++k) {
            raw.back()[k] = noise(state) * 10 + float(i);
        }
        plot.arrGrafiksRaw << raw.back().get();
        plot.visible << true;
    }
    plot.points = 16384;
    plot.updateRange();
    std::printf("plot 1200x800, 3 bare curves of 16384 points of noise over the full height: %7.2f ms per "
                "paint\n",
                millisecondsPerCall([&] { plot.render(&target); }));
    plot.arrGrafiksRaw.clear();
    plot.visible.clear();
    // A pulsar's spectrum: a noise floor with a harmonic every 64 entries, and its 1- and 5-sigma lines.
    QVector<float> spectrum(8192);
    for (int k = 0; k < spectrum.size(); ++k) {
        spectrum[k] = std::fabs(noise(state)) * 0.05f + (k % 64 == 63 ? 1.0f : 0.0f);
    }
    plot.arrGrafiks = {spectrum, QVector<float>(8192, 0.12f), QVector<float>(8192, 0.6f)};
    plot.visible = {true, true, true};
    plot.points = 8192;
    plot.updateRange();
    std::printf("plot 1200x800, pulsar spectrum with its two sigma lines (8192 points): %7.2f ms per paint\n",
                millisecondsPerCall([&] { plot.render(&target); }));

    // Re-runs of the form.
    MainWindow window;
    window.resize(1400, 900);
    window.show();
    const QString path = QStringLiteral("/bench/in-memory.pnt");
    cacheRecord(path);
    auto* form = new PulsarForm(path, &window);
    window.findChild<QSpinBox*>(QStringLiteral("ray"))->setValue(1);
    window.findChild<QLineEdit*>(QStringLiteral("firstPoint"))->setText(QStringLiteral("0"));
    window.findChild<QAbstractButton*>(QStringLiteral("sumChannelsDemoNoise"))->click();
    QAbstractButton* ok = window.findChild<QAbstractButton*>(QStringLiteral("pushButton"));
    for (int i = 0; i < 20; ++i) {
        ok->click();
    }
    const double before = Bench::residentMiB();
    const double heapBefore = heapInUseMegabytes();
    const int runs = argc > 1 ? std::atoi(argv[1]) : 500;
    const auto t0 = Clock::now();
    for (int i = 0; i < runs; ++i) {
        ok->click();
        app.processEvents();
    }
    const double ms = Bench::msSince(t0) / runs;
    const double after = Bench::residentMiB();
    const double heapAfter = heapInUseMegabytes();
    std::printf("form re-run \"sumChannelsDemoNoise\" (new calculation, plot and panel): %7.2f ms per run\n",
                ms);
    std::printf("over %d re-runs: heap in use %.2f MB -> %.2f MB, resident %.1f MB -> %.1f MB\n", runs,
                heapBefore, heapAfter, before, after);

    // The status-bar progress bar that every run shows and hides, alone. The toolkit keeps about 1 KB for
    // each widget shown in the window (a bare label swapped in the work area does the same), which
    // accounts for the heap growth of the re-runs; calculations and curves are freed.
    QProgressBar* bar = Settings::getInstance()->getProgressBar();
    const double barBefore = heapInUseMegabytes();
    for (int i = 0; i < runs; ++i) {
        bar->show();
        bar->hide();
        app.processEvents();
    }
    std::printf(
        "over %d shows and hides of the status-bar progress bar alone: heap in use %.2f MB -> %.2f MB\n",
        runs, barBefore, heapInUseMegabytes());
    Q_UNUSED(form);
    return 0;
}
