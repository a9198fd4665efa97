// The search-result browser on a tree of dates by DMs (365 x 128 x 1000 numbers unless given as
// arguments: dates DMs points): readDir on this thread alone (a pool of one thread) against a plain read
// of the same files (each in one read, every number parsed with std::from_chars, single-threaded), and
// readDir with the whole pool, by wall time; and the rebuild of the grid (as a date arrow does it,
// painted) against the same number of bare widgets in the same grid. Prints both ratios and the peak
// resident memory. Times but the threaded one are the process's CPU seconds, so that other work on
// the machine does not blur the ratios.
#include "app/mainwindow.h"
#include "benchclock.h"
#include "core/desktop.h"
#include "core/graphgrid.h"
#include "core/workarea.h"
#include "native/searchnativeform.h"
#include "native/searchnativemultigrafik.h"
#include "plainread.h"

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

bool writeTree(const QString& root, int dates, int dms, int points) {
    unsigned state = 7;
    for (int d = 0; d < dates; ++d) {
        const int day = d % 28 + 1;
        const int month = d / 28 % 12 + 1;
        const QString dir = QString("%1/%2").arg(root).arg(month, 2, 10, QChar('0'));
        QDir().mkpath(dir);
        QFile f(QString("%1/2024.%2.%3_%4_search.txt")
                    .arg(dir)
                    .arg(month, 2, 10, QChar('0'))
                    .arg(day, 2, 10, QChar('0'))
                    .arg(d));
        if (!f.open(QIODevice::WriteOnly)) {
            return false;
        }
        QByteArray text;
        for (int m = 0; m < dms; ++m) {
            text += "sigma=3.1\ndisp=" + QByteArray::number(m * 0.5, 'f', 1) + '\n';
            for (int i = 0; i < points; ++i) {
                state = state * 1664525u + 1013904223u;
                text += QByteArray::number(double(state >> 12) / 100000.0, 'f', 3);
                text += i + 1 < points ? ' ' : '\n';
            }
        }
        f.write(text);
    }
    return true;
}

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
    if (!tmp.isValid() || !writeTree(tmp.path(), dates, dms, points)) {
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

    // Bare widgets in the same grid, installed and painted the same way.
    t0 = std::clock();
    {
        auto* grid = new SearchNativeMultiGrafik(nullptr);
        grid->columns = dms;
        grid->rows = dates;
        grid->columnTitles = {" "};
        grid->rowTitles = {" "};
        for (int d = 0; d < dates; ++d) {
            grid->rowTitles << QString::number(d);
            QVector<QWidget*> row;
            for (int m = 0; m < dms; ++m) {
                row << new QWidget;
            }
            grid->grafiks << row;
        }
        for (int m = 0; m < dms; ++m) {
            grid->columnTitles << QString("DM=%1").arg(m);
        }
        WorkArea::install({grid});
        grid->draw();
        settle();
        grid->repaint();
    }
    const double bareGridS = secondsSince(t0);
    WorkArea::clear();
    settle();

    // A date arrow replaces a shown grid: build one first, then time the rebuild with its deletion.
    form->drawGrafikMulti();
    settle();
    t0 = std::clock();
    form->drawGrafikMulti();
    settle();
    if (form->multiGrafik) {
        form->multiGrafik->repaint();
    }
    const double gridS = secondsSince(t0);

    std::printf("tree %d dates x %d DMs x %d points (checksum %.0f, read %d)\n", dates, dms, points, sum,
                int(read));
    std::printf("readDir on one thread %.2f s, plain from_chars read %.2f s: ratio %.2f (limit 1.3); on %d "
                "threads %.2f s wall\n",
                readS, bareS, readS / bareS, threads, threadedS);
    std::printf("grid rebuild %.2f s, bare widgets %.2f s: ratio %.2f (limit 3)\n", gridS, bareGridS,
                gridS / bareGridS);
    std::printf("peak RSS after readDir %.0f MiB, at the end %.0f MiB\n", afterRead, peakMiB());
    WorkArea::clear();
    settle();
    Desktop::setInstance(nullptr);
    return 0;
}
