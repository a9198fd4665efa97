#include "core/tools.h"
#include "directory/calc/fouriercalculate.h"
#include "support/resultfilewriter.h"
#include "support/testenv.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using Record = ResultFileWriter::Record;

namespace {

constexpr double usualResolution = 0.0124928;

// A flat spectrum alternating 9 and 11: the running median is 9 and sigma exactly 1, so the S/N of a
// harmonic is its value minus 9. Spikes go on odd harmonics, where they leave the medians alone.
QVector<double> spectrum(int n, const QMap<int, double>& snrAt = {}) {
    QVector<double> v(n);
    for (int j = 0; j < n; ++j) {
        v[j] = j % 2 ? 11 : 9;
    }
    for (auto it = snrAt.begin(); it != snrAt.end(); ++it) {
        v[it.key()] = 9 + it.value();
    }
    return v;
}

bool writeSpectra(const QString& path, const QVector<int>& dms, const QVector<double>& values,
                  const QVector<int>& emptyDms = {}) {
    QDir().mkpath(QFileInfo(path).path());
    QVector<Record> records;
    for (int dm : dms) {
        records.append({dm, 1, emptyDms.contains(dm) ? QVector<double>(values.size(), 0.0) : values});
    }
    return ResultFileWriter::write(path, ResultFileWriter::header(values.size(), true), records, false, 0,
                                   true);
}

} // namespace

class TstFourierSums : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void harmonicCounts_data();
    void harmonicCounts();
    void checkedRowsAndProgress();
    void rowLocations_data();
    void rowLocations();
    void runList_data();
    void runList();
    void interferenceCleared();
    void curves_data();
    void curves();
    void emptySpectrum();
    void segments();
    void segmentFailures();
    void harmDispOne();
    void harmDispRefusals();
    void harmDispAverage();
    void harmDispFirstPoint();

private:
    FourierCalculate* fourier(const QString& root, const QVector<QString>& rows,
                              const QVector<bool>& checked);
    QTemporaryDir dir;
    QVector<QSharedPointer<FourierCalculate>> owned;
};

void TstFourierSums::initTestCase() {
    TestEnv::isolate();
    QVERIFY(dir.isValid());
}

FourierCalculate* TstFourierSums::fourier(const QString& root, const QVector<QString>& rows,
                                          const QVector<bool>& checked) {
    owned.append(QSharedPointer<FourierCalculate>::create());
    FourierCalculate* calc = owned.last().data();
    calc->grafikType = "fourier";
    calc->dir = root;
    calc->tableRows = rows;
    calc->rowChecked = checked;
    calc->dispersions = {0, 10};
    calc->dispersion = 10;
    calc->tresolution = usualResolution;
    calc->plosh = "N0";
    calc->module = 1;
    calc->ray = 1;
    return calc;
}

void TstFourierSums::harmonicCounts_data() {
    QTest::addColumn<int>("points");
    QTest::addColumn<int>("averages");
    QTest::addColumn<int>("withNulls");
    QTest::addColumn<int>("n");
    QTest::newRow("16384 points") << 16384 << 0 << 0 << 8192;
    QTest::newRow("2 averagings with nulls") << 16384 << 2 << 1 << 4096;
    QTest::newRow("63 points") << 63 << 0 << 0 << 0;
}

void TstFourierSums::harmonicCounts() {
    QFETCH(int, points);
    QFETCH(int, averages);
    QFETCH(int, withNulls);
    QFETCH(int, n);
    FourierCalculate calc;
    calc.points = points;
    calc.averages = averages;
    calc.withNulls = withNulls;
    calc.calculateFourier();
    QCOMPARE(calc.curvePoints, n);
}

