#include "core/rectwidget.h"
#include "core/tables.h"
#include "numerics/pulsarcalculate.h"
#include "single/ffagrafikinfo.h"
#include "single/pulsargrafik.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

#include <memory>

namespace {

// A plot with `n` constant curves, curve i at the value i + 1, and a panel built beside it.
struct Fixture {
    std::unique_ptr<QWidget> host{new QWidget};
    PulsarGrafik* grafik = nullptr;
    FfaGrafikInfo* info = nullptr;

    Fixture(int curves, int legendRows, const QString& action = QStringLiteral("createFFA")) {
        grafik = new PulsarGrafik(host.get());
        grafik->resize(600, 400);
        for (int i = 0; i < curves; ++i) {
            grafik->arrGrafiks.append(QVector<float>(50, float(i + 1)));
            grafik->visible.append(true);
        }
        grafik->points = 50;
        grafik->updateRange();
        info = new FfaGrafikInfo(host.get());
        info->grafik = grafik;
        info->action = action;
        for (int i = 0; i < legendRows; ++i) {
            info->grafikNames.append(QString("width=%1").arg(i + 1));
        }
        info->maxPoints = 50;
        info->points = 50;
        info->buildPanel();
    }

    QPushButton* button(const QString& name) const { return info->findChild<QPushButton*>(name); }
};

QRgb swatchColour(RectWidget* w) {
    w->resize(20, 10);
    return w->grab().toImage().pixel(10, 5);
}

} // namespace

class TestFfaGrafikInfo : public QObject {
    Q_OBJECT
private slots:
    void legendRowsTakePlotColours_data();
    void legendRowsTakePlotColours();
    void uncheckingHidesCurveAndRangeFollows();
    void firstClickShowsCurvesHiddenByCalculation();
    void moreLegendRowsThanCurves();
    void coords_data();
    void coords();
    void mouseOverPlotFeedsCoords();
    void changeAndResetPoints();
    void panelBeforeFirstRun();
};

void TestFfaGrafikInfo::legendRowsTakePlotColours_data() {
    QTest::addColumn<int>("rows");
    QTest::newRow("4 widths") << 4;
    QTest::newRow("34 widths, colours repeat") << 34;
}

void TestFfaGrafikInfo::legendRowsTakePlotColours() {
    QFETCH(int, rows);
    Fixture f(rows, rows);
    QCOMPARE(f.info->checkBoxes.size(), rows);
    const QList<RectWidget*> swatches = f.info->findChildren<RectWidget*>();
    QCOMPARE(swatches.size(), rows);
    for (int i = 0; i < rows; ++i) {
        QVERIFY(f.info->checkBoxes[i]->isChecked());
        QCOMPARE(swatches[i]->minimumWidth(), 20);
        QCOMPARE(swatches[i]->maximumWidth(), 20);
        QCOMPARE(swatchColour(swatches[i]), QColor(graphColors[i % 32]).rgb());
    }
    QList<QLabel*> names;
    for (QLabel* l : f.info->findChildren<QLabel*>()) {
        if (l->text().startsWith("width=")) {
            names << l;
        }
    }
    QCOMPARE(names.size(), rows);
    QCOMPARE(names.last()->text(), QString("width=%1").arg(rows));
}

void TestFfaGrafikInfo::uncheckingHidesCurveAndRangeFollows() {
    Fixture f(4, 4);
    QCOMPARE(f.grafik->yMax, 4.0f);
    f.info->checkBoxes[3]->click();
    QCOMPARE(f.grafik->visible, (QVector<bool>{true, true, true, false}));
    QCOMPARE(f.grafik->yMax, 3.0f);
    f.info->checkBoxes[2]->click();
    QCOMPARE(f.grafik->visible, (QVector<bool>{true, true, false, false}));
    QCOMPARE(f.grafik->yMax, 2.0f);
    QCOMPARE(f.grafik->yMin, 1.0f);
    f.info->checkBoxes[2]->click();
    QCOMPARE(f.grafik->visible[2], true);
    QCOMPARE(f.grafik->yMax, 3.0f);
}

void TestFfaGrafikInfo::firstClickShowsCurvesHiddenByCalculation() {
    Fixture f(3, 3);
    f.grafik->visible[1] = false;
    // The panel starts checked whatever the plot shows.
    QVERIFY(f.info->checkBoxes[1]->isChecked());
    f.info->checkBoxes[0]->click();
    QCOMPARE(f.grafik->visible, (QVector<bool>{false, true, true}));
}

void TestFfaGrafikInfo::moreLegendRowsThanCurves() {
    Fixture f(2, 5);
    f.info->checkBoxes[4]->click();
    QCOMPARE(f.grafik->visible, (QVector<bool>{true, true}));
    f.info->checkBoxes[1]->click();
    QCOMPARE(f.grafik->visible, (QVector<bool>{true, false}));
    QCOMPARE(f.grafik->yMax, 1.0f);
}

