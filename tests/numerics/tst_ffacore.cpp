#include "numerics/ffacore.h"
#include "support/gaussiannoise.h"

#include <QtTest>

#include <cmath>
#include <random>
#include <stdexcept>
#include <vector>

namespace {

struct Trials {
    std::vector<double> periods;
    std::vector<std::int32_t> foldbins;
    std::vector<float> snr;
};

// Runs the search into arrays with room to spare, so that writing more trials than counted is seen.
Trials runSearch(const std::vector<float>& data, double tsamp, const std::vector<std::size_t>& widths,
                 double pmin, double pmax, std::size_t bmin, std::size_t bmax, std::size_t* written) {
    const std::size_t n = periodogram_size(data.size(), tsamp, pmin, pmax, bmin, bmax);
    const std::size_t spare = 64;
    Trials t;
    t.periods.assign(n + spare, -1.0);
    t.foldbins.assign(n + spare, -1);
    t.snr.assign((n + spare) * widths.size(), NAN);
    compute_periodogram(data.data(), data.size(), tsamp, widths.data(), widths.size(), pmin, pmax, bmin, bmax,
                        t.periods.data(), t.foldbins.data(), t.snr.data());
    std::size_t count = 0;
    while (count < t.periods.size() && t.periods[count] != -1.0) {
        ++count;
    }
    *written = count;
    return t;
}

// Shift of every input row in every output row of the transform, derived from the merge rule on
// shift lists alone: no data moves, so it checks the data movement independently.
std::vector<std::vector<std::size_t>> foldShifts(std::size_t m, std::size_t cols) {
    if (m == 1) {
        return {{0}};
    }
    if (m == 2) {
        return {{0, 0}, {0, 1}};
    }
    const std::size_t h = m / 2;
    const auto head = foldShifts(h, cols);
    const auto tail = foldShifts(m - h, cols);
    const float kh = float(h - 1) / float(m - 1);
    const float kt = float(m - h - 1) / float(m - 1);
    std::vector<std::vector<std::size_t>> out(m);
    for (std::size_t s = 0; s < m; ++s) {
        const std::size_t hs = std::size_t(float(s) * kh + 0.5f);
        const std::size_t ts = std::size_t(float(s) * kt + 0.5f);
        out[s] = head[hs];
        for (std::size_t shift : tail[ts]) {
            out[s].push_back(shift + (s - ts));
        }
    }
    return out;
}

} // namespace

class TestFfaCore : public QObject {
    Q_OBJECT
private slots:
    void defaultSearchPlan();
    void sizeAgreesWithWrittenTrials();
    void noiseVariance_data();
    void noiseVariance();
    void fractionalDownsampling();
    void twoRowTransform();
    void transformIsADirectFold();
    void oneHotProfileSnr_data();
    void oneHotProfileSnr();
    void boxcarWrapsAroundTheEnd();
    void blockSnrMatchesRowByRow();
    void wrappedCumsumContinuesPeriodically();
    void argumentErrors_data();
    void argumentErrors();
    void widthsReachingTheBinsAreRefused();
};

void TestFfaCore::defaultSearchPlan() {
    QCOMPARE(periodogram_size(16384, 0.0124928, 3, 10, 220, 240), std::size_t(10600));

    const std::vector<float> data = GaussianNoise::samples(16384, 1);
    const std::vector<std::size_t> widths = {1, 2, 3, 4};
    std::size_t written = 0;
    const Trials t = runSearch(data, 0.0124928, widths, 3, 10, 220, 240, &written);
    QCOMPARE(written, std::size_t(10600));

    // Passes start again at bins_min; the last one is cut at 224 bins by the longest period.
    int passes = 1;
    std::int32_t lastTop = 0;
    for (std::size_t i = 1; i < written; ++i) {
        QVERIFY2(t.periods[i] > t.periods[i - 1], qPrintable(QString("trial %1 does not ascend").arg(i)));
        if (t.foldbins[i] < t.foldbins[i - 1]) {
            ++passes;
            QCOMPARE(t.foldbins[i], 220);
        }
        lastTop = t.foldbins[i];
    }
    QCOMPARE(passes, 14);
    QCOMPARE(lastTop, 224);
    QCOMPARE(t.foldbins[0], 220);
    QVERIFY(std::abs(t.periods[0] - 3.0) < 1e-12 && t.periods[written - 1] < 10.0);
    for (std::size_t i = 0; i < written * widths.size(); ++i) {
        QVERIFY(std::isfinite(t.snr[i]));
    }
}

