#include "core/profileplot.h"

#include <QtTest>

#include <cmath>

using Series = QVector<QVector<double>>;
Q_DECLARE_METATYPE(Series)
Q_DECLARE_METATYPE(QVector<bool>)
Q_DECLARE_METATYPE(QVector<double>)

namespace {
// A plot laid out as a paint of this size lays it out.
void layOut(ProfilePlot& plot, const QSize& size) {
    QString error;
    QVERIFY(plot.computeLayout(size, &error));
    QVERIFY2(error.isEmpty(), qPrintable(error));
}

// The label heights of the plain stepped walk that can touch the widget.
QVector<double> steppedHeights(const ProfilePlot& p, int h) {
    QVector<double> out;
    const double top = h - p.dy02;
    const double plotH = h - p.dy01 - p.dy02;
    if (p.yMin > 0) {
        for (double y = p.dy01; y <= top; y += 50) {
            out << y;
        }
        return out;
    }
    const double y0 = p.dy01 - plotH * p.yMin / (p.yMax - p.yMin);
    for (double y = y0; y <= top; y += 50) {
        out << y;
    }
    for (double y = y0 - 50; y > p.dy01 + 10; y -= 50) {
        if (y <= h + 16) { // higher labels fall wholly above the widget
            out << y;
        }
    }
    return out;
}

// One 100-point profile (values 0..99) on a 400 x 300 single graph with the range 0..200.
void profileOnGraph(ProfilePlot& p) {
    QVector<double> v;
    for (int i = 0; i < 100; ++i) {
        v << i;
    }
    p.arrGrafikY = {v};
    p.visible = {true};
    p.nPoints = 100;
    p.yMin = 0;
    p.yMax = 200;
    layOut(p, QSize(400, 300)); // plot: x 60..370, heights 50..250
}
} // namespace

class TestProfilePlot : public QObject {
    Q_OBJECT
private slots:
    void yRange_data();
    void yRange();
    void fixedRangeWidensAtEveryRedraw();
    void pointCount_data();
    void pointCount();
    void margins_data();
    void margins();
    void xScale();
    void yLabelsMatchSteppedWalk_data();
    void yLabelsMatchSteppedWalk();
    void yLabelsOfFarFlatNegativeDataAreFew();
    void negativeZeroLabelIsZero();
    void xAxisChoices();
    void markerLines();
    void pixelToValue_data();
    void pixelToValue();
    void statisticsText();
    void bandPresses();
    void reportOfOnePointBand();
    void reportSums();
};

void TestProfilePlot::yRange_data() {
    QTest::addColumn<Series>("series");
    QTest::addColumn<QVector<bool>>("visible");
    QTest::addColumn<double>("yMax");
    QTest::addColumn<double>("yMin");
    QTest::newRow("flat fives") << Series{{5, 5, 5}} << QVector<bool>{true} << 5.55 << 4.4475;
    QTest::newRow("negative") << Series{{-3, -2, -1}} << QVector<bool>{true} << -0.9 << -3.105;
    QTest::newRow("nothing visible") << Series{{1, 2}, {3, 4}} << QVector<bool>{false, false} << 105.0 << 0.0;
    QTest::newRow("all zeros") << Series{{0, 0, 0}} << QVector<bool>{true} << 0.0 << 0.0;
    QTest::newRow("no series keeps defaults") << Series{} << QVector<bool>{} << 105.0 << 0.0;
    QTest::newRow("hidden series ignored")
        << Series{{0, 10}, {-100, 1000}} << QVector<bool>{true, false} << 10.5 << 0.0;
    QTest::newRow("missing flag hides")
        << Series{{0, 10}, {-100, 1000}} << QVector<bool>{true} << 10.5 << 0.0;
    QTest::newRow("mixed signs") << Series{{-10, 10}} << QVector<bool>{true} << 11.0 << -11.05;
}

void TestProfilePlot::yRange() {
    QFETCH(Series, series);
    QFETCH(QVector<bool>, visible);
    QFETCH(double, yMax);
    QFETCH(double, yMin);
    ProfilePlot p("", "Test");
    p.arrGrafikY = series;
    p.visible = visible;
    p.updateRange();
    QCOMPARE(p.yMax, yMax);
    QVERIFY(qAbs(p.yMin - yMin) < 1e-12);
}

