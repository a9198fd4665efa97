#include "core/clicklable.h"
#include "core/tables.h"
#include "directory/calc/fouriercalculate.h"
#include "directory/views/fouriergrafik.h"
#include "directory/views/fouriergrafikinfo.h"
#include "support/recordingdesktop.h"
#include "support/testenv.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <QtTest>

Q_DECLARE_METATYPE(MapPoint)

namespace {
QImage grabOf(QWidget& w) {
    return w.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

MapPoint mapPoint(double period, int dm, int withNulls, int size) {
    MapPoint p;
    p.period = period;
    p.dispersion = dm;
    p.withNulls = withNulls;
    p.circleSize = size;
    p.snr = 7.5;
    return p;
}

// A log map of 16384 points painted on 600 x 400.
void paintMap(FourierGrafik& g, const QVector<MapPoint>& points, int mode = 1) {
    g.grafikMode = mode;
    g.grafikType = "map";
    g.arrGrafikX = FourierCalculate::decadeTicks(0.02, 0.01, 7.0);
    g.arrGridY = FourierCalculate::dmGrid();
    g.mapPoints = &points;
    g.stopIncreasePeriod = -1;
    g.resize(600, 400);
    grabOf(g);
}

// Moves arrive with tracking on and no window shown.
void move(QWidget& w, QPoint at, Qt::MouseButtons buttons = Qt::NoButton) {
    QMouseEvent event(QEvent::MouseMove, at, Qt::NoButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(&w, &event);
}

void press(QWidget& w, QPoint at) {
    QTest::mousePress(&w, Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseRelease(&w, Qt::LeftButton, Qt::NoModifier, at);
}
} // namespace

class TstFourierMapViews : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { TestEnv::isolate(); }
    void periodTicks_data();
    void periodTicks();
    void circles_data();
    void circles();
    void circleColoursOnScreen();
    void sum3sigmaLabels();
    void pointUnderClick();
    void mousePresses();
    void labelRows();
    void noteLayout_data();
    void noteLayout();
    void notesDragAndFollowResize();
    void mapClickLinks();
    void threeSigmaInfoAndFile();
};

// Text, tick length and the lists that label it: N4, screen, print.
void TstFourierMapViews::periodTicks_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("tick");
    QTest::addColumn<bool>("n4");
    QTest::addColumn<bool>("screen");
    QTest::addColumn<bool>("print");
    QTest::newRow("0.0125") << 0.0125 << "0.01" << 10 << true << false << false;
    QTest::newRow("1.25") << 1.25 << "1" << 10 << true << true << true;
    QTest::newRow("0.7") << 0.7 << "0.7" << 6 << false << true << false;
    QTest::newRow("accumulated 0.1") << 0.09999999999999999 << "0.1" << 10 << true << true << true;
    QTest::newRow("accumulated 0.01") << 0.009999999999999998 << "0.01" << 10 << true << false << false;
    QTest::newRow("0.006") << 0.006 << "0.006" << 6 << true << false << false;
    QTest::newRow("0.9995 rounds to whole") << 0.9995 << "1" << 10 << true << true << true;
}

void TstFourierMapViews::periodTicks() {
    QFETCH(double, value);
    QFETCH(QString, text);
    QFETCH(int, tick);
    QFETCH(bool, n4);
    QFETCH(bool, screen);
    QFETCH(bool, print);
    QCOMPARE(FourierGrafik::periodTickText(value), text);
    QCOMPARE(FourierGrafik::periodTickLength(text), tick);
    QCOMPARE(FourierGrafik::periodLabelled(text, "N4", false), n4);
    QCOMPARE(FourierGrafik::periodLabelled(text, "N4", true), n4);
    QCOMPARE(FourierGrafik::periodLabelled(text, "N2", false), screen);
    QCOMPARE(FourierGrafik::periodLabelled(text, "N2", true), print);
}

void TstFourierMapViews::circles_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("circlePlus");
    QTest::addColumn<float>("stop");
    QTest::addColumn<MapPoint>("p");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("diameter");
    QTest::addColumn<QString>("colour");
    QTest::newRow("with nulls red") << 1 << 0 << -1.0f << mapPoint(0.5, 57, 1, 4) << 1 << 4 << "#ff0000";
    QTest::newRow("without nulls blue") << 1 << 0 << -1.0f << mapPoint(0.5, 57, 0, 4) << 1 << 4 << "#0000ff";
    QTest::newRow("linear map always red")
        << 3 << 0 << -1.0f << mapPoint(0.5, 57, 0, 4) << 1 << 4 << "#ff0000";
    QTest::newRow("size -2 gives 0") << 1 << -5 << -1.0f << mapPoint(0.5, 57, 1, 3) << 1 << 0 << "#ff0000";
    QTest::newRow("beyond stop, size 7: black dot")
        << 1 << 0 << 0.4f << mapPoint(0.5, 57, 1, 7) << 1 << 1 << "#000000";
    QTest::newRow("beyond stop, small: nothing")
        << 1 << -5 << 0.4f << mapPoint(0.5, 57, 1, 3) << 0 << 0 << "";
    QTest::newRow("DM 0 not drawn") << 1 << 0 << -1.0f << mapPoint(0.5, 0, 1, 4) << 0 << 0 << "";
    QTest::newRow("period 0 not drawn on log X") << 1 << 0 << -1.0f << mapPoint(0, 57, 1, 4) << 0 << 0 << "";
}