void TestFfaCore::sizeAgreesWithWrittenTrials() {
    std::mt19937 gen(20241210);
    std::uniform_int_distribution<std::size_t> sizes(200, 6000);
    std::uniform_int_distribution<std::size_t> bins(2, 60);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    int searched = 0;
    for (int round = 0; round < 60; ++round) {
        const std::size_t size = sizes(gen);
        const double tsamp = 0.001 + unit(gen) * 0.02;
        const std::size_t bmin = bins(gen);
        const std::size_t bmax = bmin + std::size_t(unit(gen) * 30);
        // Sometimes exactly tsamp·bins_min, the pass without downsampling.
        const double pmin =
            round % 5 == 0 ? tsamp * double(bmin) : tsamp * double(bmin) * (1 + unit(gen) * 3);
        const double pmax = pmin * (1.01 + unit(gen) * 20);
        QVERIFY(periodogram_args_error(size, tsamp, pmin, pmax, bmin, bmax).isEmpty());
        const std::vector<float> data = GaussianNoise::samples(size, unsigned(round));
        std::vector<std::size_t> widths = {1};
        if (bmin > 3) {
            widths.push_back(bmin / 2);
        }
        std::size_t written = 0;
        const Trials t = runSearch(data, tsamp, widths, pmin, pmax, bmin, bmax, &written);
        const std::size_t n = periodogram_size(size, tsamp, pmin, pmax, bmin, bmax);
        QVERIFY2(written == n,
                 qPrintable(QString("size %1 tsamp %2 periods %3..%4 bins %5..%6: %7 written, %8 "
                                    "counted")
                                .arg(size)
                                .arg(tsamp)
                                .arg(pmin)
                                .arg(pmax)
                                .arg(bmin)
                                .arg(bmax)
                                .arg(written)
                                .arg(n)));
        for (std::size_t i = 1; i < written; ++i) {
            // The last row of a bins count may round onto the first period of the next one.
            QVERIFY(t.periods[i] >= t.periods[i - 1] * (1 - 1e-14));
        }
        QVERIFY(std::isnan(t.snr[written * widths.size()]));
        searched += written > 0;
    }
    QVERIFY(searched > 30);
}

void TestFfaCore::noiseVariance_data() {
    QTest::addColumn<double>("f");
    QTest::addColumn<double>("expected");
    QTest::newRow("1") << 1.0 << 1.0;
    QTest::newRow("2") << 2.0 << 2.0;
    QTest::newRow("3") << 3.0 << 3.0;
    QTest::newRow("4") << 4.0 << 4.0;
    QTest::newRow("2.5") << 2.5 << 2.5 - 1.0 / 3.0;
}

void TestFfaCore::noiseVariance() {
    QFETCH(double, f);
    QFETCH(double, expected);
    QCOMPARE(downsampled_noise_variance(16384, f), expected);
}

void TestFfaCore::fractionalDownsampling() {
    const std::vector<float> in = {1, 2, 3, 4, 5};
    std::vector<float> out(3, -1);
    downsample_fractional(in.data(), in.size(), 2.5, out.data());
    // [0, 2.5) and [2.5, 5): the last interval ends exactly at the end of the input.
    QCOMPARE(out[0], 1.0f + 2.0f + 0.5f * 3.0f);
    QCOMPARE(out[1], 0.5f * 3.0f + 4.0f + 5.0f);
    QCOMPARE(out[2], -1.0f);

    // A real factor keeps the total of a long series.
    const std::vector<float> noise = GaussianNoise::samples(10000, 7);
    const double f = 1.0915;
    std::vector<float> down(downsampled_length(noise.size(), f));
    downsample_fractional(noise.data(), noise.size(), f, down.data());
    double inSum = 0;
    double outSum = 0;
    for (float v : noise) {
        inSum += v;
    }
    for (float v : down) {
        outSum += v;
    }
    QVERIFY(std::abs(inSum - outSum) < 5.0);

    for (double bad : {1.0, 0.5, 6.0}) {
        try {
            downsample_fractional(in.data(), in.size(), bad, out.data());
            QFAIL("a bad factor was accepted");
        } catch (const std::invalid_argument& e) {
            QCOMPARE(QString(e.what()), QString("Downsampling factor must verify: 1 < f <= size"));
        }
    }
}

void TestFfaCore::twoRowTransform() {
    const std::vector<float> in = {1, 2, 3, 10, 20, 30};
    std::vector<float> temp(6);
    std::vector<float> out(6);
    QCOMPARE(fold_transform(in.data(), 2, 3, temp.data(), out.data()), out.data());
    QCOMPARE(out, (std::vector<float>{11, 22, 33, 1 + 20, 2 + 30, 3 + 10}));
}

