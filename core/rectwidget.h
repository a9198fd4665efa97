#ifndef RECTWIDGET_H
#define RECTWIDGET_H

#include <QString>
#include <QWidget>

// A legend swatch: the whole widget filled with a named colour.
class RectWidget : public QWidget {
    Q_OBJECT
public:
    RectWidget(const QString& colorName, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString colorName;
};

#endif // RECTWIDGET_H
