#include "directory/views/fouriergrafik.h"

#include "core/plotframe.h"
#include "core/tables.h"

#include <QImage>
#include <QPainter>
#include <QtTest>

#include <limits>

namespace {
using Curves = QVector<QVector<double>>;
const double notANumber = std::numeric_limits<double>::quiet_NaN();
const double infinity = std::numeric_limits<double>::infinity();

QImage grabOf(QWidget& w) {
    return w.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QVector<double> oneToTen() {
    QVector<double> x;
    for (int i = 1; i <= 10; ++i) {
        x << i;
    }
    return x;
}

// A drawn graph of mode 0 or 4 without the hint.
void shape(FourierGrafik& g, int w, int h) {
    g.resize(w, h);
    g.canvasSize = QSize(w, h);
}
} // namespace

Q_DECLARE_METATYPE(Curves)

class TestFourierGrafik : public QObject {
    Q_OBJECT
private slots:
    void startsWithDefaults();
    void range_data();
    void range();
    void pointCount_data();
    void pointCount();
    void pixelToValue_data();
    void pixelToValue();
    void smallWidgetPaintsNothing();
    void markerColours_data();
    void markerColours();
    void curveColourRepeatsEveryEight();
    void negativeZeroLabelReadsZero();
    void zeroLineAndValueMarkers();
    void degenerateAxesKeepLabelsInside_data();
    void degenerateAxesKeepLabelsInside();
    void spansMatchSegments_data();
    void spansMatchSegments();
    void brokenValuesAreNotDrawn();
    void labelStepsOutOfRangeReset();
};

void TestFourierGrafik::startsWithDefaults() {
    FourierGrafik g(nullptr);
    QCOMPARE(g.points, 100);
    QCOMPARE(g.yMax, 100.0);
    QCOMPARE(g.precisionY, 3);
    QCOMPARE(g.colorNames.size(), 8);
    QVERIFY(g.hasMouseTracking());
    g.showStartHint();
    QVERIFY(g.hintShown);
    QVERIFY(g.hintText.startsWith("Установите нужные параметры"));
}

void TestFourierGrafik::range_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<Curves>("curves");
    QTest::addColumn<QVector<bool>>("visible");
    QTest::addColumn<double>("lo");
    QTest::addColumn<double>("hi");
    QTest::newRow("from zero") << 0 << Curves{{0, 4, 10}} << QVector<bool>{true} << 0.0 << 10.5;
    QTest::newRow("negative") << 0 << Curves{{-2, 8}} << QVector<bool>{true} << -2.525 << 8.5;
    QTest::newRow("flat") << 0 << Curves{{5, 5, 5}} << QVector<bool>{true} << 4.4475 << 5.55;
    QTest::newRow("mode 4 as mode 0") << 4 << Curves{{0, 4, 10}} << QVector<bool>{true} << 0.0 << 10.5;
    QTest::newRow("hidden curve left out")
        << 0 << Curves{{0, 10}, {-100, 100}} << QVector<bool>{true, false} << 0.0 << 10.5;
    QTest::newRow("nothing visible") << 0 << Curves{{1, 2}} << QVector<bool>{false} << 0.0 << 105.0;
    QTest::newRow("fewer flags than curves") << 0 << Curves{{1, 2}} << QVector<bool>{} << 0.0 << 105.0;
    QTest::newRow("map mode") << 1 << Curves{{1, 2}} << QVector<bool>{true} << 0.0 << 105.0;
    QTest::newRow("linear map mode") << 3 << Curves{{1, 2}} << QVector<bool>{true} << 0.0 << 105.0;
    QTest::newRow("all NaN") << 0 << Curves{{notANumber, notANumber}} << QVector<bool>{true} << 0.0 << 105.0;
    QTest::newRow("broken values skipped")
        << 0 << Curves{{notANumber, 0, infinity, 10, -infinity}} << QVector<bool>{true} << 0.0 << 10.5;
}

void TestFourierGrafik::range() {
    QFETCH(int, mode);
    QFETCH(Curves, curves);
    QFETCH(QVector<bool>, visible);
    QFETCH(double, lo);
    QFETCH(double, hi);
    FourierGrafik g(nullptr);
    g.grafikMode = mode;
    g.arrGrafikY = curves;
    g.visible = visible;
    QVERIFY(g.updateRange());
    QVERIFY(qAbs(g.yMin - lo) < 1e-12);
    QVERIFY(qAbs(g.yMax - hi) < 1e-12);
}

