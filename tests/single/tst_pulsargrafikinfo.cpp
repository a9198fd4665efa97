#include "core/busyguard.h"
#include "core/calculationholder.h"
#include "core/colorwidget.h"
#include "core/tables.h"
#include "numerics/pulsarcalculate.h"
#include "single/onefilerun.h"
#include "single/pulsargrafik.h"
#include "single/pulsargrafikinfo.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

#include <memory>

namespace {

// A plot and a panel over a calculation whose action is not one the calculation knows, so that a
// re-run is seen (it empties the report and the curves) without computing anything.
struct Fixture {
    PulsarGrafik grafik{nullptr};
    std::shared_ptr<CalculationHolder> holder;
    PulsarCalculate* calc = nullptr;
    std::unique_ptr<PulsarGrafikInfo> panel;

    explicit Fixture(const QString& action, int count = 16384) {
        calc = new PulsarCalculate(QStringLiteral("grafik"));
        holder = std::make_shared<CalculationHolder>(calc);
        calc->action = QStringLiteral("unknown");
        calc->count = count;
        calc->arrGrafiks = {QVector<float>(count, 1.0f), QVector<float>(count, 2.0f)};
        calc->grafikVisible = {true, true};
        calc->infoText = QStringLiteral("report of the run");
        grafik.resize(600, 400);
        grafik.arrGrafiks = calc->arrGrafiks;
        grafik.visible = calc->grafikVisible;
        grafik.points = count;
        panel = std::make_unique<PulsarGrafikInfo>(nullptr);
        panel->grafik = &grafik;
        panel->calculate = calc;
        panel->holder = holder;
        panel->action = action;
        panel->maxPoints = count;
        panel->points = count;
        panel->grafikNames = {"first curve", "second curve"};
        panel->infoText = calc->infoText;
        panel->multiDispersion = 26.2f;
        panel->buildPanel();
    }
    QPushButton* button(const char* name) { return panel->findChild<QPushButton*>(name); }
};

} // namespace

class TestPulsarGrafikInfo : public QObject {
    Q_OBJECT
private slots:
    void actionBoxes_data();
    void actionBoxes();
    void legendSourcesAreHidden();
    void fourDispersionsReadDots_data();
    void fourDispersionsReadDots();
    void maxSigmaReruns();
    void changePointsDoesNotRecalculate();
    void singleDispersionViewAndBack();
    void resetPoints();
    void coordinates_data();
    void coordinates();
    void nothingWhileBusy();
    void holderFreesReplacedArrays();
};

void TestPulsarGrafikInfo::actionBoxes_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("widget"); // the action box's input, or "" for none
    QTest::newRow("fourier") << "sumChannelsAndFourier"
                             << "spinMaxSigma";
    QTest::newRow("four") << "sum4Dispersions"
                          << "editDispersion1";
    QTest::newRow("multi") << "sumMultiDispersions"
                           << "editMultiDispersion";
    QTest::newRow("time") << "sumTimeDispersions"
                          << "editMultiDispersion";
    for (const char* a : {"showNative", "sumPeriod", "sumChannelsDemoNoise", "sumChannelsAndAverage",
                          "sumAllDispersions", "", "SumChannelsAndFourier"}) {
        QTest::newRow(*a ? a : "empty") << QString(a) << QString();
    }
}

