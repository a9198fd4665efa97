#include "core/data.h"
#include "numerics/ffacore.h"
#include "numerics/pulsarcalculate.h"
#include "support/obsfilewriter.h"
#include "support/recordfixture.h"
#include "support/recordingdesktop.h"

#include <QtTest>

#include <algorithm>
#include <cmath>

namespace {

constexpr double tsampOrv = 0.0124928;

// One module and ray: a 5.0 s train of 3-point pulses at DM 10, about 2 sigma of the channel sum high,
// in uniform noise (or noise only).
Data pulsarRecord(float pulse = 0.1f, float noise = 1.0f) {
    ObsFileWriter::Description d;
    d.npoints = 17000;
    d.rays = 1;
    ObsFileWriter::PulseTrain train;
    train.period = 5.0;
    train.dm = 10;
    train.phase = 1.0;
    train.width = 3;
    train.amplitude = pulse;
    d.value = ObsFileWriter::pulseTrain(d, train, ObsFileWriter::whiteNoise(noise, 7));
    Data data = ObsFileWriter::record(d);
    data.filePath = QStringLiteral("/obs/2020/010121_05_N1_00.pnt");
    data.fileName = QStringLiteral("010121_05_N1_00.pnt");
    return data;
}

void setUp(PulsarCalculate& pc, const Data& data) {
    pc.data = data;
    pc.module = 0;
    pc.ray = 0;
    pc.channel = 0;
    pc.firstPoint = 0;
    pc.dispersion = 10;
    pc.noiseMethod = QStringLiteral("polinom5");
    pc.withNormalization = true;
    pc.action = QStringLiteral("createFFA");
    pc.period_min = 3;
    pc.period_max = 10;
    pc.bins_min = 220;
    pc.bins_max = 240;
    pc.ducy_max = 0.02;
    pc.wtsp = 1.5;
    pc.show_as_is = false;
    pc.showSigma = false;
    pc.downToNull = false;
    pc.nullProc = 10;
    pc.sigmaProc = 50;
    pc.sigmaLevel1 = 3;
    pc.sigmaLevel2 = 5;
}

// The counts of the size table's rows: {av, p0, p1, num0, num1}.
QVector<QVector<qint64>> tableRows(const QString& text) {
    QVector<QVector<qint64>> rows;
    for (const QString& line : text.split('\n')) {
        const QStringList cells = line.split('\t');
        bool ok = false;
        cells.first().toInt(&ok);
        if (cells.size() == 5 && ok) {
            QVector<qint64> row;
            for (const QString& c : cells) {
                row.append(c.toLongLong());
            }
            rows.append(row);
        }
    }
    return rows;
}

} // namespace

class TestPulsarCalculateFfa : public QObject {
    Q_OBJECT
private slots:
    void lowestPercent();
    void sizeTableErrors_data();
    void sizeTableErrors();
    void sizeTable();
    void sizeTableLimits();
    void perWidthCurvesAndArrayFile();
    void oneArrayAndStrongPeriods();
    void trialCountFollowsAveraging_data();
    void trialCountFollowsAveraging();
    void searchErrorShowsCriticalBox();
    void sumFailureIsSilent();
    void unusableSigma_data();
    void unusableSigma();
    void downToNullCentresTheLowest();
};

void TestPulsarCalculateFfa::lowestPercent() {
    const float f[] = {5, 1, 4, 2, 3};
    QCOMPARE(getMeanOfLowestPercent(f, 5, 40), 1.5);
    QCOMPARE(getMeanOfLowestPercent(f, 5, 0), 3.0);
    QCOMPARE(getMeanOfLowestPercent(f, 5, 101), 3.0);
    QVERIFY(std::isnan(getMeanOfLowestPercent(f, 5, 10)));
    const double d[] = {5, 1, 4, 2, 3};
    QCOMPARE(PulsarCalculate::getSigmaOfLowestPercent(d, 5, 60), 1.0);
    QCOMPARE(PulsarCalculate::getSigmaOfLowestPercent(d, 5, 500), std::sqrt(2.5));
    QVERIFY(std::isnan(PulsarCalculate::getSigmaOfLowestPercent(d, 5, 0)));
}

void TestPulsarCalculateFfa::sizeTableErrors_data() {
    QTest::addColumn<double>("pmin");
    QTest::addColumn<double>("pmax");
    QTest::addColumn<int>("bmin");
    QTest::addColumn<int>("bmax");
    QTest::addColumn<QString>("text");
    QTest::newRow("period_min") << 0.0 << 0.0 << 1 << 0 << "period_min must be > 0";
    QTest::newRow("period_min NaN") << double(NAN) << 10.0 << 220 << 240 << "period_min must be > 0";
    QTest::newRow("period_max") << 3.0 << 3.0 << 1 << 0 << "period_max must be > period_min";
    QTest::newRow("bins_min 1") << 3.0 << 10.0 << 1 << 240 << "bins_min must be > 1";
    QTest::newRow("bins_max") << 3.0 << 10.0 << 220 << 219 << "bins_max must be >= bins_min";
}

