#include "profiles/profileform.h"

ProfileForm::ProfileForm(QString dirName, QString dirMode, QWidget* parent) : QWidget(parent) {
    Q_UNUSED(dirName);
    Q_UNUSED(dirMode);
    hide();
}