void TstFourierMapViews::circles() {
    QFETCH(int, mode);
    QFETCH(int, circlePlus);
    QFETCH(float, stop);
    QFETCH(MapPoint, p);
    QFETCH(int, count);
    QFETCH(int, diameter);
    QFETCH(QString, colour);
    FourierGrafik g(nullptr);
    const QVector<MapPoint> points{p};
    g.circlePlus = circlePlus;
    paintMap(g, points, mode);
    g.stopIncreasePeriod = stop;
    const QVector<FourierGrafik::MapCircle> circles = g.mapCircles();
    QCOMPARE(circles.size(), count);
    if (count == 0) {
        return;
    }
    QCOMPARE(circles[0].rect.width(), diameter);
    QCOMPARE(circles[0].colour.name(), colour);
}

// The circle lands at its data point: DM 100 at period 1 on the log map's grid.
void TstFourierMapViews::circleColoursOnScreen() {
    FourierGrafik g(nullptr);
    const QVector<MapPoint> points{mapPoint(1.0, 100, 1, 12), mapPoint(0.2, 10, 0, 12)};
    paintMap(g, points);
    const QImage image = grabOf(g);
    const int H = 400;
    const double yScale = (H - 72) / (std::log10(1100.0) - 0.0);
    QCOMPARE(g.yScale, yScale);
    const QVector<FourierGrafik::MapCircle> circles = g.mapCircles();
    QCOMPARE(circles.size(), 2);
    QCOMPARE(image.pixelColor(circles[0].rect.center()), QColor("#FF0000"));
    QCOMPARE(image.pixelColor(circles[1].rect.center()), QColor("#0000FF"));
    const int x = 40 + int((0 - std::log10(0.02)) * g.xScale);
    QVERIFY(qAbs(circles[0].rect.center().x() - x) <= 1);
    QVERIFY(qAbs(circles[0].rect.center().y() - (H - 36 - int(2 * yScale))) <= 1);
}

