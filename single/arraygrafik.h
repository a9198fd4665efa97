#ifndef ARRAYGRAFIK_H
#define ARRAYGRAFIK_H

#include <QString>
#include <QWidget>

// Placeholder until its own issue lands: created by the main window's menu entry, shows nothing.
class ArrayGrafik : public QWidget {
    Q_OBJECT
public:
    ArrayGrafik(QString path, QWidget* parent);
};

#endif // ARRAYGRAFIK_H
