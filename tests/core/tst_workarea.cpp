#include "app/mainwindow.h"
#include "core/busyguard.h"
#include "core/workarea.h"
#include "support/testenv.h"

#include <QHBoxLayout>
#include <QPointer>
#include <QPushButton>
#include <QtTest>

class TestWorkArea : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { TestEnv::isolate(); }
    void replacesPreviousForm();
    void buttonOfOldFormMayRebuild();
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