void TestPulsarCalculateFfa::sizeTableErrors() {
    QFETCH(double, pmin);
    QFETCH(double, pmax);
    QFETCH(int, bmin);
    QFETCH(int, bmax);
    QFETCH(QString, text);
    QCOMPARE(PulsarCalculate::getFfaInfo(pmin, pmax, bmin, bmax, 0.02, 1.5, tsampOrv), text);
}

void TestPulsarCalculateFfa::sizeTable() {
    const QString text = PulsarCalculate::getFfaInfo(3, 10, 220, 240, 0.02, 1.5, tsampOrv);
    QVERIFY(text.startsWith("widts={1, 2, 3, 4}\n\nav\tp0\tp1\tnum0\tnum1\n0\t16384\t32768\t10600\t"));
    QVERIFY(text.endsWith("\ntres=0.0124928 - sampling time\n"
                          "\nav\t - number of signal averagings befor FFA"
                          "\np0  \t - points in signal without adding nulls"
                          "\np1  \t - points in signal with adding nulls"
                          "\nnum0  \t - number of periods without adding nulls"
                          "\nnum1  \t - number of periods with adding nulls"
                          "\n\n-1 - Error, mast be period_min>=tsamp*bins_min"));
    const auto rows = tableRows(text);
    QCOMPARE(rows.size(), 7);
    for (int av = 0; av < 7; ++av) {
        const double t0 = std::ldexp(tsampOrv, av);
        const qint64 p0 = 16384 >> av;
        QCOMPARE(rows[av],
                 (QVector<qint64>{
                     av, p0, 2 * p0, t0 * 220 <= 3 ? qint64(periodogram_size(p0, t0, 3, 10, 220, 240)) : -1,
                     t0 * 110 <= 3 ? qint64(periodogram_size(2 * p0, t0 / 2, 3, 10, 220, 240)) : -1}));
    }
}

void TestPulsarCalculateFfa::sizeTableLimits() {
    for (const auto& row : tableRows(PulsarCalculate::getFfaInfo(0.1, 10, 100, 110, 0.02, 1.5, tsampOrv))) {
        QCOMPARE(row[3], qint64(-1));
        QCOMPARE(row[4], qint64(-1));
    }
    // 40 bins of 4 · 0.0124928 s still fit in 2 s; of 8 · 0.0124928 s no longer.
    const auto rows = tableRows(PulsarCalculate::getFfaInfo(2, 10, 40, 50, 0.1, 1.5, tsampOrv));
    for (int av = 0; av < 7; ++av) {
        QVERIFY((rows[av][3] > 0) == (av <= 2));
        QVERIFY((rows[av][4] > 0) == (av <= 3));
        QVERIFY(rows[av][3] > 0 || rows[av][3] == -1);
    }
    // A sampling time the table does not check gives -1 rather than an exception.
    for (const auto& row : tableRows(PulsarCalculate::getFfaInfo(3, 10, 220, 240, 0.02, 1.5, -1.0))) {
        QCOMPARE(row[3], qint64(-1));
    }
}

void TestPulsarCalculateFfa::perWidthCurvesAndArrayFile() {
    RecordFixture::Owned rec(pulsarRecord());
    RecordingDesktop desktop;
    PulsarCalculate pc(QStringLiteral("grafik"));
    setUp(pc, rec.data);
    QVERIFY(pc.calculate());
    QVERIFY(desktop.boxes().isEmpty());
    const int np = 10600;
    QCOMPARE(pc.count, np);
    QCOMPARE(pc.arrGrafiks.size(), 4);
    QCOMPARE(pc.grafikNames, (QVector<QString>{"width=1", "width=2", "width=3", "width=4"}));
    QCOMPARE(pc.grafikVisible, QVector<bool>(4, true));
    for (const auto& curve : pc.arrGrafiks) {
        QCOMPARE(curve.size(), np);
    }
    QCOMPARE(pc.arrX1.size(), np);
    QCOMPARE(pc.arrX2.size(), np);
    QCOMPARE(pc.arrX1.first(), QString("3.00"));
    QCOMPARE(pc.arrX2.first(), QString("220"));
    QCOMPARE(pc.infoText,
             QString("axe Y:  SNR\naxe X:  number of points\naxe X1:  periods\naxe X2: foldbins\n"
                     "\nnumber of periods: 10600\n\nwidth=1\nwidth=2\nwidth=3\nwidth=4\n"));

    // The best trial of the 3-bin width sits at the train's period.
    const QVector<float>& w3 = pc.arrGrafiks[2];
    const int best = int(std::max_element(w3.begin(), w3.end()) - w3.begin());
    QVERIFY2(std::abs(pc.arrX1[best].toDouble() - 5.0) <= 0.01, qPrintable(pc.arrX1[best]));
    QVERIFY(w3[best] > 12.0f);

    QFile file("010121_05_N1_00.pnt_array.txt");
    QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
    const QStringList lines = QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 1 + 4 * np + 4);
    QCOMPARE(lines[0], QString("fileName = 010121_05_N1_00.pnt"));
    QCOMPARE(lines[1], QString("0: %1").arg(double(pc.arrGrafiks[0][0]), 0, 'g', 6));
    QCOMPARE(lines[np + 1], QString("------------------- cols=1"));
    QCOMPARE(lines[np + 2], QString("%1: %2").arg(np).arg(double(pc.arrGrafiks[1][0]), 0, 'g', 6));
    QCOMPARE(lines.last(), QString("------------------- cols=4"));
}

