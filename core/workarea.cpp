#include "core/workarea.h"

#include "core/screenfit.h"
#include "core/settings.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLayoutItem>
#include <QWidget>

QWidget* WorkArea::widget() {
    return Settings::getInstance()->getMainWindowUi().centralwidget;
}

namespace {
// Hiding the focus holder would pass focus on by tab navigation, which moves the current cell of an item
// view and lets the outgoing form react (and recalculate) to it.
void releaseFocus(QWidget* w) {
    QWidget* focus = QApplication::focusWidget();
    if (focus && (focus == w || w->isAncestorOf(focus))) {
        focus->clearFocus();
    }
}
} // namespace

void WorkArea::clear(const QList<QWidget*>& keep) {
    QWidget* area = widget();
    if (!area) {
        return;
    }
    QLayout* layout = area->layout();
    if (!layout) {
        return;
    }
    while (QLayoutItem* item = layout->takeAt(0)) {
        QWidget* w = item->widget();
        if (w && !keep.contains(w)) {
            releaseFocus(w);
            w->hide();
            w->deleteLater();
        }
        delete item;
    }
    delete layout;
}

void WorkArea::dropNow(QWidget* view) {
    if (!view) {
        return;
    }
    releaseFocus(view);
    view->hide();
    delete view; // its layout item goes with it
}

QHBoxLayout* WorkArea::install(const QList<QWidget*>& widgets) {
    clear(widgets);
    QWidget* area = widget();
    if (!area) {
        return nullptr;
    }
    auto* layout = new QHBoxLayout(area);
    layout->setContentsMargins(10, 10, 10, 10);
    for (QWidget* w : widgets) {
        if (w) {
            w->setParent(area);
            layout->addWidget(w);
            w->show();
        }
    }
    // A form laid out in a window too small for it leaves its plot 0 px wide, which looks like a
    // calculation that drew nothing.
    ScreenFit::growToHint(area->window());
    return layout;
}