void TestFfaGrafikInfo::coords_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<QPointF>("p");
    QTest::addColumn<QVector<QString>>("arrX");
    QTest::addColumn<QString>("text");
    QTest::newRow("native") << "showNative" << QPointF(12.6, 3.14159) << QVector<QString>{"01:30:02"}
                            << "num: 13    y: 3.142\ntime: 01:30:02\n\nshowNative";
    QTest::newRow("ffa") << "createFFA" << QPointF(7.2, -0.5) << QVector<QString>{"3.05", "230"}
                         << "num: 7    y: -0.500\nperiod: 3.05\nfoldbins: 230\n\ncreateFFA";
    QTest::newRow("ffa without label rows") << "createFFA" << QPointF(7, 2) << QVector<QString>{}
                                            << "num: 7    y: 2.000\nperiod: \nfoldbins: \n\ncreateFFA";
    QTest::newRow("ffa with one text") << "createFFA" << QPointF(7, 2) << QVector<QString>{"3.05"}
                                       << "num: 7    y: 2.000\nperiod: 3.05\nfoldbins: \n\ncreateFFA";
    QTest::newRow("native without label rows")
        << "showNative" << QPointF(1, 1) << QVector<QString>{} << "num: 1    y: 1.000\ntime: \n\nshowNative";
    QTest::newRow("other") << "sumChannelsAndAverage" << QPointF(-1, -1) << QVector<QString>{"x", "y"}
                           << "num: -1    y: -1.000\n\nsumChannelsAndAverage";
    QTest::newRow("percent signs stay") << "createFFA" << QPointF(1, 1) << QVector<QString>{"%2", "%1"}
                                        << "num: 1    y: 1.000\nperiod: %2\nfoldbins: %1\n\ncreateFFA";
}

void TestFfaGrafikInfo::coords() {
    QFETCH(QString, action);
    QFETCH(QPointF, p);
    QFETCH(QVector<QString>, arrX);
    QFETCH(QString, text);
    Fixture f(1, 1, action);
    QCOMPARE(f.info->labelCoords->text(), QString("Coords: set mouse on graph area..."));
    f.info->setCoords(p, arrX);
    QCOMPARE(f.info->labelCoords->text(), text);
}

void TestFfaGrafikInfo::mouseOverPlotFeedsCoords() {
    Fixture f(1, 1);
    f.grafik->labelsX1 = QVector<QString>(50, "3.00");
    f.grafik->labelsX2 = QVector<QString>(50, "220");
    f.grafik->grab(); // the plot maps the mouse only after its first paint
    QMouseEvent ev(QEvent::MouseMove, QPoint(60 + 255, 200), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(f.grafik, &ev);
    QVERIFY(f.info->labelCoords->text().startsWith("num: 25    y: "));
    QVERIFY(f.info->labelCoords->text().endsWith("\nperiod: 3.00\nfoldbins: 220\n\ncreateFFA"));
}

void TestFfaGrafikInfo::changeAndResetPoints() {
    Fixture f(2, 2);
    PulsarCalculate calc("grafik");
    calc.infoText = "report after the run";
    f.info->calculate = &calc;
    f.info->maxPoints = 16384;
    f.info->spinPoints->setMaximum(16384);

    f.info->spinPoints->setValue(1000);
    QTest::mouseClick(f.button("changePoints"), Qt::LeftButton);
    QCOMPARE(f.grafik->points, 1000);
    QCOMPARE(f.info->points, 1000);
    QCOMPARE(f.info->labelInfo->text(), QString("report after the run"));
    // The spin box keeps to its range; a larger typed value is lowered to the limit.
    f.info->spinPoints->setMaximum(20000);
    f.info->spinPoints->setValue(20000);
    QTest::mouseClick(f.button("changePoints"), Qt::LeftButton);
    QCOMPARE(f.grafik->points, 16384);

    f.info->spinPoints->setValue(500);
    QTest::mouseClick(f.button("changePoints"), Qt::LeftButton);
    QTest::mouseClick(f.button("resetPoints"), Qt::LeftButton);
    QCOMPARE(f.grafik->points, 16384);
    QCOMPARE(f.info->spinPoints->value(), 16384);
    QCOMPARE(f.info->points, 500);
}

void TestFfaGrafikInfo::panelBeforeFirstRun() {
    std::unique_ptr<QWidget> host(new QWidget);
    auto* grafik = new PulsarGrafik(host.get());
    grafik->showHint();
    auto* info = new FfaGrafikInfo(host.get());
    info->grafik = grafik;
    info->buildPanel();
    QVERIFY(info->checkBoxes.isEmpty());
    QCOMPARE(info->labelInfo->text(), QString(""));
    QCOMPARE(info->spinPoints->maximum(), 0);
    QTest::mouseClick(info->findChild<QPushButton*>("changePoints"), Qt::LeftButton);
    QTest::mouseClick(info->findChild<QPushButton*>("resetPoints"), Qt::LeftButton);
    QCOMPARE(grafik->points, 0);
    QCOMPARE(info->labelInfo->text(), QString(""));
    QVERIFY(grafik->hintShown);
    info->showGraficsClicked();
    info->changeMaxSigma();
}

QTEST_MAIN(TestFfaGrafikInfo)
#include "tst_ffagrafikinfo.moc"
