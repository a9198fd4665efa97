#include "directory/calc/fouriercalculate.h"
#include "support/testenv.h"

#include <QTemporaryDir>
#include <QtTest>

class TstFourierCalculate : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void pointsByResolution_data();
    void pointsByResolution();
    void unknownTypesShowNothing_data();
    void unknownTypesShowNothing();
    void debugFiles_data();
    void debugFiles();
    void unopenableDebugFile();

private:
    QTemporaryDir dir;
};

void TstFourierCalculate::initTestCase() {
    TestEnv::isolate();
    QVERIFY(dir.isValid());
}

void TstFourierCalculate::pointsByResolution_data() {
    QTest::addColumn<double>("tresolution");
    QTest::addColumn<int>("points");
    QTest::newRow("N4") << 0.003072 << 65536;
    QTest::newRow("usual") << 0.0124928 << 16384;
    QTest::newRow("0.003 is not inside") << 0.003 << 16384;
    QTest::newRow("0.004 is not inside") << 0.004 << 16384;
}

void TstFourierCalculate::pointsByResolution() {
    QFETCH(double, tresolution);
    QFETCH(int, points);
    FourierCalculate calc;
    calc.tresolution = tresolution;
    QVERIFY(calc.calculate());
    QCOMPARE(calc.points, points);
}

void TstFourierCalculate::unknownTypesShowNothing_data() {
    QTest::addColumn<QString>("type");
    QTest::newRow("empty") << "";
    QTest::newRow("unknown") << "xyz";
    QTest::newRow("wrong case") << "Fourier";
}

void TstFourierCalculate::unknownTypesShowNothing() {
    QFETCH(QString, type);
    FourierCalculate calc;
    calc.grafikType = type;
    calc.tresolution = 0.0124928;
    calc.arrGrafikY = {{1, 2}};
    calc.names = {"old"};
    calc.errors = "old";
    calc.text = "old";
    calc.days = 3;
    QVERIFY(calc.calculate());
    QVERIFY(calc.arrGrafikY.isEmpty());
    QVERIFY(calc.names.isEmpty());
    QVERIFY(calc.errors.isEmpty());
    QVERIFY(calc.text.isEmpty());
    QCOMPARE(calc.days, 0);
}

void TstFourierCalculate::debugFiles_data() {
    QTest::addColumn<QString>("type");
    QTest::addColumn<int>("shift");
    QTest::addColumn<QString>("file");
    QTest::newRow("ffa") << "ffa" << -2 << "test_ffa_f02_n1_av3_d12.txt";
    QTest::newRow("harmDispOne") << "harmDispOne" << -2 << "test_harm_f02_n1_av3_h5.txt";
    QTest::newRow("positive shift") << "fourier" << 2 << "test_fourier_f12_n1_av3_d12.txt";
}

void TstFourierCalculate::debugFiles() {
    QFETCH(QString, type);
    QFETCH(int, shift);
    QFETCH(QString, file);
    FourierCalculate calc;
    calc.dir = dir.path();
    calc.grafikType = type;
    calc.writeToTestFiles = true;
    calc.shift = shift;
    calc.averages = 3;
    calc.withNulls = 1;
    calc.dispersion = 12;
    calc.harmonic = 5;
    calc.dispersions = {0, 12};
    calc.calculate();
    QVERIFY(QFileInfo::exists(dir.filePath(file)));
}

void TstFourierCalculate::unopenableDebugFile() {
    FourierCalculate calc;
    calc.dir = dir.filePath("absent");
    calc.grafikType = "harmDispOne";
    calc.writeToTestFiles = true;
    calc.harmonic = 5;
    QVERIFY(!calc.calculate());
    QCOMPARE(calc.errors, "Can't open test file " + dir.filePath("absent/test_harm_f00_n0_av0_h5.txt"));
}

QTEST_GUILESS_MAIN(TstFourierCalculate)
#include "tst_fouriercalculate.moc"
