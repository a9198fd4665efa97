#include "numerics/periodogram.h"
#include "support/gaussiannoise.h"

#include <QtTest>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr double tsampOrv = 0.0124928;

PeriodogramResult search(std::vector<float>& x, double pmin, double pmax, int bmin, int bmax, double ducy,
                         bool normalised = true, double tsamp = tsampOrv) {
    return Periodogram::ffa_search(x.data(), x.size(), tsamp, pmin, pmax, 0, bmin, bmax, ducy, 1.5,
                                   normalised, false, 4.0, 101);
}

} // namespace

class TestPeriodogram : public QObject {
    Q_OBJECT
private slots:
    void trialWidths_data();
    void trialWidths();
    void argumentErrors_data();
    void argumentErrors();
    void defaultSearchShape();
    void normalisesOnlyWhenAsked();
    void findsAPulseTrain();
};

void TestPeriodogram::trialWidths_data() {
    QTest::addColumn<int>("binsMin");
    QTest::addColumn<double>("ducy");
    QTest::addColumn<double>("wtsp");
    QTest::addColumn<QVector<int>>("widths");
    QTest::newRow("220, 0.02") << 220 << 0.02 << 1.5 << QVector<int>{1, 2, 3, 4};
    QTest::newRow("100, 0.3") << 100 << 0.3 << 1.5 << QVector<int>{1, 2, 3, 4, 6, 9, 13, 19, 28};
    QTest::newRow("below one bin") << 240 << 0.001 << 1.5 << QVector<int>{1};
    QTest::newRow("slow growth adds one") << 10 << 0.5 << 1.1 << QVector<int>{1, 2, 3, 4, 5};
    QTest::newRow("NaN growth") << 10 << 0.3 << double(NAN) << QVector<int>{1, 2, 3};
}

void TestPeriodogram::trialWidths() {
    QFETCH(int, binsMin);
    QFETCH(double, ducy);
    QFETCH(double, wtsp);
    QFETCH(QVector<int>, widths);
    QCOMPARE(Periodogram::makeTrialWidths(binsMin, ducy, wtsp), widths);
}

void TestPeriodogram::argumentErrors_data() {
    QTest::addColumn<int>("size");
    QTest::addColumn<double>("tsamp");
    QTest::addColumn<double>("pmin");
    QTest::addColumn<double>("pmax");
    QTest::addColumn<int>("bmin");
    QTest::addColumn<int>("bmax");
    QTest::addColumn<double>("ducy");
    QTest::addColumn<QString>("text");
    QTest::newRow("size") << 0 << 0.0 << 0.0 << 0.0 << 1 << 0 << 0.02 << "size must be > 0";
    QTest::newRow("tsamp") << 100 << -1.0 << 0.0 << 0.0 << 1 << 0 << 0.02 << "tsamp must be > 0";
    QTest::newRow("period_min") << 100 << 0.01 << 0.0 << 0.0 << 1 << 0 << 0.02 << "period_min must be > 0";
    QTest::newRow("period_max") << 100 << 0.01 << 3.0 << 2.0 << 1 << 0 << 0.02
                                << "period_max must be > period_min";
    QTest::newRow("bins_min 1") << 100 << 0.01 << 3.0 << 4.0 << 1 << 0 << 0.02 << "bins_min must be > 1";
    QTest::newRow("bins_max") << 100 << 0.01 << 3.0 << 4.0 << 30 << 20 << 0.02
                              << "bins_max must be >= bins_min";
    QTest::newRow("period_min 0.5") << 16384 << tsampOrv << 0.5 << 10.0 << 220 << 240 << 0.02
                                    << "Must have: period_min >= tsamp * bins_min (0.0124928*220=2.74842)";
    QTest::newRow("negative bins")
        << 16384 << tsampOrv << 3.0 << 10.0 << -5 << -1 << 0.02
        << "Must have: period_min >= tsamp * bins_min (0.0124928*18446744073709551611=2.30451e+17)";
    QTest::newRow("duty cycle 1") << 16384 << tsampOrv << 3.0 << 10.0 << 13 << 240 << 1.0
                                  << "trial widths must be all > 0 and < columns";
}

void TestPeriodogram::argumentErrors() {
    QFETCH(int, size);
    QFETCH(double, tsamp);
    QFETCH(double, pmin);
    QFETCH(double, pmax);
    QFETCH(int, bmin);
    QFETCH(int, bmax);
    QFETCH(double, ducy);
    QFETCH(QString, text);
    std::vector<float> x = GaussianNoise::samples(std::size_t(std::max(size, 1)), 1);
    PeriodogramResult r = Periodogram::ffa_search(x.data(), std::size_t(size), tsamp, pmin, pmax, 0, bmin,
                                                  bmax, ducy, 1.5, true, false, 4.0, 101);
    QCOMPARE(r.error, text);
    QVERIFY(!r.periods && !r.foldbins && !r.snr && !r.widths);
}

