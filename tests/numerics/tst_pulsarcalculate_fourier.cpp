#include "numerics/pulsarcalculate.h"
#include "support/obsfilewriter.h"
#include "support/recordfixture.h"

#include <QtTest>

#include <cmath>
#include <vector>

namespace {

// One module and ray, 32 bands; a train of 2-point pulses every 64 points (256 cycles in 16384 points,
// so the fundamental is amplitude entry 255) at DM 0, with a little deterministic noise.
ObsFileWriter::Description pulsarDescription() {
    ObsFileWriter::Description d;
    d.npoints = 20000;
    d.rays = 1;
    ObsFileWriter::PulseTrain train;
    train.period = 64 * d.tresolution / 1000.0;
    train.phase = 10 * d.tresolution / 1000.0;
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
    pc.action = action;
}

} // namespace

class TestPulsarCalculateFourier : public QObject {
    Q_OBJECT
private slots:
    void cosineAndConstant();
    void getFourierRefusals_data();
    void getFourierRefusals();
    void averageSignal_data();
    void averageSignal();
    void pointCounts_data();
    void pointCounts();
    void fourierAction();
    void fourierActionListsAtMost15();
    void fourierActionHarmonicOutsideSpectrum_data();
    void fourierActionHarmonicOutsideSpectrum();
    void averageAction_data();
    void averageAction();
};

void TestPulsarCalculateFourier::cosineAndConstant() {
    PulsarCalculate pc("grafik");
    std::vector<double> x(128);
    for (int t = 0; t < 128; ++t) {
        x[std::size_t(t)] = 3.0 * std::cos(2.0 * M_PI * 8.0 * t / 128.0);
    }
    std::vector<double> out(64, -1.0);
    QVERIFY(pc.getFourier(x.data(), out.data(), 128, 64));
    for (int k = 0; k < 64; ++k) {
        QVERIFY2(std::abs(out[std::size_t(k)] - (k == 7 ? 3.0 : 0.0)) < 1e-12,
                 qPrintable(QString::number(k)));
    }
    std::fill(x.begin(), x.end(), -2.5);
    QVERIFY(pc.getFourier(x.data(), out.data(), 128, 64));
    for (double v : out) {
        QVERIFY(std::abs(v) < 1e-12);
    }
}

void TestPulsarCalculateFourier::getFourierRefusals_data() {
    QTest::addColumn<int>("countIn");
    QTest::addColumn<int>("countOut");
    QTest::addColumn<QString>("line");
    QTest::newRow("100 points")
        << 100 << 50
        << "ERROR! PulsarCalculate::getFourier: countIn must be degree of 2! countIn= 100  "
           "correct: countIn0= 64";
    QTest::newRow("64 points")
        << 64 << 32 << "ERROR! PulsarCalculate::getFourier: Can't draw fourier - too small points!";
    QTest::newRow("countOut 63") << 128 << 63
                                 << "ERROR! PulsarCalculate::getFourier: countOut must equal countIn/2!";
    QTest::newRow("past the largest") << 2097152 << 1048576
                                      << "ERROR! PulsarCalculate::getFourier: countIn must be degree of 2! "
                                         "countIn= 2097152  correct: countIn0= 524288";
}

void TestPulsarCalculateFourier::getFourierRefusals() {
    QFETCH(int, countIn);
    QFETCH(int, countOut);
    QFETCH(QString, line);
    PulsarCalculate pc("grafik");
    std::vector<double> in(std::size_t(countIn), 1.0);
    std::vector<double> out(std::size_t(countOut), -1.0);
    QTest::ignoreMessage(QtDebugMsg, qPrintable(line));
    QVERIFY(!pc.getFourier(in.data(), out.data(), countIn, countOut));
    QCOMPARE(out.front(), -1.0);
}

void TestPulsarCalculateFourier::averageSignal_data() {
    QTest::addColumn<int>("averagings");
    QTest::addColumn<bool>("addNulls");
    QTest::addColumn<int>("means");
    QTest::addColumn<int>("written");
    QTest::newRow("none") << 0 << false << 16384 << 16384;
    QTest::newRow("none, zeros appended") << 0 << true << 16384 << 32768;
    QTest::newRow("1") << 1 << false << 8192 << 16384;
    QTest::newRow("3 with zeros") << 3 << true << 2048 << 16384;
    QTest::newRow("10: 16 left") << 10 << false << 16 << 16384;
    // The pass that leaves fewer than 16 values is the last one.
    QTest::newRow("11 stops at 8") << 11 << false << 8 << 16384;
    QTest::newRow("20 stops at 8") << 20 << false << 8 << 16384;
    QTest::newRow("negative is none") << -2 << false << 16384 << 16384;
}

