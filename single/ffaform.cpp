#include "single/ffaform.h"

FfaForm::FfaForm(QString fileName, QWidget* parent) : QWidget(parent) {
    Q_UNUSED(fileName);
    hide();
}
