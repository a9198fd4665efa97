#ifndef FORMCOLUMN_H
#define FORMCOLUMN_H

class QLabel;
class QScrollArea;
class QString;
class QWidget;

// The control column of a form, or the panel beside a graph: a widget whose column of inputs and texts
// usually sits in a scroll area (all of them owned by the caller). fit() makes the area scroll
// vertically only, so that a long column never makes the main window taller than the screen, and
// keeps the column as wide as its widgets need at the current font and style, never narrower than
// `floor` (by default the form's maximum width as it was): a width limit that would clip a widget is
// raised to what it needs, a line edit is kept wide enough for the text the program put into it and a
// combo box for its widest item. The width is taken again whenever the form is shown, its column is
// laid out anew or such a text changes (sizes are only known once the widgets are shown and
// polished); the helper object is the form's child. A form without a scroll area passes none and is
// fitted to its own layout.
//
// Texts that may be arbitrarily long (paths, directory names, link lists, calculation reports) never
// widen a column by their length: a label given one of them takes the width the column leaves it and
// shows each line elided (setElidedText) or wrapped at blanks and tabs (setWrappedText), as TextFit
// shapes it: numbers stay whole, a path or name is cut in the middle. Only a wrapped text's table rows,
// a few short tab-separated fields, widen the column enough to show them whole, columns aligned. Once
// anything is cut, the whole text is the label's tool tip. Later texts of such a label go through the
// same call.
class FormColumn {
public:
    FormColumn() = delete;

    static void fit(QWidget* form, QScrollArea* area, int floor = -1);
    static void setElidedText(QLabel* label, const QString& text);
    static void setWrappedText(QLabel* label, const QString& text);
};

#endif // FORMCOLUMN_H