void TestFfaCore::transformIsADirectFold() {
    std::mt19937 gen(5);
    std::uniform_int_distribution<int> small(-50, 50);
    for (std::size_t cols : {std::size_t(5), std::size_t(13)}) {
        for (std::size_t m = 1; m <= 23; ++m) {
            // Small integers keep every float sum exact, whatever the order.
            std::vector<float> in(m * cols);
            for (float& v : in) {
                v = float(small(gen));
            }
            const std::vector<float> original = in;
            std::vector<float> temp(in.size());
            std::vector<float> out(in.size());
            fold_transform(in.data(), m, cols, temp.data(), out.data());
            QCOMPARE(in, original);
            const auto shifts = foldShifts(m, cols);
            for (std::size_t k = 0; k < m; ++k) {
                // A fold with a steady drift: from 0 to k bins, by 0 or 1 bin per row.
                QCOMPARE(shifts[k][0], std::size_t(0));
                QCOMPARE(shifts[k][m - 1], k);
                for (std::size_t r = 1; r < m; ++r) {
                    QVERIFY(shifts[k][r] - shifts[k][r - 1] <= 1);
                }
                for (std::size_t j = 0; j < cols; ++j) {
                    float direct = 0;
                    for (std::size_t r = 0; r < m; ++r) {
                        direct += in[r * cols + (j + shifts[k][r]) % cols];
                    }
                    QVERIFY2(out[k * cols + j] == direct,
                             qPrintable(
                                 QString("rows %1 cols %2 drift %3 bin %4").arg(m).arg(cols).arg(k).arg(j)));
                }
            }
        }
    }
}

void TestFfaCore::oneHotProfileSnr_data() {
    QTest::addColumn<int>("bins");
    QTest::addColumn<int>("hot");
    QTest::newRow("8 bins, first") << 8 << 0;
    QTest::newRow("8 bins, last") << 8 << 7;
    QTest::newRow("220 bins, middle") << 220 << 101;
}

void TestFfaCore::oneHotProfileSnr() {
    QFETCH(int, bins);
    QFETCH(int, hot);
    std::vector<float> profile(std::size_t(bins), 0.0f);
    profile[std::size_t(hot)] = 1.0f;
    const std::size_t width = 1;
    float snr = 0;
    best_boxcar_snr(profile.data(), profile.size(), &width, 1, 1.0f, &snr);
    QCOMPARE(snr, std::sqrt(float(bins - 1) / float(bins)));
}

void TestFfaCore::boxcarWrapsAroundTheEnd() {
    // A pulse split across the end of the profile is one boxcar of width 2.
    std::vector<float> profile(10, 0.0f);
    profile[9] = 1.0f;
    profile[0] = 1.0f;
    const std::vector<std::size_t> widths = {1, 2, 3};
    std::vector<float> snr(3);
    best_boxcar_snr(profile.data(), profile.size(), widths.data(), widths.size(), 2.0f, snr.data());
    const auto expected = [](float n, float w, float dmax) {
        const float h = std::sqrt((n - w) / (n * w));
        const float beta = w / (n - w) * h;
        return ((h + beta) * dmax - beta * 2.0f) / 2.0f;
    };
    QCOMPARE(snr[0], expected(10, 1, 1));
    QCOMPARE(snr[1], expected(10, 2, 2));
    QCOMPARE(snr[2], expected(10, 3, 2));
    QVERIFY(snr[1] > snr[0] && snr[1] > snr[2]);

    // The row form gives each row its own values.
    std::vector<float> block(profile);
    block.insert(block.end(), 10, 0.5f);
    std::vector<float> rows(6);
    best_boxcar_snr_rows(block.data(), 2, 10, widths.data(), widths.size(), 2.0f, rows.data());
    QCOMPARE(rows[1], snr[1]);
    QCOMPARE(rows[4], 0.0f);
}

void TestFfaCore::blockSnrMatchesRowByRow() {
    // 13 rows: one interleaved group and a rest; widths up to one below the bins.
    for (std::size_t bins : {std::size_t(5), std::size_t(37), std::size_t(240)}) {
        const std::size_t rows = 13;
        const std::vector<float> block = GaussianNoise::samples(rows * bins, unsigned(bins));
        const std::vector<std::size_t> widths = {1, 2, bins / 2, bins - 1};
        std::vector<float> scratch(boxcar_scratch_size(bins, bins - 1));
        std::vector<float> fast(rows * widths.size());
        best_boxcar_snr_block(block.data(), rows, bins, widths.data(), widths.size(), 1.5f, fast.data(),
                              scratch.data());
        std::vector<float> slow(rows * widths.size());
        best_boxcar_snr_rows(block.data(), rows, bins, widths.data(), widths.size(), 1.5f, slow.data());
        QCOMPARE(fast, slow);
        // The boxcar maximum against a plain loop.
        for (std::size_t n = 0; n <= bins; n += 3) {
            float plain = -INFINITY;
            for (std::size_t i = 0; i < n; ++i) {
                plain = std::max(plain, block[i + 1] - block[i]);
            }
            QCOMPARE(max_difference(block.data() + 1, block.data(), n), plain);
        }
    }
}

