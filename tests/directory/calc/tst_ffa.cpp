#include "core/tools.h"
#include "directory/calc/fouriercalculate.h"
#include "directory/calc/mapfile.h"
#include "support/resultfilewriter.h"
#include "support/testenv.h"

#include <QDir>
#include <QSharedPointer>
#include <QTemporaryDir>
#include <QtTest>

using Record = ResultFileWriter::Record;

namespace {

QString infoText(int rows, int cols, const QVector<double>& periods, const QVector<int>& widths,
                 const QVector<int>& foldbins) {
    QString t = QStringLiteral("rows=%1\ncols=%2\nperiods={\n").arg(rows).arg(cols);
    for (double p : periods) {
        t += QString::number(p, 'g', 10) + QLatin1Char('\n');
    }
    t += QStringLiteral("}\nwidths={\n");
    for (int w : widths) {
        t += QString::number(w) + QLatin1Char('\n');
    }
    t += QStringLiteral("}\nfoldbins={\n");
    for (int f : foldbins) {
        t += QString::number(f) + QLatin1Char('\n');
    }
    return t + QStringLiteral("}\n");
}

bool writeText(const QString& path, const QString& text) {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           f.write(text.toUtf8()) == text.toUtf8().size();
}

// A periodogram file of one day: the same N values per DM unless a DM has its own.
bool writePeriodograms(const QString& path, const QVector<int>& dms, const QVector<double>& values,
                       const QHash<int, QVector<double>>& own = {}) {
    QDir().mkpath(QFileInfo(path).path());
    QVector<Record> records;
    for (int dm : dms) {
        records.append({dm, 1, own.value(dm, values)});
    }
    return ResultFileWriter::write(path, ResultFileWriter::header(values.size(), false), records, true, 0,
                                   true);
}

QVector<double> ramp(int n, double from, double step) {
    QVector<double> v(n);
    for (int i = 0; i < n; ++i) {
        v[i] = from + i * step;
    }
    return v;
}

} // namespace

class TstFfa : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void readInfo_data();
    void readInfo();
    void readInfoMissingAndTolerated();
    void curves_data();
    void curves();
    void window_data();
    void window();
    void normalisationTexts();
    void searchLayoutFirst();
    void searchLayoutOfEveryGraph_data();
    void searchLayoutOfEveryGraph();
    void mapAxes_data();
    void mapAxes();
    void snrDisp();
    void snrDispSeries();
    void mapFile();

private:
    FourierCalculate* ffa(const QString& root, int days = 1);
    QTemporaryDir dir;
    QVector<QSharedPointer<FourierCalculate>> owned;
    int fixtures = 0;
};

void TstFfa::initTestCase() {
    TestEnv::isolate();
    QVERIFY(dir.isValid());
}

// An "ffa" run over `days` checked day rows of `root`, DM 10 only, no baseline or clipping.
FourierCalculate* TstFfa::ffa(const QString& root, int days) {
    owned.append(QSharedPointer<FourierCalculate>::create());
    FourierCalculate* calc = owned.last().data();
    calc->grafikType = "ffa";
    calc->dir = root;
    for (int d = 0; d < days; ++d) {
        calc->tableRows.append(QStringLiteral("day%1").arg(d));
        calc->rowChecked.append(true);
    }
    calc->dispersions = {10};
    calc->dispersion = 10;
    calc->sigmaProc = 0;
    calc->asIs = true;
    calc->ffaNoise = "median";
    return calc;
}