void TstFourierMapViews::sum3sigmaLabels() {
    FourierGrafik g(nullptr);
    g.grafikMode = 2;
    g.grafikType = "sum3sigma";
    g.arrGrafikX = FourierCalculate::dmGrid();
    g.points3sigma = {{Point3sigma{57, 5, "a\n"}}};
    g.visible = {true};
    g.resize(600, 400);
    g.yMin = 0;
    g.yMax = 10.5;
    grabOf(g);
    g.yMin = 0;
    g.yMax = 10.5;
    const QVector<FourierGrafik::AxisLabel> labels = g.sum3sigmaYLabels();
    QVERIFY(labels.size() >= 3);
    QCOMPARE(400 - (labels[0].at.y() - 4), 36);
    QCOMPARE(400 - (labels[1].at.y() - 4), 86);
    QCOMPARE(400 - (labels[2].at.y() - 4), 136);
    QCOMPARE(labels[0].text, QStringLiteral("0.0"));
    QCOMPARE(labels[1].text, QStringLiteral("1.6"));
    QCOMPARE(labels[2].text, QStringLiteral("3.2"));
    // A range far above zero starts its labels on the canvas without walking up from zero.
    g.yMin = 1e12;
    g.yMax = 1e12 + 1;
    QVERIFY(g.sum3sigmaYLabels().size() <= 8);
}

void TstFourierMapViews::pointUnderClick() {
    FourierGrafik g(nullptr);
    g.points3sigma = {
        {Point3sigma{57, 5, "a\n"}}, {Point3sigma{57, 5.5, "b\n"}}, {Point3sigma{57, 5.2, "c\n"}}};
    g.visible = {false, true, true};
    QCOMPARE(g.findPoint3sigma(QPointF(50, 4), QPointF(60, 6)), QStringLiteral("1#57#5.5#b\n"));
    QCOMPARE(g.findPoint3sigma(QPointF(50, 5.3), QPointF(60, -1)), QStringLiteral("1#57#5.5#b\n"));
    QCOMPARE(g.findPoint3sigma(QPointF(50, 5.0), QPointF(60, 5.3)), QStringLiteral("2#57#5.2#c\n"));
    QCOMPARE(g.findPoint3sigma(QPointF(58, 4), QPointF(60, 6)), QStringLiteral("-1"));
}

void TstFourierMapViews::mousePresses() {
    FourierGrafik g(nullptr);
    g.resize(600, 400);
    QSignalSpy map(&g, &FourierGrafik::clickedOnMap);
    QSignalSpy sigma(&g, &FourierGrafik::clickedOnPoint3sigma);
    g.grafikType = "map";
    press(g, QPoint(300, 200)); // before the first paint
    QCOMPARE(map.count(), 0);
    QVERIFY(!g.buttonDown);

    const QVector<MapPoint> points;
    paintMap(g, points);
    press(g, QPoint(300, 200));
    QCOMPARE(map.count(), 1);
    const QPointF p0 = map[0][0].toPointF();
    const QPointF p1 = map[0][1].toPointF();
    const QPointF p2 = map[0][2].toPointF();
    QVERIFY(p1.x() < p0.x() && p0.x() < p2.x());
    QVERIFY(p1.y() < p0.y() && p0.y() < p2.y());

    g.grafikType = "sum3sigma";
    g.grafikMode = 2;
    g.arrGrafikX = FourierCalculate::dmGrid();
    g.points3sigma = {{Point3sigma{57, 5, "a\n"}}};
    g.visible = {true};
    g.updateRange();
    grabOf(g);
    press(g, QPoint(100, 100));
    QCOMPARE(sigma.count(), 1);
    QCOMPARE(sigma[0][1].toString(), QStringLiteral("-1"));
    const int cx = 60 + int((std::log10(57.0) - g.xAxisMin) * g.xScale);
    const int cy = 400 - (int(328 * (5 - g.yMin) / (g.yMax - g.yMin)) + 36);
    QTest::mousePress(&g, Qt::LeftButton, Qt::NoModifier, QPoint(cx, cy));
    QVERIFY(g.buttonDown);
    QTest::mouseRelease(&g, Qt::LeftButton, Qt::NoModifier, QPoint(cx, cy));
    QVERIFY(!g.buttonDown);
    QCOMPARE(sigma.count(), 2);
    QCOMPARE(sigma[1][1].toString(), QStringLiteral("0#57#5.0#a\n"));

    // A held lock drops the press.
    g.mutex.lock();
    press(g, QPoint(cx, cy));
    g.mutex.unlock();
    QCOMPARE(sigma.count(), 2);
}