void TstFourierSums::checkedRowsAndProgress() {
    const QString root = dir.filePath("rows");
    const QVector<double> values = spectrum(8192);
    QVERIFY(writeSpectra(root + "/a/f00_n0_av0.txt", {0, 10}, values));
    QVERIFY(writeSpectra(root + "/b/f00_n0_av0.txt", {0, 10}, spectrum(8192, {{1001, 40}})));
    QVERIFY(writeSpectra(root + "/c/c_f00_n0_av0.txt", {0, 10}, values)); // only under the fallback name
    FourierCalculate* calc = fourier(root, {"a", "b", "c"}, {true, false, true});
    calc->showNoise = true;
    QSignalSpy spy(calc, &FourierCalculate::progress);
    QVERIFY(calc->calculate());
    QCOMPARE(spy.count(), 3);
    QCOMPARE(spy.at(0).at(0).toInt(), 33);
    QCOMPARE(spy.at(1).at(0).toInt(), 66);
    QCOMPARE(spy.at(2).at(0).toInt(), 100);
    QCOMPARE(calc->days, 2);
    QCOMPARE(calc->errors, QString());
    QVector<double> twice = values;
    for (double& v : twice) {
        v *= 2;
    }
    QCOMPARE(calc->arrGrafikY.at(0), twice); // the unchecked row's spike is nowhere
}

void TstFourierSums::rowLocations_data() {
    QTest::addColumn<QString>("row");
    QTest::addColumn<QStringList>("files"); // below the root
    QTest::addColumn<QStringList>("locations");
    QTest::addColumn<int>("days");
    QTest::newRow("year tree") << "2019.03.15" << QStringList{"2019/03/2019.03.15_f00_n0_av0.txt"}
                               << QStringList{"2019/03"} << 1;
    QTest::newRow("dated directory") << "2019.03.16" << QStringList{"2019.03.16_extra/f00_n0_av0.txt"}
                                     << QStringList{"2019.03.16_extra"} << 1;
    QTest::newRow("dated directory, prefixed name")
        << "2019.03.18" << QStringList{"2019.03.18_x/2019.03.18_x_f00_n0_av0.txt"}
        << QStringList{"2019.03.18_x"} << 1;
    QTest::newRow("both, summed once")
        << "2019.03.17" << QStringList{"2019/03/2019.03.17_f00_n0_av0.txt", "2019.03.17_extra/f00_n0_av0.txt"}
        << QStringList{"2019/03", "2019.03.17_extra"} << 1;
    QTest::newRow("bare descriptor in a month names no day")
        << "2019.04.01" << QStringList{"2019/04/f00_n0_av0.txt"} << QStringList{"2019/04"} << 0;
    QTest::newRow("no location recorded")
        << "2019.03.19" << QStringList{"2019.03.19_extra/f00_n0_av0.txt"} << QStringList() << 0;
}

void TstFourierSums::rowLocations() {
    QFETCH(QString, row);
    QFETCH(QStringList, files);
    QFETCH(QStringList, locations);
    QFETCH(int, days);
    const QString root = dir.filePath("locations_" + row);
    const QVector<double> values = spectrum(8192);
    for (const QString& f : files) {
        QVERIFY(writeSpectra(root + "/" + f, {0, 10}, values));
    }
    FourierCalculate* calc = fourier(root, {row}, {true});
    calc->showNoise = true;
    if (!locations.isEmpty()) {
        calc->rowLocations.insert(row, locations);
    }
    QCOMPARE(calc->calculate(), days > 0);
    QCOMPARE(calc->days, days);
    if (days > 0) {
        QCOMPARE(calc->arrGrafikY.at(0), values);
    } else {
        QCOMPARE(calc->errors, "Error: no days were summed! Check tresolution in left form");
    }
}

void TstFourierSums::runList_data() {
    QTest::addColumn<double>("k");
    QTest::addColumn<QVariantMap>("spikes"); // harmonic -> S/N
    QTest::addColumn<QStringList>("listed"); // harmonics listed, in order
    QTest::newRow("two runs")
        << 3.0 << QVariantMap{{"1001", 6.0}, {"1002", 8.0}, {"1003", 7.0}, {"2001", 6.0}, {"2002", 5.0}}
        << QStringList{"1002", "2001"};
    QTest::newRow("exactly at k is not above")
        << 3.0 << QVariantMap{{"1001", 3.0}, {"2001", 3.5}} << QStringList{"2001"};
    QVariantMap eleven;
    QStringList nine;
    for (int i = 0; i < 11; ++i) {
        eleven.insert(QString::number(1001 + 100 * i), 4.0 + i);
        if (i < 9) {
            nine << QString::number(1001 + 100 * i);
        }
    }
    QTest::newRow("nine of eleven runs") << 3.0 << eleven << nine;
    QTest::newRow("last run open at the end") << 3.0 << QVariantMap{{"8191", 9.0}} << QStringList{"8191"};
}

