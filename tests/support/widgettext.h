#ifndef WIDGETTEXT_H
#define WIDGETTEXT_H

#include <QString>

class QObject;

namespace WidgetText {
// The text a label, line edit or button shows, or a group box's title; false for any other object.
bool shown(const QObject* object, QString& text);
} // namespace WidgetText

#endif // WIDGETTEXT_H
