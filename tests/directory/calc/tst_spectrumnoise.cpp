#include "directory/calc/fouriercalculate.h"
#include "directory/calc/spectrumnoise.h"
#include "support/testenv.h"

#include <QtTest>

#include <algorithm>
#include <cmath>

namespace {

// Distinct positive values without order, so that every median is a different element.
QVector<double> scrambled(int n) {
    QVector<double> v(n);
    for (int i = 0; i < n; ++i) {
        v[i] = double((i * 7919L) % 10007) + 1 + i * 0.01;
    }
    return v;
}

double sortedAt(QVector<double> v, int at) {
    std::sort(v.begin(), v.end());
    return v[at];
}

} // namespace

class TstSpectrumNoise : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { TestEnv::isolate(); }
    void runningMedianOf64Windows();
    void runningMedianOf8PointWindows();
    void baselineLengths_data();
    void baselineLengths();
    void windowMedian();
    void polinomBaseline();
    void sigmaMedian();
    void conversions();
    void nearestIndex_data();
    void nearestIndex();
    void meanOfSmallest_data();
    void meanOfSmallest();
    void averagedPointsChecked_data();
    void averagedPointsChecked();
};

void TstSpectrumNoise::runningMedianOf64Windows() {
    const QVector<double> in = scrambled(8192);
    QVector<double> approx(8192, 0.0);
    QVector<double> diff(8192, 0.0);
    QCOMPARE(deductMedianNoise(in, approx, diff, 8192), 1);

    QVector<double> first = in.mid(0, 128);
    std::fill(first.begin(), first.begin() + 32, 0.0);
    const double m0 = sortedAt(first, 79);
    const double m1 = sortedAt(in.mid(128, 128), 63);
    const double last = sortedAt(in.mid(8064, 128), 63);
    for (int i = 0; i < 32; ++i) {
        QCOMPARE(approx[i], 0.0);
        QCOMPARE(diff[i], 0.0);
    }
    for (int i = 32; i < 64; ++i) {
        QCOMPARE(approx[i], m0);
    }
    QCOMPARE(approx[64], m0);
    QCOMPARE(approx[64 + 64], m0 + 64 * (m1 - m0) / 128);
    for (int i = 8128; i < 8192; ++i) {
        QCOMPARE(approx[i], last);
    }
    for (int i = 32; i < 8192; ++i) {
        QCOMPARE(diff[i], in[i] - approx[i]);
    }
    QVector<double> data = in;
    QCOMPARE(deductMedianNoise(data, 8192), 1);
    QCOMPARE(data, diff);
}

void TstSpectrumNoise::runningMedianOf8PointWindows() {
    const QVector<double> in = scrambled(256);
    QVector<double> approx(256, 0.0);
    QVector<double> diff(256, 0.0);
    QCOMPARE(deductMedianNoise(in, approx, diff, 256), 1);
    QVector<double> first = in.mid(0, 8);
    first[0] = first[1] = 0;
    QCOMPARE(approx[2], sortedAt(first, 4));
    QCOMPARE(approx[3], sortedAt(first, 4));
    QCOMPARE(approx[4], sortedAt(first, 4));
    QCOMPARE(approx[255], sortedAt(in.mid(248, 8), 3));
    QCOMPARE(diff[1], 0.0);
}

void TstSpectrumNoise::baselineLengths_data() {
    QTest::addColumn<int>("len");
    QTest::addColumn<int>("plain");
    QTest::addColumn<int>("head");
    QTest::addColumn<bool>("autoTakesHead");
    QTest::newRow("127 refused") << 127 << 0 << 0 << false;
    QTest::newRow("128 accepted") << 128 << 1 << 0 << false;
    QTest::newRow("512 plain") << 512 << 1 << 0 << false;
    QTest::newRow("513 polynomial head") << 513 << 1 << 1 << true;
    QTest::newRow("8192") << 8192 << 1 << 1 << true;
}

