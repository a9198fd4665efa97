#include "app/mainwindow.h"
#include "core/data.h"
#include "core/plotframe.h"
#include "core/settings.h"
#include "core/workarea.h"
#include "single/nativegrafik.h"
#include "single/nativeright.h"
#include "support/obsfilewriter.h"
#include "support/recordingdesktop.h"
#include "support/testenv.h"

#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <limits>

namespace {
int countColour(const QImage& image, const QColor& colour, const QRect& area = QRect()) {
    const QRect r = area.isNull() ? image.rect() : area;
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y) {
        for (int x = r.left(); x <= r.right(); ++x) {
            n += image.pixelColor(x, y) == colour;
        }
    }
    return n;
}

const char* const rayColours[] = {"red",    "green",    "blue",    "black",
                                  "yellow", "darkCyan", "magenta", "darkRed"};

// Plot and panel as laid out in the work area, or nulls.
struct View {
    NativeGrafik* grafik = nullptr;
    NativeRight* panel = nullptr;
};

View laidOut(MainWindow& window) {
    QLayout* layout = window.centralWidget()->layout();
    if (!layout || layout->count() != 2) {
        return {};
    }
    return {qobject_cast<NativeGrafik*>(layout->itemAt(0)->widget()),
            qobject_cast<NativeRight*>(layout->itemAt(1)->widget())};
}

void dropCache() {
    Data cached = Settings::getInstance()->getData();
    freeSamples(cached);
    Data empty;
    Settings::getInstance()->setData(empty);
}

// The work area's layout would size the plot itself; a fixed size keeps the picture known.
QImage render(QWidget* widget, const QSize& size) {
    widget->setFixedSize(size);
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::gray);
    widget->render(&image, QPoint(), QRegion(), QWidget::RenderFlags());
    return image;
}
} // namespace

class TstNativeGrafik : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();
    void sidePanel_data();
    void sidePanel();
    void refusesFileWithoutData_data();
    void refusesFileWithoutData();
    void withoutStepFlattensTheCachedRecord();
    void rangeRules_data();
    void rangeRules();
    void refusedIndicesLeaveABlankPlot();
    void paintsRaysInTheirColours();
    void panelSwitchesRaysChannelAndModule();
    void shortSeriesJoinAllButTheLastPoint_data();
    void shortSeriesJoinAllButTheLastPoint();
    void paintMatchesEverySegment();

private:
    QString write(const QString& name, const ObsFileWriter::Description& d);
    QTemporaryDir dir;
};

void TstNativeGrafik::initTestCase() {
    TestEnv::isolate();
    QVERIFY(dir.isValid());
}

void TstNativeGrafik::cleanup() {
    dropCache();
}

QString TstNativeGrafik::write(const QString& name, const ObsFileWriter::Description& d) {
    const QString path = dir.filePath(name);
    if (!ObsFileWriter::write(path, d)) {
        return QString();
    }
    return path;
}

void TstNativeGrafik::sidePanel_data() {
    QTest::addColumn<int>("rays");
    QTest::addColumn<int>("channels");
    QTest::addColumn<int>("modules");
    QTest::newRow("8 rays, 7 channels, 6 modules") << 8 << 7 << 6;
    QTest::newRow("one channel") << 3 << 1 << 2;
    QTest::newRow("one module") << 2 << 33 << 1;
    QTest::newRow("17 rays") << 17 << 2 << 1;
}

