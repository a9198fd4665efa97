#ifndef PULSARFORM_H
#define PULSARFORM_H

#include <QString>
#include <QWidget>

// Placeholder until its own issue lands: created by the main window's menu entry, shows nothing.
class PulsarForm : public QWidget {
    Q_OBJECT
public:
    PulsarForm(QString fileName, QWidget* parent);
};

#endif // PULSARFORM_H