void TestPulsarGrafikInfo::actionBoxes() {
    QFETCH(QString, action);
    QFETCH(QString, widget);
    Fixture f(action);
    const QStringList inputs = {"spinMaxSigma", "editDispersion1", "editMultiDispersion"};
    for (const QString& name : inputs) {
        QCOMPARE(f.panel->findChild<QWidget*>(name) != nullptr, name == widget);
    }
    QCOMPARE(f.panel->spinMaxSigma != nullptr, widget == "spinMaxSigma");
    QCOMPARE(f.panel->editDispersion4 != nullptr, widget == "editDispersion1");
    if (widget == "spinMaxSigma") {
        QCOMPARE(f.panel->spinMaxSigma->value(), 5);
        QCOMPARE(f.panel->spinMaxSigma->minimum(), 1);
        QCOMPARE(f.panel->spinMaxSigma->maximum(), 1000);
    } else if (widget == "editDispersion1") {
        QCOMPARE(f.panel->editDispersion2->text(), QString("33"));
        QVERIFY(f.panel->findChild<QLabel*>() != nullptr);
    } else if (widget == "editMultiDispersion") {
        QCOMPARE(f.panel->editMultiDispersion->text(), QString("26.2"));
        QVERIFY(f.button("buttonShowResult") && f.button("buttonReturnMulti"));
    }
    // Report, point controls and coordinates are there for every action.
    QCOMPARE(f.panel->labelInfo->text(), QString("report of the run"));
    QCOMPARE(f.panel->spinPoints->minimum(), 10);
    QCOMPARE(f.panel->spinPoints->maximum(), 16384);
    QCOMPARE(f.panel->spinPoints->value(), 16384);
    QCOMPARE(f.panel->labelCoords->text(), QString("Coords: set mouse on graph area..."));
    QCOMPARE(f.panel->sizePolicy().horizontalPolicy(), QSizePolicy::Fixed);
}

void TestPulsarGrafikInfo::legendSourcesAreHidden() {
    Fixture f("sumChannelsAndFourier");
    f.panel->resize(300, 700);
    f.panel->show();
    const QList<ColorWidget*> swatches = f.panel->findChildren<ColorWidget*>();
    QCOMPARE(swatches.size(), 2);
    for (ColorWidget* s : swatches) {
        QCOMPARE(s->maximumWidth(), 20);
        QVERIFY(s->isVisible());
    }
    int sources = 0;
    for (QLineEdit* e : f.panel->findChildren<QLineEdit*>()) {
        if (graphColors.contains(e->text())) {
            ++sources;
            QVERIFY(!e->isVisible());
        }
    }
    QCOMPARE(sources, 2);
    // The swatches show the curves' colours.
    const QImage first = swatches[0]->grab().toImage();
    QCOMPARE(first.pixelColor(first.width() / 2, first.height() / 2), QColor(graphColors[0]));
    QVERIFY(f.panel->findChild<QLabel*>() != nullptr);
    QStringList names;
    for (QLabel* l : f.panel->findChildren<QLabel*>()) {
        names << l->text();
    }
    QVERIFY(names.contains("first curve") && names.contains("second curve"));
}

void TestPulsarGrafikInfo::fourDispersionsReadDots_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("dot") << "26.18975" << 26.18975;
    QTest::newRow("comma") << "26,18975" << 0.0;
    QTest::newRow("word") << "abc" << 0.0;
    QTest::newRow("integer") << "70" << 70.0;
}

void TestPulsarGrafikInfo::fourDispersionsReadDots() {
    QFETCH(QString, text);
    QFETCH(double, value);
    Fixture f("sum4Dispersions");
    f.panel->editDispersion3->setText(text);
    f.button("buttonDispersions")->click();
    const QVector<double> expected = {0, 33, value, 100};
    QCOMPARE(f.panel->dispersions, expected);
    QCOMPARE(f.calc->dispersions, expected);
    // The calculation ran again: its report and curves went to the panel and the plot.
    QCOMPARE(f.panel->labelInfo->text(), f.calc->infoText);
    QCOMPARE(f.grafik.arrGrafiks, f.calc->arrGrafiks);
}