void TestPulsarCalculateFourier::averageSignal() {
    QFETCH(int, averagings);
    QFETCH(bool, addNulls);
    QFETCH(int, means);
    QFETCH(int, written);
    const int n = 16384;
    std::vector<double> in(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        in[std::size_t(i)] = double(i % 7) + 0.25 * i;
    }
    std::vector<double> out(std::size_t(2 * n + 1), -99.0);
    PulsarCalculate pc("grafik");
    QVERIFY(pc.averageSignal(in.data(), out.data(), n, averagings, addNulls));
    const int block = n / means;
    for (int i = 0; i < means; ++i) {
        double sum = 0;
        for (int j = 0; j < block; ++j) {
            sum += in[std::size_t(i * block + j)];
        }
        QVERIFY2(std::abs(out[std::size_t(i)] - sum / block) < 1e-9, qPrintable(QString::number(i)));
    }
    for (int i = means; i < written; ++i) {
        QCOMPARE(out[std::size_t(i)], 0.0);
    }
    QCOMPARE(out[std::size_t(written)], -99.0);
}

void TestPulsarCalculateFourier::pointCounts_data() {
    QTest::addColumn<int>("n");
    QTest::addColumn<int>("averagings");
    QTest::addColumn<bool>("addNulls");
    QTest::addColumn<int>("points");
    QTest::addColumn<double>("factor");
    QTest::newRow("16384") << 16384 << 0 << false << 16384 << 1.0;
    QTest::newRow("16384 zeros") << 16384 << 0 << true << 32768 << 0.5;
    QTest::newRow("av 1") << 16384 << 1 << false << 8192 << 2.0;
    QTest::newRow("av 3 zeros") << 16384 << 3 << true << 4096 << 4.0;
    QTest::newRow("av 8") << 16384 << 8 << false << 64 << 256.0;
    QTest::newRow("below 64") << 63 << 0 << false << -1 << 1.0;
    QTest::newRow("huge av") << 16384 << 40 << false << 0 << std::ldexp(1.0, 40);
}

void TestPulsarCalculateFourier::pointCounts() {
    QFETCH(int, n);
    QFETCH(int, averagings);
    QFETCH(bool, addNulls);
    QFETCH(int, points);
    QFETCH(double, factor);
    PulsarCalculate pc("grafik");
    QCOMPARE(pc.getPointsAfterAveraging(n, averagings, addNulls), points);
    QCOMPARE(pc.getTresFactor(averagings, addNulls), factor);
}

void TestPulsarCalculateFourier::fourierAction() {
    RecordFixture::Owned rec(pulsarDescription());
    PulsarCalculate pc("grafik");
    setUp(pc, rec.data, "sumChannelsAndFourier");
    pc.harmonicNum = 255;
    QVERIFY(pc.calculate());
    QCOMPARE(pc.count, 8192);
    QCOMPARE(pc.arrGrafiks.size(), 3);
    QCOMPARE(pc.grafikNames,
             QVector<QString>({"fourier of sum channels", "1 sigma of fourier", "5 sigma of fourier"}));
    QCOMPARE(pc.grafikVisible, QVector<bool>(3, true));
    const QVector<float>& spectrum = pc.arrGrafiks[0];
    QCOMPARE(spectrum.size(), 8192);
    // The pulse train's harmonics are entries 256·k − 1; the fundamental is the strongest entry.
    int best = 0;
    for (int h = 1; h < spectrum.size(); ++h) {
        if (spectrum[h] > spectrum[best]) {
            best = h;
        }
    }
    QCOMPARE(best % 256, 255);
    const float sigma = pc.arrGrafiks[1][0];
    QCOMPARE(pc.arrGrafiks[2][100], 5 * sigma);
    QVERIFY(pc.infoText.startsWith("Sigma = " + QString::number(double(sigma), 'g', 6) + "\n5 sigma = "));
    QVERIFY(pc.infoText.contains("\n\nHarmonics >= 5 sigma:\n\n255: "));
    QVERIFY(pc.infoText.endsWith(
        "\nFirst harmonic:\nnum = 255\nvalue = " + QString::number(double(spectrum[255]), 'g', 6) + "\n"));
}

