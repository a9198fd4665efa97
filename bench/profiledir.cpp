// Times the reading of a profile directory of 5000 files (10 periods of 512 samples each) by the
// profile form against a plain reading of the same files: each file line by line, every sample line
// split at blanks and converted, nothing kept. Both run in this process, on the same files, warm.
#include "app/mainwindow.h"
#include "benchclock.h"
#include "core/dirscan.h"
#include "profiles/profileform.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

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
    double sum = 0;
    for (const QString& path : DirScan::files(root, {QStringLiteral("p20*.txt")})) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            continue;
        }
        QTextStream in(&file);
        QString line;
        while (in.readLineInto(&line)) {
            if (line.startsWith(QLatin1String("period="))) {
                continue;
            }
            for (const QString& part : line.split(QLatin1Char(' '))) {
                sum += part.toDouble();
            }
        }
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
    double plain = 1e9, ours = 1e9;
    for (int rep = 0; rep < 3; ++rep) {
        auto t0 = Bench::Clock::now();
        volatile double s = plainRead(big);
        (void)s;
        plain = std::min(plain, Bench::secondsSince(t0));
        t0 = Bench::Clock::now();
        form.readDirProfile(big);
        ours = std::min(ours, Bench::secondsSince(t0));
    }
    std::printf("profile directory, 5000 files x 10 x 512: readDirProfile %.3f s, plain read %.3f s, "
                "ratio %.2f (profiles %d)\n",
                ours, plain, ours / plain, int(form.profiles.size()));
    return 0;
}
