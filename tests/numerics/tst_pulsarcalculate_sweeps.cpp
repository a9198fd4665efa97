#include "core/busyguard.h"
#include "numerics/pulsarcalculate.h"
#include "support/obsfilewriter.h"
#include "support/recordfixture.h"

#include <QtTest>

#include <cmath>
#include <vector>

namespace {

// A pulsar at DM 40: 2-point pulses every 128 points (128 cycles in 16384 points, so the fundamental is
// amplitude entry 127 at every averaging up to 6), dispersed over the default bands (about 48 points
// between the lowest and the highest band at DM 40), with a little deterministic noise.
constexpr int pulsarHarmonic = 127;
constexpr int pulsarDm = 40;

ObsFileWriter::Description pulsarDescription() {
    ObsFileWriter::Description d;
    d.npoints = 20000;
    d.rays = 1;
    ObsFileWriter::PulseTrain train;
    train.period = 128 * d.tresolution / 1000.0;
    train.phase = 7 * d.tresolution / 1000.0;
    train.dm = pulsarDm;
    train.width = 2;
    train.amplitude = 10.0f;
    d.value = ObsFileWriter::pulseTrain(d, train, ObsFileWriter::whiteNoise(1.0f));
    return d;
}

void setUp(PulsarCalculate& pc, const Data& d, const QString& action) {
    pc.data = d;
    pc.module = 0;
    pc.ray = 0;
    pc.channel = 0;
    pc.dispersion = 0;
    pc.noiseMethod = "without";
    pc.harmonicNum = pulsarHarmonic;
    pc.action = action;
}

// A family view as the sweeps leave it, with known values: curve i at index x is 1000·i + x.
void fakeFamily(PulsarCalculate& pc, const QString& action) {
    pc.action = action;
    pc.harmonicNum = 3;
    pc.firstPoint = 1000;
    pc.firstPointDelta = 100;
    pc.orvUtc = "01:20:00";
    pc.orvUtcDelta = 30;
    pc.infoText = "family report";
    for (int i = 0; i < 7; ++i) {
        QVector<float> curve(100);
        for (int x = 0; x < 100; ++x) {
            curve[x] = float(1000 * i + x);
        }
        pc.arrGrafiks.append(curve);
        pc.grafikVisible.append(true);
        pc.markers.append(10 + i);
    }
    pc.count = 100;
}

} // namespace

class TestPulsarCalculateSweeps : public QObject {
    Q_OBJECT
private slots:
    void fourDispersions_data();
    void fourDispersions();
    void allDispersionsPeaksAtPulsarDm();
    void harmonicOutsideSpectrumRefused_data();
    void harmonicOutsideSpectrumRefused();
    void multiAverages();
    void timeFamily_data();
    void timeFamily();
    void singleDispersionView_data();
    void singleDispersionView();
    void singleDispersionViewNeverReadsOutside();
    void switchRefusals();
};

void TestPulsarCalculateSweeps::fourDispersions_data() {
    QTest::addColumn<int>("harmonic");
    QTest::addColumn<bool>("block");
    QTest::newRow("pulsar harmonic") << pulsarHarmonic << true;
    QTest::newRow("harmonic 0") << 0 << false;
    QTest::newRow("past the spectrum") << 8192 << false;
    QTest::newRow("negative") << -5 << false;
}

