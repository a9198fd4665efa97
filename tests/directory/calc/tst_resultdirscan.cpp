#include "directory/calc/resultdirscan.h"

#include "core/busyguard.h"
#include "support/resultdirwriter.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {
QHash<int, int> noData() {
    QHash<int, int> years;
    for (int y = 2014; y <= 2026; ++y) {
        years.insert(y, -1);
    }
    return years;
}
} // namespace

class TestResultDirScan : public QObject {
    Q_OBJECT
private slots:
    void cacheKinds_data();
    void cacheKinds();
    void firstTable_data();
    void firstTable();
    void yearTreeDays();
    void datedDirectoryDayListedOnce();
    void oddNamesAreListed();
    void sourceFromPath_data();
    void sourceFromPath();
    void progressRisesToHundred();
    void missingDirectoryChangesNothing();
    void searchDirectories_data();
    void searchDirectories();
    void searchDeeperDirectoryWins();
    void searchSameNameKeepsNaturalFirst();
    void searchWithoutTextFilesIsEmpty();
};

void TestResultDirScan::cacheKinds_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("markedYear");
    QTest::newRow("year cache") << "cache_2019"
                                << "cacheYears" << 2019;
    QTest::newRow("year before range") << "cache_2013"
                                       << "cacheOthers" << 0;
    QTest::newRow("all of a year") << "cache_2019_all"
                                   << "cacheOthers" << 2019;
    QTest::newRow("month 00") << "cache_2019_00"
                              << "cacheOthers" << 2019;
    QTest::newRow("month not a number") << "cache_2019_ab"
                                        << "cacheOthers" << 2019;
    QTest::newRow("month 13") << "cache_2019_13"
                              << "cacheMonthes" << 2019;
    QTest::newRow("month 03") << "cache_2019_03"
                              << "cacheMonthes" << 2019;
    QTest::newRow("year cache with a space") << "cache_ 019"
                                             << "cacheOthers" << 0;
}

void TestResultDirScan::cacheKinds() {
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QFETCH(int, markedYear);
    QTemporaryDir root;
    QVERIFY(ResultDirWriter::make(root.path(), {name + "/"}));
    ResultDirScan scan;
    scan.yearStates = noData();
    QVERIFY(scan.readSumDir(root.path()));
    QCOMPARE(scan.allRows, QStringList{name});
    QCOMPARE(scan.rowKinds.value(name), kind);
    for (auto it = scan.yearStates.cbegin(); it != scan.yearStates.cend(); ++it) {
        QCOMPARE(it.value(), it.key() == markedYear ? 0 : -1);
    }
}

void TestResultDirScan::firstTable_data() {
    QTest::addColumn<QStringList>("dirs");
    QTest::addColumn<QStringList>("table");
    QTest::addColumn<QString>("shown"); // flags others/years/monthes/days as 0/1
    QTest::newRow("years win over months")
        << QStringList{"cache_all/", "cache_2019/", "cache_2019_03/", "2019.03.15/"}
        << QStringList{"cache_all", "cache_2019"} << "1100";
    QTest::newRow("months without years") << QStringList{"cache_all/", "cache_2019_03/", "2019.03.15/"}
                                          << QStringList{"cache_all", "cache_2019_03"} << "1010";
    QTest::newRow("days without caches of years or months")
        << QStringList{"cache_all/", "2019.03.16/", "2019.03.15/"}
        << QStringList{"cache_all", "2019.03.15", "2019.03.16"} << "1001";
    QTest::newRow("no other caches") << QStringList{"cache_2018/", "cache_2017/"}
                                     << QStringList{"cache_2017", "cache_2018"} << "0100";
    QTest::newRow("nothing recognisable") << QStringList{"junk/", "x.txt"} << QStringList{} << "0000";
    QTest::newRow("numbered names rise")
        << QStringList{"cache_all_10/", "cache_all_9/", "cache_all_100/"}
        << QStringList{"cache_all_9", "cache_all_10", "cache_all_100"} << "1000";
}

void TestResultDirScan::firstTable() {
    QFETCH(QStringList, dirs);
    QFETCH(QStringList, table);
    QFETCH(QString, shown);
    QTemporaryDir root;
    QVERIFY(ResultDirWriter::make(root.path(), dirs));
    ResultDirScan scan;
    scan.yearStates = noData();
    QVERIFY(scan.readSumDir(root.path()));
    QCOMPARE(scan.tableRows, table);
    QCOMPARE(scan.rowChecked, QVector<bool>(table.size(), false));
    const QString flags = QString("%1%2%3%4")
                              .arg(int(scan.showOthers))
                              .arg(int(scan.showYears))
                              .arg(int(scan.showMonthes))
                              .arg(int(scan.showDays));
    QCOMPARE(flags, shown);
}

