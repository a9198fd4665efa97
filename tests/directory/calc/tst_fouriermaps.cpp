#include "directory/calc/fouriercalculate.h"
#include "support/testenv.h"

#include <QtTest>

class TstFourierMaps : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { TestEnv::isolate(); }
    void ticks_data();
    void ticks();
    void mapLegendAndMarkers();
    void sums_data();
    void sums();
    void noFlagUsesSeries();
};

void TstFourierMaps::ticks_data() {
    QTest::addColumn<double>("tresolution");
    QTest::addColumn<QString>("plosh");
    QTest::addColumn<int>("count");
    QTest::addColumn<QVector<double>>("head");
    QTest::addColumn<double>("last");
    QTest::newRow("16384 points") << 0.0124928 << "N2" << 24 << QVector<double>{0.02, 0.03, 0.09, 0.1, 0.2}
                                  << 7.0;
    QTest::newRow("N4") << 0.003072 << "N4" << 0 << QVector<double>{0.006, 0.007, 0.008, 0.009, 0.01, 0.02}
                        << 7.0;
    QTest::newRow("65536, N2") << 0.003072 << "N2" << 0 << QVector<double>{0.001, 0.002} << 5.0;
}

// The accumulated ticks stay within rounding of their decimal values and cross each decade once.
void TstFourierMaps::ticks() {
    QFETCH(double, tresolution);
    QFETCH(QString, plosh);
    QFETCH(int, count);
    QFETCH(QVector<double>, head);
    QFETCH(double, last);
    FourierCalculate calc;
    calc.grafikType = "map";
    calc.tresolution = tresolution;
    calc.plosh = plosh;
    QVERIFY(calc.calculate());
    const QVector<double>& x = calc.arrGrafikX;
    if (count > 0) {
        QCOMPARE(x.size(), count);
    }
    QVector<double> start = x.mid(0, 2);
    QCOMPARE(start.size(), 2);
    QVERIFY(qAbs(x.last() - last) < 1e-9);
    QVERIFY(qAbs(x.first() - head.first()) < 1e-12);
    for (int i = 0; i + 1 < x.size(); ++i) {
        QVERIFY(x[i + 1] > x[i]);
    }
    // Values listed in `head` are all ticks (within rounding).
    for (double v : head) {
        bool found = false;
        for (double t : x) {
            found = found || qAbs(t - v) < 1e-9;
        }
        QVERIFY2(found, qPrintable(QString::number(v)));
    }
    QCOMPARE(calc.arrGridY.size(), 29);
    QCOMPARE(calc.arrGridY.first(), 1.0);
    QCOMPARE(calc.arrGridY[9], 10.0);
    QCOMPARE(calc.arrGridY.last(), 1100.0);
}

void TstFourierMaps::mapLegendAndMarkers() {
    QVector<MapPoint> none;
    QVector<MapPoint> some(1);
    FourierCalculate calc;
    calc.grafikType = "map";
    calc.tresolution = 0.0124928;
    calc.period = 0.714;
    calc.showDispersion = 57;
    calc.mapPoints = &none;
    QVERIFY(calc.calculate());
    QCOMPARE(calc.names, (QVector<QString>{"period=0.714", "dispersion=57"}));
    QCOMPARE(calc.markersX, QVector<double>{0.714});
    QCOMPARE(calc.markersY, QVector<double>{57});

    FourierCalculate with;
    with.grafikType = "map";
    with.tresolution = 0.0124928;
    with.mapPoints = &some;
    QVERIFY(with.calculate());
    QCOMPARE(with.names, (QVector<QString>{" average with nulls", " average without nulls"}));
    QVERIFY(with.markersX.isEmpty());
    QVERIFY(with.markersY.isEmpty());
}

namespace {
Sum3sigmaRecord record(int dm, double snr, const QString& line) {
    Sum3sigmaRecord r;
    r.dispersion = dm;
    r.snr = snr;
    r.lines = QStringList{line};
    return r;
}
} // namespace