void TstFourierMapViews::labelRows() {
    FourierGrafik g(nullptr);
    g.grafikMode = 0;
    g.arrGrafikY = {{1, 2, 3, 4}};
    g.visible = {true};
    g.points = 4;
    g.labelsX1 = {"a0", "a1", "a2", "a3"};
    g.labelsX2 = {"b0", "b1", "b2", "b3"};
    g.labelsX3 = {"c0", "c1", "c2", "c3"};
    g.resize(600, 400);
    g.updateRange();
    grabOf(g);
    QSignalSpy spy(&g, &FourierGrafik::coordsChanged);
    move(g, QPoint(61, 200));
    move(g, QPoint(599, 200));
    QCOMPARE(spy.count(), 2);
    QCOMPARE(spy[0][1].value<QVector<QString>>(), (QVector<QString>{"a0", "b0", "n"}));
    QCOMPARE(spy[1][1].value<QVector<QString>>(), (QVector<QString>{"no", "no", "n"}));
}

// Columns: alignment or data anchor; expected x and y from the measured text size.
void TstFourierMapViews::noteLayout_data() {
    QTest::addColumn<QString>("hAlign");
    QTest::addColumn<QString>("vAlign");
    QTest::addColumn<double>("dataY");
    QTest::addColumn<QString>("xRule");
    QTest::addColumn<QString>("yRule");
    QTest::newRow("right, top") << "right"
                                << "top" << 0.0 << "right"
                                << "top";
    QTest::newRow("left, bottom") << "left"
                                  << "bottom" << 0.0 << "left"
                                  << "bottom";
    QTest::newRow("anchored low") << "left"
                                  << "bottom" << 20.0 << "left"
                                  << "up5";
    QTest::newRow("anchored high") << "left"
                                   << "bottom" << 23.0 << "left"
                                   << "down18";
}

// Mode 0 on 600 x 400: margins 60/30/50/50, plot 510 x 300, Y from 0 to 30 after the range is fixed.
void TstFourierMapViews::noteLayout() {
    QFETCH(QString, hAlign);
    QFETCH(QString, vAlign);
    QFETCH(double, dataY);
    QFETCH(QString, xRule);
    QFETCH(QString, yRule);
    FourierGrafik g(nullptr);
    g.forPrint = true;
    g.arrGrafikY = {{0, 10, 20, 30}};
    g.visible = {true};
    g.resize(600, 400);
    GrafikNote note;
    note.text = "S/N = 12.5";
    note.hAlign = hAlign;
    note.vAlign = vAlign;
    note.dataY = dataY;
    g.notes = {note};
    g.updateRange();
    g.yMin = 0;
    g.yMax = 30;
    grabOf(g);
    const QRect box = QFontMetrics(g.font()).boundingRect(note.text);
    const GrafikNote& n = g.notes[0];
    QCOMPARE(n.width, box.width());
    QCOMPARE(n.height, box.height());
    QCOMPARE(n.x, xRule == "right" ? 600.0 - 60 - box.width() : 65.0);
    const double anchored = 50 + dataY * 300 / 30;
    const double y = yRule == "top"      ? 400.0 - 50 - box.height() - 5
                     : yRule == "bottom" ? 400.0 - 50 + 5
                     : yRule == "up5"    ? anchored + 5
                                         : anchored - 18;
    QCOMPARE(n.y, y);
    QCOMPARE(n.relX, 510 / (n.x - 60));
}