void TestPulsarCalculateSweeps::fourDispersions() {
    QFETCH(int, harmonic);
    QFETCH(bool, block);
    RecordFixture::Owned rec(pulsarDescription());
    PulsarCalculate pc("grafik");
    setUp(pc, rec.data, "sum4Dispersions");
    pc.dispersions = {0, 40, 66.25, 100};
    pc.harmonicNum = harmonic;
    QVERIFY(pc.calculate());
    QCOMPARE(pc.count, 8192);
    QCOMPARE(pc.grafikNames,
             QVector<QString>({"dispersion 1", "dispersion 2", "dispersion 3", "dispersion 4"}));
    QCOMPARE(pc.grafikVisible, QVector<bool>(4, true));
    const double shifts[4] = {0.15, 0.10, 0.05, 0};
    QString expected = "Sum of channels and fourier\nFixed number of points = 16384";
    if (block) {
        expected += "\n\nFirst harmonic:\n\nHarmonic number = " + QString::number(harmonic);
    }
    std::vector<double> spectrum(8192);
    for (int j = 0; j < 4; ++j) {
        QVERIFY(pc.getFourierOfSum(spectrum.data(), 16384, pc.dispersions[j], 0, false));
        for (int h : {0, 100, pulsarHarmonic, 8191}) {
            QCOMPARE(pc.arrGrafiks[j][h], float(spectrum[std::size_t(h)] + shifts[j]));
        }
        if (block) {
            expected += QString("\ndisp%1 = ").arg(j + 1) + QString::number(pc.dispersions[j], 'f', 1) +
                        " value = " + QString::number(double(pc.arrGrafiks[j][harmonic]) - shifts[j], 'f', 5);
        }
    }
    QCOMPARE(pc.infoText, expected);
    if (block) {
        // The dispersion of the pulsar shows it best.
        QVERIFY(pc.arrGrafiks[1][harmonic] - 0.10f > pc.arrGrafiks[0][harmonic] - 0.15f);
        QVERIFY(pc.infoText.contains("\ndisp3 = 66.2 value = ") ||
                pc.infoText.contains("\ndisp3 = 66.3 value = "));
    }
}

void TestPulsarCalculateSweeps::allDispersionsPeaksAtPulsarDm() {
    RecordFixture::Owned rec(pulsarDescription());
    PulsarCalculate pc("grafik");
    setUp(pc, rec.data, "sumAllDispersions");
    pc.firstPoint = 50;
    QSignalSpy spy(&pc, SIGNAL(progress(int)));
    bool busyDuringSweep = false;
    bool posted = false;
    connect(&pc, &PulsarCalculate::progress, this, [&](int percent) {
        busyDuringSweep = BusyGuard::busy();
        if (percent == 1) {
            // Posted work still runs while the sweep goes on, under the guard.
            QMetaObject::invokeMethod(
                this, [&] { posted = BusyGuard::busy(); }, Qt::QueuedConnection);
        }
    });
    QVERIFY(pc.calculate());
    QVERIFY(!BusyGuard::busy());
    QVERIFY(busyDuringSweep);
    QVERIFY(posted);
    QCOMPARE(spy.size(), 100);
    QCOMPARE(spy.first().first().toInt(), 1);
    QCOMPARE(spy.last().first().toInt(), 100);
    QCOMPARE(pc.firstPoint, 50);
    QCOMPARE(pc.count, 100);
    QCOMPARE(pc.grafikNames,
             QVector<QString>({"first harmonic of dispersion", "approximation by polinom 3"}));
    QCOMPARE(pc.grafikVisible, QVector<bool>(2, true));
    const QVector<float>& values = pc.arrGrafiks[0];
    QCOMPARE(values.size(), 100);
    int best = 0;
    for (int i = 1; i < 100; ++i) {
        best = values[i] > values[best] ? i : best;
    }
    QCOMPARE(best, pulsarDm);
    // Entry 40 is the amplitude of the spectrum at DM 40.
    std::vector<double> spectrum(8192);
    QVERIFY(pc.getFourierOfSum(spectrum.data(), 16384, pulsarDm, 0, false));
    QCOMPARE(values[pulsarDm], float(spectrum[pulsarHarmonic]));
    QCOMPARE(pc.markers.size(), 1);
    QVERIFY(pc.markers[0] > 20 && pc.markers[0] < 60);
    QVERIFY(
        pc.infoText.startsWith("- Summation of channels with disp\n- Fixed number of points = 16384\n"
                               "- Without deduct null\n- Get fourier\n- See value of harmonic 127\n\n"
                               "Axis X: dispersion (from 0 to 100)\nAxis Y: value of harmonic number 127\n\n"
                               "Result:\n..............................................\n"
                               "Polinom extremums:\nx1 = "));
    QVERIFY(pc.infoText.contains("\n\nMaximum:\nx = "));
    QVERIFY(pc.infoText.endsWith("\n..............................................\n"));
}