void TstFourierMaps::sums_data() {
    QTest::addColumn<QStringList>("flags");
    QTest::addColumn<int>("shift");
    QTest::addColumn<int>("withNulls");
    QTest::addColumn<QString>("name");
    QTest::addColumn<double>("snr");
    QTest::addColumn<QString>("info");
    QTest::newRow("with nulls") << QStringList{"withNulls"} << 0 << 1 << "position f00_n*_av0: harmonic 12"
                                << 9.0 << "a1\nb0\n";
    QTest::newRow("shifts") << QStringList{"shifts"} << 0 << 0 << "position f**_n0_av0: harmonic 12" << 7.5
                            << "d\nb0\n";
    QTest::newRow("all") << QStringList{"shifts", "averages", "withNulls"} << 0 << 0
                         << "position f**_n*_av*: harmonic 12" << 14.5 << "d\na1\nb0\nc\n";
    QTest::newRow("shift -100 without its flag")
        << QStringList{"averages"} << -100 << 0 << "position f0100_n0_*: harmonic 12" << -1.0 << "";
}

// Records: 5.0 at f00_n0_av0, 4.0 at f00_n1_av0, 3.0 at f00_n0_av2, 2.5 at f03_n0_av0, all harmonic 12,
// DM 57.
void TstFourierMaps::sums() {
    QFETCH(QStringList, flags);
    QFETCH(int, shift);
    QFETCH(int, withNulls);
    QFETCH(QString, name);
    QFETCH(double, snr);
    QFETCH(QString, info);
    FourierCalculate calc;
    calc.grafikType = "sum3sigma";
    calc.sum3sigma.insert("12-57-f00_n0_av0", record(57, 5.0, "b0\n"));
    calc.sum3sigma.insert("12-57-f00_n1_av0", record(57, 4.0, "a1\n"));
    calc.sum3sigma.insert("12-57-f00_n0_av2", record(57, 3.0, "c\n"));
    calc.sum3sigma.insert("12-57-f03_n0_av0", record(57, 2.5, "d\n"));
    calc.sum3sigma.insert("7-57-f00_n0_av0", record(57, 1.0, "e\n"));
    calc.harmonics3sigma = {7, 12, 40};
    calc.rowChecked = {false, true, true};
    calc.dispersions = {3, 57};
    calc.shift = shift;
    calc.withNulls = withNulls;
    for (const QString& f : flags) {
        calc.sumFlags.insert(f, true);
    }
    QVERIFY(calc.calculate());
    QCOMPARE(calc.points3sigma.size(), 3);
    QCOMPARE(calc.visible, (QVector<bool>{false, true, true}));
    QCOMPARE(calc.names[0], QString());
    QVERIFY(calc.points3sigma[0].isEmpty());
    QVERIFY(calc.points3sigma[2].isEmpty());
    QCOMPARE(calc.names[1], name);
    if (snr < 0) {
        QVERIFY(calc.points3sigma[1].isEmpty());
        return;
    }
    QCOMPARE(calc.points3sigma[1].size(), 1);
    QCOMPARE(calc.points3sigma[1][0].disp, 57.0);
    QCOMPARE(calc.points3sigma[1][0].snr, snr);
    QCOMPARE(calc.points3sigma[1][0].info, info);
}

void TstFourierMaps::noFlagUsesSeries() {
    FourierCalculate calc;
    calc.grafikType = "sum3sigma";
    calc.sum3sigma.insert("12-57-f00_n0_av0", record(57, 5.0, "b0\n"));
    calc.sum3sigma.insert("12-57-f00_n1_av0", record(57, 4.0, "a1\n"));
    calc.harmonics3sigma = {12};
    calc.rowChecked = {true};
    calc.dispersions = {57};
    calc.withNulls = -1; // "*" without a sum flag shows the with-nulls series
    QVERIFY(calc.calculate());
    QCOMPARE(calc.names, QVector<QString>{"position f00_n1_av0: harmonic 12"});
    QCOMPARE(calc.points3sigma[0].size(), 1);
    QCOMPARE(calc.points3sigma[0][0].snr, 4.0);
}

QTEST_GUILESS_MAIN(TstFourierMaps)
#include "tst_fouriermaps.moc"
