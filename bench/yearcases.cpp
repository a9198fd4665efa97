// Opens a year of pipeline output through the real forms, as the menu entries do, and times it from the
// constructor call to the settled window: the grid of the best (or first) date built and painted, every
// posted event delivered and the 20 ms scroll to the current cell done. One case per run, so that the
// peak resident memory (VmHWM) belongs to that case alone:
//   bench_yearcases profiles [TREE]   365 dates x 128 DMs x 3 periods x 256 samples, 46,720 files
//   bench_yearcases search [TREE]     365 dates x 128 DMs x 1,000 numbers, one file per date
// TREE, when given, keeps the written tree there (or reuses it when it exists), so that two builds can
// be timed on the same files; otherwise the tree goes to a temporary directory. The tree is read once
// before the timing so that the page cache is warm. Uses only what every version of the forms has, so
// the program builds against older code too. The CPU time of the process beside the wall time tells how
// much a loaded machine stretched the figure, and the GUI thread's CPU time is the part no worker thread
// can take over.
#include "app/mainwindow.h"
#include "benchclock.h"
#include "native/searchnativeform.h"
#include "profiles/profileform.h"
#include "support/recordingdesktop.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QDate>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <string>

namespace {
constexpr int dateCount = 365;
constexpr int dmCount = 128;
constexpr int periodCount = 3;
constexpr int profileSamples = 256;
constexpr int searchNumbers = 1000;

struct Random {
    unsigned state = 12345;
    double next() { // uniform in [0, 1)
        state = state * 1664525u + 1013904223u;
        return double(state >> 8) / double(1 << 24);
    }
};

void appendNumber(QByteArray& out, double v, int decimals) {
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
    out.append(buf, int(r.ptr - buf));
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// Noise around 1 with a pulse whose height varies by date, DM and period, so one profile is the best.
bool writeProfiles(const QString& root) {
    Random rnd;
    const QDate first(2016, 1, 1);
    for (int d = 0; d < dateCount; ++d) {
        const QString date = first.addDays(d).toString(QStringLiteral("yyyy.MM.dd"));
        const QString dir = root + QLatin1Char('/') + date;
        if (!QDir().mkpath(dir)) {
            return false;
        }
        for (int m = 0; m < dmCount; ++m) {
            QByteArray text;
            for (int p = 0; p < periodCount; ++p) {
                text += "period=";
                appendNumber(text, 0.7144 + 0.0001 * p, 4);
                text += '\n';
                const double height = 2 + 8 * rnd.next() * (1 - std::abs(m - 60) / 128.0);
                for (int i = 0; i < profileSamples; ++i) {
                    const double x = (i - 128) / 5.0;
                    appendNumber(text, 1 + height * std::exp(-x * x / 2) + 0.6 * (rnd.next() - 0.5), 7);
                    text += i + 1 < profileSamples ? ' ' : '\n';
                }
            }
            if (!writeFile(dir + QStringLiteral("/p%1_dm%2_p0.7145_s4.txt").arg(date).arg(m), text)) {
                return false;
            }
        }
    }
    return true;
}

bool writeSearch(const QString& root) {
    Random rnd;
    const QDate first(2024, 1, 1);
    for (int d = 0; d < dateCount; ++d) {
        const QDate day = first.addDays(d);
        const QString dir = root + day.toString(QStringLiteral("/MM"));
        if (!QDir().mkpath(dir)) {
            return false;
        }
        QByteArray text;
        for (int m = 0; m < dmCount; ++m) {
            text += "sigma=3.1\ndisp=";
            appendNumber(text, m * 0.5, 1);
            text += '\n';
            for (int i = 0; i < searchNumbers; ++i) {
                appendNumber(text, 100 * rnd.next(), 3);
                text += i + 1 < searchNumbers ? ' ' : '\n';
            }
        }
        if (!writeFile(dir + day.toString(QStringLiteral("/yyyy.MM.dd_search.txt")), text)) {
            return false;
        }
    }
    return true;
}

qint64 warmCache(const QString& root) {
    qint64 bytes = 0;
    QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile f(it.next());
        if (f.open(QIODevice::ReadOnly)) {
            bytes += f.readAll().size();
        }
    }
    return bytes;
}

double statusMiB(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == field) {
            double kb = 0;
            status >> kb;
            return kb / 1024.0;
        }
    }
    return -1;
}

double mainThreadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// Delivers everything pending until the dispatcher has nothing left, and not before the 20 ms scroll
// timer that a grid starts has had its turn.
void settle(Bench::Clock::time_point since) {
    for (;;) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        if (!QAbstractEventDispatcher::instance()->hasPendingEvents() && Bench::msSince(since) > 25) {
            QCoreApplication::processEvents(QEventLoop::AllEvents);
            return;
        }
    }
}
} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const bool profiles = argc > 1 && std::strcmp(argv[1], "profiles") == 0;
    if (argc < 2 || (!profiles && std::strcmp(argv[1], "search") != 0)) {
        std::fprintf(stderr, "usage: %s profiles|search [TREE]\n", argv[0]);
        return 2;
    }
    RecordingDesktop quiet;

    QTemporaryDir tmp;
    const QString root = argc > 2 ? QString::fromLocal8Bit(argv[2]) : tmp.path() + QStringLiteral("/tree");
    // The site code in the path spares the profile form its warning about the site.
    const QString data = root + QStringLiteral("/N1/J0000+00");
    if (!QDir(root).exists()) {
        const auto t0 = Bench::Clock::now();
        const bool written = profiles ? writeProfiles(data) : writeSearch(root);
        if (!written) {
            std::fprintf(stderr, "cannot write the tree below %s\n", qPrintable(root));
            return 1;
        }
        std::printf("tree written in %.1f s\n", Bench::secondsSince(t0));
    }
    const QString open = profiles ? data : root;
    const qint64 bytes = warmCache(root);

    MainWindow window;
    window.resize(1600, 1000);
    window.show();
    settle(Bench::Clock::now());
    const double baseMiB = statusMiB("VmRSS:");

    const std::clock_t cpu0 = std::clock();
    const double main0 = mainThreadSeconds();
    const auto t0 = Bench::Clock::now();
    QWidget* form = nullptr;
    if (profiles) {
        form = new ProfileForm(open, QStringLiteral("periods"), &window);
    } else {
        form = new SearchNativeForm(open, QStringLiteral("native"), &window);
    }
    settle(t0);
    const double seconds = Bench::secondsSince(t0);
    const double cpuSeconds = double(std::clock() - cpu0) / CLOCKS_PER_SEC;
    const double mainSeconds = mainThreadSeconds() - main0;
    const double peakMiB = statusMiB("VmHWM:");
    const double nowMiB = statusMiB("VmRSS:");

    std::printf("%s year: %d dates x %d DMs x %s, %.0f MB of text\n", profiles ? "profiles" : "search",
                dateCount, dmCount, profiles ? "3 periods x 256 samples" : "1,000 numbers", bytes / 1e6);
    std::printf("open to the settled window: %.2f s; CPU: process %.2f s, GUI thread %.2f s (form %s)\n",
                seconds, cpuSeconds, mainSeconds, form->isVisible() ? "shown" : "NOT shown");
    const double sampleMiB = profiles
                                 ? double(dateCount) * dmCount * periodCount * profileSamples * 8 / 1048576.0
                                 : double(dateCount) * dmCount * searchNumbers * 8 / 1048576.0;
    std::printf("resident: base %.0f MiB, peak %.0f MiB, after %.0f MiB; samples as doubles %.0f MiB, "
                "peak above base %.2fx of them\n",
                baseMiB, peakMiB, nowMiB, sampleMiB, (peakMiB - baseMiB) / sampleMiB);
    return 0;
}
