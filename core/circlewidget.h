#ifndef CIRCLEWIDGET_H
#define CIRCLEWIDGET_H

#include <QString>
#include <QWidget>

// The symbol of a map point: a filled circle of a named colour centred on a white square. Repaints
// every 3 s like the colour swatch.
class CircleWidget : public QWidget {
    Q_OBJECT
public:
    CircleWidget(int diameter, const QString& colorName, QWidget* parent);
    int circleDiameter() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int diameter;
    QString colorName;
};

#endif // CIRCLEWIDGET_H
