#include "numerics/pulsarcalculate.h"
#include "support/obsfilewriter.h"
#include "support/recordfixture.h"

#include <QtTest>

#include <cmath>

namespace {

ObsFileWriter::Description rampDescription() {
    ObsFileWriter::Description d;
    d.npoints = 6000;
    d.rays = 2;
    d.timeBegin = "01:00:00";
    d.value = [](int p, int, int r, int c) { return 0.5f * float(p) + float(c) + 1000.0f * float(r); };
    return d;
}

void setUp(PulsarCalculate& pc, const Data& d, const QString& action) {
    pc.data = d;
    pc.module = 0;
    pc.channel = 2;
    pc.ray = 1;
    pc.action = action;
}

void freeRaw(PulsarCalculate& pc) {
    for (float* p : pc.rawGrafiks) {
        delete[] p;
    }
    pc.rawGrafiks.clear();
}

} // namespace

class TestPulsarCalculateFold : public QObject {
    Q_OBJECT
private slots:
    void nativeView_data();
    void nativeView();
    void refusals_data();
    void refusals();
    void foldDefaultPeriod();
    void foldRefusesShortWindowAndPeriod_data();
    void foldRefusesShortWindowAndPeriod();
    void pointFromOrvUtc_data();
    void pointFromOrvUtc();
    void timeOfPoint();
};

void TestPulsarCalculateFold::nativeView_data() {
    QTest::addColumn<bool>("orvUtc");
    QTest::addColumn<int>("first");
    QTest::addColumn<QString>("report");
    QTest::newRow("first point")
        << false << 100 << "Native data without summation\nFirst point = 100\nNumber of points = 500";
    QTest::newRow("clock time") << true << 4803
                                << "Native data without summation\nFirst point time = 01:01:00\n"
                                   "First point = 4803\nNumber of points = 500";
}

void TestPulsarCalculateFold::nativeView() {
    QFETCH(bool, orvUtc);
    QFETCH(int, first);
    QFETCH(QString, report);
    RecordFixture::Owned rec(rampDescription());
    PulsarCalculate pc("grafik");
    setUp(pc, rec.data, "showNative");
    pc.firstPoint = 100;
    pc.count = 500;
    pc.isOrvUtc = orvUtc;
    pc.orvUtc = "01:01:00";
    pc.orvUtcDelta = 10;
    QVERIFY(pc.calculate());
    QCOMPARE(pc.infoText, report);
    QCOMPARE(pc.firstPoint, first);
    QCOMPARE(pc.count, 500);
    if (orvUtc) {
        QCOMPARE(pc.firstPointDelta, 800); // 10 s at 12.4928 ms, rounded
    }
    QCOMPARE(pc.grafikNames, QVector<QString>({"native data", "approximation by polinom 5"}));
    QCOMPARE(pc.grafikVisible, QVector<bool>(2, true));
    QCOMPARE(pc.arrGrafiks.size(), 2);
    for (int i = 0; i < 500; i += 37) {
        const float expected = 0.5f * float(first + i) + 2.0f + 1000.0f;
        QCOMPARE(pc.arrGrafiks[0][i], expected);
        QVERIFY(std::abs(pc.arrGrafiks[1][i] - expected) < 0.05f);
    }
    QCOMPARE(pc.arrX1.size(), 500);
    QCOMPARE(pc.stepX1, 2);
    QCOMPARE(pc.stepX2, 1);
    for (int i : {0, 1, 399, 499}) {
        const qint64 ms = qint64(std::floor(12.4928 * (first + i)));
        QCOMPARE(pc.arrX1[i], rec.data.startDateTime.addMSecs(ms).toString("hh:mm:ss"));
    }
    if (!orvUtc) {
        QCOMPARE(pc.arrX1[0], QString("01:00:01"));
    }
}

