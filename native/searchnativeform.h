#ifndef SEARCHNATIVEFORM_H
#define SEARCHNATIVEFORM_H

#include <QString>
#include <QWidget>

// Placeholder until its own issue lands: created by the main window's menu entry, shows nothing.
class SearchNativeForm : public QWidget {
    Q_OBJECT
public:
    SearchNativeForm(QString dir, QString mode, QWidget* parent);
};

#endif // SEARCHNATIVEFORM_H
