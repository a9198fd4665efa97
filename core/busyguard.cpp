#include "core/busyguard.h"

#include <QCoreApplication>

namespace {
int depth = 0;
}

BusyGuard::BusyGuard() {
    ++depth;
}

BusyGuard::~BusyGuard() {
    --depth;
}

bool BusyGuard::busy() {
    return depth > 0;
}

void BusyGuard::processEvents() {
    if (QCoreApplication::instance()) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
}
