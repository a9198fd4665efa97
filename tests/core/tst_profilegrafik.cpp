#include "app/mainwindow.h"
#include "core/profilegrafik.h"
#include "support/recordingdesktop.h"
#include "support/testenv.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSignalSpy>
#include <QtTest>

namespace {
void mouse(QWidget* w, QEvent::Type type, const QPoint& at, Qt::MouseButton button, Qt::MouseButtons held) {
    QMouseEvent event(type, at, w->mapToGlobal(at), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &event);
}
void press(QWidget* w, const QPoint& at, Qt::MouseButton button = Qt::LeftButton) {
    mouse(w, QEvent::MouseButtonPress, at, button, button);
}
void drag(QWidget* w, const QPoint& to) {
    mouse(w, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
}

// What the widget paints over a magenta canvas.
QImage rendered(QWidget* w) {
    QImage img(w->size(), QImage::Format_RGB32);
    img.fill(Qt::magenta);
    w->render(&img, QPoint(), QRegion(), QWidget::DrawChildren);
    return img;
}

int count(const QImage& img, QRgb colour) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x) {
            n += img.pixel(x, y) == colour;
        }
    }
    return n;
}

// A painted 400 x 300 "profile" graph of the values 0..99.
ProfileGrafik* profileGraph(QWidget* parent) {
    auto* g = new ProfileGrafik("profile", parent);
    g->resize(400, 300);
    QVector<double> v;
    for (int i = 0; i < 100; ++i) {
        v << i;
    }
    g->arrGrafikY = {v};
    g->visible = {true};
    g->nPoints = 0;
    g->caption1 = "J1";
    g->date = "2021.02.03";
    g->maxValue = 99;
    g->redraw();
    rendered(g);
    return g;
}
} // namespace

class TestProfileGrafik : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { TestEnv::isolate(); }
    void startHint();
    void paintGate();
    void flatZeroDataPaintsOnlyFrame();
    void statisticsZerosAreGaps();
    void bandSelectionReport();
    void bandDraggedBackwardsNeverReports();
    void pressesBeforeFirstPaintIgnored();
    void cellClicks_data();
    void cellClicks();
    void statisticsMovesAndClicks();
};

void TestProfileGrafik::startHint() {
    ProfileGrafik g("", nullptr);
    QVERIFY(g.testAttribute(Qt::WA_MouseTracking));
    QVERIFY(!ProfileGrafik("profile", nullptr).testAttribute(Qt::WA_MouseTracking));
    g.showStartMessage();
    QVERIFY(g.hintShown);
    QCOMPARE(g.hintText, QString("Установите нужные параметры в форме слева и нажмите кнопку Ok..."));
    QVERIFY(g.redraw());
}

void TestProfileGrafik::paintGate() {
    ProfileGrafik small("", nullptr);
    small.resize(99, 99);
    QImage img = rendered(&small);
    QCOMPARE(count(img, qRgb(255, 0, 255)), 99 * 99);
    QVERIFY(!small.painted);

    ProfileGrafik tall("", nullptr);
    tall.resize(50, 200);
    QTest::ignoreMessage(QtDebugMsg, "ERROR! dx01=60 dx02=30 width=50");
    img = rendered(&tall);
    QVERIFY(tall.painted);
    QCOMPARE(img.pixel(0, 0), qRgb(0, 0, 0));         // frame
    QCOMPARE(img.pixel(20, 20), qRgb(255, 255, 255)); // background
}

void TestProfileGrafik::flatZeroDataPaintsOnlyFrame() {
    ProfileGrafik g("", nullptr);
    g.resize(300, 300);
    g.arrGrafikY = {{0, 0, 0}};
    g.visible = {true};
    g.colors = {"red"};
    g.redraw();
    QTest::ignoreMessage(QtDebugMsg, "ERROR! max=0 min=0");
    const QImage img = rendered(&g);
    QCOMPARE(count(img, qRgb(255, 0, 0)), 0);
}

void TestProfileGrafik::statisticsZerosAreGaps() {
    for (const QString type : {"statistics", ""}) {
        ProfileGrafik g(type, nullptr);
        g.resize(400, 300);
        g.arrGrafikY = {{5, 0, 5, 0, 5, 0}};
        g.visible = {true};
        g.colors = {"red"};
        g.nPoints = 0;
        g.redraw();
        const int red = count(rendered(&g), qRgb(255, 0, 0));
        if (type == "statistics") {
            QCOMPARE(red, 0); // isolated days: no segment reaches them, point 0 has no circle
        } else {
            QVERIFY(red > 100);
        }
    }
}

void TestProfileGrafik::bandSelectionReport() {
    RecordingDesktop desktop;
    MainWindow window;
    ProfileGrafik* g = profileGraph(&window);
    g->mainWindow = &window;
    QGuiApplication::clipboard()->setText("old");

    press(g, QPoint(215, 100));
    drag(g, QPoint(219, 200));
    QCOMPARE(g->selection, QRect(QPoint(215, 100), QPoint(219, 200)));
    QVERIFY(desktop.boxes().isEmpty());
    press(g, QPoint(219, 150)); // on the edge
    QCOMPARE(desktop.boxes().size(), 1);
    const RecordingDesktop::Call box = desktop.boxes()[0];
    QCOMPARE(box.kind, QString("message"));
    QCOMPARE(box.parent, nullptr);
    const QString line = "J1:  date=2021.02.03  max_snr=99  sum_snr=0.00  points=100\n";
    QVERIFY(box.text.contains(" Число точек в пике:  1 (1.0%)\n"));
    QVERIFY(box.text.endsWith(line));
    QCOMPARE(QGuiApplication::clipboard()->text(), line);

    // The guard was released: the next press inside reports again. Without a main window the box
    // still shows but the clipboard stays.
    g->mainWindow = nullptr;
    QGuiApplication::clipboard()->setText("kept");
    press(g, QPoint(217, 150));
    QCOMPARE(desktop.boxes().size(), 2);
    QCOMPARE(QGuiApplication::clipboard()->text(), QString("kept"));
}

