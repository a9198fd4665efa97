#ifndef WORKAREA_H
#define WORKAREA_H

#include <QList>

class QHBoxLayout;
class QWidget;

// The main window's central widget is the work area of every form. install() empties it (every widget
// laid out there is hidden, taken out and deleted later, so a button of the old form that triggered the
// rebuild never loses its object while its signal is still on the stack), then lays out the given
// widgets (which survive the emptying when they were there before) left to right in a horizontal layout with
// margins 10.
namespace WorkArea {
QHBoxLayout* install(const QList<QWidget*>& widgets);
// Empties the work area; widgets in keep are only taken out of the layout, not deleted.
void clear(const QList<QWidget*>& keep = {});
// Hides view, takes it out of the work area and deletes it at once, for a view none of whose widgets
// can be on the stack (they emit nothing that rebuilds the work area): the view that replaces it then
// reuses its memory instead of fresh pages. The focus it held goes nowhere.
void dropNow(QWidget* view);
// The work area itself (the registered main window's central widget), or nullptr.
QWidget* widget();
} // namespace WorkArea

#endif // WORKAREA_H
