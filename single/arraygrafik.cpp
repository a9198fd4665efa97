#include "single/arraygrafik.h"

ArrayGrafik::ArrayGrafik(QString path, QWidget* parent) : QWidget(parent) {
    Q_UNUSED(path);
    hide();
}
