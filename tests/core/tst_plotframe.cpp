#include "core/plotframe.h"

#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QTest>

#include <limits>

using Tick = PlotFrame::Tick;
Q_DECLARE_METATYPE(QVector<PlotFrame::Tick>)

namespace {
QVector<Tick> ticks(std::initializer_list<std::pair<int, int>> list) {
    QVector<Tick> out;
    for (const auto& p : list) {
        out.append({p.first, p.second});
    }
    return out;
}

QStringList texts(const QVector<PlotFrame::Label>& labels) {
    QStringList out;
    for (const auto& l : labels) {
        out << l.text;
    }
    return out;
}

QImage whiteImage(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::white);
    return img;
}

// Both drawings of one series, black on white; returns the number of pixels where they differ.
int differingPixels(const QVector<float>& values, const QSize& size, float min, float max,
                    QImage* painted = nullptr) {
    const PlotFrame::Mapping<float> map(size, values.size(), min, max);
    QImage fast = whiteImage(size.width(), size.height());
    QImage full = fast;
    {
        QPainter p(&fast);
        p.setPen(QPen(QColor("blue"), 1, Qt::SolidLine));
        PlotFrame::drawSeries(&p, map, values.constData(), values.size());
    }
    {
        QPainter p(&full);
        p.setPen(QPen(QColor("blue"), 1, Qt::SolidLine));
        PlotFrame::drawSeriesSegments(&p, map, values.constData(), values.size());
    }
    if (painted) {
        *painted = fast;
    }
    int diff = 0;
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            diff += fast.pixel(x, y) != full.pixel(x, y);
        }
    }
    return diff;
}

int countColour(const QImage& img, QRgb colour) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x) {
            n += img.pixel(x, y) == colour;
        }
    }
    return n;
}
} // namespace

class TestPlotFrame : public QObject {
    Q_OBJECT
private slots:
    void paintable_data();
    void paintable();
    void xTicks_data();
    void xTicks();
    void yTicks_data();
    void yTicks();
    void frameLinesPointInward();
    void labels_data();
    void labels();
    void mapping();
    void flatAndBrokenRanges_data();
    void flatAndBrokenRanges();
    void nonFiniteValuesHaveNoPixel();
    void labelBox();
    void columnSpansMatchEverySegment_data();
    void columnSpansMatchEverySegment();
};

void TestPlotFrame::paintable_data() {
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("painted");
    QTest::newRow("100x100") << QSize(100, 100) << false;
    QTest::newRow("50x50") << QSize(50, 50) << false;
    QTest::newRow("80x120") << QSize(80, 120) << true;
    QTest::newRow("101x50") << QSize(101, 50) << true;
}

void TestPlotFrame::paintable() {
    QFETCH(QSize, size);
    QFETCH(bool, painted);
    QCOMPARE(PlotFrame::paintable(size), painted);
}

void TestPlotFrame::xTicks_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<QVector<Tick>>("expected");
    QTest::newRow("300") << 300 << ticks({{50, 6}, {100, 6}, {150, 6}, {200, 6}, {250, 12}});
    QTest::newRow("271 stops before 250") << 271 << ticks({{50, 6}, {100, 6}, {150, 6}, {200, 6}, {250, 12}});
    QTest::newRow("270") << 270 << ticks({{50, 6}, {100, 6}, {150, 6}, {200, 6}});
    QTest::newRow("70 none") << 70 << QVector<Tick>();
    QTest::newRow("550") << 550
                         << ticks({{50, 6},
                                   {100, 6},
                                   {150, 6},
                                   {200, 6},
                                   {250, 12},
                                   {300, 6},
                                   {350, 6},
                                   {400, 6},
                                   {450, 6},
                                   {500, 12}});
}

void TestPlotFrame::xTicks() {
    QFETCH(int, width);
    QFETCH(QVector<Tick>, expected);
    QCOMPARE(PlotFrame::xTicks(width), expected);
}

void TestPlotFrame::yTicks_data() {
    QTest::addColumn<int>("height");
    QTest::addColumn<QVector<Tick>>("expected");
    QTest::newRow("300") << 300 << ticks({{50, 6}, {100, 6}, {150, 6}, {200, 6}, {250, 12}});
    QTest::newRow("120") << 120 << ticks({{50, 6}});
    QTest::newRow("70 none") << 70 << QVector<Tick>();
}

void TestPlotFrame::yTicks() {
    QFETCH(int, height);
    QFETCH(QVector<Tick>, expected);
    QCOMPARE(PlotFrame::yTicks(height), expected);
}

