#include "core/tools.h"
#include "native/channelsumseries.h"
#include "numerics/approximationv.h"
#include "support/nativedates.h"
#include "support/recordingdesktop.h"

#include <QtTest>

#include <algorithm>
#include <cmath>

using Series = QVector<QVector<float>>;
Q_DECLARE_METATYPE(Series)

namespace {

const QVector<double> bands = NativeDates::formBands();
const double tres = NativeDates::formTres;

QVector<double> sum(const Series& channels, double dm) {
    return ChannelSumSeries::sumChannels(channels, dm, bands, tres);
}

// Every band a ramp of its own offset; channel 6 far off, so that it shows if it is ever added.
Series ramps(int n) {
    return NativeDates::channels(n, [](int p, int c) { return c == 6 ? 1e6f : float(1000 * c + p); });
}

// The sum of the ramps by the shift rule written out: reads clamped to each channel's ends.
QVector<double> rampSum(int n, double dm) {
    const QVector<int> shifts = ObsFileWriter::dispersionShifts(bands, dm, tres);
    QVector<double> out(n, 0.0);
    for (int i = 0; i < n; ++i) {
        for (int c = 0; c < 6; ++c) {
            const int k = std::clamp(i + shifts[c], 0, n - 1);
            out[i] += 1000.0 * c + k;
        }
    }
    return out;
}

QVector<double> stepSeries(int n) {
    // A calibration step of 148 points from 500: a dip, the high level, a dip, then the baseline again.
    QVector<double> s(n);
    for (int i = 0; i < n; ++i) {
        const bool inStep = i >= 500 && i < 648;
        s[i] = !inStep ? 10.0 + i * 0.001 : (i < 510 || i >= 638) ? 1.0 : 100.0;
    }
    return s;
}

} // namespace

class TestChannelSumSeries : public QObject {
    Q_OBJECT
private slots:
    void shifts_data();
    void shifts();
    void rampSums_data();
    void rampSums();
    void unusableInput_data();
    void unusableInput();
    void chain_data();
    void chain();
    void flatSeriesIsNotScaled();
    void deductedNoiseHasUnitSigma();
};

void TestChannelSumSeries::shifts_data() {
    QTest::addColumn<double>("dm");
    QTest::addColumn<QVector<int>>("shift"); // bands 0 .. 4
    QTest::newRow("dm 0") << 0.0 << QVector<int>{0, 0, 0, 0, 0};
    QTest::newRow("dm 10") << 10.0 << QVector<int>{1, 1, 1, 1, 0};
    QTest::newRow("dm 10.4 as 10") << 10.4 << QVector<int>{1, 1, 1, 1, 0};
    QTest::newRow("dm 19 band 4 still 0") << 19.0 << QVector<int>{2, 2, 1, 1, 0};
    QTest::newRow("dm 20 band 4 rounds up") << 20.0 << QVector<int>{3, 2, 2, 1, 1};
    QTest::newRow("dm 50") << 50.0 << QVector<int>{6, 5, 4, 3, 1};
    QTest::newRow("dm 99") << 99.0 << QVector<int>{13, 10, 8, 5, 3};
    QTest::newRow("dm -50") << -50.0 << QVector<int>{-6, -5, -4, -3, -1};
}

void TestChannelSumSeries::shifts() {
    QFETCH(double, dm);
    QFETCH(QVector<int>, shift);
    const int n = 100;
    const int at = 50;
    // An impulse in one band at the point where the shift moves it to the reference's point `at`.
    for (int band = 0; band < 5; ++band) {
        const Series ch = NativeDates::channels(
            n, [&](int p, int c) { return (c == band && p == at + shift[band]) ? 1.0f : 0.0f; });
        const QVector<double> s = sum(ch, dm);
        QCOMPARE(s.size(), n);
        const int peak = int(std::max_element(s.begin(), s.end()) - s.begin());
        QVERIFY2(peak == at && s[at] == 1.0,
                 qPrintable(QStringLiteral("band %1 peak at %2").arg(band).arg(peak)));
    }
}