void TestPulsarCalculateSweeps::harmonicOutsideSpectrumRefused_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("averagings");
    QTest::addColumn<int>("harmonic");
    QTest::addColumn<int>("points");
    QTest::newRow("past 8192 entries") << "sumAllDispersions" << 0 << 8192 << 8192;
    QTest::newRow("negative") << "sumAllDispersions" << 0 << -1 << 8192;
    QTest::newRow("7 averagings: 64 entries") << "sumAllDispersions" << 7 << 64 << 64;
    QTest::newRow("family: first sweep") << "sumTimeDispersions" << 0 << 9000 << 8192;
}

void TestPulsarCalculateSweeps::harmonicOutsideSpectrumRefused() {
    QFETCH(QString, action);
    QFETCH(int, averagings);
    QFETCH(int, harmonic);
    QFETCH(int, points);
    RecordFixture::Owned rec(pulsarDescription());
    PulsarCalculate pc("grafik");
    setUp(pc, rec.data, action);
    pc.averageCount = averagings;
    pc.harmonicNum = harmonic;
    QSignalSpy spy(&pc, SIGNAL(progress(int)));
    QTest::ignoreMessage(QtDebugMsg, qPrintable(QString("ERROR! harmonic number outside the spectrum: "
                                                        "harmonic= %1 points= %2")
                                                    .arg(harmonic)
                                                    .arg(points)));
    QVERIFY(!pc.calculate());
    QCOMPARE(spy.size(), 0);
    QVERIFY(pc.arrGrafiks.isEmpty());
}

void TestPulsarCalculateSweeps::multiAverages() {
    RecordFixture::Owned rec(pulsarDescription());
    PulsarCalculate pc("grafik");
    setUp(pc, rec.data, "sumMultiDispersions");
    pc.multiResultShown = true;
    QSignalSpy spy(&pc, SIGNAL(progress(int)));
    QVERIFY(pc.calculate());
    QVERIFY(!pc.multiResultShown);
    QCOMPARE(spy.size(), 700);
    QCOMPARE(pc.averageCount, 6);
    QCOMPARE(pc.count, 100);
    QCOMPARE(pc.arrGrafiks.size(), 7);
    QCOMPARE(pc.markers.size(), 7);
    QCOMPARE(pc.grafikVisible, QVector<bool>(7, true));
    QVector<QString> names;
    for (int av = 0; av < 7; ++av) {
        names << QString("%1. average %2").arg(av + 1).arg(av);
        QVERIFY(
            pc.infoText.contains(QString("..............................................\n%1. Average %2:\n"
                                         "Maximum: x = ")
                                     .arg(av + 1)
                                     .arg(av)));
        // While the pulse period is still 8 averaged points or more, the fit peaks at the pulsar's DM.
        if (av <= 4) {
            QVERIFY2(std::abs(pc.markers[av] - pulsarDm) <= 3, qPrintable(QString::number(pc.markers[av])));
        }
    }
    QCOMPARE(pc.grafikNames, names);
    QVERIFY(
        pc.infoText.startsWith("Axis X: dispersion (from 0 to 100)\nAxis Y: value of harmonic number 127\n"
                               "Change: averages (see colors)\n\n"));
    QVERIFY(pc.infoText.endsWith("\n..............................................\n"));
}

void TestPulsarCalculateSweeps::timeFamily_data() {
    QTest::addColumn<bool>("orvUtc");
    QTest::addColumn<int>("first");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("first point 1000")
        << false << 1000 << QStringList{"1. First point 700",  "2. First point 800",  "3. First point 900",
                                        "4. First point 1000", "5. First point 1100", "6. First point 1200",
                                        "7. First point 1300"};
    QTest::newRow("first point 100: the first sweep starts at 0")
        << false << 100
        << QStringList{"1. First point 0",   "2. First point 100", "3. First point 200", "4. First point 300",
                       "5. First point 400", "6. First point 500", "7. First point 600"};
    QTest::newRow("clock time") << true << 800
                                << QStringList{"1. Time 01:00:04", "2. Time 01:00:06", "3. Time 01:00:08",
                                               "4. Time 01:00:10", "5. Time 01:00:12", "6. Time 01:00:14",
                                               "7. Time 01:00:16"};
}