void TestPlotFrame::frameLinesPointInward() {
    const QVector<QLine> lines = PlotFrame::frameLines(QSize(300, 300));
    QCOMPARE(lines.size(), 4 + 2 * 5 + 2 * 5);
    QVERIFY(lines.contains(QLine(0, 0, 300, 0)));
    QVERIFY(lines.contains(QLine(0, 299, 300, 299)));
    QVERIFY(lines.contains(QLine(299, 0, 299, 300)));
    QVERIFY(lines.contains(QLine(250, 300, 250, 288))); // long tick up from the bottom
    QVERIFY(lines.contains(QLine(250, 0, 250, 12)));
    QVERIFY(lines.contains(QLine(100, 300, 100, 294)));
    QVERIFY(lines.contains(QLine(0, 50, 12, 50))); // distance 250 from the bottom
    QVERIFY(lines.contains(QLine(288, 50, 300, 50)));
    QVERIFY(lines.contains(QLine(0, 250, 6, 250)));

    QImage img = whiteImage(300, 300);
    {
        QPainter p(&img);
        PlotFrame::drawFrame(&p, img.size());
    }
    QCOMPARE(img.pixel(0, 150), qRgb(0, 0, 0));
    QCOMPARE(img.pixel(299, 150), qRgb(0, 0, 0));
    QCOMPARE(img.pixel(250, 288), qRgb(0, 0, 0));
    QCOMPARE(img.pixel(250, 287), qRgb(255, 255, 255));
    QCOMPARE(img.pixel(150, 150), qRgb(255, 255, 255));
}

void TestPlotFrame::labels_data() {
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("n");
    QTest::addColumn<double>("min");
    QTest::addColumn<double>("max");
    QTest::addColumn<QStringList>("expected");
    // y labels only above 300 pixels of height.
    QTest::newRow("300x300") << QSize(300, 300) << 230 << 0.0 << 1.0 << QStringList{"230"};
    QTest::newRow("300x301") << QSize(300, 301) << 230 << 0.0 << 261.0 << QStringList{"230", "230"};
    QTest::newRow("16384 on 1000") << QSize(1000, 200) << 16384 << 0.0 << 1.0
                                   << QStringList{"4052", "8456", "12861"};
    QTest::newRow("two decimals") << QSize(251, 600) << 181 << -1.0 << 2.0
                                  << QStringList{"230", "0.23", "1.57"};
    QTest::newRow("no points, no x labels") << QSize(600, 200) << 0 << 0.0 << 1.0 << QStringList();
    QTest::newRow("large count in g format")
        << QSize(300, 200) << 2000000 << 0.0 << 1.0 << QStringList{"2e+06"};
}

void TestPlotFrame::labels() {
    QFETCH(QSize, size);
    QFETCH(int, n);
    QFETCH(double, min);
    QFETCH(double, max);
    QFETCH(QStringList, expected);
    QCOMPARE(texts(PlotFrame::axisLabels(PlotFrame::Mapping<double>(size, n, min, max))), expected);
    QCOMPARE(texts(PlotFrame::axisLabels(PlotFrame::Mapping<float>(size, n, float(min), float(max)))),
             expected);
}

void TestPlotFrame::mapping() {
    const PlotFrame::Mapping<float> map(QSize(1070, 240), 1000, -5.f, 5.f);
    QCOMPARE(map.x(0), 40);
    QCOMPARE(map.x(1000), 1040); // w - 30
    QCOMPARE(map.x(999), 1039);
    int y = 0;
    QVERIFY(map.y(-5.f, y));
    QCOMPARE(y, 220); // 20 above the bottom
    QVERIFY(map.y(5.f, y));
    QCOMPARE(y, 20);
    QVERIFY(map.y(0.f, y));
    QCOMPARE(y, 120);

    const auto labels = PlotFrame::axisLabels(map);
    QCOMPARE(labels.size(), 4);
    QCOMPARE(labels.first().at, QPoint(246, 225));
    const auto tall = PlotFrame::axisLabels(PlotFrame::Mapping<double>(QSize(300, 600), 100, 0, 1));
    QCOMPARE(tall.last().at, QPoint(14, 600 - 500 + 4));
}

void TestPlotFrame::flatAndBrokenRanges_data() {
    QTest::addColumn<float>("min");
    QTest::addColumn<float>("max");
    QTest::addColumn<float>("value");
    const float inf = std::numeric_limits<float>::infinity();
    QTest::newRow("flat zero") << 0.f << 0.f << 0.f;
    QTest::newRow("flat large") << 1e9f << 1e9f << 1e9f;
    QTest::newRow("min NaN") << std::numeric_limits<float>::quiet_NaN() << 1.f << 0.5f;
    QTest::newRow("max infinite") << 0.f << inf << 0.5f;
    QTest::newRow("inverted") << 2.f << 1.f << 1.5f;
    QTest::newRow("full float range") << -3e38f << 3e38f << 3e38f;
}

void TestPlotFrame::flatAndBrokenRanges() {
    QFETCH(float, min);
    QFETCH(float, max);
    QFETCH(float, value);
    const PlotFrame::Mapping<float> map(QSize(400, 300), 100, min, max);
    QVERIFY(map.rangeMax() > map.rangeMin());
    int y = -1;
    QVERIFY(map.y(value, y));
    QVERIFY2(y >= 20 && y <= 280, qPrintable(QString::number(y)));
    for (const auto& label : PlotFrame::axisLabels(map)) {
        QVERIFY(!label.text.contains("nan") && !label.text.contains("inf"));
    }
}