void TestPulsarCalculateFfa::oneArrayAndStrongPeriods() {
    RecordFixture::Owned rec(pulsarRecord());
    RecordingDesktop desktop;
    PulsarCalculate pc(QStringLiteral("grafik"));
    setUp(pc, rec.data);
    pc.show_as_is = true;
    pc.showSigma = true;
    pc.sigmaLevel1 = 3;
    pc.sigmaLevel2 = 3;
    QVERIFY(pc.calculate());
    QVERIFY(desktop.boxes().isEmpty());
    const int cells = 10600 * 4;
    QCOMPARE(pc.count, cells);
    QCOMPARE(pc.arrGrafiks.size(), 3);
    QCOMPARE(pc.grafikNames, (QVector<QString>{"FFA SNR as one-dimension array", "3 sigma", "3 sigma"}));
    QCOMPARE(pc.arrX1.size(), cells);
    QCOMPARE(pc.arrX1[10600], pc.arrX1[0]);
    QCOMPARE(pc.arrX2[3 * 10600 + 5], pc.arrX2[5]);
    QVERIFY(
        pc.infoText.startsWith("axe Y:  SNR\naxe X:  number of points\naxe X1:  periods for each widths\n"
                               "axe X2: foldbins for each widths\n\nnumber of points: 42400\n\nwidth=1\n"));

    const double sigma = pc.arrGrafiks[1][0] / 3.0;
    QCOMPARE(pc.arrGrafiks[1].size(), cells);
    // Equal levels write their line once; a low line lets the list stop at 16 lines.
    QCOMPARE(pc.infoText.count("3*sigma = "), 1);
    const QString title = QString("\nHarmonics > 3*sigma=%1:\n\n").arg(3 * sigma, 0, 'f', 2);
    QVERIFY2(pc.infoText.contains(title), qPrintable(pc.infoText));
    QCOMPARE(pc.infoText.section(title, 1).split('\n', Qt::SkipEmptyParts).size(), 16);

    // A high line leaves the train's period, once for each width that reaches it, and its relatives.
    pc.sigmaProc = 100;
    pc.sigmaLevel1 = 5;
    pc.sigmaLevel2 = 12;
    QVERIFY(pc.calculate());
    QCOMPARE(pc.grafikNames.mid(1), (QVector<QString>{"5 sigma", "12 sigma"}));
    const double sigma100 = pc.arrGrafiks[1][0] / 5.0;
    QVERIFY(pc.infoText.contains(QString("\n5*sigma = %1\n12*sigma = %2\n")
                                     .arg(5 * sigma100, 0, 'f', 2)
                                     .arg(12 * sigma100, 0, 'f', 2)));
    const QStringList strong =
        pc.infoText.section("12*sigma=", 1).section(":\n\n", 1).split('\n', Qt::SkipEmptyParts);
    QVERIFY(strong.size() >= 2 && strong.size() <= 16);
    QVERIFY(std::abs(strong[0].section(": ", 0, 0).toDouble() - 5.0) < 0.02);
    for (const QString& line : strong) {
        QVERIFY(line.section(": ", 1).toDouble() > 12 * sigma100 - 1e-3);
        // The train's period or a simple ratio of it.
        const double p = line.section(": ", 0, 0).toDouble();
        const bool related = std::abs(p - 5.0) < 0.02 || std::abs(p - 7.5) < 0.02 ||
                             std::abs(p - 10.0) < 0.02 || std::abs(p - 10.0 / 3) < 0.02;
        QVERIFY2(related, qPrintable(line));
    }
}

void TestPulsarCalculateFfa::trialCountFollowsAveraging_data() {
    QTest::addColumn<int>("averages");
    QTest::addColumn<bool>("withNull");
    QTest::newRow("none") << 0 << false;
    QTest::newRow("none, nulls") << 0 << true;
    QTest::newRow("1") << 1 << false;
    QTest::newRow("2, nulls") << 2 << true;
}

