#include "core/tools.h"

#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <cstdlib>
#include <limits>

namespace {
const double notANumber = std::numeric_limits<double>::quiet_NaN();
}

class TestToolsGeneral : public QObject {
    Q_OBJECT
private slots:
    void timeStrings_data();
    void timeStrings();
    void addSecs_data();
    void addSecs();
    void splitsAndMultiples();
    void powers();
    void pointsAfterHalving_data();
    void pointsAfterHalving();
    void roundHalfDown_data();
    void roundHalfDown();
    void doublingsBelowHalf_data();
    void doublingsBelowHalf();
    void decimalsFor_data();
    void decimalsFor();
    void valueIsSane_data();
    void valueIsSane();
    void lists();
    void comparators();
    void arrayFiles();
};

void TestToolsGeneral::timeStrings_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QTime>("time");
    QTest::newRow("plain") << "12:30:45" << true << QTime(12, 30, 45);
    QTest::newRow("hour 24 passes, time invalid") << "24:59:59" << true << QTime();
    QTest::newRow("minute 60") << "12:60:00" << false << QTime(0, 0, 0);
    QTest::newRow("seven characters") << "1:30:45" << false << QTime(0, 0, 0);
    QTest::newRow("dashes") << "12-30-45" << false << QTime(0, 0, 0);
    QTest::newRow("letters count as 0") << "ab:cd:ef" << true << QTime(0, 0, 0);
    QTest::newRow("negative part") << "-1:30:45" << false << QTime(0, 0, 0);
}

void TestToolsGeneral::timeStrings() {
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(QTime, time);
    QCOMPARE(Tools::isTimeString(text), valid);
    QCOMPARE(Tools::timeFromString(text), time);
}

void TestToolsGeneral::addSecs_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("secs");
    QTest::addColumn<QString>("result");
    QTest::newRow("past midnight") << "23:59:30" << 45 << "00:00:15";
    QTest::newRow("back past midnight") << "00:00:10" << -20 << "23:59:50";
    QTest::newRow("not a time") << "xx" << 5 << "";
    QTest::newRow("hour 24") << "24:00:00" << 5 << "";
}

void TestToolsGeneral::addSecs() {
    QFETCH(QString, text);
    QFETCH(int, secs);
    QTEST(Tools::addSecsToTimeString(text, secs), "result");
}

void TestToolsGeneral::splitsAndMultiples() {
    const Tools::DaysMs d = Tools::splitDaysMs(90000000);
    QCOMPARE(d.days, 1);
    QCOMPARE(d.msOfDay, 3600000);
    const Tools::DaysMs neg = Tools::splitDaysMs(-90000000);
    QCOMPARE(neg.days, -1);
    QCOMPARE(neg.msOfDay, -3600000);
    Tools::NearestMultiple m = Tools::nearestMultiple(10.0, 3.0);
    QCOMPARE(m.n, 3);
    QCOMPARE(m.rest, 1.0);
    m = Tools::nearestMultiple(11.0, 3.0);
    QCOMPARE(m.n, 4);
    QCOMPARE(m.rest, -1.0);
    QCOMPARE(Tools::dateDdMmYyToYyyyMmDd("13.05.21"), QStringLiteral("2021.05.13"));
    QCOMPARE(Tools::nextDay("2020.02.28"), QStringLiteral("2020.02.29"));
    QCOMPARE(Tools::nextDay("2020.12.31"), QStringLiteral("2021.01.01"));
}

void TestToolsGeneral::powers() {
    QCOMPARE(Tools::power(2.0, -3), 2.0);
    QCOMPARE(Tools::power(2.0, 0), 1.0);
    QCOMPARE(Tools::power(1.5, 3), 1.5 * (1.5 * 1.5));
    QCOMPARE(Tools::power(2.0f, 4), 16.0f);
    QCOMPARE(Tools::powerInt(3, 0), 1);
    QCOMPARE(Tools::powerInt(2, 10), 1024);
    QCOMPARE(Tools::powerInt(-3, 3), -27);
    QCOMPARE(Tools::powerInt(5, -2), 5);
    // Wraps like 32-bit arithmetic, without undefined behaviour.
    QCOMPARE(Tools::powerInt(2, 31), std::numeric_limits<int>::min());
    QCOMPARE(Tools::powerInt(2, 32), 0);
    QCOMPARE(Tools::powerInt(3, 21), int(uint32_t(10460353203ULL)));
}