void TstFourierMapViews::notesDragAndFollowResize() {
    FourierGrafik g(nullptr);
    g.forPrint = true;
    g.arrGrafikY = {{0, 10, 20, 30}};
    g.visible = {true};
    g.resize(600, 400);
    GrafikNote a;
    a.text = "first";
    GrafikNote b = a;
    b.text = "second";
    GrafikNote margin;
    margin.text = "margin";
    g.notes = {a, b, margin};
    g.updateRange();
    grabOf(g);
    // A note laid out at the left margin.
    g.notes[2].x = 60;
    g.notes[2].y = 50;
    g.notes[2].relX = 0.5;
    g.notes[2].relY = 0;

    // Both overlapping notes follow a drag; a "fourier" press emits nothing.
    g.grafikType = "fourier";
    QSignalSpy map(&g, &FourierGrafik::clickedOnMap);
    QSignalSpy sigma(&g, &FourierGrafik::clickedOnPoint3sigma);
    const QPoint inside(int(g.notes[0].x) + 2, 400 - int(g.notes[0].y) - 2);
    QTest::mousePress(&g, Qt::LeftButton, Qt::NoModifier, inside);
    QVERIFY(g.notes[0].selected && g.notes[1].selected && !g.notes[2].selected);
    move(g, QPoint(360, 250), Qt::LeftButton);
    QTest::mouseRelease(&g, Qt::LeftButton, Qt::NoModifier, QPoint(360, 250));
    QCOMPARE(map.count() + sigma.count(), 0);
    QCOMPARE(g.notes[0].x, 360.0);
    QCOMPARE(g.notes[1].y, 150.0);
    QCOMPARE(g.notes[0].relX, 510.0 / 300);
    QCOMPARE(g.notes[0].relY, 300.0 / 100);

    g.resize(900, 700);
    QResizeEvent resized(QSize(900, 700), QSize(600, 400));
    QApplication::sendEvent(&g, &resized);
    QCOMPARE(g.notes[0].x, (900.0 - 90) / (510.0 / 300) + 60);
    QCOMPARE(g.notes[0].y, (700.0 - 100) / 3 + 50);
    QCOMPARE(g.notes[2].x, (900.0 - 90) / 0.5 + 60);
    QCOMPARE(g.notes[2].y, 50.0); // on the bottom margin it stays there

    // The main window's signal takes the same way.
    g.resize(600, 400);
    g.mainWindowSizeChanged();
    QCOMPARE(g.notes[0].x, 360.0);
    QCOMPARE(g.notes[0].y, 150.0);
}

void TstFourierMapViews::mapClickLinks() {
    QWidget owner;
    auto* info = new FourierGrafikInfo(&owner);
    info->grafikType = "map";
    info->plosh = "N4";
    QVector<MapPoint> points{mapPoint(0.5, 57, 1, 4), mapPoint(0.52, 58, 0, 4), mapPoint(0.51, 57, 1, 4),
                             mapPoint(0.4, 57, 1, 4), mapPoint(0.6, 57, 1, 4)};
    points[1].sumAlfa = 6;
    points[2].selected = false;
    points[3].period = 0.45; // on the box edge
    info->mapPoints = &points;
    info->selectedHarmonic = 1;
    info->createWidgets();
    info->showMapInfo(QPointF(0.5, 57), QPointF(0.45, 50), QPointF(0.55, 60));
    QList<ClickLable*> links;
    for (int i = 0; i < info->harmonicsLayout->count(); ++i) {
        links << qobject_cast<ClickLable*>(info->harmonicsLayout->itemAt(i)->widget());
    }
    QCOMPARE(links.size(), 2);
    QCOMPARE(links[0]->index(), 0);
    QCOMPARE(links[1]->index(), 1);
    QCOMPARE(links[0]->text(), QStringLiteral("f00_n1_av0   0.500\t57\t7.5\t1"));
    QCOMPARE(links[1]->text(), QStringLiteral("f00_n0_av0   0.520\t58\t7.5\t6"));
    QCOMPARE(links[0]->styleSheet(), QStringLiteral("color: black"));
    QCOMPARE(links[1]->styleSheet(), QStringLiteral("color: red"));
    QVERIFY(info->clickLabel->text().endsWith("snr     sum"));

    QSignalSpy spy(info, &FourierGrafikInfo::signalClickedOnHarmonic);
    QTest::mousePress(links[1], Qt::LeftButton);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy[0][0].toInt(), 1);
    QCOMPARE(spy[0][2].toPointF(), QPointF(0.45, 50));

    // A second click replaces the list.
    info->plosh = "N2";
    info->showMapInfo(QPointF(0.6, 57), QPointF(0.58, 50), QPointF(0.62, 60));
    QCOMPARE(info->harmonicsLayout->count(), 1);
    QCOMPARE(qobject_cast<ClickLable*>(info->harmonicsLayout->itemAt(0)->widget())->text(),
             QStringLiteral("f00_n1_av0   0.600\t57\t7.5"));
}

