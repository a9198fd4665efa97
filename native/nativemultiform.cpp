#include "native/nativemultiform.h"

NativeMultiForm::NativeMultiForm(QString dirName, QWidget* parent) : QWidget(parent) {
    Q_UNUSED(dirName);
    hide();
}