void TstNativeGrafik::sidePanel() {
    QFETCH(int, rays);
    QFETCH(int, channels);
    QFETCH(int, modules);
    ObsFileWriter::Description d;
    d.npoints = 40;
    d.rays = rays;
    d.nbands = channels - 1;
    d.modules = modules;
    d.value = [](int p, int m, int r, int c) { return float(p + m + r + c); };
    const QString path = write(QString("panel_%1_%2_%3.pnt").arg(rays).arg(channels).arg(modules), d);
    QVERIFY(!path.isEmpty());

    MainWindow window;
    RecordingDesktop desktop;
    new NativeGrafik(path, 0, &window);
    QVERIFY(desktop.boxes().isEmpty());
    const View view = laidOut(window);
    QVERIFY(view.grafik && view.panel);
    QCOMPARE(window.centralWidget()->layout()->contentsMargins(), QMargins(10, 10, 10, 10));
    QCOMPARE(view.grafik->module, 0);
    QCOMPARE(view.grafik->channel, channels - 1);
    QCOMPARE(view.grafik->rayEnabled, QVector<bool>(rays, true));
    QCOMPARE(view.grafik->colours.size(), 8);

    const auto checks = view.panel->findChildren<QCheckBox*>();
    QCOMPARE(checks.size(), rays);
    for (int i = 0; i < rays; ++i) {
        auto* check = view.panel->findChild<QCheckBox*>(QString("rayCheckBox%1").arg(i + 1));
        QVERIFY(check);
        QCOMPARE(check->text(), QString("Ray %1").arg(i + 1));
        QVERIFY(check->isChecked());
    }
    auto* edit1 = view.panel->findChild<QLineEdit*>("colourEdit1");
    QVERIFY(edit1);
    QCOMPARE(edit1->text(), QString("FF0000"));
    if (rays > 16) {
        QCOMPARE(view.panel->findChild<QLineEdit*>("colourEdit16")->text(), QString("00D000"));
        QCOMPARE(view.panel->findChild<QLineEdit*>("colourEdit17")->text(), QString());
    }

    auto* spin = view.panel->findChild<QSpinBox*>("channelSpin");
    QCOMPARE(spin != nullptr, channels > 1);
    if (spin) {
        QCOMPARE(spin->minimum(), 1);
        QCOMPARE(spin->maximum(), channels);
        QCOMPARE(spin->value(), channels);
    }
    const auto radios = view.panel->findChildren<QRadioButton*>();
    QCOMPARE(radios.size(), modules > 1 ? modules : 0);
    for (int i = 0; i < radios.size(); ++i) {
        auto* radio = view.panel->findChild<QRadioButton*>(QString("moduleRadio%1").arg(i + 1));
        QVERIFY(radio);
        QCOMPARE(radio->text(), QString("Module %1").arg(i + 1));
        QCOMPARE(radio->isChecked(), i == 0);
    }

    auto label = [&](const char* name) {
        auto* l = view.panel->findChild<QLabel*>(name);
        return l ? l->text() : QString("missing");
    };
    QCOMPARE(label("labelRays"), QString("%1 rays detected").arg(rays));
    QCOMPARE(label("labelChannels"), QString("%1 channels").arg(channels));
    QCOMPARE(label("labelModules"), QString("%1 modules").arg(modules));
    QCOMPARE(label("labelPoints"), QString("40 points on ray"));
    QCOMPARE(label("labelFileName"), QFileInfo(path).fileName());
}

void TstNativeGrafik::refusesFileWithoutData_data() {
    QTest::addColumn<QByteArray>("passport");
    ObsFileWriter::Description d;
    d.npoints = 0;
    QTest::newRow("no points") << ObsFileWriter::passportFromLines(ObsFileWriter::keyLines(d));
    QStringList noModules = ObsFileWriter::keyLines(ObsFileWriter::Description());
    noModules = noModules.filter(QRegularExpression("^(?!modulus)"));
    QTest::newRow("no modules") << ObsFileWriter::passportFromLines(noModules);
    QTest::newRow("not a passport") << QByteArray("garbage");
}

