// Times the readers of Fourier/FFA result files on 1,000 synthetic float32 day files (N = 8192, 128 DMs)
// against bare loops over the same files, and "harmDispFirstPoint" over 30 days with its reading and its
// per-DM baseline and sigma timed apart.
#include "benchclock.h"
#include "core/tools.h"
#include "directory/calc/fouriercalculate.h"
#include "directory/calc/resultfile.h"
#include "directory/calc/spectrumnoise.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

namespace {

void quiet(QtMsgType, const QMessageLogContext&, const QString&) {}

constexpr int points = 8192;

QByteArray headerBytes() {
    return "year: \ncount_month: \npoints: " + QByteArray::number(points) +
           "\ntype: float\naverageCount: 0\naverageWithNull: 0";
}

// A file as the pipeline writes it; `offsets` receives where each block starts.
QByteArray fileBytes(const QVector<int>& dms, unsigned seed, std::vector<qint64>* offsets) {
    QByteArray bytes = headerBytes();
    bytes.reserve(bytes.size() + dms.size() * (points * 4 + 32));
    unsigned state = seed;
    for (int dm : dms) {
        bytes += "\ndisp: " + QByteArray::number(dm) + "\ndays: 1\n";
        if (offsets) {
            offsets->push_back(bytes.size());
        }
        const int at = bytes.size();
        bytes.resize(at + points * 4);
        for (int i = 0; i < points; ++i) {
            state = state * 1664525u + 1013904223u;
            qToLittleEndian<float>(float(state >> 8) / float(1 << 20), bytes.data() + at + 4 * i);
        }
    }
    return bytes;
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

// Processor time of the process (user and system) in ms: the figures stay comparable while other
// work shares the machine.
double cpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// The least processor time of a few runs, in ms.
template <typename F> double bestMs(F&& work, int runs = 3) {
    double best = 1e300;
    for (int r = 0; r < runs; ++r) {
        const double t0 = cpuMs();
        work();
        best = std::min(best, cpuMs() - t0);
    }
    return best;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    qInstallMessageHandler(quiet);
    QTemporaryDir dir;
    if (!dir.isValid()) {
        std::printf("no temporary directory\n");
        return 1;
    }
    const QVector<int> dms = Tools::dmList(false);
    const int files = argc > 1 ? std::max(1, atoi(argv[1])) : 1000; // fewer for profiling
    std::vector<qint64> offsets;
    QStringList paths;
    for (int k = 0; k < files; ++k) {
        const QString path = dir.filePath(QStringLiteral("day%1_f00_n0_av0.txt").arg(k));
        if (!writeFile(path, fileBytes(dms, unsigned(k + 1), k == 0 ? &offsets : nullptr))) {
            std::printf("cannot write %s\n", qPrintable(path));
            return 1;
        }
        paths << path;
    }
    std::printf("%d files of %d DMs x %d float32 values\n", files, int(dms.size()), points);

    QVector<double> sum(points, 0.0);
    std::vector<char> raw(size_t(points) * 4);
    for (int which : {0, int(dms.size()) - 1}) {
        const int dm = dms[which];
        const qint64 offset = offsets[size_t(which)];
        const double bare = bestMs([&] {
            for (const QString& path : paths) {
                QFile f(path);
                f.open(QIODevice::ReadOnly);
                f.seek(offset);
                f.read(raw.data(), qint64(raw.size()));
                double* s = sum.data();
                for (int i = 0; i < points; ++i) {
                    s[i] += double(qFromLittleEndian<float>(raw.data() + 4 * i));
                }
            }
        });
        const double reader = bestMs([&] {
            for (const QString& path : paths) {
                ResultFile::addFourierFromFile(path, dms.size(), dm, sum, dms);
            }
        });
        std::printf("addFourierFromFile DM %4d: %8.1f ms, bare block read %8.1f ms, ratio %.2f\n", dm, reader,
                    bare, reader / bare);
    }

    std::vector<char> chunk(size_t(1) << 20);
    const double plain = bestMs([&] {
        for (const QString& path : paths) {
            QFile f(path);
            f.open(QIODevice::ReadOnly);
            while (f.read(chunk.data(), qint64(chunk.size())) > 0) {
            }
        }
    });
    QVector<QVector<double>> matrix(dms.size(), QVector<double>(points, 0.0));
    const double matrixMs = bestMs([&] {
        for (const QString& path : paths) {
            ResultFile::addFourierMatrixFromFile(path, dms.size(), matrix, points);
        }
    });
    QHash<QString, QVector<double>> sums;
    for (int dm : dms) {
        sums.insert(Tools::fourierFileBaseD(0, 0, 0, dm), QVector<double>(points, 0.0));
    }
    QString errors;
    const double hashMs = bestMs([&] {
        for (const QString& path : paths) {
            ResultFile::addFourierHashFromFile(path, dms.size(), 0, 0, 0, sums, points, errors);
        }
    });
    std::printf("plain 1 MiB chunked read: %8.1f ms\n", plain);
    std::printf("addFourierMatrixFromFile: %8.1f ms, ratio %.2f\n", matrixMs, matrixMs / plain);
    std::printf("addFourierHashFromFile:   %8.1f ms, ratio %.2f\n", hashMs, hashMs / plain);

    // "harmDispFirstPoint": 30 days, 7 shifts each, spectra of 16384 points (8192 harmonics).
    QTemporaryDir days;
    QVector<QString> rows;
    for (int d = 0; d < 30; ++d) {
        const QString row = QStringLiteral("2019.03.%1").arg(d + 1, 2, 10, QLatin1Char('0'));
        QDir(days.path()).mkpath(row);
        for (int s = -3; s <= 3; ++s) {
            writeFile(days.filePath(row + "/" + Tools::fourierFileName(QString(), s, 0, false)),
                      fileBytes(dms, unsigned(d * 7 + s + 100), nullptr));
        }
        rows << row;
    }
    FourierCalculate calc;
    calc.dir = days.path();
    calc.tableRows = rows;
    calc.rowChecked = QVector<bool>(rows.size(), true);
    calc.dispersions = dms;
    calc.tresolution = 0.0124928;
    calc.harmonic = 100;
    calc.grafikType = QStringLiteral("harmDispFirstPoint");
    const double whole = bestMs([&] { calc.calculate(); }, 2);
    QVector<QVector<double>> rowsOfDm(dms.size(), QVector<double>(2 * points, 0.0));
    const double reading = bestMs(
        [&] {
            for (int s = -3; s <= 3; ++s) {
                for (const QString& row : rows) {
                    ResultFile::addFourierMatrixFromFile(
                        days.filePath(row + "/" + Tools::fourierFileName(QString(), s, 0, false)), dms.size(),
                        rowsOfDm, points);
                }
            }
        },
        2);
    // The baselines work in place: each run gets fresh copies, made outside the timing.
    double baseline = 1e300;
    for (int run = 0; run < 2; ++run) {
        QVector<QVector<QVector<double>>> copies(7);
        for (QVector<QVector<double>>& copy : copies) {
            copy = rowsOfDm;
            for (QVector<double>& row : copy) {
                row.detach();
            }
        }
        const double t0 = cpuMs();
        for (QVector<QVector<double>>& copy : copies) {
            for (QVector<double>& row : copy) {
                deductMedianNoiseAuto(row, points);
                getSigmaMedian(row, points, 2 * points / 128);
            }
        }
        baseline = std::min(baseline, cpuMs() - t0);
    }
    std::printf(
        "harmDispFirstPoint, 30 days x 7 shifts: %8.1f ms (reading %8.1f ms, baseline and sigma %8.1f ms)\n",
        whole, reading, baseline);
    return 0;
}