void TstFfa::readInfo_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("cols");
    QTest::addColumn<int>("periods");
    QTest::addColumn<QString>("error");
    const QVector<double> p3 = {1, 2, 3};
    QTest::newRow("complete") << infoText(3, 2, p3, {8, 16}, {64, 64, 80}) << true << 3 << 2 << 3 << "";
    QTest::newRow("no cols") << infoText(3, 2, p3, {8, 16}, {64, 64, 80}).remove("cols=2\n") << false << 3
                             << 0 << 3 << "No cols in periodogram info!";
    QTest::newRow("two periods") << infoText(3, 2, {1, 2}, {8, 16}, {64, 64, 80}) << false << 3 << 2 << 2
                                 << "Bad number of periods (2) in periodogram info! (rows= 3)";
    QTest::newRow("huge cols, one width")
        << infoText(3, 2000000000, p3, {8}, {64, 64, 80}) << false << 3 << 2000000000 << 3
        << "Bad number of widths (1) in periodogram info! (cols= 2000000000)";
    const QVector<double> many = ramp(8000, 1, 0.001);
    const QVector<int> manyInts(8000, 64);
    QTest::newRow("points above the limit")
        << infoText(8000, 8000, many, manyInts, manyInts) << false << 8000 << 8000 << 8000
        << "Bad number of points (64000000) in periodogram info! (rows= 8000, cols= 8000)";
    QTest::newRow("second periods block appends")
        << QStringLiteral("periods={\n1\n}\nrows=3\n") +
               infoText(0, 1, {2, 3}, {8}, {64, 64, 80}).remove("rows=0\n")
        << true << 3 << 1 << 3 << "";
    QTest::newRow("keys must start the line")
        << QStringLiteral(" rows=3\n") + infoText(0, 1, p3, {8}, {1, 2, 3}).remove("rows=0\n") << false << 0
        << 1 << 3 << "No rows in periodogram info!";
}

void TstFfa::readInfo() {
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(int, rows);
    QFETCH(int, cols);
    QFETCH(int, periods);
    QFETCH(QString, error);
    const QString path = dir.filePath(QStringLiteral("info%1/info.txt").arg(++fixtures));
    QVERIFY(writeText(path, text));
    PeriodogramInfo info;
    info.error = "stale";
    QCOMPARE(FourierCalculate::readPeriodogramInfo(path, info), ok);
    QCOMPARE(info.rows, rows);
    QCOMPARE(info.cols, cols);
    QCOMPARE(info.periods.size(), periods);
    QCOMPARE(info.error, error);
    if (ok) {
        QCOMPARE(info.periods.first(), 1.0);
        QCOMPARE(info.periods.last(), 3.0);
    }
}

void TstFfa::readInfoMissingAndTolerated() {
    const QString path = dir.filePath("nowhere/info.txt");
    PeriodogramInfo info;
    QVERIFY(!FourierCalculate::readPeriodogramInfoChecked(path, info, 0));
    QCOMPARE(info.error, QStringLiteral("Нет файла ") + path);
    QVERIFY(FourierCalculate::readPeriodogramInfoChecked(path, info, 1));
    QCOMPARE(info.error, QStringLiteral("Нет файла ") + path);

    FourierCalculate calc;
    calc.grafikType = "ffa";
    calc.dir = dir.filePath("nowhere");
    QVERIFY(!calc.calculate());
    QCOMPARE(calc.errors, QStringLiteral("Нет файла ") + path);
}

void TstFfa::curves_data() {
    QTest::addColumn<bool>("approx");
    QTest::addColumn<bool>("minus");
    QTest::addColumn<QString>("noise");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QString>("errors");
    QTest::newRow("plain") << false << false << "median" << true << QStringList{"FFA", "FFA"} << "";
    QTest::newRow("both boxes, median")
        << true << true << "median" << true
        << QStringList{"FFA minus approx", "FFA approx", "FFA minus approx", "FFA approx"} << "";
    QTest::newRow("approx only, median")
        << true << false << "median" << true << QStringList{"FFA", "FFA approx", "FFA", "FFA approx"} << "";
    QTest::newRow("polinom on 3 periods fails")
        << true << false << "polinom" << false << QStringList{} << "Error of polinom noise approximation!";
}

