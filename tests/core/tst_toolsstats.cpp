#include "core/tools.h"

#include <QtTest>

#include <cmath>

using Series = QVector<double>;
Q_DECLARE_METATYPE(Series)

class TstToolsStats : public QObject {
    Q_OBJECT
private slots:
    void sigmaOfLowest();
    void stdDevAndExtremes();
    void fractionalIndex_data();
    void fractionalIndex();
    void reshape_data();
    void reshape();
    void smoothRepeatedIsChainOfWindows();
    void clipAtMarksLeavesShortAxisAlone();
};

void TstToolsStats::sigmaOfLowest() {
    const Series v{3, -1, 2, -4};
    QCOMPARE(Tools::sigmaOfLowest(v, 50), std::sqrt(0.5));
    QCOMPARE(v, Series({3, -1, 2, -4})); // the caller's series stays as it was
    QVERIFY(std::isnan(Tools::sigmaOfLowest({7}, 100)));
    // Percent 0 behaves as 1, and -5 too: 1% of 200 values is 2 values.
    Series many(200, 10.0);
    many[0] = 0.5;
    many[1] = -1.5;
    const double two = Tools::sigmaOfLowest(many, 1);
    QCOMPARE(Tools::sigmaOfLowest(many, 0), two);
    QCOMPARE(Tools::sigmaOfLowest(many, -5), two);
    QCOMPARE(two, std::sqrt(0.5));
    QCOMPARE(Tools::sigmaOfLowest(many, 1000), Tools::sigmaOfLowest(many, 100));
    // No value kept: a zero, not a failure.
    QCOMPARE(Tools::sigmaOfLowest({1, 2}, 10), 0.0);
    QCOMPARE(Tools::sigmaOfLowest({}, 50), 0.0);
}

void TstToolsStats::stdDevAndExtremes() {
    QCOMPARE(Tools::stdDev({5}), -1.0);
    QCOMPARE(Tools::stdDev({}), -1.0);
    QCOMPARE(Tools::stdDev({1, 2, 3}), 1.0);

    const Tools::MaxMin empty = Tools::maxMin(Series());
    QCOMPARE(empty.max, -10000000.0);
    QCOMPARE(empty.min, 10000000.0);
    const Tools::MaxMin mm = Tools::maxMin(Series{3, -2, 8});
    QCOMPARE(mm.max, 8.0);
    QCOMPARE(mm.min, -2.0);
    // Values beyond the start values are still taken.
    const Tools::MaxMin nested = Tools::maxMin(QVector<Series>{{1, 2}, {}, {-3e7, 5e7}});
    QCOMPARE(nested.max, 5e7);
    QCOMPARE(nested.min, -3e7);
    const Tools::MaxMin nestedEmpty = Tools::maxMin(QVector<Series>());
    QCOMPARE(nestedEmpty.max, -10000000.0);

    QCOMPARE(Tools::maxValue({}), -100000000.0);
    QCOMPARE(Tools::maxValue({-2e8, 4, 1}), 4.0);
    QCOMPARE(Tools::maxValue({-2e8}), -100000000.0);
}

void TstToolsStats::fractionalIndex_data() {
    QTest::addColumn<Series>("axis");
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("expected");
    QTest::newRow("inside") << Series{0, 1, 2} << 1.5 << 1.5;
    QTest::newRow("last value") << Series{0, 1, 2} << 2.0 << 2.0;
    QTest::newRow("before first") << Series{0, 1, 2} << -1.0 << 2.0;
    QTest::newRow("empty") << Series{} << 0.0 << -1.0;
    QTest::newRow("one value") << Series{5} << 5.0 << 0.0;
    QTest::newRow("flat step skipped") << Series{0, 1, 1, 3} << 1.0 << 2.0;
    QTest::newRow("uneven") << Series{0, 10, 20} << 15.0 << 1.5;
}

void TstToolsStats::fractionalIndex() {
    QFETCH(Series, axis);
    QFETCH(double, x);
    QFETCH(double, expected);
    QCOMPARE(Tools::fractionalIndex(axis, x), expected);
}