void TestToolsGeneral::pointsAfterHalving_data() {
    QTest::addColumn<int>("points");
    QTest::addColumn<int>("halvings");
    QTest::addColumn<bool>("withNull");
    QTest::addColumn<int>("result");
    QTest::newRow("3 halvings") << 16384 << 3 << false << 2048;
    QTest::newRow("3 halvings with nulls") << 16384 << 3 << true << 4096;
    QTest::newRow("none with nulls") << 1000 << 0 << true << 2000;
    QTest::newRow("odd") << 7 << 1 << false << 3;
    QTest::newRow("negative halvings") << 7 << -4 << false << 3;
    QTest::newRow("huge shift") << 16384 << 40 << false << 0;
}

void TestToolsGeneral::pointsAfterHalving() {
    QFETCH(int, points);
    QFETCH(int, halvings);
    QFETCH(bool, withNull);
    QTEST(Tools::pointsAfterHalving(points, halvings, withNull), "result");
}

void TestToolsGeneral::roundHalfDown_data() {
    QTest::addColumn<double>("x");
    QTest::addColumn<int>("result");
    QTest::newRow("2.5") << 2.5 << 2;
    QTest::newRow("2.51") << 2.51 << 3;
    QTest::newRow("-2.5") << -2.5 << -2;
    QTest::newRow("-2.7") << -2.7 << -3;
    QTest::newRow("0.5") << 0.5 << 0;
    QTest::newRow("0.6") << 0.6 << 1;
    QTest::newRow("-0.6") << -0.6 << -1;
    QTest::newRow("NaN") << notANumber << 0;
    QTest::newRow("beyond int") << 1e12 << std::numeric_limits<int>::max();
}

void TestToolsGeneral::roundHalfDown() {
    QFETCH(double, x);
    QTEST(Tools::roundHalfDown(x), "result");
}

void TestToolsGeneral::doublingsBelowHalf_data() {
    QTest::addColumn<double>("a");
    QTest::addColumn<double>("b");
    QTest::addColumn<int>("result");
    QTest::newRow("two doublings") << 1.0 << 0.1 << 2;
    QTest::newRow("already at half") << 1.0 << 0.5 << 0;
    QTest::newRow("below half once") << 1.0 << 0.3 << 0;
    QTest::newRow("profile resolution") << 10.0 << 0.0124928 << 8;
    QTest::newRow("NaN a") << notANumber << 0.1 << -1;
    QTest::newRow("NaN b") << 1.0 << notANumber << -1;
    QTest::newRow("zero b ends") << 1.0 << 0.0 << -1;
    QTest::newRow("negative b ends") << 1.0 << -0.1 << -1;
    QTest::newRow("infinite a ends") << std::numeric_limits<double>::infinity() << 1.0 << 1023;
}

void TestToolsGeneral::doublingsBelowHalf() {
    QFETCH(double, a);
    QFETCH(double, b);
    QTEST(Tools::doublingsBelowHalf(a, b), "result");
}

void TestToolsGeneral::decimalsFor_data() {
    QTest::addColumn<double>("x");
    QTest::addColumn<int>("result");
    QTest::newRow("100") << 100.0 << 2;
    QTest::newRow("100.5") << 100.5 << 1;
    QTest::newRow("1") << 1.0 << 2;
    QTest::newRow("0.5") << 0.5 << 2;
    QTest::newRow("0.1") << 0.1 << 2;
    QTest::newRow("0.099") << 0.099 << 3;
    QTest::newRow("0.05") << 0.05 << 3;
    QTest::newRow("0.01") << 0.01 << 3;
    QTest::newRow("0.005") << 0.005 << 4;
    QTest::newRow("1e-9") << 0.000000001 << 10;
    QTest::newRow("1e-300 stops") << 1e-300 << 10;
    QTest::newRow("zero") << 0.0 << 2;
    QTest::newRow("negative") << -5.0 << 2;
    QTest::newRow("NaN") << notANumber << 2;
}

void TestToolsGeneral::decimalsFor() {
    QFETCH(double, x);
    QTEST(Tools::decimalsFor(x), "result");
}

void TestToolsGeneral::valueIsSane_data() {
    QTest::addColumn<double>("x");
    QTest::addColumn<bool>("result");
    QTest::newRow("0") << 0.0 << true;
    QTest::newRow("-0.000001") << -0.000001 << false;
    QTest::newRow("0.00001") << 0.00001 << true;
    QTest::newRow("-100000") << -100000.0 << true;
    QTest::newRow("100000.5") << 100000.5 << false;
    QTest::newRow("NaN") << notANumber << false;
    QTest::newRow("inf") << std::numeric_limits<double>::infinity() << false;
}

void TestToolsGeneral::valueIsSane() {
    QFETCH(double, x);
    QTEST(Tools::valueIsSane(x), "result");
}

