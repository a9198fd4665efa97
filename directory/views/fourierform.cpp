#include "directory/views/fourierform.h"

FourierForm::FourierForm(QString dir, bool isFfa, bool isMap, bool isSearch, QWidget* parent)
    : QWidget(parent) {
    Q_UNUSED(dir);
    Q_UNUSED(isFfa);
    Q_UNUSED(isMap);
    Q_UNUSED(isSearch);
    hide();
}
