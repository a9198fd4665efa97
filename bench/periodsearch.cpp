// Times the period search's default range (0.5 s to 2 s by 0.0001 s, 15,000 candidates) over 1,000
// differences between pulses of a 1.2345 s pulsar: the whole "Period" and "MNK" searches with their
// progress signal and trace file, against the bare scoring loop (the same remainders, nothing else).
// The searches must stay within 2x of the bare loop.
#include "directory/calc/periodsearch.h"
#include "benchclock.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>
#include <random>

namespace {

QVector<double> differences(int n) {
    std::mt19937 rng(12345);
    std::uniform_int_distribution<int> turns(1, 400);
    std::uniform_real_distribution<double> jitter(-8, 8);
    QVector<double> d;
    for (int i = 0; i < n; ++i) {
        d.append(turns(rng) * 1234.5 + jitter(rng));
    }
    return d;
}

double bare(PeriodSearch::Score score, const QVector<double>& candidates, const QVector<double>& d,
            double tolerance) {
    double total = 0;
    for (const double p : candidates) {
        double sum = 0;
        for (const double t : d) {
            sum += PeriodSearch::term(score, t, p, tolerance);
        }
        total += sum;
    }
    return total;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QVector<double> d = differences(1000);
    QVector<double> candidates;
    if (!PeriodSearch::candidates(500, 2000, 0.1, candidates).isEmpty()) {
        return 1;
    }
    std::printf("period search: %d candidates x %d differences\n", candidates.size(), d.size());
    const double tolerance = 25;
    for (const auto score : {PeriodSearch::Score::Count, PeriodSearch::Score::SumMs}) {
        volatile double sink = 0;
        const double bareMs =
            Bench::perCall<std::milli>([&] { sink = sink + bare(score, candidates, d, tolerance); }, 2.0);
        PeriodSearch search;
        int seen = 0;
        QObject::connect(&search, &PeriodSearch::progress, [&seen](int p) { seen = p; });
        const double searchMs = Bench::perCall<std::milli>(
            [&] {
                QFile file(dir.filePath(QStringLiteral("test1.txt")));
                if (!file.open(QIODevice::WriteOnly | QIODevice::Text | QIODevice::Truncate)) {
                    return;
                }
                QTextStream trace(&file);
                trace.setCodec("UTF-8");
                QVector<double> periods;
                QVector<double> scores;
                search.run(score, candidates, d, tolerance, &trace, periods, scores);
            },
            2.0);
        std::printf("%-6s bare loop %8.1f ms   search %8.1f ms   ratio %.2f   (last progress %d)\n",
                    score == PeriodSearch::Score::Count ? "Period" : "MNK", bareMs, searchMs,
                    searchMs / bareMs, seen);
    }
    return 0;
}