void TestFfaCore::wrappedCumsumContinuesPeriodically() {
    const std::vector<float> x = {1, 2, 3};
    std::vector<float> out(8);
    wrapped_cumsum(x.data(), 3, 8, out.data());
    QCOMPARE(out, (std::vector<float>{1, 3, 6, 7, 9, 12, 13, 15}));
    std::vector<float> shortOut(2);
    wrapped_cumsum(x.data(), 3, 2, shortOut.data());
    QCOMPARE(shortOut, (std::vector<float>{1, 3}));
}

void TestFfaCore::argumentErrors_data() {
    QTest::addColumn<qulonglong>("size");
    QTest::addColumn<double>("tsamp");
    QTest::addColumn<double>("pmin");
    QTest::addColumn<double>("pmax");
    QTest::addColumn<qulonglong>("bmin");
    QTest::addColumn<qulonglong>("bmax");
    QTest::addColumn<QString>("text");
    const QString last = "Must have: period_min >= tsamp * bins_min";
    // Each row also breaks every later check, so the order of the checks shows.
    QTest::newRow("size") << 0ull << 0.0 << 0.0 << 0.0 << 1ull << 0ull << "size must be > 0";
    QTest::newRow("tsamp") << 10ull << 0.0 << 0.0 << 0.0 << 1ull << 0ull << "tsamp must be > 0";
    QTest::newRow("tsamp NaN") << 10ull << double(NAN) << 3.0 << 10.0 << 220ull << 240ull
                               << "tsamp must be > 0";
    QTest::newRow("period_min") << 10ull << 0.01 << -1.0 << -2.0 << 1ull << 0ull << "period_min must be > 0";
    QTest::newRow("period_max") << 10ull << 0.01 << 3.0 << 3.0 << 1ull << 0ull
                                << "period_max must be > period_min";
    QTest::newRow("period_max NaN") << 10ull << 0.01 << 3.0 << double(NAN) << 220ull << 240ull
                                    << "period_max must be > period_min";
    QTest::newRow("bins_min") << 10ull << 0.01 << 3.0 << 4.0 << 1ull << 0ull << "bins_min must be > 1";
    QTest::newRow("bins_max") << 10ull << 0.01 << 3.0 << 4.0 << 5ull << 4ull
                              << "bins_max must be >= bins_min";
    QTest::newRow("shortest period") << 16384ull << 0.0124928 << 0.5 << 10.0 << 220ull << 240ull
                                     << last + " (0.0124928*220=2.74842)";
    QTest::newRow("accepted") << 16384ull << 0.0124928 << 2.74842 << 10.0 << 220ull << 240ull << QString();
}

void TestFfaCore::argumentErrors() {
    QFETCH(qulonglong, size);
    QFETCH(double, tsamp);
    QFETCH(double, pmin);
    QFETCH(double, pmax);
    QFETCH(qulonglong, bmin);
    QFETCH(qulonglong, bmax);
    QFETCH(QString, text);
    QCOMPARE(periodogram_args_error(size, tsamp, pmin, pmax, bmin, bmax), text);
    QString raised;
    try {
        check_periodogram_args(size, tsamp, pmin, pmax, bmin, bmax);
    } catch (const std::invalid_argument& e) {
        raised = e.what();
    }
    QCOMPARE(raised, text.section(" (", 0, 0));
}

void TestFfaCore::widthsReachingTheBinsAreRefused() {
    const std::vector<float> data = GaussianNoise::samples(4096, 3);
    const std::vector<std::size_t> widths = {1, 20};
    std::vector<double> periods(100000);
    std::vector<std::int32_t> foldbins(100000);
    std::vector<float> snr(200000);
    QVERIFY_EXCEPTION_THROWN(compute_periodogram(data.data(), data.size(), 0.01, widths.data(), 2, 0.2, 1.0,
                                                 20, 30, periods.data(), foldbins.data(), snr.data()),
                             std::invalid_argument);
}

QTEST_APPLESS_MAIN(TestFfaCore)
#include "tst_ffacore.moc"
