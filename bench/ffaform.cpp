// Times "Create FFA" of the one-file FFA form with its default search (periods 3 to 10 s, bins 220 to
// 240, four widths) on an 80,000-point record of 7 rays and 33 channels: the whole click, the
// calculation alone, and what the form adds (handing curves to the plot, building the legend panel,
// repainting). Also reports the resident memory after 5 and after 40 runs, which must not grow.
#include "single/ffaform.h"
#include "app/mainwindow.h"
#include "benchclock.h"
#include "core/data.h"
#include "core/settings.h"
#include "numerics/pulsarcalculate.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>

namespace {

using Bench::Clock;

double msPerCall(int reps, const std::function<void()>& work) {
    const auto t0 = Clock::now();
    for (int r = 0; r < reps; ++r) {
        work();
    }
    return Bench::msSince(t0) / reps;
}

// What the running event loop does between two clicks, deferred deletions included.
void settle() {
    QApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Noise with a dispersed 5 s pulse train at DM 26.2 in every ray.
bool makeRecord(Data& d, const QString& path) {
    d.modules = 1;
    d.channels = 33;
    d.rays = 7;
    d.npoints = 80000;
    d.tresolution = 12.4928;
    d.tres = 0.0124928;
    d.filePath = path;
    d.fileName = QStringLiteral("010121_02_N1_00.pnthr");
    for (int c = 0; c < 32; ++c) {
        d.fbands.append(109.0 + 2.5 * c / 31.0);
    }
    d.fbands.append(0);
    if (!allocSamples(d)) {
        return false;
    }
    const double fref = d.fbands[31];
    unsigned state = 7;
    for (int c = 0; c < d.channels; ++c) {
        const double f = d.fbands[c] > 0 ? d.fbands[c] : fref;
        const int shift =
            int(std::lround((1 / (f * f) - 1 / (fref * fref)) * dispersionConstant * 26.2 / d.tres));
        for (int r = 0; r < d.rays; ++r) {
            float* s = d.samples[0][c][r];
            for (int p = 0; p < d.npoints; ++p) {
                state = state * 1664525u + 1013904223u;
                const int q = p - shift;
                const bool pulse = c < 32 && q >= 0 && std::fmod(q * d.tres + 4.3, 5.0) < 0.03;
                s[p] = float(double(state >> 8) / double(1 << 24)) + (pulse ? 1.0f : 0.0f);
            }
        }
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    QTemporaryDir dir;
    if (!dir.isValid()) {
        std::printf("no temporary directory\n");
        return 1;
    }
    // Keep the program's remembered settings and the FFA array file away from the user's.
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.filePath("config")));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QDir::setCurrent(dir.path());
    qputenv("QT_LOGGING_RULES", "*.debug=false");
    QApplication app(argc, argv);

    MainWindow window;
    window.resize(1600, 1000);
    window.show();
    const QString path = dir.filePath("010121_02_N1_00.pnthr");
    Data record;
    if (!makeRecord(record, path)) {
        std::printf("allocation failed\n");
        return 1;
    }
    // The form takes the cached record of the same path instead of reading a file.
    Settings::getInstance()->setData(record);
    auto* form = new FfaForm(path, &window);
    auto* create = form->findChild<QPushButton*>("pushButtonFFA");
    if (!create) {
        std::printf("no form\n");
        return 1;
    }
    create->click();

    const double click = msPerCall(10, [&] {
        create->click();
        settle();
    });

    PulsarCalculate calc(QStringLiteral("grafik"));
    const double engine = msPerCall(10, [&] {
        calc.data = record;
        calc.module = 0;
        calc.channel = 0;
        calc.ray = 6;
        calc.dispersion = double(26.2f);
        calc.count = 16384;
        calc.isFirstPoint = true;
        calc.firstPoint = 58000;
        calc.period_min = 3;
        calc.period_max = 10;
        calc.fpmin = 1;
        calc.bins_min = 220;
        calc.bins_max = 240;
        calc.ducy_max = 0.02;
        calc.wtsp = 1.5;
        calc.showSigma = true;
        calc.downToNull = true;
        calc.nullProc = 70;
        calc.sigmaProc = 50;
        calc.sigmaLevel1 = 1;
        calc.sigmaLevel2 = 5;
        calc.noiseMethod = QStringLiteral("without");
        calc.withNormalization = true;
        calc.action = QStringLiteral("createFFA");
        calc.calculate();
    });
    std::printf(
        "Create FFA, default search: whole click %.1f ms, calculation %.1f ms, form's share %.1f ms\n", click,
        engine, click - engine);

    for (int r = 0; r < 5; ++r) {
        create->click();
        settle();
    }
    const double after5 = Bench::residentMiB();
    for (int r = 0; r < 35; ++r) {
        create->click();
        settle();
    }
    const double after40 = Bench::residentMiB();
    std::printf("resident memory: %.1f MiB after 5 runs, %.1f MiB after 40 runs\n", after5, after40);
    freeSamples(record);
    Data empty;
    Settings::getInstance()->setData(empty);
    return 0;
}
