#include "directory/calc/pulselist.h"
#include "directory/views/fourierformrules.h"

#include <QBuffer>
#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

class TestFourierFormRules : public QObject {
    Q_OBJECT
private slots:
    void siteCodeAndDmList_data();
    void siteCodeAndDmList();
    void directoryLabel();
    void periodAndHarmonic_data();
    void periodAndHarmonic();
    void harmonicOfPeriod();
    void searchNames();
    void searchFilter_data();
    void searchFilter();
    void descriptor();
    void yearsOfRowsAndName();
    void mapFiles();
    void report();
    void pulseList();
};

void TestFourierFormRules::siteCodeAndDmList_data() {
    QTest::addColumn<QString>("dir");
    QTest::addColumn<bool>("isSearch");
    QTest::addColumn<bool>("isFfa");
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("dms");
    QTest::newRow("N4 segment, search FFA") << "/data/N4/search" << true << true << "N4" << 126;
    QTest::newRow("_N4_ name part") << "/data/res_N4_x" << false << false << "N4" << 126;
    QTest::newRow("-N4- name part") << "/data/res-N4-x" << true << false << "N4" << 126;
    QTest::newRow("first code wins") << "/data/N1/a_N4_b" << false << false << "N1" << 128;
    QTest::newRow("no code, search FFA") << "/data/search" << true << true << "" << 57;
    QTest::newRow("no code, sum") << "/data/B0329" << false << true << "" << 128;
    QTest::newRow("code ends the path") << "/data/N4" << false << false << "N4" << 126;
    QTest::newRow("code needs a separator before") << "/data/XN4" << false << false << "" << 128;
    QTest::newRow("case-sensitive") << "/data/n4/x" << false << false << "" << 128;
}

void TestFourierFormRules::siteCodeAndDmList() {
    QFETCH(QString, dir);
    QFETCH(bool, isSearch);
    QFETCH(bool, isFfa);
    QFETCH(QString, code);
    QFETCH(int, dms);
    QCOMPARE(FourierFormRules::siteCode(dir), code);
    const QVector<int> list = FourierFormRules::dmListFor(code, isSearch, isFfa);
    QCOMPARE(list.size(), dms);
    QCOMPARE(list.first(), 0);
}

void TestFourierFormRules::directoryLabel() {
    QCOMPARE(FourierFormRules::directoryLabel("/data/results/B0001", false), QString("../results/\nB0001"));
    QCOMPARE(FourierFormRules::directoryLabel("/data/results/B0001", true), QString("../results/B0001/"));
    QCOMPARE(FourierFormRules::directoryLabel("/B0001", false), QString("//\nB0001"));
    QCOMPARE(FourierFormRules::directoryLabel("B0001", true), QString("/"));
}

void TestFourierFormRules::periodAndHarmonic_data() {
    QTest::addColumn<double>("tres");
    QTest::addColumn<int>("withNulls");
    QTest::addColumn<int>("harmonic");
    QTest::addColumn<QString>("period");
    QTest::addColumn<int>("back"); // harmonic of the period text typed back
    QTest::newRow("without nulls") << 0.0124928 << 0 << 32 << "6.39631" << 32;
    QTest::newRow("with nulls") << 0.0124928 << 1 << 32 << "12.79263" << 31;
    QTest::newRow("all counts as with nulls") << 0.0124928 << -1 << 32 << "12.79263" << 31;
    QTest::newRow("N4 truncates back") << 0.003072 << 0 << 32 << "6.29146" << 31;
    QTest::newRow("no resolution") << 0.0 << 0 << 32 << "0.00000" << 0;
}

void TestFourierFormRules::periodAndHarmonic() {
    QFETCH(double, tres);
    QFETCH(int, withNulls);
    QFETCH(int, harmonic);
    QFETCH(QString, period);
    QFETCH(int, back);
    QCOMPARE(FourierFormRules::periodTextOfHarmonic(harmonic, tres, withNulls), period);
    const double typed = period.toDouble() > 0 ? period.toDouble() : 1.0;
    QCOMPARE(FourierFormRules::harmonicOfPeriod(typed, tres, withNulls), back);
}

void TestFourierFormRules::harmonicOfPeriod() {
    QCOMPARE(FourierFormRules::harmonicOfPeriod(1.0, 0.0124928, 0), 204);
    QCOMPARE(FourierFormRules::harmonicOfPeriod(1.0, 0.0124928, 1), 409);
    QCOMPARE(FourierFormRules::harmonicOfPeriod(205.0, 0.0124928, 0), 0); // longer than the spectrum
}