void TestToolsGeneral::lists() {
    QCOMPARE(Tools::wrapIndex(9, 8), 1);
    QCOMPARE(Tools::wrapIndex(3, 8), 3);
    QCOMPARE(Tools::wrapIndex(5, 0), 0);
    const QVector<QString> list{"a", "b", "b"};
    QCOMPARE(Tools::indexOfString(list, "b"), 1);
    QCOMPARE(Tools::indexOfString(list, "z"), 0);
    QCOMPARE(Tools::filledVector(1.5, 3), (QVector<double>{1.5, 1.5, 1.5}));
    QVERIFY(Tools::filledVector(1.5, -1).isEmpty());
    QVERIFY(Tools::isNearAny({1.0, 2.0}, 2.05, 0.1));
    QVERIFY(!Tools::isNearAny({1.0, 2.0}, 2.5, 0.1));
    QHash<QString, QString> kv;
    QVERIFY(Tools::parseKeyValue(" period = 0.714 ", kv));
    QCOMPARE(kv.value("period"), QStringLiteral("0.714"));
    QVERIFY(!Tools::parseKeyValue("no pair", kv));
    QCOMPARE(Tools::fractionOfRatio(7.0, 2.0), 0.5);
    QCOMPARE(Tools::wholeOfRatio(7.0, 2.0), 3.0);
    QCOMPARE(Tools::firstDecimalPlace(0.004), 3);
    QCOMPARE(Tools::firstDecimalPlace(0.0), 0);
    QCOMPARE(Tools::cacheName({"cache_2021", "cache_2022"}, 3), QStringLiteral("2021_2022"));
    QCOMPARE(Tools::cacheName({"cache_2021", "cache_2022"}, 2), QStringLiteral("all"));
    QCOMPARE(Tools::cacheYearsName({"cache_2021", "cache_all"}), QStringLiteral("all"));
}

void TestToolsGeneral::comparators() {
    QVector<double> v{3.0, notANumber, -1.0, 2.0};
    const double a = 1.0, b = 2.0;
    QCOMPARE(Tools::compareDoubles(&a, &b), -1);
    QCOMPARE(Tools::compareDoubles(&b, &a), 1);
    QCOMPARE(Tools::compareDoubles(&a, &a), 0);
    QCOMPARE(Tools::compareDoubles(&a, &v[1]), 0);
    QVector<double> sorted{3.0, -1.0, 2.0, 0.5};
    std::qsort(sorted.data(), size_t(sorted.size()), sizeof(double), Tools::compareDoubles);
    QCOMPARE(sorted, (QVector<double>{-1.0, 0.5, 2.0, 3.0}));
    // As a std::sort comparator NaN goes last, keeping the order strict.
    QVector<double> withNaN{3.0, notANumber, -1.0, notANumber, 2.0};
    std::sort(withNaN.begin(), withNaN.end(), Tools::lessDoubles);
    QCOMPARE(withNaN.mid(0, 3), (QVector<double>{-1.0, 2.0, 3.0}));
    QVERIFY(std::isnan(withNaN[3]) && std::isnan(withNaN[4]));

    QStringList texts{"b", "B", "a"};
    std::sort(texts.begin(), texts.end(), Tools::greaterString);
    QCOMPARE(texts, (QStringList{"b", "a", "B"}));
    std::sort(texts.begin(), texts.end(), Tools::lessString);
    QCOMPARE(texts, (QStringList{"B", "a", "b"}));
    QStringList numbered{"2.5_x", "10_y", "abc_z"};
    std::sort(numbered.begin(), numbered.end(), Tools::greaterLeadingNumber);
    QCOMPARE(numbered, (QStringList{"10_y", "2.5_x", "abc_z"}));
}

void TestToolsGeneral::arrayFiles() {
    QTemporaryDir dir;
    const QString path = dir.filePath("arr.txt");
    QVERIFY(Tools::writeArrToFile(path, {1.0, 2.25, -3.5}));
    QCOMPARE(Tools::readDoubleArr(path), (QVector<double>{1.0, 2.25, -3.5}));
    QCOMPARE(Tools::readFloatArr(path), (QVector<float>{1.0f, 2.25f, -3.5f}));
    QCOMPARE(Tools::readArr(path), (QVector<int>{1, 2, -3}));
    QVERIFY(Tools::addArrToFile(dir.filePath("add.txt"), {1.0, 2.0}));
    QVERIFY(Tools::addArrToFile(dir.filePath("add.txt"), {3.0}));
    QFile f(dir.filePath("add.txt"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("1.0000 2.0000\n3.0000\n"));
    QFile w(path);
    QVERIFY(w.open(QIODevice::ReadOnly));
    QCOMPARE(w.readAll(), QByteArray("1.000\n2.250\n-3.500\n"));
}

QTEST_MAIN(TestToolsGeneral)
#include "tst_toolsgeneral.moc"