void TestPulsarCalculateFold::refusals_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("module");
    QTest::addColumn<int>("channel");
    QTest::addColumn<int>("ray");
    QTest::addColumn<int>("first");
    QTest::addColumn<QString>("line");
    QTest::newRow("module") << "showNative" << 1 << 0 << 0 << 0 << "Error of module, must be: module < 1";
    QTest::newRow("negative channel")
        << "sumPeriod" << 0 << -1 << 0 << 0 << "Error of channel, must be: channels < 33";
    QTest::newRow("extra channel is the last")
        << "sumPeriod" << 0 << 33 << 0 << 0 << "Error of channel, must be: channels < 33";
    QTest::newRow("ray") << "showNative" << 0 << 0 << 2 << 0 << "Error ray, must be: rays < 2";
    QTest::newRow("first point past the end")
        << "sumPeriod" << 0 << 0 << 0 << 7000 << "Error! empty window: firstPoint= 7000 data.npoints= 6000";
    QTest::newRow("first point at the end")
        << "showNative" << 0 << 0 << 0 << 6000 << "Error! empty window: firstPoint= 6000 data.npoints= 6000";
}

void TestPulsarCalculateFold::refusals() {
    QFETCH(QString, action);
    QFETCH(int, module);
    QFETCH(int, channel);
    QFETCH(int, ray);
    QFETCH(int, first);
    QFETCH(QString, line);
    RecordFixture::Owned rec(rampDescription());
    PulsarCalculate pc("grafik");
    setUp(pc, rec.data, action);
    pc.module = module;
    pc.channel = channel;
    pc.ray = ray;
    pc.firstPoint = first;
    QTest::ignoreMessage(QtDebugMsg, qPrintable(line));
    QVERIFY(!pc.calculate());
    QVERIFY(pc.arrGrafiks.isEmpty());
    QVERIFY(pc.rawGrafiks.isEmpty());
}

void TestPulsarCalculateFold::foldDefaultPeriod() {
    // A pulse of height 100 every 3.032072 s at phase 100.3 samples: the profile has 242 bins (the period
    // is 242.7 samples, so the phase reaches bin 242, past the profile, once per period).
    ObsFileWriter::Description d;
    d.npoints = 30000;
    d.rays = 1;
    ObsFileWriter::PulseTrain train;
    train.period = 3.032072;
    train.phase = 100.3 * 0.0124928;
    d.value = ObsFileWriter::pulseTrain(d, train);
    RecordFixture::Owned rec(d);
    PulsarCalculate pc("grafik");
    setUp(pc, rec.data, "sumPeriod");
    pc.channel = 31;
    pc.ray = 0;
    pc.period = 0;
    pc.count = 25000;
    QVERIFY(pc.calculate());
    struct Free {
        PulsarCalculate& pc;
        ~Free() { freeRaw(pc); }
    } release{pc};
    QCOMPARE(pc.period, 3.032072);
    QCOMPARE(pc.infoText,
             QString("Summation on period\nPeriod = 3.03207\nFirst point = 0\nNumber of points = 25000"));
    QCOMPARE(pc.grafikPoints, 242);
    QCOMPARE(pc.count, 242);
    QCOMPARE(pc.resultPoints, 242);
    QCOMPARE(pc.rawGrafiks.size(), 1);
    QCOMPARE(pc.grafikNames, QVector<QString>({"sum on period"}));
    QCOMPARE(pc.grafikVisible, QVector<bool>({true}));
    const float* q = pc.rawGrafiks[0];
    double total = 0;
    int best = 0;
    for (int j = 0; j < 242; ++j) {
        total += q[j];
        best = q[j] > q[best] ? j : best;
    }
    // 25000 points hold 103 whole periods; every pulse lands within a bin of its phase.
    QVERIFY2(best >= 99 && best <= 101, qPrintable(QString::number(best)));
    QVERIFY(q[best - 1] + q[best] + q[best + 1] >= 100.0f * 100);
    QVERIFY(total <= 100.0 * 103);
}