void TestFourierFormRules::searchNames() {
    const QString n4 = FourierFormRules::searchModule("3", "N4");
    QCOMPARE(n4, QString("03"));
    QCOMPARE(FourierFormRules::searchModule("12", "N4"), QString("12"));
    QCOMPARE(FourierFormRules::searchModule("0", "N4"), QString("00"));
    QCOMPARE(FourierFormRules::searchDirName("16", "30:00", n4, "5"), QString("a163000_m03_r5"));
    QCOMPARE(FourierFormRules::searchDirName("16", "30:00", FourierFormRules::searchModule("3", "N1"), "5"),
             QString("a163000_m3_r5"));
}

void TestFourierFormRules::searchFilter_data() {
    QTest::addColumn<QString>("which");
    QTest::addColumn<QString>("module");
    QTest::addColumn<QString>("ray");
    QTest::addColumn<QString>("hour");
    QTest::addColumn<QString>("minSec");
    QTest::addColumn<bool>("n4");
    QTest::addColumn<QStringList>("kept");
    const QStringList n4 = {"a163000_m12_r3", "a163000_m01_r2", "a170130_m01_r3"};
    QTest::newRow("ray 0 keeps every row") << "ray"
                                           << "1"
                                           << "0"
                                           << "*"
                                           << "*" << true << n4;
    QTest::newRow("ray") << "ray"
                         << "1"
                         << "3"
                         << "*"
                         << "*" << true << QStringList{"a163000_m12_r3", "a170130_m01_r3"};
    QTest::newRow("N4 module 12") << "module"
                                  << "12"
                                  << "0"
                                  << "*"
                                  << "*" << true << QStringList{"a163000_m12_r3"};
    QTest::newRow("N4 module 00 keeps all") << "module"
                                            << "00"
                                            << "0"
                                            << "*"
                                            << "*" << true << n4;
    QTest::newRow("hour") << "hour"
                          << "1"
                          << "0"
                          << "17"
                          << "*" << true << QStringList{"a170130_m01_r3"};
    QTest::newRow("min:sec") << "minSec"
                             << "1"
                             << "0"
                             << "*"
                             << "30:00" << true << QStringList{"a163000_m12_r3", "a163000_m01_r2"};
    QTest::newRow("inactive boxes keep all") << ""
                                             << "5"
                                             << "5"
                                             << "05"
                                             << "01:30" << true << n4;
}

void TestFourierFormRules::searchFilter() {
    QFETCH(QString, which);
    QFETCH(QString, module);
    QFETCH(QString, ray);
    QFETCH(QString, hour);
    QFETCH(QString, minSec);
    QFETCH(bool, n4);
    QFETCH(QStringList, kept);
    FourierFormRules::SearchFilter f;
    f.byModule = which == "module";
    f.byRay = which == "ray";
    f.byHour = which == "hour";
    f.byMinSec = which == "minSec";
    f.module = module;
    f.ray = ray;
    f.hour = hour;
    f.minSec = minSec;
    f.n4 = n4;
    const QStringList rows = {"a163000_m12_r3", "a163000_m01_r2", "a170130_m01_r3"};
    QCOMPARE(FourierFormRules::filterSearchRows(rows, f), kept);

    // Other sites compare one module digit.
    FourierFormRules::SearchFilter one;
    one.byModule = true;
    one.module = "3";
    QCOMPARE(FourierFormRules::filterSearchRows({"a163000_m3_r5", "a163000_m4_r5"}, one),
             QStringList{"a163000_m3_r5"});
}

void TestFourierFormRules::descriptor() {
    int shift = 9, withNulls = 9, averages = 9;
    QVERIFY(FourierFormRules::parseDescriptor("f12_n1_av3", shift, withNulls, averages));
    QCOMPARE(shift, 2);
    QCOMPARE(withNulls, 1);
    QCOMPARE(averages, 3);
    QVERIFY(FourierFormRules::parseDescriptor("f03_n0_av0", shift, withNulls, averages));
    QCOMPARE(shift, -3);
    QCOMPARE(withNulls, 0);
    QVERIFY(!FourierFormRules::parseDescriptor("f03_n0", shift, withNulls, averages));
}

void TestFourierFormRules::yearsOfRowsAndName() {
    QCOMPARE(FourierFormRules::yearOfRow("cache_2016", "cacheYears"), 2016);
    QCOMPARE(FourierFormRules::yearOfRow("cache_2016_05", "cacheMonthes"), 2016);
    QCOMPARE(FourierFormRules::yearOfRow("2017.03.15", "days"), 2017);
    QCOMPARE(FourierFormRules::yearOfRow("cache_all", "cacheOthers"), 0);

    QHash<int, int> states;
    for (int y = 2014; y <= 2020; ++y) {
        states[y] = 0;
    }
    states[2015] = 1;
    states[2017] = 1;
    QCOMPARE(FourierFormRules::yearsName(states, 2014, 2020), QString("2015_2017"));
    states[2018] = 1;
    QCOMPARE(FourierFormRules::yearsName(states, 2014, 2020), QString("2015_2017_2018"));
    states[2019] = 1;
    QCOMPARE(FourierFormRules::yearsName(states, 2014, 2020), QString());
    states[2020] = 1; // a fifth year keeps it empty
    QCOMPARE(FourierFormRules::yearsName(states, 2014, 2020), QString());
}

