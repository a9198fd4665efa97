#ifndef WIDGETTEXT_H
#define WIDGETTEXT_H

#include <QList>
#include <QPair>
#include <QString>

class QObject;
class QWidget;

// Shared checks of the form-description tests.
namespace WidgetText {
// The text a label, line edit or button shows, or a group box's title; false for any other object.
bool shown(const QObject* object, QString& text);

// In a _data() function: the columns "name" and "text", one row per pair.
void addTextRows(const QList<QPair<QString, QString>>& rows);
// In the test function of such a table: the child `name` of `form` shows `text`.
void checkTextRow(const QWidget* form);

// In a _data() function: the columns "name", "minimum", "maximum" and "value" of a spin box table.
void addSpinBoxColumns();
// In the test function of such a table: the spin box `name` of `form` has that range and value.
void checkSpinBoxRow(const QWidget* form);
} // namespace WidgetText

#endif // WIDGETTEXT_H