void TestPulsarCalculateFold::foldRefusesShortWindowAndPeriod_data() {
    QTest::addColumn<double>("period");
    QTest::addColumn<int>("count");
    QTest::newRow("period below one sample") << 0.01 << 5000;
    QTest::newRow("window shorter than the period") << 3.032072 << 241;
    QTest::newRow("huge period") << 1e300 << 5000;
}

void TestPulsarCalculateFold::foldRefusesShortWindowAndPeriod() {
    QFETCH(double, period);
    QFETCH(int, count);
    RecordFixture::Owned rec(rampDescription());
    PulsarCalculate pc("grafik");
    setUp(pc, rec.data, "sumPeriod");
    pc.period = period;
    pc.count = count;
    QVERIFY(!pc.calculate());
    QVERIFY(pc.rawGrafiks.isEmpty());
}

void TestPulsarCalculateFold::pointFromOrvUtc_data() {
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("time");
    QTest::addColumn<int>("point");
    QTest::addColumn<bool>("refused");
    const auto at = [](int secs) { return int(std::round(secs * 1000 / 12.4928)); };
    QTest::newRow("start") << "12:00:00"
                           << "12:00:00" << 0 << false;
    QTest::newRow("inside") << "12:00:00"
                            << "12:30:15" << at(30 * 60 + 15) << false;
    QTest::newRow("end of the hour") << "12:00:00"
                                     << "13:00:00" << 0 << false;
    QTest::newRow("before") << "12:00:00"
                            << "11:59:59" << 0 << true;
    QTest::newRow("after the hour") << "12:00:00"
                                    << "13:00:01" << 0 << true;
    QTest::newRow("not a time") << "12:00:00"
                                << "12:30" << 0 << true;
    QTest::newRow("23:00 start, before midnight") << "23:00:00"
                                                  << "23:59:59" << at(59 * 60 + 59) << false;
    QTest::newRow("23:00 start, midnight") << "23:00:00"
                                           << "00:00:00" << 0 << false;
    QTest::newRow("23:30 start, after midnight") << "23:30:00"
                                                 << "00:10:00" << at(600) << false;
    QTest::newRow("23:30 start, past the hour") << "23:30:00"
                                                << "00:30:01" << 0 << true;
    QTest::newRow("23:00 start, the evening before") << "23:00:00"
                                                     << "22:59:59" << 0 << true;
}

void TestPulsarCalculateFold::pointFromOrvUtc() {
    QFETCH(QString, start);
    QFETCH(QString, time);
    QFETCH(int, point);
    QFETCH(bool, refused);
    PulsarCalculate pc("grafik");
    pc.data.tresolution = 12.4928;
    pc.data.startDateTime = QDateTime(QDate(2020, 3, 2), QTime::fromString(start, "hh:mm:ss"));
    if (refused) {
        QTest::ignoreMessage(QtDebugMsg, "ERROR! Bad orvUtc!");
    }
    QCOMPARE(pc.getPointFromOrvUtc(time), point);
}

void TestPulsarCalculateFold::timeOfPoint() {
    const QDateTime start(QDate(2020, 3, 2), QTime(23, 59, 58));
    QCOMPARE(PulsarCalculate::getTimeOfPoint(0, start, 12.4928), QString("23:59:58"));
    // 80 points are 999.424 ms: truncated, still the same second.
    QCOMPARE(PulsarCalculate::getTimeOfPoint(80, start, 12.4928), QString("23:59:58"));
    QCOMPARE(PulsarCalculate::getTimeOfPoint(81, start, 12.4928), QString("23:59:59"));
    QCOMPARE(PulsarCalculate::getTimeOfPoint(161, start, 12.4928), QString("00:00:00"));
}

QTEST_GUILESS_MAIN(TestPulsarCalculateFold)
#include "tst_pulsarcalculate_fold.moc"