void TstFfa::curves() {
    QFETCH(bool, approx);
    QFETCH(bool, minus);
    QFETCH(QString, noise);
    QFETCH(bool, ok);
    QFETCH(QStringList, names);
    QFETCH(QString, errors);
    const QString root = dir.filePath("curves");
    QVERIFY(writeText(root + "/info.txt", infoText(3, 2, {1, 2, 3}, {8, 16}, {64, 64, 80})));
    // Width-major: value k is period k mod 3 of width k / 3, so 40 is period 1 of width 1.
    const QVector<double> values = {1, 2, 3, 10, 40, 30};
    QVERIFY(writePeriodograms(root + "/day0/f00_n0_av0.txt", {10}, values));
    QVERIFY(writePeriodograms(root + "/day1/f00_n0_av0.txt", {10}, values));
    FourierCalculate* calc = ffa(root, 2);
    for (const char* absent : {"absent1", "absent2"}) { // only the last unreadable file is told
        calc->tableRows.append(absent);
        calc->rowChecked.append(true);
    }
    calc->tableRows.append("unchecked");
    calc->rowChecked.append(false);
    calc->showApproxFFA = approx;
    calc->showMinusApprox = minus;
    calc->ffaNoise = noise;
    calc->approxLen = 2;
    QSignalSpy progress(calc, &FourierCalculate::progress);
    QCOMPARE(calc->calculate(), ok);
    if (ok) {
        QVERIFY(calc->errors.startsWith("Not found: ") && calc->errors.endsWith("\n"));
        QVERIFY(calc->errors.contains("absent2") && !calc->errors.contains("absent1"));
    } else {
        QCOMPARE(calc->errors, errors);
    }
    QCOMPARE(QStringList(calc->names.toList()), names);
    QCOMPARE(calc->days, 2);
    QCOMPARE(progress.last().first().toInt(), 100);
    if (ok && !approx && !minus) {
        QCOMPARE(calc->arrGrafikY[0], QVector<double>({2, 4, 6}));
        QCOMPARE(calc->arrGrafikY[1], QVector<double>({20, 80, 60}));
        QCOMPARE(calc->curvePoints, 3);
    }
}

void TstFfa::window_data() {
    QTest::addColumn<double>("xMin");
    QTest::addColumn<double>("xMax");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("points");
    QTest::addColumn<double>("outMin");
    QTest::addColumn<double>("outMax");
    QTest::newRow("inside") << 1.2 << 2.2 << true << 2 << 1.5 << 2.0;
    QTest::newRow("no lower bound") << 0.0 << 2.2 << true << 3 << 1.0 << 2.0;
    QTest::newRow("upper at last period") << 0.0 << 3.0 << true << 5 << 1.0 << 3.0;
    QTest::newRow("upper beyond") << 0.0 << 7.0 << true << 5 << 1.0 << 3.0;
    QTest::newRow("lower above upper") << 2.6 << 1.2 << false << 0 << 2.6 << 1.2;
    QTest::newRow("between two periods") << 1.6 << 1.9 << false << 0 << 1.6 << 1.9;
}