void TestPeriodogram::defaultSearchShape() {
    std::vector<float> x = GaussianNoise::samples(16384, 2);
    PeriodogramResult r = search(x, 3, 10, 220, 240, 0.02);
    QVERIFY(r.error.isEmpty());
    QCOMPARE(r.numPeriods, 10600);
    QCOMPARE(r.numWidths, 4);
    QCOMPARE(std::vector<std::size_t>(r.widths, r.widths + 4), (std::vector<std::size_t>{1, 2, 3, 4}));
    QVERIFY(std::is_sorted(r.periods, r.periods + r.numPeriods));
    QVERIFY(std::all_of(r.snr, r.snr + r.numPeriods * r.numWidths, [](float v) { return std::isfinite(v); }));
    // White noise stays near zero S/N on average and rarely far above it.
    double sum = 0;
    for (int i = 0; i < r.numPeriods * r.numWidths; ++i) {
        sum += r.snr[i];
    }
    const double mean = sum / (r.numPeriods * r.numWidths);
    QVERIFY2(mean > 1.0 && mean < 4.0, qPrintable(QString::number(mean)));
    QVERIFY(*std::max_element(r.snr, r.snr + r.numPeriods * r.numWidths) < 7.0f);
    r.release();
}

void TestPeriodogram::normalisesOnlyWhenAsked() {
    std::vector<float> x = GaussianNoise::samples(4096, 3);
    for (float& v : x) {
        v = v * 5.0f + 100.0f;
    }
    const std::vector<float> original = x;
    PeriodogramResult r = search(x, 1.0, 2.0, 20, 24, 0.1, true, 0.01);
    QVERIFY(r.error.isEmpty());
    QCOMPARE(x, original);
    r.release();

    r = search(x, 1.0, 2.0, 20, 24, 0.1, false, 0.01);
    QVERIFY(r.error.isEmpty());
    r.release();
    double sum = 0;
    double sq = 0;
    for (float v : x) {
        sum += v;
        sq += double(v) * v;
    }
    QVERIFY(std::abs(sum / x.size()) < 1e-5);
    QVERIFY(std::abs(sq / (x.size() - 1) - 1.0) < 1e-4);

    std::vector<float> copySource = original;
    float* copy = Periodogram::normalise(copySource.data(), copySource.size(), false);
    QCOMPARE(copySource, original);
    QCOMPARE(copy[7], x[7]);
    delete[] copy;
}

void TestPeriodogram::findsAPulseTrain() {
    // A 5.0 s train of 3-sample pulses, 1.5 sigma high, in white noise: invisible sample by sample.
    std::vector<float> x = GaussianNoise::samples(16384, 4);
    const double period = 5.0;
    for (std::size_t i = 0; i < x.size(); ++i) {
        const double phase = std::fmod(double(i) * tsampOrv, period) / tsampOrv;
        if (phase < 3.0) {
            x[i] += 1.5f;
        }
    }
    PeriodogramResult r = search(x, 3, 10, 220, 240, 0.02, false);
    QVERIFY(r.error.isEmpty());
    const int cells = r.numPeriods * r.numWidths;
    const int best = int(std::max_element(r.snr, r.snr + cells) - r.snr) / r.numWidths;
    // Within one trial of 5.0 s.
    const int nearest = int(std::lower_bound(r.periods, r.periods + r.numPeriods, period) - r.periods);
    QVERIFY2(std::abs(best - nearest) <= 1,
             qPrintable(QString("best trial %1 at %2 s").arg(best).arg(r.periods[best], 0, 'g', 8)));
    double sum = 0;
    double sq = 0;
    for (int i = 0; i < cells; ++i) {
        sum += r.snr[i];
        sq += double(r.snr[i]) * r.snr[i];
    }
    const double mean = sum / cells;
    const double sigma = std::sqrt(sq / cells - mean * mean);
    const float top = r.snr[best * r.numWidths + 2];
    QVERIFY2(top > 10.0f && top > mean + 8 * sigma,
             qPrintable(QString("S/N %1, noise %2 +- %3").arg(top).arg(mean).arg(sigma)));
    r.release();
}

QTEST_APPLESS_MAIN(TestPeriodogram)
#include "tst_periodogram.moc"