void TestPulsarCalculateFourier::fourierActionListsAtMost15() {
    RecordFixture::Owned rec(pulsarDescription());
    PulsarCalculate pc("grafik");
    setUp(pc, rec.data, "sumChannelsAndFourier");
    pc.maxSigma = 1;
    QVERIFY(pc.calculate());
    const QString list = pc.infoText.section("sigma:\n\n", 1).section("\n\n", 0, 0);
    const QStringList lines = list.split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 15);
    const double level = double(pc.arrGrafiks[2][0]);
    int previous = -1;
    for (const QString& line : lines) {
        const int h = line.section(':', 0, 0).toInt();
        QVERIFY(h > previous);
        QVERIFY(double(pc.arrGrafiks[0][h]) > level * (1 - 1e-6));
        previous = h;
    }
    // No entry below the last listed one above the line is left out.
    for (int h = 0; h < previous; ++h) {
        if (double(pc.arrGrafiks[0][h]) > level * (1 + 1e-6)) {
            QVERIFY2(list.contains(QString::number(h) + ": "), qPrintable(QString::number(h)));
        }
    }
}

void TestPulsarCalculateFourier::fourierActionHarmonicOutsideSpectrum_data() {
    QTest::addColumn<int>("averagings");
    QTest::addColumn<int>("harmonic");
    QTest::newRow("8192 entries") << 0 << 8192;
    QTest::newRow("7 averagings: 64 entries") << 7 << 64;
    QTest::newRow("negative") << 0 << -1;
}

void TestPulsarCalculateFourier::fourierActionHarmonicOutsideSpectrum() {
    QFETCH(int, averagings);
    QFETCH(int, harmonic);
    RecordFixture::Owned rec(pulsarDescription());
    PulsarCalculate pc("grafik");
    setUp(pc, rec.data, "sumChannelsAndFourier");
    pc.averageCount = averagings;
    pc.harmonicNum = harmonic;
    QTest::ignoreMessage(QtDebugMsg, qPrintable(QString("ERROR! harmonic number outside the spectrum: "
                                                        "harmonicNum= %1 points= %2")
                                                    .arg(harmonic)
                                                    .arg(8192 >> averagings)));
    QVERIFY(pc.calculate());
    QVERIFY(!pc.infoText.contains("First harmonic"));
    QVERIFY(pc.infoText.contains("Harmonics >= 5 sigma:"));
    QCOMPARE(pc.count, 8192 >> averagings);
}

void TestPulsarCalculateFourier::averageAction_data() {
    QTest::addColumn<int>("averagings");
    QTest::addColumn<bool>("addNulls");
    QTest::addColumn<int>("points");
    QTest::newRow("none") << 0 << false << 16384;
    QTest::newRow("none, zeros") << 0 << true << 32768;
    QTest::newRow("2, zeros") << 2 << true << 8192;
}

void TestPulsarCalculateFourier::averageAction() {
    QFETCH(int, averagings);
    QFETCH(bool, addNulls);
    QFETCH(int, points);
    RecordFixture::Owned rec(pulsarDescription());
    PulsarCalculate pc("grafik");
    setUp(pc, rec.data, "sumChannelsAndAverage");
    pc.noiseMethod = "without";
    pc.firstPoint = 100;
    pc.averageCount = averagings;
    pc.averageWithNull = addNulls;
    QVERIFY(pc.calculate());
    QCOMPARE(pc.infoText, QString("Sum channels and average"));
    QCOMPARE(pc.arrGrafiks.size(), 1);
    QVERIFY(pc.grafikNames.isEmpty());
    QCOMPARE(pc.count, 20000 - 100);
    const QVector<float>& curve = pc.arrGrafiks[0];
    QCOMPARE(curve.size(), points);
    std::vector<double> sum(16384);
    QVERIFY(pc.sumChannels(sum.data(), 16384, 0, true));
    const int block = 1 << averagings;
    const int means = 16384 / block;
    for (int i = 0; i < points; ++i) {
        double expected = 0;
        if (i < means) {
            for (int j = 0; j < block; ++j) {
                expected += sum[std::size_t(i * block + j)];
            }
            expected /= block;
        }
        QVERIFY2(std::abs(double(curve[i]) - expected) <= 1e-5 * (1 + std::abs(expected)),
                 qPrintable(QString::number(i)));
    }
}

QTEST_GUILESS_MAIN(TestPulsarCalculateFourier)
#include "tst_pulsarcalculate_fourier.moc"
