#include "support/gridwatch.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGridLayout>
#include <QScrollArea>
#include <QWidget>

#include <algorithm>

namespace {
bool builtAndLaidOut(const QWidget* grid) {
    const auto* area = grid->findChild<QScrollArea*>();
    if (!area || !area->widget()) {
        return false;
    }
    const auto* cells = area->widget()->findChild<QGridLayout*>();
    if (!cells) {
        return false;
    }
    for (int i = 0; i < cells->count(); ++i) {
        const QWidget* w = cells->itemAt(i)->widget();
        if (w && w->geometry().isEmpty()) {
            return false;
        }
    }
    return true;
}
} // namespace

GridWatch::GridWatch(QByteArray gridClass, QByteArray cellClass)
    : gridClass(std::move(gridClass)), cellClass(std::move(cellClass)) {
    QCoreApplication::instance()->installEventFilter(this);
}

GridWatch::~GridWatch() {
    QCoreApplication::instance()->removeEventFilter(this);
}

int GridWatch::mostShowsOfACell() const {
    int most = 0;
    for (int n : cellShows) {
        most = std::max(most, n);
    }
    return most;
}

bool GridWatch::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Show && event->type() != QEvent::DeferredDelete) {
        return false;
    }
    auto* w = qobject_cast<QWidget*>(watched);
    if (!w) {
        return false;
    }
    if (w->inherits(gridClass.constData())) {
        if (event->type() == QEvent::DeferredDelete) {
            gridsDeletedShown += w->isVisible() ? 1 : 0;
        } else if (!event->spontaneous()) {
            ++gridsShown;
            gridsShownUnbuilt += builtAndLaidOut(w) ? 0 : 1;
        }
    } else if (event->type() == QEvent::Show && !event->spontaneous() && w->inherits(cellClass.constData())) {
        ++cellShows[w];
    }
    return false;
}
