#include "core/busyguard.h"
#include "core/desktop.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>

#include <stdexcept>

namespace {
// The shape of the application's override cursor; -1 when none is set.
int overrideShape() {
    const QCursor* c = QGuiApplication::overrideCursor();
    return c ? int(c->shape()) : -1;
}
} // namespace

class TestBusyGuard : public QObject {
    Q_OBJECT
private slots:
    void waitCursorWhileBusy();
    void restoredWhenWorkThrows();
    void boxShowsNormalCursor();
};

void TestBusyGuard::waitCursorWhileBusy() {
    QCOMPARE(overrideShape(), -1);
    {
        BusyGuard outer;
        QCOMPARE(overrideShape(), int(Qt::WaitCursor));
        {
            BusyGuard inner;
            QCOMPARE(overrideShape(), int(Qt::WaitCursor));
        }
        QCOMPARE(overrideShape(), int(Qt::WaitCursor));
        BusyGuard::processEvents();
    }
    // One restore took the one override away: nested guards set it once.
    QCOMPARE(overrideShape(), -1);
    QVERIFY(!BusyGuard::busy());
    const BusyGuard::Pause idle; // nothing to pause outside busy work
    QCOMPARE(overrideShape(), -1);
}

void TestBusyGuard::restoredWhenWorkThrows() {
    try {
        BusyGuard outer;
        BusyGuard inner;
        throw std::runtime_error("read failed");
    } catch (const std::runtime_error&) {
    }
    QVERIFY(!BusyGuard::busy());
    QCOMPARE(overrideShape(), -1);
}

// A box in the middle of busy work waits for the user with the normal cursor; the wait cursor returns
// when it is answered.
void TestBusyGuard::boxShowsNormalCursor() {
    BusyGuard busy;
    int shapeInBox = -2;
    bool answered = false;
    int tries = 0;
    std::function<void()> answer = [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            if (++tries < 500) {
                QTimer::singleShot(10, answer);
            }
            return;
        }
        shapeInBox = overrideShape();
        answered = true;
        box->accept();
    };
    QTimer::singleShot(0, answer);
    Desktop::instance()->warning(nullptr, "Error", "a box during the read");
    QVERIFY(answered);
    QCOMPARE(shapeInBox, int(Qt::ArrowCursor));
    QCOMPARE(overrideShape(), int(Qt::WaitCursor));
    QVERIFY(BusyGuard::busy());
}

QTEST_MAIN(TestBusyGuard)
#include "tst_busyguard.moc"
