// The native multi-date form's directory reading and its channel-sum series. Writes 40 synthetic one-hour
// .pnt files (36,021 points, 1 module, 8 rays, 7 channels, about 8 MB each) and reads directories of 10, 20
// and 40 of them through NativeMultiForm::readDirectory and through the bare Reader, in the same run, from
// the page cache. Prints the time per file of both, their ratio, and the peak resident memory, which must
// stay near one file's samples whatever the file count. Then the time of one makeSeries per panel setting.
#include "app/mainwindow.h"
#include "benchclock.h"
#include "core/reader.h"
#include "native/nativemultiform.h"
#include "support/obsfilewriter.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QTemporaryDir>

#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {

using Bench::Clock;
using Bench::secondsSince;

constexpr int points = 36021;
constexpr int rounds = 3;

long peakKb() {
    FILE* f = std::fopen("/proc/self/status", "r");
    if (!f) {
        return -1;
    }
    char line[256];
    long kb = -1;
    while (std::fgets(line, sizeof line, f)) {
        if (std::strncmp(line, "VmHWM:", 6) == 0) {
            kb = std::atol(line + 6);
            break;
        }
    }
    std::fclose(f);
    return kb;
}

QString fileName(int k) {
    const QDate d = QDate(2024, 1, 1).addDays(k);
    return d.toString(QStringLiteral("ddMMyy")) + QStringLiteral("_09_N1_00.pnt");
}

double bareSecondsPerFile(const QString& dir) {
    const QStringList names = QDir(dir).entryList({QStringLiteral("*.pnt")}, QDir::Files, QDir::Name);
    const auto t0 = Clock::now();
    for (const QString& n : names) {
        Reader reader;
        Data d = reader.readFile(dir + QLatin1Char('/') + n, false);
        freeSamples(d);
    }
    return secondsSince(t0) / double(names.size());
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QTemporaryDir tmp;
    if (!tmp.isValid()) {
        return 1;
    }
    ObsFileWriter::Description d;
    d.npoints = points;
    d.modules = 1;
    d.rays = 8;
    d.nbands = 6;
    d.fbands = {109.21, 109.62, 110.04, 110.45, 110.87, 111.29};
    d.tresolution = 99.9424;
    d.value = ObsFileWriter::whiteNoise(100.0f);
    const int counts[] = {10, 20, 40};
    for (int count : counts) {
        QDir().mkpath(tmp.filePath(QString::number(count)));
    }
    for (int k = 0; k < 40; ++k) {
        const QString first = tmp.filePath(QStringLiteral("40/") + fileName(k));
        if (!ObsFileWriter::write(first, d)) {
            return 1;
        }
        // The smaller directories hold hard links to the same files.
        for (int count : {10, 20}) {
            if (k < count && ::link(qPrintable(first), qPrintable(tmp.filePath(QString::number(count) + "/" +
                                                                               fileName(k)))) != 0) {
                return 1;
            }
        }
    }

    MainWindow window;
    // Built on one real date so that the series bench below has data.
    auto* form = new NativeMultiForm(tmp.filePath(QStringLiteral("10")), &window);
    const long baseKb = peakKb();

    std::printf("files  readDirectory ms/file  bare reader ms/file  ratio  peak RSS MiB (+ over start)\n");
    for (int count : counts) {
        const QString dir = tmp.filePath(QString::number(count));
        double best = 1e9;
        double bestBare = 1e9;
        for (int r = 0; r < rounds; ++r) {
            const auto t0 = Clock::now();
            form->readDirectory(dir);
            best = std::min(best, secondsSince(t0) / count);
            bestBare = std::min(bestBare, bareSecondsPerFile(dir));
        }
        const long kb = peakKb();
        std::printf("%5d  %22.2f  %19.2f  %5.2f  %8.1f (+%.1f)\n", count, best * 1e3, bestBare * 1e3,
                    best / bestBare, kb / 1024.0, (kb - baseKb) / 1024.0);
    }

    form->readDirectory(tmp.filePath(QStringLiteral("10")));
    const QString date = form->dates.value(0);
    std::printf("\nmakeSeries of one date (%d points), us per call:\n", points);
    struct Setting {
        const char* name;
        double dm;
        int averageN;
        int averageType;
        bool deductNoise;
        bool showApprox;
    };
    const Setting settings[] = {
        {"sum at DM 0", 0, 0, 0, false, false},
        {"sum at DM 99", 99, 0, 0, false, false},
        {"DM 50, simple twice 3", 50, 3, 0, false, false},
        {"DM 50, deduct noise (len 64)", 50, 0, 0, true, false},
        {"DM 50, show approx (len 64)", 50, 0, 0, false, true},
    };
    for (const Setting& s : settings) {
        form->findChild<QCheckBox*>(QStringLiteral("deductNoise"))->blockSignals(true);
        form->findChild<QCheckBox*>(QStringLiteral("deductNoise"))->setChecked(s.deductNoise);
        form->findChild<QCheckBox*>(QStringLiteral("showApprox"))->blockSignals(true);
        form->findChild<QCheckBox*>(QStringLiteral("showApprox"))->setChecked(s.showApprox);
        const double us =
            Bench::perCall<std::micro>([&] { form->makeSeries(date, s.dm, s.averageN, s.averageType); }, 0.3);
        std::printf("  %-30s %10.1f\n", s.name, us);
    }
    return 0;
}