void TstFourierSums::runList() {
    QFETCH(double, k);
    QFETCH(QVariantMap, spikes);
    QFETCH(QStringList, listed);
    QMap<int, double> snr;
    for (auto it = spikes.begin(); it != spikes.end(); ++it) {
        snr.insert(it.key().toInt(), it.value().toDouble());
    }
    // Even harmonics carry 9 + S/N as well: the run list sees them through the same baseline.
    QVector<double> values = spectrum(8192);
    for (auto it = snr.begin(); it != snr.end(); ++it) {
        values[it.key()] = 9 + it.value();
    }
    const QString root =
        dir.filePath(QStringLiteral("runs_%1").arg(QTest::currentDataTag()).replace(' ', '_'));
    QVERIFY(writeSpectra(root + "/d/f00_n0_av0.txt", {0, 10}, values));
    FourierCalculate* calc = fourier(root, {"d"}, {true});
    calc->showSigmaLevel = k;
    calc->asIs = true;
    QVERIFY(calc->calculate());
    const QString list = calc->text.section("sigma:\n\n", 1);
    QStringList found;
    for (const QString& line : list.split('\n', Qt::SkipEmptyParts)) {
        found << line.section(':', 0, 0).trimmed();
    }
    QCOMPARE(found, listed);
    QVERIFY(calc->text.startsWith("sigmaMedian = 1.0000\n\nHarmonics >= 3 sigma:\n\n"));
}

void TstFourierSums::interferenceCleared() {
    const double tres = usualResolution;
    int j = 401;
    while (!Tools::isInterferencePeriod(FourierCalculate::calcPeriodOfHarmonic(j, false, tres), "N0", 1, 1,
                                        true)) {
        j += 2;
    }
    const QString root = dir.filePath("interference");
    QVERIFY(writeSpectra(root + "/d/f00_n0_av0.txt", {0, 10}, spectrum(8192, {{j, 21}})));
    for (bool asIs : {false, true}) {
        FourierCalculate* calc = fourier(root, {"d"}, {true});
        calc->showSigmaLevel = 3;
        calc->asIs = asIs;
        QVERIFY(calc->calculate());
        QCOMPARE(calc->arrGrafikY.at(0).at(j), asIs ? 21.0 : 0.0);
        QCOMPARE(calc->text.contains(QStringLiteral("%1: period:").arg(j, 4)), asIs);
    }
}

void TstFourierSums::curves_data() {
    QTest::addColumn<bool>("showNoise");
    QTest::addColumn<bool>("forPrint");
    QTest::addColumn<double>("k");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("S/N and level") << false << false << 2.5
                                   << QStringList{"S/N (fourier minus approx)", "S/N = 2.5"};
    QTest::newRow("for print wins over noise")
        << true << true << 3.0 << QStringList{"S/N (fourier minus approx)", "S/N = 3"};
    QTest::newRow("k = 0: S/N alone") << false << false << 0.0 << QStringList{"S/N (fourier minus approx)"};
    QTest::newRow("four curves") << true << false << 3.7
                                 << QStringList{"fourier of sum channels", "approx by median vals",
                                                "fourier minus approx", "S/N = 3"};
}

void TstFourierSums::curves() {
    QFETCH(bool, showNoise);
    QFETCH(bool, forPrint);
    QFETCH(double, k);
    QFETCH(QStringList, names);
    const QString root = dir.filePath("curves");
    QVERIFY(writeSpectra(root + "/d/f00_n0_av0.txt", {0, 10}, spectrum(8192)));
    FourierCalculate* calc = fourier(root, {"d"}, {true});
    calc->showNoise = showNoise;
    calc->forPrint = forPrint;
    calc->showSigmaLevel = k;
    calc->harmonic = 7;
    QVERIFY(calc->calculate());
    QCOMPARE(QStringList(calc->names.toList()), names);
    QCOMPARE(calc->visible, QVector<bool>(names.size(), true));
    QCOMPARE(calc->markers, QVector<int>{7});
    if (showNoise && !forPrint) {
        QCOMPARE(calc->arrGrafikY.at(3).at(63), 0.0);     // below n / 128 the level is 0
        QCOMPARE(calc->arrGrafikY.at(3).at(64), k * 1.0); // then k sigma
    }
}

