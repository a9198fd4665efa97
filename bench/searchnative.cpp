// The search-result browser on a tree of dates by DMs (365 x 128 x 1000 numbers unless given as
// arguments: dates DMs points): readDir against a bare loop that reads the same lines and converts every
// piece with toDouble. Prints the ratio and the peak resident memory. Times are the process's CPU
// seconds, so that other work on the machine does not blur the ratio. The grid is timed by
// bench_searchgrid.
#include "app/mainwindow.h"
#include "core/desktop.h"
#include "core/workarea.h"
#include "native/searchnativeform.h"
#include "searchtree.h"

#include <QApplication>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

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

// Reads every "*.txt" file line by line and converts every blank-separated piece.
double bareRead(const QString& root) {
    double sum = 0;
    QDirIterator it(root, {"*.txt"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile f(it.next());
        if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) {
            continue;
        }
        QTextStream in(&f);
        in.setCodec("UTF-8"); // as the parser reads
        QString line;
        while (in.readLineInto(&line)) {
            for (const QString& piece : line.trimmed().split(' ')) {
                sum += piece.toDouble();
            }
        }
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
    t0 = std::clock();
    const bool read = form->readDir(tmp.path());
    const double readS = secondsSince(t0);
    const double afterRead = peakMiB();

    std::printf("tree %d dates x %d DMs x %d points (checksum %.0f, read %d)\n", dates, dms, points, sum,
                int(read));
    std::printf("readDir %.2f s, bare read %.2f s: ratio %.2f (limit 2)\n", readS, bareS, readS / bareS);
    std::printf("peak RSS after readDir %.0f MiB\n", afterRead);
    WorkArea::clear();
    settle();
    Desktop::setInstance(nullptr);
    return 0;
}