void TestFourierGrafik::pointCount_data() {
    QTest::addColumn<QVector<double>>("xs");
    QTest::addColumn<QVector<int>>("lengths");
    QTest::addColumn<int>("points");
    QTest::addColumn<double>("xLimit");
    QTest::addColumn<int>("expected");
    QTest::newRow("cut by limit") << oneToTen() << QVector<int>{10} << 10 << 4.5 << 5;
    QTest::newRow("limit beyond X") << oneToTen() << QVector<int>{10} << 10 << 20.0 << 10;
    QTest::newRow("zero takes every X") << oneToTen() << QVector<int>{10} << 0 << 0.0 << 10;
    QTest::newRow("above N clamped") << oneToTen() << QVector<int>{10} << 100 << 0.0 << 10;
    QTest::newRow("above N then cut") << oneToTen() << QVector<int>{10} << 100 << 4.5 << 5;
    QTest::newRow("negative takes every X") << oneToTen() << QVector<int>{10} << -3 << 0.0 << 10;
    QTest::newRow("longest curve") << QVector<double>{} << QVector<int>{50, 80} << 100 << 0.0 << 80;
    QTest::newRow("fewer kept") << QVector<double>{} << QVector<int>{50, 80} << 60 << 0.0 << 60;
    QTest::newRow("zero without X") << QVector<double>{} << QVector<int>{50, 80} << 0 << 0.0 << 80;
}

void TestFourierGrafik::pointCount() {
    QFETCH(QVector<double>, xs);
    QFETCH(QVector<int>, lengths);
    QFETCH(int, points);
    QFETCH(double, xLimit);
    QFETCH(int, expected);
    FourierGrafik g(nullptr);
    g.arrGrafikX = xs;
    for (int n : lengths) {
        g.arrGrafikY.append(QVector<double>(n, 1.0));
        g.visible.append(true);
    }
    g.points = points;
    g.xLimit = xLimit;
    g.updateRange();
    QCOMPARE(g.points, expected);
}

void TestFourierGrafik::pixelToValue_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<QVector<double>>("xs");
    QTest::addColumn<QPointF>("pixel");
    QTest::addColumn<QPointF>("value");
    // Canvas 490 x 300: plot area 400 x 200 from (60, 50); points 10, Y 0..100.
    QTest::newRow("index axis") << 0 << QVector<double>{} << QPointF(260, 150) << QPointF(5, 50);
    QTest::newRow("X from 0") << 0 << oneToTen() << QPointF(260, 50) << QPointF(5, 0);
    QTest::newRow("X from the first value") << 4 << oneToTen() << QPointF(260, 250) << QPointF(5.5, 100);
    QTest::newRow("mode 4 without X from 0")
        << 4 << QVector<double>{} << QPointF(460, 150) << QPointF(10, 50);
    QTest::newRow("left of the plot") << 0 << QVector<double>{} << QPointF(59, 150) << QPointF(-1, 50);
    QTest::newRow("above the plot") << 0 << QVector<double>{} << QPointF(60, 251) << QPointF(0, -1);
}

void TestFourierGrafik::pixelToValue() {
    QFETCH(int, mode);
    QFETCH(QVector<double>, xs);
    QFETCH(QPointF, pixel);
    QFETCH(QPointF, value);
    FourierGrafik g(nullptr);
    g.canvasSize = QSize(490, 300);
    g.grafikMode = mode;
    g.arrGrafikX = xs;
    g.points = 10;
    g.yMin = 0;
    g.yMax = 100;
    QCOMPARE(g.pixelToValue(pixel), value);
}

void TestFourierGrafik::smallWidgetPaintsNothing() {
    FourierGrafik g(nullptr);
    g.resize(100, 100);
    g.setAutoFillBackground(false);
    const QImage small = grabOf(g);
    QVERIFY(!g.canvasSize.isValid());
    QVERIFY(small.pixelColor(0, 0) != QColor(Qt::black));
    g.resize(101, 60);
    const QImage painted = grabOf(g);
    QCOMPARE(g.canvasSize, QSize(101, 60));
    QCOMPARE(painted.pixelColor(0, 30), QColor(Qt::black));
    QCOMPARE(painted.pixelColor(50, 0), QColor(Qt::black));
    QCOMPARE(painted.pixelColor(100, 30), QColor(Qt::black));
    QCOMPARE(painted.pixelColor(30, 30), QColor(Qt::white));
}

void TestFourierGrafik::markerColours_data() {
    QTest::addColumn<QVector<int>>("markers");
    QTest::addColumn<QStringList>("colours");
    QTest::newRow("four") << QVector<int>{2, 4, 6, 8} << QStringList{"red", "blue", "green", "black"};
    QTest::newRow("two") << QVector<int>{2, 6} << QStringList{"blue", "blue"};
}

