#include "core/formcolumn.h"

#include <QEvent>
#include <QLayout>
#include <QPointer>
#include <QScrollArea>
#include <QScrollBar>
#include <QWidget>

namespace {

class ColumnFitter : public QObject {
public:
    ColumnFitter(QWidget* form, QScrollArea* area)
        : QObject(form), form(form), area(area),
          floor(form->maximumWidth() < QWIDGETSIZE_MAX ? form->maximumWidth() : 0) {
        form->installEventFilter(this);
        if (QWidget* content = area->widget()) {
            content->installEventFilter(this);
        }
    }

    void apply() {
        if (!area) {
            return;
        }
        int width = 2 * area->frameWidth() + area->verticalScrollBar()->sizeHint().width();
        if (QWidget* content = area->widget()) {
            width += content->minimumSizeHint().width();
        }
        if (QLayout* layout = form->layout()) {
            const QMargins m = layout->contentsMargins();
            width += m.left() + m.right();
        }
        width = qMax(width, floor);
        if (form->minimumWidth() != width || form->maximumWidth() != width) {
            form->setFixedWidth(width);
        }
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Show || event->type() == QEvent::LayoutRequest) {
            apply();
        }
        return false;
    }

private:
    QWidget* form;
    QPointer<QScrollArea> area;
    int floor;
};

} // namespace

void FormColumn::fit(QWidget* form, QScrollArea* area) {
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    (new ColumnFitter(form, area))->apply();
}
