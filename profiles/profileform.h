#ifndef PROFILEFORM_H
#define PROFILEFORM_H

#include <QString>
#include <QWidget>

// Placeholder until its own issue lands: created by the main window's menu entry, shows nothing.
class ProfileForm : public QWidget {
    Q_OBJECT
public:
    ProfileForm(QString dirName, QString dirMode, QWidget* parent);
};

#endif // PROFILEFORM_H
