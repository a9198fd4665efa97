#include "app/mainwindow.h"
#include "core/multigrafik.h"
#include "core/profilegrafik.h"
#include "native/searchnativegrafik.h"
#include "native/searchnativemultigrafik.h"
#include "support/messagelog.h"
#include "support/recordingdesktop.h"
#include "support/testenv.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QtTest>

#include <memory>
#include <type_traits>

namespace {

// Counts the presses that a child passes on.
class PressCounter : public QWidget {
public:
    int presses = 0;

protected:
    void mousePressEvent(QMouseEvent* event) override {
        ++presses;
        event->accept();
    }
};

template <typename T, typename = void> struct HasRow : std::false_type {};
template <typename T> struct HasRow<T, decltype(void(std::declval<T>().row))> : std::true_type {};
template <typename T, typename = void> struct HasCol : std::false_type {};
template <typename T> struct HasCol<T, decltype(void(std::declval<T>().col))> : std::true_type {};

void sendMouse(QWidget* w, QEvent::Type type, QPoint pos, Qt::MouseButton button) {
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent e(type, pos, w->mapToGlobal(pos), type == QEvent::MouseMove ? Qt::NoButton : button, held,
                  Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

} // namespace

static_assert(!std::is_base_of<ProfileGrafik, SearchNativeGrafik>::value, "a class of its own");
static_assert(!std::is_base_of<MultiGrafik, SearchNativeMultiGrafik>::value, "a class of its own");
static_assert(!HasRow<SearchNativeGrafik>::value && !HasCol<SearchNativeGrafik>::value, "no grid position");

class TestSearchNativeGrafik : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init() { desktop.reset(new RecordingDesktop); }
    void cleanup() { desktop.reset(); }

    void metaObjects();
    void pressesGoByTypeOnly_data();
    void pressesGoByTypeOnly();
    void bandReportPutsLineOnClipboard_data();
    void bandReportPutsLineOnClipboard();
    void degenerateSeriesPaintAndTakePresses_data();
    void degenerateSeriesPaintAndTakePresses();
    void deltaXLineNamesThisClass();
    void freshGridShowsPresets();
    void gridPlaceholdersCountFromZero();
    void gridLetsPressesThroughSilently();

private:
    // A plot of the given type in a press-counting parent, painted once.
    SearchNativeGrafik* shownPlot(const QString& type, bool inGrid, const QVector<double>& values);

    MainWindow* window = nullptr;
    std::unique_ptr<RecordingDesktop> desktop;
    std::unique_ptr<PressCounter> host;
};

void TestSearchNativeGrafik::initTestCase() {
    TestEnv::isolate();
    window = new MainWindow;
}

void TestSearchNativeGrafik::cleanupTestCase() {
    host.reset();
    delete window;
}

SearchNativeGrafik* TestSearchNativeGrafik::shownPlot(const QString& type, bool inGrid,
                                                      const QVector<double>& values) {
    host.reset(new PressCounter);
    host->resize(420, 320);
    auto* plot = new SearchNativeGrafik(type, host.get());
    plot->setGeometry(10, 10, 400, 300);
    plot->inGrid = inGrid;
    plot->arrGrafikY = {values};
    plot->visible = {true};
    plot->nPoints = values.size();
    for (int i = 0; i < values.size(); ++i) {
        plot->labelsX << QString("d%1").arg(i);
    }
    plot->redraw();
    host->show();
    if (!QTest::qWaitForWindowExposed(host.get())) {
        return nullptr;
    }
    plot->repaint();
    return plot;
}

void TestSearchNativeGrafik::metaObjects() {
    const QMetaObject& plot = SearchNativeGrafik::staticMetaObject;
    QCOMPARE(plot.methodCount() - plot.methodOffset(), 2);
    QCOMPARE(plot.method(plot.methodOffset()).methodSignature(),
             QByteArray("coordsChanged(QPointF,QString)"));
    QCOMPARE(plot.method(plot.methodOffset() + 1).methodSignature(),
             QByteArray("clickedStatisticDate(QString,bool)"));
    QCOMPARE(plot.method(plot.methodOffset() + 1).methodType(), QMetaMethod::Signal);
    QCOMPARE(plot.superClass(), &QWidget::staticMetaObject);

    const QMetaObject& grid = SearchNativeMultiGrafik::staticMetaObject;
    QCOMPARE(grid.methodCount() - grid.methodOffset(), 1);
    QCOMPARE(grid.method(grid.methodOffset()).methodSignature(), QByteArray("scrollToGrafik(int,int)"));
    QCOMPARE(grid.method(grid.methodOffset()).methodType(), QMetaMethod::Slot);
    QCOMPARE(grid.superClass(), &QWidget::staticMetaObject);

    SearchNativeGrafik g("", nullptr);
    SearchNativeMultiGrafik m(nullptr);
    QVERIFY(!qobject_cast<ProfileGrafik*>(static_cast<QObject*>(&g)));
    QVERIFY(!qobject_cast<MultiGrafik*>(static_cast<QObject*>(&m)));
}

void TestSearchNativeGrafik::pressesGoByTypeOnly_data() {
    QTest::addColumn<QString>("type");
    QTest::addColumn<bool>("inGrid");
    QTest::addColumn<int>("button");
    QTest::addColumn<bool>("dateClick");
    QTest::addColumn<bool>("band");
    QTest::newRow("placeholder") << "" << false << int(Qt::LeftButton) << false << false;
    QTest::newRow("grid cell, right") << "" << true << int(Qt::RightButton) << false << false;
    QTest::newRow("one, left") << "one" << false << int(Qt::LeftButton) << false << false;
    QTest::newRow("one in a grid, right") << "one" << true << int(Qt::RightButton) << false << false;
    QTest::newRow("profile cell") << "profile" << true << int(Qt::LeftButton) << false << false;
    QTest::newRow("profile graph") << "profile" << false << int(Qt::LeftButton) << false << true;
    QTest::newRow("statistics cell") << "statistics" << true << int(Qt::LeftButton) << true << false;
    QTest::newRow("statistics graph") << "statistics" << false << int(Qt::RightButton) << true << false;
}

void TestSearchNativeGrafik::pressesGoByTypeOnly() {
    QFETCH(QString, type);
    QFETCH(bool, inGrid);
    QFETCH(int, button);
    QFETCH(bool, dateClick);
    QFETCH(bool, band);
    SearchNativeGrafik* plot = shownPlot(type, inGrid, {1, 2, 3, 4, 5});
    QVERIFY(plot && plot->painted);
    QSignalSpy dates(plot, &SearchNativeGrafik::clickedStatisticDate);
    QSignalSpy coords(plot, &SearchNativeGrafik::coordsChanged);
    MessageLog log;
    sendMouse(plot, QEvent::MouseButtonPress, QPoint(200, 150), Qt::MouseButton(button));
    sendMouse(plot, QEvent::MouseButtonRelease, QPoint(200, 150), Qt::MouseButton(button));

    QCOMPARE(host->presses, 0);
    QCOMPARE(dates.size(), dateClick ? 1 : 0);
    if (dateClick) {
        QVERIFY(dates[0][0].toString().startsWith("d"));
    }
    QCOMPARE(!plot->selection.isNull(), band);
    QVERIFY(desktop->calls.isEmpty());
    QCOMPARE(log.lines(), QStringList());
    if (type != "statistics") {
        QCOMPARE(coords.size(), 0);
    }
}

void TestSearchNativeGrafik::bandReportPutsLineOnClipboard_data() {
    QTest::addColumn<bool>("withWindow");
    QTest::newRow("main window") << true;
    QTest::newRow("no main window") << false;
}

void TestSearchNativeGrafik::bandReportPutsLineOnClipboard() {
    QFETCH(bool, withWindow);
    QVector<double> values(100, 1.0);
    SearchNativeGrafik* plot = shownPlot("profile", false, values);
    QVERIFY(plot);
    plot->mainWindow = withWindow ? window : nullptr;
    plot->date = "2024.01.02";
    QGuiApplication::clipboard()->setText("before");

    // Drag a band, then click inside it.
    sendMouse(plot, QEvent::MouseButtonPress, QPoint(100, 100), Qt::LeftButton);
    sendMouse(plot, QEvent::MouseMove, QPoint(250, 200), Qt::LeftButton);
    sendMouse(plot, QEvent::MouseButtonRelease, QPoint(250, 200), Qt::LeftButton);
    QVERIFY(desktop->calls.isEmpty());
    sendMouse(plot, QEvent::MouseButtonPress, QPoint(150, 150), Qt::LeftButton);

    QCOMPARE(desktop->calls.size(), 1);
    const QString box = desktop->calls[0].text;
    QVERIFY(box.contains(" РЕЗУЛЬТАТ:\n"));
    const QString line = box.mid(box.indexOf("В буфер скопировано:\n  ") + 23);
    QVERIFY2(QRegularExpression("^:  date=2024\\.01\\.02  max_snr=0  sum_snr=0\\.\\d\\d  points=100\n$")
                 .match(line)
                 .hasMatch(),
             qPrintable(line));
    QCOMPARE(QGuiApplication::clipboard()->text(), withWindow ? line : QString("before"));
}

void TestSearchNativeGrafik::degenerateSeriesPaintAndTakePresses_data() {
    QTest::addColumn<QVector<double>>("values");
    QTest::newRow("one point (blank line)") << QVector<double>{0};
    QTest::newRow("all zero") << QVector<double>{0, 0, 0};
}

void TestSearchNativeGrafik::degenerateSeriesPaintAndTakePresses() {
    QFETCH(QVector<double>, values);
    // Presses before any paint find no margins and do nothing.
    SearchNativeGrafik fresh("profile", nullptr);
    fresh.arrGrafikY = {values};
    fresh.visible = {true};
    fresh.redraw();
    sendMouse(&fresh, QEvent::MouseButtonPress, QPoint(5, 5), Qt::LeftButton);
    QVERIFY(fresh.selection.isNull());

    MessageLog log; // an all-zero range writes its debug line
    SearchNativeGrafik* plot = shownPlot("profile", false, values);
    QVERIFY(plot && plot->painted);
    QVERIFY(!plot->grab().isNull());
    sendMouse(plot, QEvent::MouseButtonPress, QPoint(100, 100), Qt::LeftButton);
    sendMouse(plot, QEvent::MouseMove, QPoint(300, 200), Qt::LeftButton);
    sendMouse(plot, QEvent::MouseButtonPress, QPoint(200, 150), Qt::LeftButton);
    QCOMPARE(desktop->calls.size(), 1);
    QVERIFY(desktop->calls[0].text.contains(QString("points=%1\n").arg(values.size())));
}

void TestSearchNativeGrafik::deltaXLineNamesThisClass() {
    MessageLog log;
    SearchNativeGrafik* plot = shownPlot("", false, {1, 2});
    QVERIFY(plot);
    plot->arrGrafikX = {0, 0};
    plot->redraw();
    plot->grab();
    const QStringList lines = log.lines().filter("deltaX=0");
    QVERIFY(!lines.isEmpty());
    QVERIFY(lines[0].contains(
        "ERROR! SearchNativeGrafik::drawGrafik: deltaX=0!!! arrGrafikX[0] = arrGrafikX[N]!"));
}

void TestSearchNativeGrafik::freshGridShowsPresets() {
    SearchNativeMultiGrafik grid(nullptr);
    QVERIFY(grid.grafiks.isEmpty());
    grid.draw();
    QStringList labels;
    for (QLabel* l : grid.findChildren<QLabel*>()) {
        labels << l->text();
    }
    QCOMPARE(labels, (QStringList{"Заголовок колонки0 Строка 1", "Колонка 1", "Колонка 2", "Колонка 3",
                                  "Колонка 4", "Строка 2", "Строка 3"}));

    SearchNativeMultiGrafik column(nullptr);
    column.columns = 1;
    column.draw();
    QVERIFY(column.scrollArea);
    QVERIFY(column.findChildren<QLabel*>().isEmpty());
}

void TestSearchNativeGrafik::gridPlaceholdersCountFromZero() {
    SearchNativeMultiGrafik grid(nullptr);
    grid.columns = 3;
    grid.rows = 1;
    grid.columnTitles = {" ", "DM=1", "DM=2", "DM=3"};
    grid.rowTitles = {" ", "2024.01.01"};
    QPointer<QWidget> a = new QWidget;
    QPointer<QWidget> b = new QWidget;
    grid.grafiks = {{a, b, nullptr}};
    grid.draw();
    QStringList labels;
    for (QLabel* l : grid.findChildren<QLabel*>()) {
        labels << l->text();
    }
    QVERIFY(labels.contains("Нет графика 0-2"));
    QVERIFY(labels.contains("   "));
    QVERIFY(grid.isAncestorOf(a) && grid.isAncestorOf(b));
    grid.scrollToGrafik(0, 2); // a missing cell only takes the focus
}

void TestSearchNativeGrafik::gridLetsPressesThroughSilently() {
    host.reset(new PressCounter);
    auto* grid = new SearchNativeMultiGrafik(host.get());
    grid->draw();
    host->resize(300, 300);
    grid->resize(300, 300);
    MessageLog log;
    sendMouse(grid, QEvent::MouseButtonPress, QPoint(5, 5), Qt::LeftButton);
    QCOMPARE(host->presses, 1);
    QCOMPARE(log.lines(), QStringList());
}

QTEST_MAIN(TestSearchNativeGrafik)
#include "tst_searchnativegrafik.moc"
