#ifndef NATIVEMULTIFORM_H
#define NATIVEMULTIFORM_H

#include <QString>
#include <QWidget>

// Placeholder until its own issue lands: created by the main window's menu entry, shows nothing.
class NativeMultiForm : public QWidget {
    Q_OBJECT
public:
    NativeMultiForm(QString dirName, QWidget* parent);
};

#endif // NATIVEMULTIFORM_H