void TestFourierFormRules::mapFiles() {
    QTemporaryDir tmp;
    const QString dir = tmp.path();
    QVERIFY(QDir(dir).mkpath("2019/03"));
    using R = FourierFormRules;
    QCOMPARE(R::sumMapFile(dir, "cache_2019", "", false), dir + "/cache_2019/harmonics.txt");
    QCOMPARE(R::sumMapFile(dir, "cache_2019", "", true), dir + "/cache_2019/harmonics_all.txt");
    QCOMPARE(R::sumMapFile(dir, "2019.03.15", "", false), dir + "/2019/03/harmonics.txt");
    QCOMPARE(R::sumMapFile(dir, "2019.03.15", "", true), dir + "/2019/03/harmonics_all.txt");
    QCOMPARE(R::sumMapFile(dir, "2019_03_15", "", false), dir + "/2019/03/harmonics.txt");
    // No year tree: the day's own directory, as the scan found it.
    QCOMPARE(R::sumMapFile(dir, "2019.04.01", "2019.04.01_extra", false),
             dir + "/2019.04.01_extra/harmonics.txt");
    QCOMPARE(R::sumMapFile(dir, "2019.04.01", "", false), dir + "/2019.04.01/harmonics.txt");

    QCOMPARE(R::searchMapFile("/s/a1", "ffaMap", "N4", true), QString("/s/a1/harmonics.txt"));
    QCOMPARE(R::searchMapFile("/s/a1", "map", "N4", false), QString("/s/a1/harmonics_sum_alfa.txt"));
    QCOMPARE(R::searchMapFile("/s/a1", "map", "N1", true), QString("/s/a1/harmonics_all.txt"));
    QCOMPARE(R::searchMapFile("/s/a1", "map", "", false), QString("/s/a1/harmonics.txt"));
}

void TestFourierFormRules::report() {
    using R = FourierFormRules;
    QCOMPARE(R::proposedReportName("J1630+2150", "-4", "-1", "*", "12", "fourier"),
             QString("J1630+2150_f04_n0_av-1_d12_fourier"));
    QCOMPARE(R::proposedReportName("", "2", "3", "1", "0", "ffa"), QString("_f12_n1_av3_d0_ffa"));
    const QString text = R::reportText("J0000", "fourier", "0", "*", "-1", "12", {1.5, 0.1234567, 1e7});
    QCOMPARE(text, QString("Pulsar: J0000\n------------------\nGraph type: fourier\nFirst point shift: 0\n"
                           "With nulls: *\nAverage count: -1\nDispersion: 12\nPoints: 3\n"
                           "------------------\n1 1.5\n2 0.123457\n3 1e+07\n"));
    QCOMPARE(R::withSuffix("x.TXT", ".txt"), QString("x.TXT.txt"));
    QCOMPARE(R::withSuffix("x.txt", ".txt"), QString("x.txt"));
    QCOMPARE(R::withSuffix("graph", ".png"), QString("graph.png"));
}

void TestFourierFormRules::pulseList() {
    QByteArray file = "N File Position Disp Harm Snr\n"
                      "150318_05_N4_00.pnthr\tf01_n1_av0\t120\t64\t7,25\n"
                      "150318-05_N4_00.pnthr f01_n1_av0 1 2 3\n" // "-" at the 7th character
                      "150318_05_N4_0.pnthr f01_n1_av0 1 2 3\n"  // name one short
                      "\n"
                      "010219_11_N1_03.pnthr  f03_n0_av2 \t 33   65 5.5\r\n"; // runs of blanks, CR LF
    QBuffer buffer(&file);
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    const QVector<QString> rows = PulseList::rows(buffer);
    QCOMPARE(rows.toList(),
             (QStringList{"N File Position Disp Harm Snr Check", "1 2018.03.15 f01_n1_av0 120 64 7.25",
                          "2 2019.02.01 f03_n0_av2 33 65 5.5"}));
    QByteArray headerOnly = "just a header\n";
    QBuffer empty(&headerOnly);
    QVERIFY(empty.open(QIODevice::ReadOnly));
    QCOMPARE(PulseList::rows(empty).size(), 1);
}

QTEST_MAIN(TestFourierFormRules)
#include "tst_fourierformrules.moc"