void TestProfileGrafik::bandDraggedBackwardsNeverReports() {
    RecordingDesktop desktop;
    QWidget parent;
    ProfileGrafik* g = profileGraph(&parent);
    press(g, QPoint(300, 200));
    drag(g, QPoint(100, 100));
    press(g, QPoint(200, 150)); // "inside" the drawn band
    QVERIFY(desktop.boxes().isEmpty());
    QCOMPARE(g->selection, QRect(200, 150, 1, 1));
    press(g, QPoint(200, 150)); // the restarted one-pixel band holds its pixel
    QCOMPARE(desktop.boxes().size(), 1);
}

void TestProfileGrafik::pressesBeforeFirstPaintIgnored() {
    RecordingDesktop desktop;
    ProfileGrafik g("profile", nullptr);
    g.resize(400, 300);
    press(&g, QPoint(10, 10));
    drag(&g, QPoint(20, 20));
    press(&g, QPoint(15, 15));
    QVERIFY(g.selection.isNull());
    QVERIFY(desktop.boxes().isEmpty());

    ProfileGrafik s("statistics", nullptr);
    QSignalSpy dates(&s, &ProfileGrafik::clickedStatisticDate);
    QSignalSpy coords(&s, &ProfileGrafik::coordsChanged);
    s.labelsX = {"d"};
    press(&s, QPoint(10, 10));
    mouse(&s, QEvent::MouseMove, QPoint(10, 10), Qt::NoButton, Qt::NoButton);
    QCOMPARE(dates.size() + coords.size(), 0);
}

void TestProfileGrafik::cellClicks_data() {
    QTest::addColumn<QString>("type");
    QTest::addColumn<bool>("inGrid");
    QTest::newRow("grid cell") << "" << true;
    QTest::newRow("profile cell") << "profile" << true;
    QTest::newRow("statistics cell") << "statistics" << true;
    QTest::newRow("one graph") << "one" << false;
}

void TestProfileGrafik::cellClicks() {
    QFETCH(QString, type);
    QFETCH(bool, inGrid);
    RecordingDesktop desktop;
    ProfileGrafik g(type, nullptr);
    g.inGrid = inGrid;
    g.caption2 = "2020.05.06";
    g.row = 2;
    g.col = 3;
    QSignalSpy left(&g, &ProfileGrafik::clickedLeftOnGrafik);
    QSignalSpy right(&g, &ProfileGrafik::clickedRightOnGrafik);
    QSignalSpy dates(&g, &ProfileGrafik::clickedStatisticDate);
    press(&g, QPoint(5, 5), Qt::RightButton);
    QCOMPARE(right.size(), 1);
    QCOMPARE(right[0], (QVariantList{QString("2020.05.06"), 2, 3}));
    mouse(&g, QEvent::MouseButtonDblClick, QPoint(5, 5), Qt::RightButton, Qt::RightButton);
    press(&g, QPoint(5, 5), Qt::MiddleButton);
    QCOMPARE(right.size(), 1);
    press(&g, QPoint(5, 5), Qt::LeftButton);
    QCOMPARE(left.size(), 1);
    QCOMPARE(dates.size(), 0);
    QVERIFY(g.selection.isNull());
    QVERIFY(desktop.boxes().isEmpty());
}

void TestProfileGrafik::statisticsMovesAndClicks() {
    ProfileGrafik g("statistics", nullptr);
    g.resize(400, 300);
    g.arrGrafikY = {{1, 2, 3, 4}, {5, 6, 7, 8}};
    g.visible = {true, false};
    g.labelsX = {"2020.01.01", "2020.01.02", "2020.01.03", "2020.01.04"};
    g.nPoints = 0;
    g.redraw();
    rendered(&g); // plot x from 60 to 360 over 4 points: 75 pixels per point
    QSignalSpy coords(&g, &ProfileGrafik::coordsChanged);
    QSignalSpy dates(&g, &ProfileGrafik::clickedStatisticDate);

    mouse(&g, QEvent::MouseMove, QPoint(60 + 75 + 10, 150), Qt::NoButton, Qt::NoButton);
    QCOMPARE(coords.size(), 1);
    const QString text = coords[0][1].toString();
    QVERIFY(text.startsWith("days number: 4\n\ndate:\t2020.01.02\ny:\t"));
    QVERIFY(text.endsWith("sigma [2020.01.02] = 2.00\n"));
    mouse(&g, QEvent::MouseMove, QPoint(390, 150), Qt::NoButton, Qt::NoButton);
    QVERIFY(coords[1][1].toString().endsWith("date: none"));

    press(&g, QPoint(60 + 3 * 75 + 1, 150));
    QCOMPARE(dates.size(), 1);
    QCOMPARE(dates[0], (QVariantList{QString("2020.01.04"), true}));
    mouse(&g, QEvent::MouseButtonPress, QPoint(10, 150), Qt::RightButton, Qt::LeftButton | Qt::RightButton);
    QCOMPARE(dates[1], (QVariantList{QString("2020.01.01"), false}));
    QTest::ignoreMessage(QtDebugMsg, "out of range!");
    press(&g, QPoint(395, 150));
    QCOMPARE(dates.size(), 2);
}

QTEST_MAIN(TestProfileGrafik)
#include "tst_profilegrafik.moc"
