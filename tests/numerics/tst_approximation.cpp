#include "numerics/approximation.h"
#include "numerics/approximationd.h"
#include "numerics/approximationv.h"

#include <QtTest>

#include <cmath>
#include <limits>
#include <vector>

static QVector<double> cubic100() {
    QVector<double> y;
    for (int l = 0; l < 100; ++l) {
        const double x = l;
        y.append(x * x * x - 150 * x * x + 6300 * x);
    }
    return y;
}

class TestApproximation : public QObject {
    Q_OBJECT
private slots:
    void cubicExtremum();
    void cubicExtremumFloatAndDouble();
    void noExtremum_data();
    void noExtremum();
    void quadraticVertex();
    void polinomReproducesQuintic();
    void averageLinearBlocks();
    void trailingValuesBelongToNoBlock();
    void medianPicksLowerMiddle();
    void approxMedianWholeInput();
    void errors();
    void singularSystemFails();
};

void TestApproximation::cubicExtremum() {
    const QVector<double> y = cubic100();
    QVector<double> out = {1, 2, 3};
    ApproximationV a;
    QCOMPARE(a.polinom(3, y, out, true), 1);
    QCOMPARE(a.count, 100);
    QCOMPARE(out.size(), 100);
    QVERIFY(std::fabs(a.x1 - 30) < 1e-6);
    QVERIFY(std::fabs(a.x2 - 70) < 1e-6);
    QVERIFY(std::fabs(a.extremumX - 30) < 1e-6);
    QCOMPARE(a.extremumIndex, 30);
    QVERIFY(std::fabs(a.extremumY - 81000) < 1e-3);
    QCOMPARE(a.extremumY, a.value1);
    QVERIFY(std::fabs(a.value2 - (343000 - 735000 + 441000)) < 1e-3);
    for (int l = 0; l < 100; ++l) {
        QVERIFY(std::fabs(out[l] - y[l]) < 1e-4);
    }
}

void TestApproximation::cubicExtremumFloatAndDouble() {
    QVector<double> y = cubic100();
    std::vector<double> outD(100);
    ApproximationD d(y.data(), outD.data(), 100);
    QCOMPARE(d.polinom(3, true), 1);
    QCOMPARE(d.extremumIndex, 30);
    QVERIFY(std::fabs(d.extremumY - 81000) < 1e-3);

    std::vector<float> yf(y.begin(), y.end());
    std::vector<float> outF(100);
    Approximation f(yf.data(), outF.data(), 100);
    QCOMPARE(f.polinom(3, true), 1);
    QCOMPARE(f.extremumIndex, 30);
    QVERIFY(std::fabs(f.extremumX - 30) < 1e-3);
    QVERIFY(std::fabs(outF[30] - 81000) < 1);
}

void TestApproximation::noExtremum_data() {
    QTest::addColumn<double>("a1");
    QTest::addColumn<double>("a2");
    QTest::addColumn<double>("a3");
    // (2 a2)^2 - 12 a3 a1 < 0: no real stationary point.
    QTest::newRow("no real root") << 1000.0 << 0.0 << 1.0;
    // Stationary points at -10 and 200, both outside (0, 100).
    QTest::newRow("roots outside") << -6000.0 << -285.0 << 1.0;
}

void TestApproximation::noExtremum() {
    QFETCH(double, a1);
    QFETCH(double, a2);
    QFETCH(double, a3);
    QVector<double> y;
    for (int l = 0; l < 100; ++l) {
        y.append(a1 * l + a2 * l * l + a3 * l * l * l);
    }
    QVector<double> out;
    ApproximationV a;
    QCOMPARE(a.polinom(3, y, out, true), 1);
    QCOMPARE(a.extremumX, 0.0);
    QCOMPARE(a.extremumY, 0.0);
    QCOMPARE(a.extremumIndex, 0);
}

void TestApproximation::quadraticVertex() {
    QVector<double> y;
    for (int l = 0; l < 50; ++l) {
        y.append(-(l - 20.4) * (l - 20.4) + 7);
    }
    QVector<double> out;
    ApproximationV a;
    QCOMPARE(a.polinom(2, y, out, true), 1);
    QVERIFY(std::fabs(a.extremumX - 20.4) < 1e-6);
    QVERIFY(std::fabs(a.extremumY - 7) < 1e-6);
    QCOMPARE(a.extremumIndex, 20);
}