void TestPulsarCalculateSweeps::timeFamily() {
    QFETCH(bool, orvUtc);
    QFETCH(int, first);
    QFETCH(QStringList, names);
    ObsFileWriter::Description d = pulsarDescription();
    d.timeBegin = "01:00:00";
    RecordFixture::Owned rec(d);
    PulsarCalculate pc("grafik");
    setUp(pc, rec.data, "sumTimeDispersions");
    pc.firstPoint = first;
    pc.isOrvUtc = orvUtc;
    pc.orvUtc = "01:00:10";
    pc.orvUtcDelta = 2;
    QVERIFY(pc.calculate());
    QCOMPARE(pc.firstPoint, first);
    QCOMPARE(pc.firstPointDelta, orvUtc ? 160 : 100);
    QCOMPARE(pc.count, 100);
    QCOMPARE(pc.arrGrafiks.size(), 7);
    QCOMPARE(pc.markers.size(), 7);
    QCOMPARE(pc.grafikNames, names.toVector());
    QVERIFY(
        pc.infoText.startsWith("Axis X: dispersion (from 0 to 100)\nAxis Y: value of harmonic number 127\n"
                               "Change: first point (see colors)\n\n"));
    for (const QString& name : names) {
        QVERIFY(pc.infoText.contains("..............................................\n" + name +
                                     ":\nMaximum: x = "));
    }
}

void TestPulsarCalculateSweeps::singleDispersionView_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("orvUtc");
    QTest::addColumn<QString>("axis");
    QTest::addColumn<QStringList>("labels");
    QTest::newRow("averages") << "sumMultiDispersions" << false << "Axis X: averages (see colors)\n"
                              << QStringList{". Average 0", ". Average 1", ". Average 2", ". Average 3",
                                             ". Average 4", ". Average 5", ". Average 6"};
    QTest::newRow("first points") << "sumTimeDispersions" << false << "Axis X: first point (see colors)\n"
                                  << QStringList{". First point 700",  ". First point 800",
                                                 ". First point 900",  ". First point 1000",
                                                 ". First point 1100", ". First point 1200",
                                                 ". First point 1300"};
    QTest::newRow("clock times") << "sumTimeDispersions" << true << "Axis X: first point (see colors)\n"
                                 << QStringList{". Time 01:18:30", ". Time 01:19:00", ". Time 01:19:30",
                                                ". Time 01:20:00", ". Time 01:20:30", ". Time 01:21:00",
                                                ". Time 01:21:30"};
    QTest::newRow("other action") << "sum4Dispersions" << false << ""
                                  << QStringList{"", "", "", "", "", "", ""};
}