void TstToolsStats::reshape_data() {
    QTest::addColumn<QString>("op");
    QTest::addColumn<Series>("in");
    QTest::addColumn<int>("arg");
    QTest::addColumn<Series>("expected");
    QTest::newRow("center moves max") << "center" << Series{5, 1, 2, 3} << 0 << Series{2, 3, 5, 1};
    QTest::newRow("center already") << "center" << Series{1, 9, 3} << 0 << Series{1, 9, 3};
    QTest::newRow("center from right") << "center" << Series{1, 2, 3, 4, 9} << 0 << Series{3, 4, 9, 1, 2};
    QTest::newRow("center first of equal") << "center" << Series{7, 1, 7, 1} << 0 << Series{7, 1, 7, 1};
    QTest::newRow("center too low") << "center" << Series{-20000, -30000} << 0 << Series{-20000, -30000};
    QTest::newRow("center empty") << "center" << Series{} << 0 << Series{};
    QTest::newRow("average 2") << "average" << Series{1, 2, 3, 4} << 2 << Series{1.5, 2.5, 3.5, 4};
    QTest::newRow("average 3") << "average" << Series{3, 6, 9, 12, 15} << 3 << Series{6, 9, 12, 13.5, 15};
    QTest::newRow("average = size") << "average" << Series{1, 2, 3, 4} << 4 << Series{1, 2, 3, 4};
    QTest::newRow("average 1") << "average" << Series{1, 2, 3, 4} << 1 << Series{1, 2, 3, 4};
    QTest::newRow("average empty") << "average" << Series{} << 2 << Series{};
    QTest::newRow("smooth 0") << "smooth" << Series{1, 5, 2} << 0 << Series{1, 5, 2};
    QTest::newRow("smooth huge") << "smooth" << Series{1, 5, 2} << 1000 << Series{3, 3.5, 2};
}

void TstToolsStats::reshape() {
    QFETCH(QString, op);
    QFETCH(Series, in);
    QFETCH(int, arg);
    QFETCH(Series, expected);
    const Series copy = in;
    Series got;
    if (op == "center") {
        got = Tools::centerMaximum(in);
        Series inPlace = in;
        Tools::centerMaximumInPlace(inPlace);
        QCOMPARE(inPlace, expected);
    } else if (op == "average") {
        got = Tools::movingAverage(in, arg);
    } else {
        got = Tools::smoothRepeated(in, arg);
    }
    QCOMPARE(got, expected);
    QCOMPARE(in, copy);
}

void TstToolsStats::smoothRepeatedIsChainOfWindows() {
    Series v;
    for (int i = 0; i < 37; ++i) {
        v.append(std::sin(i * 0.7) * 10 + i);
    }
    QCOMPARE(Tools::smoothRepeated(v, 2), Tools::movingAverage(Tools::movingAverage(v, 2), 4));
    QCOMPARE(Tools::smoothRepeated(v, 3),
             Tools::movingAverage(Tools::movingAverage(Tools::movingAverage(v, 2), 4), 8));
}

void TstToolsStats::clipAtMarksLeavesShortAxisAlone() {
    const Series axis{1.0, 1.5, 2.0, 2.5, 3.0, 3.5};
    QCOMPARE(Tools::clipAtMarks({1, 8, 9, 7, 2, 10}, axis, {2.0}), Series({1, 6, 6, 6, 2, 10}));
    // Two marks: the second search starts where the first stopped; a run reaching the end stops there.
    QCOMPARE(Tools::clipAtMarks({9, 8, 1, 7, 8, 10}, axis, {1.0, 3.0}), Series({6, 6, 1, 6, 6, 6}));
    // A mark within the tolerance of the last abscissa, and one beyond it.
    QCOMPARE(Tools::clipAtMarks({1, 1, 1, 1, 1, 9}, axis, {3.500005}), Series({1, 1, 1, 1, 1, 6}));
    QCOMPARE(Tools::clipAtMarks({1, 1, 1, 1, 1, 9}, axis, {3.6}), Series({1, 1, 1, 1, 1, 9}));
    // Exactly 6 stops the run.
    QCOMPARE(Tools::clipAtMarks({9, 6, 9}, {1, 2, 3}, {3.0}), Series({9, 6, 6}));
    // Empty values, an empty or short axis: the copy comes back unchanged.
    QCOMPARE(Tools::clipAtMarks({}, {}, {1.0}), Series());
    QCOMPARE(Tools::clipAtMarks({9, 9}, {}, {1.0}), Series({9, 9}));
    QCOMPARE(Tools::clipAtMarks({9, 9, 9}, {1.0, 2.0}, {1.0}), Series({9, 9, 9}));
    QCOMPARE(Tools::clipAtMarks({9, 9}, {1.0, 2.0}, {}), Series({9, 9}));
}

QTEST_APPLESS_MAIN(TstToolsStats)
#include "tst_toolsstats.moc"