void TestProfilePlot::fixedRangeWidensAtEveryRedraw() {
    ProfilePlot p("", "Test");
    p.arrGrafikY = {{100, 200}};
    p.visible = {true};
    p.fixedYRange = true;
    p.yMax = 10;
    p.yMin = 0;
    p.updateRange();
    QCOMPARE(p.yMax, 10.5);
    QCOMPARE(p.yMin, 0.0);
    p.updateRange();
    QCOMPARE(p.yMax, 11.025);
}

void TestProfilePlot::pointCount_data() {
    QTest::addColumn<int>("seriesLength");
    QTest::addColumn<QVector<double>>("x");
    QTest::addColumn<double>("xLimit");
    QTest::addColumn<int>("nPoints");
    QTest::addColumn<int>("expected");
    const QVector<double> x{1, 2, 3, 4, 5};
    QTest::newRow("default 100 of 1000 kept") << 1000 << QVector<double>{} << 0.0 << 100 << 100;
    QTest::newRow("0 fits the series") << 1000 << QVector<double>{} << 0.0 << 0 << 1000;
    QTest::newRow("beyond the series") << 10 << QVector<double>{} << 0.0 << 100 << 10;
    QTest::newRow("negative") << 10 << QVector<double>{} << 0.0 << -5 << 10;
    QTest::newRow("x: 0 takes all") << 5 << x << 0.0 << 0 << 5;
    QTest::newRow("x: never more than x") << 5 << x << 0.0 << 100 << 5;
    QTest::newRow("x: negative") << 5 << x << 0.0 << -3 << 5;
    QTest::newRow("x: limit cuts at first reaching") << 5 << x << 2.5 << 0 << 3;
    QTest::newRow("x: limit on a value") << 5 << x << 3.0 << 0 << 3;
    QTest::newRow("x: limit beyond") << 5 << x << 9.0 << 0 << 5;
}

void TestProfilePlot::pointCount() {
    QFETCH(int, seriesLength);
    QFETCH(QVector<double>, x);
    QFETCH(double, xLimit);
    QFETCH(int, nPoints);
    QFETCH(int, expected);
    ProfilePlot p("", "Test");
    p.arrGrafikY = {QVector<double>(seriesLength, 1.0)};
    p.visible = {true};
    p.arrGrafikX = x;
    p.xLimit = xLimit;
    p.nPoints = nPoints;
    p.updateRange();
    QCOMPARE(p.nPoints, expected);
}

void TestProfilePlot::margins_data() {
    QTest::addColumn<QString>("type");
    QTest::addColumn<bool>("inGrid");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QRect>("margins"); // left, top = bottom margin dy01, width = dx02, height = dy02
    QTest::addColumn<QString>("error");
    QTest::newRow("single") << "profile" << false << QSize(400, 300) << QRect(60, 50, 30, 50) << "";
    QTest::newRow("single statistics")
        << "statistics" << false << QSize(400, 300) << QRect(60, 40, 40, 43) << "";
    QTest::newRow("cell") << "" << true << QSize(200, 200) << QRect(40, 30, 30, 15) << "";
    QTest::newRow("cell statistics") << "statistics" << true << QSize(200, 200) << QRect(40, 32, 30, 32)
                                     << "";
    QTest::newRow("too narrow") << "" << false << QSize(90, 300) << QRect(60, 50, 30, 50)
                                << "ERROR! dx01=60 dx02=30 width=90";
    QTest::newRow("narrow cell fits") << "" << true << QSize(71, 300) << QRect(40, 30, 30, 15) << "";
    QTest::newRow("too low") << "" << false << QSize(400, 100) << QRect(60, 50, 30, 50)
                             << "ERROR! dy01=50 dy02=50 height=100";
}

void TestProfilePlot::margins() {
    QFETCH(QString, type);
    QFETCH(bool, inGrid);
    QFETCH(QSize, size);
    QFETCH(QRect, margins);
    QFETCH(QString, error);
    ProfilePlot p(type, "Test");
    p.inGrid = inGrid;
    QString text;
    QCOMPARE(p.computeLayout(size, &text), error.isEmpty());
    QCOMPARE(text, error);
    QCOMPARE(QRect(p.dx01, p.dy01, p.dx02, p.dy02), margins);
}

