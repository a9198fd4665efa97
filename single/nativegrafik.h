#ifndef NATIVEGRAFIK_H
#define NATIVEGRAFIK_H

#include <QString>
#include <QWidget>

// Placeholder until its own issue lands: created by the main window's menu entry, shows nothing.
class NativeGrafik : public QWidget {
    Q_OBJECT
public:
    NativeGrafik(QString fileName, int withoutStep, QWidget* parent);
};

#endif // NATIVEGRAFIK_H