void TestResultDirScan::yearTreeDays() {
    QTemporaryDir root;
    QVERIFY(
        ResultDirWriter::make(root.path(), {"2019/03/2019.03.15_x.txt", "2019/03/2019.03.15_y.txt",
                                            "2019/03/2018.03.15_x.txt", "2019/03/2019.04.01_x.txt",
                                            "2019/04/2019_04_02_f00_n0_av0.txt", "2019/13/2019.13.01.txt"}));
    ResultDirScan scan;
    scan.yearStates = noData();
    QVERIFY(scan.readSumDir(root.path()));
    QCOMPARE(scan.allRows, (QStringList{"2019.03.15", "2019_04_02"}));
    QCOMPARE(scan.rowKinds.value("2019.03.15"), QString("days"));
    QCOMPARE(scan.yearStates.value(2019), 0);
    QCOMPARE(scan.dayLocations.value("2019.03.15"), QStringList{"2019/03"});
    QCOMPARE(scan.dayLocations.value("2019_04_02"), QStringList{"2019/04"});
}

void TestResultDirScan::datedDirectoryDayListedOnce() {
    QTemporaryDir root;
    QVERIFY(ResultDirWriter::make(
        root.path(), {"2019/03/2019.03.15_x.txt", "2019.03.15_extra/", "x2019.03.16_extra/", "2019.03.17/"}));
    ResultDirScan scan;
    scan.yearStates = noData();
    QVERIFY(scan.readSumDir(root.path()));
    QCOMPARE(scan.allRows, (QStringList{"2019.03.15", "2019.03.17", "2019.03.16"}));
    QCOMPARE(scan.dayLocations.value("2019.03.15"), (QStringList{"2019/03", "2019.03.15_extra"}));
    QCOMPARE(scan.dayLocations.value("2019.03.16"), QStringList{"x2019.03.16_extra"});
}

void TestResultDirScan::oddNamesAreListed() {
    // Names that sort before "." once hid real entries: every subdirectory counts.
    QTemporaryDir root;
    QVERIFY(ResultDirWriter::make(root.path(), {"#2019.03.15_x/", "+cache/", "2019.03.16/"}));
    ResultDirScan scan;
    scan.yearStates = noData();
    QVERIFY(scan.readSumDir(root.path()));
    QCOMPARE(scan.allRows, (QStringList{"2019.03.15", "2019.03.16"}));
}

void TestResultDirScan::sourceFromPath_data() {
    QTest::addColumn<QString>("sub");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QTime>("ra");
    QTest::addColumn<int>("module");
    QTest::addColumn<int>("ray");
    QTest::newRow("beam") << "x/a163000_d215000_m2_r5/sum"
                          << "J1630+2150" << QTime(16, 30, 0) << 2 << 5;
    QTest::newRow("seconds from the last digits") << "a0930125_d0101_m1_r8"
                                                  << "J0930+0101" << QTime(9, 30, 25) << 1 << 8;
    QTest::newRow("J-name") << "x/1630-2150/y"
                            << "J1630-2150" << QTime(16, 30, 0) << 7 << 9;
    QTest::newRow("neither") << "x/plain"
                             << "" << QTime(0, 0, 0) << 7 << 9;
}

void TestResultDirScan::sourceFromPath() {
    QFETCH(QString, sub);
    QFETCH(QString, name);
    QFETCH(QTime, ra);
    QFETCH(int, module);
    QFETCH(int, ray);
    QTemporaryDir root;
    QVERIFY(ResultDirWriter::make(root.path(), {sub + "/"}));
    ResultDirScan scan;
    scan.module = 7;
    scan.ray = 9;
    scan.pulsarName = "old";
    QVERIFY(scan.readSumDir(root.path() + "/" + sub));
    QCOMPARE(scan.pulsarName, name);
    QCOMPARE(scan.raTime, ra);
    QCOMPARE(scan.module, module);
    QCOMPARE(scan.ray, ray);
}

void TestResultDirScan::progressRisesToHundred() {
    QTemporaryDir root;
    QVERIFY(ResultDirWriter::make(root.path(), {"2019/01/2019.01.02_a.txt", "cache_2019/"}));
    ResultDirScan scan;
    scan.yearStates = noData();
    QSignalSpy spy(&scan, &ResultDirScan::progress);
    QVERIFY(scan.readSumDir(root.path()));
    QList<int> values;
    for (const QList<QVariant>& args : spy) {
        values << args.at(0).toInt();
    }
    // Entry 1 of 2 (the year tree) steps through its twelve months, then each entry reports its share.
    QList<int> expected{0};
    for (int m = 1; m <= 12; ++m) {
        expected << (100 + 100 * m) / 24;
    }
    expected << 50 << 100;
    QCOMPARE(values, expected);
}

void TestResultDirScan::missingDirectoryChangesNothing() {
    QTemporaryDir root;
    ResultDirScan scan;
    scan.allRows = QStringList{"kept"};
    scan.pulsarName = "J0000+0000";
    QSignalSpy spy(&scan, &ResultDirScan::progress);
    QVERIFY(!scan.readSumDir(root.path() + "/missing"));
    QVERIFY(!scan.readSearchDir(root.path() + "/missing", "N4"));
    QCOMPARE(scan.allRows, QStringList{"kept"});
    QCOMPARE(scan.pulsarName, QString("J0000+0000"));
    QCOMPARE(spy.count(), 0);
}

