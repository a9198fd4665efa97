#include "numerics/pulsarcalculate.h"

#include <QtTest>

#include <cstring>
#include <vector>

// An observation record in memory: one module, 33 channels (32 bands + the extra one), one ray. Bands
// 0..30 at 109.0 MHz and the reference band 31 at 111.5 MHz, so at the ordinary sampling interval every
// band channel lags the reference by the same number of points.
static Data spikeRecord(int npoints, const QString& path = QStringLiteral("/obs/010121_02_N1_00.pnt")) {
    Data d;
    d.modules = 1;
    d.channels = 33;
    d.rays = 1;
    d.npoints = npoints;
    d.tresolution = 12.4928;
    d.tres = 0.0124928;
    d.filePath = path;
    d.fileName = path.section('/', -1);
    for (int c = 0; c < 31; ++c) {
        d.fbands.append(109.0);
    }
    d.fbands.append(111.5);
    d.fbands.append(0);
    if (!allocSamples(d)) {
        qFatal("fixture allocation failed");
    }
    return d;
}

// Owns a record's samples for the length of a test.
struct RecordHolder {
    Data data;
    explicit RecordHolder(Data d) : data(std::move(d)) {}
    ~RecordHolder() { freeSamples(data); }
};

static void freeRaw(PulsarCalculate& pc) {
    for (float* p : pc.rawGrafiks) {
        delete[] p;
    }
    pc.rawGrafiks.clear();
}

class TestPulsarCalculate : public QObject {
    Q_OBJECT
private slots:
    void dispersionConstantBits();
    void defaults();
    void preamble_data();
    void preamble();
    void unknownActionEmptiesOutputs();
    void spikeShift_data();
    void spikeShift();
    void demoWithoutBaseline();
};

void TestPulsarCalculate::dispersionConstantBits() {
    quint64 bits = 0;
    std::memcpy(&bits, &dispersionConstant, sizeof bits);
    QCOMPARE(bits, Q_UINT64_C(0x40B034CCCCCCCCCC));
    const double rounded = 4148.8;
    std::memcpy(&bits, &rounded, sizeof bits);
    QCOMPARE(bits, Q_UINT64_C(0x40B034CCCCCCCCCD));
}

void TestPulsarCalculate::defaults() {
    PulsarCalculate pc("grafik");
    QCOMPARE(pc.mode, QString("grafik"));
    QCOMPARE(pc.channel, -1);
    QCOMPARE(pc.module, -1);
    QCOMPARE(pc.ray, -1);
    QCOMPARE(pc.count, 0);
    QCOMPARE(pc.period, -1.0);
    QCOMPARE(pc.dispersion, -1.0);
    QCOMPARE(pc.firstPoint, -1);
    QCOMPARE(pc.firstPointDelta, 100);
    QCOMPARE(pc.dispersions, QVector<double>({0, 33, 66, 100}));
    QCOMPARE(pc.maxSigma, 5);
    QCOMPARE(pc.noiseMethod, QString("polinom5"));
    QCOMPARE(pc.data.modules, -1);
    QVERIFY(pc.parent() == nullptr);
    QVERIFY(!pc.multiResultShown);
}

void TestPulsarCalculate::preamble_data() {
    QTest::addColumn<int>("firstPoint");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("wantFirst");
    QTest::addColumn<int>("wantCount");
    QTest::newRow("count 0") << 100 << 0 << 100 << 900;
    QTest::newRow("negative count") << 100 << -7 << 100 << 900;
    QTest::newRow("count too large") << 100 << 901 << 100 << 900;
    QTest::newRow("count fits exactly") << 100 << 900 << 100 << 900;
    QTest::newRow("count kept") << 100 << 50 << 100 << 50;
    QTest::newRow("firstPoint -1") << -1 << 0 << 0 << 1000;
    QTest::newRow("firstPoint 0") << 0 << 10 << 0 << 10;
    QTest::newRow("firstPoint 1 stays") << 1 << 0 << 1 << 999;
}

void TestPulsarCalculate::preamble() {
    QFETCH(int, firstPoint);
    QFETCH(int, count);
    QFETCH(int, wantFirst);
    QFETCH(int, wantCount);
    PulsarCalculate pc("grafik");
    pc.data.npoints = 1000;
    pc.firstPoint = firstPoint;
    pc.count = count;
    QVERIFY(pc.calculate());
    QCOMPARE(pc.firstPoint, wantFirst);
    QCOMPARE(pc.count, wantCount);
}

