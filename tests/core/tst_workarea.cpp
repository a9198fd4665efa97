#include "app/mainwindow.h"
#include "core/busyguard.h"
#include "core/screenfit.h"
#include "core/workarea.h"
#include "support/testenv.h"

#include <QHBoxLayout>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QtTest>

class TestWorkArea : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { TestEnv::isolate(); }
    void replacesPreviousForm();
    void buttonOfOldFormMayRebuild();
    void focusedTableOfOldFormStaysStill_data();
    void focusedTableOfOldFormStaysStill();
    void windowGrowsForItsPlot();
    void busyGuardNests();
};

void TestWorkArea::replacesPreviousForm() {
    MainWindow window;
    QPointer<QWidget> a = new QWidget(&window);
    QPointer<QWidget> b = new QWidget(&window);
    QHBoxLayout* layout = WorkArea::install({a, b});
    QVERIFY(layout);
    QCOMPARE(layout->contentsMargins(), QMargins(10, 10, 10, 10));
    QCOMPARE(layout->count(), 2);

    QPointer<QWidget> c = new QWidget(&window);
    WorkArea::install({a, c}); // a stays, b goes
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(a);
    QVERIFY(!b);
    QVERIFY(c);
    QCOMPARE(window.centralWidget()->layout()->count(), 2);

    WorkArea::dropNow(c); // gone at once, with its place in the layout
    QVERIFY(!c);
    QCOMPARE(window.centralWidget()->layout()->count(), 1);
    QPointer<QWidget> d = new QWidget(&window);
    WorkArea::install({a, d});
    QCOMPARE(window.centralWidget()->layout()->count(), 2);
}

void TestWorkArea::buttonOfOldFormMayRebuild() {
    MainWindow window;
    auto* old = new QWidget(&window);
    auto* button = new QPushButton(old);
    WorkArea::install({old});
    QPointer<QWidget> replacement;
    connect(button, &QPushButton::clicked, [&] {
        replacement = new QWidget(&window);
        WorkArea::install({replacement});
        button->setText("still alive"); // the old form must outlive its own signal
    });
    QTest::mouseClick(button, Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(replacement);
    QCOMPARE(window.centralWidget()->layout()->count(), 1);
}

void TestWorkArea::focusedTableOfOldFormStaysStill_data() {
    QTest::addColumn<bool>("atOnce");
    QTest::newRow("replaced") << false;
    QTest::newRow("dropped at once") << true;
}

// Hiding a focused item view hands focus on through its tab navigation, which moves its current cell:
// a form whose table reacts to that must not recalculate while it is being replaced.
void TestWorkArea::focusedTableOfOldFormStaysStill() {
    QFETCH(bool, atOnce);
    MainWindow window;
    QPointer<QTableWidget> table = new QTableWidget(3, 1, &window);
    WorkArea::install({table});
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    table->setCurrentCell(0, 0);
    table->setFocus();
    QVERIFY(table->hasFocus());
    QSignalSpy moves(table, &QTableWidget::currentCellChanged);
    if (atOnce) {
        WorkArea::dropNow(table);
        QVERIFY(!table);
    }
    WorkArea::install({new QWidget(&window)});
    QCOMPARE(moves.count(), 0);
    if (!atOnce) {
        QCOMPARE(table->currentRow(), 0);
    }
}

namespace {
struct Plot : QWidget {
    explicit Plot(QWidget* parent) : QWidget(parent) {}
    QSize sizeHint() const override { return ScreenFit::plotHint(); }
};
} // namespace

// A form in a window too small for it would leave its plot 0 px wide: the shown window grows towards
// what the form asks for, never past the screen and never smaller than the user made it.
void TestWorkArea::windowGrowsForItsPlot() {
    MainWindow window;
    window.resize(500, 400);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* panel = new QWidget(&window);
    panel->setFixedWidth(400);
    auto* plot = new Plot(&window);
    WorkArea::install({panel, plot});
    window.layout()->activate();
    window.centralWidget()->layout()->activate();
    QVERIFY(window.width() > 500);
    QVERIFY(plot->width() >= 100);
    const QRect room = window.screen()->availableGeometry();
    QVERIFY(room.contains(window.frameGeometry()));

    const QSize grown = window.size();
    WorkArea::install({new QWidget(&window)}); // a smaller form keeps the window as it is
    QCOMPARE(window.size(), grown);

    MainWindow hidden;
    hidden.resize(600, 600);
    WorkArea::install({new Plot(&hidden), new Plot(&hidden)});
    QCOMPARE(hidden.size(), QSize(600, 600));
}

void TestWorkArea::busyGuardNests() {
    QVERIFY(!BusyGuard::busy());
    {
        BusyGuard outer;
        {
            BusyGuard inner;
            QVERIFY(BusyGuard::busy());
        }
        QVERIFY(BusyGuard::busy());
        BusyGuard::processEvents();
    }
    QVERIFY(!BusyGuard::busy());
}

QTEST_MAIN(TestWorkArea)
#include "tst_workarea.moc"
