#ifndef FFAFORM_H
#define FFAFORM_H

#include <QString>
#include <QWidget>

// Placeholder until its own issue lands: created by the main window's menu entry, shows nothing.
class FfaForm : public QWidget {
    Q_OBJECT
public:
    FfaForm(QString fileName, QWidget* parent);
};

#endif // FFAFORM_H