void TestPulsarCalculate::unknownActionEmptiesOutputs() {
    for (const QString& name : {QString(), QString("noSuchAction"), QString("sumchannelsdemonoise")}) {
        PulsarCalculate pc("grafik");
        pc.arrGrafiks.append(QVector<float>(3));
        float stale[2] = {0, 0};
        pc.rawGrafiks.append(stale);
        pc.markers.append(1);
        pc.grafikVisible.append(true);
        pc.grafikNames.append("old");
        pc.arrX0.append("a");
        pc.arrX1.append("b");
        pc.arrX2.append("c");
        pc.stepX1 = 2;
        pc.infoText = "old report";
        pc.savedInfoText = "saved";
        pc.grafikPoints = 7;
        pc.action = name;
        QVERIFY(pc.calculate());
        QVERIFY(pc.arrGrafiks.isEmpty());
        QVERIFY(pc.rawGrafiks.isEmpty());
        QVERIFY(pc.markers.isEmpty());
        QVERIFY(pc.grafikVisible.isEmpty());
        QVERIFY(pc.grafikNames.isEmpty());
        QVERIFY(pc.arrX0.isEmpty() && pc.arrX1.isEmpty() && pc.arrX2.isEmpty());
        QCOMPARE(pc.stepX0, 1);
        QCOMPARE(pc.stepX1, 1);
        QCOMPARE(pc.stepX2, 1);
        QCOMPARE(pc.infoText, QString(""));
        QCOMPARE(pc.savedInfoText, QString("saved"));
        QCOMPARE(pc.grafikPoints, 7);
    }
}

void TestPulsarCalculate::spikeShift_data() {
    QTest::addColumn<double>("dm");
    QTest::addColumn<bool>("forward");
    QTest::addColumn<int>("landsAt");
    QTest::newRow("DM 50 forward") << 50.0 << true << 1000;
    QTest::newRow("DM 50 reverse") << 50.0 << false << 1124;
    QTest::newRow("DM 100 forward") << 100.0 << true << 1162 - 100 - 124;
    QTest::newRow("DM 100 reverse") << 100.0 << false << 1162 - 100 + 124;
    QTest::newRow("DM 0") << 0.0 << true << 1062;
}

void TestPulsarCalculate::spikeShift() {
    QFETCH(double, dm);
    QFETCH(bool, forward);
    QFETCH(int, landsAt);
    RecordHolder rec(spikeRecord(20000));
    rec.data.samples[0][0][0][1162] = 1;
    PulsarCalculate pc("grafik");
    pc.data = rec.data;
    pc.module = 0;
    pc.ray = 0;
    pc.firstPoint = 100;
    const int n = 2000;
    std::vector<double> out(n, -1);
    QVERIFY(pc.sumChannels(out.data(), n, dm, forward));
    std::vector<float> outF(n, -1);
    QVERIFY(pc.sumChannelsFloat(outF.data(), n, dm, forward));
    for (int k = 0; k < n; ++k) {
        const double want = k == landsAt ? 1 : 0;
        QCOMPARE(out[k], want);
        QCOMPARE(double(outF[k]), want);
    }
}

void TestPulsarCalculate::demoWithoutBaseline() {
    RecordHolder rec(spikeRecord(20000));
    rec.data.samples[0][31][0][200] = 3;
    PulsarCalculate pc("grafik");
    pc.data = rec.data;
    pc.module = 0;
    pc.ray = 0;
    pc.firstPoint = 100;
    pc.dispersion = 50;
    pc.noiseMethod = "without";
    pc.action = "sumChannelsDemoNoise";
    QVERIFY(pc.calculate());
    QCOMPARE(pc.rawGrafiks.size(), 1);
    QCOMPARE(pc.grafikNames, QVector<QString>({"sum on canals"}));
    QCOMPARE(pc.grafikVisible, QVector<bool>({true}));
    QCOMPARE(pc.count, 16384);
    QCOMPARE(pc.grafikPoints, 16384);
    QCOMPARE(pc.rawGrafiks[0][100], 3.0f);
    QCOMPARE(pc.infoText, QString("One summation of channels\nDispersion = 50\nFirst point = 100\n"
                                  "Number of points is fixed - 16384\nWithow deduct noise base line"));
    freeRaw(pc);
}

QTEST_GUILESS_MAIN(TestPulsarCalculate)
#include "tst_pulsarcalculate.moc"
