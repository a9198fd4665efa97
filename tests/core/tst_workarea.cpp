#include "app/mainwindow.h"
#include "core/busyguard.h"
#include "core/workarea.h"
#include "support/testenv.h"

#include <QHBoxLayout>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

class TestWorkArea : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { TestEnv::isolate(); }
    void replacesPreviousForm();
    void buttonOfOldFormMayRebuild();
    void focusedTableOfOldFormStaysStill();
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

// Hiding a focused item view hands focus on through its tab navigation, which moves its current cell:
// a form whose table reacts to that must not recalculate while it is being replaced.
void TestWorkArea::focusedTableOfOldFormStaysStill() {
    MainWindow window;
    auto* table = new QTableWidget(3, 1, &window);
    WorkArea::install({table});
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    table->setCurrentCell(0, 0);
    table->setFocus();
    QVERIFY(table->hasFocus());
    QSignalSpy moves(table, &QTableWidget::currentCellChanged);
    WorkArea::install({new QWidget(&window)});
    QCOMPARE(moves.count(), 0);
    QCOMPARE(table->currentRow(), 0);
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
