#include "core/tables.h"
#include "single/pulsargrafik.h"

#include <QPainter>
#include <QtTest>

#include <cmath>
#include <limits>

namespace {

QImage paint(PulsarGrafik& g) {
    return g.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

bool isBlack(const QImage& img, int x, int y) {
    return img.pixel(x, y) == qRgb(0, 0, 0);
}

// Rows of the left edge's tick column that are black, frame rows excluded.
QList<int> leftTicks(const QImage& img) {
    QList<int> rows;
    for (int y = 1; y < img.height() - 1; ++y) {
        if (isBlack(img, 3, y)) {
            rows << y;
        }
    }
    return rows;
}

// Draws texts at given baselines on a widget, so that they go through the same font handling as the plot.
class TextProbe : public QWidget {
public:
    explicit TextProbe(QList<QPair<QPoint, QString>> texts) : texts(std::move(texts)) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
        p.setPen(Qt::black);
        for (const auto& t : texts) {
            p.drawText(t.first, t.second);
        }
    }

private:
    QList<QPair<QPoint, QString>> texts;
};

QImage paintProbe(QWidget& w) {
    return w.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

void mouseTo(PulsarGrafik& g, QPoint pos) {
    QMouseEvent ev(QEvent::MouseMove, pos, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&g, &ev);
}

} // namespace

class TestPulsarGrafik : public QObject {
    Q_OBJECT
private slots:
    void smallPlotsAreNotPainted_data();
    void smallPlotsAreNotPainted();
    void hintShowsNothingElse();
    void valueLabels_data();
    void valueLabels();
    void degenerateRangesEnd_data();
    void degenerateRangesEnd();
    void markersReplaceGrid();
    void pointNumbersRow();
    void shortLabelRowsAreNotReadPastTheirEnd();
    void paintNormalisesStepsAndPoints();
    void updateRange_data();
    void updateRange();
    void rawCurvesReadOnlyPoints();
    void densePointsFillTheirColumns();
    void mouseReportsDataCoords_data();
    void mouseReportsDataCoords();
};

void TestPulsarGrafik::smallPlotsAreNotPainted_data() {
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("painted");
    QTest::newRow("100x100") << QSize(100, 100) << false;
    QTest::newRow("60x40") << QSize(60, 40) << false;
    QTest::newRow("101x50") << QSize(101, 50) << true;
    QTest::newRow("50x101") << QSize(50, 101) << true;
}

void TestPulsarGrafik::smallPlotsAreNotPainted() {
    QFETCH(QSize, size);
    QFETCH(bool, painted);
    PulsarGrafik g(nullptr);
    g.resize(size);
    const QImage img = paint(g);
    QCOMPARE(g.canvasSize.isValid(), painted);
    if (painted) {
        QCOMPARE(g.canvasSize, size);
        QVERIFY(isBlack(img, 0, size.height() / 2));
        QCOMPARE(img.pixel(size.width() / 2 + 3, size.height() / 2 - 3), qRgb(255, 255, 255));
    }
}

void TestPulsarGrafik::hintShowsNothingElse() {
    PulsarGrafik g(nullptr);
    g.resize(600, 400);
    g.arrGrafiks = {QVector<float>(100, 50.0f)};
    g.visible = {true};
    g.markers = {10};
    g.showHint();
    QVERIFY(g.hintShown);
    QVERIFY(g.hintText.startsWith(QString::fromUtf8("Установите нужные параметры")));
    const QImage img = paint(g);
    // The hint's text lies on its baseline at y 60 starting at x 30.
    int dark = 0;
    for (int y = 45; y <= 62; ++y) {
        for (int x = 30; x < 300; ++x) {
            dark += qGray(img.pixel(x, y)) < 128;
        }
    }
    QVERIFY(dark > 20);
    // No axis, curve, marker, tick or grid: everything away from the text and frame is white.
    for (int y = 80; y < 399; ++y) {
        for (int x = 1; x < 599; ++x) {
            if (img.pixel(x, y) != qRgb(255, 255, 255)) {
                QFAIL(qPrintable(QString("pixel at %1,%2 is not white").arg(x).arg(y)));
            }
        }
    }
}

void TestPulsarGrafik::valueLabels_data() {
    QTest::addColumn<float>("yMin");
    QTest::addColumn<float>("yMax");
    QTest::addColumn<QList<int>>("rows");
    QTest::newRow("0..100") << 0.0f << 100.0f << QList<int>{30, 80, 130, 180, 230, 280, 330, 380, 430};
    QTest::newRow("-50..50") << -50.0f << 50.0f << QList<int>{30, 80, 130, 180, 230};
    QTest::newRow("all negative") << -100.0f << -10.0f << QList<int>{};
    QTest::newRow("zero line far below")
        << 1.0e9f << 1.0e9f + 400.0f << QList<int>{30, 80, 130, 180, 230, 280, 330, 380, 430};
}

void TestPulsarGrafik::valueLabels() {
    QFETCH(float, yMin);
    QFETCH(float, yMax);
    QFETCH(QList<int>, rows);
    PulsarGrafik g(nullptr);
    g.resize(400, 500);
    g.yMin = yMin;
    g.yMax = yMax;
    if (yMin > 1.0e8f) {
        // 1e9 in float steps by 64, so the labels stand where whole multiples of 50 px fall.
        const QList<int> ticks = leftTicks(paint(g));
        QVERIFY(!ticks.isEmpty());
        QVERIFY(ticks.last() <= 480);
        return;
    }
    const QImage img = paint(g);
    QCOMPARE(leftTicks(img), rows);
    for (int y : rows) {
        QVERIFY(isBlack(img, 396, y));
    }
}

void TestPulsarGrafik::degenerateRangesEnd_data() {
    QTest::addColumn<QVector<float>>("curve");
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    QTest::newRow("flat") << QVector<float>(200, 7.0f);
    QTest::newRow("flat zero") << QVector<float>(200, 0.0f);
    QTest::newRow("nan") << QVector<float>(200, nan);
    QTest::newRow("mixed") << QVector<float>{1, nan, inf, -inf, 5, 3e38f, -3e38f, 2};
    QTest::newRow("huge flat") << QVector<float>(10, 3.4e38f);
}

void TestPulsarGrafik::degenerateRangesEnd() {
    QFETCH(QVector<float>, curve);
    PulsarGrafik g(nullptr);
    g.resize(500, 400);
    g.arrGrafiks = {curve};
    g.visible = {true};
    g.points = curve.size();
    QVERIFY(g.updateRange());
    QVERIFY(std::isfinite(g.yMin) && std::isfinite(g.yMax));
    paint(g);
    g.yMin = std::numeric_limits<float>::quiet_NaN();
    g.yMax = std::numeric_limits<float>::infinity();
    paint(g);
    // Bare arrays take the same way.
    g.arrGrafiks.clear();
    g.arrGrafiksRaw = {curve.data()};
    QVERIFY(g.updateRange());
    const QImage img = paint(g);
    QCOMPARE(img.size(), QSize(500, 400));
}

void TestPulsarGrafik::markersReplaceGrid() {
    PulsarGrafik g(nullptr);
    g.resize(1090, 400);
    g.points = 1000;
    g.yMin = -10;
    g.yMax = 10;
    QImage img = paint(g);
    const QRgb grid = qRgb(238, 238, 238);
    for (int o : {50, 100, 500, 1000}) {
        QCOMPARE(img.pixel(60 + o, 200), grid);
    }
    QCOMPARE(img.pixel(60 + 25, 200), qRgb(255, 255, 255));
    QCOMPARE(img.pixel(60, 100), grid); // the grid is drawn last, over the left axis

    g.markers = {125, 300};
    img = paint(g);
    QCOMPARE(img.pixel(60, 100), QColor(Qt::gray).rgb());
    QCOMPARE(img.pixel(60 + 50, 200), qRgb(255, 255, 255));
    QCOMPARE(img.pixel(60 + 125, 200), QColor(graphColors[0]).rgb());
    QCOMPARE(img.pixel(60 + 300, 200), QColor(graphColors[1]).rgb());
    QCOMPARE(img.pixel(60 + 125, 25), qRgb(255, 255, 255)); // markers run from the top margin
    QCOMPARE(img.pixel(60 + 125, 400 - 70), QColor(graphColors[0]).rgb());
}

void TestPulsarGrafik::pointNumbersRow() {
    PulsarGrafik g(nullptr);
    g.resize(1090, 300);
    g.points = 16384;
    const QImage img = paint(g);
    // The same texts drawn by hand where the row puts them: 0 at the margin, 819 fifty pixels on.
    TextProbe probe({{QPoint(60, 285), "0"}, {QPoint(110, 285), "819"}, {QPoint(160, 285), "1638"}});
    probe.resize(img.size());
    const QImage ref = paintProbe(probe);
    // Compared as ink masks: anti-aliasing differs a little between the widget and a plain image.
    for (int y = 272; y <= 288; ++y) {
        for (int x = 62; x < 200; ++x) {
            if ((qGray(img.pixel(x, y)) < 128) != (qGray(ref.pixel(x, y)) < 128)) {
                QFAIL(qPrintable(QString("row differs at %1,%2").arg(x).arg(y)));
            }
        }
    }
}

void TestPulsarGrafik::shortLabelRowsAreNotReadPastTheirEnd() {
    PulsarGrafik g(nullptr);
    g.resize(1090, 300);
    g.points = 16384;
    g.labelsX1 = {"a", "b"};
    g.labelsX2 = {"c"};
    g.labelsX3 = QVector<QString>(16384, "t");
    paint(g);
    g.points = 3;
    g.labelsX3 = {"x", "y", "z"};
    paint(g);
}

void TestPulsarGrafik::paintNormalisesStepsAndPoints() {
    PulsarGrafik g(nullptr);
    g.resize(500, 300);
    g.labelStep1 = 0;
    g.labelStep2 = -3;
    g.labelStep3 = 4;
    g.points = 0;
    g.arrGrafiks = {QVector<float>(100, 1.0f), QVector<float>(300, 2.0f)};
    g.visible = {true, false};
    paint(g);
    QCOMPARE(g.labelStep1, 1);
    QCOMPARE(g.labelStep2, 1);
    QCOMPARE(g.labelStep3, 4);
    QCOMPARE(g.points, 300);
    QCOMPARE(g.dx01, 60);
    QCOMPARE(g.dx02, 30);
    QCOMPARE(g.dy01, 70);
    QCOMPARE(g.dy02, 30);
}

void TestPulsarGrafik::updateRange_data() {
    QTest::addColumn<QVector<QVector<float>>>("curves");
    QTest::addColumn<QVector<bool>>("visible");
    QTest::addColumn<float>("yMin");
    QTest::addColumn<float>("yMax");
    QTest::newRow("none") << QVector<QVector<float>>{} << QVector<bool>{} << 0.0f << 0.0f;
    QTest::newRow("none visible") << QVector<QVector<float>>{{1, 2}} << QVector<bool>{false} << 0.0f << 0.0f;
    QTest::newRow("visible only") << QVector<QVector<float>>{{1, 2}, {-50, 90}, {3, 4}}
                                  << QVector<bool>{true, false, true} << 1.0f << 4.0f;
    QTest::newRow("above start") << QVector<QVector<float>>{{200000, 300000}} << QVector<bool>{true}
                                 << 100000.0f << 300000.0f;
    QTest::newRow("below start") << QVector<QVector<float>>{{-200000, -300000}} << QVector<bool>{true}
                                 << -300000.0f << -100000.0f;
    QTest::newRow("non-finite left out")
        << QVector<QVector<float>>{{std::numeric_limits<float>::quiet_NaN(), -2, 5,
                                    std::numeric_limits<float>::infinity()}}
        << QVector<bool>{true} << -2.0f << 5.0f;
    QTest::newRow("all nan") << QVector<QVector<float>>{{std::numeric_limits<float>::quiet_NaN()}}
                             << QVector<bool>{true} << 0.0f << 0.0f;
    QTest::newRow("visible shorter than list")
        << QVector<QVector<float>>{{1, 2}, {-5, 9}} << QVector<bool>{true} << 1.0f << 2.0f;
}

void TestPulsarGrafik::updateRange() {
    QFETCH(QVector<QVector<float>>, curves);
    QFETCH(QVector<bool>, visible);
    QFETCH(float, yMin);
    QFETCH(float, yMax);
    PulsarGrafik g(nullptr);
    g.resize(300, 200);
    g.arrGrafiks = curves;
    g.visible = visible;
    QVERIFY(g.updateRange());
    QCOMPARE(g.yMin, yMin);
    QCOMPARE(g.yMax, yMax);
}

void TestPulsarGrafik::rawCurvesReadOnlyPoints() {
    // Exactly `points` floats each: ASan reports any read past them.
    std::unique_ptr<float[]> a(new float[4]{1, 8, -3, 2});
    std::unique_ptr<float[]> b(new float[4]{100, 100, 100, 100});
    PulsarGrafik g(nullptr);
    g.resize(300, 200);
    g.arrGrafiksRaw = {a.get(), b.get()};
    g.visible = {true, false};
    g.points = 4;
    QVERIFY(g.updateRange());
    QCOMPARE(g.yMin, -3.0f);
    QCOMPARE(g.yMax, 8.0f);
    const QImage img = paint(g);
    // The zero line of bare arrays is light grey; it lies at y = 200 - 70 - trunc(3 * 100 / 11) = 103.
    QCOMPARE(img.pixel(200, 103), QColor(Qt::lightGray).rgb());
}

void TestPulsarGrafik::densePointsFillTheirColumns() {
    // 16384 points on 1000 pixels: each column holds the whole swing of its points. Points without a
    // value break the curve, so the left half stays empty.
    const float nan = std::numeric_limits<float>::quiet_NaN();
    std::vector<float> curve(16384);
    for (int j = 0; j < 16384; ++j) {
        curve[size_t(j)] = j < 8192 ? nan : float(j % 2) * 100.0f;
    }
    PulsarGrafik g(nullptr);
    g.resize(1090, 500);
    g.arrGrafiksRaw = {curve.data()};
    g.visible = {true};
    g.points = 16384;
    QVERIFY(g.updateRange());
    QCOMPARE(g.yMin, 0.0f);
    QCOMPARE(g.yMax, 100.0f);
    g.markers = {0}; // no grid over the curve
    const QImage img = paint(g);
    const QRgb red = QColor(graphColors[0]).rgb();
    for (int x : {60 + 501, 60 + 700, 60 + 999}) {
        for (int y = 31; y <= 429; ++y) {
            if (img.pixel(x, y) != red) {
                QFAIL(qPrintable(QString("pixel at %1,%2 is not the curve's").arg(x).arg(y)));
            }
        }
    }
    for (int x : {60 + 100, 60 + 498}) {
        for (int y = 31; y <= 420; ++y) {
            QVERIFY(img.pixel(x, y) != red);
        }
    }
}

void TestPulsarGrafik::mouseReportsDataCoords_data() {
    QTest::addColumn<QPoint>("pos");
    QTest::addColumn<QPointF>("coords");
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("left of margin") << QPoint(59, 230) << QPointF(-1, 50) << QStringList{"no", "no", "n"};
    QTest::newRow("first point") << QPoint(60, 230) << QPointF(0, 50) << QStringList{"a0", "b0", "n"};
    QTest::newRow("second point") << QPoint(61, 430) << QPointF(1, 0) << QStringList{"a1", "b1", "c1"};
    QTest::newRow("inside") << QPoint(310, 30) << QPointF(250, 100) << QStringList{"no", "no", "n"};
    QTest::newRow("below bottom margin")
        << QPoint(70, 431) << QPointF(10, -1) << QStringList{"no", "no", "n"};
    QTest::newRow("right of margin") << QPoint(1061, 200) << QPointF(-1, 57.5)
                                     << QStringList{"no", "no", "n"};
}

void TestPulsarGrafik::mouseReportsDataCoords() {
    QFETCH(QPoint, pos);
    QFETCH(QPointF, coords);
    QFETCH(QStringList, texts);
    PulsarGrafik g(nullptr);
    QVERIFY(g.hasMouseTracking());
    g.resize(1090, 500);
    g.points = 1000;
    g.yMin = 0;
    g.yMax = 100;
    g.labelsX1 = {"a0", "a1"};
    g.labelsX2 = {"b0", "b1"};
    g.labelsX3 = {"c0", "c1"};
    QSignalSpy spy(&g, &PulsarGrafik::coordsChanged);
    mouseTo(g, pos);
    QCOMPARE(spy.count(), 0); // nothing before the first paint
    paint(g);
    mouseTo(g, pos);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy[0][0].toPointF(), coords);
    QCOMPARE(QStringList(spy[0][1].value<QVector<QString>>().toList()), texts);
}

QTEST_MAIN(TestPulsarGrafik)
#include "tst_pulsargrafik.moc"