void TestFourierGrafik::markerColours() {
    QFETCH(QVector<int>, markers);
    QFETCH(QStringList, colours);
    FourierGrafik g(nullptr);
    g.resize(590, 300); // 500 px for 11 points: 50 px a point
    g.points = 11;
    g.markers = markers;
    const QImage image = grabOf(g);
    for (int i = 0; i < markers.size(); ++i) {
        QCOMPARE(image.pixelColor(60 + 50 * markers[i], 120), QColor(colours[i]));
    }
}

void TestFourierGrafik::curveColourRepeatsEveryEight() {
    FourierGrafik g(nullptr);
    g.resize(590, 300);
    g.arrGrafikY = Curves(10, QVector<double>(11, 1.0));
    g.arrGrafikY[9] = QVector<double>(11, 2.0);
    g.visible = QVector<bool>(10, false);
    g.visible[9] = true;
    g.points = 11;
    g.yMin = 0;
    g.yMax = 4;
    const QImage image = grabOf(g);
    // Value 2 of 0..4 stands 100 px above the plot's bottom at 250.
    QCOMPARE(image.pixelColor(300, 150), QColor(graphColors[1]));
}

void TestFourierGrafik::negativeZeroLabelReadsZero() {
    FourierGrafik g(nullptr);
    g.precisionY = 2;
    g.yMin = -1e-9;
    g.yMax = 1;
    g.arrGrafikY = Curves{{0, 1}};
    QStringList texts;
    for (const FourierGrafik::AxisLabel& label : g.linePicture(QSize(490, 400), false).labels) {
        texts << label.text;
    }
    QVERIFY(texts.contains("0"));
    QVERIFY(!texts.contains("-0.00"));
    // Mode 4 keeps the sign.
    texts.clear();
    for (const FourierGrafik::AxisLabel& label : g.linePicture(QSize(490, 400), true).labels) {
        texts << label.text;
    }
    QVERIFY(texts.contains("-0.00"));
}

void TestFourierGrafik::zeroLineAndValueMarkers() {
    FourierGrafik g(nullptr);
    g.yMin = -10;
    g.yMax = 10; // zero at row 400 - (50 + 150) = 200
    g.points = 5;
    g.markersX = {2.0};
    const QColor lightGray(Qt::lightGray);
    auto zeroLines = [&](const FourierGrafik::LinePicture& pic) {
        int n = 0;
        for (const FourierGrafik::ColouredLine& l : pic.over) {
            n += l.colour == lightGray && l.line.y1() == 200 && l.line.y2() == 200;
        }
        return n;
    };
    QCOMPARE(zeroLines(g.linePicture(QSize(490, 400), false)), 0); // mode 0: only with curves
    const FourierGrafik::LinePicture first = g.linePicture(QSize(490, 400), true);
    QCOMPARE(zeroLines(first), 1);
    // Mode 4 draws the X-value marker from the top of the plot down to zero.
    QCOMPARE(first.under.last().line, QLine(260, 350, 260, 200));
    g.arrGrafikY = Curves{{1, 2, 3, 4, 5}};
    g.markersY = {5.0};
    const FourierGrafik::LinePicture withCurves = g.linePicture(QSize(490, 400), false);
    QCOMPARE(zeroLines(withCurves), 1);
    QCOMPARE(withCurves.under.last().line, QLine(260, 350, 260, 50));
    QCOMPARE(g.linePicture(QSize(490, 400), true).over.first().line, QLine(60, 125, 460, 125));
}

void TestFourierGrafik::degenerateAxesKeepLabelsInside_data() {
    QTest::addColumn<QVector<double>>("xs");
    QTest::addColumn<int>("points");
    QTest::addColumn<bool>("fromFirstX");
    QTest::addColumn<bool>("logged"); // an X axis of length zero is logged
    QTest::newRow("one point") << QVector<double>{} << 1 << false << false;
    QTest::newRow("no points") << QVector<double>{} << 0 << false << false;
    QTest::newRow("X all zero") << QVector<double>{0, 0} << 2 << false << true;
    QTest::newRow("X not finite") << QVector<double>{notANumber, infinity} << 2 << false << true;
    QTest::newRow("mode 4 X all equal") << QVector<double>{3, 3, 3} << 3 << true << true;
    QTest::newRow("mode 4 falling X") << QVector<double>{3, 2, 1} << 3 << true << true;
    QTest::newRow("mode 4 one point") << QVector<double>{} << 1 << true << false;
}

