#ifndef FOURIERFORM_H
#define FOURIERFORM_H

#include <QString>
#include <QWidget>

// Placeholder until its own issue lands: created by the main window's menu entry, shows nothing.
class FourierForm : public QWidget {
    Q_OBJECT
public:
    FourierForm(QString dir, bool isFfa, bool isMap, bool isSearch, QWidget* parent);
};

#endif // FOURIERFORM_H
