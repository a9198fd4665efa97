#include "single/nativegrafik.h"

NativeGrafik::NativeGrafik(QString fileName, int withoutStep, QWidget* parent) : QWidget(parent) {
    Q_UNUSED(fileName);
    Q_UNUSED(withoutStep);
    hide();
}
