#include "numerics/approximationd.h"
#include "numerics/pulsarcalculate.h"
#include "support/recordfixture.h"

#include <QtTest>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

// An observation record in memory: one module, 33 channels (32 bands + the extra one), one ray. Bands
// 0..30 at 109.0 MHz and the reference band 31 at 111.5 MHz, so at the ordinary sampling interval every
// band channel lags the reference by the same number of points.
static Data spikeRecord(int npoints, const QString& path = QStringLiteral("/obs/010121_02_N1_00.pnt")) {
    Data d = RecordFixture::shaped(1, 33, 1, npoints);
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

// Counts the debug lines written while it lives, for the refusals that must stay silent.
class LineCounter {
public:
    LineCounter() : previous(qInstallMessageHandler(&LineCounter::handler)) { lines = 0; }
    ~LineCounter() { qInstallMessageHandler(previous); }
    static int lines;

private:
    static void handler(QtMsgType, const QMessageLogContext&, const QString&) { ++lines; }
    QtMessageHandler previous;
};
int LineCounter::lines = 0;

static void freeRaw(PulsarCalculate& pc) {
    for (float* p : pc.rawGrafiks) {
        delete[] p;
    }
    pc.rawGrafiks.clear();
}

// The receiver of the handed-out curves frees them, also when a check fails half-way.
struct RawCurves {
    PulsarCalculate& pc;
    ~RawCurves() { freeRaw(pc); }
};

class TestPulsarCalculate : public QObject {
    Q_OBJECT
private slots:
    void dispersionConstantBits();
    void defaults();
    void preamble_data();
    void preamble();
    void clockTimeStep_data();
    void clockTimeStep();
    void unknownActionEmptiesOutputs();
    void spikeShift_data();
    void spikeShift();
    void demoWithoutBaseline();
    void sumWindowBound();
    void sumRefusesBadInput_data();
    void sumRefusesBadInput();
    void sumPastEndRefused();
    void reverseSumNeverReadsBeforeStart();
    void brokenSamplesCountAsZero();
    void deleteStep();
    void deleteStepOnceInCalculate();
    void sigmaAndNormalisation();
    void subtractArraysChecks();
    void deductNoiseMethods_data();
    void deductNoiseMethods();
    void deductNoiseRemovesPolynomialBaseline();
    void demoMethods_data();
    void demoMethods();
    void demoNeedsFullWindow();
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
    QTest::newRow("firstPoint past the end") << 1200 << 5 << 1200 << 0;
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

void TestPulsarCalculate::clockTimeStep_data() {
    QTest::addColumn<bool>("isOrvUtc");
    QTest::addColumn<double>("tresolution");
    QTest::addColumn<int>("seconds");
    QTest::addColumn<int>("wantDelta");
    QTest::newRow("half rounds up") << true << 16.0 << 1 << 63;
    QTest::newRow("negative half rounds down") << true << 16.0 << -1 << -63;
    QTest::newRow("ordinary sampling") << true << 12.4928 << 60 << 4803;
    QTest::newRow("points given directly") << false << 16.0 << 1 << 100;
}

// The step of the time view follows the clock step when the first point is given as a clock time.
void TestPulsarCalculate::clockTimeStep() {
    QFETCH(bool, isOrvUtc);
    QFETCH(double, tresolution);
    QFETCH(int, seconds);
    QFETCH(int, wantDelta);
    PulsarCalculate pc("grafik");
    pc.data.npoints = 1000;
    pc.data.tresolution = tresolution;
    pc.data.tres = tresolution / 1000;
    pc.data.startDateTime = QDateTime(QDate(2021, 1, 1), QTime(12, 0, 0));
    pc.isOrvUtc = isOrvUtc;
    pc.orvUtc = "12:00:00";
    pc.orvUtcDelta = seconds;
    QVERIFY(pc.calculate());
    QCOMPARE(pc.firstPointDelta, wantDelta);
    QCOMPARE(pc.firstPoint, 0);
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
    RecordFixture::Owned rec(spikeRecord(20000));
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
    RecordFixture::Owned rec(spikeRecord(20000));
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

// Every band channel is the same slow ramp with a little deterministic noise, the extra channel a
// constant; enough structure for the baselines to have something to remove.
static void fillRamp(Data& d) {
    quint32 seed = 12345;
    for (int c = 0; c < d.channels; ++c) {
        float* s = d.samples[0][c][0];
        for (int p = 0; p < d.npoints; ++p) {
            seed = seed * 1664525u + 1013904223u;
            const double noise = (seed >> 8) / double(1 << 24) - 0.5;
            s[p] = c == 32 ? float(7 + noise) : float(10 + 2e-3 * p + 0.1 * noise);
        }
    }
}

static void setUp(PulsarCalculate& pc, const Data& d, int firstPoint) {
    pc.data = d;
    pc.module = 0;
    pc.ray = 0;
    pc.firstPoint = firstPoint;
}

void TestPulsarCalculate::sumWindowBound() {
    RecordFixture::Owned rec(spikeRecord(1000));
    PulsarCalculate pc("grafik");
    setUp(pc, rec.data, 99);
    std::vector<double> out(1000);
    std::vector<float> outF(1000);
    QVERIFY(pc.sumChannels(out.data(), 900, 0, true)); // firstPoint + count = npoints - 1
    QVERIFY(pc.sumChannelsFloat(outF.data(), 900, 0, true));
    QTest::ignoreMessage(QtDebugMsg,
                         "ERROR! PulsarCalculate::sumChannels : firstPoint + count) >= data.npoints");
    QVERIFY(!pc.sumChannels(out.data(), 901, 0, true));
    LineCounter silent; // the float sum refuses without a line
    QVERIFY(!pc.sumChannelsFloat(outF.data(), 901, 0, true));
    QCOMPARE(LineCounter::lines, 0);
}

void TestPulsarCalculate::sumRefusesBadInput_data() {
    QTest::addColumn<QString>("what");
    QTest::addColumn<QString>("message");
    QTest::newRow("module") << "module"
                            << "Error of module, must be: module < 1";
    QTest::newRow("negative module") << "module-"
                                     << "Error of module, must be: module < 1";
    QTest::newRow("ray") << "ray"
                         << "Error ray, must be: rays < 1";
    QTest::newRow("31 channels") << "channels"
                                 << "Error of channels, must be: channels >= 32 channels= 31";
    QTest::newRow("31 bands") << "fbands"
                              << "Error of fbands, must be: fbands >= 32 fbands= 31";
    QTest::newRow("zero band") << "band0"
                               << "Error of fbands, bad frequency of channel 5 f= 0";
    QTest::newRow("nan band") << "bandnan"
                              << "Error of fbands, bad frequency of channel 5 f= nan";
    QTest::newRow("tres 0") << "tres"
                            << "Error of tres, must be: tres > 0, tres= 0";
    QTest::newRow("no samples") << "samples"
                                << "Error of data! data.npoints= 1000";
    QTest::newRow("null out") << "out"
                              << "Error: bad dataOut0!";
    QTest::newRow("negative dm") << "dm"
                                 << "";
    QTest::newRow("count 0") << "count"
                             << "";
}

void TestPulsarCalculate::sumRefusesBadInput() {
    QFETCH(QString, what);
    QFETCH(QString, message);
    RecordFixture::Owned rec(spikeRecord(1000));
    PulsarCalculate pc("grafik");
    setUp(pc, rec.data, 0);
    int n = 100;
    double dm = 10;
    std::vector<double> buffer(100, -5);
    double* out = buffer.data();
    if (what == "module") {
        pc.module = 1;
    } else if (what == "module-") {
        pc.module = -1;
    } else if (what == "ray") {
        pc.ray = 1;
    } else if (what == "channels") {
        pc.data.channels = 31;
    } else if (what == "fbands") {
        pc.data.fbands.resize(31);
    } else if (what == "band0") {
        pc.data.fbands[5] = 0;
    } else if (what == "bandnan") {
        pc.data.fbands[5] = std::nan("");
    } else if (what == "tres") {
        pc.data.tres = 0;
    } else if (what == "samples") {
        pc.data.samples = nullptr;
    } else if (what == "out") {
        out = nullptr;
    } else if (what == "dm") {
        dm = -1;
    } else if (what == "count") {
        n = 0;
    }
    if (message.isEmpty()) {
        LineCounter silent;
        QVERIFY(!pc.sumChannels(out, n, dm, true));
        QCOMPARE(LineCounter::lines, 0);
    } else {
        QTest::ignoreMessage(QtDebugMsg, qPrintable(message));
        QVERIFY(!pc.sumChannels(out, n, dm, true));
    }
    QCOMPARE(buffer[0], -5.0);
}

void TestPulsarCalculate::sumPastEndRefused() {
    // The reference window fits (100 + 19800 < 20000) but channel 30, 124 points later at DM 100, does
    // not: no partial sum is handed out as a success.
    RecordFixture::Owned rec(spikeRecord(20000));
    PulsarCalculate pc("grafik");
    setUp(pc, rec.data, 100);
    std::vector<double> out(19800);
    QTest::ignoreMessage(QtDebugMsg, "Error! j>npoints!!! i= 19776 j= 20000 data.npoints= 20000");
    QTest::ignoreMessage(QtDebugMsg, "STOP! k= 30");
    QVERIFY(!pc.sumChannels(out.data(), 19800, 100, true));
    std::vector<float> outF(19800);
    QTest::ignoreMessage(QtDebugMsg, "Error! j>npoints!!! i= 19776 j= 20000 data.npoints= 20000");
    QVERIFY(!pc.sumChannelsFloat(outF.data(), 19800, 100, true));
    // The reverse direction reads earlier points and still fits.
    QVERIFY(pc.sumChannels(out.data(), 19800, 100, false));
}

void TestPulsarCalculate::reverseSumNeverReadsBeforeStart() {
    RecordFixture::Owned rec(spikeRecord(2000));
    for (int c = 0; c < 32; ++c) {
        for (int p = 0; p < 2000; ++p) {
            rec.data.samples[0][c][0][p] = 1;
        }
    }
    PulsarCalculate pc("grafik");
    setUp(pc, rec.data, 0);
    std::vector<double> out(1000);
    QVERIFY(pc.sumChannels(out.data(), 1000, 100, false));
    // Channels 0..30 start 124 points before point 0: those points count as 0.
    QCOMPARE(out[0], 1.0);
    QCOMPARE(out[123], 1.0);
    QCOMPARE(out[124], 32.0);
    QCOMPARE(out[999], 32.0);
    std::vector<float> outF(1000);
    QVERIFY(pc.sumChannelsFloat(outF.data(), 1000, 100, false));
    QCOMPARE(outF[123], 1.0f);
    QCOMPARE(outF[124], 32.0f);
}

// NaN and infinite samples of a damaged file add nothing, in the sums and in the native window alike.
void TestPulsarCalculate::brokenSamplesCountAsZero() {
    RecordFixture::Owned rec(spikeRecord(2000));
    for (int c = 0; c < 32; ++c) {
        for (int p = 0; p < 2000; ++p) {
            rec.data.samples[0][c][0][p] = 1;
        }
    }
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    rec.data.samples[0][31][0][10] = nan; // reference channel
    rec.data.samples[0][0][0][20] = inf;
    rec.data.samples[0][1][0][20] = -inf;
    rec.data.samples[0][5][0][30] = nan;
    PulsarCalculate pc("grafik");
    setUp(pc, rec.data, 0);
    std::vector<double> out(1000);
    QVERIFY(pc.sumChannels(out.data(), 1000, 0, true));
    std::vector<float> outF(1000);
    QVERIFY(pc.sumChannelsFloat(outF.data(), 1000, 0, true));
    for (int k = 0; k < 1000; ++k) {
        const double want = k == 10 || k == 30 ? 31 : k == 20 ? 30 : 32;
        QCOMPARE(out[k], want);
        QCOMPARE(double(outF[k]), want);
    }
    pc.channel = 31;
    pc.count = 20;
    std::vector<float> native(20);
    QVERIFY(pc.getNativeData(native.data()));
    QCOMPARE(native[10], 0.0f);
    QCOMPARE(native[11], 1.0f);
}

void TestPulsarCalculate::deleteStep() {
    RecordFixture::Owned rec(spikeRecord(26000, "/data/N1/010121_13_N1_00.pnthr"));
    fillRamp(rec.data);
    Data copy = rec.data; // a holder sharing the buffer sees the flattened step too
    PulsarCalculate pc("grafik");
    pc.data = rec.data;
    const float before25501 = rec.data.samples[0][4][0][25501];
    QVERIFY(pc.deleteStep());
    for (int c : {0, 31, 32}) { // the extra channel too
        const float* s = copy.samples[0][c][0];
        for (int p = 24100; p <= 25500; ++p) {
            QCOMPARE(s[p], s[24099]);
        }
        QVERIFY(s[24098] != s[24099]);
    }
    QCOMPARE(copy.samples[0][4][0][25501], before25501);

    RecordFixture::Owned other(spikeRecord(26000, "/data/N1/010121_02_N1_00.pnthr"));
    fillRamp(other.data);
    pc.data = other.data;
    const float kept = other.data.samples[0][0][0][24500];
    QTest::ignoreMessage(QtDebugMsg, "no step in file \"010121_02_N1_00.pnthr\"");
    QVERIFY(!pc.deleteStep());
    QCOMPARE(other.data.samples[0][0][0][24500], kept);

    // A record too short for the window is left alone.
    RecordFixture::Owned shortRec(spikeRecord(25000, "/data/N1/010121_13_N1_00.pnthr"));
    pc.data = shortRec.data;
    QVERIFY(!pc.deleteStep());
}

void TestPulsarCalculate::deleteStepOnceInCalculate() {
    RecordFixture::Owned rec(spikeRecord(26000, "/data/N1/010121_05_N1_00.pnthr"));
    fillRamp(rec.data);
    PulsarCalculate pc("grafik");
    pc.data = rec.data;
    pc.checkDeleteStep = true;
    QVERIFY(pc.calculate());
    QVERIFY(!pc.checkDeleteStep);
    QCOMPARE(rec.data.samples[0][3][0][25000], rec.data.samples[0][3][0][24099]);
    rec.data.samples[0][3][0][25000] = -1;
    QVERIFY(pc.calculate());
    QCOMPARE(rec.data.samples[0][3][0][25000], -1.0f);
}

void TestPulsarCalculate::sigmaAndNormalisation() {
    PulsarCalculate pc("grafik");
    double v[4] = {1, 2, 3, 6};
    const double sigma = std::sqrt(14.0 / 3); // mean 3, squared deviations 4 + 1 + 0 + 9
    QCOMPARE(pc.getSigma(v, 4), sigma);
    float vf[4] = {1, 2, 3, 6};
    QCOMPARE(pc.getSigma(vf, 4), sigma);
    QVERIFY(std::isnan(pc.getSigma(v, 1)));
    QVERIFY(pc.normaliseBySigma(v, 4));
    QCOMPARE(v[3], 6 / sigma); // scaled, not centred
    QVERIFY(pc.normaliseBySigma(vf, 4));
    QCOMPARE(vf[0], float(1 / sigma));

    double flat[3] = {2, 2, 2};
    QTest::ignoreMessage(QtDebugMsg, "Error: can't normalise, sigma = 0");
    QVERIFY(!pc.normaliseBySigma(flat, 3));
    QCOMPARE(flat[0], 2.0);
    float flatF[3] = {5, 5, 5};
    QTest::ignoreMessage(QtDebugMsg, "Error: can't normalise, sigma = 0");
    QVERIFY(!pc.normaliseBySigma(flatF, 3));
    QCOMPARE(flatF[2], 5.0f);
}

void TestPulsarCalculate::subtractArraysChecks() {
    PulsarCalculate pc("grafik");
    const double a[3] = {5, 6, 7};
    const double b[3] = {1, 1, 2};
    double out[3] = {0, 0, 0};
    QVERIFY(pc.subtractArrays(a, b, out, 3));
    QCOMPARE(out[2], 5.0);
    QTest::ignoreMessage(QtDebugMsg, "Error: bad countIn!");
    QVERIFY(!pc.subtractArrays(a, b, out, 1));
    QTest::ignoreMessage(QtDebugMsg, "Error: bad dataIn1!");
    QVERIFY(!pc.subtractArrays(nullptr, b, out, 3));
    QTest::ignoreMessage(QtDebugMsg, "Error: bad dataIn2!");
    QVERIFY(!pc.subtractArrays(a, nullptr, out, 3));
    const float fa[2] = {1, 2};
    QTest::ignoreMessage(QtDebugMsg, "Error: bad dataOut0!");
    QVERIFY(!pc.subtractArrays(fa, fa, static_cast<float*>(nullptr), 2));
}

void TestPulsarCalculate::deductNoiseMethods_data() {
    QTest::addColumn<QString>("method");
    QTest::addColumn<bool>("normalise");
    for (const char* m : {"polinom5", "median", "backSum", "without", "something else"}) {
        QTest::newRow(m) << QString(m) << false;
        QTest::newRow(qPrintable(QString(m) + " normalised")) << QString(m) << true;
    }
}

// The pipeline against the same steps done by hand: the forward sum minus the method's baseline.
void TestPulsarCalculate::deductNoiseMethods() {
    QFETCH(QString, method);
    QFETCH(bool, normalise);
    RecordFixture::Owned rec(spikeRecord(20000));
    fillRamp(rec.data);
    PulsarCalculate pc("grafik");
    setUp(pc, rec.data, 1000);
    pc.noiseMethod = method;
    pc.withNormalization = normalise;
    const int n = 16384;
    std::vector<double> out(n), sum(n), base(n, 0.0), back(n);
    QVERIFY(pc.sumChannelsDeductNoise(out.data(), n, 30));
    QVERIFY(pc.sumChannels(sum.data(), n, 30, true));
    if (method == "polinom5") {
        QCOMPARE(ApproximationD(sum.data(), base.data(), n).polinom(5, false), 1);
    } else if (method == "median") {
        QCOMPARE(ApproximationD(sum.data(), base.data(), n).median(256), 1);
    } else if (method == "backSum") {
        QVERIFY(pc.sumChannels(back.data(), n, 100, false));
        QCOMPARE(ApproximationD(back.data(), base.data(), n).averageLinear(128), 1);
    }
    std::vector<double> want(n);
    for (int i = 0; i < n; ++i) {
        want[i] = sum[i] - base[i];
    }
    if (normalise) {
        const double sigma = pc.getSigma(want.data(), n);
        for (double& w : want) {
            w /= sigma;
        }
    }
    for (int i = 0; i < n; ++i) {
        QCOMPARE(out[i], want[i]);
    }
}

void TestPulsarCalculate::deductNoiseRemovesPolynomialBaseline() {
    RecordFixture::Owned rec(spikeRecord(20000));
    fillRamp(rec.data);
    PulsarCalculate pc("grafik");
    setUp(pc, rec.data, 1000);
    const int n = 16384;
    std::vector<double> out(n);
    QVERIFY(pc.sumChannelsDeductNoise(out.data(), n, 0));
    double mean = 0;
    for (double v : out) {
        mean += v;
    }
    mean /= n;
    QVERIFY(std::fabs(mean) < 1e-6);
    // What remains is the noise of 32 channels (uniform, width 0.1 each): sigma about 0.16.
    const double sigma = pc.getSigma(out.data(), n);
    QVERIFY2(sigma > 0.14 && sigma < 0.18, qPrintable(QString::number(sigma)));

    QTest::ignoreMessage(QtDebugMsg,
                         "ERROR! PulsarCalculate::sumChannels : firstPoint + count) >= data.npoints");
    QTest::ignoreMessage(QtDebugMsg, "ERROR: sumChannels return false!");
    pc.firstPoint = 4000;
    QVERIFY(!pc.sumChannelsDeductNoise(out.data(), n, 0));
}

void TestPulsarCalculate::demoMethods_data() {
    QTest::addColumn<QString>("method");
    QTest::addColumn<bool>("showDeduct");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QString>("methodLine");
    const QStringList poly = {"sum on canals", "polinom5 approximation", "minus noise base line"};
    const QStringList median = {"sum on canals", "median line approximation", "minus noise base line"};
    const QStringList back = {"sum on canals", "back sum on canals", "noise approximation",
                              "minus noise base line"};
    QTest::newRow("polinom5") << "polinom5" << false << poly << "\nApproximation with polinom 5";
    QTest::newRow("polinom5 shown") << "polinom5" << true << poly << "\nApproximation with polinom 5";
    QTest::newRow("median") << "median" << false << median << "";
    QTest::newRow("backSum") << "backSum" << false << back << "\nLinear approximation of back sum";
    QTest::newRow("backSum shown") << "backSum" << true << back << "\nLinear approximation of back sum";
    QTest::newRow("without") << "without" << false << QStringList{"sum on canals"}
                             << "\nWithow deduct noise base line";
    QTest::newRow("unknown") << "polinom7" << false << QStringList{"sum on canals"}
                             << "\nWithow deduct noise base line";
}

void TestPulsarCalculate::demoMethods() {
    QFETCH(QString, method);
    QFETCH(bool, showDeduct);
    QFETCH(QStringList, names);
    QFETCH(QString, methodLine);
    RecordFixture::Owned rec(spikeRecord(20000));
    fillRamp(rec.data);
    rec.data.startDateTime = QDateTime(QDate(2021, 1, 1), QTime(12, 0, 0));
    PulsarCalculate pc("grafik");
    setUp(pc, rec.data, 0);
    pc.dispersion = 12.5;
    pc.noiseMethod = method;
    pc.showDeductNoise = showDeduct;
    pc.withNormalization = true;
    pc.isOrvUtc = true;
    pc.orvUtc = "12:00:00";
    pc.action = "sumChannelsDemoNoise";
    RawCurves curves{pc};
    QVERIFY(pc.calculate());
    QCOMPARE(pc.rawGrafiks.size(), names.size());
    QCOMPARE(pc.grafikNames.toList(), names);
    QVector<bool> visible(names.size(), true);
    if (!showDeduct && names.size() > 1) {
        visible.last() = false;
    }
    QCOMPARE(pc.grafikVisible, visible);
    QCOMPARE(pc.count, 16384);
    QCOMPARE(pc.grafikPoints, 16384);
    QCOMPARE(pc.resultPoints, 16384);
    QCOMPARE(pc.infoText, "One summation of channels\nDispersion = 12.5\nFirst point time = 12:00:00\n"
                          "First point = 0\nNumber of points is fixed - 16384" +
                              methodLine);
    // The last curve is normalised: unit standard deviation.
    QVERIFY(std::fabs(pc.getSigma(pc.rawGrafiks.last(), 16384) - 1) < 1e-3);
    if (names.size() > 1) {
        const float* s = pc.rawGrafiks.first();
        const float* b = pc.rawGrafiks[names.size() - 2];
        const float* d = pc.rawGrafiks.last();
        std::vector<float> diff(16384);
        for (int i = 0; i < 16384; ++i) {
            diff[i] = s[i] - b[i];
        }
        const double sigma = pc.getSigma(diff.data(), 16384);
        QVERIFY(std::fabs(diff[5000] / sigma - d[5000]) < 1e-5);
    }
    freeRaw(pc);
}

void TestPulsarCalculate::demoNeedsFullWindow() {
    RecordFixture::Owned rec(spikeRecord(20000));
    PulsarCalculate pc("grafik");
    setUp(pc, rec.data, 20000 - 16384);
    pc.dispersion = 0;
    pc.action = "sumChannelsDemoNoise";
    QVERIFY(!pc.calculate());
    QVERIFY(pc.rawGrafiks.isEmpty());
    pc.firstPoint = 20000 - 16385;
    QVERIFY(pc.calculate());
    QCOMPARE(pc.rawGrafiks.size(), 3);
    freeRaw(pc);
}

QTEST_GUILESS_MAIN(TestPulsarCalculate)
#include "tst_pulsarcalculate.moc"
