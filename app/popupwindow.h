#ifndef POPUPWINDOW_H
#define POPUPWINDOW_H

#include <QString>
#include <QWidget>

// A top-level window that shows a long text in a vertically scrolling label.
class PopupWindow : public QWidget {
    Q_OBJECT
public:
    explicit PopupWindow(const QString& text, QWidget* parent = nullptr);

private:
    QString text;
};

#endif // POPUPWINDOW_H
