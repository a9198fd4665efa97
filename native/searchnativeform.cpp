#include "native/searchnativeform.h"

SearchNativeForm::SearchNativeForm(QString dir, QString mode, QWidget* parent) : QWidget(parent) {
    Q_UNUSED(dir);
    Q_UNUSED(mode);
    hide();
}