void TestPulsarGrafikInfo::maxSigmaReruns() {
    Fixture f("sumChannelsAndFourier");
    f.panel->spinPoints->setValue(1000);
    f.panel->spinMaxSigma->setValue(3);
    f.button("buttonMaxSigma")->click();
    QCOMPARE(f.calc->maxSigma, 3);
    QCOMPARE(f.panel->maxSigma, 3);
    QVERIFY(f.calc->arrGrafiks.isEmpty()); // the stand-in action ran and emptied the outputs
    QCOMPARE(f.grafik.arrGrafiks, f.calc->arrGrafiks);
    QCOMPARE(f.grafik.visible, f.calc->grafikVisible);
    QCOMPARE(f.panel->labelInfo->text(), QString());
    // The points chosen in the panel are kept; the legend is not rebuilt.
    QCOMPARE(f.grafik.points, 1000);
    QCOMPARE(f.panel->points, 1000);
    QCOMPARE(f.panel->findChildren<ColorWidget*>().size(), 2);
}

void TestPulsarGrafikInfo::changePointsDoesNotRecalculate() {
    Fixture f("sumChannelsAndFourier");
    f.grafik.yMin = 55;
    f.panel->spinPoints->setValue(1000);
    f.button("buttonChangePoints")->click();
    QCOMPARE(f.grafik.points, 1000);
    QCOMPARE(f.panel->points, 1000);
    QCOMPARE(f.calc->arrGrafiks.size(), 2);
    QCOMPARE(f.panel->labelInfo->text(), QString("report of the run"));
    QCOMPARE(f.grafik.yMin, 1.0f); // the range was taken again
    QCOMPARE(f.grafik.yMax, 2.0f);
}

void TestPulsarGrafikInfo::singleDispersionViewAndBack() {
    Fixture f("sumMultiDispersions", 100);
    // A family of seven fits over 100 dispersions, as the multi-average view leaves it.
    f.calc->action = QStringLiteral("sumMultiDispersions");
    f.calc->arrGrafiks.clear();
    for (int av = 0; av < 7; ++av) {
        QVector<float> fit(100);
        for (int d = 0; d < 100; ++d) {
            fit[d] = float(av * 1000 + d);
        }
        f.calc->arrGrafiks << fit;
    }
    f.calc->grafikVisible = QVector<bool>(7, true);
    f.calc->markers = {40, 41, 42, 43, 44, 45, 46};
    f.calc->count = 100;
    f.calc->infoText = QStringLiteral("family report");
    f.grafik.arrGrafiks = f.calc->arrGrafiks;
    f.grafik.visible = f.calc->grafikVisible;
    f.grafik.markers = f.calc->markers;

    f.panel->editMultiDispersion->setText("42.5");
    f.button("buttonShowResult")->click();
    QCOMPARE(f.panel->multiDispersion, 42.5f);
    QCOMPARE(f.grafik.arrGrafiks.size(), 8);
    QCOMPARE(f.grafik.arrGrafiks.last(), QVector<float>({43, 1043, 2043, 3043, 4043, 5043, 6043}));
    QCOMPARE(f.grafik.visible, QVector<bool>({false, false, false, false, false, false, false, true}));
    QCOMPARE(f.grafik.markers, QVector<int>({0, 1, 2, 3, 4, 5, 6}));
    QCOMPARE(f.grafik.points, 7);
    QVERIFY(f.panel->labelInfo->text().startsWith("Axis X: averages (see colors)\n"));
    QVERIFY(f.panel->labelInfo->text().contains("3. Average 2: 2043\n"));
    QCOMPARE(f.panel->spinPoints->value(), 100); // the point controls stay as they were
    QCOMPARE(f.panel->points, 100);

    f.button("buttonReturnMulti")->click();
    QCOMPARE(f.grafik.arrGrafiks.size(), 7);
    QCOMPARE(f.grafik.visible, QVector<bool>(7, true));
    QVERIFY(f.grafik.markers.isEmpty());
    QCOMPARE(f.grafik.points, 100);
    QCOMPARE(f.panel->labelInfo->text(), QString("family report"));
    // Back in the family view a second return fails and changes nothing.
    f.grafik.points = 55;
    f.button("buttonReturnMulti")->click();
    QCOMPARE(f.grafik.points, 55);
    QCOMPARE(f.grafik.arrGrafiks.size(), 7);
}