void TstNativeGrafik::refusesFileWithoutData() {
    QFETCH(QByteArray, passport);
    const QString path = dir.filePath("empty.pnt");
    QVERIFY(ObsFileWriter::writeRaw(path, passport));
    MainWindow window;
    auto* old = new QWidget(&window);
    WorkArea::install({old});
    QPointer<QWidget> oldForm = old;
    RecordingDesktop desktop;
    auto* grafik = new NativeGrafik(path, 1, &window);
    QCOMPARE(desktop.boxes().size(), 1);
    QCOMPARE(desktop.boxes().first().title, QString("Error"));
    QCOMPARE(desktop.boxes().first().text, QString("Bad file!\nFile without data"));
    QVERIFY(!window.centralWidget()->layout());
    QVERIFY(!grafik->isVisible());
    QVERIFY(!grafik->findChild<NativeRight*>());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!oldForm);
    // Painting the refused plot draws no curve and reads nothing.
    const QImage image = render(grafik, QSize(300, 200));
    QCOMPARE(image.pixelColor(150, 100), QColor(Qt::white));
}

void TstNativeGrafik::withoutStepFlattensTheCachedRecord() {
    // An hour-13 file: the calibration step sits 300 s into the hour in the extra channel.
    ObsFileWriter::Description d;
    d.rays = 2;
    d.nbands = 32;
    const double tres = d.tresolution / 1000;
    d.npoints = int(365 / tres) + 100;
    const int start = int(300 / tres) + 20;
    const int end = start + int(15 / tres);
    d.value = [start, end](int p, int, int r, int c) {
        if (c == 32 && p >= start && p < end) {
            return (p < start + 10 || p >= end - 10) ? 1.0f : 100.0f;
        }
        return 10.0f + float(p % 7) + r;
    };
    const QString path = write("020320_13_N1_00.pnthr", d);
    QVERIFY(!path.isEmpty());

    MainWindow window;
    {
        RecordingDesktop desktop;
        new NativeGrafik(path, 1, &window);
        QCOMPARE(desktop.boxes().size(), 1);
        QCOMPARE(desktop.boxes().first().title, QString("Message"));
        QVERIFY2(desktop.boxes().first().text.startsWith("Ступенька удалена!"),
                 qPrintable(desktop.boxes().first().text));
    }
    View view = laidOut(window);
    QVERIFY(view.grafik);
    const float flat = view.grafik->data.samples[0][32][1][start - 3];
    for (int p = start - 1; p <= end + 1; p += 97) {
        QCOMPARE(view.grafik->data.samples[0][32][1][p], flat);
    }
    QCOMPARE(view.grafik->max, 10.0f + 6 + 1); // the step's 100 is gone from the shown channel

    // The file is gone from disk: "Show native" must take the cached, flattened record.
    QVERIFY(QFile::remove(path));
    {
        RecordingDesktop desktop;
        new NativeGrafik(path, 0, &window);
        for (const auto& box : desktop.boxes()) {
            QVERIFY2(box.title != "Error", qPrintable(box.text));
        }
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    view = laidOut(window);
    QVERIFY(view.grafik);
    QCOMPARE(view.grafik->data.npoints, d.npoints);
    QCOMPARE(view.grafik->data.samples[0][32][0][start + 100],
             view.grafik->data.samples[0][32][0][start - 3]);
}

void TstNativeGrafik::rangeRules_data() {
    QTest::addColumn<QVector<float>>("firstSeries"); // module 0, channel 0, ray 0
    QTest::addColumn<QVector<float>>("shown");       // last channel, rays 0 and 1 alike
    QTest::addColumn<float>("max");
    QTest::addColumn<float>("min");
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    QTest::newRow("all negative: max stays 0")
        << QVector<float>{-1, -2, -3} << QVector<float>{-5, -7, -6} << 0.f << -7.f;
    QTest::newRow("all above the first sample")
        << QVector<float>{3, 0, 0} << QVector<float>{5, 9, 7} << 9.f << 3.f;
    QTest::newRow("NaN and inf skipped")
        << QVector<float>{1, 1, 1} << QVector<float>{nan, 4, -inf} << 4.f << 1.f;
    QTest::newRow("first sample NaN") << QVector<float>{nan, 1, 1} << QVector<float>{6, 2, inf} << 6.f << 2.f;
    QTest::newRow("nothing finite") << QVector<float>{nan, 1, 1} << QVector<float>{nan, inf, nan} << 0.f
                                    << 0.f;
}

void TstNativeGrafik::rangeRules() {
    QFETCH(QVector<float>, firstSeries);
    QFETCH(QVector<float>, shown);
    QFETCH(float, max);
    QFETCH(float, min);
    ObsFileWriter::Description d;
    d.npoints = 3;
    d.rays = 2;
    d.nbands = 1;
    d.value = [&](int p, int, int r, int c) { return c == 0 && r == 0 ? firstSeries[p] : shown[p]; };
    const QString path = write("range.pnt", d);
    MainWindow window;
    RecordingDesktop desktop;
    new NativeGrafik(path, 0, &window);
    const View view = laidOut(window);
    QVERIFY(view.grafik);
    QCOMPARE(view.grafik->max, max);
    QCOMPARE(view.grafik->min, min);
    // Every paint of such a series is sound.
    const QImage image = render(view.grafik, QSize(300, 200));
    QCOMPARE(image.pixelColor(0, 0), QColor(Qt::black));
}

void TstNativeGrafik::refusedIndicesLeaveABlankPlot() {
    ObsFileWriter::Description d;
    d.npoints = 50;
    d.rays = 1;
    d.nbands = 1;
    d.modules = 2;
    d.value = [](int p, int m, int, int) { return float(p % 5) + 10 * m; };
    const QString path = write("refused.pnt", d);
    MainWindow window;
    RecordingDesktop desktop;
    new NativeGrafik(path, 0, &window);
    NativeGrafik* grafik = laidOut(window).grafik;
    QVERIFY(grafik);
    const float max = grafik->max;
    const float min = grafik->min;
    grafik->setMaxMin(2, 0);
    grafik->setMaxMin(0, -1);
    QCOMPARE(grafik->max, max);
    QCOMPARE(grafik->min, min);
    QVERIFY(countColour(render(grafik, QSize(300, 200)), QColor("red")) > 0);

    for (const auto& indices : {std::make_pair(2, 1), std::make_pair(0, 2), std::make_pair(-1, 0)}) {
        grafik->module = indices.first;
        grafik->channel = indices.second;
        grafik->redraw();
        const QImage image = render(grafik, QSize(300, 200));
        QCOMPARE(countColour(image, QColor("red")), 0);
        QCOMPARE(image.pixelColor(0, 0), QColor(Qt::black));
        QCOMPARE(image.pixelColor(150, 100), QColor(Qt::white));
    }
}

void TstNativeGrafik::paintsRaysInTheirColours() {
    // Nine rays on separate levels: ray 8 repeats the first colour, near the top.
    ObsFileWriter::Description d;
    d.npoints = 60;
    d.rays = 9;
    d.nbands = 2;
    d.value = [](int p, int, int r, int) { return float(r * 10 + (p % 2)); };
    const QString path = write("nine.pnt", d);
    MainWindow window;
    RecordingDesktop desktop;
    new NativeGrafik(path, 0, &window);
    const View view = laidOut(window);
    QVERIFY(view.grafik && view.panel);
    const QImage image = render(view.grafik, QSize(400, 320));
    QCOMPARE(image.pixelColor(0, 0), QColor(Qt::black));
    QCOMPARE(image.pixelColor(399, 319), QColor(Qt::black));
    QCOMPARE(image.pixelColor(200, 150), QColor(Qt::white));
    for (const char* name : rayColours) {
        QVERIFY2(countColour(image, QColor(name)) > 20, name);
    }
    QVERIFY(countColour(image, QColor("red"), QRect(40, 10, 320, 40)) > 20);
    QVERIFY(countColour(image, QColor("red"), QRect(40, 270, 320, 40)) > 20);

    // "Disable all" leaves frame and labels; "Enable all" brings the curves back.
    QTest::mouseClick(view.panel->findChild<QPushButton*>("disableButton"), Qt::LeftButton);
    QCOMPARE(view.grafik->rayEnabled, QVector<bool>(9, false));
    const QImage none = render(view.grafik, QSize(400, 320));
    for (const char* name : rayColours) {
        if (QByteArray(name) != "black") {
            QCOMPARE(countColour(none, QColor(name)), 0);
        }
    }
    QCOMPARE(none.pixelColor(0, 0), QColor(Qt::black));
    QVERIFY(countColour(none, Qt::black, QRect(240, 295, 60, 20)) > 0); // the x label at 250
    QTest::mouseClick(view.panel->findChild<QPushButton*>("enableButton"), Qt::LeftButton);
    QCOMPARE(view.grafik->rayEnabled, QVector<bool>(9, true));
    QCOMPARE(render(view.grafik, QSize(400, 320)), image);

    // "Draw" and "Reset" change nothing.
    QTest::mouseClick(view.panel->findChild<QPushButton*>("drawButton"), Qt::LeftButton);
    QTest::mouseClick(view.panel->findChild<QPushButton*>("resetButton"), Qt::LeftButton);
    QCOMPARE(render(view.grafik, QSize(400, 320)), image);

    // A typed colour shows in the swatch only; the curve keeps its own.
    auto* edit = view.panel->findChild<QLineEdit*>("colourEdit1");
    QWidget* swatch = view.panel->findChild<QWidget*>("colourSwatch1");
    QVERIFY(edit && swatch);
    edit->setText("00FF00");
    swatch->resize(20, 20);
    QCOMPARE(swatch->grab().toImage().pixelColor(10, 10), QColor(0, 255, 0));
    QCOMPARE(render(view.grafik, QSize(400, 320)), image);
}

void TstNativeGrafik::panelSwitchesRaysChannelAndModule() {
    ObsFileWriter::Description d;
    d.npoints = 30;
    d.rays = 3;
    d.nbands = 2;
    d.modules = 3;
    d.value = [](int p, int m, int r, int c) { return 1.0f + (p % 3) + 100 * m + 10 * c + r; };
    const QString path = write("switch.pnt", d);
    MainWindow window;
    RecordingDesktop desktop;
    new NativeGrafik(path, 0, &window);
    const View view = laidOut(window);
    QVERIFY(view.grafik && view.panel);
    QCOMPARE(view.grafik->max, 1.0f + 2 + 20 + 2);

    auto* ray2 = view.panel->findChild<QCheckBox*>("rayCheckBox2");
    QTest::mouseClick(ray2, Qt::LeftButton);
    QCOMPARE(view.grafik->rayEnabled, (QVector<bool>{true, false, true}));
    QCOMPARE(view.grafik->max, 1.0f + 2 + 20 + 2); // every ray counts for the range
    const QImage image = render(view.grafik, QSize(400, 300));
    QCOMPARE(countColour(image, QColor("green")), 0);
    QVERIFY(countColour(image, QColor("blue")) > 0);

    view.panel->findChild<QSpinBox*>("channelSpin")->setValue(1);
    QCOMPARE(view.grafik->channel, 0);
    QCOMPARE(view.grafik->max, 1.0f + 2 + 2);

    auto* radio3 = view.panel->findChild<QRadioButton*>("moduleRadio3");
    QTest::mouseClick(radio3, Qt::LeftButton, Qt::NoModifier, QPoint(6, radio3->height() / 2));
    QCOMPARE(view.grafik->module, 2);
    QCOMPARE(view.grafik->max, 1.0f + 2 + 200 + 2);
    QVERIFY(!view.panel->findChild<QRadioButton*>("moduleRadio1")->isChecked());
    // The first sample of the file bounds min from above, whatever module is shown.
    QCOMPARE(view.grafik->min, 1.0f);
    auto* radio1 = view.panel->findChild<QRadioButton*>("moduleRadio1");
    QTest::mouseClick(radio1, Qt::LeftButton, Qt::NoModifier, QPoint(6, radio1->height() / 2));
    QCOMPARE(view.grafik->module, 0);
}

void TstNativeGrafik::shortSeriesJoinAllButTheLastPoint_data() {
    QTest::addColumn<int>("points");
    QTest::addColumn<int>("lastJoinedX"); // rightmost red column, -1 for none
    // On 300 pixels dx = 230 / n: point 1 of 3 at 40 + 76, point 2 of 4 at 40 + 115.
    QTest::newRow("3 points") << 3 << 40 + 76;
    QTest::newRow("4 points") << 4 << 40 + 115;
    QTest::newRow("2 points") << 2 << -1;
    QTest::newRow("1 point") << 1 << -1;
}

void TstNativeGrafik::shortSeriesJoinAllButTheLastPoint() {
    QFETCH(int, points);
    QFETCH(int, lastJoinedX);
    ObsFileWriter::Description d;
    d.npoints = points;
    d.rays = 1;
    d.nbands = 0;
    d.value = [](int p, int, int, int) { return float(p % 2); };
    const QString path = write(QString("short%1.pnt").arg(points), d);
    MainWindow window;
    RecordingDesktop desktop;
    new NativeGrafik(path, 0, &window);
    NativeGrafik* grafik = laidOut(window).grafik;
    QVERIFY(grafik);
    const QImage image = render(grafik, QSize(300, 200));
    int rightmost = -1;
    for (int x = 0; x < image.width(); ++x) {
        if (countColour(image, QColor("red"), QRect(x, 0, 1, image.height())) > 0) {
            rightmost = x;
        }
    }
    QCOMPARE(rightmost, lastJoinedX);
}

void TstNativeGrafik::paintMatchesEverySegment() {
    // Far more points than columns: the plot's picture equals drawing every segment of the series.
    ObsFileWriter::Description d;
    d.npoints = 6000;
    d.rays = 2;
    d.nbands = 0;
    QRandomGenerator rng(4052);
    QVector<float> values(2 * d.npoints);
    for (float& v : values) {
        v = float(rng.generateDouble() * 50 - 10);
    }
    values[123] = std::numeric_limits<float>::quiet_NaN();
    d.value = [&](int p, int, int r, int) { return values[r * d.npoints + p]; };
    const QString path = write("noise.pnt", d);
    MainWindow window;
    RecordingDesktop desktop;
    new NativeGrafik(path, 0, &window);
    NativeGrafik* grafik = laidOut(window).grafik;
    QVERIFY(grafik);
    // No axis labels at this size: text rendering differs between a widget and an image.
    const QSize size(240, 180);
    const QImage painted = render(grafik, size);

    QImage reference(size, QImage::Format_RGB32);
    reference.fill(Qt::gray);
    {
        QPainter p(&reference);
        PlotFrame::paintBackground(&p, size);
        PlotFrame::drawFrame(&p, size);
        const PlotFrame::Mapping<float> map(size, d.npoints, grafik->min, grafik->max);
        for (int r = 0; r < 2; ++r) {
            p.setPen(QPen(QColor(rayColours[r]), 1, Qt::SolidLine));
            PlotFrame::drawSeriesSegments(&p, map, values.constData() + r * d.npoints, d.npoints - 1);
        }
        QVERIFY(PlotFrame::axisLabels(map).isEmpty());
    }
    int differing = 0;
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            differing += painted.pixel(x, y) != reference.pixel(x, y);
        }
    }
    QCOMPARE(differing, 0);
    QVERIFY(countColour(painted, QColor("green")) > 100);
}

QTEST_MAIN(TstNativeGrafik)
#include "tst_nativegrafik.moc"