void TstFourierMapViews::threeSigmaInfoAndFile() {
    RecordingDesktop desktop;
    QTemporaryDir dir;
    QWidget owner;
    auto* info = new FourierGrafikInfo(&owner);
    info->grafikType = "sum3sigma";
    info->dir = dir.path();
    info->names = {"position f00_n1_av0: harmonic 12"};
    info->createWidgets();

    info->write3sigmaToFile();
    QCOMPARE(desktop.calls.last().text, QStringLiteral("Нет информации для записи в файл"));

    const QString point = "0#57#25.7#010119_01_N1_00.pnthr   f00_n1_av0   12.34\n"
                          "020119_01_N1_00.pnthr   f00_n1_av0   13.36\n";
    info->show3sigmaInfo(QPointF(57.2, 25.6), point);
    QVERIFY(!info->writeButton->isHidden());
    QVERIFY(
        info->pointInfoLabel->text().startsWith("\nposition f00_n1_av0: harmonic 12\ndisp=57\nsnr=25.7\n"));
    info->show3sigmaInfo(QPointF(80, 3), "-1");
    QVERIFY(info->writeButton->isHidden());
    QCOMPARE(info->pointInfoLabel->text(), QStringLiteral("\nPoint not found, click on circle!"));

    // The miss keeps the last point found, which is still written.
    info->write3sigmaToFile();
    const QString name = dir.filePath("info_harm12_disp57_f00_n1_av0.txt");
    QCOMPARE(desktop.calls.last().text, QStringLiteral("Информация записана в файл %1").arg(name));
    QFile file(name);
    QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
    QCOMPARE(QString::fromLocal8Bit(file.readAll()),
             QStringLiteral("file position dispersion harmonic snr\n"
                            "010119_01_N1_00.pnthr f00_n1_av0 57 12 12,34\n"
                            "020119_01_N1_00.pnthr f00_n1_av0 57 12 13,36\n"
                            "sum - - - 25,7\n"));

    // DM 0 can be shown but not written.
    info->show3sigmaInfo(QPointF(0, 3), "0#0#5.0#x.pnthr   f00_n1_av0   5.00\n");
    QVERIFY(!info->writeButton->isHidden());
    const int before = desktop.calls.size();
    info->write3sigmaToFile();
    QCOMPARE(desktop.calls.size(), before + 1);
    QCOMPARE(desktop.calls.last().text, QStringLiteral("Нет информации для записи в файл"));

    // Stars of the pattern become X in the file name.
    info->names = {"position f**_n1_av0: harmonic 12"};
    info->show3sigmaInfo(QPointF(57, 25.7), point);
    info->write3sigmaToFile();
    QVERIFY(QFile::exists(dir.filePath("info_harm12_disp57_fXX_n1_av0.txt")));
}

QTEST_MAIN(TstFourierMapViews)
#include "tst_fouriermapviews.moc"
