#include "app/popupwindow.h"

#include <QLabel>
#include <QScrollArea>
#include <QVBoxLayout>

PopupWindow::PopupWindow(const QString& text, QWidget* parent) : QWidget(parent, Qt::Window), text(text) {
    auto* label = new QLabel(text);
    auto* area = new QScrollArea(this);
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    area->setWidget(label);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(area);
}
