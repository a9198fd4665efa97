#include "core/showinfo.h"

ShowInfo::ShowInfo(QWidget* parent) : QWidget(parent) {
    hide();
}

void ShowInfo::rewriteToText(const QString& fileName) {
    Q_UNUSED(fileName);
}
