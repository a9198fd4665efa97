#include "directory/views/fouriergrafikinfo.h"

#include "core/circlewidget.h"
#include "directory/calc/fouriercalculate.h"
#include "directory/views/fouriergrafik.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

namespace {
// A graph and its panel of one graph type, as the directory form builds them.
struct Panel {
    QWidget owner;
    FourierGrafik* grafik = new FourierGrafik(&owner);
    FourierGrafikInfo* info = new FourierGrafikInfo(&owner);
    explicit Panel(const QString& type) {
        info->grafik = grafik;
        info->grafikType = type;
    }
    QStringList labelTexts(const QString& containing) const {
        QStringList texts;
        for (QLabel* label : info->findChildren<QLabel*>()) {
            if (label->text().contains(containing)) {
                texts << label->text();
            }
        }
        return texts;
    }
};
} // namespace

class TestFourierGrafikInfo : public QObject {
    Q_OBJECT
private slots:
    void coords_data();
    void coords();
    void legendBoxesSetVisibility();
    void secondViewAndBack();
    void pointsChangeAndReset();
    void ffaMapLegend_data();
    void ffaMapLegend();
    void circleDiameters_data();
    void circleDiameters();
    void panelWithoutTypeHasNoPointsControl();
};

void TestFourierGrafikInfo::coords_data() {
    QTest::addColumn<QString>("type");
    QTest::addColumn<bool>("forPrint");
    QTest::addColumn<QPointF>("point");
    QTest::addColumn<QVector<QString>>("labels");
    QTest::addColumn<QString>("text");
    QTest::newRow("fourier at harmonic 0") << "fourier" << false << QPointF(0, 2.5) << QVector<QString>{}
                                           << "X: 0  Y: 2.5000\nPeriod: -1.0000\nFrequency: -1.0000";
    QTest::newRow("fourier at harmonic 4") << "fourier" << false << QPointF(4.7, 1) << QVector<QString>{}
                                           << "X: 5  Y: 1.0000\nPeriod: 51.1705\nFrequency: 0.0195";
    QTest::newRow("map") << "map" << false << QPointF(0.5, 12.34) << QVector<QString>{}
                         << "Dispersion:  12.3\nPeriod:         0.500";
    QTest::newRow("3-sigma") << "sum3sigma" << false << QPointF(12.345, 6.78) << QVector<QString>{}
                             << "Disp:\t12.35\nSnr:\t6.8";
    QTest::newRow("ffa") << "ffa" << false << QPointF(17, 5.5) << QVector<QString>{"1.25", "40"}
                         << "S/N: 5.50\npoint: 17, period: 1.25, foldbins: 40";
    QTest::newRow("ffa without labels") << "ffa" << false << QPointF(17, 5.5) << QVector<QString>{}
                                        << "S/N: 5.50\npoint: 17, period: no, foldbins: no";
    QTest::newRow("ffa for print") << "ffa" << true << QPointF(17, 5.5) << QVector<QString>{"1.25"}
                                   << "S/N: 6\nPeriod:1.25\nPoint:17";
    QTest::newRow("ffa for print without labels")
        << "ffa" << true << QPointF(17, 5.5) << QVector<QString>{} << "S/N: 6\nPeriod:no\nPoint:17";
    QTest::newRow("ffa S/N on DM") << "ffaSnrDisp" << false << QPointF(57, 6.04) << QVector<QString>{}
                                   << "Disp:\t57\nSnr:\t6.0";
    QTest::newRow("no type") << "" << false << QPointF(1.5, 2.25) << QVector<QString>{} << "X: 2  Y: 2.250";
}

void TestFourierGrafikInfo::coords() {
    QFETCH(QString, type);
    QFETCH(bool, forPrint);
    QFETCH(QPointF, point);
    QFETCH(QVector<QString>, labels);
    QFETCH(QString, text);
    Panel p(type);
    p.info->forPrint = forPrint;
    p.info->createWidgets();
    emit p.grafik->coordsChanged(point, labels);
    QCOMPARE(p.info->coordsLabel->text(), text);
}

void TestFourierGrafikInfo::legendBoxesSetVisibility() {
    Panel p("fourier");
    p.info->names = {"a", "b", "c"};
    p.grafik->visible = {true, true, true};
    p.info->createWidgets();
    QCOMPARE(p.info->colorCheckBoxes.size(), 3);
    p.info->colorCheckBoxes[1]->click();
    QCOMPARE(p.grafik->visible, (QVector<bool>{true, false, true}));
}

