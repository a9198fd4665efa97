// Times the scan of the search tree of one N4 day (480 start times x 160 beams = 76,800 search
// directories, one result file each) against a bare walk over the same files: listing, matching,
// the uniqueness test and the beam-table re-sort should stay within 3x of the walk.
#include "benchclock.h"
#include "core/tables.h"
#include "directory/calc/resultdirscan.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

using Bench::Clock;

bool makeTree(const QString& root) {
    for (int start = 0; start < 480; ++start) {
        const int minutes = start * 3;
        const QString hour = QStringLiteral("%1").arg(minutes / 60, 2, 10, QLatin1Char('0'));
        const QString time =
            hour + QStringLiteral("%1").arg(minutes % 60, 2, 10, QLatin1Char('0')) + QStringLiteral("00");
        for (const BeamTableRow& beam : beamTableN4) {
            const QString dir = QStringLiteral("%1/%2/a%3_m%4_r%5")
                                    .arg(root, hour, time)
                                    .arg(beam.module, 2, 10, QLatin1Char('0'))
                                    .arg(beam.ray);
            if (!QDir().mkpath(dir)) {
                return false;
            }
            QFile file(dir + QStringLiteral("/f00_n0_av0.txt"));
            if (!file.open(QIODevice::WriteOnly)) {
                return false;
            }
        }
    }
    return true;
}

template <typename F> double bestOf(int reps, F&& run) {
    std::vector<double> times;
    for (int r = 0; r < reps; ++r) {
        const auto t0 = Clock::now();
        run();
        times.push_back(Bench::msSince(t0));
    }
    return *std::min_element(times.begin(), times.end());
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    // In memory where the system offers it: the walk, not the disk, is what is measured.
    const QString base =
        QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
    QTemporaryDir root(base + QStringLiteral("/bench_directoryscan_XXXXXX"));
    std::printf("writing the tree of one N4 day...\n");
    if (!root.isValid() || !makeTree(root.path())) {
        std::printf("could not write the tree\n");
        return 1;
    }
    int walked = 0;
    const double walkMs = bestOf(3, [&]() {
        walked = 0;
        QDirIterator it(root.path(), {QStringLiteral("*.txt")}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            it.next();
            ++walked;
        }
    });
    int listed = 0;
    const double scanMs = bestOf(3, [&]() {
        ResultDirScan scan;
        scan.readSearchDir(root.path(), QStringLiteral("N4"));
        listed = scan.tableRows.size();
    });
    std::printf("N4 search day: %d files walked in %.1f ms; %d directories scanned and sorted in %.1f ms, "
                "ratio %.2f (goal <= 3: %s)\n",
                walked, walkMs, listed, scanMs, scanMs / walkMs, scanMs <= 3 * walkMs ? "met" : "missed");
    return 0;
}