void TstSpectrumNoise::baselineLengths() {
    QFETCH(int, len);
    QFETCH(int, plain);
    QFETCH(int, head);
    QFETCH(bool, autoTakesHead);
    const QVector<double> in = scrambled(len);
    QVector<double> a1(len, -1.0), d1(len, -1.0), a2(len, -1.0), d2(len, -1.0), a3(len, -1.0), d3(len, -1.0);
    QCOMPARE(deductMedianNoise(in, a1, d1, len), plain);
    QCOMPARE(deductMedianNoisePolinomHead(in, a2, d2, len), head);
    QCOMPARE(deductMedianNoiseAuto(in, a3, d3, len), plain);
    if (!plain) {
        QCOMPARE(a3, QVector<double>(len, -1.0)); // refused: outputs untouched
        return;
    }
    QCOMPARE(d3, autoTakesHead ? d2 : d1);
    // Lengths off the window grid leave a gap that only the in-place form fills.
    QVector<double> data = in;
    QCOMPARE(deductMedianNoiseAuto(data, len), 1);
    if (len % 64 == 0) {
        QCOMPARE(data, d3);
    }
}

void TstSpectrumNoise::windowMedian() {
    const QVector<double> in = scrambled(2000);
    QVector<double> a600, d600, a601, d601;
    QCOMPARE(deductMedianNoiseWindow(in, a600, d600, 600), 1);
    QCOMPARE(deductMedianNoiseWindow(in, a601, d601, 601), 1);
    QCOMPARE(a601, a600);
    QCOMPARE(a600.size(), 2000);
    QCOMPARE(a600[0], sortedAt(in.mid(0, 600), 299));
    // Remainder of 200: its median (element 99) holds from entry 1901 to the end.
    QCOMPARE(a600[1999], sortedAt(in.mid(1800, 200), 99));
    QCOMPARE(a600[1901], a600[1999]);
    for (int i = 0; i < 2000; ++i) {
        QCOMPARE(d600[i], in[i] - a600[i]);
    }

    // A remainder of 0 or 1 has no median: the last full window's median runs to the end.
    for (int len : {1200, 1201}) {
        QVector<double> a, d;
        const QVector<double> data = scrambled(len);
        QCOMPARE(deductMedianNoiseWindow(data, a, d, 600), 1);
        const double lastMedian = sortedAt(data.mid(600, 600), 299);
        QCOMPARE(a[900], lastMedian);
        QCOMPARE(a[len - 1], lastMedian);
    }
    QVector<double> a, d;
    QCOMPARE(deductMedianNoiseWindow(scrambled(599), a, d, 600), 0);
    QCOMPARE(deductMedianNoiseWindow(scrambled(10), a, d, 1), 0);
    QVERIFY(a.isEmpty());

    // The object's form dumps the rows with the periods it has, and no further.
    FourierCalculate calc;
    calc.periodogramInfo.periods = {1.0, 2.0};
    QVector<double> row = scrambled(8);
    QCOMPARE(calc.deductMedianNoiseWindow(row, 4), 1);
}

void TstSpectrumNoise::polinomBaseline() {
    QVector<double> poly(100);
    for (int i = 0; i < 100; ++i) {
        const double x = i;
        poly[i] = 3 + 0.5 * x - 0.01 * x * x + 1e-6 * x * x * x * x;
    }
    QVector<double> approx, diff;
    QVERIFY(FourierCalculate::deductPolinomNoise(poly, approx, diff));
    for (int i = 0; i < 100; ++i) {
        QVERIFY(std::fabs(diff[i]) < 1e-6);
    }
    QVector<double> nine(9, 1.0);
    QVERIFY(!FourierCalculate::deductPolinomNoise(nine, approx, diff));
    QVERIFY(!FourierCalculate::deductPolinomNoise(nine));
    QCOMPARE(nine, QVector<double>(9, 1.0));
}

void TstSpectrumNoise::sigmaMedian() {
    // Segment k alternates ±(k + 1): population deviation k + 1.
    QVector<double> data(8192);
    for (int i = 0; i < 8192; ++i) {
        const int k = (i / 128 * 37) % 64;
        data[i] = (i % 2 ? 1 : -1) * double(k + 1);
    }
    QCOMPARE(getSigmaMedian(data, 8192, 128), (32 + 33) / 2.0);
    // One segment only: its own deviation (the mean is 0).
    double squares = 0;
    for (double v : data) {
        squares += v * v;
    }
    QCOMPARE(getSigmaMedian(data, 8192, 8192), std::sqrt(squares / 8192));
    QCOMPARE(getSigmaMedian(data, 9000, 128), 0.0);
    QCOMPARE(getSigmaMedian(data, 7, 4), 0.0);
}

