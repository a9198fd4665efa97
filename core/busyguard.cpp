#include "core/busyguard.h"

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QThread>

namespace {
int depth = 0;
bool waitCursorSet = false;

// Cursors belong to a GUI application's own thread.
bool cursorsReachable() {
    const QGuiApplication* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    return app && QThread::currentThread() == app->thread();
}
} // namespace

BusyGuard::BusyGuard() {
    if (depth++ == 0 && cursorsReachable()) {
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        waitCursorSet = true;
    }
}

BusyGuard::~BusyGuard() {
    if (--depth == 0 && waitCursorSet) {
        waitCursorSet = false;
        if (cursorsReachable()) {
            QGuiApplication::restoreOverrideCursor();
        }
    }
}

bool BusyGuard::busy() {
    return depth > 0;
}

void BusyGuard::processEvents() {
    if (QCoreApplication::instance()) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
}

BusyGuard::Pause::Pause() {
    if (waitCursorSet && cursorsReachable()) {
        QGuiApplication::setOverrideCursor(QCursor(Qt::ArrowCursor));
        pushed = true;
    }
}

BusyGuard::Pause::~Pause() {
    if (pushed && cursorsReachable()) {
        QGuiApplication::restoreOverrideCursor();
    }
}