void TstFourierSums::emptySpectrum() {
    const QString root = dir.filePath("empty");
    QVERIFY(writeSpectra(root + "/d/f00_n0_av0.txt", {0, 10}, QVector<double>(8192, 0.0)));
    FourierCalculate* calc = fourier(root, {"d"}, {true});
    QVERIFY(!calc->calculate());
    QCOMPARE(calc->errors, "Error: sigma = 0, empty spectrum");
    QVERIFY(calc->arrGrafikY.isEmpty());
}

void TstFourierSums::segments() {
    const QString root = dir.filePath("n4");
    const QVector<double> values = spectrum(32768);
    for (const QString time : {"123000", "123300", "123600", "123900"}) {
        QVERIFY(writeSpectra(root + "/12/2019.03.15/" + time + "/a" + time + "_m01_r3/f00_n0_av0.txt",
                             {0, 10}, values));
    }
    FourierCalculate* calc = fourier(root, {}, {});
    calc->isSearch = true;
    calc->tresolution = 0.003072;
    calc->sumAlfa = 3;
    calc->showNoise = true;
    calc->selectedDir = root + "/12/2019.03.15/123000/a123000_m01_r3";
    QVERIFY(calc->calculate());
    QCOMPARE(calc->days, 3);
    QVERIFY(calc->text.contains("\nCложение 3-мин. отрезков\n\nСложение 3 отрезков:\n"
                                " 1: a123000_m01_r3 - ok\n 2: a123300_m01_r3 - ok\n 3: a123600_m01_r3 - ok\n"
                                "Cложено отрезков: 3\n\n"));
    QCOMPARE(calc->arrGrafikY.at(0).at(5), 3 * values[5] / std::sqrt(3.0));

    // The matrix form for every DM, with progress per segment.
    QVector<QVector<double>> matrix(2, QVector<double>(32768, 0.0));
    QSignalSpy spy(calc, &FourierCalculate::progress);
    QCOMPARE(calc->sumFourierN4(matrix, 2, calc->selectedDir, calc->dispersions, 0, 0), 2);
    QCOMPARE(matrix[1][5], 2 * values[5] / std::sqrt(2.0));
    QCOMPARE(spy.count(), 2);
}

void TstFourierSums::segmentFailures() {
    const QString root = dir.filePath("n4none");
    FourierCalculate* calc = fourier(root, {}, {});
    calc->isSearch = true;
    calc->tresolution = 0.003072;
    calc->sumAlfa = 2;
    calc->selectedDir = root + "/12/2019.03.15/123000/a123000_m01_r3";
    QVERIFY(!calc->calculate());
    QCOMPARE(calc->errors, "Error: no days were summed! Check tresolution in left form");
    QVERIFY(calc->text.contains(" 1: a123000_m01_r3 нет файла\n 2: a123300_m01_r3 нет файла\n"));

    QVector<double> sum(32768, 0.0);
    QCOMPARE(calc->sumFourierN4(sum, 2, root + "/a123000_m01_r3", 10, 0, 0), -1);
    calc->selectedDir = root + "/off/pattern";
    QVERIFY(!calc->calculate());
    QCOMPARE(calc->errors, "Error: no days were summed! Check tresolution in left form");

    FourierCalculate* harm = fourier(root, {}, {});
    harm->grafikType = "harmDispOne";
    harm->isSearch = true;
    harm->tresolution = 0.003072;
    harm->sumAlfa = 2;
    harm->selectedDir = root + "/12/2019.03.15/123000/a123000_m01_r3";
    QVERIFY(!harm->calculate());
    QCOMPARE(harm->errors, "Нет данных для этих параметров");
}