void TestChannelSumSeries::rampSums_data() {
    QTest::addColumn<int>("n");
    QTest::addColumn<double>("dm");
    QTest::newRow("dm 0: plain sum") << 100 << 0.0;
    QTest::newRow("dm 99: band 0 past the end") << 100 << 99.0;
    QTest::newRow("negative dm: before the start") << 100 << -50.0;
    QTest::newRow("shift longer than the series") << 12 << 99.0;
    QTest::newRow("huge dm") << 10 << 1e300;
    QTest::newRow("huge negative dm") << 10 << -1e300;
}

void TestChannelSumSeries::rampSums() {
    QFETCH(int, n);
    QFETCH(double, dm);
    const QVector<double> s = sum(ramps(n), dm);
    if (std::abs(dm) > 1e6) {
        // Every band reads one end of its channel.
        QCOMPARE(s.size(), n);
        const double ref = 5000.0;
        const double lower = dm > 0 ? (0 + 1000 + 2000 + 3000 + 4000) + 5.0 * (n - 1) : 10000.0;
        for (int i = 0; i < n; ++i) {
            QCOMPARE(s[i], lower + ref + i);
        }
        return;
    }
    QCOMPARE(s, rampSum(n, dm));
}

void TestChannelSumSeries::unusableInput_data() {
    QTest::addColumn<Series>("channels");
    QTest::addColumn<QVector<double>>("fbands");
    QTest::addColumn<double>("tres");
    QTest::newRow("9 points") << ramps(9) << bands << tres;
    QTest::newRow("no channels") << Series() << bands << tres;
    QTest::newRow("five channels") << ramps(20).mid(0, 5) << bands << tres;
    Series uneven = ramps(20);
    uneven[3].resize(15);
    QTest::newRow("channels of unequal length") << uneven << bands << tres;
    QTest::newRow("five bands") << ramps(20) << bands.mid(0, 5) << tres;
    QTest::newRow("tiny tres") << ramps(20) << bands << 1e-8;
    QVector<double> zeroBand = bands;
    zeroBand[2] = 0;
    QTest::newRow("zero band") << ramps(20) << zeroBand << tres;
}

void TestChannelSumSeries::unusableInput() {
    QFETCH(Series, channels);
    QFETCH(QVector<double>, fbands);
    QFETCH(double, tres);
    QTest::ignoreMessage(QtDebugMsg, "ERROR 1! NativeMultiForm::sumChannels");
    QVERIFY(ChannelSumSeries::sumChannels(channels, 10, fbands, tres).isEmpty());
}

void TestChannelSumSeries::chain_data() {
    QTest::addColumn<QString>("input"); // "ramp": the channel ramps; "step": a stepped reference band
    QTest::addColumn<bool>("deleteStep");
    QTest::addColumn<bool>("deductNoise");
    QTest::addColumn<bool>("showApprox");
    QTest::addColumn<int>("len");
    QTest::addColumn<int>("averageN");
    QTest::addColumn<int>("averageType");
    QTest::addColumn<QString>("expected"); // how the test derives the result from the plain sum
    QTest::addColumn<QStringList>("boxes");

    const QStringList none;
    const QStringList lenBox = {"Введите длину отрезка для аппроксимации по медианным значениям!"};
    QTest::newRow("plain") << "ramp" << false << false << false << 64 << 0 << 0 << "sum" << none;
    QTest::newRow("both boxes give the baseline")
        << "ramp" << false << true << true << 64 << 0 << 0 << "approx" << none;
    QTest::newRow("simple twice, 1") << "ramp" << false << false << false << 64 << 1 << 0 << "smooth1"
                                     << none;
    QTest::newRow("simple twice, 3") << "ramp" << false << false << false << 64 << 3 << 0 << "smooth3"
                                     << none;
    QTest::newRow("moving average, 1 leaves it")
        << "ramp" << false << false << false << 64 << 1 << 1 << "sum" << none;
    QTest::newRow("moving average, 5")
        << "ramp" << false << false << false << 64 << 5 << 1 << "moving5" << none;
    QTest::newRow("len above the length: box, unaveraged")
        << "ramp" << false << true << false << 600 << 3 << 0 << "sum" << lenBox;
    QTest::newRow("approx, len above the length")
        << "ramp" << false << false << true << 501 << 0 << 0 << "sum" << lenBox;
    QTest::newRow("step removed") << "step" << true << false << false << 64 << 0 << 0 << "noStep" << none;
    QTest::newRow("step kept") << "step" << false << false << false << 64 << 0 << 0 << "sum" << none;
    QTest::newRow("too short: empty and the length box")
        << "short" << false << true << false << 64 << 0 << 0 << "sum" << lenBox;
}