void TestPulsarGrafikInfo::resetPoints() {
    Fixture f("showNative", 5000);
    f.panel->spinPoints->setValue(700);
    f.button("buttonChangePoints")->click();
    QCOMPARE(f.grafik.points, 700);
    f.button("buttonResetPoints")->click();
    QCOMPARE(f.grafik.points, 5000);
    QCOMPARE(f.panel->spinPoints->value(), 5000);
    QCOMPARE(f.panel->points, 700);
}

void TestPulsarGrafikInfo::coordinates_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<QPointF>("p");
    QTest::addColumn<QStringList>("labels");
    QTest::addColumn<QString>("text");
    QTest::newRow("native") << "showNative" << QPointF(12.6, 3.5) << QStringList{"01:02:03", "x"}
                            << "X: 13   Y: 3.500\ntime: 01:02:03\n\nshowNative";
    QTest::newRow("native no row") << "showNative" << QPointF(-1, -1) << QStringList{}
                                   << "X: -1   Y: -1.000\ntime: \n\nshowNative";
    QTest::newRow("fourier") << "sumChannelsAndFourier" << QPointF(818.2, 0.01234) << QStringList{"no"}
                             << "X: 818   Y: 0.012\n\nsumChannelsAndFourier";
    QTest::newRow("percent in label")
        << "showNative" << QPointF(1, 2) << QStringList{"%4"} << "X: 1   Y: 2.000\ntime: %4\n\nshowNative";
}

void TestPulsarGrafikInfo::coordinates() {
    QFETCH(QString, action);
    QFETCH(QPointF, p);
    QFETCH(QStringList, labels);
    QFETCH(QString, text);
    Fixture f(action);
    emit f.grafik.coordsChanged(p, labels.toVector());
    QCOMPARE(f.panel->labelCoords->text(), text);
}

void TestPulsarGrafikInfo::nothingWhileBusy() {
    Fixture f("sumChannelsAndFourier");
    f.panel->spinPoints->setValue(1000);
    f.panel->spinMaxSigma->setValue(3);
    {
        BusyGuard running;
        f.button("buttonChangePoints")->click();
        f.button("buttonMaxSigma")->click();
        f.button("buttonResetPoints")->click();
    }
    QCOMPARE(f.grafik.points, 16384);
    QCOMPARE(f.calc->maxSigma, 5);
    QCOMPARE(f.calc->arrGrafiks.size(), 2);
}

void TestPulsarGrafikInfo::holderFreesReplacedArrays() {
    // Every array below is new[]-allocated and must be freed exactly once: ASan and the leak checker
    // see any slip.
    const int before = CalculationHolder::liveCount();
    {
        auto* calc = new PulsarCalculate(QStringLiteral("grafik"));
        CalculationHolder holder(calc);
        QCOMPARE(CalculationHolder::liveCount(), before + 1);
        float* a = new float[4]();
        float* b = new float[4]();
        calc->rawGrafiks = {a, b, a, nullptr};
        calc->grafikPoints = 4;
        holder.adoptCurves(calc->rawGrafiks);
        QCOMPARE(OneFileRun::drawablePoints(calc, 16384), 4);
        QCOMPARE(OneFileRun::drawablePoints(calc, -5), 0);
        // A re-run lists new arrays: the old ones go, the one still listed stays.
        calc->rawGrafiks = {b, new float[4]()};
        holder.adoptCurves(calc->rawGrafiks);
        calc->rawGrafiks.clear();
        QCOMPARE(OneFileRun::drawablePoints(calc, 100), 100);
        calc->rawGrafiks = {new float[2]()};
        calc->grafikPoints = 2;
        holder.adoptCurves(calc->rawGrafiks);
    }
    QCOMPARE(CalculationHolder::liveCount(), before);
}

QTEST_MAIN(TestPulsarGrafikInfo)
#include "tst_pulsargrafikinfo.moc"