void TestProfilePlot::xScale() {
    ProfilePlot p("", "Test");
    QCOMPARE(p.dx01, 60); // margins exist before the first paint
    QCOMPARE(p.xScale, 0.0);
    p.nPoints = 11;
    layOut(p, QSize(400, 300));
    QCOMPARE(p.xScale, 31.0);
    QCOMPARE(p.xOfPoint(10), 370);

    p.nPoints = 1; // one point spans nothing
    layOut(p, QSize(400, 300));
    QCOMPARE(p.xScale, 0.0);

    p.arrGrafikX = {0.5, 1.0, 3.1};
    p.nPoints = 3;
    layOut(p, QSize(400, 300));
    QCOMPARE(p.xScale, 100.0);
    QCOMPARE(p.xOfValue(1.0), 160);

    p.arrGrafikX = {-1, 0, 0};
    QString error;
    QVERIFY(p.computeLayout(QSize(400, 300), &error));
    QCOMPARE(p.xScale, 0.0);
    QCOMPARE(error, QString("ERROR! Test::drawGrafik: deltaX=0!!! arrGrafikX[0] = arrGrafikX[N]!"));
}

void TestProfilePlot::yLabelsMatchSteppedWalk_data() {
    QTest::addColumn<QString>("type");
    QTest::addColumn<int>("height");
    QTest::addColumn<double>("yMin");
    QTest::addColumn<double>("yMax");
    QTest::newRow("positive") << "" << 300 << 1.0 << 9.0;
    QTest::newRow("from zero") << "" << 600 << 0.0 << 105.0;
    QTest::newRow("mixed") << "" << 517 << -3.0 << 7.0;
    QTest::newRow("negative") << "statistics" << 300 << -3.105 << -0.9;
    QTest::newRow("zero just above") << "" << 400 << -2.0 << -1.7;
}

void TestProfilePlot::yLabelsMatchSteppedWalk() {
    QFETCH(QString, type);
    QFETCH(int, height);
    QFETCH(double, yMin);
    QFETCH(double, yMax);
    ProfilePlot p(type, "Test");
    p.yMin = yMin;
    p.yMax = yMax;
    layOut(p, QSize(400, height));
    const QVector<double> heights = p.yLabelHeights();
    QVERIFY(!heights.isEmpty());
    QCOMPARE(heights, steppedHeights(p, height));
    const ProfilePlot::Axis axis = p.yAxis();
    QCOMPARE(axis.labels.size(), heights.size());
    QCOMPARE(axis.ticks.size(), 2 * heights.size());
    const int r = int(std::lround(heights[0]));
    QCOMPARE(axis.labels[0].at, QPoint(14, height - r + 4));
    QCOMPARE(axis.ticks[0], QLine(0, height - r, 6, height - r));
    QCOMPARE(axis.ticks[1], QLine(394, height - r, 400, height - r));
}

void TestProfilePlot::yLabelsOfFarFlatNegativeDataAreFew() {
    ProfilePlot p("", "Test");
    p.arrGrafikY = {{-1e9, -1e9 + 0.001}};
    p.visible = {true};
    p.updateRange();
    layOut(p, QSize(400, 300));
    const QVector<double> heights = p.yLabelHeights();
    QVERIFY(heights.size() <= 300 / 50 + 1);
    QVERIFY(!heights.isEmpty());
    // The labels that show are those of the stepped walk: 50 apart from the zero line.
    const double y0 = p.dy01 - 200 * p.yMin / (p.yMax - p.yMin);
    for (double y : heights) {
        QVERIFY(y > p.dy01 + 10 && y <= 300 + 16);
        const double steps = (y0 - y) / 50;
        QVERIFY2(qAbs(steps - std::round(steps)) < 1e-3, qPrintable(QString::number(steps, 'f', 6)));
    }
}

void TestProfilePlot::negativeZeroLabelIsZero() {
    ProfilePlot p("", "Test");
    p.yMin = -0.1;
    p.yMax = 0;
    p.precisionY = 1;
    layOut(p, QSize(400, 300)); // zero line at height 250, next label 50 below it at -0.025
    const ProfilePlot::Axis axis = p.yAxis();
    QVERIFY(axis.labels.size() >= 2);
    QCOMPARE(axis.labels[0].text, QString("0.0"));
    QCOMPARE(axis.labels[1].text, QString("0"));
}