void TestFourierGrafik::degenerateAxesKeepLabelsInside() {
    QFETCH(QVector<double>, xs);
    QFETCH(int, points);
    QFETCH(bool, fromFirstX);
    QFETCH(bool, logged);
    FourierGrafik g(nullptr);
    g.arrGrafikX = xs;
    g.points = points;
    g.arrGrafikY = Curves{{1, 2, 3}};
    g.visible = {true};
    g.labelsX1 = {"a", "b", "c"};
    g.labelsX2 = {"d", "e"};
    g.labelsX3 = {"f"};
    g.markers = {1};
    g.updateRange();
    const char* zeroAxis = "ERROR! FourierGrafik::drawGrafik: deltaX=0!!! arrGrafikX[0] = arrGrafikX[N]!";
    g.grafikMode = fromFirstX ? 4 : 0;
    if (logged) {
        QTest::ignoreMessage(QtDebugMsg, zeroAxis); // the picture
        QTest::ignoreMessage(QtDebugMsg, zeroAxis); // the paint
    }
    const FourierGrafik::LinePicture pic = g.linePicture(QSize(490, 400), fromFirstX);
    for (const FourierGrafik::AxisLabel& label : pic.labels) {
        QVERIFY2(!label.text.contains("inf") && !label.text.contains("nan"), qPrintable(label.text));
        QVERIFY(qAbs(label.at.x()) < 1000);
    }
    QVERIFY(pic.labels.size() < 40);
    shape(g, 490, 400);
    QVERIFY(!grabOf(g).isNull());
}

void TestFourierGrafik::spansMatchSegments_data() {
    QTest::addColumn<QVector<double>>("xs");
    QTest::addColumn<QVector<double>>("values");
    QVector<double> many;
    for (int i = 0; i < 3000; ++i) {
        many << std::sin(i * 0.37) * (i % 7);
    }
    QTest::newRow("crowded columns by index") << QVector<double>{} << many;
    QVector<double> rising;
    for (int i = 0; i < many.size(); ++i) {
        rising << 0.5 * i + (i % 3) * 0.1;
    }
    QTest::newRow("rising X") << rising << many;
    QTest::newRow("a gap") << QVector<double>{} << QVector<double>{1, 2, notANumber, 3, 1, infinity, 2, 0};
}

void TestFourierGrafik::spansMatchSegments() {
    QFETCH(QVector<double>, xs);
    QFETCH(QVector<double>, values);
    FourierGrafik g(nullptr);
    g.arrGrafikX = xs;
    g.arrGrafikY = Curves{values};
    g.visible = {true};
    g.points = values.size();
    g.updateRange();
    const FourierGrafik::CurveMap map = g.curveMap(QSize(390, 300), false);
    QImage spans(390, 300, QImage::Format_RGB32);
    QImage segments(390, 300, QImage::Format_RGB32);
    spans.fill(Qt::white);
    segments.fill(Qt::white);
    {
        QPainter a(&spans);
        QPainter b(&segments);
        a.setPen(QPen(Qt::black, 1));
        b.setPen(QPen(Qt::black, 1));
        PlotFrame::drawSeries(&a, map, values.constData(), values.size());
        PlotFrame::drawSeriesSegments(&b, map, values.constData(), values.size());
    }
    QCOMPARE(spans, segments);
}

void TestFourierGrafik::brokenValuesAreNotDrawn() {
    // X that turns back and values that are not finite: drawn segment by segment, gaps left open.
    FourierGrafik g(nullptr);
    shape(g, 490, 300);
    g.arrGrafikX = {0, 4, 2, notANumber, 8};
    g.arrGrafikY = Curves{{1, 1, 1, 1, notANumber}};
    g.visible = {true};
    g.points = 5;
    g.yMin = 0;
    g.yMax = 2; // value 1 on row 300 - (50 + 100) = 150
    const QImage image = grabOf(g);
    const QColor red(graphColors[0]);
    QCOMPARE(image.pixelColor(60 + 100, 150), red); // X 0..4 at 50 px per unit
    QCOMPARE(image.pixelColor(60 + 250, 150), QColor(Qt::white));
}

void TestFourierGrafik::labelStepsOutOfRangeReset() {
    FourierGrafik g(nullptr);
    g.points = 21; // 50 px a point on a plot 1000 px wide
    g.labelStep1 = 3;
    g.labelStep2 = 0;
    g.labelStep3 = 20;
    g.labelsX3 = {"a", "b", "c"};
    const FourierGrafik::LinePicture pic = g.linePicture(QSize(1090, 300), false);
    QCOMPARE(g.labelStep1, 3);
    QCOMPARE(g.labelStep2, 1);
    QCOMPARE(g.labelStep3, 1);
    int rowThree = 0;
    for (const FourierGrafik::AxisLabel& label : pic.labels) {
        rowThree += label.at.y() == 300 - 45 && label.at.x() >= 60;
    }
    QCOMPARE(rowThree, 3); // a short row ends at its last text
}

QTEST_MAIN(TestFourierGrafik)
#include "tst_fouriergrafik.moc"
