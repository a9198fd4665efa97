// The grid of the search-result browser on a tree of dates by DMs (searchtree.h), wall clock, each step
// until the window has settled and painted:
// - open: the form made as the menu makes it, reading included (reading alone is timed apart);
// - the grid built and painted from the one-graph view ("Multi graphs");
// - a date arrow in the grid view (the grid rebuilt, the old one torn down, the 20 ms scroll);
// - "One graph" from the grid view (the grid torn down, one plot shown).
// The plain baseline (plaingrid.h) does the same with plain widgets of the cell size in a window of the
// same size: built and shown; a second one shown in place of the first; the first replaced by one plain
// widget. The bare baseline, printed once, keeps the repaint request of every widget. Each run of the
// form is printed too: the first date arrow is the one that meets fresh memory.
// Arguments: dates DMs points repetitions [fast: no bare baseline | ours: no baseline at all];
// 365 128 20 2 by default.
#include "app/mainwindow.h"
#include "benchclock.h"
#include "native/searchnativeform.h"
#include "plaingrid.h"
#include "searchtree.h"
#include "support/recordingdesktop.h"
#include "ui_searchnativeform.h"

#include <QApplication>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QPushButton>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include <sys/resource.h>

namespace {

struct Times {
    double build = 1e9;
    double arrow = 1e9;
    double one = 1e9;
    long arrowFaults = 0; // page faults of the process during the date arrow
};

long pageFaults() {
    rusage usage{};
    return getrusage(RUSAGE_SELF, &usage) == 0 ? usage.ru_minflt + usage.ru_majflt : 0;
}

Times plainRun(Bench::PlainHost& plain, int dates, int dms, int cellWidth, int cellHeight) {
    Times t;
    auto t0 = Bench::Clock::now();
    plain.replaceBy(Bench::plainGrid(dates, dms, cellWidth, cellHeight));
    Bench::settle();
    t.build = Bench::secondsSince(t0);
    t0 = Bench::Clock::now();
    const long faults0 = pageFaults();
    plain.replaceBy(Bench::plainGrid(dates, dms, cellWidth, cellHeight));
    Bench::settle();
    t.arrow = Bench::secondsSince(t0);
    t.arrowFaults = pageFaults() - faults0;
    t0 = Bench::Clock::now();
    plain.replaceBy(new QWidget);
    Bench::settle();
    t.one = Bench::secondsSince(t0);
    return t;
}

Times formRun(SearchNativeForm* form) {
    Times t;
    auto t0 = Bench::Clock::now();
    form->ui->drawGrafikMulti->click();
    Bench::settle();
    t.build = Bench::secondsSince(t0);
    t0 = Bench::Clock::now();
    const long faults0 = pageFaults();
    form->ui->dateNext->click();
    Bench::settle();
    t.arrow = Bench::secondsSince(t0);
    t.arrowFaults = pageFaults() - faults0;
    t0 = Bench::Clock::now();
    form->ui->drawGrafikOne->click();
    Bench::settle();
    t.one = Bench::secondsSince(t0);
    return t;
}

void keepBest(Times& best, const Times& t) {
    best.build = std::min(best.build, t.build);
    best.arrow = std::min(best.arrow, t.arrow);
    best.one = std::min(best.one, t.one);
}

// The peak resident memory of the process in MiB.
double peakMiB() {
    rusage usage{};
    return getrusage(RUSAGE_SELF, &usage) == 0 ? double(usage.ru_maxrss) / 1024.0 : -1;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
    const int dates = argc > 1 ? std::atoi(argv[1]) : 365;
    const int dms = argc > 2 ? std::atoi(argv[2]) : 128;
    const int points = argc > 3 ? std::atoi(argv[3]) : 20;
    const int reps = argc > 4 ? std::atoi(argv[4]) : 2;
    const QByteArray only = argc > 5 ? QByteArray(argv[5]) : QByteArray();
    const bool withPlain = only != "ours";
    const bool withBare = only.isEmpty();
    QTemporaryDir tmp;
    if (!tmp.isValid() || !Bench::writeSearchTree(tmp.path(), dates, dms, points)) {
        std::fprintf(stderr, "cannot write the tree\n");
        return 1;
    }
    RecordingDesktop quiet; // the reading-only form below warns of its missing start directory
    auto* window = new MainWindow;
    window->resize(1600, 1000);
    window->show();
    Bench::settle();

    // Reading alone, on a form that never shows, also warms the page cache.
    double readS = 0;
    {
        SearchNativeForm reader(tmp.path() + QStringLiteral("/absent"), QStringLiteral("native"), nullptr);
        for (int i = 0; i < 2; ++i) {
            reader.series.clear();
            const auto t0 = Bench::Clock::now();
            reader.readDir(tmp.path());
            readS = Bench::secondsSince(t0);
        }
    }

    auto t0 = Bench::Clock::now();
    auto* form = new SearchNativeForm(tmp.path(), QStringLiteral("native"), window);
    Bench::settle();
    const double openS = Bench::secondsSince(t0);
    const int cellWidth = std::max(91, form->ui->multiWidth->text().toInt());
    const int cellHeight = std::max(91, form->ui->multiHeight->text().toInt());
    form->ui->drawGrafikOne->click();
    Bench::settle();

    Bench::PlainHost plain;
    plain.host.resize(window->centralWidget()->size());
    plain.host.show();
    Bench::settle();

    Times ours;
    Times plainBest;
    for (int r = 0; r < reps; ++r) {
        const Times t = formRun(form);
        std::printf("run %d: built %.2f s, date arrow %.2f s (%ld page faults), \"One graph\" %.3f s\n", r,
                    t.build, t.arrow, t.arrowFaults, t.one);
        keepBest(ours, t);
        if (withPlain) {
            const Times p = plainRun(plain, dates, dms, cellWidth, cellHeight);
            std::printf("  plain: built %.2f s, replaced %.2f s (%ld page faults), torn down %.3f s\n",
                        p.build, p.arrow, p.arrowFaults, p.one);
            keepBest(plainBest, p);
        }
    }

    Times bareOnce;
    if (withBare) {
        plain.dropRequests = false;
        bareOnce = plainRun(plain, dates, dms, cellWidth, cellHeight);
    }

    std::printf(
        "search grid %d dates x %d DMs (%d cells of %d numbers, %d x %d px), best of %d, wall clock\n", dates,
        dms, dates * dms, points, cellWidth, cellHeight, reps);
    std::printf("open with reading %.2f s (the reading alone, timed apart: %.2f s)\n", openS, readS);
    std::printf("grid built and painted %.2f s, plain widgets %.2f s: ratio %.2f (limit 1.5)\n", ours.build,
                plainBest.build, ours.build / plainBest.build);
    std::printf("date arrow %.2f s, plain replacement %.2f s: ratio %.2f (limit 1.5)\n", ours.arrow,
                plainBest.arrow, ours.arrow / plainBest.arrow);
    std::printf("\"One graph\" %.3f s, plain teardown %.3f s: ratio %.2f (limit 1.5)\n", ours.one,
                plainBest.one, ours.one / plainBest.one);
    if (withBare) {
        std::printf("bare widgets, paint requests kept: built %.2f s, replaced %.2f s, torn down %.3f s\n",
                    bareOnce.build, bareOnce.arrow, bareOnce.one);
    }
    std::printf("each step includes a 25 ms settling wait; peak resident memory %.0f MiB\n", peakMiB());
    delete window;
    return 0;
}
