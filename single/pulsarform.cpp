#include "single/pulsarform.h"

PulsarForm::PulsarForm(QString fileName, QWidget* parent) : QWidget(parent) {
    Q_UNUSED(fileName);
    hide();
}
