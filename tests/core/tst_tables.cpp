#include "core/tables.h"

#include <QtTest>

class TestTables : public QObject {
    Q_OBJECT
private slots:
    void graphColorsTwoRounds();
    void stepWindows();
    void halfStepGridValues();
    void interferenceLists_data();
    void interferenceLists();
    void rayDeclinationKeys();
    void beamTableOrder();
};

void TestTables::graphColorsTwoRounds() {
    QCOMPARE(graphColors.size(), 32);
    QCOMPARE(graphColors[3], QString("#000000"));
    QCOMPARE(graphColors[19], QString("#000000"));
    QCOMPARE(graphColors[0], QString("#FF0000"));
    QCOMPARE(graphColors[12], QString("#D0A080"));
    QCOMPARE(graphColors[31], QString("#00D000"));
    for (int i = 0; i < 16; ++i) {
        QCOMPARE(graphColors[i + 16], graphColors[i]);
        QVERIFY(QRegularExpression("^#[0-9A-F]{6}$").match(graphColors[i]).hasMatch());
    }
}

void TestTables::stepWindows() {
    QCOMPARE(stepWindowByHour.size(), 6);
    for (const char* hour : {"01", "05", "09", "13", "17", "21"}) {
        QCOMPARE(stepWindowByHour.value(hour), qMakePair(24100, 25500));
    }
    QVERIFY(!stepWindowByHour.contains("00"));
    QVERIFY(!stepWindowByHour.contains("02"));
}

void TestTables::halfStepGridValues() {
    QCOMPARE(halfStepGrid.size(), 19);
    QCOMPARE(halfStepGrid.first(), 1.0);
    QCOMPARE(halfStepGrid[1], 1.5);
    QCOMPARE(halfStepGrid.last(), 10.0);
}

using Ranges = QVector<QPair<double, double>>;
static const Ranges* const lists[] = {&interferencePeriodsAll,          &interferencePeriodsN2,
                                      &interferencePeriodsN2Modules456, &interferencePeriodsN0,
                                      &interferencePeriodsN0Module3,    &interferencePeriodsN4,
                                      &interferencePeriodsExtra};

void TestTables::interferenceLists_data() {
    QTest::addColumn<int>("list");
    QTest::addColumn<int>("size");
    QTest::addColumn<double>("inside");
    QTest::newRow("all") << 0 << 24 << 0.1000;
    QTest::newRow("N2") << 1 << 17 << 1.03;
    QTest::newRow("N2 modules 4-6") << 2 << 24 << 2.0;
    QTest::newRow("N0") << 3 << 16 << 0.0291;
    QTest::newRow("N0 module 3") << 4 << 8 << 0.031;
    QTest::newRow("N4") << 5 << 36 << 1.2864;
    QTest::newRow("extra") << 6 << 9 << 0.162;
}

void TestTables::interferenceLists() {
    QFETCH(int, list);
    QFETCH(int, size);
    QFETCH(double, inside);
    QCOMPARE(lists[list]->size(), size);
    bool found = false;
    for (const auto& range : *lists[list]) {
        QVERIFY2(range.first <= range.second, "every stored range is ordered");
        found = found || (range.first <= inside && inside <= range.second);
    }
    QVERIFY(found);
}

void TestTables::rayDeclinationKeys() {
    QCOMPARE(rayDeclinations.size(), 128);
    QCOMPARE(rayDeclinations.value("m3_r1_p0"), 55.22);
    QCOMPARE(rayDeclinations.value("m1_r1_p1"), 42.18);
    QCOMPARE(rayDeclinations.value("m6_r8_p2"), -8.47);
    QCOMPARE(rayDeclinations.value("m5_r7_p0"), 46.333);
    QVERIFY(!rayDeclinations.contains("m1_r1_p0"));
    QVERIFY(!rayDeclinations.contains("m2_r8_p0"));
}

void TestTables::beamTableOrder() {
    QCOMPARE(beamTableN4.size(), 160);
    auto check = [](int row, int module, int ray, double dec, const QString& label) {
        QCOMPARE(beamTableN4[row].module, module);
        QCOMPARE(beamTableN4[row].ray, ray);
        QCOMPARE(beamTableN4[row].declination, dec);
        QCOMPARE(beamTableN4[row].label, label);
    };
    check(0, 1, 1, 86.61, "10 1 0");
    check(1, 2, 1, 86.37, "10 1 1");
    check(2, 1, 2, 86.14, "10 1 0");
    check(17, 4, 1, 82.66, "11 0 1");
    check(159, 20, 8, 52.85, "15 0 1");
    QSet<int> pairs;
    for (int i = 0; i < beamTableN4.size(); ++i) {
        pairs.insert(beamTableN4[i].module * 100 + beamTableN4[i].ray);
        if (i > 0) {
            QVERIFY2(beamTableN4[i].declination < beamTableN4[i - 1].declination,
                     qPrintable(QString::number(i)));
        }
    }
    QCOMPARE(pairs.size(), 160);
}

QTEST_GUILESS_MAIN(TestTables)
#include "tst_tables.moc"
