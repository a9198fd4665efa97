#ifndef FORMCOLUMN_H
#define FORMCOLUMN_H

class QScrollArea;
class QWidget;

// The input column of a form whose widgets sit in a scroll area (the form's own widget set, owned by
// the form). fit() makes the area scroll vertically only, so that a long column never makes the main
// window taller than the screen, and keeps the column's width at what its widgets need unclipped at
// the current font, with room for the vertical scroll bar, never below the form's maximum width as
// it was. The width is taken again whenever the form is shown or its column is laid out anew (sizes
// are only known once the widgets are shown and polished); the helper object is the form's child.
class FormColumn {
public:
    FormColumn() = delete;

    static void fit(QWidget* form, QScrollArea* area);
};

#endif // FORMCOLUMN_H