void TestPulsarCalculateFfa::trialCountFollowsAveraging() {
    QFETCH(int, averages);
    QFETCH(bool, withNull);
    RecordFixture::Owned rec(pulsarRecord());
    RecordingDesktop desktop;
    PulsarCalculate pc(QStringLiteral("grafik"));
    setUp(pc, rec.data);
    pc.averageCount = averages;
    pc.averageWithNull = withNull;
    pc.bins_min = 100;
    pc.bins_max = 110;
    QVERIFY(pc.calculate());
    const auto rows = tableRows(PulsarCalculate::getFfaInfo(3, 10, 100, 110, 0.02, 1.5, tsampOrv));
    QCOMPARE(qint64(pc.count), rows[averages][withNull ? 4 : 3]);
    QCOMPARE(pc.arrGrafiks.size(), 2);
}

void TestPulsarCalculateFfa::searchErrorShowsCriticalBox() {
    RecordFixture::Owned rec(pulsarRecord());
    RecordingDesktop desktop;
    PulsarCalculate pc(QStringLiteral("grafik"));
    setUp(pc, rec.data);
    pc.period_min = 0.5;
    QVERIFY(!pc.calculate());
    QCOMPARE(desktop.boxes().size(), 1);
    QCOMPARE(desktop.boxes()[0].kind, QString("warning"));
    QCOMPARE(desktop.boxes()[0].title, QString("Critical error"));
    QCOMPARE(desktop.boxes()[0].text,
             QString("Must have: period_min >= tsamp * bins_min (0.0124928*220=2.74842)"));
    QVERIFY(pc.arrGrafiks.isEmpty());

    // A duty cycle of 1 reaches the smallest bins count.
    pc.period_min = 3;
    pc.ducy_max = 1.0;
    pc.bins_min = 13;
    QVERIFY(!pc.calculate());
    QCOMPARE(desktop.boxes().last().text, QString("trial widths must be all > 0 and < columns"));
}

void TestPulsarCalculateFfa::sumFailureIsSilent() {
    RecordFixture::Owned rec(pulsarRecord());
    RecordingDesktop desktop;
    PulsarCalculate pc(QStringLiteral("grafik"));
    setUp(pc, rec.data);
    pc.firstPoint = 1000;
    QVERIFY(!pc.calculate());
    QVERIFY(desktop.boxes().isEmpty());
}

void TestPulsarCalculateFfa::unusableSigma_data() {
    QTest::addColumn<float>("noise");
    QTest::addColumn<bool>("normalised");
    QTest::addColumn<double>("periodMax");
    QTest::addColumn<int>("percent");
    // Without normalisation the S/N follows the raw amplitude: far beyond 1000.
    QTest::newRow("too large") << 1.0e5f << false << 10.0 << 50;
    // One percent of a few dozen values is none: no estimate at all.
    QTest::newRow("not a number") << 1.0f << true << 3.02 << 1;
}

void TestPulsarCalculateFfa::unusableSigma() {
    QFETCH(float, noise);
    QFETCH(bool, normalised);
    QFETCH(double, periodMax);
    QFETCH(int, percent);
    RecordFixture::Owned rec(pulsarRecord(0.0f, noise));
    RecordingDesktop desktop;
    PulsarCalculate pc(QStringLiteral("grafik"));
    setUp(pc, rec.data);
    pc.withNormalization = normalised;
    pc.noiseMethod = QStringLiteral("without");
    pc.period_max = periodMax;
    pc.bins_max = 220;
    pc.ducy_max = 0.001;
    pc.showSigma = true;
    pc.sigmaProc = percent;
    QVERIFY(pc.calculate());
    QCOMPARE(desktop.boxes().size(), 1);
    QCOMPARE(desktop.boxes()[0].title, QString("Error"));
    QCOMPARE(desktop.boxes()[0].text, QString("Error of calculating sigma"));
    QCOMPARE(pc.arrGrafiks.size(), 1);
    QVERIFY(!pc.infoText.contains("sigma"));
}

void TestPulsarCalculateFfa::downToNullCentresTheLowest() {
    RecordFixture::Owned rec(pulsarRecord());
    RecordingDesktop desktop;
    PulsarCalculate pc(QStringLiteral("grafik"));
    setUp(pc, rec.data);
    pc.show_as_is = true;
    pc.downToNull = true;
    pc.nullProc = 100;
    QVERIFY(pc.calculate());
    double sum = 0;
    for (float v : pc.arrGrafiks[0]) {
        sum += v;
    }
    QVERIFY(std::abs(sum / pc.count) < 1e-4);
}

QTEST_GUILESS_MAIN(TestPulsarCalculateFfa)
#include "tst_pulsarcalculate_ffa.moc"