void TestChannelSumSeries::chain() {
    QFETCH(QString, input);
    QFETCH(bool, deleteStep);
    QFETCH(bool, deductNoise);
    QFETCH(bool, showApprox);
    QFETCH(int, len);
    QFETCH(int, averageN);
    QFETCH(int, averageType);
    QFETCH(QString, expected);
    QFETCH(QStringList, boxes);

    Series channels;
    if (input == "ramp") {
        channels = ramps(500);
    } else if (input == "step") {
        const QVector<double> s = stepSeries(1000);
        channels = NativeDates::channels(1000, [&](int p, int c) { return c == 5 ? float(s[p]) : 0.0f; });
    } else {
        QTest::ignoreMessage(QtDebugMsg, "ERROR 1! NativeMultiForm::sumChannels");
        channels = ramps(5);
    }
    RecordingDesktop desktop;
    ChannelSumSeries::Options o;
    o.deleteStep = deleteStep;
    o.deductNoise = deductNoise;
    o.showApprox = showApprox;
    o.len = len;
    o.averageN = averageN;
    o.averageType = averageType;
    const QVector<double> s = ChannelSumSeries::make(channels, 0, o, bands, tres, nullptr);

    const QVector<double> plain = ChannelSumSeries::sumChannels(channels, 0, bands, tres);
    QVector<double> want = plain;
    if (expected == "approx") {
        want = approxMedian(plain, len);
        QVERIFY(want != plain);
    } else if (expected == "smooth1") {
        for (int i = 0; i + 1 < plain.size(); ++i) {
            want[i] = (plain[i] + plain[i + 1]) / 2;
        }
    } else if (expected == "smooth3") {
        want = Tools::movingAverage(Tools::movingAverage(Tools::movingAverage(plain, 2), 4), 8);
    } else if (expected == "moving5") {
        want = Tools::movingAverage(plain, 5);
    } else if (expected == "noStep") {
        QVERIFY(*std::max_element(s.begin(), s.end()) < 20.0);
        QCOMPARE(s.size(), plain.size());
        want = s;
    }
    QCOMPARE(s, want);
    QStringList shown;
    for (const auto& c : desktop.boxes()) {
        QCOMPARE(c.title, QString("Error"));
        shown << c.text;
    }
    QCOMPARE(shown, boxes);
}

void TestChannelSumSeries::flatSeriesIsNotScaled() {
    RecordingDesktop desktop;
    const QVector<double> flat(200, 7.0);
    const QVector<double> s = ChannelSumSeries::deductNoise(nullptr, flat, 50);
    QCOMPARE(s, QVector<double>(200, 0.0));
    QCOMPARE(desktop.boxes().size(), 1);
    QCOMPARE(desktop.boxes().at(0).text, QString("Ошибка sigma!"));

    // Through the chain: a flat date gives the unscaled differences, once.
    const Series channels = NativeDates::channels(200, [](int, int) { return 1.0f; });
    ChannelSumSeries::Options o;
    o.deductNoise = true;
    o.len = 50;
    QCOMPARE(ChannelSumSeries::make(channels, 10, o, bands, tres, nullptr), QVector<double>(200, 0.0));
    QCOMPARE(desktop.boxes().size(), 2);
}

void TestChannelSumSeries::deductedNoiseHasUnitSigma() {
    RecordingDesktop desktop;
    QVector<double> s(400);
    for (int i = 0; i < s.size(); ++i) {
        s[i] = 100.0 + 0.05 * i + ((i * 7919) % 13) * 0.3;
    }
    const QVector<double> base = approxMedian(s, 40);
    const QVector<double> d = ChannelSumSeries::deductNoise(nullptr, s, 40);
    QCOMPARE(d.size(), s.size());
    QVERIFY(std::abs(Tools::stdDev(d) - 1.0) < 1e-12);
    // Differences scaled, not shifted: the sign and ratios of deviations survive.
    const double ratio = (s[10] - base[10]) / d[10];
    QVERIFY(std::abs((s[300] - base[300]) / ratio - d[300]) < 1e-9);
    QVERIFY(desktop.boxes().isEmpty());
}

QTEST_MAIN(TestChannelSumSeries)
#include "tst_channelsumseries.moc"