void TestProfilePlot::xAxisChoices() {
    ProfilePlot p("", "Test");
    p.nPoints = 11;
    layOut(p, QSize(400, 300)); // xScale 31
    auto width = [](const QString& t) { return 10 * t.size(); };

    // Numeric labels every 50 pixels with their edge ticks.
    ProfilePlot::Axis axis = p.xAxis(width);
    QCOMPARE(axis.labels.size(), 7); // offsets 0 .. 300 of 310
    QCOMPARE(axis.labels[1].at, QPoint(110, 285));
    QCOMPARE(axis.labels[1].text, QString("2"));
    QCOMPARE(axis.ticks[0], QLine(60, 300, 60, 294));

    // Ticks matched in order; an empty text gives a short tick and no label.
    p.labelsX = {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k"};
    p.ticksX = {{"b", "B"}, {"e", ""}, {"c", "never, passed already"}};
    axis = p.xAxis(width);
    QCOMPARE(axis.labels.size(), 1);
    QCOMPARE(axis.labels[0].text, QString("B"));
    QCOMPARE(axis.labels[0].at, QPoint(91 - 5, 285));
    QCOMPARE(axis.ticks, (QVector<QLine>{QLine(91, 300, 91, 292), QLine(91, 0, 91, 8),
                                         QLine(184, 300, 184, 296), QLine(184, 0, 184, 4)}));

    // Bottom labels replace both, spaced over nPoints.
    p.labelsBottom = {"0", "5", "10"};
    axis = p.xAxis(width);
    QCOMPARE(axis.labels.size(), 3);
    QCOMPARE(axis.labels[2].at, QPoint(60 + int(2 * 5.5 * 31) - 10, 285));
    QCOMPARE(axis.ticks.size(), 6); // top and bottom edge each

    // Top labels take the top ticks.
    p.labelsTop = {"x", "y"};
    axis = p.xAxis(width);
    QCOMPARE(axis.labels.size(), 5);
    QCOMPARE(axis.ticks.size(), 2 + 3);
    QCOMPARE(axis.labels[0].at, QPoint(60 - 5, 25));

    // A single label stands at the start of the axis.
    p.labelsTop.clear();
    p.labelsBottom = {"only"};
    axis = p.xAxis(width);
    QCOMPARE(axis.labels.size(), 1);
    QCOMPARE(axis.labels[0].at, QPoint(60 - 20, 285));
}

void TestProfilePlot::markerLines() {
    ProfilePlot p("", "Test");
    p.nPoints = 11;
    layOut(p, QSize(400, 300));
    p.markers = {0, 10};
    p.markerColors = {"red", "green"};
    auto lines = p.markerLines();
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines[1].line, QLine(370, 250, 370, 50));
    QCOMPARE(lines[1].color, QString("green"));
    p.markerColors = {"red"}; // not one per marker: gray
    QVERIFY(p.markerLines()[0].color.isEmpty());

    p.markers.clear();
    p.labelsX = {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k"};
    p.markerLabels = {"c", "b", "k"}; // matched in order: "b" is passed already
    lines = p.markerLines();
    QCOMPARE(lines.size(), 1);
    QCOMPARE(lines[0].line.x1(), 60 + 2 * 31);

    p.forPrint = true;
    QVERIFY(p.markerLines().isEmpty());
}

void TestProfilePlot::pixelToValue_data() {
    QTest::addColumn<QPointF>("pixel"); // y counted up from the bottom
    QTest::addColumn<QPointF>("value");
    QTest::newRow("left of the plot") << QPointF(10, 150) << QPointF(0, 100);
    QTest::newRow("right of the plot") << QPointF(371, 150) << QPointF(100, 100);
    QTest::newRow("middle") << QPointF(215, 100) << QPointF(50, 50);
    QTest::newRow("below") << QPointF(215, 20) << QPointF(50, 0);
    QTest::newRow("above") << QPointF(215, 290) << QPointF(50, 200);
    QTest::newRow("right edge") << QPointF(370, 250) << QPointF(100, 200);
}

void TestProfilePlot::pixelToValue() {
    QFETCH(QPointF, pixel);
    QFETCH(QPointF, value);
    ProfilePlot p("profile", "Test");
    profileOnGraph(p);
    QCOMPARE(p.pixelToValue(pixel), value);
    p.grafikMode = 0;
    QCOMPARE(p.pixelToValue(pixel), QPointF(-1, -1));
}

void TestProfilePlot::statisticsText() {
    ProfilePlot p("statistics", "Test");
    p.arrGrafikY = {{1, 2, 3}, {4.5, 5.25}, {7, 8, 9}};
    p.visible = {true, true, false};
    p.labelsX = {"2020.01.01", "2020.01.02", "2020.01.03"};
    p.nPoints = 3;
    p.yMin = 0;
    p.yMax = 10;
    layOut(p, QSize(400, 300));

    QCOMPARE(p.statisticsText(QPointF(2.7, 1.234)),
             QString("days number: 3\n\ndate:\t2020.01.03\ny:\t1.23\n\n"
                     "sigma [2020.01.03] = 3.00\n  S/N  [2020.01.03] = none\n"));
    QCOMPARE(p.statisticsText(QPointF(3, 1)), QString("days number: 3\n\ndate: none"));
    QCOMPARE(p.statisticsText(QPointF(-0.5, 1)).section('\n', 2, 2), QString("date:\t2020.01.01"));
    QCOMPARE(p.statisticsText(QPointF(-1, 1)), QString("days number: 3\n\ndate: none"));
    p.inGrid = true; // a cell lists every series
    QVERIFY(p.statisticsText(QPointF(0, 1)).endsWith("signal [2020.01.01] = 7.00\n"));

    // Presses map like moves: left of the plot is the first date, right of it the series length.
    layOut(p, QSize(400, 300));
    p.inGrid = false;
    layOut(p, QSize(400, 300));
    QCOMPARE(p.statisticIndexAt(QPoint(5, 100)), 0);
    QCOMPARE(p.statisticIndexAt(QPoint(395, 100)), -1);
}

void TestProfilePlot::bandPresses() {
    ProfilePlot p("profile", "Test");
    using B = ProfilePlot::BandPress;
    QCOMPARE(p.pressBand(QPoint(100, 100)), B::StartedBand);
    QCOMPARE(p.pressBand(QPoint(100, 100)), B::InsideBand); // the one-pixel band holds its own pixel
    p.dragBand(QPoint(200, 150));
    QCOMPARE(p.pressBand(QPoint(200, 150)), B::InsideBand); // edge
    QCOMPARE(p.pressBand(QPoint(150, 100)), B::InsideBand); // edge
    QCOMPARE(p.pressBand(QPoint(201, 120)), B::RestartedBand);
    QCOMPARE(p.selection, QRect(201, 120, 1, 1));

    // Dragged right to left or upward, a band contains no point at all.
    p.dragBand(QPoint(101, 140));
    for (const QPoint& at : {QPoint(150, 130), QPoint(201, 120), QPoint(101, 140)}) {
        p.selection = QRect(QPoint(201, 120), QPoint(101, 140));
        QCOMPARE(p.pressBand(at), B::RestartedBand);
    }
    p.selection = QRect(QPoint(101, 140), QPoint(201, 120));
    QCOMPARE(p.pressBand(QPoint(150, 130)), B::RestartedBand);
}

void TestProfilePlot::reportOfOnePointBand() {
    ProfilePlot p("profile", "Test");
    profileOnGraph(p);
    p.caption1 = "J0000+00";
    p.date = "2020.01.01";
    p.maxValue = 12.5;
    // x 215 is point 50, x 218.1 point 51: one point between them, both ends out of the sum.
    const QRect band(QPoint(215, 100), QPoint(219, 200));
    const ProfilePlot::Report r = p.selectionReport(band);
    QCOMPARE(r.line, QString("J0000+00:  date=2020.01.01  max_snr=12.5  sum_snr=0.00  points=100\n"));
    QVERIFY(r.text.contains(" Число точек в пике:  1 (1.0%)\n"));
    QVERIFY(r.text.contains(" Интегральный СШ в пике:  0.00\n"));
    QVERIFY(r.text.contains("  x: (50, 51)\n"));
    QVERIFY(r.text.contains("  y: (50.0, 150.0)\n"));
    QVERIFY(r.text.endsWith("\n В буфер скопировано:\n  " + r.line));
}

void TestProfilePlot::reportSums() {
    ProfilePlot p("profile", "Test");
    profileOnGraph(p);
    p.maxValue = 1.0 / 3;
    // Points 10..19 inside: (10 + 19) * 10 / 2 = 145 over 100 points; all: 4950 / 100.
    const QRect band(QPoint(60 + 28, 60), QPoint(60 + 63, 240));
    const ProfilePlot::Report r = p.selectionReport(band);
    QVERIFY2(r.text.contains("  x: (9, 20)\n"), qPrintable(r.text));
    QVERIFY(r.text.contains(" Интегральный СШ в пике:  1.45\n"));
    QVERIFY(r.text.contains(" Интегральный СШ полный:  49.50\n\n"));
    QVERIFY(r.text.contains(" Число точек в пике:  11 (11.0%)\n"));
    QVERIFY(r.text.contains(" Число точек полное:  100 \n\n"));
    QVERIFY(r.text.contains(" Максимум:  0.333333\n"));
    QVERIFY(r.line.contains("max_snr=0.333333  sum_snr=1.45  points=100"));
}

QTEST_MAIN(TestProfilePlot)
#include "tst_profileplot.moc"
