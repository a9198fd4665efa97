#ifndef CLICKLABLE_H
#define CLICKLABLE_H

#include <QLabel>
#include <QString>

// A text link in a list: emits clicked() on any mouse press and carries the index of the item it
// stands for. The styles "color: black" and "color: red" light up while the mouse is over it.
class ClickLable : public QLabel {
    Q_OBJECT
public:
    ClickLable(const QString& text, QWidget* parent);

    void setIndex(int i);
    int index() const;

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void enterEvent(QEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    int itemIndex = -1;
};

#endif // CLICKLABLE_H