void TestApproximation::polinomReproducesQuintic() {
    // The baseline fit of a channel sum: degree 5 over 16384 raw indices still solves accurately.
    const int n = 16384;
    std::vector<double> y(n), out(n);
    for (int l = 0; l < n; ++l) {
        const double x = l / double(n);
        y[l] = 100 + 3 * x - 20 * x * x + 7 * std::pow(x, 5);
    }
    ApproximationD d(y.data(), out.data(), n);
    QCOMPARE(d.polinom(5, false), 1);
    for (int l = 0; l < n; l += 97) {
        QVERIFY2(std::fabs(out[l] - y[l]) < 1e-6, qPrintable(QString::number(l)));
    }
}

void TestApproximation::averageLinearBlocks() {
    const int n = 16384;
    std::vector<float> in(n), out(n, -1);
    for (int l = 0; l < n; ++l) {
        in[l] = float(l / 128); // block k holds the value k
    }
    Approximation a(in.data(), out.data(), n);
    QCOMPARE(a.averageLinear(128), 1);
    for (int l = 0; l < 64; ++l) {
        QCOMPARE(out[l], 0.0f);
    }
    QCOMPARE(out[64], 0.0f);
    QCOMPARE(out[65], 1.0f / 128);
    QCOMPARE(out[64 + 128], 1.0f);
    QCOMPARE(out[64 + 128 + 64], 1.5f);
    for (int l = 16320; l < n; ++l) {
        QCOMPARE(out[l], 127.0f);
    }

    std::vector<double> inD(in.begin(), in.end()), outD(n);
    ApproximationD d(inD.data(), outD.data(), n);
    QCOMPARE(d.averageLinear(128), 1);
    for (int l = 0; l < n; ++l) {
        QCOMPARE(float(outD[l]), out[l]);
    }
}

void TestApproximation::trailingValuesBelongToNoBlock() {
    // 10 values, block length 4: blocks {0..3} and {4..7}; 8 and 9 are in no block.
    std::vector<double> in = {1, 1, 1, 1, 5, 5, 5, 5, 1000, 1000};
    std::vector<double> out(10, -1);
    ApproximationD d(in.data(), out.data(), 10);
    QCOMPARE(d.averageLinear(4), 1);
    const std::vector<double> want = {1, 1, 1, 2, 3, 4, 5, 5, 5, 5};
    for (int l = 0; l < 10; ++l) {
        QCOMPARE(out[l], want[l]);
    }
    // Plain block means cover only the full blocks' own positions.
    std::vector<float> inF(in.begin(), in.end());
    std::vector<float> outF(10, -1);
    QCOMPARE(Approximation(inF.data(), outF.data(), 10).average(4), 1);
    const std::vector<float> wantF = {1, 1, 1, 1, 5, 5, 5, 5, -1, -1};
    for (int l = 0; l < 10; ++l) {
        QCOMPARE(outF[l], wantF[l]);
    }
}

void TestApproximation::medianPicksLowerMiddle() {
    // len 3 takes element 0 of each sorted block: the smallest value.
    std::vector<float> in = {9, 2, 5, 7, 8, 6, 1, 4, 3, 100};
    std::vector<float> out(10, -1);
    Approximation a(in.data(), out.data(), 10);
    QCOMPARE(a.median(3), 1);
    // Blocks {9,2,5} -> 2, {7,8,6} -> 6, {1,4,3} -> 1 at centres 1, 4, 7.
    const std::vector<float> want = {2, 2, 2 + 4.0f / 3, 2 + 8.0f / 3, 6, 6 - 5.0f / 3, 6 - 10.0f / 3, 1,
                                     1, 1};
    for (int l = 0; l < 10; ++l) {
        QVERIFY2(std::fabs(out[l] - want[l]) < 1e-5, qPrintable(QString::number(l)));
    }
    // An even block length takes the lower of the two middle values.
    std::vector<double> inD = {4, 1, 3, 2, 8, 5, 7, 6, 0};
    std::vector<double> outD(9);
    ApproximationD d(inD.data(), outD.data(), 9);
    QCOMPARE(d.median(4), 1);
    QCOMPARE(outD[0], 2.0);
    QCOMPARE(outD[8], 6.0);
}