void TestFourierGrafikInfo::secondViewAndBack() {
    FourierCalculate calc;
    calc.arrGrafikY = {{1, 2, 3}, {4, 5, 6}};
    calc.arrGrafikX = {10, 20, 30};
    calc.visible = {true, false};
    calc.curvePoints = 3;
    calc.text = "main";
    calc.multiGrafikY = {{7, 8}};
    calc.multiLabelsX1 = {"x", "y"};
    calc.multiVisible = {true};
    calc.multiPoints = 2;
    calc.multiText = "second";
    Panel p("harmDispAverage");
    p.info->calc = &calc;
    p.info->names = {"a", "b"};
    p.grafik->arrGrafikY = calc.arrGrafikY;
    p.grafik->arrGrafikX = calc.arrGrafikX;
    p.grafik->visible = calc.visible;
    p.grafik->points = 3;
    p.grafik->title = "first";
    p.info->createWidgets();
    auto* main = p.info->findChild<QPushButton*>("mainViewButton");
    auto* multi = p.info->findChild<QPushButton*>("multiViewButton");
    QCOMPARE(multi->text(), QString("S/N from average"));
    QTest::mouseClick(main, Qt::LeftButton); // disabled: nothing happens
    QCOMPARE(p.grafik->title, QString("first"));

    QTest::mouseClick(multi, Qt::LeftButton);
    QCOMPARE(p.grafik->arrGrafikY, calc.multiGrafikY);
    QVERIFY(p.grafik->arrGrafikX.isEmpty());
    QCOMPARE(p.grafik->labelsMulti1, calc.multiLabelsX1);
    QCOMPARE(p.grafik->points, 2);
    QCOMPARE(p.grafik->title, QString("S/N on DM from average"));
    QCOMPARE(p.info->textLabel->text(), QString("second"));
    QVERIFY(main->isEnabled() && !multi->isEnabled());

    QTest::mouseClick(main, Qt::LeftButton);
    QCOMPARE(p.grafik->arrGrafikY, calc.arrGrafikY);
    QCOMPARE(p.grafik->arrGrafikX, calc.arrGrafikX);
    QCOMPARE(p.grafik->visible, calc.visible);
    QVERIFY(p.grafik->labelsMulti1.isEmpty());
    QCOMPARE(p.grafik->points, 3);
    QCOMPARE(p.grafik->title, QString("S/N from DM"));
    QCOMPARE(p.info->textLabel->text(), QString("main"));
    QVERIFY(!main->isEnabled() && multi->isEnabled());
}

void TestFourierGrafikInfo::pointsChangeAndReset() {
    FourierCalculate calc;
    calc.text = "text";
    Panel p("fourier");
    p.info->calc = &calc;
    p.info->maxPoints = 500;
    p.info->points = 500;
    p.grafik->arrGrafikY = {QVector<double>(500, 1.0)};
    p.grafik->visible = {true};
    p.info->createWidgets();
    p.info->pointsSpinBox->setValue(100);
    p.info->findChild<QPushButton*>("changePoints")->click();
    QCOMPARE(p.grafik->points, 100);
    p.info->findChild<QPushButton*>("resetPoints")->click();
    QCOMPARE(p.grafik->points, 500);
    QCOMPARE(p.info->pointsSpinBox->value(), 500);
}

void TestFourierGrafikInfo::ffaMapLegend_data() {
    QTest::addColumn<double>("minSnr");
    QTest::addColumn<QStringList>("bounds");
    QTest::newRow("7") << 7.0 << QStringList{"7.0", "9.5", "12.8", "17.2", "23.3", "31.4", "42.4"};
    QTest::newRow("4") << 4.0 << QStringList{"4.0", "5.4", "7.3", "9.8", "13.3", "17.9", "24.2"};
}

void TestFourierGrafikInfo::ffaMapLegend() {
    QFETCH(double, minSnr);
    QFETCH(QStringList, bounds);
    Panel p("ffaMap");
    p.info->minSnr = minSnr;
    p.info->createWidgets();
    QStringList expected;
    for (int i = 0; i < 6; ++i) {
        expected << QString("   %1 <= snr < %2").arg(bounds[i], bounds[i + 1]);
    }
    expected << QString("   %1 <= snr").arg(bounds[6]);
    QCOMPARE(p.labelTexts("snr"), expected);
}

void TestFourierGrafikInfo::circleDiameters_data() {
    QTest::addColumn<QString>("type");
    QTest::addColumn<int>("circlePlus");
    QTest::addColumn<QVector<int>>("diameters");
    QTest::newRow("map -7") << "map" << -7 << QVector<int>(7, 0);
    QTest::newRow("map 2") << "map" << 2 << QVector<int>{3, 4, 5, 6, 7, 8, 9};
    QTest::newRow("ffaMap -3") << "ffaMap" << -3 << QVector<int>{0, 0, 0, 1, 2, 3, 4};
}

void TestFourierGrafikInfo::circleDiameters() {
    QFETCH(QString, type);
    QFETCH(int, circlePlus);
    QFETCH(QVector<int>, diameters);
    Panel p(type);
    p.info->circlePlus = circlePlus;
    p.info->createWidgets();
    QVector<int> got;
    for (CircleWidget* c : p.info->findChildren<CircleWidget*>()) {
        got << c->circleDiameter();
    }
    QCOMPARE(got, diameters);
    if (type == "map") {
        QCOMPARE(p.labelTexts("snr").first(), QString("   4 <= snr < 5"));
    }
}

void TestFourierGrafikInfo::panelWithoutTypeHasNoPointsControl() {
    Panel p("");
    p.info->text = "calculation text";
    p.info->createWidgets();
    QVERIFY(!p.info->pointsSpinBox);
    QCOMPARE(p.info->textLabel->text(), QString("calculation text"));
    QVERIFY(p.labelTexts("snr").isEmpty());
}

QTEST_MAIN(TestFourierGrafikInfo)
#include "tst_fouriergrafikinfo.moc"
