#ifndef COLORWIDGET_H
#define COLORWIDGET_H

#include <QWidget>

class QLineEdit;

// A swatch filled with the hex colour typed into an edit beside it. It reads the edit at every paint
// and repaints every 3 s, so a typed colour shows without any signal from the edit.
class ColorWidget : public QWidget {
    Q_OBJECT
public:
    ColorWidget(QLineEdit* edit, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QLineEdit* colorEdit; // not owned
};

#endif // COLORWIDGET_H