void TstSpectrumNoise::conversions() {
    QCOMPARE(FourierCalculate::calcPeriodOfHarmonic(100, false, 0.0124928), 2.046820352);
    QCOMPARE(FourierCalculate::calcPeriodOfHarmonic(100, true, 0.003072), 4 * 0.003072 * 32768 / 100);
    const double p45 = FourierCalculate::calcPeriodOfHarmonic(45, false, 0.0124928);
    QCOMPARE(FourierCalculate::getHarmonicOfPeriod(p45, false, 0.0124928), 44);
    QCOMPARE(FourierCalculate::getHarmonicOfPeriod(0, false, 0.0124928), -1);
    QCOMPARE(FourierCalculate::getPeriodOfHarmonic(0, false, 0.0124928), -1.0);
    QCOMPARE(FourierCalculate::getAveragedPoints(16384, 2, true), 8192);
    QCOMPARE(getHarmonicsCount("d/f00_n1_av2.txt", 16384), 4096);
    QCOMPARE(getHarmonicsCount("d/f00_n0_av0.txt", 16384), 8192);
}

// Both searches on one ascending list: nearest position and fractional position.
void TstSpectrumNoise::nearestIndex_data() {
    QTest::addColumn<QVector<int>>("list");
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("index");
    QTest::addColumn<double>("fraction");
    const QVector<int> list = {0, 4, 8};
    const struct {
        int x;
        int index;
        double fraction;
    } cases[] = {{0, 0, 0}, {2, 0, 0.5}, {5, 1, 1.25}, {6, 1, 1.5}, {7, 2, 1.75},
                 {8, 2, 2}, {4, 1, 1},   {100, 2, 2},  {-5, 2, 2}};
    for (const auto& c : cases) {
        QTest::addRow("%d", c.x) << list << c.x << c.index << c.fraction;
    }
    QTest::newRow("empty list") << QVector<int>() << 3 << 0 << -1.0;
    QTest::newRow("one entry") << QVector<int>{5} << 7 << 0 << 0.0;
}

void TstSpectrumNoise::nearestIndex() {
    QFETCH(QVector<int>, list);
    QFETCH(int, x);
    QFETCH(int, index);
    QFETCH(double, fraction);
    QCOMPARE(getNearestIndex(list, x), index);
    QCOMPARE(getFractionalIndex(list, x), fraction);
}

void TstSpectrumNoise::meanOfSmallest_data() {
    QTest::addColumn<QVector<double>>("data");
    QTest::addColumn<unsigned>("percent");
    QTest::addColumn<double>("mean");
    const QVector<double> four = {-4, 1, -2, 3};
    QTest::newRow("half, absolute values") << four << 50u << 1.5;
    QTest::newRow("all") << four << 100u << 2.5;
    QTest::newRow("0 % takes all") << four << 0u << 2.5;
    QTest::newRow("101 % takes all") << four << 101u << 2.5;
    QTest::newRow("count rounds down to none") << QVector<double>{5} << 50u << 0.0;
    QTest::newRow("no data") << QVector<double>() << 50u << -1.0;
}

void TstSpectrumNoise::meanOfSmallest() {
    QFETCH(QVector<double>, data);
    QFETCH(unsigned, percent);
    QFETCH(double, mean);
    QCOMPARE(getMeanOfSmallest(data, percent), mean);
}

void TstSpectrumNoise::averagedPointsChecked_data() {
    QTest::addColumn<int>("points");
    QTest::addColumn<int>("averages");
    QTest::addColumn<bool>("withNulls");
    QTest::addColumn<int>("result");
    QTest::newRow("63 points") << 63 << 0 << false << -1;
    QTest::newRow("64 points as they are") << 64 << 0 << false << 64;
    QTest::newRow("two averagings") << 16384 << 2 << false << 4096;
    QTest::newRow("with nulls") << 16384 << 0 << true << 32768;
    QTest::newRow("both") << 16384 << 2 << true << 8192;
}

void TstSpectrumNoise::averagedPointsChecked() {
    QFETCH(int, points);
    QFETCH(int, averages);
    QFETCH(bool, withNulls);
    QFETCH(int, result);
    QCOMPARE(getAveragedPointsChecked(points, averages, withNulls), result);
}

QTEST_GUILESS_MAIN(TstSpectrumNoise)
#include "tst_spectrumnoise.moc"
