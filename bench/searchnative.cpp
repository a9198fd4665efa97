// The search-result browser on a tree of dates by DMs (365 x 128 x 1000 numbers unless given as
// arguments: dates DMs points; the fastest of 3 runs or of the fourth argument): readDir on this thread alone
// (a pool of one thread) against a plain read of the same files (each in one read, every number parsed with
// std::from_chars, single-threaded) that keeps every series as the form must (one std::vector<double> per
// series in a std::unordered_map under its date and DM), and readDir with the whole pool, by wall time. The
// plain read that keeps nothing is printed beside it. Every reading starts on memory given back to the
// system, as a directory opened in a new process does. Prints the ratios and the peak resident memory. Times
// but the threaded one are the process's CPU seconds, so that other work on the machine does not blur the
// ratio. The grid is timed by bench_searchgrid.
#include "app/mainwindow.h"
#include "benchclock.h"
#include "core/workarea.h"
#include "native/searchnativeform.h"
#include "plainread.h"
#include "searchtree.h"
#include "support/recordingdesktop.h"

#include <QApplication>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <QThreadPool>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <string>

namespace {

// CPU time of the process, in seconds.
double secondsSince(std::clock_t t0) {
    return double(std::clock() - t0) / CLOCKS_PER_SEC;
}

// Lists the "*.txt" files as the form does.
QStringList listed(const QString& root) {
    QStringList paths;
    QDirIterator it(root, {"*.txt"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        paths.append(it.next());
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}

// Reads the files plainly, keeping nothing.
double bareRead(const QString& root) {
    Bench::PlainReader reader;
    double sum = 0;
    for (const QString& path : listed(root)) {
        reader.read(path.toStdString(), {"sigma=", "disp="}, sum);
    }
    return sum;
}

// Reads the files plainly, keeping every series under "date_DM"; the date is the start of the name.
std::size_t keepingRead(const QString& root, Bench::PlainKeeper& keeper) {
    for (const QString& path : listed(root)) {
        const std::string p = path.toStdString();
        const std::string date = p.substr(p.rfind('/') + 1, 10);
        keeper.read(p, date + '_', "disp=", "sigma=", Bench::PlainKeeper::Lines::Replace);
    }
    return keeper.series.size();
}

void settle() {
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

double peakMiB() {
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmHWM:") {
            double kb = 0;
            status >> kb;
            return kb / 1024.0;
        }
    }
    return -1;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int dates = argc > 1 ? atoi(argv[1]) : 365;
    const int dms = argc > 2 ? atoi(argv[2]) : 128;
    const int points = argc > 3 ? atoi(argv[3]) : 1000;
    const int reps = argc > 4 ? std::max(1, atoi(argv[4])) : 3;
    RecordingDesktop quiet;
    QTemporaryDir tmp;
    if (!tmp.isValid() || !Bench::writeSearchTree(tmp.path(), dates, dms, points)) {
        std::fprintf(stderr, "cannot write the tree\n");
        return 1;
    }
    MainWindow window;
    window.resize(1600, 1000);
    window.show();
    settle();

    bareRead(tmp.path()); // warms the page cache for all
    auto* form = new SearchNativeForm(tmp.path() + "/absent", "native", &window);
    QThreadPool* pool = QThreadPool::globalInstance();
    const int threads = pool->maxThreadCount();
    double sum = 0;
    double bareS = 1e9, keepS = 1e9, readS = 1e9, threadedS = 1e9;
    std::size_t kept = 0;
    int series = 0;
    bool read = true;
    const auto forget = [form] {
        form->series.clear();
        form->dateMaxMin.clear();
        Bench::PlainKeeper::releaseFreeMemory();
    };
    for (int rep = 0; rep < reps; ++rep) {
        auto t0 = std::clock();
        sum = bareRead(tmp.path());
        bareS = std::min(bareS, secondsSince(t0));
        {
            Bench::PlainKeeper keeper;
            t0 = std::clock();
            kept = keepingRead(tmp.path(), keeper);
            keepS = std::min(keepS, secondsSince(t0));
            keeper.clear();
        }
        pool->setMaxThreadCount(1);
        t0 = std::clock();
        read = form->readDir(tmp.path()) && read;
        readS = std::min(readS, secondsSince(t0));
        series = form->series.size();
        forget();
        pool->setMaxThreadCount(threads);
        const auto w0 = Bench::Clock::now();
        read = form->readDir(tmp.path()) && read;
        threadedS = std::min(threadedS, Bench::secondsSince(w0));
        forget();
    }
    const double afterRead = peakMiB();

    std::printf("tree %d dates x %d DMs x %d points (checksum %.0f, read %d, series %d, kept plainly %zu)\n",
                dates, dms, points, sum, int(read), series, kept);
    std::printf("readDir on one thread %.2f s, plain from_chars read keeping every series %.2f s: ratio %.2f "
                "(limit 1.3); on %d threads %.2f s wall\n",
                readS, keepS, readS / keepS, threads, threadedS);
    std::printf("for context, the plain read keeping nothing %.2f s: ratio %.2f\n", bareS, readS / bareS);
    std::printf("peak RSS %.0f MiB; fastest of %d\n", afterRead, reps);
    WorkArea::clear();
    settle();
    return 0;
}
