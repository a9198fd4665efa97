#include "numerics/fouriertransform.h"

#include <QtTest>

#include <cmath>
#include <complex>
#include <vector>

namespace {

// Direct O(N²) transform with the same output convention, as the reference.
std::vector<double> directAmplitudes(const std::vector<double>& x) {
    const int n = int(x.size());
    std::vector<double> out(std::size_t(n / 2));
    for (int k = 0; k < n / 2; ++k) {
        std::complex<long double> sum = 0;
        for (int t = 0; t < n; ++t) {
            // Reduce the phase exactly in integers before the trigonometry.
            const long long turn = (long long)(k + 1) * t % n;
            const long double angle = -2.0L * M_PIl * (long double)turn / n;
            sum += std::complex<long double>(x[std::size_t(t)] * std::cos(angle),
                                             x[std::size_t(t)] * std::sin(angle));
        }
        out[std::size_t(k)] = double(2.0L * std::abs(sum) / n);
    }
    return out;
}

} // namespace

class TestFourierTransform : public QObject {
    Q_OBJECT
private slots:
    void cosineLandsInEntryBelowItsBin_data();
    void cosineLandsInEntryBelowItsBin();
    void constantSeriesGivesZeros();
    void agreesWithDirectTransform_data();
    void agreesWithDirectTransform();
    void badArgumentsWriteNothing();
    void powerOfTwoBelow_data();
    void powerOfTwoBelow();
};

void TestFourierTransform::cosineLandsInEntryBelowItsBin_data() {
    QTest::addColumn<int>("n");
    QTest::addColumn<int>("cycles");
    QTest::addColumn<double>("amplitude");
    QTest::addColumn<double>("phase");
    QTest::newRow("8 cycles in 128") << 128 << 8 << 3.0 << 0.0;
    QTest::newRow("shifted phase") << 128 << 8 << 3.0 << 1.1;
    QTest::newRow("first bin") << 256 << 1 << 0.5 << 0.3;
    QTest::newRow("high bin, 16384") << 16384 << 5000 << 2.0 << 0.7;
}

void TestFourierTransform::cosineLandsInEntryBelowItsBin() {
    QFETCH(int, n);
    QFETCH(int, cycles);
    QFETCH(double, amplitude);
    QFETCH(double, phase);
    std::vector<double> x(static_cast<std::size_t>(n));
    for (int t = 0; t < n; ++t) {
        const long long turn = (long long)cycles * t % n;
        x[std::size_t(t)] = amplitude * std::cos(2.0 * M_PI * double(turn) / n + phase);
    }
    std::vector<double> out(std::size_t(n / 2), -1.0);
    calculateFourierAmplitude(x.data(), out.data(), n, n / 2);
    for (int k = 0; k < n / 2; ++k) {
        const double expected = (k == cycles - 1) ? amplitude : 0.0;
        if (std::abs(out[std::size_t(k)] - expected) > 1e-12) {
            QFAIL(qPrintable(
                QString("entry %1 is %2, expected %3").arg(k).arg(out[std::size_t(k)]).arg(expected)));
        }
    }
}

void TestFourierTransform::constantSeriesGivesZeros() {
    std::vector<double> x(1024, 7.25);
    std::vector<double> out(512, -1.0);
    calculateFourierAmplitude(x.data(), out.data(), 1024, 512);
    for (double v : out) {
        QVERIFY(std::abs(v) < 1e-12);
    }
}

void TestFourierTransform::agreesWithDirectTransform_data() {
    QTest::addColumn<int>("n");
    QTest::newRow("2") << 2;
    QTest::newRow("4") << 4;
    QTest::newRow("128") << 128;
    QTest::newRow("1024") << 1024;
}

void TestFourierTransform::agreesWithDirectTransform() {
    QFETCH(int, n);
    std::vector<double> x(static_cast<std::size_t>(n));
    quint32 state = 12345;
    for (double& v : x) {
        state = state * 1664525u + 1013904223u;
        v = double(state >> 8) / double(1 << 24) - 0.5 + 10.0;
    }
    const std::vector<double> expected = directAmplitudes(x);
    std::vector<double> out(std::size_t(n / 2));
    calculateFourierAmplitude(x.data(), out.data(), n, n / 2);
    for (int k = 0; k < n / 2; ++k) {
        QVERIFY2(std::abs(out[std::size_t(k)] - expected[std::size_t(k)]) < 1e-12,
                 qPrintable(QString("entry %1").arg(k)));
    }
}

void TestFourierTransform::badArgumentsWriteNothing() {
    std::vector<double> x(128, 1.0);
    std::vector<double> out(128, -1.0);
    calculateFourierAmplitude(x.data(), out.data(), 100, 50);
    calculateFourierAmplitude(x.data(), out.data(), 0, 0);
    calculateFourierAmplitude(nullptr, out.data(), 128, 64);
    calculateFourierAmplitude(x.data(), nullptr, 128, 64);
    for (double v : out) {
        QCOMPARE(v, -1.0);
    }
    // A count past the last bin is cut there: the entry after it stays untouched.
    calculateFourierAmplitude(x.data(), out.data(), 16, 100);
    QVERIFY(std::abs(out[14]) < 1e-12);
    QCOMPARE(out[15], -1.0);
}

void TestFourierTransform::powerOfTwoBelow_data() {
    QTest::addColumn<int>("n");
    QTest::addColumn<int>("expected");
    QTest::newRow("negative") << -5 << 2;
    QTest::newRow("0") << 0 << 2;
    QTest::newRow("3") << 3 << 2;
    QTest::newRow("4") << 4 << 4;
    QTest::newRow("100") << 100 << 64;
    QTest::newRow("16383") << 16383 << 8192;
    QTest::newRow("16384") << 16384 << 16384;
    QTest::newRow("16385") << 16385 << 16384;
    QTest::newRow("1048575") << 1048575 << 524288;
    QTest::newRow("1048576") << 1048576 << 1048576;
    QTest::newRow("1048577") << 1048577 << 524288;
    QTest::newRow("int max") << 2147483647 << 524288;
}

void TestFourierTransform::powerOfTwoBelow() {
    QFETCH(int, n);
    QFETCH(int, expected);
    QCOMPARE(getPowerOfTwoBelow(n), expected);
}

QTEST_APPLESS_MAIN(TestFourierTransform)
#include "tst_fouriertransform.moc"
