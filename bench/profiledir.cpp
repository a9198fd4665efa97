// Times the reading of a profile directory of 5000 files (10 periods of 512 samples each) by the
// profile form against a plain reading of the same files: the directory listed and sorted, each file in
// one read, every number parsed with std::from_chars, every profile kept as the form must keep it (one
// std::vector<double> per profile in a std::unordered_map under its date, DM and period); the plain read
// that keeps nothing is printed beside it. The form reads once on this thread alone (a pool of one
// thread), for the ratio, and once with the whole pool, for the wall time. All run in this process, on
// the same files, warm, each on memory given back to the system as a newly opened directory is; the
// fastest of three runs each.
#include "app/mainwindow.h"
#include "benchclock.h"
#include "plainread.h"
#include "profiles/profileform.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <QThreadPool>

#include <algorithm>
#include <cstdio>

namespace {
void writeFiles(const QString& root, int count) {
    unsigned state = 7;
    for (int f = 0; f < count; ++f) {
        const QString date = QStringLiteral("20%1.%2.%3")
                                 .arg(10 + f / 400, 2, 10, QLatin1Char('0'))
                                 .arg(1 + (f / 25) % 12, 2, 10, QLatin1Char('0'))
                                 .arg(1 + f % 25, 2, 10, QLatin1Char('0'));
        const QString dir = root + QStringLiteral("/d%1").arg(f / 100);
        QDir().mkpath(dir);
        QFile file(dir + QStringLiteral("/p%1_dm%2_p0.7145_s4.txt").arg(date).arg(f % 7));
        if (!file.open(QIODevice::WriteOnly)) {
            return;
        }
        QByteArray text;
        for (int p = 0; p < 10; ++p) {
            text += "period=" + QByteArray::number(0.7140 + 0.0001 * p, 'f', 4) + "\n";
            for (int i = 0; i < 512; ++i) {
                state = state * 1664525u + 1013904223u;
                text += QByteArray::number(double(state >> 8) / double(1 << 24) * 3 - 1.5, 'f', 5);
                text += i == 511 ? '\n' : ' ';
            }
        }
        file.write(text);
    }
}

QStringList listed(const QString& root) {
    QStringList paths;
    QDirIterator it(root, {QStringLiteral("p20*.txt")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        paths.append(it.next());
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}

double plainRead(const QStringList& paths) {
    Bench::PlainReader reader;
    double sum = 0;
    for (const QString& path : paths) {
        reader.read(path.toStdString(), {"period="}, sum);
    }
    return sum;
}

// Keeps every profile under "date_DM_period", date and DM taken from the name p<date>_dm<DM>_p..._s<d>.txt.
std::size_t keepingRead(const QStringList& paths, Bench::PlainKeeper& keeper) {
    for (const QString& path : paths) {
        const std::string p = path.toStdString();
        const std::size_t name = p.rfind('/') + 1;
        const std::size_t dm = p.find("_dm", name) + 3;
        const std::string prefix = p.substr(name + 1, 10) + '_' + p.substr(dm, p.find('_', dm) - dm) + '_';
        keeper.read(p, prefix, "period=", nullptr, Bench::PlainKeeper::Lines::Append);
    }
    return keeper.series.size();
}
// Drops what the form read, and gives the freed memory back to the system.
void forget(ProfileForm& form) {
    form.profiles.clear();
    form.profileStats.clear();
    form.periodsByDateDm.clear();
    form.dmsByDate.clear();
    form.bestList.clear();
    form.bestByDate.clear();
    form.bestFiveByDate.clear();
    form.bestFiveByDatePeriod.clear();
    Bench::PlainKeeper::releaseFreeMemory();
}
} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    MainWindow window;
    QTemporaryDir tmp;
    const QString small = tmp.path() + QStringLiteral("/N1/small");
    const QString big = tmp.path() + QStringLiteral("/N1/big");
    writeFiles(small, 1);
    writeFiles(big, 5000);
    ProfileForm form(small, QStringLiteral("periods"), &window);

    const QStringList paths = listed(big);
    plainRead(paths); // warm the page cache
    QThreadPool* pool = QThreadPool::globalInstance();
    const int threads = pool->maxThreadCount();
    double plain = 1e9, keeping = 1e9, serial = 1e9, threaded = 1e9;
    std::size_t kept = 0;
    int profiles = 0;
    for (int rep = 0; rep < 3; ++rep) {
        auto t0 = Bench::Clock::now();
        volatile double s = plainRead(paths);
        (void)s;
        plain = std::min(plain, Bench::secondsSince(t0));
        {
            Bench::PlainKeeper keeper;
            t0 = Bench::Clock::now();
            kept = keepingRead(paths, keeper);
            keeping = std::min(keeping, Bench::secondsSince(t0));
            keeper.clear();
        }
        pool->setMaxThreadCount(1);
        t0 = Bench::Clock::now();
        form.readDirProfile(big);
        serial = std::min(serial, Bench::secondsSince(t0));
        profiles = form.profiles.size();
        forget(form);
        pool->setMaxThreadCount(threads);
        t0 = Bench::Clock::now();
        form.readDirProfile(big);
        threaded = std::min(threaded, Bench::secondsSince(t0));
        forget(form);
    }
    std::printf("profile directory, 5000 files x 10 x 512: readDirProfile on one thread %.3f s, plain "
                "from_chars read keeping every profile %.3f s, ratio %.2f (limit 1.3); on %d threads %.3f s "
                "(profiles %d, kept plainly %zu)\n",
                serial, keeping, serial / keeping, threads, threaded, profiles, kept);
    std::printf("for context, the plain read keeping nothing %.3f s: ratio %.2f\n", plain, serial / plain);
    return 0;
}
