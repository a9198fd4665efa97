#include "core/tools.h"

#include <QtTest>

#include <limits>

class TstToolsResults : public QObject {
    Q_OBJECT
private slots:
    void fileNames_data();
    void fileNames();
    void dmGrids();
    void interference_data();
    void interference();
    void levels();
    void add90Seconds_data();
    void add90Seconds();
};

void TstToolsResults::fileNames_data() {
    QTest::addColumn<QString>("got");
    QTest::addColumn<QString>("expected");
    QTest::newRow("name no prefix") << Tools::fourierFileName("", 0, 3, true) << "f00_n1_av3.txt";
    QTest::newRow("name prefix") << Tools::fourierFileName("cache_2019", -1, 0, false)
                                 << "cache_2019_f01_n0_av0.txt";
    QTest::newRow("name -12") << Tools::fourierFileName("", -12, 1, false) << "f012_n0_av1.txt";
    QTest::newRow("base") << Tools::fourierFileBase(0, 2, false) << "f00_n0_av2";
    QTest::newRow("base +2") << Tools::fourierFileBase(2, -1, true) << "f12_n1_av-1";
    QTest::newRow("baseD") << Tools::fourierFileBaseD(1, 2, 0, 30) << "f11_n0_av2_d30";
    QTest::newRow("map median") << Tools::mapFileName("f00_n0_av0", 16384, 0, 8, "median", 64)
                                << "map_f00_n0_av0_np16384_sp0_b8_median64.txt";
    QTest::newRow("map polinom") << Tools::mapFileName("x", 1, 2, 3, "polinom", 5)
                                 << "map_x_np1_sp2_b3_polinom.txt";
    QTest::newRow("map other") << Tools::mapFileName("x", 1, 2, 3, "backSum", 5) << "";
}

void TstToolsResults::fileNames() {
    QFETCH(QString, got);
    QFETCH(QString, expected);
    QCOMPARE(got, expected);
}

static void checkGrid(const QVector<int>& grid, int size, const QVector<int>& head,
                      const QVector<int>& tail) {
    QCOMPARE(grid.size(), size);
    QCOMPARE(grid.mid(0, head.size()), head);
    QCOMPARE(grid.mid(size - tail.size()), tail);
    for (int i = 1; i < grid.size(); ++i) {
        QVERIFY2(grid[i] > grid[i - 1], qPrintable(QString::number(i)));
    }
}

void TstToolsResults::dmGrids() {
    checkGrid(Tools::dmList(true), 126, {0, 1, 2}, {958, 995});
    checkGrid(Tools::dmList(false), 128, {0, 1, 2}, {979, 1016});
    checkGrid(Tools::dmList57(), 57, {0, 4, 8}, {960, 1024});
    // Seams between the runs of the grids.
    const QVector<int> n4 = Tools::dmList(true);
    QCOMPARE(n4.mid(80, 3), QVector<int>({183, 190, 197}));
    QCOMPARE(n4.mid(93, 3), QVector<int>({298, 309, 321}));
    const QVector<int> other = Tools::dmList(false);
    QCOMPARE(other.mid(83, 3), QVector<int>({199, 206, 214}));
    QCOMPARE(other.mid(97, 3), QVector<int>({333, 345, 358}));
    QCOMPARE(Tools::dmList57().mid(20, 3), QVector<int>({80, 88, 96}));
}

void TstToolsResults::interference_data() {
    QTest::addColumn<double>("period");
    QTest::addColumn<QString>("site");
    QTest::addColumn<int>("module");
    QTest::addColumn<bool>("extra");
    QTest::addColumn<bool>("expected");
    QTest::newRow("inside tolerance") << 0.0250999 << "N1" << 1 << false << true;
    QTest::newRow("bound excluded") << 0.0251 << "N1" << 1 << false << false;
    QTest::newRow("N0 module 3") << 0.05695 << "N0" << 3 << false << true;
    QTest::newRow("N0 module 2") << 0.05695 << "N0" << 2 << false << false;
    QTest::newRow("N2 list") << 0.066 << "N2" << 1 << false << true;
    QTest::newRow("N2 list not N1") << 0.066 << "N1" << 1 << false << false;
    QTest::newRow("N2 modules 456") << 0.069 << "N2" << 5 << false << true;
    QTest::newRow("N2 module 3") << 0.069 << "N2" << 3 << false << false;
    QTest::newRow("N4") << 1.2864 << "N4" << 1 << false << true;
    QTest::newRow("site case") << 1.2864 << "n4" << 1 << false << false;
    QTest::newRow("extra on") << 0.163 << "N1" << 1 << true << true;
    QTest::newRow("extra off") << 0.163 << "N1" << 1 << false << false;
    QTest::newRow("nan") << std::numeric_limits<double>::quiet_NaN() << "N4" << 1 << true << false;
}

void TstToolsResults::interference() {
    QFETCH(double, period);
    QFETCH(QString, site);
    QFETCH(int, module);
    QFETCH(bool, extra);
    QFETCH(bool, expected);
    QCOMPARE(Tools::isInterferencePeriod(period, site, module, 7, extra), expected);
}

void TstToolsResults::levels() {
    QCOMPARE(Tools::levelOf(4.0, 1.0), 1);
    QCOMPARE(Tools::levelOf(5.4, 0.0), 2);
    QCOMPARE(Tools::levelOf(1000.0, 4.0), 6);
    QCOMPARE(Tools::levelOf(1e300, 4.0), 13);
    QCOMPARE(Tools::levelOf(std::numeric_limits<double>::infinity(), 4.0), 1);
    QCOMPARE(Tools::levelOf(std::numeric_limits<double>::quiet_NaN(), 4.0), 1);
    QCOMPARE(Tools::snrLevel(4.99), 1);
    QCOMPARE(Tools::snrLevel(5.0), 2);
    QCOMPARE(Tools::snrLevel(9.99), 6);
    QCOMPARE(Tools::snrLevel(10.0), 7);
    QCOMPARE(Tools::snrLevel(std::numeric_limits<double>::quiet_NaN()), 7);
}

void TstToolsResults::add90Seconds_data() {
    QTest::addColumn<QString>("in");
    QTest::addColumn<QString>("out");
    QTest::newRow("00") << "120000"
                        << "120130";
    QTest::newRow("30") << "120030"
                        << "120200";
    QTest::newRow("carry 61") << "095930"
                              << "100100";
    QTest::newRow("no wrap") << "235930"
                             << "240100";
    QTest::newRow("carry 60") << "105830"
                              << "110000";
    QTest::newRow("other seconds") << "120015"
                                   << "120015";
}

void TstToolsResults::add90Seconds() {
    QFETCH(QString, in);
    QFETCH(QString, out);
    QCOMPARE(Tools::add90Seconds(in), out);
}

QTEST_APPLESS_MAIN(TstToolsResults)
#include "tst_toolsresults.moc"