void TestPlotFrame::nonFiniteValuesHaveNoPixel() {
    const PlotFrame::Mapping<float> map(QSize(400, 300), 100, 0.f, 1.f);
    int y = 7;
    QVERIFY(!map.y(std::numeric_limits<float>::quiet_NaN(), y));
    QVERIFY(!map.y(-std::numeric_limits<float>::infinity(), y));
    QVERIFY(map.y(1e30f, y)); // far outside the range: clamped, not wrapped
    QVERIFY(y < -1000000);
    QVERIFY(PlotFrame::Mapping<float>(QSize(400, 300), 10, 0.f, 1.f).x(std::numeric_limits<int>::max()) > 0);
}

void TestPlotFrame::labelBox() {
    QImage img(200, 60, QImage::Format_RGB32);
    img.fill(Qt::black);
    {
        QPainter p(&img);
        p.setPen(Qt::red);
        PlotFrame::drawLabel(&p, QPoint(10, 30), QString());
    }
    QCOMPARE(countColour(img, qRgb(0, 0, 0)), 200 * 60);
    int tw = 0;
    {
        QPainter p(&img);
        p.setPen(Qt::red);
        tw = p.fontMetrics().horizontalAdvance("4052");
        PlotFrame::drawLabel(&p, QPoint(10, 30), "4052");
    }
    // The box spans (x, y - 11) .. (x + tw + 1, y + 1); white at alpha 200 over black is grey.
    const QRgb box = img.pixel(10, 19);
    QVERIFY(qRed(box) > 150 && qRed(box) < 255 && qGreen(box) == qRed(box));
    QCOMPARE(img.pixel(10 + tw + 1, 31), box);
    QCOMPARE(img.pixel(9, 25), qRgb(0, 0, 0));
    QCOMPARE(img.pixel(10, 32), qRgb(0, 0, 0));
    QCOMPARE(img.pixel(10 + tw + 2, 25), qRgb(0, 0, 0));
    int inked = 0; // the text itself, in the pen's colour, inside the box
    for (int y = 19; y <= 31; ++y) {
        for (int x = 10; x <= 10 + tw + 1; ++x) {
            inked += qRed(img.pixel(x, y)) > qGreen(img.pixel(x, y));
        }
    }
    QVERIFY(inked > 0);
}

void TestPlotFrame::columnSpansMatchEverySegment_data() {
    QTest::addColumn<QVector<float>>("values");
    QTest::addColumn<QSize>("size");
    QRandomGenerator rng(20200302);
    QVector<float> noise(5000);
    for (float& v : noise) {
        v = float(rng.generateDouble() * 2 - 1);
    }
    QVector<float> pulses(3000);
    for (int i = 0; i < pulses.size(); ++i) {
        pulses[i] = (i % 97 < 3 ? 5.f : 0.f) + float(rng.generateDouble() * 0.3);
    }
    QVector<float> withGaps = noise;
    for (int i = 0; i < withGaps.size(); i += 37) {
        withGaps[i] = std::numeric_limits<float>::quiet_NaN();
    }
    withGaps[100] = std::numeric_limits<float>::infinity();
    QVector<float> sparse(60);
    for (int i = 0; i < sparse.size(); ++i) {
        sparse[i] = float(std::sin(i * 0.3));
    }
    QVector<float> steps(4000);
    for (int i = 0; i < steps.size(); ++i) {
        steps[i] = float((i / 13) % 5);
    }
    QVector<float> longColumns(40000);
    for (int i = 0; i < longColumns.size(); ++i) {
        longColumns[i] = float(rng.generateDouble() * 2 - 1) + (i % 700 < 2 ? 6.f : 0.f);
    }
    longColumns[5003] = std::numeric_limits<float>::quiet_NaN();
    longColumns[20011] = -std::numeric_limits<float>::infinity();
    longColumns[30000] = 3e38f; // far off the range: clamped, still part of its column
    longColumns[30001] = -3e38f;
    QTest::newRow("noise, many points per column") << noise << QSize(230, 150);
    QTest::newRow("hundreds of points per column, gaps, extremes") << longColumns << QSize(230, 150);
    QTest::newRow("pulse train") << pulses << QSize(300, 200);
    QTest::newRow("NaN and inf gaps") << withGaps << QSize(230, 150);
    QTest::newRow("fewer points than columns") << sparse << QSize(400, 150);
    QTest::newRow("equal values in runs") << steps << QSize(250, 120);
    QTest::newRow("narrow, x runs backwards") << noise << QSize(60, 150);
}

void TestPlotFrame::columnSpansMatchEverySegment() {
    QFETCH(QVector<float>, values);
    QFETCH(QSize, size);
    float lo = 0, hi = 0;
    for (float v : values) {
        if (std::isfinite(v) && std::abs(v) < 1e30f) {
            lo = std::min(lo, v);
            hi = std::max(hi, v);
        }
    }
    QImage painted;
    QCOMPARE(differingPixels(values, size, lo, hi, &painted), 0);
    QVERIFY(countColour(painted, QColor("blue").rgb()) > 0);
}

QTEST_MAIN(TestPlotFrame)
#include "tst_plotframe.moc"