void TstFourierSums::harmDispOne() {
    const QString root = dir.filePath("harm");
    const QVector<int> dms = {0, 12, 24, 36, 48};
    QVERIFY(writeSpectra(root + "/d/f00_n0_av0.txt", dms, spectrum(8192, {{1001, 5.31}}), {24}));
    FourierCalculate* calc = fourier(root, {"d"}, {true});
    calc->grafikType = "harmDispOne";
    calc->dispersions = dms;
    calc->dispersion = 12;
    calc->harmonic = 1001;
    calc->showCurve = true;
    calc->showApprox = true;
    calc->showDispersion = 12;
    calc->showSigmaLevel = 7;
    QVERIFY(calc->calculate());
    QCOMPARE(calc->arrGrafikX, QVector<double>({0, 12, 24, 36, 48}));
    const QVector<double> snr = calc->arrGrafikY.at(0);
    QCOMPARE(snr.size(), 5);
    QCOMPARE(snr[2], 0.0); // the all-zero DM
    for (int i : {0, 1, 3, 4}) {
        QCOMPARE(QString::number(snr[i], 'f', 2), "5.31");
    }
    QCOMPARE(QStringList(calc->names.toList()),
             QStringList({"S/N from dispersion", "approximation by polinom 3", "S/N=5", "S/N=4", "S/N=3",
                          "S/N=2", "S/N=1", "S/N=7"}));
    QCOMPARE(calc->markersX, QVector<double>{12});
    QCOMPARE(calc->curvePoints, 5);
    QVERIFY(calc->text.contains(
        "\nResult:\n..............................................\nPolinom extremums:\nx1 = "));
    QVERIFY(calc->text.endsWith("Axis Y: S/N of harmonic 1001\nAxis X: dispersion\n\ndisp= 12: S/N=5.31\n"));

    // Fewer than four DMs: no fit, the Result block still there.
    const QString few = dir.filePath("harmfew");
    QVERIFY(writeSpectra(few + "/d/f00_n0_av0.txt", {0, 12, 24}, spectrum(8192, {{1001, 5}})));
    FourierCalculate* small = fourier(few, {"d"}, {true});
    small->grafikType = "harmDispOne";
    small->dispersions = {0, 12, 24};
    small->harmonic = 1001;
    small->showApprox = true;
    small->forPrint = true;
    small->showSigmaLevel = 3;
    QVERIFY(small->calculate());
    QCOMPARE(QStringList(small->names.toList()), QStringList{"S/N=3"});
    QVERIFY(
        small->text.contains("Polinom extremums:\nno fit\n.............................................."));
    QVERIFY(!small->text.contains("Maximum"));

    // A harmonic outside the row: S/N 0 for every DM, and the reason among the errors.
    for (int h : {-1, 8192}) {
        FourierCalculate* out = fourier(root, {"d"}, {true});
        out->grafikType = "harmDispOne";
        out->dispersions = dms;
        out->harmonic = h;
        out->showCurve = true;
        QVERIFY(out->calculate());
        QCOMPARE(out->arrGrafikY.at(0), QVector<double>(5, 0.0));
        QCOMPARE(out->errors,
                 QStringLiteral("average=0, withNull=0:\nno harmonic %1 in 8192 points\n\n").arg(h));
    }
}

void TstFourierSums::harmDispRefusals() {
    const QString root = dir.filePath("harm");
    FourierCalculate* none = fourier(root, {"d"}, {false});
    none->grafikType = "harmDispOne";
    QVERIFY(!none->calculate());
    QCOMPARE(none->errors, "Нет данных для этих параметров");

    FourierCalculate* search = fourier(root, {}, {});
    search->grafikType = "harmDispOne";
    search->isSearch = true;
    QVERIFY(!search->calculate());
    QCOMPARE(search->errors, "Click on string in the table");

    FourierCalculate* calc = fourier(root, {"d"}, {true});
    calc->dispersions = {0, 12, 24, 36, 48};
    calc->points = 16384;
    QVector<double> snr;
    QVERIFY(!calc->createSnrDisp(snr, calc->tableRows, 0, 0, 0, 8192));
    QCOMPARE(calc->errors, "average=0, withNull=0:\nno harmonic 8192 in 8192 points\n\n");
    QCOMPARE(snr, QVector<double>(5, 0.0));
    QVERIFY(!calc->createSnrDisp(snr, calc->tableRows, 0, 0, 0, -3));
    QVERIFY(calc->errors.endsWith("no harmonic -3 in 8192 points\n\n"));
}