void TestPulsarCalculateSweeps::singleDispersionView() {
    QFETCH(QString, action);
    QFETCH(bool, orvUtc);
    QFETCH(QString, axis);
    QFETCH(QStringList, labels);
    PulsarCalculate pc("grafik");
    fakeFamily(pc, action);
    pc.isOrvUtc = orvUtc;

    QVERIFY(pc.showMultiResult(42.4f));
    QVERIFY(pc.multiResultShown);
    QCOMPARE(pc.savedInfoText, QString("family report"));
    QCOMPARE(pc.count, 7);
    QCOMPARE(pc.arrGrafiks.size(), 8);
    QCOMPARE(pc.grafikVisible, QVector<bool>({false, false, false, false, false, false, false, true}));
    QCOMPARE(pc.markers, QVector<int>({0, 1, 2, 3, 4, 5, 6}));
    QString expected = axis + "Axis Y: harmonic 3 val on disp=42.4\n\n";
    for (int i = 0; i < 7; ++i) {
        QCOMPARE(pc.arrGrafiks[7][i], float(1000 * i + 42));
        expected += QString::number(i + 1) + labels[i] + ": " + QString::number(1000 * i + 42) + "\n";
    }
    QCOMPARE(pc.infoText, expected);

    // Later calls refresh the values only, rounding halves away from zero.
    QVERIFY(pc.showMultiResult(42.5f));
    QCOMPARE(pc.arrGrafiks.size(), 8);
    expected.clear();
    for (int i = 0; i < 7; ++i) {
        QCOMPARE(pc.arrGrafiks[7][i], float(1000 * i + 43));
        expected += QString::number(i + 1) + labels[i] + ": " + QString::number(1000 * i + 43) + "\n";
    }
    QCOMPARE(pc.infoText, expected);

    // Past the curves (99.6 is index 100) or before them: zeros and one line per curve.
    for (float x : {99.6f, -0.6f}) {
        for (int i = 0; i < 7; ++i) {
            QTest::ignoreMessage(QtDebugMsg,
                                 qPrintable(QString("ERROR! dispersion > size of grafik  %1").arg(i)));
        }
        QVERIFY(pc.showMultiResult(x));
        QCOMPARE(pc.arrGrafiks[7], QVector<float>(7, 0.0f));
        QCOMPARE(pc.infoText, QString());
    }

    QVERIFY(pc.returnMultiGrafiks());
    QVERIFY(!pc.multiResultShown);
    QCOMPARE(pc.arrGrafiks.size(), 7);
    QCOMPARE(pc.grafikVisible, QVector<bool>(7, true));
    QCOMPARE(pc.count, 100);
    QVERIFY(pc.markers.isEmpty());
    QCOMPARE(pc.infoText, QString("family report"));
}

void TestPulsarCalculateSweeps::singleDispersionViewNeverReadsOutside() {
    // A first call past the curves shows zeros and marks nothing.
    PulsarCalculate pc("grafik");
    fakeFamily(pc, "sumMultiDispersions");
    for (int i = 0; i < 7; ++i) {
        QTest::ignoreMessage(QtDebugMsg,
                             qPrintable(QString("ERROR! dispersion > size of grafik  %1").arg(i)));
    }
    QVERIFY(pc.showMultiResult(99.6f));
    QVERIFY(pc.markers.isEmpty());
    QCOMPARE(pc.arrGrafiks.last(), QVector<float>(7, 0.0f));

    // Another action ran on the object while the single view was shown: its curves are not a family,
    // and count is no longer the number of curves. Nothing past them is read or written.
    QVector<QVector<float>> four(4, QVector<float>(8192, 1.0f));
    pc.arrGrafiks = four;
    pc.count = 8192;
    pc.action = "sum4Dispersions";
    QVERIFY(pc.showMultiResult(5.0f));
    QCOMPARE(pc.arrGrafiks.size(), 4);
    QCOMPARE(pc.arrGrafiks.last()[0], 1.0f);
}

void TestPulsarCalculateSweeps::switchRefusals() {
    PulsarCalculate pc("grafik");
    QTest::ignoreMessage(QtDebugMsg, "ERROR! PulsarCalculate::showMultiResult: arrGrafiks is empty!");
    QVERIFY(!pc.showMultiResult(1.0f));
    QTest::ignoreMessage(QtDebugMsg, "ALREADY in MultiGrafiks");
    QVERIFY(!pc.returnMultiGrafiks());
    pc.multiResultShown = true;
    pc.arrGrafiks.append(QVector<float>(3, 1.0f));
    QTest::ignoreMessage(QtDebugMsg, "ERROR! PulsarCalculate::showMultiResult: arrGrafiks.size()<2!");
    QVERIFY(!pc.returnMultiGrafiks());
    QVERIFY(!pc.multiResultShown);
}

QTEST_GUILESS_MAIN(TestPulsarCalculateSweeps)
#include "tst_pulsarcalculate_sweeps.moc"