void TstFfa::window() {
    QFETCH(double, xMin);
    QFETCH(double, xMax);
    QFETCH(bool, ok);
    QFETCH(int, points);
    QFETCH(double, outMin);
    QFETCH(double, outMax);
    const QString root = dir.filePath("window");
    const QVector<double> periods = {1.0, 1.5, 2.0, 2.5, 3.0};
    QVERIFY(writeText(root + "/info.txt", infoText(5, 2, periods, {8, 16}, {64, 64, 80, 80, 96})));
    QVERIFY(writePeriodograms(root + "/day0/f00_n0_av0.txt", {10}, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    for (int press = 0; press < (ok ? 2 : 1); ++press) {
        FourierCalculate* calc = ffa(root);
        calc->xMin = xMin;
        calc->xMax = xMax;
        calc->showApproxFFA = true;
        calc->approxLen = 2;
        calc->showSigmaLevel = 3;
        calc->period = outMax;
        QCOMPARE(calc->calculate(), ok);
        QCOMPARE(calc->xMin, outMin);
        QCOMPARE(calc->xMax, outMax);
        if (!ok) {
            QCOMPARE(calc->errors, QStringLiteral("No periods between xMin and xMax"));
            break;
        }
        QCOMPARE(calc->curvePoints, points);
        QCOMPARE(calc->arrGrafikY.size(), 5); // two widths with approximation, and the level line
        for (const QVector<double>& curve : calc->arrGrafikY) {
            QCOMPARE(curve.size(), points);
        }
        QCOMPARE(calc->arrGrafikY[0].first(), double(periods.indexOf(outMin) + 1));
        QCOMPARE(calc->arrGrafikY[2].first(), double(periods.indexOf(outMin) + 6)); // width 1, same period
        QCOMPARE(calc->labelsX2.first(), QString::number(outMin, 'f', 2));
        QCOMPARE(calc->labelsX2.size(), points);
        QCOMPARE(calc->markers, QVector<int>{points - 1});
        QVERIFY(calc->text.contains(QStringLiteral(" <---- i=%1\n").arg(points - 1)));
        xMin = calc->xMin; // the form writes the window back before the next press
        xMax = calc->xMax;
    }
}

void TstFfa::normalisationTexts() {
    const QString root = dir.filePath("norm");
    const QVector<double> periods = ramp(20, 1.05, 0.01); // no clipping mark inside
    QVERIFY(writeText(root + "/info.txt", infoText(20, 1, periods, {8}, QVector<int>(20, 64))));
    QVector<double> values = ramp(20, 10, 0); // 18 values of 10 above a level of 5, and two of 1 and 2
    values[0] = 1;
    values[1] = 2;
    QVERIFY(writePeriodograms(root + "/day0/f00_n0_av0.txt", {10}, values));

    FourierCalculate* calc = ffa(root);
    calc->showSigmaLevel = 5;
    QVERIFY(calc->calculate());
    QVERIFY(calc->text.contains("sigmaProc=0, change it in form!\n"));
    QCOMPARE(calc->arrGrafikY[0], values);
    QCOMPARE(calc->text.count("\tsnr=10.0\n"), 16);
    QVERIFY(calc->text.contains("i=2\tp=1.0700\tsnr=10.0\n"));

    // 5 % of 20 values is one value, whose deviation is undefined.
    calc = ffa(root);
    calc->sigmaProc = 5;
    QVERIFY(calc->calculate());
    QVERIFY(calc->text.contains("Grafik0 not normalized - bad sigma!\n"));
    QCOMPARE(calc->arrGrafikY[0], values);

    calc = ffa(root);
    calc->sigmaProc = 10; // the lowest two values: sigma 0.707
    QVERIFY(calc->calculate());
    QVERIFY(calc->text.contains("sigma1 = 0.707 (10% points) <--norm\n"));
    QCOMPARE(calc->arrGrafikY[0][1], 2 / std::sqrt(0.5));
}

void TstFfa::searchLayoutFirst() {
    const QString root = dir.filePath("search");
    QVERIFY(writeText(root + "/info.txt", infoText(2, 1, {1, 2}, {8}, {64, 64})));
    QVERIFY(writeText(root + "/s1/info.txt", infoText(3, 1, {1, 2, 3}, {8}, {64, 64, 64})));
    QVERIFY(writePeriodograms(root + "/s1/f00_n0_av0.txt", {10}, {1, 2, 3}));
    FourierCalculate* calc = ffa(root, 0);
    calc->isSearch = true;
    QVERIFY(!calc->calculate());
    QCOMPARE(calc->errors, QStringLiteral("Click on string in the table!"));
    calc = ffa(root, 0);
    calc->isSearch = true;
    calc->selectedDir = root + "/s1";
    QVERIFY(calc->calculate());
    QCOMPARE(calc->periodogramInfo.rows, 3);
    QCOMPARE(calc->arrGrafikY[0], QVector<double>({1, 2, 3}));
    QCOMPARE(calc->withNulls, 0);
}

// Each FFA graph of a search tree finds the layout in the picked directory, with or without one in the
// root.
void TstFfa::searchLayoutOfEveryGraph_data() {
    QTest::addColumn<QString>("type");
    QTest::addColumn<bool>("rootLayout");
    for (const char* type : {"ffa", "ffaSnrDisp", "ffaSnrDispFirstPoint", "ffaSnrDispAverages"}) {
        QTest::addRow("%s, no layout in the root", type) << QString(type) << false;
        QTest::addRow("%s, another layout in the root", type) << QString(type) << true;
    }
}

void TstFfa::searchLayoutOfEveryGraph() {
    QFETCH(QString, type);
    QFETCH(bool, rootLayout);
    const QString root = dir.filePath(QStringLiteral("searchtree%1").arg(++fixtures));
    const QString picked = root + "/120000_m1_r1";
    if (rootLayout) {
        QVERIFY(writeText(root + "/info.txt", infoText(2, 1, {1, 2}, {8}, {64, 64})));
    }
    QVERIFY(writeText(picked + "/info.txt", infoText(3, 1, {1, 2, 3}, {8}, {64, 64, 64})));
    // Every shift and averaging count the series of the graphs read.
    for (int s = -3; s <= 3; ++s) {
        for (int a = 0; a <= 6; ++a) {
            QVERIFY(writePeriodograms(picked + "/" + Tools::fourierFileName(QString(), s, a, false), {10, 20},
                                      {1, 2, 3}, {{20, {1, 2, 9}}}));
        }
    }
    FourierCalculate* calc = ffa(root, 0);
    calc->grafikType = type;
    calc->isSearch = true;
    calc->selectedDir = picked;
    calc->dispersions = {10, 20};
    calc->ffaNoise.clear();
    calc->sigmaProc = 67; // sigma of the two lowest values
    calc->period = 3;
    QVERIFY2(calc->calculate(), qPrintable(calc->errors));
    QCOMPARE(calc->periodogramInfo.rows, 3);
    QVERIFY(!calc->arrGrafikY.isEmpty());
    if (type != QLatin1String("ffa")) {
        // The S/N at 3 s is highest at DM 20.
        QVERIFY(calc->arrGrafikY[0][1] > calc->arrGrafikY[0][0]);
    }
}

void TstFfa::mapAxes_data() {
    QTest::addColumn<QVector<double>>("periods");
    QTest::addColumn<QVector<int>>("foldbins");
    QTest::addColumn<double>("xMin");
    QTest::addColumn<double>("xMax");
    QTest::addColumn<bool>("log");
    QTest::addColumn<int>("approxIn");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QVector<double>>("ticks");
    QTest::addColumn<int>("approxOut");
    const QVector<double> p = {0.5, 0.9, 1.4, 2.0, 2.8, 3.3, 3.7};
    const QVector<int> f = {64, 64, 80, 96, 64, 64, 80};
    QTest::newRow("linear, no window") << p << f << 0.0 << 0.0 << false << 0 << true
                                       << QVector<double>{0.5, 0.9, 1.4, 2.0, 2.8, 3.3, 3.7, 4} << 4;
    QTest::newRow("log, no window") << p << f << 0.0 << 0.0 << true << 0 << true
                                    << QVector<double>{0.1, 0.2, 0.3, 0.4, 0.5, 0.6, 0.7,
                                                       0.8, 0.9, 1,   2,   3,   4}
                                    << 4;
    QTest::newRow("window 1.3 to 2.6")
        << p << f << 1.3 << 2.6 << false << 12 << true << QVector<double>{1.4, 2.0, 2.8, 3.3, 3} << 12;
    QTest::newRow("log window from 1")
        << p << f << 1.3 << 2.6 << true << 0 << true << QVector<double>{1, 2, 3} << 4;
    QTest::newRow("bins never rise") << p << QVector<int>(7, 64) << 0.0 << 0.0 << false << 0 << false
                                     << QVector<double>{} << 0;
    QTest::newRow("bins never come back") << p << QVector<int>{64, 64, 80, 96, 96, 112, 128} << 0.0 << 0.0
                                          << false << 0 << false << QVector<double>{} << 0;
    QTest::newRow("one period") << QVector<double>{2.5} << QVector<int>{64} << 0.0 << 0.0 << false << 0
                                << false << QVector<double>{} << 0;
}

void TstFfa::mapAxes() {
    QFETCH(QVector<double>, periods);
    QFETCH(QVector<int>, foldbins);
    QFETCH(double, xMin);
    QFETCH(double, xMax);
    QFETCH(bool, log);
    QFETCH(int, approxIn);
    QFETCH(bool, ok);
    QFETCH(QVector<double>, ticks);
    QFETCH(int, approxOut);
    const QString root = dir.filePath(QStringLiteral("axes%1").arg(++fixtures));
    QVERIFY(writeText(root + "/info.txt", infoText(periods.size(), 1, periods, {8}, foldbins)));
    FourierCalculate calc;
    calc.grafikType = "ffaMap";
    calc.dir = root;
    calc.xMin = xMin;
    calc.xMax = xMax;
    calc.ffaMapLog = log;
    calc.approxLen = approxIn;
    calc.minSnr = 6;
    calc.period = 2.5;
    QCOMPARE(calc.calculate(), ok);
    if (!ok) {
        QCOMPARE(calc.errors, QStringLiteral("Can't determine length of approximation!"));
        return;
    }
    QCOMPARE(calc.arrGrafikX.size(), ticks.size());
    for (int i = 0; i < ticks.size(); ++i) {
        QVERIFY2(qAbs(calc.arrGrafikX[i] - ticks[i]) < 1e-9, qPrintable(QString::number(i)));
    }
    QCOMPARE(calc.approxLen, approxOut);
    QCOMPARE(calc.arrGridY.size(), 29);
    QCOMPARE(calc.arrGridY.last(), 1100.0);
    QCOMPARE(QStringList(calc.names.toList()), QStringList({"points with S/N>=6", "period=2.5"}));
    QCOMPARE(calc.markersX, QVector<double>{2.5});
    QVERIFY(calc.markersY.isEmpty());

    calc.periodogramInfo = PeriodogramInfo();
    QVERIFY(!calc.createFfaMapAxesIfLaid());
}

void TstFfa::snrDisp() {
    const QString root = dir.filePath("snrdisp");
    QVERIFY(writeText(root + "/info.txt", infoText(4, 1, {1, 2, 3, 4}, {8}, {64, 64, 64, 64})));
    // Lowest 75 %: 1, 2, 3, sigma 1; DM 5 is all zeros.
    QVERIFY(writePeriodograms(root + "/day0/f00_n0_av0.txt", {5, 10, 20}, {1, 2, 3, 7},
                              {{5, {0, 0, 0, 0}}, {20, {1, -2, 3, 5}}}));
    auto make = [&](double period) {
        owned.append(QSharedPointer<FourierCalculate>::create());
        FourierCalculate* calc = owned.last().data();
        calc->grafikType = "ffaSnrDisp";
        calc->dir = root;
        calc->tableRows = {"day0"};
        calc->rowChecked = {true};
        calc->dispersions = {5, 10, 20};
        calc->dispersion = 11;
        calc->sigmaProc = 75;
        calc->period = period;
        return calc;
    };
    FourierCalculate* calc = make(9); // beyond the last trial period: its last index
    QVERIFY(calc->calculate());
    QCOMPARE(calc->arrGrafikY, QVector<QVector<double>>({{0, 7, 5}}));
    QCOMPARE(calc->names.size(), 1);
    QVERIFY(calc->markersX.isEmpty());
    QCOMPARE(calc->arrGrafikX, QVector<double>({5, 10, 20}));
    QVERIFY(calc->text.endsWith("\nOn dispersion=11:\n S/N=7.00\n"));

    // Six trial periods listed for a periodogram of four: a period past the fourth is outside it.
    QVERIFY(writeText(root + "/info.txt", infoText(4, 1, {1, 2, 3, 4, 5, 6}, {8}, {64, 64, 64, 64})));
    calc = make(5.5);
    QVERIFY(!calc->calculate());
    QCOMPARE(calc->errors, QStringLiteral("Неверный период!\nperiod=5.5\nperiodNum=5\nsnrSize=4"));

    calc = make(2);
    calc->rowChecked = {false};
    QVERIFY(!calc->calculate());
    QCOMPARE(calc->errors, QStringLiteral("No days were summed!"));
}

void TstFfa::snrDispSeries() {
    const QString root = dir.filePath("series");
    QVERIFY(writeText(root + "/info.txt", infoText(4, 1, {1, 2, 3, 4}, {8}, {64, 64, 64, 64})));
    for (int s = -3; s <= 3; ++s) {
        if (s == 1) {
            continue;
        }
        QVERIFY(writePeriodograms(root + "/day0/" + Tools::fourierFileName(QString(), s, 2, false), {10},
                                  {1, 2, 3, 10.0 + s}));
    }
    owned.append(QSharedPointer<FourierCalculate>::create());
    FourierCalculate* calc = owned.last().data();
    calc->grafikType = "ffaSnrDispFirstPoint";
    calc->dir = root;
    calc->tableRows = {"day0"};
    calc->rowChecked = {true};
    calc->dispersions = {10};
    calc->averages = 2;
    calc->sigmaProc = 75;
    calc->period = 4;
    QVERIFY(!calc->calculate());
    QCOMPARE(calc->errors, QStringLiteral("No days were summed!"));
    QCOMPARE(calc->arrGrafikY, QVector<QVector<double>>({{7}, {8}, {9}, {10}}));
    QCOMPARE(calc->names.first(), QStringLiteral("1. First point: t_culm -3 min"));
    QCOMPARE(calc->names.last(), QStringLiteral("4. First point: t_culm"));

    QVERIFY(writePeriodograms(root + "/day0/" + Tools::fourierFileName(QString(), 1, 2, false), {10},
                              {1, 2, 3, 11}));
    calc->showSigmaLevel = 3;
    QVERIFY(calc->calculate());
    QCOMPARE(calc->arrGrafikY.size(), 8);
    QCOMPARE(calc->names[6], QStringLiteral("7. First point: t_culm +3 min"));
    QCOMPARE(calc->names[7], QStringLiteral("S/N = 3"));
    QCOMPARE(calc->markersX, QVector<double>{0});
}

void TstFfa::mapFile() {
    const QString root = dir.filePath("mapfile");
    QVERIFY(writeText(root + "/info.txt", infoText(4, 1, {1, 2, 3, 4}, {8}, {64, 64, 64, 64})));
    // Two days of the series f00_n0_av0 and one of f02_n0_av3 (shift -2, 3 averagings).
    for (const QString& day : {QStringLiteral("day0"), QStringLiteral("day1")}) {
        QVERIFY(writePeriodograms(root + "/" + day + "/f00_n0_av0.txt", {5, 10}, {1, 2, 3, 7},
                                  {{10, {100, 200, 300, 20000}}}));
    }
    QVERIFY(writePeriodograms(root + "/day0/f02_n0_av3.txt", {5, 10}, {0, 0, 0, 0}, {{5, {1, 2, 3, 5}}}));
    QVector<MapPoint> points = {MapPoint()};
    FourierCalculate calc;
    QVERIFY(FourierCalculate::readPeriodogramInfo(root + "/info.txt", calc.periodogramInfo));
    calc.dir = root;
    calc.tableRows = {"day0", "day1", "day2"};
    calc.rowChecked = {true, true, false};
    calc.dispersions = {5, 10};
    calc.sigmaProc = 75;
    calc.mapPoints = &points;
    QSignalSpy progress(&calc, &FourierCalculate::progress);
    const QString out = dir.filePath("ffamap.txt");
    QVERIFY(calc.createFfaMapFile(out));
    QCOMPARE(progress.last().first().toInt(), 100);
    QFile f(out);
    QVERIFY(f.open(QIODevice::ReadOnly));
    // DM first, then shift, then averagings, as if every series had been summed at once.
    QCOMPARE(QString::fromUtf8(f.readAll()),
             QStringLiteral("file_name     dispersion     point      snr     period       size\n"
                            "f02_n0_av3\t\t   5\t\t    3\t\t5.0\t\t4.0000\t\t1\n"
                            "f00_n0_av0\t\t   5\t\t    3\t\t7.0\t\t4.0000\t\t2\n"
                            "f00_n0_av0\t\t  10\t\t    3\t\t-1.0\t\t4.0000\t\t5\n"));
    QCOMPARE(points.size(), 3);
    QCOMPARE(points[2].snr, -1.0);
    QCOMPARE(points[2].circleSize, 5);
    QCOMPARE(points[2].dispersion, 10);
    QCOMPARE(points[0].shift, -2);
    QCOMPARE(points[0].averages, 3);
    QCOMPARE(points[0].harmonic, 3);
    QCOMPARE(points[0].period, 4.0);
    // Read back as a map file, the points keep their series, DM, S/N and size.
    QVector<MapPoint> read;
    QCOMPARE(MapFile::read(out, read, {}), QString());
    QCOMPARE(read.size(), 3);
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(read[i].shift, points[i].shift);
        QCOMPARE(read[i].averages, points[i].averages);
        QCOMPARE(read[i].dispersion, points[i].dispersion);
        QCOMPARE(read[i].snr, points[i].snr);
        QCOMPARE(read[i].circleSize, points[i].circleSize);
    }

    calc.rowChecked = {false, false, true};
    QVERIFY(!calc.createFfaMapFile(out));
    QCOMPARE(calc.errors, QStringLiteral("No days were summed!"));
    calc.periodogramInfo = PeriodogramInfo();
    QVERIFY(!calc.createFfaMapFile(out));
    QCOMPARE(calc.errors, QStringLiteral("Error: S/N points < 1!"));
}

QTEST_MAIN(TstFfa)
#include "tst_ffa.moc"
