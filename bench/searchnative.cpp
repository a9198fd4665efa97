// The search-result browser on a tree of dates by DMs (365 x 128 x 1000 numbers unless given as
// arguments: dates DMs points): readDir on this thread alone (a pool of one thread) against a plain read
// of the same files (each in one read, every number parsed with std::from_chars, single-threaded), and
// readDir with the whole pool, by wall time. Prints the ratio and the peak resident memory. Times but the
// threaded one are the process's CPU seconds, so that other work on the machine does not blur the ratio.
// The grid is timed by bench_searchgrid.
#include "app/mainwindow.h"
#include "benchclock.h"
#include "core/desktop.h"
#include "core/workarea.h"
#include "native/searchnativeform.h"
#include "plainread.h"
#include "searchtree.h"

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

class QuietDesktop : public Desktop {
public:
    void warning(QWidget*, const QString&, const QString&) override {}
};

// Lists the "*.txt" files as the form does and reads them plainly.
double bareRead(const QString& root) {
    QStringList paths;
    QDirIterator it(root, {"*.txt"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        paths.append(it.next());
    }
    std::sort(paths.begin(), paths.end());
    Bench::PlainReader reader;
    double sum = 0;
    for (const QString& path : paths) {
        reader.read(path.toStdString(), {"sigma=", "disp="}, sum);
    }
    return sum;
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
    QuietDesktop quiet;
    Desktop::setInstance(&quiet);
    QTemporaryDir tmp;
    if (!tmp.isValid() || !Bench::writeSearchTree(tmp.path(), dates, dms, points)) {
        std::fprintf(stderr, "cannot write the tree\n");
        return 1;
    }
    MainWindow window;
    window.resize(1600, 1000);
    window.show();
    settle();

    bareRead(tmp.path()); // warms the page cache for both
    auto t0 = std::clock();
    const double sum = bareRead(tmp.path());
    const double bareS = secondsSince(t0);

    auto* form = new SearchNativeForm(tmp.path() + "/absent", "native", &window);
    QThreadPool* pool = QThreadPool::globalInstance();
    const int threads = pool->maxThreadCount();
    pool->setMaxThreadCount(1);
    t0 = std::clock();
    bool read = form->readDir(tmp.path());
    const double readS = secondsSince(t0);
    pool->setMaxThreadCount(threads);
    const auto w0 = Bench::Clock::now();
    read = form->readDir(tmp.path()) && read;
    const double threadedS = Bench::secondsSince(w0);
    const double afterRead = peakMiB();

    std::printf("tree %d dates x %d DMs x %d points (checksum %.0f, read %d)\n", dates, dms, points, sum,
                int(read));
    std::printf("readDir on one thread %.2f s, plain from_chars read %.2f s: ratio %.2f (limit 1.3); on %d "
                "threads %.2f s wall\n",
                readS, bareS, readS / bareS, threads, threadedS);
    std::printf("peak RSS after readDir %.0f MiB\n", afterRead);
    WorkArea::clear();
    settle();
    Desktop::setInstance(nullptr);
    return 0;
}
