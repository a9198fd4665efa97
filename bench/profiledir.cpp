// Times the reading of a profile directory of 5000 files (10 periods of 512 samples each) by the
// profile form against a plain reading of the same files: the directory listed and sorted, each file in
// one read, every number parsed with std::from_chars, nothing kept. The form reads once on this thread
// alone (a pool of one thread), for the ratio, and once with the whole pool, for the wall time. All run
// in this process, on the same files, warm; the fastest of three runs each.
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

double plainRead(const QString& root) {
    QStringList paths;
    QDirIterator it(root, {QStringLiteral("p20*.txt")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        paths.append(it.next());
    }
    std::sort(paths.begin(), paths.end());
    Bench::PlainReader reader;
    double sum = 0;
    for (const QString& path : paths) {
        reader.read(path.toStdString(), {"period="}, sum);
    }
    return sum;
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

    plainRead(big); // warm the page cache
    QThreadPool* pool = QThreadPool::globalInstance();
    const int threads = pool->maxThreadCount();
    double plain = 1e9, serial = 1e9, threaded = 1e9;
    for (int rep = 0; rep < 3; ++rep) {
        auto t0 = Bench::Clock::now();
        volatile double s = plainRead(big);
        (void)s;
        plain = std::min(plain, Bench::secondsSince(t0));
        pool->setMaxThreadCount(1);
        t0 = Bench::Clock::now();
        form.readDirProfile(big);
        serial = std::min(serial, Bench::secondsSince(t0));
        pool->setMaxThreadCount(threads);
        t0 = Bench::Clock::now();
        form.readDirProfile(big);
        threaded = std::min(threaded, Bench::secondsSince(t0));
    }
    std::printf("profile directory, 5000 files x 10 x 512: readDirProfile on one thread %.3f s, plain "
                "from_chars read %.3f s, ratio %.2f (limit 1.3); on %d threads %.3f s (profiles %d)\n",
                serial, plain, serial / plain, threads, threaded, int(form.profiles.size()));
    return 0;
}