void TstFourierSums::harmDispAverage() {
    const QString root = dir.filePath("averages");
    const QVector<int> dms = {0, 12, 24, 36};
    QVERIFY(writeSpectra(root + "/d/f00_n0_av0.txt", dms, spectrum(8192, {{1001, 6}})));
    QVERIFY(writeSpectra(root + "/d/f00_n0_av1.txt", dms, spectrum(4096, {{1001, 4}})));
    FourierCalculate* calc = fourier(root, {"d"}, {true});
    calc->grafikType = "harmDispAverage";
    calc->dispersions = dms;
    calc->dispersion = 12;
    calc->harmonic = 1001;
    QSignalSpy spy(calc, &FourierCalculate::progress);
    QVERIFY(calc->calculate());
    QCOMPARE(QStringList(calc->names.toList()), QStringList({"0. Average = 0", "1. Average = 1"}));
    QCOMPARE(calc->multiPoints, 2);
    QCOMPARE(calc->multiLabelsX1, QVector<QString>({"0", "1"}));
    QCOMPARE(calc->multiLabelsX2, QVector<QString>({"12.49", "24.99"}));
    QCOMPARE(calc->multiGrafikY.size(), 1);
    QCOMPARE(calc->multiGrafikY.at(0).size(), 2);
    QCOMPARE(calc->multiVisible, QVector<bool>{true});
    QVERIFY(calc->text.contains("average=0:  DM= 12  S/N=6.00\naverage=1:  DM= 12  S/N=4.00\n"));
    QVERIFY(calc->text.contains("\nErrors:\n\nnot found\n"));
    QVERIFY(calc->multiText.startsWith("Axis Y: S/N of harmonic 1001 on DM 12\nAxis X: averages number\n"));
    QList<int> percents;
    for (const QList<QVariant>& args : spy) {
        percents << args.at(0).toInt();
    }
    QCOMPARE(percents, QList<int>({14, 28, 42, 57, 71, 85, 100}));
}

void TstFourierSums::harmDispFirstPoint() {
    const QString root = dir.filePath("shifts");
    const QVector<int> dms = {0, 12, 24, 36};
    for (int s = -3; s <= 3; ++s) {
        QVERIFY(writeSpectra(root + "/d/" + Tools::fourierFileName(QString(), s, 0, false), dms,
                             spectrum(8192, {{1001, 5.31}})));
    }
    FourierCalculate* calc = fourier(root, {"d"}, {true});
    calc->grafikType = "harmDispFirstPoint";
    calc->dispersions = dms;
    calc->dispersion = 12;
    calc->harmonic = 1001;
    calc->raTime = QTime(10, 0, 0);
    QSignalSpy spy(calc, &FourierCalculate::progress);
    QVERIFY(calc->calculate());
    QCOMPARE(calc->multiLabelsX2, QVector<QString>({"09:57:00", "09:58:00", "09:59:00", "10:00:00",
                                                    "10:01:00", "10:02:00", "10:03:00"}));
    QCOMPARE(calc->multiLabelsX1, QVector<QString>({"-3", "-2", "-1", "0", "1", "2", "3"}));
    QCOMPARE(calc->names.at(0), "1. First point: t_culm -3 min");
    QCOMPARE(calc->names.at(3), "4. First point: t_culm ");
    QCOMPARE(calc->names.at(5), "6. First point: t_culm +2 min");
    QVERIFY(calc->multiText.contains("shift=-3:  DM= 12  S/N=5.31\n"));
    QVERIFY(calc->multiText.contains("shift= 0:  DM= 12  S/N=5.31\n"));
    QVERIFY(calc->multiText.contains("shift=+2:  DM= 12  S/N=5.31\n"));
    QCOMPARE(calc->errors, QString());
    QCOMPARE(spy.count(), 7);
    QCOMPARE(spy.at(0).at(0).toInt(), 0);
    QCOMPARE(spy.at(6).at(0).toInt(), 85);
}

QTEST_GUILESS_MAIN(TstFourierSums)
#include "tst_fouriersums.moc"
