#include "support/widgettext.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

bool WidgetText::shown(const QObject* object, QString& text) {
    if (auto* l = qobject_cast<const QLabel*>(object)) {
        text = l->text();
    } else if (auto* e = qobject_cast<const QLineEdit*>(object)) {
        text = e->text();
    } else if (auto* b = qobject_cast<const QAbstractButton*>(object)) {
        text = b->text();
    } else if (auto* g = qobject_cast<const QGroupBox*>(object)) {
        text = g->title();
    } else {
        return false;
    }
    return true;
}