void TestResultDirScan::searchDirectories_data() {
    QTest::addColumn<QString>("site");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("rows");
    const QStringList tree{"12/a163000_m01_r3/f00_n0_av0.txt",       "12/a163000_m1_r3/f00_n0_av0.txt",
                           "12/a163000_m01_r3_old/x/f00_n0_av0.txt", "12/a163000_m02_r1/f00_n0_av0.txt",
                           "12/a163000_m01_r1/f00_n0_av0.txt",       "12/a163000_m01_r4/notes.dat"};
    QTest::newRow("N4 re-sorted by beam table")
        << "N4" << tree << QStringList{"a163000_m01_r1", "a163000_m02_r1", "a163000_m01_r3"};
    QTest::newRow("N2 keeps every name") << "N2" << tree
                                         << QStringList{"a163000_m01_r1", "a163000_m01_r3", "a163000_m1_r3",
                                                        "a163000_m01_r3_old", "a163000_m02_r1"};
    const QStringList times{"a163000_m10_r1/f.txt", "a163000_m2_r1/f.txt", "a010000_m01_r1/f.txt",
                            "a163000_m01_r1/f.txt"};
    QTest::newRow("N2 start times and modules rise")
        << "N2" << times
        << QStringList{"a010000_m01_r1", "a163000_m01_r1", "a163000_m2_r1", "a163000_m10_r1"};
    QTest::newRow("N4 start times rise")
        << "N4" << times << QStringList{"a010000_m01_r1", "a163000_m01_r1", "a163000_m10_r1"};
}

void TestResultDirScan::searchDirectories() {
    QFETCH(QString, site);
    QFETCH(QStringList, files);
    QFETCH(QStringList, rows);
    QTemporaryDir root;
    QVERIFY(ResultDirWriter::make(root.path(), files));
    ResultDirScan scan;
    scan.yearStates = noData();
    scan.module = 3;
    QVERIFY(scan.readSearchDir(root.path(), site));
    QCOMPARE(scan.tableRows, rows);
    QCOMPARE(scan.allRows, scan.tableRows);
    QVERIFY(scan.rowChecked.isEmpty());
    QCOMPARE(scan.module, 3);
    if (rows.contains("a163000_m01_r3_old")) {
        QCOMPARE(scan.searchDirPaths.value("a163000_m01_r3"), root.path() + "/12/a163000_m01_r3");
        QCOMPARE(scan.searchDirPaths.value("a163000_m01_r3_old"), root.path() + "/12/a163000_m01_r3_old");
    }
}

void TestResultDirScan::searchDeeperDirectoryWins() {
    QTemporaryDir root;
    QVERIFY(ResultDirWriter::make(root.path(), {"a100000_m01_r1/a100300_m01_r1/f.txt"}));
    ResultDirScan scan;
    QVERIFY(scan.readSearchDir(root.path(), "N2"));
    QCOMPARE(scan.tableRows, QStringList{"a100300_m01_r1"});
}

void TestResultDirScan::searchSameNameKeepsNaturalFirst() {
    // Two files in each directory: the kept one must not move on a later file of another.
    QStringList files;
    for (const char* parent : {"s10", "s9", "s11", "s100", "s2", "s20"}) {
        files << QString(parent) + "/a100000_m01_r1/f1.txt" << QString(parent) + "/a100000_m01_r1/f2.txt";
    }
    QTemporaryDir root;
    QVERIFY(ResultDirWriter::make(root.path(), files));
    ResultDirScan scan;
    QVERIFY(scan.readSearchDir(root.path(), "N2"));
    QCOMPARE(scan.tableRows, QStringList{"a100000_m01_r1"});
    QCOMPARE(scan.searchDirPaths.value("a100000_m01_r1"), root.path() + "/s2/a100000_m01_r1");
}

void TestResultDirScan::searchWithoutTextFilesIsEmpty() {
    QTemporaryDir root;
    QVERIFY(ResultDirWriter::make(root.path(), {"a163000_m01_r3/f.dat", "x.txt"}));
    ResultDirScan scan;
    scan.tableRows = QStringList{"old"};
    QSignalSpy spy(&scan, &ResultDirScan::progress);
    // The scan lets the event loop run, so it holds the guard that refuses new work meanwhile.
    bool busyThroughout = true;
    connect(&scan, &ResultDirScan::progress, this,
            [&]() { busyThroughout = busyThroughout && BusyGuard::busy(); });
    QVERIFY(scan.readSearchDir(root.path(), "N4"));
    QVERIFY(busyThroughout);
    QVERIFY(!BusyGuard::busy());
    QVERIFY(scan.tableRows.isEmpty());
    QVERIFY(scan.allRows.isEmpty());
    QCOMPARE(spy.last().at(0).toInt(), 100);
}

QTEST_MAIN(TestResultDirScan)
#include "tst_resultdirscan.moc"