void TestApproximation::approxMedianWholeInput() {
    const QVector<double> in = {5, 1, 4, 2, 3};
    QCOMPARE(approxMedian(in, 5), QVector<double>(5, 2.0)); // element 5/2-1 = 1 of {1,2,3,4,5}
    const QVector<double> ramp = {3, 1, 2, 6, 4, 5, 0};
    QCOMPARE(approxMedian(ramp, 3), QVector<double>({1, 1, 2, 3, 4, 4, 4}));
    QTest::ignoreMessage(QtDebugMsg, "Error approxMedian(): len = 6  count= 5");
    QCOMPARE(approxMedian(in, 6), in);
    QTest::ignoreMessage(QtDebugMsg, "Error approxMedian(): len = 2  count= 5");
    QCOMPARE(approxMedian(in, 2), in);
}

void TestApproximation::errors() {
    std::vector<float> f(10, 1), fo(10, -7);
    std::vector<double> d(10, 1), dout(10, -7);
    auto untouched = [&]() {
        for (int i = 0; i < 10; ++i) {
            QCOMPARE(fo[i], -7.0f);
            QCOMPARE(dout[i], -7.0);
        }
    };
    Approximation a(f.data(), fo.data(), 10);
    QTest::ignoreMessage(QtDebugMsg, "Error: countIn <= k!");
    QCOMPARE(a.polinom(10, true), 0);
    QTest::ignoreMessage(QtDebugMsg, "Error: k < 1!");
    QCOMPARE(a.polinom(0, false), 0);
    QTest::ignoreMessage(QtDebugMsg, "Error: len = 1");
    QCOMPARE(a.averageLinear(1), 0);
    QTest::ignoreMessage(QtDebugMsg, "Error: count <= len!");
    QCOMPARE(a.averageLinear(10), 0);
    QTest::ignoreMessage(QtDebugMsg, "Error: len = 2");
    QCOMPARE(a.median(2), 0);
    Approximation noIn(nullptr, fo.data(), 10);
    QTest::ignoreMessage(QtDebugMsg, "Error: bad dataIn!");
    QCOMPARE(noIn.median(3), 0);
    Approximation noOut(f.data(), nullptr, 10);
    QTest::ignoreMessage(QtDebugMsg, "Error: bad dataOut!");
    QCOMPARE(noOut.polinom(3, false), 0);

    ApproximationD nullD(d.data(), nullptr, 10);
    QCOMPARE(nullD.count, 0);
    QTest::ignoreMessage(QtDebugMsg, "Error: count = 0!");
    QCOMPARE(nullD.averageLinear(4), 0);
    QTest::ignoreMessage(QtDebugMsg, "Error: count = 0!");
    QCOMPARE(nullD.polinom(3, false), 0);
    QTest::ignoreMessage(QtDebugMsg, "Error: count <= len!");
    QCOMPARE(nullD.median(4), 0);
    ApproximationD ad(d.data(), dout.data(), 10);
    QTest::ignoreMessage(QtDebugMsg, "Error: countIn <= k!");
    QCOMPARE(ad.polinom(11, false), 0);

    ApproximationV v;
    QVector<double> out = {42};
    QTest::ignoreMessage(QtDebugMsg, "Error: countIn <= k!");
    QCOMPARE(v.polinom(3, QVector<double>(3, 1.0), out, true), 0);
    QCOMPARE(v.count, 3);
    QCOMPARE(out, QVector<double>({42}));
    QTest::ignoreMessage(QtDebugMsg, "Error: count = 0!");
    QCOMPARE(v.polinom(3, QVector<double>(), out, true), 0);
    untouched();
}

void TestApproximation::singularSystemFails() {
    // Power sums that overflow make the elimination meet an infinite or NaN pivot: a failure with a
    // debug line, not a curve of infinities with status 1.
    const int n = 1000;
    std::vector<double> in(n, 1.0), out(n, -7);
    ApproximationD fine(in.data(), out.data(), n);
    QCOMPARE(fine.polinom(3, false), 1);
    QVERIFY(std::fabs(out[500] - 1) < 1e-9);
    // Degree 60 over 1000 raw indices: 999^120 is beyond the double range.
    std::fill(out.begin(), out.end(), -7);
    ApproximationD huge(in.data(), out.data(), n);
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^Error: bad pivot! row = \\d+$"));
    QCOMPARE(huge.polinom(60, false), 0);
    QCOMPARE(out[0], -7.0);
}

QTEST_GUILESS_MAIN(TestApproximation)
#include "tst_approximation.moc"
